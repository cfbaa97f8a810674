#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "measure/ChannelReading.h"

namespace kvelt {

// The encoder information box of one channel: its gate time, resolution and coefficient as the
// latest frame of that channel left them.
struct InfoBox {
  std::string Title;
  std::string Text;
};

// `channelNumber` 1..4 (only written into the title); `unitSelection` the `unit` list's selection
// (0, 1: rotary resolution unit; 2, 3: linear; anything else: no resolution item);
// `divSelection` the `div` list's selection (decimals of the coefficient; two outside 0..4);
// `text` the message lookup of the active language.
InfoBox ComposeEncoderInfo(const ChannelReading& reading, int channelNumber, int unitSelection,
                           int divSelection, std::string_view decimalSeparator,
                           const std::function<std::string(std::string_view key)>& text);

// The same for channel `channelNumber` of the four readings; nullopt outside 1..4.
std::optional<InfoBox> ComposeEncoderInfo(const ChannelReadingArray& readings, int channelNumber,
                                          int unitSelection, int divSelection,
                                          std::string_view decimalSeparator,
                                          const std::function<std::string(std::string_view key)>& text);

}  // namespace kvelt
