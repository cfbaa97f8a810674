#pragma once

#include <cstdint>

namespace kvelt {

struct ChannelReading;

// Index of the display option `unit`: 0 [obr/s], 1 [obr/min], 2 [mm/s], 3 [mm/min]; -1 = none.
inline constexpr int kNoUnitSelection = -1;

// The speed a frame carries (per second) expressed in the selected unit: 60 times for the two
// per-minute units, the product rounded to single precision; unchanged otherwise.
float ScaleSpeedToUnit(float speedPerSecond, int unitSelection);

// Decodes a channel frame into target, field by field, from payloadByte1 (the byte after the
// code; 30 bytes must be readable, at any alignment). The speed is scaled once, here, with the
// unit selected now; NaN and infinities are stored as received.
void StoreChannelFrame(ChannelReading& target, const std::uint8_t* payloadByte1, int unitSelection);

}  // namespace kvelt
