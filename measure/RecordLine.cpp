#include "measure/RecordLine.h"

#include <algorithm>
#include <optional>

#include "measure/FixedPointFormat.h"

namespace kvelt {
namespace {

constexpr int kRecordPrecision = 15;

void AppendValueField(std::string& line, float value, int decimals, std::string_view decimalSeparator) {
  const std::optional<std::string> text =
      FormatFixedPoint(static_cast<double>(value), kRecordPrecision, decimals, decimalSeparator);
  line += text ? *text : std::string("---");
  line += ';';
}

}  // namespace

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
      AppendValueField(line, readings[channel].Position, decimals, decimalSeparator);
    }
    if (columns.Speed[channel]) {
      AppendValueField(line, readings[channel].Speed, decimals, decimalSeparator);
    }
  }
  line += "\r\n";
  return line;
}

}  // namespace kvelt
