#pragma once
// The about box: product name, author, company and build, read once from the program's
// version resource.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class TBuildStamp;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr, const QString& versionFile = QString());

    // The version resource's fields, empty where it has none.
    QLabel* ApplicationLabel = nullptr; // ProductName
    QLabel* AuthorLabel = nullptr; // InternalName
    QLabel* CompanyLabel = nullptr; // CompanyName
    QLabel* BuildLabel = nullptr; // FileVersion
    QLabel* AcknowledgementLabel = nullptr;
    QPushButton* CloseButton = nullptr;
    TBuildStamp* BuildStamp = nullptr;

    // The build text shown, kept when the window was made.
    QString BuildText;

private:
    void FormCreate();
};
