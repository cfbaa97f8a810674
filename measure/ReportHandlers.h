#pragma once

#include <cstdint>

#include "protocol/OutputsConfig.h"
#include "protocol/ReplyParsers.h"

namespace kvelt {

// What the report dispatcher calls out to, implemented by the main window. Every call happens on
// the main thread, inside the handling of one inbound report.
class ReportHandlers {
 public:
  virtual ~ReportHandlers() = default;

  // Channel frames (100..103). Channels are 0..3.
  virtual int UnitSelection() const = 0;  // read at every frame; -1 = no selection
  virtual void RefreshReadouts(int channel) = 0;
  virtual bool ChartRunning() const = 0;
  virtual void AddChannelChartPoints(int channel) = 0;  // speed point, then position point
  virtual void ChartTimeStep() = 0;                     // channel 4 only
  virtual bool RecordingTick() = 0;  // channel 4 only; false ends the handling of the report
  virtual void AddOutputChartPoints(std::uint8_t outputState) = 0;  // channel 4 only

  // Replies and acknowledgements (104..117).
  virtual void OnResolutionSet() = 0;                              // 104
  virtual void OnCoefficientSet() = 0;                             // 105
  virtual void OnPositionCleared() = 0;                            // 106
  virtual void OnOutputsFirstWritten() = 0;                        // 107
  virtual void OnOutputsFirstRead(const OutputsFirstHalf&) = 0;    // 108
  virtual void OnModbusAddressSet() = 0;                           // 109
  virtual void OnGateTimeSet() = 0;                                // 110
  virtual void OnModbusBaudRateSet() = 0;                          // 111
  virtual void OnOutputsSecondWritten() = 0;                       // 112
  virtual void OnOutputsSecondRead(const OutputsSecondHalf&) = 0;  // 113
  virtual void OnResolutionRead(const ResolutionReply&) = 0;       // 114, channel byte unchecked
  virtual void OnCoefficientRead(const CoefficientReply&) = 0;     // 115, channel byte unchecked
  virtual void OnZeroMarkerSet() = 0;                              // 116
  virtual void OnZeroMarkerRead(const ZeroMarkerReply&) = 0;       // 117, channel byte unchecked
};

}  // namespace kvelt
