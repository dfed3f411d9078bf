#include "widgets/HelpViewer.h"

#include "boards/ShippedFiles.h"
#include "widgets/FormTools.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextStream>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QString& HelpFileSetting()
{
    static QString file;
    return file;
}
QPointer<THelpViewer>& SharedViewer()
{
    static QPointer<THelpViewer> viewer;
    return viewer;
}

const char* const kHelpContextProperty = "railscopeHelpContext";

int OwnHelpContext(const QWidget* widget)
{
    return widget ? widget->property(kHelpContextProperty).toInt() : 0;
}

// F1 anywhere in the program: the help page of the window the key was pressed in.
class THelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
            static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier || !watched->isWidgetType())
            return false;
        const int context = HelpContextOf(static_cast<QWidget*>(watched));
        if (context == 0) return false;
        // Taken here, so that the key is not offered to the parent windows as well.
        ShowHelpContext(context);
        return true;
    }
};
} // namespace

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Railscope Help"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(true);
    // Alt+C closes, as in every window; Escape too.
    ContentsButton = new QPushButton(QStringLiteral("Co&ntents"), this);
    BackButton = new QPushButton(QStringLiteral("&Back"), this);
    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    BackButton->setEnabled(false);
    connect(ContentsButton, &QPushButton::clicked, this,
            [this] { Browser->setSource(QUrl::fromLocalFile(Folder + QStringLiteral("/index.html"))); });
    connect(BackButton, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackButton, &QPushButton::setEnabled);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ContentsButton);
    buttons->addWidget(BackButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser, 1);
    layout->addLayout(buttons);
    resize(640, 520);
}

void THelpViewer::SetHelpFile(const QString& mapFile)
{
    HelpFileSetting() = mapFile;
}

QString THelpViewer::DefaultHelpFile()
{
    return QString::fromStdString(shipped::FindFile("help/contexts.txt"));
}

QString THelpViewer::HelpFile()
{
    return HelpFileSetting().isEmpty() ? DefaultHelpFile() : HelpFileSetting();
}

bool THelpViewer::LoadMap(const QString& mapFile)
{
    MapFile = mapFile;
    Folder = QFileInfo(mapFile).absolutePath();
    Pages.clear();
    QFile file(mapFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty()) continue;
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool ok = false;
        const int number = parts.value(0).toInt(&ok);
        // Pages stay inside the help folder.
        if (ok && parts.size() == 2 && !parts[1].contains(QLatin1String("..")) && !QDir::isAbsolutePath(parts[1]))
            Pages.insert(number, parts[1]);
    }
    return true;
}

QString THelpViewer::PageForContext(int context) const
{
    const auto it = Pages.constFind(context);
    return it == Pages.constEnd() ? QString() : Folder + QLatin1Char('/') + *it;
}

bool THelpViewer::OpenContext(int context)
{
    Context = context;
    const QString page = PageForContext(context);
    if (page.isEmpty() || !QFileInfo::exists(page)) {
        Browser->setHtml(QStringLiteral("<h2>Help not available</h2><p>No help page is installed for topic %1 "
                                        "(looked in %2).</p>")
                             .arg(context)
                             .arg(MapFile.toHtmlEscaped()));
        return false;
    }
    Browser->setSource(QUrl::fromLocalFile(page));
    return true;
}

THelpViewer* THelpViewer::Instance()
{
    QPointer<THelpViewer>& viewer = SharedViewer();
    if (!viewer) {
        viewer = new THelpViewer(nullptr);
        viewer->setAttribute(Qt::WA_DeleteOnClose, false);
        // The program ends when its main window closes, whether help is open or not.
        viewer->setAttribute(Qt::WA_QuitOnClose, false);
        if (QCoreApplication::instance())
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, viewer.data(),
                             &QObject::deleteLater);
    }
    return viewer;
}

void THelpViewer::CloseShared()
{
    if (THelpViewer* viewer = SharedViewer()) viewer->close();
}

void THelpViewer::FollowModalWindow()
{
    QWidget* modal = QApplication::activeModalWidget();
    AttachTo(modal == this ? nullptr : modal);
}

void THelpViewer::AttachTo(QWidget* owner)
{
    if (owner == ModalOwner.data()) return;
    if (ModalOwner) ModalOwner->removeEventFilter(this);
    ModalOwner = owner;
    const bool shown = isVisible();
    const QRect place = geometry();
    setParent(owner, Qt::Window);
    if (shown) {
        setGeometry(place);
        show();
    }
    if (owner) owner->installEventFilter(this);
}

bool THelpViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ModalOwner && event->type() == QEvent::Hide && !event->spontaneous()) {
        // A window of its own before the modal window goes; the child of the modal window
        // beneath it, if any, once that one is active again.
        AttachTo(nullptr);
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) FollowModalWindow();
        });
    }
    return QWidget::eventFilter(watched, event);
}

bool THelpViewer::ShowContext(int context)
{
    THelpViewer* viewer = Instance();
    // Opened first beside the main window, where it hides neither the menus nor the window asking.
    if (!viewer->isVisible() && !viewer->Placed) {
        PlaceBesideMainWindow(viewer);
        viewer->Placed = true;
    }
    viewer->FollowModalWindow();
    viewer->LoadMap(HelpFile());
    const bool found = viewer->OpenContext(context);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return found;
}

void ShowHelpContext(int context)
{
    THelpViewer::ShowContext(context);
}

void SetHelpContext(QWidget* window, int context)
{
    window->setProperty(kHelpContextProperty, context);
}

int HelpContextOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        // A child window's frame, or the frame window's work area, stands for the window inside.
        if (const auto* frame = qobject_cast<const QMdiSubWindow*>(w); frame && OwnHelpContext(frame->widget()))
            return OwnHelpContext(frame->widget());
        if (const auto* area = qobject_cast<const QMdiArea*>(w); area && area->activeSubWindow())
            if (const int context = OwnHelpContext(area->activeSubWindow()->widget())) return context;
        if (const int context = OwnHelpContext(w)) return context;
    }
    return 0;
}

void InstallHelpKey()
{
    static QPointer<THelpKey> installed;
    if (installed || !QCoreApplication::instance()) return;
    installed = new THelpKey(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installed);
}
