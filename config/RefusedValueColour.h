#pragma once

#include <cstdint>

namespace kvelt {

struct RgbColour {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;
};

// Background of an edit box whose text was refused, until its text changes: a light red.
inline constexpr RgbColour kRefusedValueColour{253, 124, 102};

}  // namespace kvelt
