#pragma once

namespace kvelt {

// The `div` list offers 0..4 decimals; with no selection (a hand-edited stored value outside the
// list) the start-up default of two decimals applies.
inline constexpr int kDefaultDisplayDecimals = 2;
inline constexpr int kMaxDisplayDecimals = 4;

constexpr int DisplayDecimals(int divSelection) {
  return divSelection >= 0 && divSelection <= kMaxDisplayDecimals ? divSelection : kDefaultDisplayDecimals;
}

}  // namespace kvelt
