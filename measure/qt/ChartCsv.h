#pragma once

#include <QList>
#include <QPointF>
#include <string>
#include <string_view>
#include <vector>

namespace kvelt {

// One column of the chart's table: a series' title (UTF-8) and its points in ascending x.
struct ChartCsvColumn {
  std::string Title;
  QList<QPointF> Points;
};

// The chart's points between `fromX` and `toX` (both included) as a table in the recording
// line's rules: a header line ("Czas [s]" and the titles), then one line per time that any series
// has a point at, in ascending order: the time, then each column's value at that time or nothing;
// every field ends with ";" and every line with CR LF. Values have `decimals` decimals (the time
// at least one, as it steps by tenths) and `decimalSeparator`.
std::string ComposeChartCsv(const std::vector<ChartCsvColumn>& columns, double fromX, double toX,
                            int decimals, std::string_view decimalSeparator);

}  // namespace kvelt
