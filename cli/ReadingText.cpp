#include "cli/ReadingText.h"

#include <optional>

#include "cli/JsonText.h"
#include "cli/MachineNumberText.h"
#include "cli/TimestampText.h"
#include "cli/ValueOptions.h"
#include "measure/FixedPointFormat.h"

namespace kvelt::cli {
namespace {

constexpr int kOutputCount = 5;

std::string Value(float value, int decimals, std::string_view separator) {
  return FormatFixedPoint(value, 15, decimals, separator).value_or("---");
}

}  // namespace

std::string ReadingLine(const ChannelReadingArray& readings, int unit, int decimals, std::uint8_t outputs,
                        std::string_view decimalSeparator) {
  std::string line;
  for (std::size_t channel = 0; channel < readings.size(); ++channel) {
    line += std::to_string(channel + 1) + ": " +
            Value(readings[channel].Position, decimals, decimalSeparator) + " " +
            Value(readings[channel].Speed, decimals, decimalSeparator) + "  ";
  }
  line += std::string(UnitName(unit)) + "  out ";
  for (int output = 0; output < kOutputCount; ++output) line += ((outputs >> output) & 1u) != 0 ? '1' : '0';
  return line;
}

std::string ReadingJson(const ChannelReadingArray& readings, int unit, std::uint8_t outputs,
                        std::chrono::system_clock::time_point now) {
  JsonObject object;
  object.String("time", IsoTimestamp(now));
  const auto number = [](float value) { return FullPrecisionText(value).value_or("null"); };
  for (std::size_t channel = 0; channel < readings.size(); ++channel) {
    object.Raw("pos" + std::to_string(channel + 1), number(readings[channel].Position));
  }
  for (std::size_t channel = 0; channel < readings.size(); ++channel) {
    object.Raw("ver" + std::to_string(channel + 1), number(readings[channel].Speed));
  }
  object.String("unit", UnitName(unit));
  for (int output = 0; output < kOutputCount; ++output) {
    object.Bool("out" + std::to_string(output + 1), ((outputs >> output) & 1u) != 0);
  }
  return object.Text();
}

}  // namespace kvelt::cli
