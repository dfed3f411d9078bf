#include "widgets/HelpViewer.h"

#include "boards/ShippedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextStream>
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
} // namespace

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Railscope Help"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(true);
    ContentsButton = new QPushButton(QStringLiteral("&Contents"), this);
    BackButton = new QPushButton(QStringLiteral("&Back"), this);
    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    BackButton->setEnabled(false);
    connect(ContentsButton, &QPushButton::clicked, this,
            [this] { Browser->setSource(QUrl::fromLocalFile(Folder + QStringLiteral("/index.html"))); });
    connect(BackButton, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(Browser, &QTextBrowser::backwardAvailable, BackButton, &QPushButton::setEnabled);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
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
        if (QCoreApplication::instance())
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, viewer.data(),
                             &QObject::deleteLater);
    }
    return viewer;
}

bool THelpViewer::ShowContext(int context)
{
    THelpViewer* viewer = Instance();
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
