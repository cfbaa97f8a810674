#include "device/sim/SimulatedHidBackend.h"

#include <utility>

#include "device/sim/MetadataOnlyHandle.h"
#include "device/sim/SimulatedCounterHandle.h"
#include "device/sim/SteadySimClock.h"

namespace kvelt::hid::sim {

SimulatedHidBackend::SimulatedHidBackend(Bus bus, SimulatedCounter::ReplyLoss replyLoss)
    : SimulatedHidBackend(bus, replyLoss, std::make_shared<SteadySimClock>()) {}

SimulatedHidBackend::SimulatedHidBackend(Bus bus, SimulatedCounter::ReplyLoss replyLoss,
                                         std::shared_ptr<SimClock> clock)
    : bus_(bus), counter_(std::make_shared<SimulatedCounter>(std::move(clock), replyLoss)) {}

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
  info.Simulated = true;
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
  info.Simulated = true;
  return info;
}

void SimulatedHidBackend::Plug() {
  if (counter_->Plugged()) return;
  counter_->SetPlugged(true);
  Announce();
}

void SimulatedHidBackend::Unplug() {
  if (!counter_->Plugged()) return;
  counter_->SetPlugged(false);
  Announce();
}

bool SimulatedHidBackend::CounterPlugged() const { return counter_->Plugged(); }

void SimulatedHidBackend::Announce() {
  if (changeCallback_) {
    const std::function<void()> callback = changeCallback_;
    callback();
  }
}

std::vector<HidInterfaceInfo> SimulatedHidBackend::Enumerate() {
  std::vector<HidInterfaceInfo> present;
  if (bus_ == Bus::WithKeyboard) present.push_back(KeyboardInterface());
  if (counter_->Plugged()) present.push_back(CounterInterface());
  return present;
}

std::unique_ptr<HidHandle> SimulatedHidBackend::Open(const HidInterfaceInfo& info, HidOpenMode mode) {
  if (info.Path == KeyboardInterface().Path && bus_ == Bus::WithKeyboard) {
    if (mode != HidOpenMode::MetadataOnly) return nullptr;
    return std::make_unique<MetadataOnlyHandle>();
  }
  if (info.Path == CounterInterface().Path && counter_->Plugged()) {
    return std::make_unique<SimulatedCounterHandle>(counter_, mode);
  }
  return nullptr;
}

HidLockResult SimulatedHidBackend::LockDevice(const HidInterfaceInfo& info) {
  if (info.Path != CounterInterface().Path) return {};
  return InProcessLock::TryLock(counterLock_, ThisProcess());
}

void SimulatedHidBackend::SetChangeCallback(std::function<void()> callback) {
  changeCallback_ = std::move(callback);
}

}  // namespace kvelt::hid::sim
