#pragma once

// Gathers what the device layer needs to know of one hidraw node from udev
// and sysfs, without opening the node (so it works without permission on it).

#include <optional>

#include "device/HidBackend.h"

struct udev_device;

namespace kvelt::hid {

// nullopt when the node has no device file or no parent "hid" device.
std::optional<HidInterfaceInfo> ReadHidrawInterfaceInfo(udev_device* hidraw);

}  // namespace kvelt::hid
