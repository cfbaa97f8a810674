#include "device/linux/LinuxHidBackend.h"

#include <libudev.h>
#include <unistd.h>

#include <cerrno>

#include "device/linux/HidrawHandle.h"
#include "device/linux/HidrawInterfaceInfo.h"
#include "device/linux/NodeLock.h"
#include "device/linux/UdevPointers.h"
#include "device/linux/UeventWatch.h"

namespace kvelt::hid {
namespace {

class LinuxHidBackend final : public HidBackend {
 public:
  explicit LinuxHidBackend(const LinuxHidBackendOptions& options) : udev_(udev_new()) {
    udevRunning_ = options.UdevRunning.value_or(UdevIsActive());
    watch_ = UeventWatch::Create(udev_.get(),
                                 udevRunning_ ? UeventWatch::Source::Udev : UeventWatch::Source::Kernel);
  }

  std::vector<HidInterfaceInfo> Enumerate() override {
    std::vector<HidInterfaceInfo> interfaces;
    if (!udev_) return interfaces;
    UdevEnumeratePtr enumerate(udev_enumerate_new(udev_.get()));
    if (!enumerate) return interfaces;
    if (udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0) return interfaces;
    if (udev_enumerate_scan_devices(enumerate.get()) < 0) return interfaces;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
      UdevDevicePtr device(udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry)));
      if (!device) continue;  // gone since the scan
      // While udev still works on a node its permissions are not final. Without a running udev
      // nothing is ever initialised, and the nodes are taken as the kernel made them.
      if (udevRunning_ && udev_device_get_is_initialized(device.get()) <= 0) continue;
      auto info = ReadHidrawInterfaceInfo(device.get());
      if (!info) continue;
      // Without udev the node may appear in /dev only after the kernel announced it; it is
      // listed once it is there (the watch on /dev tells when).
      if (!udevRunning_ && ::access(info->Path.c_str(), F_OK) != 0) continue;
      interfaces.push_back(std::move(*info));
    }
    return interfaces;
  }

  std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) override {
    return HidrawHandle::Open(info.Path, mode, info.NumberedReports, &lastOpenError_);
  }

  int LastOpenError() const override { return lastOpenError_; }

  // The node's permissions, not an open: usbhid's first open of a device sleeps 50 ms and
  // starts its interrupt transfers, and every hidraw open waits while a write to any hidraw
  // node is in flight (up to 5 s). Listing must not wait on devices.
  bool MayReadWrite(const HidInterfaceInfo& info, int& error) override {
    error = 0;
    if (::access(info.Path.c_str(), R_OK | W_OK) == 0) return true;
    error = errno;
    return false;
  }

  int MonitorFd() const override { return watch_ ? watch_->Fd() : -1; }

  bool DrainMonitor() override { return watch_ && watch_->Drain(); }

  // Change notices come through MonitorFd(); this backend never calls back.
  void SetChangeCallback(std::function<void()> callback) override { changeCallback_ = std::move(callback); }

  HidLockResult LockDevice(const HidInterfaceInfo& info) override { return LockNode(info.Path); }

 private:
  bool UdevIsActive() const {
    UdevQueuePtr queue(udev_queue_new(udev_.get()));
    return queue && udev_queue_get_udev_is_active(queue.get()) > 0;
  }

  UdevPtr udev_;
  bool udevRunning_ = false;
  std::unique_ptr<UeventWatch> watch_;
  std::function<void()> changeCallback_;
  int lastOpenError_ = 0;
};

}  // namespace

}  // namespace kvelt::hid

std::unique_ptr<kvelt::hid::HidBackend> kvelt::CreateLinuxHidBackend(LinuxHidBackendOptions options) {
  return std::make_unique<kvelt::hid::LinuxHidBackend>(options);
}
