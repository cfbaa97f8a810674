#include "config/EncoderInfo.h"

#include <charconv>
#include <cstdint>

#include "config/DisplayDecimals.h"
#include "measure/FixedPointFormat.h"
#include "protocol/Resolution.h"

namespace kvelt {

namespace {

constexpr int kPrecision = 15;
constexpr int kGateTimeDecimals = 1;
constexpr double kSecondsPerMillisecond = 0.001;

std::string DecimalText(std::uint32_t value) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::string FixedText(double value, int decimals, std::string_view decimalSeparator) {
  return FormatFixedPoint(value, kPrecision, decimals, decimalSeparator).value_or(std::string{});
}

}  // namespace

InfoBox ComposeEncoderInfo(const ChannelReading& reading, int channelNumber, int unitSelection,
                           int divSelection, std::string_view decimalSeparator,
                           const std::function<std::string(std::string_view key)>& text) {
  InfoBox box;
  std::string& body = box.Text;

  body += text("IDS_147");
  body += FixedText(reading.GateTimeMs * kSecondsPerMillisecond, kGateTimeDecimals, decimalSeparator);
  body += text("IDS_148");
  body += text("IDS_22");

  if (unitSelection >= 0 && unitSelection <= 3) {
    body += text("IDS_149");
    body += DecimalText(ResolutionFromWire(reading.ResolutionX4));
    body += text(unitSelection <= 1 ? "IDS_150" : "IDS_152");
  }
  body += text("IDS_22");

  body += text("IDS_153");
  body +=
      FixedText(static_cast<double>(reading.Coefficient), DisplayDecimals(divSelection), decimalSeparator);
  body += text("IDS_7");
  body += text("IDS_22");

  box.Title = text("IDS_155");
  char digits[12];
  box.Title.append(digits, std::to_chars(digits, digits + sizeof digits, channelNumber).ptr);
  return box;
}

std::optional<InfoBox> ComposeEncoderInfo(const ChannelReadingArray& readings, int channelNumber,
                                          int unitSelection, int divSelection,
                                          std::string_view decimalSeparator,
                                          const std::function<std::string(std::string_view key)>& text) {
  if (channelNumber < 1 || channelNumber > static_cast<int>(readings.size())) {
    return std::nullopt;
  }
  return ComposeEncoderInfo(readings[static_cast<std::size_t>(channelNumber - 1)], channelNumber,
                            unitSelection, divSelection, decimalSeparator, text);
}

}  // namespace kvelt
