#pragma once
// "Display Board Settings": the readable description of one board, which the user can copy,
// print or save as rich text. Independent of the window that made it; frees itself when closed.

#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QFileDialog;
class QPrinter;
class QPushButton;
class QTextEdit;

class TDisplayBoardForm : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kFirstLine = "Configurable Board Settings: ";
    static constexpr const char* kDocumentTitle = "Board Settings";

    explicit TDisplayBoardForm(QWidget* parent = nullptr);

    // Appends description lines (UTF-8) below the ones shown.
    void AddLines(const std::vector<std::string>& lines);
    // Every line shown, the first line included.
    QStringList Lines() const { return ShownLines; }

    // Commands.
    void CopyTextClick();
    void PrintTextClick();
    void SaveAs1Click();
    void Close1Click();
    void HelpButtonClick();

    // Writes the lines as rich text; false with the reason when the file cannot be written
    // (an existing file is then left as it was).
    bool SaveAsRtf(const QString& fileName, QString& error) const;
    // Prints the lines on a prepared printer, with the document title "Board Settings".
    void PrintOn(QPrinter& printer) const;

    QTextEdit* DisplayList = nullptr;
    QPushButton* CopyTextButton = nullptr;
    QPushButton* PrintTextButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QFileDialog* SaveDialog = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* Copy1 = nullptr; // Edit menu: copies the whole description

private:
    void ShowLines();

    QStringList ShownLines;
};
