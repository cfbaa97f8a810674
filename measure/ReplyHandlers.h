#pragma once

#include "protocol/OutputsConfig.h"
#include "protocol/ReplyParsers.h"

namespace kvelt {

// What the counter's replies and acknowledgements (104..117) call out to, on the main thread
// inside the handling of one inbound report.
class ReplyHandlers {
 public:
  virtual ~ReplyHandlers() = default;

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

 protected:
  ReplyHandlers() = default;
  ReplyHandlers(const ReplyHandlers&) = default;
  ReplyHandlers& operator=(const ReplyHandlers&) = default;
};

}  // namespace kvelt
