#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/OutboundReport.h"

namespace kvelt {

// The report id every request to the counter carries.
inline constexpr std::uint8_t kOutboundReportId = 1;

// The whole output report for a request, `reportLength` bytes (the device's output report length,
// id byte included): the id, the code, as much of the payload as fits, zeros after it. Empty when
// the length is 0 (nothing can be sent).
std::vector<std::uint8_t> FrameOutputReport(std::uint8_t code, const std::uint8_t* payload, std::size_t count,
                                            std::size_t reportLength);

inline std::vector<std::uint8_t> FrameOutputReport(const OutboundReport& request, std::size_t reportLength) {
  return FrameOutputReport(request.Code, request.Payload.data(), request.Payload.size(), reportLength);
}

}  // namespace kvelt
