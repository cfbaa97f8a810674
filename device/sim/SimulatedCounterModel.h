#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/sim/SimClock.h"
#include "protocol/ChannelFrame.h"
#include "protocol/OutputsConfig.h"

namespace kvelt::hid::sim {

// What the simulated KVELT counter is and does, without any threading: its settings, the
// channel frames it sends, and its answer to every request. Time is passed in (a moment of
// the counter's SimClock).
//
// Channel c (1..4) turns at c x 0.5 revolutions per second from its origin (start, or the
// last clear): Position = coefficient x revolutions, Speed = coefficient x c x 0.5 per second.
class SimulatedCounterModel {
 public:
  using TimePoint = SimClock::TimePoint;
  static constexpr int kChannels = 4;
  static constexpr std::uint32_t kDefaultResolutionWire = 4000;  // resolution 1000
  static constexpr std::uint32_t kDefaultGateTimeMs = 1000;

  explicit SimulatedCounterModel(TimePoint start);

  // A request, from the code byte on (missing bytes count as zero). Returns the reply from
  // its code byte on, or an empty vector for codes the counter does not answer.
  std::vector<std::uint8_t> HandleRequest(const std::uint8_t* data, std::size_t size, TimePoint now);

  // The frame of channel index 0..3 as measured at the given moment (code 100 + index).
  ChannelFrame Frame(int channel, TimePoint at) const;
  float PositionAt(int channel, TimePoint at) const;
  float SpeedOf(int channel) const;
  std::uint8_t OutputStateAt(TimePoint at) const;

  // The settings as last sent.
  std::uint32_t ResolutionWire(int channel) const { return channels_.at(Index(channel)).ResolutionWire; }
  float Coefficient(int channel) const { return channels_.at(Index(channel)).Coefficient; }
  std::uint8_t ZeroMarker(int channel) const { return channels_.at(Index(channel)).ZeroMarker; }
  std::uint32_t GateTimeMs() const { return gateTimeMs_; }
  std::uint8_t ModbusAddress() const { return modbusAddress_; }
  std::uint8_t ModbusBaudRate() const { return modbusBaudRate_; }
  const std::array<std::uint8_t, kOutputsHalfSize>& OutputsFirst() const { return outputsFirst_; }
  const std::array<std::uint8_t, kOutputsHalfSize>& OutputsSecond() const { return outputsSecond_; }

 private:
  struct ChannelSettings {
    std::uint32_t ResolutionWire = kDefaultResolutionWire;
    float Coefficient = 1.0f;
    std::uint8_t ZeroMarker = 0;
    TimePoint Origin;
  };
  static std::size_t Index(int channel) { return static_cast<std::size_t>(channel); }
  double RevolutionsAt(int channel, TimePoint at) const;

  std::array<ChannelSettings, kChannels> channels_;
  std::uint32_t gateTimeMs_ = kDefaultGateTimeMs;
  std::uint8_t modbusAddress_ = 1;
  std::uint8_t modbusBaudRate_ = 0;
  std::array<std::uint8_t, kOutputsHalfSize> outputsFirst_{};
  std::array<std::uint8_t, kOutputsHalfSize> outputsSecond_{};
};

}  // namespace kvelt::hid::sim
