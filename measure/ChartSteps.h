#pragma once

#include <cstdint>

namespace kvelt {

// The chart's share of a channel frame, for a program that draws one. Channels are 0..3.
class ChartSteps {
 public:
  virtual ~ChartSteps() = default;

  virtual bool ChartRunning() const = 0;
  virtual void AddChannelChartPoints(int channel) = 0;              // speed point, then position point
  virtual void ChartTimeStep() = 0;                                 // channel 4 only
  virtual void AddOutputChartPoints(std::uint8_t outputState) = 0;  // channel 4 only

 protected:
  ChartSteps() = default;
  ChartSteps(const ChartSteps&) = default;
  ChartSteps& operator=(const ChartSteps&) = default;
};

}  // namespace kvelt
