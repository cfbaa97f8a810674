#pragma once

#include <array>
#include <cstdint>

#include "measure/StoreChannelFrame.h"

namespace kvelt {

// The latest decoded frame of one encoder channel, in natural (aligned) layout. Speed is already
// in the unit that was selected when the frame arrived. Zero until the channel's first frame.
struct ChannelReading {
  std::uint8_t RawByte = 0;
  std::uint16_t GateTimeMs = 0;
  std::uint16_t ResolutionX4 = 0;
  std::uint32_t Raw1 = 0, Raw2 = 0, Raw3 = 0;
  float Position = 0, Speed = 0, Coefficient = 0;
  std::uint8_t OutputState = 0;  // bit n-1 = transistor output n (1..5), as the frame had it
};

inline constexpr int kChannelCount = 4;

// Index 0..3 = channels 1..4.
using ChannelReadingArray = std::array<ChannelReading, kChannelCount>;

}  // namespace kvelt
