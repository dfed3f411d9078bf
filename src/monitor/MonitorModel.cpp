#include "monitor/MonitorModel.h"

TMonitorModel::TMonitorModel(QObject* parent) : TLineListModel(parent) {}

void TMonitorModel::AddMessage(const TLocoNetMessage& message, int64_t timeUs, bool echo, bool expanded)
{
    const std::size_t longest = Store.LongestMessage();
    Store.Append(message, timeUs, echo, expanded);
    // A message longer than all before widens the raw-bytes column of every line.
    if (Shown.Hex && Store.LongestMessage() > longest && rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1));
    LineAdded(Store.Count() - 1);
}

bool TMonitorModel::Accepts(std::size_t line) const
{
    return Shows.Accepts(Store, line, Shown, Scratch);
}

void TMonitorModel::SetColumns(const TMonitorColumns& columns)
{
    if (columns == Shown) return;
    Shown = columns;
    // The text filter looks at the line as shown, columns included.
    if (!Shows.Text.empty())
        Refilter();
    else if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}

void TMonitorModel::SetFilter(const TMonitorFilter& filter)
{
    Shows = filter;
    Refilter();
}
