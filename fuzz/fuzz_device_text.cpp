// Feeds arbitrary text as a device's product string (the USB "product" attribute or the
// kernel's HID_NAME) through what the device list makes of it: the label, the counter check and
// the label as printed. A label is never empty, is the name when there is one, is the counter
// only when it reads "KVELT", and is printed as valid UTF-8 without a control character.
//
// Input: bytes 0..3 the vendor and product id, the rest the text as sysfs gives it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "device/DeviceLabel.h"
#include "device/linux/SysfsValues.h"
#include "text/ControlEscape.h"
#include "text/TextEncoding.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// No C0 control but (where kept) the line feed, no DEL, no C1 control.
bool Printable(std::string_view text, bool lineFeeds) {
  for (std::size_t at = 0; at < text.size();) {
    const char32_t code = kvelt::NextCodePoint(text, at);
    if ((code < 0x20 && !(lineFeeds && code == '\n')) || (code >= 0x7F && code <= 0x9F)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const auto vendor = static_cast<std::uint16_t>(data[0] << 8 | data[1]);
  const auto product = static_cast<std::uint16_t>(data[2] << 8 | data[3]);
  const std::string_view raw(reinterpret_cast<const char*>(data + 4), size - 4);
  const std::string name = kvelt::hid::SysfsText(raw);
  Check(name.empty() || name.back() != '\n');
  Check(raw.substr(0, name.size()) == name);

  const std::string label = kvelt::hid::DeviceListLabel(name, vendor, product);
  Check(!label.empty());
  Check(name.empty() || label == name);
  Check(kvelt::hid::IsCounterLabel(label) == (label == "KVELT"));

  const std::string shown = kvelt::EscapeControlCharacters(label);
  Check(kvelt::IsValidUtf8(shown) && Printable(shown, false));
  Check(shown.size() >= label.size());
  Check((shown == label) ==
        (kvelt::IsValidUtf8(label) && Printable(label, false) && label.find('\\') == std::string::npos));
  const std::string message = kvelt::EscapeControlCharacters(label, kvelt::LineBreaks::Keep);
  Check(kvelt::IsValidUtf8(message) && Printable(message, true));
  return 0;
}
