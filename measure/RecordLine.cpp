#include "measure/RecordLine.h"

#include <algorithm>
#include <optional>

#include "measure/FixedPointFormat.h"

namespace kvelt {
namespace {

constexpr int kRecordPrecision = 15;

}  // namespace

void AppendRecordField(std::string& line, double value, int decimals, std::string_view decimalSeparator) {
  const std::optional<std::string> text =
      FormatFixedPoint(value, kRecordPrecision, decimals, decimalSeparator);
  line += text ? *text : std::string("---");
  line += ';';
}

std::string ComposeRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings, int decimals,
                              std::string_view decimalSeparator,
                              const std::function<std::string()>& currentDate,
                              const std::function<std::string()>& currentTime) {
  std::string line;
  if (columns.Date) {
    std::string date = currentDate();
    std::replace(date.begin(), date.end(), '-', ':');
    line += date;
    line += ';';
  }
  if (columns.Time) {
    line += currentTime();
    line += ';';
  }
  for (std::size_t channel = 0; channel < readings.size(); ++channel) {
    if (columns.Position[channel]) {
      AppendRecordField(line, static_cast<double>(readings[channel].Position), decimals, decimalSeparator);
    }
    if (columns.Speed[channel]) {
      AppendRecordField(line, static_cast<double>(readings[channel].Speed), decimals, decimalSeparator);
    }
  }
  line += "\r\n";
  return line;
}

}  // namespace kvelt
