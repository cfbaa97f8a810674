#include "device/sim/InProcessLock.h"

#include <unistd.h>

#include <cerrno>

namespace kvelt::hid::sim {
namespace {

class HeldLock final : public HidDeviceLock {
 public:
  HeldLock(std::shared_ptr<InProcessLock> lock, std::function<void()> release)
      : Lock_(std::move(lock)), Release_(std::move(release)) {}
  ~HeldLock() override { Release_(); }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 private:
  std::shared_ptr<InProcessLock> Lock_;  // keeps the state alive until the release
  std::function<void()> Release_;
};

}  // namespace

HidLockResult InProcessLock::TryLock(const std::shared_ptr<InProcessLock>& lock,
                                     const HidLockHolder& holder) {
  HidLockResult result;
  std::lock_guard guard(lock->Mutex_);
  if (lock->Holder_) {
    result.InUse = true;
    result.Holder = *lock->Holder_;
    return result;
  }
  lock->Holder_ = holder;
  InProcessLock* state = lock.get();
  result.Lock = std::make_unique<HeldLock>(lock, [state] {
    std::lock_guard release(state->Mutex_);
    state->Holder_.reset();
  });
  return result;
}

HidLockHolder ThisProcess() {
  return HidLockHolder{static_cast<int>(::getpid()), program_invocation_short_name};
}

}  // namespace kvelt::hid::sim
