#include "cli/ReadingText.h"

#include <optional>

#include "cli/JsonText.h"
#include "cli/ValueOptions.h"
#include "measure/FixedPointFormat.h"

namespace kvelt::cli {
namespace {

std::string Value(float value, int decimals, std::string_view separator) {
  return FormatFixedPoint(value, 15, decimals, separator).value_or("---");
}

}  // namespace

std::string ReadingLine(const ChannelReadingArray& readings, int unit, int decimals,
                        std::string_view decimalSeparator) {
  std::string line;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    line += "pos" + std::to_string(channel + 1) + " " +
            Value(readings[static_cast<std::size_t>(channel)].Position, decimals, decimalSeparator) + "  ";
  }
  for (int channel = 0; channel < kChannelCount; ++channel) {
    line += "ver" + std::to_string(channel + 1) + " " +
            Value(readings[static_cast<std::size_t>(channel)].Speed, decimals, decimalSeparator) + "  ";
  }
  return line + "[" + std::string(UnitName(unit)) + "]";
}

std::string ReadingJson(const ChannelReadingArray& readings, int unit, int decimals) {
  JsonObject object;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    object.Raw("pos" + std::to_string(channel + 1),
               JsonNumber(readings[static_cast<std::size_t>(channel)].Position, decimals));
  }
  for (int channel = 0; channel < kChannelCount; ++channel) {
    object.Raw("ver" + std::to_string(channel + 1),
               JsonNumber(readings[static_cast<std::size_t>(channel)].Speed, decimals));
  }
  return object.String("unit", UnitName(unit)).Text();
}

}  // namespace kvelt::cli
