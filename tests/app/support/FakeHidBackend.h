#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/HidBackend.h"

namespace kvelt::apptest {

// A HID backend whose interfaces a test lays out. Readers block until they are stopped (no
// input report ever arrives); writes are recorded. Announce() tells the controller that the
// interfaces changed, as a plug or unplug would.
class FakeHidBackend final : public kvelt::hid::HidBackend {
 public:
  struct Interface {
    kvelt::hid::HidInterfaceInfo Info;
    bool ReadWrite = true;  // false: only metadata-only opens succeed
  };

  explicit FakeHidBackend(std::vector<Interface> interfaces);

  // Main thread.
  void SetInterfaces(std::vector<Interface> interfaces);
  void Announce();
  std::vector<std::vector<std::uint8_t>> Written() const;

  std::vector<kvelt::hid::HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<kvelt::hid::HidHandle> Open(const kvelt::hid::HidInterfaceInfo& info,
                                              kvelt::hid::HidOpenMode mode) override;
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override { return false; }
  void SetChangeCallback(std::function<void()> callback) override { changed_ = std::move(callback); }

  // An interface with these facts, report lengths 65/65; the path is the identity.
  static Interface Make(const char* identity, const char* product, std::uint16_t vendor = 0x1209,
                        std::uint16_t productId = 0x0001, bool readWrite = true);

 private:
  struct Shared {
    mutable std::mutex Mutex;
    std::vector<std::vector<std::uint8_t>> Written;
  };
  std::vector<Interface> interfaces_;
  std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
  std::function<void()> changed_;
};

}  // namespace kvelt::apptest
