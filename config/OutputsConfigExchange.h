#pragma once

#include <optional>

#include "config/OutputsWrite.h"
#include "protocol/OutboundReport.h"
#include "protocol/OutputsConfig.h"

namespace kvelt {

// The program's side of the two-step outputs write: it keeps the second half of the last write
// that passed validation (all zero until then) and sends it when the counter acknowledges the
// first half. Replies are matched by code alone, so a 107 that comes unasked, or after a refused
// write, sends whatever is kept.
class OutputsConfigExchange {
 public:
  // A write that passed validation: keeps its second half and returns the 107 request with its
  // first half. A refused write returns nullopt and leaves the kept half as it was.
  std::optional<OutboundReport> BeginWrite(const OutputsWrite& write);

  // The reply to 107: the 112 request with the kept second half.
  OutboundReport SecondHalfRequest() const;

  const OutputsSecondHalf& KeptSecondHalf() const { return kept_; }

 private:
  OutputsSecondHalf kept_{};
};

}  // namespace kvelt
