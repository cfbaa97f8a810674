// Feeds arbitrary text to the parsers of the values udev and sysfs give for HID devices:
// HID_ID ("BBBB:VVVVVVVV:PPPPPPPP") and 16-bit hex attributes ("046d\n"). An accepted text
// must give the value its hex digits spell, so the same value written out again reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "device/linux/SysfsValues.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Hex(unsigned value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", width, value);
  return buffer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto id = kvelt::hid::ParseHidIdProperty(text)) {
    Check(text.find(':') != std::string_view::npos);
    const std::string again = Hex(id->Bus, 4) + ":" + Hex(id->VendorID, 8) + ":" + Hex(id->ProductID, 8);
    const auto reread = kvelt::hid::ParseHidIdProperty(again);
    Check(reread && reread->Bus == id->Bus && reread->VendorID == id->VendorID &&
          reread->ProductID == id->ProductID);
  }
  if (const auto value = kvelt::hid::ParseSysfsHex16(text)) {
    Check(!text.empty() && text.front() != '\n');
    Check(kvelt::hid::ParseSysfsHex16(Hex(*value, 4) + "\n") == value);
    Check(kvelt::hid::ParseSysfsHex16(Hex(*value, 4)) == value);
  }
  return 0;
}
