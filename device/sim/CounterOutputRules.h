#pragma once

#include <array>
#include <cstdint>

#include "protocol/OutputsConfig.h"

namespace kvelt::hid::sim {

// How the simulated counter switches its five transistor outputs (bit k-1 of the result is
// output k), from the two configuration halves and the channels' current positions:
//   first comparison  = position of the source channel  <  threshold (choice 0) or  > (1)
//   second comparison = the same position  <  second threshold (choice 0) or  > (1)
//   rule = first alone (logic 0), first and second (1), first or second (2)
//   an output that is not enabled (flag other than 1), or whose source or logic is outside
//   its list, stays off; state 1 ("active") switches it on while the rule holds, state 0
//   ("inactive") while it does not.
std::uint8_t ComputeOutputState(const OutputsFirstHalf& first, const OutputsSecondHalf& second,
                                const std::array<float, 4>& positions);

}  // namespace kvelt::hid::sim
