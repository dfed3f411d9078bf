#pragma once
// "Check Layout": every board on the bus against the boards of the board list (what is loaded,
// unsaved changes included), as a sortable table with the file each board comes from. The check
// runs while every received message is still handled; Cancel ends it and the table so far stays.
// For a selected row the board is programmed, read or edited in the board list window with its own
// checks, or verified again here against its description as it stands now.

#include "boardlist/ConversationForm.h"
#include "svprog/LayoutAudit.h"

#include <functional>
#include <memory>

class QFileDialog;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class TBoardData;

// What the board list window does for a row of the table.
enum class EBoardListCommand { Program, ReadBoard, Edit };

struct TLayoutAuditLinks : TConversationLinks {
    // Shows board `index` of `type` in the board list window and runs `command` there.
    std::function<void(int type, uint32_t index, EBoardListCommand command)> InBoardList;
};

class TLayoutAuditForm : public TConversationForm {
    Q_OBJECT
public:
    TLayoutAuditForm(TBoardData& boardData, TLayoutAuditLinks links, QWidget* parent = nullptr);
    ~TLayoutAuditForm() override;

    // Commands.
    void CheckButtonClick();
    void CancelButtonClick();
    void ProgramDifferingButtonClick();
    void ProgramButtonClick();
    void VerifyButtonClick();
    void EditButtonClick();
    void ReadBoardButtonClick();
    void ExportButtonClick();

    TLayoutAudit& Audit() { return *LayoutAudit; }
    // The table as shown (sorted as the user sorted it): one line per row, columns separated by tabs.
    QStringList TableLines() const;
    QStringList LogLines() const;
    // Selects the shown row that holds `serial` of `type`; false when there is none.
    bool SelectBoard(int type, uint32_t serial);

    QTableView* AuditTable = nullptr;
    QListWidget* DetailsList = nullptr;
    QListWidget* LogList = nullptr;
    QLabel* SummaryLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* CheckButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* ProgramDifferingButton = nullptr;
    QPushButton* ProgramButton = nullptr;
    QPushButton* VerifyButton = nullptr;
    QPushButton* EditButton = nullptr;
    QPushButton* ReadBoardButton = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QFileDialog* ExportDialog = nullptr;

protected:
    void AfterEvent(bool ended) override;

private:
    void BuildControls();
    // Shows the audit's rows, changing only what changed so that the selection and the order stay.
    void ShowRows();
    void ShowSelection();
    void EnableButtons();
    // The audit's row selected in the table, or -1.
    int SelectedAuditRow() const;
    // The board list's place of the selected row's board (matched by type and serial number);
    // false, after saying so, when the board list no longer holds it.
    bool FindInBoardList(int row, int& type, uint32_t& index);
    void RunInBoardList(EBoardListCommand command);

    TBoardData& BoardData;
    TLayoutAuditLinks Links;
    std::unique_ptr<TLayoutAudit> LayoutAudit;
    QStandardItemModel* Model = nullptr;
    QSortFilterProxyModel* Sorted = nullptr;
};
