#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "protocol/OutputsConfig.h"

namespace kvelt {

// Parsers of the counter's replies. data = report bytes from the code byte on, size = their
// count. Each returns std::nullopt when size is shorter than its layout, so no byte past the
// report is ever read. The channel byte is passed on unchecked; the handler of the reply decides.

struct ResolutionReply {
  std::uint8_t Channel = 0;
  std::uint32_t Resolution = 0;  // as the user sees it (wire value / 4)
};

struct CoefficientReply {
  std::uint8_t Channel = 0;
  float Coefficient = 0;
};

struct ZeroMarkerReply {
  std::uint8_t Channel = 0;
  std::int8_t Position = 0;  // list position, carried as a signed byte
};

inline constexpr std::size_t kResolutionReplySize = 6;
inline constexpr std::size_t kCoefficientReplySize = 6;
inline constexpr std::size_t kZeroMarkerReplySize = 3;
inline constexpr std::size_t kOutputsReplySize = 1 + kOutputsHalfSize;

std::optional<ResolutionReply> ParseResolutionReply(const std::uint8_t* data, std::size_t size);       // 114
std::optional<CoefficientReply> ParseCoefficientReply(const std::uint8_t* data, std::size_t size);     // 115
std::optional<ZeroMarkerReply> ParseZeroMarkerReply(const std::uint8_t* data, std::size_t size);       // 117
std::optional<OutputsFirstHalf> ParseOutputsFirstReply(const std::uint8_t* data, std::size_t size);    // 108
std::optional<OutputsSecondHalf> ParseOutputsSecondReply(const std::uint8_t* data, std::size_t size);  // 113

}  // namespace kvelt
