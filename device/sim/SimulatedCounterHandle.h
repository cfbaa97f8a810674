#pragma once

#include <memory>

#include "device/HidBackend.h"
#include "device/sim/SimulatedCounter.h"

namespace kvelt::hid::sim {

// An open handle of the simulated counter. Reads need a read mode, writes the read/write mode.
class SimulatedCounterHandle final : public HidHandle {
 public:
  SimulatedCounterHandle(std::shared_ptr<SimulatedCounter> counter, HidOpenMode mode);

  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override;
  void RequestStop() override;
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override;

 private:
  std::shared_ptr<SimulatedCounter> Counter_;
  HidOpenMode Mode_;
  SimulatedCounter::HandleState State_;
};

}  // namespace kvelt::hid::sim
