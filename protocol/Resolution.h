#pragma once

#include <cstdint>

namespace kvelt {

// The counter counts the four edges of each encoder pulse: the wire carries four times the
// resolution the user sees.
std::uint32_t ResolutionToWire(std::uint32_t resolution);

// Unsigned, truncating: a wire value that is not a multiple of four loses the remainder.
std::uint32_t ResolutionFromWire(std::uint32_t wire);

}  // namespace kvelt
