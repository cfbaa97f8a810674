#pragma once

#include "device/sim/SimClock.h"

namespace kvelt::hid::sim {

// The machine's steady clock: the program's simulated counter runs on it.
class SteadySimClock final : public SimClock {
 public:
  TimePoint Now() const override;
  void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock,
                 TimePoint deadline) override;
};

}  // namespace kvelt::hid::sim
