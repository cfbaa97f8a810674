#include "device/DeviceLabel.h"

#include <cstdio>

namespace kvelt::hid {

std::string DeviceListLabel(std::string_view productString, std::uint16_t vendorId, std::uint16_t productId) {
  if (!productString.empty()) {
    return std::string(productString);
  }
  char text[32];
  std::snprintf(text, sizeof text, "Device VID=%04X PID=%04X", static_cast<unsigned>(vendorId),
                static_cast<unsigned>(productId));
  return text;
}

}  // namespace kvelt::hid
