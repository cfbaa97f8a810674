#pragma once

#include <memory>

#include "device/HidBackend.h"
#include "device/sim/SimulatedCounter.h"

namespace kvelt::hid::sim {

// An open handle of the simulated counter with its own report queue. Reads need a read mode,
// writes the read/write mode.
class SimulatedCounterHandle final : public HidHandle {
 public:
  SimulatedCounterHandle(std::shared_ptr<SimulatedCounter> counter, HidOpenMode mode);
  ~SimulatedCounterHandle() override;
  SimulatedCounterHandle(const SimulatedCounterHandle&) = delete;
  SimulatedCounterHandle& operator=(const SimulatedCounterHandle&) = delete;
  // Reports this handle lost because its queue was full.
  std::uint64_t DroppedReports() const { return counter_->DroppedReports(state_); }

  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override;
  void RequestStop() override;
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override;

 private:
  std::shared_ptr<SimulatedCounter> counter_;
  HidOpenMode mode_;
  SimulatedCounter::HandleState state_;
};

}  // namespace kvelt::hid::sim
