#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "device/HidBackend.h"

namespace kvelt::hid::sim {

// The lock of a simulated device: held by one owner at a time within this process, and naming
// that owner to whoever asks while it is held. Thread-safe.
class InProcessLock {
 public:
  // Takes the lock for `holder`, or tells who has it.
  static HidLockResult TryLock(const std::shared_ptr<InProcessLock>& lock, const HidLockHolder& holder);

 private:
  std::mutex mutex_;
  std::optional<HidLockHolder> holder_;
};

// This process as a lock holder: its PID and program name.
HidLockHolder ThisProcess();

}  // namespace kvelt::hid::sim
