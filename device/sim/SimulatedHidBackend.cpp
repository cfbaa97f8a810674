#include "device/sim/SimulatedHidBackend.h"

#include <utility>

#include "device/sim/MetadataOnlyHandle.h"
#include "device/sim/SimulatedCounterHandle.h"

namespace kvelt::hid::sim {

SimulatedHidBackend::SimulatedHidBackend(Bus bus, SimulatedCounter::ReplyLoss replyLoss)
    : Bus_(bus), Counter_(std::make_shared<SimulatedCounter>(replyLoss)) {}

HidInterfaceInfo SimulatedHidBackend::CounterInterface() {
  HidInterfaceInfo info;
  info.Identity = kCounterIdentity;
  info.Path = "sim:kvelt-counter";
  info.VendorID = kVendorID;
  info.ProductID = kCounterProductID;
  info.VersionNumber = 0x0105;
  info.ProductString = "KVELT";
  info.SerialNumber = "SIM-0001";
  info.InputReportByteLength = SimulatedCounter::kReportLength;
  info.OutputReportByteLength = SimulatedCounter::kReportLength;
  return info;
}

HidInterfaceInfo SimulatedHidBackend::KeyboardInterface() {
  HidInterfaceInfo info;
  info.Identity = kKeyboardIdentity;
  info.Path = "sim:keyboard";
  info.VendorID = kVendorID;
  info.ProductID = kKeyboardProductID;
  info.VersionNumber = 0x0100;
  info.ProductString = "Simulated keyboard";
  info.InputReportByteLength = 8;
  info.OutputReportByteLength = 1;
  return info;
}

void SimulatedHidBackend::Plug() {
  if (Counter_->Plugged()) return;
  Counter_->SetPlugged(true);
  Announce();
}

void SimulatedHidBackend::Unplug() {
  if (!Counter_->Plugged()) return;
  Counter_->SetPlugged(false);
  Announce();
}

bool SimulatedHidBackend::CounterPlugged() const { return Counter_->Plugged(); }

void SimulatedHidBackend::Announce() {
  if (ChangeCallback_) {
    const std::function<void()> callback = ChangeCallback_;
    callback();
  }
}

std::vector<HidInterfaceInfo> SimulatedHidBackend::Enumerate() {
  std::vector<HidInterfaceInfo> present;
  if (Bus_ == Bus::WithKeyboard) present.push_back(KeyboardInterface());
  if (Counter_->Plugged()) present.push_back(CounterInterface());
  return present;
}

std::unique_ptr<HidHandle> SimulatedHidBackend::Open(const HidInterfaceInfo& info, HidOpenMode mode) {
  if (info.Path == KeyboardInterface().Path && Bus_ == Bus::WithKeyboard) {
    if (mode != HidOpenMode::MetadataOnly) return nullptr;
    return std::make_unique<MetadataOnlyHandle>();
  }
  if (info.Path == CounterInterface().Path && Counter_->Plugged()) {
    return std::make_unique<SimulatedCounterHandle>(Counter_, mode);
  }
  return nullptr;
}

HidLockResult SimulatedHidBackend::LockDevice(const HidInterfaceInfo& info) {
  if (info.Path != CounterInterface().Path) return {};
  return InProcessLock::TryLock(CounterLock_, ThisProcess());
}

void SimulatedHidBackend::SetChangeCallback(std::function<void()> callback) {
  ChangeCallback_ = std::move(callback);
}

}  // namespace kvelt::hid::sim
