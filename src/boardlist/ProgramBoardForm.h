#pragma once
// "Configure Boards": the lists of boards, one per board type on five tabs, their files, and the
// board programmer that writes the selected board into the real board or reads it back.
// The window works on the main window's board list, which it does not own.

#include "boardlist/ConversationForm.h"
#include "boards/ConfigurableBoard.h"
#include "editors/BoardEditors.h"
#include "svprog/BoardProgrammer.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabBar;
class TBoardData;
class TConfigurableBoard;
class TSpinEdit;
class TTabStopHeadings;

// What the board list window needs of the program around it: the links of every conversation
// window, and
struct TProgramBoardLinks : TConversationLinks {
    // the main window's board file dialogs; the window makes its own when none are given.
    QFileDialog* OpenDialog = nullptr;
    QFileDialog* SaveDialog = nullptr;
    // The main window's Exit.
    std::function<void()> Exit;
    // Shows a board description window beside the others; shown on its own when not set.
    std::function<void(QWidget* form)> ShowChild;
    // Board editors are placed relative to this window (the main window); this form when null.
    QPointer<QWidget> EditorAnchor;
    // Opens the Check Layout window; the menu entry does nothing when not set.
    std::function<void()> CheckLayout;
};

class TProgramBoardForm : public TConversationForm {
    Q_OBJECT
public:
    TProgramBoardForm(TBoardData& boardData, TProgramBoardLinks links, QWidget* parent = nullptr);
    ~TProgramBoardForm() override;

    // The type shown: the selected tab.
    int CurrentType() const;
    // The selected line, or -1.
    int SelectedIndex() const;
    void RefreshBoardList();
    // Shows the tab of `type` with board `index` selected.
    void ShowBoard(int type, uint32_t index);

    // Commands.
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Close1Click();
    void WriteSVtofile1Click();
    void Exit1Click();
    void Addnewboard1Click();
    void DeleteBoard1Click();
    void InsertBoard1Click();
    void EditBoard1Click();
    void DisplayBoard1Click();
    void ProgramButtonClick();
    void ReadBoardButtonClick();
    // Programming / Verify Board: compares the selected board on the bus with its description.
    void VerifyBoard1Click();
    // Programming / Check Layout: every board on the bus against the board list.
    void CheckLayout1Click();
    void HelpBtnClick();

    // Replaces the editor of a board type (none: the type cannot be edited).
    void SetBoardEditor(int type, TBoardEditor editor);

    TBoardProgrammer& Programmer() { return *BoardProgrammer; }
    // The lines of the log list.
    QStringList LogLines() const;
    // The lines of the board list.
    QStringList ListLines() const;

    TTabStopHeadings* Headings = nullptr; // over the board list
    QTabBar* BoardTabControl = nullptr;
    QListWidget* BoardListBox = nullptr;
    QLineEdit* MessageEdit = nullptr;
    QPushButton* ProgramButton = nullptr;
    QPushButton* ReadBoardButton = nullptr;
    QListWidget* DebugList = nullptr;
    QCheckBox* DebugCheck = nullptr;
    TSpinEdit* SWVersionSpin = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QFileDialog* SaveSVDialog = nullptr;

    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* WriteSVtofile1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Addnewboard1 = nullptr;
    QAction* DeleteBoard1 = nullptr;
    QAction* InsertBoard1 = nullptr;
    QAction* EditBoard1 = nullptr;
    QAction* DisplayBoard1 = nullptr;
    QAction* ProgramBoard1 = nullptr;
    QAction* ReadBoard1 = nullptr;
    QAction* VerifyBoard1 = nullptr;
    QAction* CheckLayout1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

    void AfterEvent(bool ended) override;
    // Asks, from the event loop, whether to program a board that cannot hold its description.
    bool AskProgramAnyway(const std::vector<std::string>& lines) override;

private:
    void BuildControls();
    void BuildMenus(class QMenuBar* menuBar);
    // Readies the programmer for a conversation with the window's settings; false while busy.
    bool PrepareProgrammer();
    // Ends a conversation whose board is about to be deleted (position -1: all of the type).
    void StopIfBoardGoes(int type, int position);
    bool SaveType(int type);
    bool SaveTypeAs(int type);
    void ReportSaveFailure(int type);
    TConfigurableBoard* SelectedBoard();
    // "Board 4101 "Station throat"", for the boxes that speak of a board.
    static QString BoardLabel(const TConfigurableBoard& board);

    TBoardData& BoardData;
    TProgramBoardLinks Links;
    std::unique_ptr<TBoardProgrammer> BoardProgrammer;
    std::array<TBoardEditor, kBoardTypeCount> Editors;
    QFileDialog* OwnOpenDialog = nullptr;
    QFileDialog* OwnSaveDialog = nullptr;
    // The board that Verify Board compares, as its report box names it.
    QString VerifiedBoard;
};
