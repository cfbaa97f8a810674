#pragma once

#include <cstddef>
#include <cstdint>

#include "measure/ChannelReading.h"
#include "measure/ReportHandlers.h"

namespace kvelt {

// Routes every inbound report by its code: channel frames update the readings and drive
// read-outs, chart and recording; replies go to their handler. A code outside 100..117, or a
// report shorter than its layout, changes nothing and calls nothing.
class ReportDispatcher {
 public:
  // With a chart.
  ReportDispatcher(ChannelReadingArray& readings, ReportHandlers& handlers);
  // Without a chart: the frame steps and the replies only.
  ReportDispatcher(ChannelReadingArray& readings, FrameSteps& frames, ReplyHandlers& replies);

  // data = the report's bytes after the report id (code first), size = their count. The bytes
  // need only live for the call.
  void Dispatch(const std::uint8_t* data, std::size_t size);

 private:
  void HandleChannelFrame(int channel, const std::uint8_t* data, std::size_t size);
  bool ChartRunning() const { return chart_ != nullptr && chart_->ChartRunning(); }
  void HandleReply(std::uint8_t code, const std::uint8_t* data, std::size_t size);

  ChannelReadingArray& readings_;
  FrameSteps& frames_;
  ChartSteps* chart_;  // none without a chart
  ReplyHandlers& replies_;
};

}  // namespace kvelt
