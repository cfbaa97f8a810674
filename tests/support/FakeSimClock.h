#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "device/sim/SimClock.h"

namespace kvelt::hid::test {

// A clock for the simulated counter that stands still until the test moves it on; a wait for
// a moment it has not reached lasts until it is moved there, however long that takes.
class FakeSimClock final : public sim::SimClock {
 public:
  TimePoint Now() const override;
  void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                 TimePoint deadline) override;
  void Attach(std::condition_variable& wake, std::mutex& mutex) override;
  void Detach(std::condition_variable& wake) override;

  // Moves the time on and wakes every attached waiter to look at it.
  void Advance(Duration by);

 private:
  // Read under the waiters' own mutexes, so never behind mutex_ (Advance holds that while it
  // takes theirs).
  std::atomic<Duration::rep> now_{0};
  std::mutex mutex_;
  std::vector<std::pair<std::condition_variable*, std::mutex*>> attached_;
};

}  // namespace kvelt::hid::test
