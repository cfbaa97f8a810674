#pragma once

#include <functional>
#include <memory>

#include "device/HidBackend.h"

namespace kvelt::hid {

// Makes the HID backend a program's device controller works on: the simulated counter when
// `simulate` is set, else the Linux hidraw backend. The window and the command line both ask here.
std::unique_ptr<HidBackend> CreateHidBackend(bool simulate);

// For tests and benchmarks: while set, CreateHidBackend returns what the factory makes instead.
using HidBackendFactory = std::function<std::unique_ptr<HidBackend>()>;

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

}  // namespace kvelt::hid
