#pragma once

#include <string>

#include "device/HidBackend.h"

namespace kvelt::hid {

// The plug-and-play record of one HID interface: the identity that recognises it from one
// scan to the next, the path every open uses, and the rest of what the system told about it.
class THidPnPInfo {
 public:
  explicit THidPnPInfo(HidInterfaceInfo info);

  const std::string& DeviceInstance() const { return info_.Identity; }
  const std::string& DevicePath() const { return info_.Path; }
  const HidInterfaceInfo& Interface() const { return info_; }

 private:
  HidInterfaceInfo info_;
};

}  // namespace kvelt::hid
