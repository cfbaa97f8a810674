#include "protocol/Selector.h"

namespace kvelt {

namespace {
constexpr int kChoiceWeight = 10;
}

std::uint8_t EncodeSelector(int position, int choice) {
  return static_cast<std::uint8_t>((position + kChoiceWeight * choice) & 0xFF);
}

SelectorValue DecodeSelector(std::uint8_t byte) {
  // The byte is a two's-complement signed value.
  const int value = byte >= 0x80 ? int{byte} - 0x100 : int{byte};
  if (value < kChoiceWeight) {
    return {value, 0};
  }
  return {value - kChoiceWeight, 1};
}

}  // namespace kvelt
