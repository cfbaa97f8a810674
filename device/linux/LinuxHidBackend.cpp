#include "device/linux/LinuxHidBackend.h"

#include <libudev.h>

#include <cerrno>

#include "device/linux/HidrawHandle.h"
#include "device/linux/HidrawInterfaceInfo.h"
#include "device/linux/UdevPointers.h"

namespace kvelt::hid {
namespace {

class LinuxHidBackend final : public HidBackend {
 public:
  LinuxHidBackend() : udev_(udev_new()) {
    if (udev_) monitor_ = OpenMonitor(udev_.get());
  }

  std::vector<HidInterfaceInfo> Enumerate() override {
    std::vector<HidInterfaceInfo> interfaces;
    if (!udev_) return interfaces;
    UdevEnumeratePtr enumerate(udev_enumerate_new(udev_.get()));
    if (!enumerate) return interfaces;
    if (udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw") < 0) return interfaces;
    if (udev_enumerate_scan_devices(enumerate.get()) < 0) return interfaces;
    const bool udevActive = UdevIsActive();
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
      UdevDevicePtr device(udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry)));
      if (!device) continue;  // gone since the scan
      // While udev still works on a node its permissions are not final. Without a running udev
      // nothing is ever initialised, and the nodes are taken as the kernel made them.
      if (udevActive && udev_device_get_is_initialized(device.get()) <= 0) continue;
      if (auto info = ReadHidrawInterfaceInfo(device.get())) interfaces.push_back(std::move(*info));
    }
    return interfaces;
  }

  std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) override {
    return HidrawHandle::Open(info.Path, mode, info.NumberedReports, &lastOpenError_);
  }

  int LastOpenError() const override { return lastOpenError_; }

  int MonitorFd() const override { return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1; }

  bool DrainMonitor() override {
    if (!monitor_) return false;
    bool changed = false;
    for (;;) {
      errno = 0;
      UdevDevicePtr device(udev_monitor_receive_device(monitor_.get()));
      if (device) {
        changed = true;
        continue;
      }
      // The socket overflowed: events were lost, so the set may have changed; read on.
      if (errno == ENOBUFS) {
        changed = true;
        continue;
      }
      return changed;
    }
  }

  // Change notices come through MonitorFd(); this backend never calls back.
  void SetChangeCallback(std::function<void()> callback) override { changeCallback_ = std::move(callback); }

 private:
  static UdevMonitorPtr OpenMonitor(udev* context) {
    // The "udev" source sends its events after the rules have run, so a node that
    // just appeared already has its final permissions.
    UdevMonitorPtr monitor(udev_monitor_new_from_netlink(context, "udev"));
    if (!monitor) return nullptr;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0) return nullptr;
    if (udev_monitor_enable_receiving(monitor.get()) < 0) return nullptr;
    if (udev_monitor_get_fd(monitor.get()) < 0) return nullptr;
    return monitor;
  }

  bool UdevIsActive() const {
    UdevQueuePtr queue(udev_queue_new(udev_.get()));
    return queue && udev_queue_get_udev_is_active(queue.get()) > 0;
  }

  UdevPtr udev_;
  UdevMonitorPtr monitor_;
  std::function<void()> changeCallback_;
  int lastOpenError_ = 0;
};

}  // namespace

}  // namespace kvelt::hid

std::unique_ptr<kvelt::hid::HidBackend> kvelt::CreateLinuxHidBackend() {
  return std::make_unique<kvelt::hid::LinuxHidBackend>();
}
