#pragma once

#include <cstdint>
#include <vector>

#include "protocol/OutboundReport.h"

namespace kvelt::test {

// A request as the code byte followed by its payload, for comparing whole reports at once.
inline std::vector<std::uint8_t> ReportBytes(const OutboundReport& report) {
  std::vector<std::uint8_t> bytes{report.Code};
  bytes.insert(bytes.end(), report.Payload.begin(), report.Payload.end());
  return bytes;
}

}  // namespace kvelt::test
