#include "device/HidBackendChoice.h"

#include <utility>

#include "device/linux/LinuxHidBackend.h"
#include "device/sim/SimulatedBesideDevices.h"
#include "device/sim/SimulatedHidBackend.h"

namespace kvelt::hid {
namespace {

HidBackendFactory& OverridingFactory() {
  static HidBackendFactory factory;
  return factory;
}

}  // namespace

std::unique_ptr<HidBackend> CreateHidBackend(bool simulate, bool besideDevices) {
  const HidBackendFactory& factory = OverridingFactory();
  if (besideDevices && !simulate) {
    return std::make_unique<sim::SimulatedBesideDevices>(
        factory ? factory() : CreateLinuxHidBackend(),
        std::make_unique<sim::SimulatedHidBackend>(sim::SimulatedHidBackend::Bus::CounterOnly));
  }
  if (factory) {
    return factory();
  }
  if (simulate) {
    return std::make_unique<sim::SimulatedHidBackend>();
  }
  return CreateLinuxHidBackend();
}

ScopedHidBackendFactory::ScopedHidBackendFactory(HidBackendFactory factory)
    : previous_(std::exchange(OverridingFactory(), std::move(factory))) {}

ScopedHidBackendFactory::~ScopedHidBackendFactory() { OverridingFactory() = std::move(previous_); }

}  // namespace kvelt::hid
