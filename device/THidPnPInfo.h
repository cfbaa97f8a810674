#pragma once

#include <string>

#include "device/HidBackend.h"

namespace kvelt::hid {

// The plug-and-play record of one HID interface: the identity that recognises it from one
// scan to the next, the path every open uses, and the rest of what the system told about it.
class THidPnPInfo {
 public:
  explicit THidPnPInfo(HidInterfaceInfo info);

  const std::string& DeviceInstance() const { return Info_.Identity; }
  const std::string& DevicePath() const { return Info_.Path; }
  const HidInterfaceInfo& Interface() const { return Info_; }

 private:
  HidInterfaceInfo Info_;
};

}  // namespace kvelt::hid
