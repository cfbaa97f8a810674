#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kvelt::hid::sim {

// The time the simulated counter lives in. The program runs it on the machine's steady clock
// (SteadySimClock); tests run it on a clock that stands still until they move it, so that what
// the counter sends does not depend on the machine's speed.
class SimClock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Duration = std::chrono::steady_clock::duration;

  virtual ~SimClock() = default;

  virtual TimePoint Now() const = 0;
  // Blocks on `wake`, whose mutex the caller holds through `lock`, until `wake` is notified or
  // this clock reaches `deadline`. May return early, as any wait on a condition variable may.
  virtual void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                         TimePoint deadline) = 0;
  // Waits on `wake` are made under `mutex`. A clock that jumps ahead notifies every attached
  // `wake` (its mutex taken first) after each jump; one that just passes needs neither call.
  virtual void Attach(std::condition_variable& /*wake*/, std::mutex& /*mutex*/) {}
  virtual void Detach(std::condition_variable& /*wake*/) {}
};

}  // namespace kvelt::hid::sim
