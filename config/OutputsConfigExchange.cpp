#include "config/OutputsConfigExchange.h"

#include "protocol/ReportBuilders.h"

namespace kvelt {

std::optional<OutboundReport> OutputsConfigExchange::BeginWrite(const OutputsWrite& write) {
  if (!write.Ok()) {
    return std::nullopt;
  }
  kept_ = write.Second;
  return BuildWriteOutputsFirst(write.First);
}

OutboundReport OutputsConfigExchange::SecondHalfRequest() const { return BuildWriteOutputsSecond(kept_); }

}  // namespace kvelt
