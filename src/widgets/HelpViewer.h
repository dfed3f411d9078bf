#pragma once
// The built-in help viewer: HTML pages shipped with the program, opened at the page that a
// context number maps to. The map file lists one "number page" pair a line; "#" starts a comment.

#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QPushButton;

class THelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit THelpViewer(QWidget* parent = nullptr);

    // The map file to use; by default "help/contexts.txt" in the program's folder (or, installed,
    // in its data folder).
    static void SetHelpFile(const QString& mapFile);
    static QString HelpFile();
    static QString DefaultHelpFile();
    // Opens the shared viewer at a context; false (and a page saying so) when it has no page.
    static bool ShowContext(int context);
    // The shared viewer, made on first use.
    static THelpViewer* Instance();
    // Closes the shared viewer, if there is one: it goes when the program's main window closes.
    static void CloseShared();

    // Reads the map file; false when it cannot be read.
    bool LoadMap(const QString& mapFile);
    // The page file for a context, or empty when the context is not mapped.
    QString PageForContext(int context) const;
    bool OpenContext(int context);
    int CurrentContext() const { return Context; }

    QTextBrowser* Browser = nullptr;
    QPushButton* ContentsButton = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A modal window blocks input to every other window: help asked for while one is open opens
    // as its child, so that it can be read and scrolled, and becomes a window of its own again
    // when the modal window closes.
    void FollowModalWindow();
    void AttachTo(QWidget* owner);

    QPointer<QWidget> ModalOwner;
    bool Placed = false;
    QString MapFile;
    QString Folder;
    QMap<int, QString> Pages;
    int Context = -1;
};

// Asks for help at a context number, as a window's help button does.
void ShowHelpContext(int context);

// Every window names its help context; F1 opens the help page of the window it is pressed in.
void SetHelpContext(QWidget* window, int context);
// The help context of the window that holds `widget` (the nearest that names one; for a frame of
// child windows, its active child window), or 0 when none does.
int HelpContextOf(const QWidget* widget);
// Makes F1 open the help page of the active window, everywhere in the program, modal dialogs
// included. Calling it again changes nothing.
void InstallHelpKey();
