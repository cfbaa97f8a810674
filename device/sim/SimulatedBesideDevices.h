#pragma once

#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/sim/SimulatedHidBackend.h"

namespace kvelt::hid::sim {

// The simulated counter as one more device beside the system's: it is listed first, the
// system's devices after it, so that a real counter, listed later, is the one chosen. Opening,
// locking and access checks go to the backend the interface belongs to; change notices come
// from both.
class SimulatedBesideDevices final : public HidBackend {
 public:
  SimulatedBesideDevices(std::unique_ptr<HidBackend> devices, std::unique_ptr<SimulatedHidBackend> simulated);

  SimulatedHidBackend& Simulated() { return *simulated_; }
  HidBackend& Devices() { return *devices_; }

  std::vector<HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) override;
  int LastOpenError() const override;
  bool MayReadWrite(const HidInterfaceInfo& info, int& error) override;
  int MonitorFd() const override { return devices_->MonitorFd(); }
  bool DrainMonitor() override { return devices_->DrainMonitor(); }
  void SetChangeCallback(std::function<void()> callback) override;
  HidLockResult LockDevice(const HidInterfaceInfo& info) override;

 private:
  HidBackend& OwnerOf(const HidInterfaceInfo& info);

  std::unique_ptr<HidBackend> devices_;
  std::unique_ptr<SimulatedHidBackend> simulated_;
  HidBackend* lastOpened_ = nullptr;  // the backend of the last Open(), for LastOpenError()
};

}  // namespace kvelt::hid::sim
