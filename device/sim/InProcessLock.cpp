#include "device/sim/InProcessLock.h"

#include <unistd.h>

#include <cerrno>

namespace kvelt::hid::sim {
namespace {

class HeldLock final : public HidDeviceLock {
 public:
  HeldLock(std::shared_ptr<InProcessLock> lock, std::function<void()> release)
      : lock_(std::move(lock)), release_(std::move(release)) {}
  ~HeldLock() override { release_(); }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 private:
  std::shared_ptr<InProcessLock> lock_;  // keeps the state alive until the release
  std::function<void()> release_;
};

}  // namespace

HidLockResult InProcessLock::TryLock(const std::shared_ptr<InProcessLock>& lock,
                                     const HidLockHolder& holder) {
  HidLockResult result;
  std::lock_guard guard(lock->mutex_);
  if (lock->holder_) {
    result.InUse = true;
    result.Holder = *lock->holder_;
    return result;
  }
  lock->holder_ = holder;
  InProcessLock* state = lock.get();
  result.Lock = std::make_unique<HeldLock>(lock, [state] {
    std::lock_guard release(state->mutex_);
    state->holder_.reset();
  });
  return result;
}

HidLockHolder ThisProcess() {
  return HidLockHolder{static_cast<int>(::getpid()), program_invocation_short_name};
}

}  // namespace kvelt::hid::sim
