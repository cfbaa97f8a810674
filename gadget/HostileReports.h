#pragma once

#include <cstdint>
#include <vector>

namespace kvelt::gadget {

// What a faulty or hostile counter sends beside its frames, one 10 ms cycle at a time: reports
// shorter and longer than the descriptor says, unknown codes, a report id the descriptor does
// not have, replies nobody asked for, and every two seconds half a second of flood. Each
// report is whole as written to the gadget (report id first). Bytes that would pass for a
// measurement if a reader took them are absurd (3.4e38, 1e30), so garbage shows.
class HostileReports {
 public:
  // Longest report made; the gadget's report length must allow it.
  static constexpr std::uint16_t kLongestReport = 96;

  // The reports to send in cycle `cycle` (counted from 0).
  std::vector<std::vector<std::uint8_t>> ForCycle(std::uint64_t cycle) const;
};

}  // namespace kvelt::gadget
