#include "measure/qt/ChartCsv.h"

#include <algorithm>
#include <limits>

#include "measure/RecordLine.h"

namespace kvelt {
namespace {

// The time axis' title, the same in both languages.
constexpr std::string_view kTimeTitle = "Czas [s]";

void AppendTextField(std::string& line, std::string_view text) {
  // A title is the user's text: a ";" in it would shift every column after it.
  for (const char c : text) {
    line += c == ';' ? ',' : c;
  }
  line += ';';
}

}  // namespace

std::string ComposeChartCsv(const std::vector<ChartCsvColumn>& columns, double fromX, double toX,
                            int decimals, std::string_view decimalSeparator) {
  std::string text;
  AppendTextField(text, kTimeTitle);
  for (const ChartCsvColumn& column : columns) {
    AppendTextField(text, column.Title);
  }
  text += "\r\n";

  // One cursor per column, at its first point inside the range; each step takes the smallest x
  // that any cursor points at.
  std::vector<qsizetype> next(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const QList<QPointF>& points = columns[c].Points;
    next[c] = std::lower_bound(points.cbegin(), points.cend(), fromX,
                               [](const QPointF& point, double x) { return point.x() < x; }) -
              points.cbegin();
  }
  const int timeDecimals = std::max(decimals, 1);
  for (;;) {
    double x = std::numeric_limits<double>::infinity();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (next[c] < columns[c].Points.size()) {
        x = std::min(x, columns[c].Points[next[c]].x());
      }
    }
    if (!(x <= toX)) {
      break;
    }
    AppendRecordField(text, x, timeDecimals, decimalSeparator);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const QList<QPointF>& points = columns[c].Points;
      if (next[c] < points.size() && points[next[c]].x() == x) {
        AppendRecordField(text, points[next[c]].y(), decimals, decimalSeparator);
        ++next[c];
      } else {
        text += ';';
      }
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace kvelt
