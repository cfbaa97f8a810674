#include "protocol/ReplyParsers.h"

#include "protocol/ByteOrder.h"
#include "protocol/Resolution.h"

namespace kvelt {

namespace {

constexpr std::size_t kChannelOffset = 1;
constexpr std::size_t kValueOffset = 2;
constexpr std::size_t kHalfOffset = 1;

bool Holds(const std::uint8_t* data, std::size_t size, std::size_t needed) {
  return data != nullptr && size >= needed;
}

}  // namespace

std::optional<ResolutionReply> ParseResolutionReply(const std::uint8_t* data, std::size_t size) {
  if (!Holds(data, size, kResolutionReplySize)) {
    return std::nullopt;
  }
  return ResolutionReply{data[kChannelOffset], ResolutionFromWire(LoadU32Le(data + kValueOffset))};
}

std::optional<CoefficientReply> ParseCoefficientReply(const std::uint8_t* data, std::size_t size) {
  if (!Holds(data, size, kCoefficientReplySize)) {
    return std::nullopt;
  }
  return CoefficientReply{data[kChannelOffset], LoadF32Le(data + kValueOffset)};
}

std::optional<ZeroMarkerReply> ParseZeroMarkerReply(const std::uint8_t* data, std::size_t size) {
  if (!Holds(data, size, kZeroMarkerReplySize)) {
    return std::nullopt;
  }
  return ZeroMarkerReply{data[kChannelOffset], static_cast<std::int8_t>(data[kValueOffset])};
}

std::optional<OutputsFirstHalf> ParseOutputsFirstReply(const std::uint8_t* data, std::size_t size) {
  if (!Holds(data, size, kOutputsReplySize)) {
    return std::nullopt;
  }
  return DecodeOutputsFirstHalf(data + kHalfOffset);
}

std::optional<OutputsSecondHalf> ParseOutputsSecondReply(const std::uint8_t* data, std::size_t size) {
  if (!Holds(data, size, kOutputsReplySize)) {
    return std::nullopt;
  }
  return DecodeOutputsSecondHalf(data + kHalfOffset);
}

}  // namespace kvelt
