#pragma once

#include <functional>
#include <memory>

#include "app/ProgramOptions.h"
#include "device/HidBackend.h"

namespace kvelt::app {

// Makes the HID backend the window's device controller works on: the simulated counter with
// --simulate, else the Linux hidraw backend.
std::unique_ptr<kvelt::hid::HidBackend> CreateHidBackend(const ProgramOptions& options);

// For tests and benchmarks: while set, CreateHidBackend returns what the factory makes instead.
using HidBackendFactory = std::function<std::unique_ptr<kvelt::hid::HidBackend>()>;

// Installs a factory for as long as it lives; the previous one comes back afterwards.
class ScopedHidBackendFactory {
 public:
  explicit ScopedHidBackendFactory(HidBackendFactory factory);
  ~ScopedHidBackendFactory();
  ScopedHidBackendFactory(const ScopedHidBackendFactory&) = delete;
  ScopedHidBackendFactory& operator=(const ScopedHidBackendFactory&) = delete;

 private:
  HidBackendFactory previous_;
};

}  // namespace kvelt::app
