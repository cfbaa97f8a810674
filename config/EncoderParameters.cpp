#include "config/EncoderParameters.h"

#include <charconv>

#include "config/DisplayDecimals.h"
#include "config/LocaleNumber.h"
#include "measure/FixedPointFormat.h"
#include "protocol/ReportBuilders.h"

namespace kvelt {

namespace {

constexpr int kReplyChannelCount = 4;
constexpr int kCoefficientPrecision = 15;

std::uint8_t ChannelByte(int channel) { return static_cast<std::uint8_t>(channel); }

}  // namespace

std::optional<OutboundReport> SetResolutionRequest(int channel, std::string_view text) {
  const std::optional<long long> resolution = ParseDecimalInteger(text);
  if (!resolution || *resolution < 0 || *resolution > kMaxResolution) {
    return std::nullopt;
  }
  return BuildSetResolution(ChannelByte(channel), static_cast<std::uint32_t>(*resolution));
}

std::optional<OutboundReport> SetCoefficientRequest(int channel, std::string_view text,
                                                    std::string_view decimalSeparator) {
  const std::optional<double> value = ParseLocaleReal(text, decimalSeparator);
  if (!value) {
    return std::nullopt;
  }
  const std::optional<float> single = ToSingle(*value);
  if (!single) {
    return std::nullopt;
  }
  return BuildSetCoefficient(ChannelByte(channel), *single);
}

OutboundReport SetZeroMarkerRequest(int channel, int listPosition) {
  return BuildSetZeroMarker(ChannelByte(channel), static_cast<std::uint8_t>(listPosition));
}

OutboundReport GetResolutionRequest(int channel) { return BuildGetResolution(ChannelByte(channel)); }

OutboundReport GetCoefficientRequest(int channel) { return BuildGetCoefficient(ChannelByte(channel)); }

OutboundReport GetZeroMarkerRequest(int channel) { return BuildGetZeroMarker(ChannelByte(channel)); }

std::optional<int> ReplyChannel(std::uint8_t channelByte) {
  if (channelByte >= kReplyChannelCount) {
    return std::nullopt;
  }
  return channelByte;
}

std::string ResolutionReplyText(const ResolutionReply& reply) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, reply.Resolution);
  return std::string(buffer, result.ptr);
}

std::string CoefficientReplyText(float coefficient, int divSelection, std::string_view decimalSeparator) {
  return FormatFixedPoint(static_cast<double>(coefficient), kCoefficientPrecision,
                          DisplayDecimals(divSelection), decimalSeparator)
      .value_or(std::string{});
}

int ZeroMarkerListPosition(const ZeroMarkerReply& reply) {
  return reply.Position == 0 || reply.Position == 1 ? reply.Position : -1;
}

}  // namespace kvelt
