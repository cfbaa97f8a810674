#include "protocol/Resolution.h"

namespace kvelt {

namespace {
constexpr std::uint32_t kEdgesPerPulse = 4;
}

std::uint32_t ResolutionToWire(std::uint32_t resolution) { return resolution * kEdgesPerPulse; }

std::uint32_t ResolutionFromWire(std::uint32_t wire) { return wire / kEdgesPerPulse; }

}  // namespace kvelt
