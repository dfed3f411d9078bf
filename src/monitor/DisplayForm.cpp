#include "monitor/DisplayForm.h"

#include "link/LocoNetMessage.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/LineList.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include <chrono>

namespace {

const QString kSettingsGroup = QStringLiteral("DisplayForm");

QAction* MakeAction(QWidget* owner, const QString& text, const QKeySequence& keys = {}, bool checkable = false)
{
    auto* action = new QAction(text, owner);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setCheckable(checkable);
    owner->addAction(action);
    return action;
}

// Return finds forwards, Shift+Return backwards, Escape closes the bar.
class TFindKeys : public QObject {
public:
    explicit TFindKeys(TDisplayForm* form) : QObject(form), Form(form) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Form->FindNext((key->modifiers() & Qt::ShiftModifier) != 0);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Form->FindBar->hide();
            Form->MsgList->setFocus();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TDisplayForm* Form;
};

} // namespace

TDisplayForm::TDisplayForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DisplayForm"));
    setWindowTitle(QStringLiteral("LocoNet Message display"));
    SetHelpContext(this, hcMonitor);
    const auto madeAt = std::chrono::steady_clock::now();
    Clock = [madeAt] {
        return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - madeAt).count();
    };

    Label1 = new QLabel(QStringLiteral("no. Messages displayed:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Button1 = new QPushButton(QStringLiteral("Clear Messages"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    MsgCountEdit = new QLineEdit(QStringLiteral("0"), this);
    MsgCountEdit->setObjectName(QStringLiteral("MsgCountEdit"));
    MsgCountEdit->setReadOnly(true);
    MsgCountEdit->setMaximumWidth(100);
    Label1->setBuddy(MsgCountEdit);
    ExpandButton = new QCheckBox(QStringLiteral("Expand Messages"), this);
    ExpandButton->setObjectName(QStringLiteral("ExpandButton"));
    ExpandButton->setChecked(true);
    Button2 = new QPushButton(QStringLiteral("Save to File..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    BitBtn1 = new QPushButton(QStringLiteral("&Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    Messages = new TMonitorModel(this);
    MsgList = new TLineListView(this);
    MsgList->setObjectName(QStringLiteral("MsgList"));
    MsgList->setModel(Messages);
    MsgList->setContextMenuPolicy(Qt::CustomContextMenu);
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    FrozenLabel = new QLabel(QStringLiteral("Frozen: new lines show when Freeze is switched off"), this);
    FrozenLabel->setObjectName(QStringLiteral("FrozenLabel"));
    FrozenLabel->hide();
    BusLoadLabel = new QLabel(this);
    BusLoadLabel->setObjectName(QStringLiteral("BusLoadLabel"));
    BusLoadLabel->hide();
    LogLabel = new QLabel(this);
    LogLabel->setObjectName(QStringLiteral("LogLabel"));
    LogLabel->hide();

    FilterTimer = new QTimer(this);
    FilterTimer->setSingleShot(true);
    FilterTimer->setInterval(250);
    connect(FilterTimer, &QTimer::timeout, this, &TDisplayForm::ApplyFilter);
    BusLoadTimer = new QTimer(this);
    BusLoadTimer->setInterval(500);
    connect(BusLoadTimer, &QTimer::timeout, this, &TDisplayForm::ShowBusLoad);

    BuildActions();
    FindBar = BuildFindBar();
    FilterBar = BuildFilterBar();
    FindBar->installEventFilter(this);
    FilterBar->installEventFilter(this);

    // Freeze, bus load and live log say so in a line of their own, which takes no room while
    // none of them is on.
    auto* state = new QHBoxLayout;
    state->addWidget(FrozenLabel);
    state->addWidget(BusLoadLabel, 1);
    state->addWidget(LogLabel, 1);
    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(MsgCountEdit);
    row->addWidget(ExpandButton);
    row->addStretch(1);
    row->addWidget(Button1);
    row->addWidget(Button2);
    row->addWidget(HelpButton);
    row->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MsgList, 1);
    layout->addWidget(FindBar);
    layout->addWidget(FilterBar);
    layout->addLayout(state);
    layout->addLayout(row);
    resize(720, 400);
    SetUpKeyboardAccess(this);

    connect(Button1, &QPushButton::clicked, this, &TDisplayForm::ClearButtonClick);
    connect(Button2, &QPushButton::clicked, this, &TDisplayForm::SaveButtonClick);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { CloseForm(this); });
    connect(HelpButton, &QPushButton::clicked, this, &TDisplayForm::HelpButtonClick);
    connect(MsgList, &QWidget::customContextMenuRequested, this, &TDisplayForm::ShowContextMenu);
    // The count is shown together with the lines, once per batch; the live log is written then.
    connect(MsgList, &TLineListView::Flushed, this, [this] {
        ShowCount();
        FlushLog();
    });
}

TDisplayForm::~TDisplayForm()
{
    std::string ignored;
    Log.Close(ignored);
}

void TDisplayForm::BuildActions()
{
    CopyAction = MakeAction(this, QStringLiteral("&Copy"), QKeySequence::Copy);
    SelectAllAction = MakeAction(this, QStringLiteral("Select &All"), QKeySequence::SelectAll);
    FindAction = MakeAction(this, QStringLiteral("&Find..."), QKeySequence::Find);
    FindNextAction = MakeAction(this, QStringLiteral("Find &Next"), QKeySequence(Qt::Key_F3));
    FindPreviousAction = MakeAction(this, QStringLiteral("Find &Previous"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    FreezeAction = MakeAction(this, QStringLiteral("Free&ze"), {}, true);
    TimeColumnAction = MakeAction(this, QStringLiteral("&Time Column"), {}, true);
    DirectionColumnAction = MakeAction(this, QStringLiteral("&Direction Column"), {}, true);
    HexColumnAction = MakeAction(this, QStringLiteral("&Raw Bytes Column"), {}, true);
    BusLoadAction = MakeAction(this, QStringLiteral("&Bus Load"), {}, true);
    FilterAction = MakeAction(this, QStringLiteral("Fi&lter"), QKeySequence(Qt::CTRL | Qt::Key_L), true);
    LiveLogAction = MakeAction(this, QStringLiteral("Li&ve Log to File..."), {}, true);

    connect(CopyAction, &QAction::triggered, MsgList, &TLineListView::CopySelection);
    connect(SelectAllAction, &QAction::triggered, MsgList, &QAbstractItemView::selectAll);
    connect(FindAction, &QAction::triggered, this, [this] {
        FindBar->show();
        FindEdit->setFocus();
        FindEdit->selectAll();
    });
    auto findOrAsk = [this](bool backward) {
        if (FindEdit->text().isEmpty())
            FindAction->trigger();
        else
            FindNext(backward);
    };
    connect(FindNextAction, &QAction::triggered, this, [findOrAsk] { findOrAsk(false); });
    connect(FindPreviousAction, &QAction::triggered, this, [findOrAsk] { findOrAsk(true); });
    connect(FreezeAction, &QAction::toggled, this, [this](bool on) {
        MsgList->SetFrozen(on);
        FrozenLabel->setVisible(on);
    });
    for (QAction* column : {TimeColumnAction, DirectionColumnAction, HexColumnAction})
        connect(column, &QAction::toggled, this, &TDisplayForm::ColumnsChanged);
    connect(BusLoadAction, &QAction::toggled, this, [this](bool on) {
        BusLoadLabel->setVisible(on);
        if (on) {
            ShowBusLoad();
            BusLoadTimer->start();
        } else {
            BusLoadTimer->stop();
        }
        emit OptionsChanged();
    });
    connect(FilterAction, &QAction::toggled, this, &TDisplayForm::ShowFilterBar);
    connect(LiveLogAction, &QAction::triggered, this, &TDisplayForm::ToggleLiveLog);
}

QWidget* TDisplayForm::BuildFindBar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("FindBar"));
    FindEdit = new QLineEdit(bar);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->installEventFilter(new TFindKeys(this));
    auto* next = new QPushButton(QStringLiteral("&Next"), bar);
    auto* previous = new QPushButton(QStringLiteral("&Previous"), bar);
    auto* done = new QPushButton(QStringLiteral("Done"), bar);
    FindStatus = new QLabel(bar);
    FindStatus->setObjectName(QStringLiteral("FindStatus"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(LabelFor(QStringLiteral("Find:"), FindEdit));
    layout->addWidget(FindEdit, 1);
    layout->addWidget(next);
    layout->addWidget(previous);
    layout->addWidget(FindStatus, 1);
    layout->addWidget(done);
    connect(next, &QPushButton::clicked, this, [this] { FindNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(done, &QPushButton::clicked, bar, &QWidget::hide);
    connect(FindEdit, &QLineEdit::textChanged, FindStatus, &QLabel::clear);
    bar->hide();
    return bar;
}

QWidget* TDisplayForm::BuildFilterBar()
{
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("FilterBar"));
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(new QLabel(QStringLiteral("Show:"), bar));
    for (int k = 0; k < kMessageKindCount; ++k) {
        auto* box = new QCheckBox(QString::fromLatin1(MessageKindName(static_cast<EMessageKind>(k))), bar);
        box->setChecked(true);
        connect(box, &QCheckBox::toggled, this, &TDisplayForm::ApplyFilter);
        KindBoxes[static_cast<std::size_t>(k)] = box;
        kinds->addWidget(box);
    }
    kinds->addStretch(1);

    AddressEdit = new QLineEdit(bar);
    AddressEdit->setObjectName(QStringLiteral("AddressEdit"));
    AddressEdit->setPlaceholderText(QStringLiteral("any, or as 5, 100-115"));
    AddressEdit->setToolTip(QStringLiteral("Sensor numbers, point numbers, slots or SV destinations"));
    TextEdit = new QLineEdit(bar);
    TextEdit->setObjectName(QStringLiteral("TextEdit"));
    TextEdit->setPlaceholderText(QStringLiteral("any"));
    FilterStatus = new QLabel(bar);
    FilterStatus->setObjectName(QStringLiteral("FilterStatus"));
    ShowAllButton = new QPushButton(QStringLiteral("Show &All"), bar);
    ShowAllButton->setObjectName(QStringLiteral("ShowAllButton"));
    auto* fields = new QHBoxLayout;
    fields->addWidget(LabelFor(QStringLiteral("Address:"), AddressEdit));
    fields->addWidget(AddressEdit, 1);
    fields->addWidget(LabelFor(QStringLiteral("Text:"), TextEdit));
    fields->addWidget(TextEdit, 2);
    fields->addWidget(FilterStatus, 1);
    fields->addWidget(ShowAllButton);

    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(kinds);
    layout->addLayout(fields);
    // Typing applies the filter after a pause; Return at once.
    for (QLineEdit* edit : {AddressEdit, TextEdit}) {
        connect(edit, &QLineEdit::textEdited, FilterTimer, qOverload<>(&QTimer::start));
        connect(edit, &QLineEdit::returnPressed, this, &TDisplayForm::ApplyFilter);
    }
    connect(ShowAllButton, &QPushButton::clicked, this, [this] {
        for (QCheckBox* box : KindBoxes) {
            const QSignalBlocker blocker(box);
            box->setChecked(true);
        }
        AddressEdit->clear();
        TextEdit->clear();
        ApplyFilter();
    });
    bar->hide();
    return bar;
}

bool TDisplayForm::eventFilter(QObject* watched, QEvent* event)
{
    // Only the bars' own showing and hiding, not the window's.
    const bool shown = event->type() == QEvent::ShowToParent;
    if ((shown || event->type() == QEvent::HideToParent) && (watched == FindBar || watched == FilterBar))
        KeepListHeight(static_cast<QWidget*>(watched), shown);
    return QWidget::eventFilter(watched, event);
}

void TDisplayForm::KeepListHeight(QWidget* bar, bool shown)
{
    // The list keeps its rows when a bar opens below it: the window grows by the bar (as far as
    // the room around it allows) and gives the height back when the bar closes.
    QWidget* frame = isWindow() ? static_cast<QWidget*>(this) : qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame || frame->isMaximized() || frame->isMinimized()) return;
    int& room = bar == FindBar ? FindBarRoom : FilterBarRoom;
    if (shown) {
        room = bar->sizeHint().height() + layout()->spacing();
        if (!frame->isWindow() && frame->parentWidget())
            room = std::clamp(frame->parentWidget()->height() - frame->geometry().bottom() - 1, 0, room);
        frame->resize(frame->width(), frame->height() + room);
    } else {
        frame->resize(frame->width(), frame->height() - room);
        room = 0;
    }
}

void TDisplayForm::ShowContextMenu(const QPoint& at)
{
    QMenu menu(this);
    menu.addAction(CopyAction);
    menu.addAction(SelectAllAction);
    menu.addSeparator();
    menu.addAction(FindAction);
    menu.addAction(FindNextAction);
    menu.addAction(FindPreviousAction);
    menu.addAction(FreezeAction);
    menu.addSeparator();
    menu.addAction(FilterAction);
    menu.addAction(TimeColumnAction);
    menu.addAction(DirectionColumnAction);
    menu.addAction(HexColumnAction);
    menu.addAction(BusLoadAction);
    menu.addSeparator();
    menu.addAction(LiveLogAction);
    menu.exec(MsgList->viewport()->mapToGlobal(at));
}

void TDisplayForm::AddMessage(const TLocoNetMessage& message)
{
    AddMessage(message, TRxStamp{Clock(), false});
}

void TDisplayForm::AddMessage(const TLocoNetMessage& message, const TRxStamp& stamp)
{
    const bool expanded = ExpandButton->isChecked();
    Messages->AddMessage(message, stamp.TimeUs, stamp.Echo, expanded);
    ++DisplayedCount;
    Load.Add(stamp.TimeUs, message.GetLength());
    LogMessage(message, stamp);
}

void TDisplayForm::LogMessage(const TLocoNetMessage& message, const TRxStamp& stamp)
{
    if (!Log.IsOpen()) return;
    // Every message, whatever is filtered or frozen: the window's line with the time in front.
    TMonitorColumns columns = Messages->Columns();
    columns.Time = true;
    LogLine.clear();
    AppendMonitorLine(LogLine, message, stamp.TimeUs, stamp.Echo, ExpandButton->isChecked(), columns,
                      Messages->Lines().LongestMessage());
    Log.Write(LogLine);
}

void TDisplayForm::Flush()
{
    MsgList->Flush();
}

void TDisplayForm::ShowCount()
{
    if (!Messages->Filter().Active()) {
        MsgCountEdit->setText(QString::number(DisplayedCount));
        MsgCountEdit->setMaximumWidth(100);
        return;
    }
    // Shown of received.
    const QString text = QStringLiteral("%1 / %2").arg(Messages->RowLines()).arg(DisplayedCount);
    MsgCountEdit->setText(text);
    MsgCountEdit->setMaximumWidth(std::max(100, MsgCountEdit->fontMetrics().horizontalAdvance(text) + 16));
}

void TDisplayForm::ClearButtonClick()
{
    MsgList->Clear();
    DisplayedCount = 0;
    ShowCount();
}

bool TDisplayForm::SaveToFile(const QString& fileName, QString* error) const
{
    return MsgList->SaveToFile(fileName, error);
}

void TDisplayForm::SaveButtonClick()
{
    const QString fileName = AskSaveFileName(this, QStringLiteral("Save"), QDir::homePath(),
                                             QStringLiteral("Text files (*.txt)"), QStringLiteral("txt"));
    if (fileName.isEmpty()) return;
    QString error;
    if (!SaveToFile(fileName, &error))
        ShowMessageBox(this, QStringLiteral("Railscope"), QStringLiteral("Could not save %1: %2").arg(fileName, error),
                       QMessageBox::Ok, true);
}

void TDisplayForm::HelpButtonClick()
{
    ShowHelpContext(hcMonitor);
}

void TDisplayForm::ColumnsChanged()
{
    TMonitorColumns columns;
    columns.Time = TimeColumnAction->isChecked();
    columns.Direction = DirectionColumnAction->isChecked();
    columns.Hex = HexColumnAction->isChecked();
    Messages->SetColumns(columns);
    emit OptionsChanged();
}

void TDisplayForm::ShowFilterBar(bool show)
{
    FilterBar->setVisible(show);
    if (show) {
        AddressEdit->setFocus();
        return;
    }
    // A filter nobody can see would hide lines without telling: closing the bar shows them all.
    ShowAllButton->click();
}

bool TDisplayForm::ApplyFilter()
{
    FilterTimer->stop();
    TMonitorFilter filter;
    filter.Kinds = 0;
    for (int k = 0; k < kMessageKindCount; ++k)
        if (KindBoxes[static_cast<std::size_t>(k)]->isChecked())
            filter.Kinds |= MessageKindBit(static_cast<EMessageKind>(k));
    std::string error;
    if (!ParseAddressRanges(AddressEdit->text().toStdString(), filter.Addresses, error)) {
        FilterStatus->setText(QStringLiteral("Address: %1").arg(QString::fromStdString(error)));
        return false;
    }
    FilterStatus->clear();
    filter.Text = TextEdit->text().toStdString();
    const int currentRow = MsgList->currentIndex().isValid() ? MsgList->currentIndex().row() : -1;
    const std::size_t currentLine =
        currentRow >= 0 ? Messages->LineOfRow(static_cast<std::size_t>(currentRow)) : Messages->LineCount();
    Messages->SetFilter(filter);
    // The line that was current stays current when it is still shown; otherwise the newest shows.
    const int row = currentRow >= 0 ? Messages->RowOfLine(currentLine) : -1;
    if (row >= 0)
        MsgList->GoToRow(row);
    else
        MsgList->scrollToBottom();
    ShowCount();
    return true;
}

bool TDisplayForm::FindNext(bool backward)
{
    FindBar->show();
    const int rows = Messages->rowCount();
    const QModelIndex current = MsgList->currentIndex();
    const int from = current.isValid() ? current.row() : (backward ? rows : -1);
    bool wrapped = false;
    const int row = Messages->FindRow(FindEdit->text(), from, backward, &wrapped);
    if (row < 0) {
        FindStatus->setText(FindEdit->text().isEmpty() ? QString() : QStringLiteral("Not found"));
        return false;
    }
    // The line found stays in view while messages keep coming, its match scrolled into sight.
    FreezeAction->setChecked(true);
    const QString line = Messages->index(row).data().toString();
    MsgList->GoToText(row, int(line.indexOf(FindEdit->text(), 0, Qt::CaseInsensitive)), int(FindEdit->text().size()));
    FindStatus->setText(
        wrapped ? (backward ? QStringLiteral("Continued from the bottom") : QStringLiteral("Continued from the top"))
                : QString());
    return true;
}

void TDisplayForm::ToggleLiveLog()
{
    if (Log.IsOpen()) {
        StopLiveLog();
        return;
    }
    LiveLogAction->setChecked(false); // until a file is open
    const QString fileName = AskSaveFileName(this, QStringLiteral("Live Log"), QDir::homePath(),
                                             QStringLiteral("Text files (*.txt)"), QStringLiteral("txt"));
    if (!fileName.isEmpty()) StartLiveLog(fileName);
}

bool TDisplayForm::StartLiveLog(const QString& fileName)
{
    std::string error;
    // The core takes file names as UTF-8 (on Windows too, where QFile::encodeName gives the ANSI
    // code page).
    if (!Log.Open(fileName.toStdString(), error)) {
        EndLiveLog(error);
        return false;
    }
    LiveLogAction->setChecked(true);
    LiveLogAction->setText(QStringLiteral("Stop Li&ve Log"));
    LogLabel->setText(QStringLiteral("Logging to %1").arg(QFileInfo(fileName).fileName()));
    LogLabel->setToolTip(fileName);
    LogLabel->show();
    return true;
}

void TDisplayForm::StopLiveLog()
{
    std::string error;
    EndLiveLog(Log.Close(error) ? std::string() : error);
}

void TDisplayForm::FlushLog()
{
    std::string error;
    if (Log.IsOpen() && !Log.Flush(error)) {
        // Told at once, and only once: the log stops.
        std::string ignored;
        Log.Close(ignored);
        EndLiveLog(error);
    }
}

void TDisplayForm::EndLiveLog(const std::string& failure)
{
    LiveLogAction->setChecked(false);
    LiveLogAction->setText(QStringLiteral("Li&ve Log to File..."));
    LogLabel->hide();
    if (failure.empty()) return;
    const QString fileName = QString::fromStdString(Log.FileName());
    ShowMessageBox(this, QStringLiteral("Railscope"),
                   QStringLiteral("Could not write the live log %1: %2").arg(fileName, QString::fromStdString(failure)),
                   QMessageBox::Ok, true);
}

void TDisplayForm::ShowBusLoad()
{
    const TBusLoad::TFigures figures = Load.LastSecond(Clock());
    BusLoadLabel->setText(
        QStringLiteral("Bus load: %1 msg/s, %2 %").arg(figures.MessagesPerSecond).arg(figures.SharePercent, 0, 'f', 1));
}

void TDisplayForm::ReadSettings(QSettings& settings)
{
    settings.beginGroup(kSettingsGroup);
    const QSignalBlocker blocker(this); // reading is not a change
    TimeColumnAction->setChecked(settings.value(QStringLiteral("TimeColumn"), false).toBool());
    DirectionColumnAction->setChecked(settings.value(QStringLiteral("DirectionColumn"), false).toBool());
    HexColumnAction->setChecked(settings.value(QStringLiteral("HexColumn"), false).toBool());
    BusLoadAction->setChecked(settings.value(QStringLiteral("BusLoad"), false).toBool());
    settings.endGroup();
}

void TDisplayForm::WriteSettings(QSettings& settings) const
{
    settings.beginGroup(kSettingsGroup);
    settings.setValue(QStringLiteral("TimeColumn"), TimeColumnAction->isChecked());
    settings.setValue(QStringLiteral("DirectionColumn"), DirectionColumnAction->isChecked());
    settings.setValue(QStringLiteral("HexColumn"), HexColumnAction->isChecked());
    settings.setValue(QStringLiteral("BusLoad"), BusLoadAction->isChecked());
    settings.endGroup();
}

void TDisplayForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted()) return;
    if (Log.IsOpen()) StopLiveLog();
    emit FormClosed();
}
