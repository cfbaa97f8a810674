#include "device/HidBackendChoice.h"

#include <utility>

#include "device/linux/LinuxHidBackend.h"
#include "device/sim/SimulatedHidBackend.h"

namespace kvelt::hid {
namespace {

HidBackendFactory& OverridingFactory() {
  static HidBackendFactory factory;
  return factory;
}

}  // namespace

std::unique_ptr<HidBackend> CreateHidBackend(bool simulate) {
  if (const HidBackendFactory& factory = OverridingFactory()) {
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
