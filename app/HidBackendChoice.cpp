#include "app/HidBackendChoice.h"

#include <utility>

#include "device/linux/LinuxHidBackend.h"
#include "device/sim/SimulatedHidBackend.h"

namespace kvelt::app {

namespace {

HidBackendFactory& OverridingFactory() {
  static HidBackendFactory factory;
  return factory;
}

}  // namespace

std::unique_ptr<kvelt::hid::HidBackend> CreateHidBackend(const ProgramOptions& options) {
  if (const HidBackendFactory& factory = OverridingFactory()) {
    return factory();
  }
  if (options.Simulate) {
    return std::make_unique<kvelt::hid::sim::SimulatedHidBackend>();
  }
  return kvelt::CreateLinuxHidBackend();
}

ScopedHidBackendFactory::ScopedHidBackendFactory(HidBackendFactory factory)
    : previous_(std::exchange(OverridingFactory(), std::move(factory))) {}

ScopedHidBackendFactory::~ScopedHidBackendFactory() { OverridingFactory() = std::move(previous_); }

}  // namespace kvelt::app
