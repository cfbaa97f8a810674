#include "protocol/ChannelFrame.h"

#include "protocol/ByteOrder.h"

namespace kvelt {

namespace Offset = ChannelFrameOffset;

std::optional<ChannelFrame> ParseChannelFrame(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < kChannelFrameSize) {
    return std::nullopt;
  }
  ChannelFrame frame;
  frame.Code = data[Offset::Code];
  frame.RawByte = data[Offset::RawByte];
  frame.GateTimeMs = LoadU16Le(data + Offset::GateTimeMs);
  frame.ResolutionX4 = LoadU16Le(data + Offset::ResolutionX4);
  frame.Raw1 = LoadU32Le(data + Offset::Raw1);
  frame.Raw2 = LoadU32Le(data + Offset::Raw2);
  frame.Raw3 = LoadU32Le(data + Offset::Raw3);
  frame.Position = LoadF32Le(data + Offset::Position);
  frame.Speed = LoadF32Le(data + Offset::Speed);
  frame.Coefficient = LoadF32Le(data + Offset::Coefficient);
  frame.OutputState = data[Offset::OutputState];
  return frame;
}

std::array<std::uint8_t, kChannelFrameSize> EncodeChannelFrame(const ChannelFrame& frame) {
  std::array<std::uint8_t, kChannelFrameSize> bytes{};
  std::uint8_t* data = bytes.data();
  data[Offset::Code] = frame.Code;
  data[Offset::RawByte] = frame.RawByte;
  StoreU16Le(data + Offset::GateTimeMs, frame.GateTimeMs);
  StoreU16Le(data + Offset::ResolutionX4, frame.ResolutionX4);
  StoreU32Le(data + Offset::Raw1, frame.Raw1);
  StoreU32Le(data + Offset::Raw2, frame.Raw2);
  StoreU32Le(data + Offset::Raw3, frame.Raw3);
  StoreF32Le(data + Offset::Position, frame.Position);
  StoreF32Le(data + Offset::Speed, frame.Speed);
  StoreF32Le(data + Offset::Coefficient, frame.Coefficient);
  data[Offset::OutputState] = frame.OutputState;
  return bytes;
}

}  // namespace kvelt
