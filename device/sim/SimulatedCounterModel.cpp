#include "device/sim/SimulatedCounterModel.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "device/sim/CounterOutputRules.h"
#include "protocol/ByteOrder.h"
#include "protocol/DeviceCommand.h"

namespace kvelt::hid::sim {

namespace {

constexpr std::size_t kRequestBytes = 64;  // an output report after its report id

double Seconds(SimClock::Duration d) { return std::chrono::duration<double>(d).count(); }

std::vector<std::uint8_t> Bare(DeviceCommand code) { return {static_cast<std::uint8_t>(code)}; }

}  // namespace

SimulatedCounterModel::SimulatedCounterModel(TimePoint start) {
  for (ChannelSettings& channel : channels_) channel.Origin = start;
}

double SimulatedCounterModel::RevolutionsAt(int channel, TimePoint at) const {
  const ChannelSettings& settings = channels_.at(Index(channel));
  const double elapsed = std::max(0.0, Seconds(at - settings.Origin));
  return 0.5 * (channel + 1) * elapsed;
}

float SimulatedCounterModel::PositionAt(int channel, TimePoint at) const {
  return static_cast<float>(channels_.at(Index(channel)).Coefficient * RevolutionsAt(channel, at));
}

float SimulatedCounterModel::SpeedOf(int channel) const {
  return static_cast<float>(channels_.at(Index(channel)).Coefficient * 0.5 * (channel + 1));
}

std::uint8_t SimulatedCounterModel::OutputStateAt(TimePoint at) const {
  std::array<float, kChannels> positions{};
  for (int c = 0; c < kChannels; ++c) positions[Index(c)] = PositionAt(c, at);
  return ComputeOutputState(DecodeOutputsFirstHalf(outputsFirst_.data()),
                            DecodeOutputsSecondHalf(outputsSecond_.data()), positions);
}

ChannelFrame SimulatedCounterModel::Frame(int channel, TimePoint at) const {
  const ChannelSettings& settings = channels_.at(Index(channel));
  const double revolutions = RevolutionsAt(channel, at);
  const double countsPerRevolution = settings.ResolutionWire;
  ChannelFrame frame;
  frame.Code = static_cast<std::uint8_t>(static_cast<int>(DeviceCommand::cmdChannel1Frame) + channel);
  frame.RawByte = settings.ZeroMarker;
  frame.GateTimeMs = static_cast<std::uint16_t>(std::min<std::uint32_t>(gateTimeMs_, 0xFFFF));
  frame.ResolutionX4 = static_cast<std::uint16_t>(settings.ResolutionWire & 0xFFFF);
  // Raw1: edges counted since the origin; Raw2: edges within one gate time; Raw3: zero-marker
  // pulses (whole turns) while the marker is used.
  frame.Raw1 =
      static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(revolutions * countsPerRevolution)));
  frame.Raw2 = static_cast<std::uint32_t>(static_cast<std::uint64_t>(
      std::floor(0.5 * (channel + 1) * gateTimeMs_ / 1000.0 * countsPerRevolution)));
  frame.Raw3 = settings.ZeroMarker != 0
                   ? static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::floor(revolutions)))
                   : 0;
  frame.Position = PositionAt(channel, at);
  frame.Speed = SpeedOf(channel);
  frame.Coefficient = settings.Coefficient;
  frame.OutputState = OutputStateAt(at);
  return frame;
}

std::vector<std::uint8_t> SimulatedCounterModel::HandleRequest(const std::uint8_t* data, std::size_t size,
                                                               TimePoint now) {
  std::array<std::uint8_t, kRequestBytes> request{};
  if (data != nullptr) std::copy_n(data, std::min(size, kRequestBytes), request.begin());
  const std::uint8_t* p = request.data();
  const std::uint8_t channelByte = p[1];
  const bool validChannel = channelByte < kChannels;
  ChannelSettings* channel = validChannel ? &channels_[channelByte] : nullptr;
  const auto code = static_cast<DeviceCommand>(p[0]);

  switch (code) {
    case DeviceCommand::cmdSetResolution:
      if (channel) channel->ResolutionWire = LoadU32Le(p + 2);
      return Bare(code);
    case DeviceCommand::cmdSetCoefficient:
      if (channel) channel->Coefficient = LoadF32Le(p + 2);
      return Bare(code);
    case DeviceCommand::cmdClearPosition:
      if (channel) channel->Origin = now;
      return Bare(code);
    case DeviceCommand::cmdWriteOutputsFirst:
      std::copy_n(p + 1, kOutputsHalfSize, outputsFirst_.begin());
      return Bare(code);
    case DeviceCommand::cmdReadOutputsFirst: {
      std::vector<std::uint8_t> reply = Bare(code);
      reply.insert(reply.end(), outputsFirst_.begin(), outputsFirst_.end());
      return reply;
    }
    case DeviceCommand::cmdSetModbusAddress:
      modbusAddress_ = p[1];
      return Bare(code);
    case DeviceCommand::cmdSetGateTime:
      gateTimeMs_ = LoadU32Le(p + 1);
      return Bare(code);
    case DeviceCommand::cmdSetModbusBaudRate:
      modbusBaudRate_ = p[1];
      return Bare(code);
    case DeviceCommand::cmdWriteOutputsSecond:
      std::copy_n(p + 1, kOutputsHalfSize, outputsSecond_.begin());
      return Bare(code);
    case DeviceCommand::cmdReadOutputsSecond: {
      std::vector<std::uint8_t> reply = Bare(code);
      reply.insert(reply.end(), outputsSecond_.begin(), outputsSecond_.end());
      return reply;
    }
    case DeviceCommand::cmdGetResolution: {
      std::vector<std::uint8_t> reply{p[0], channelByte, 0, 0, 0, 0};
      if (channel) StoreU32Le(reply.data() + 2, channel->ResolutionWire);
      return reply;
    }
    case DeviceCommand::cmdGetCoefficient: {
      std::vector<std::uint8_t> reply{p[0], channelByte, 0, 0, 0, 0};
      if (channel) StoreF32Le(reply.data() + 2, channel->Coefficient);
      return reply;
    }
    case DeviceCommand::cmdSetZeroMarker:
      if (channel) channel->ZeroMarker = p[2];
      return Bare(code);
    case DeviceCommand::cmdGetZeroMarker:
      return {p[0], channelByte, channel ? channel->ZeroMarker : std::uint8_t{0}};
    default:
      return {};  // frames travel the other way; unknown codes get no answer
  }
}

}  // namespace kvelt::hid::sim
