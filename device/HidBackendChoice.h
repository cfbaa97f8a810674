#pragma once

#include <functional>
#include <memory>

#include "device/HidBackend.h"

namespace kvelt::hid {

// Makes the HID backend a program's device controller works on: the simulated counter alone when
// `simulate` is set; else the Linux hidraw backend, with the simulated counter listed before its
// devices when `besideDevices` is set (a real counter is then chosen over it). The window and the
// command line both ask here.
std::unique_ptr<HidBackend> CreateHidBackend(bool simulate, bool besideDevices = false);

// For tests and benchmarks: while set, CreateHidBackend returns what the factory makes instead
// (with `besideDevices` and without `simulate`: in place of the system's devices only).
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
