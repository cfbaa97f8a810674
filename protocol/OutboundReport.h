#pragma once

#include <cstdint>
#include <vector>

namespace kvelt {

// A request to the counter as SendReport takes it: the code, and the payload bytes that follow
// the code (payload byte 1 on). Payload.size() is the byte count; the transport zero-fills the rest
// of the output report.
struct OutboundReport {
  std::uint8_t Code = 0;
  std::vector<std::uint8_t> Payload;
};

}  // namespace kvelt
