#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kvelt {

// The measurement frame of codes 100..103 (100 + channel index): packed, little-endian, reals
// as IEEE 754 singles. Bytes after the layout are ignored.
struct ChannelFrame {
  std::uint8_t Code = 0;
  std::uint8_t RawByte = 0;
  std::uint16_t GateTimeMs = 0;
  std::uint16_t ResolutionX4 = 0;
  std::uint32_t Raw1 = 0, Raw2 = 0, Raw3 = 0;
  float Position = 0, Speed = 0, Coefficient = 0;
  std::uint8_t OutputState = 0;  // bit n-1 = transistor output n (1..5)
};

// Field offsets, counted from the code byte.
namespace ChannelFrameOffset {
inline constexpr std::size_t Code = 0;
inline constexpr std::size_t RawByte = 1;
inline constexpr std::size_t GateTimeMs = 2;
inline constexpr std::size_t ResolutionX4 = 4;
inline constexpr std::size_t Raw1 = 6;
inline constexpr std::size_t Raw2 = 10;
inline constexpr std::size_t Raw3 = 14;
inline constexpr std::size_t Position = 18;
inline constexpr std::size_t Speed = 22;
inline constexpr std::size_t Coefficient = 26;
inline constexpr std::size_t OutputState = 30;
}  // namespace ChannelFrameOffset

inline constexpr std::size_t kChannelFrameSize = ChannelFrameOffset::OutputState + 1;
static_assert(kChannelFrameSize == 31);

inline constexpr int kTransistorOutputCount = 5;

// State of transistor output 1..5 in a frame's OutputState byte, as 0 or 1; bits 5..7 are unused.
constexpr int OutputStateBit(std::uint8_t outputState, int output) {
  return (output >= 1 && output <= kTransistorOutputCount) ? (outputState >> (output - 1)) & 1 : 0;
}

// data = report bytes from the code byte on. std::nullopt when fewer than 31 bytes are given.
// The code byte is taken as it is; the caller decides what it means.
std::optional<ChannelFrame> ParseChannelFrame(const std::uint8_t* data, std::size_t size);

// The 31 bytes of a frame, for the simulated counter and tests.
std::array<std::uint8_t, kChannelFrameSize> EncodeChannelFrame(const ChannelFrame& frame);

}  // namespace kvelt
