#pragma once

#include <cstdint>

namespace kvelt {

// A selector byte carries a list position and a two-way choice: value = position + 10 * choice.
struct SelectorValue {
  int Position;
  int Choice;
};

// Wraps modulo 256, so a missing list selection (-1) with choice 0 goes out as 0xFF and reads
// back as position -1.
std::uint8_t EncodeSelector(int position, int choice);

// Reads the byte as a signed 8-bit number: below 10 it is the position with choice 0 (negative
// positions included), 10 or more gives position value - 10 with choice 1.
SelectorValue DecodeSelector(std::uint8_t byte);

}  // namespace kvelt
