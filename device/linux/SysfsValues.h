#pragma once

// Parsing of the text values that udev and sysfs give for HID devices.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvelt::hid {

// The HID_ID property of a "hid" device, "BBBB:VVVVVVVV:PPPPPPPP" in hex.
struct HidIdProperty {
  std::uint16_t Bus = 0;
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
};

// nullopt unless the text is three hex fields separated by ':' whose values fit 16 bits.
std::optional<HidIdProperty> ParseHidIdProperty(std::string_view text);

// A 16-bit hex attribute such as idVendor "046d" or bcdDevice "0102";
// one trailing newline is accepted.
std::optional<std::uint16_t> ParseSysfsHex16(std::string_view text);

// A text attribute or property ("product", HID_NAME) without the line breaks sysfs ends it with.
std::string SysfsText(std::string_view text);

}  // namespace kvelt::hid
