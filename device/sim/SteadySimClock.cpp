#include "device/sim/SteadySimClock.h"

namespace kvelt::hid::sim {

SimClock::TimePoint SteadySimClock::Now() const { return std::chrono::steady_clock::now(); }

void SteadySimClock::WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                               TimePoint deadline) {
  wake.wait_until(lock, deadline);
}

}  // namespace kvelt::hid::sim
