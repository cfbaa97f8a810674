#include "protocol/ReportBuilders.h"

#include <utility>
#include <vector>

#include "protocol/ByteOrder.h"
#include "protocol/DeviceCommand.h"
#include "protocol/Resolution.h"

namespace kvelt {

namespace {

OutboundReport Report(DeviceCommand command, std::vector<std::uint8_t> payload = {}) {
  return OutboundReport{CodeOf(command), std::move(payload)};
}

OutboundReport ChannelAndU32(DeviceCommand command, std::uint8_t channel, std::uint32_t value) {
  std::vector<std::uint8_t> payload(5);
  payload[0] = channel;
  StoreU32Le(payload.data() + 1, value);
  return Report(command, std::move(payload));
}

}  // namespace

OutboundReport BuildSetResolution(std::uint8_t channel, std::uint32_t resolution) {
  return ChannelAndU32(DeviceCommand::cmdSetResolution, channel, ResolutionToWire(resolution));
}

OutboundReport BuildSetCoefficient(std::uint8_t channel, float coefficient) {
  std::vector<std::uint8_t> payload(5);
  payload[0] = channel;
  StoreF32Le(payload.data() + 1, coefficient);
  return Report(DeviceCommand::cmdSetCoefficient, std::move(payload));
}

OutboundReport BuildClearPosition(std::uint8_t channel) {
  return Report(DeviceCommand::cmdClearPosition, {channel});
}

OutboundReport BuildWriteOutputsFirst(const OutputsFirstHalf& half) {
  const auto bytes = EncodeOutputsFirstHalf(half);
  return Report(DeviceCommand::cmdWriteOutputsFirst, {bytes.begin(), bytes.end()});
}

OutboundReport BuildReadOutputsFirst() { return Report(DeviceCommand::cmdReadOutputsFirst); }

OutboundReport BuildSetModbusAddress(std::uint8_t address) {
  return Report(DeviceCommand::cmdSetModbusAddress, {address});
}

OutboundReport BuildSetGateTime(std::uint32_t milliseconds) {
  std::vector<std::uint8_t> payload(4);
  StoreU32Le(payload.data(), milliseconds);
  return Report(DeviceCommand::cmdSetGateTime, std::move(payload));
}

OutboundReport BuildSetModbusBaudRate(std::uint8_t position) {
  return Report(DeviceCommand::cmdSetModbusBaudRate, {position});
}

OutboundReport BuildWriteOutputsSecond(const OutputsSecondHalf& half) {
  const auto bytes = EncodeOutputsSecondHalf(half);
  return Report(DeviceCommand::cmdWriteOutputsSecond, {bytes.begin(), bytes.end()});
}

OutboundReport BuildReadOutputsSecond() { return Report(DeviceCommand::cmdReadOutputsSecond); }

OutboundReport BuildGetResolution(std::uint8_t channel) {
  return Report(DeviceCommand::cmdGetResolution, {channel});
}

OutboundReport BuildGetCoefficient(std::uint8_t channel) {
  return Report(DeviceCommand::cmdGetCoefficient, {channel});
}

OutboundReport BuildSetZeroMarker(std::uint8_t channel, std::uint8_t flag) {
  return Report(DeviceCommand::cmdSetZeroMarker, {channel, flag});
}

OutboundReport BuildGetZeroMarker(std::uint8_t channel) {
  return Report(DeviceCommand::cmdGetZeroMarker, {channel});
}

}  // namespace kvelt
