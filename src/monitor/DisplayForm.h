#pragma once
// The LocoNet monitor window: one line per received message, decoded or as opcode name and
// hex bytes, with a count, clearing and saving to a text file.
//
// Beyond that, all off until asked for (from the list's context menu and the keys):
// optional columns (time since the link opened, direction, raw bytes), filters by kind, address
// and text that hide lines without losing them, freeze, find (Ctrl+F, F3, Shift+F3), copy
// (Ctrl+C), select all (Ctrl+A), a live log to a file, and the bus load.

#include "link/LnTypes.h"
#include "monitor/BusLoad.h"
#include "monitor/MonitorLog.h"
#include "monitor/MonitorModel.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;
class QTimer;
class TLocoNetMessage;

class TDisplayForm : public QWidget {
    Q_OBJECT
public:
    explicit TDisplayForm(QWidget* parent = nullptr);
    ~TDisplayForm() override;

    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLineEdit* MsgCountEdit = nullptr;
    QCheckBox* ExpandButton = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    TLineListView* MsgList = nullptr;
    QPushButton* HelpButton = nullptr;
    uint32_t DisplayedCount = 0;

    TMonitorModel* Messages = nullptr;
    // Shown beside the count only while they apply.
    QLabel* FrozenLabel = nullptr;
    QLabel* BusLoadLabel = nullptr;
    QLabel* LogLabel = nullptr;

    // The list's context menu and keys.
    QAction* CopyAction = nullptr;
    QAction* SelectAllAction = nullptr;
    QAction* FindAction = nullptr;
    QAction* FindNextAction = nullptr;
    QAction* FindPreviousAction = nullptr;
    QAction* FreezeAction = nullptr;
    QAction* TimeColumnAction = nullptr;
    QAction* DirectionColumnAction = nullptr;
    QAction* HexColumnAction = nullptr;
    QAction* BusLoadAction = nullptr;
    QAction* FilterAction = nullptr;
    QAction* LiveLogAction = nullptr;

    // The find bar (Ctrl+F).
    QWidget* FindBar = nullptr;
    QLineEdit* FindEdit = nullptr;
    QLabel* FindStatus = nullptr; // "Not found", or that the search went round the end

    // The filter bar.
    QWidget* FilterBar = nullptr;
    std::array<QCheckBox*, kMessageKindCount> KindBoxes{}; // by EMessageKind
    QLineEdit* AddressEdit = nullptr;
    QLineEdit* TextEdit = nullptr;
    QLabel* FilterStatus = nullptr; // why the addresses cannot be read
    QPushButton* ShowAllButton = nullptr;

    // Microseconds on the link's clock: stamps messages handed in without a time, and ends the
    // bus load's second. By default the time since the window was made.
    std::function<int64_t()> Clock;

    // Adds the line of a received message, stamped now; the message stays the caller's.
    void AddMessage(const TLocoNetMessage& message);
    // Adds the line of a message that the link read at stamp.TimeUs.
    void AddMessage(const TLocoNetMessage& message, const TRxStamp& stamp);
    // Writes a received message to the live log only (when one is running): what an older
    // monitor, which shows no new messages, still takes.
    void LogMessage(const TLocoNetMessage& message, const TRxStamp& stamp);
    // Shows the lines and the count added since the last batch at once.
    void Flush();

    void ClearButtonClick();
    void SaveButtonClick();
    // Writes every line shown to a file; false with a reason when it cannot.
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;
    void HelpButtonClick();

    // Takes the filter from the filter bar; false (and the reason beside it) when the addresses
    // cannot be read, in which case the filter stays as it was.
    bool ApplyFilter();
    // Finds the next (or previous) line holding the find bar's text, going round the end;
    // a line found is selected and the view freezes on it. False when no line holds it.
    bool FindNext(bool backward = false);
    // Starts the live log in `fileName`, or reports why it cannot; false then.
    bool StartLiveLog(const QString& fileName);
    void StopLiveLog();
    bool LiveLogRunning() const { return Log.IsOpen(); }
    // Shows the bus load of the last second now.
    void ShowBusLoad();

    // The columns and the bus load shown, kept in the settings section "DisplayForm".
    void ReadSettings(QSettings& settings);
    void WriteSettings(QSettings& settings) const;

signals:
    // The window was closed; routing to it must stop.
    void FormClosed();
    // A column or the bus load was switched on or off (for the settings).
    void OptionsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildActions();
    QWidget* BuildFindBar();
    QWidget* BuildFilterBar();
    void ShowContextMenu(const QPoint& at);
    void ShowCount();
    void ColumnsChanged();
    void ShowFilterBar(bool show);
    void FlushLog();
    // The live log has stopped; `failure` says why when it could not be written, and is told.
    void EndLiveLog(const std::string& failure);
    void ToggleLiveLog();
    void KeepListHeight(QWidget* bar, bool shown);

    TBusLoad Load;
    TMonitorLog Log;
    std::string LogLine;
    QTimer* FilterTimer = nullptr;
    QTimer* BusLoadTimer = nullptr;
    int FindBarRoom = 0; // height the window grew by for each bar
    int FilterBarRoom = 0;
};
