#pragma once
// The monitor's lines as a list model: the messages as received (TMonitorLines), shown through
// the optional columns and the filter. Changing either rebuilds the rows; no line is lost.

#include "monitor/MonitorLines.h"
#include "widgets/LineList.h"

class TMonitorModel : public TLineListModel {
    Q_OBJECT
public:
    explicit TMonitorModel(QObject* parent = nullptr);

    // Keeps a received message; `timeUs` is when it was read, `echo` whether it is the echo of
    // one this program wrote, `expanded` whether it is shown decoded.
    void AddMessage(const TLocoNetMessage& message, int64_t timeUs, bool echo, bool expanded);

    std::size_t LineCount() const override { return Store.Count(); }
    std::string Line(std::size_t i) const override { return Store.Text(i, ShownColumns); }
    std::size_t MemoryUsed() const override { return Store.MemoryUsed() + RowMemoryUsed(); }
    const TMonitorLines& Lines() const { return Store; }

    const TMonitorColumns& Columns() const { return ShownColumns; }
    void SetColumns(const TMonitorColumns& columns);
    const TMonitorFilter& Filter() const { return LineFilter; }
    void SetFilter(const TMonitorFilter& filter);

protected:
    bool Accepts(std::size_t line) const override;
    void ClearLines() override { Store.Clear(); }

private:
    TMonitorLines Store;
    TMonitorColumns ShownColumns;
    TMonitorFilter LineFilter;
    mutable std::string Scratch;
};
