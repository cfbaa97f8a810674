#include "measure/StoreChannelFrame.h"

#include <cstddef>

#include "measure/ChannelReading.h"
#include "protocol/ByteOrder.h"
#include "protocol/ChannelFrame.h"

namespace kvelt {

namespace {

constexpr int kRevolutionsPerMinute = 1;
constexpr int kMillimetresPerMinute = 3;
constexpr double kSecondsPerMinute = 60.0;

// payloadByte1 points at frame offset 1.
const std::uint8_t* Field(const std::uint8_t* payloadByte1, std::size_t frameOffset) {
  return payloadByte1 + (frameOffset - ChannelFrameOffset::RawByte);
}

}  // namespace

float ScaleSpeedToUnit(float speedPerSecond, int unitSelection) {
  if (unitSelection == kRevolutionsPerMinute || unitSelection == kMillimetresPerMinute) {
    return static_cast<float>(static_cast<double>(speedPerSecond) * kSecondsPerMinute);
  }
  return speedPerSecond;
}

void StoreChannelFrame(ChannelReading& target, const std::uint8_t* payloadByte1, int unitSelection) {
  namespace Offset = ChannelFrameOffset;
  target.RawByte = *Field(payloadByte1, Offset::RawByte);
  target.GateTimeMs = LoadU16Le(Field(payloadByte1, Offset::GateTimeMs));
  target.ResolutionX4 = LoadU16Le(Field(payloadByte1, Offset::ResolutionX4));
  target.Raw1 = LoadU32Le(Field(payloadByte1, Offset::Raw1));
  target.Raw2 = LoadU32Le(Field(payloadByte1, Offset::Raw2));
  target.Raw3 = LoadU32Le(Field(payloadByte1, Offset::Raw3));
  target.Position = LoadF32Le(Field(payloadByte1, Offset::Position));
  target.Speed = LoadF32Le(Field(payloadByte1, Offset::Speed));
  target.Coefficient = LoadF32Le(Field(payloadByte1, Offset::Coefficient));
  target.Speed = ScaleSpeedToUnit(target.Speed, unitSelection);
  target.OutputState = static_cast<std::uint8_t>(*Field(payloadByte1, Offset::OutputState) & 0x1Fu);
}

}  // namespace kvelt
