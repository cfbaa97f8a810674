#pragma once

// The HID backend for Linux: hidraw nodes found and watched through libudev.

#include <memory>

#include "device/HidBackend.h"

namespace kvelt {

// Never fails: where udev or netlink is unavailable the backend still
// enumerates what sysfs shows and MonitorFd() is -1.
std::unique_ptr<hid::HidBackend> CreateLinuxHidBackend();

namespace hid {
using kvelt::CreateLinuxHidBackend;
}  // namespace hid

}  // namespace kvelt
