#include "protocol/OutputReportFrame.h"

#include <algorithm>

namespace kvelt {

std::vector<std::uint8_t> FrameOutputReport(std::uint8_t code, const std::uint8_t* payload, std::size_t count,
                                            std::size_t reportLength) {
  std::vector<std::uint8_t> report(reportLength, 0);
  if (reportLength == 0) {
    return report;
  }
  report[0] = kOutboundReportId;
  if (reportLength > 1) {
    report[1] = code;
  }
  if (payload != nullptr && reportLength > 2) {
    const std::size_t copied = std::min(count, reportLength - 2);
    std::copy(payload, payload + copied, report.begin() + 2);
  }
  return report;
}

}  // namespace kvelt
