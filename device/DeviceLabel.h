#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvelt::hid {

// How a HID interface is named in the device list: its product string, or
// "Device VID=XXXX PID=XXXX" when it has none.
std::string DeviceListLabel(std::string_view productString, std::uint16_t vendorId, std::uint16_t productId);

// The counter is the device whose list label is exactly "KVELT"; of several, the last one wins.
inline constexpr std::string_view kCounterLabel = "KVELT";

constexpr bool IsCounterLabel(std::string_view label) { return label == kCounterLabel; }

}  // namespace kvelt::hid
