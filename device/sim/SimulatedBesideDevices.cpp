#include "device/sim/SimulatedBesideDevices.h"

#include <utility>

namespace kvelt::hid::sim {

SimulatedBesideDevices::SimulatedBesideDevices(std::unique_ptr<HidBackend> devices,
                                               std::unique_ptr<SimulatedHidBackend> simulated)
    : devices_(std::move(devices)), simulated_(std::move(simulated)) {}

HidBackend& SimulatedBesideDevices::OwnerOf(const HidInterfaceInfo& info) {
  return info.Simulated ? static_cast<HidBackend&>(*simulated_) : *devices_;
}

std::vector<HidInterfaceInfo> SimulatedBesideDevices::Enumerate() {
  std::vector<HidInterfaceInfo> present = simulated_->Enumerate();
  for (HidInterfaceInfo& info : devices_->Enumerate()) {
    info.Simulated = false;  // only the simulated backend's interfaces are routed to it
    present.push_back(std::move(info));
  }
  return present;
}

std::unique_ptr<HidHandle> SimulatedBesideDevices::Open(const HidInterfaceInfo& info, HidOpenMode mode) {
  lastOpened_ = &OwnerOf(info);
  return lastOpened_->Open(info, mode);
}

int SimulatedBesideDevices::LastOpenError() const {
  return lastOpened_ != nullptr ? lastOpened_->LastOpenError() : 0;
}

bool SimulatedBesideDevices::MayReadWrite(const HidInterfaceInfo& info, int& error) {
  lastOpened_ = &OwnerOf(info);
  return lastOpened_->MayReadWrite(info, error);
}

void SimulatedBesideDevices::SetChangeCallback(std::function<void()> callback) {
  simulated_->SetChangeCallback(callback);
  devices_->SetChangeCallback(std::move(callback));
}

HidLockResult SimulatedBesideDevices::LockDevice(const HidInterfaceInfo& info) {
  return OwnerOf(info).LockDevice(info);
}

}  // namespace kvelt::hid::sim
