#pragma once

// The HID backend for Linux: hidraw nodes found and watched through libudev.

#include <memory>
#include <optional>

#include "device/HidBackend.h"

namespace kvelt {

struct LinuxHidBackendOptions {
  // Whether udev runs; unset: asked of the system when the backend is made. With udev, nodes
  // it has not finished with yet are left out and its events are watched; without it, every
  // node is taken as the kernel made it and the kernel's events are watched.
  std::optional<bool> UdevRunning;
};

// Never fails: where udev or netlink is unavailable the backend still
// enumerates what sysfs shows and MonitorFd() is -1.
std::unique_ptr<hid::HidBackend> CreateLinuxHidBackend(LinuxHidBackendOptions options = {});

namespace hid {
using kvelt::CreateLinuxHidBackend;
using kvelt::LinuxHidBackendOptions;
}  // namespace hid

}  // namespace kvelt
