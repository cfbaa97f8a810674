#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvelt {

// The five transistor outputs' configuration travels in two 30-byte halves of five 6-byte
// entries; output k (1..5) starts at byte 6 * (k - 1) of a half, i.e. payload byte 6k - 5.

// First half entry: enable flag, selector (source position, comparison), threshold.
struct OutputFirstEntry {
  std::uint8_t Enable = 0;
  std::uint8_t Selector = 0;
  float Threshold = 0.0f;
};

struct OutputsFirstHalf {
  std::array<OutputFirstEntry, 5> Entries{};
};

// Second half entry: selector (logic, second comparison), second threshold, state.
struct OutputSecondEntry {
  std::uint8_t Selector = 0;
  float SecondThreshold = 0.0f;
  std::uint8_t State = 0;
};

struct OutputsSecondHalf {
  std::array<OutputSecondEntry, 5> Entries{};
};

inline constexpr std::size_t kOutputCount = 5;
inline constexpr std::size_t kOutputEntrySize = 6;
inline constexpr std::size_t kOutputsHalfSize = kOutputCount * kOutputEntrySize;
static_assert(kOutputsHalfSize == 30);

std::array<std::uint8_t, kOutputsHalfSize> EncodeOutputsFirstHalf(const OutputsFirstHalf& half);
// bytes30 must point at 30 readable bytes; no alignment is required.
OutputsFirstHalf DecodeOutputsFirstHalf(const std::uint8_t* bytes30);

std::array<std::uint8_t, kOutputsHalfSize> EncodeOutputsSecondHalf(const OutputsSecondHalf& half);
OutputsSecondHalf DecodeOutputsSecondHalf(const std::uint8_t* bytes30);

}  // namespace kvelt
