#include "measure/ReportDispatcher.h"

#include "protocol/ChannelFrame.h"
#include "protocol/DeviceCommand.h"
#include "protocol/ReplyParsers.h"

namespace kvelt {

namespace {

constexpr std::uint8_t kFirstFrameCode = CodeOf(DeviceCommand::cmdChannel1Frame);
constexpr std::uint8_t kLastFrameCode = CodeOf(DeviceCommand::cmdChannel4Frame);
constexpr int kPacingChannel = kLastFrameCode - kFirstFrameCode;  // channel 4

}  // namespace

ReportDispatcher::ReportDispatcher(ChannelReadingArray& readings, ReportHandlers& handlers)
    : readings_(readings), handlers_(handlers) {}

void ReportDispatcher::Dispatch(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0) {
    return;
  }
  const std::uint8_t code = data[0];
  if (code >= kFirstFrameCode && code <= kLastFrameCode) {
    HandleChannelFrame(code - kFirstFrameCode, data, size);
  } else if (IsDeviceCommandCode(code)) {
    HandleReply(code, data, size);
  }
}

void ReportDispatcher::HandleChannelFrame(int channel, const std::uint8_t* data, std::size_t size) {
  if (size < kChannelFrameSize) {
    return;
  }
  StoreChannelFrame(readings_[static_cast<std::size_t>(channel)], data + ChannelFrameOffset::RawByte,
                    handlers_.UnitSelection());
  handlers_.RefreshReadouts(channel);
  if (handlers_.ChartRunning()) {
    handlers_.AddChannelChartPoints(channel);
  }
  if (channel != kPacingChannel) {
    return;
  }
  if (handlers_.ChartRunning()) {
    handlers_.ChartTimeStep();
  }
  if (!handlers_.RecordingTick()) {
    return;
  }
  if (handlers_.ChartRunning()) {
    handlers_.AddOutputChartPoints(data[ChannelFrameOffset::OutputState]);
  }
}

void ReportDispatcher::HandleReply(std::uint8_t code, const std::uint8_t* data, std::size_t size) {
  switch (static_cast<DeviceCommand>(code)) {
    case DeviceCommand::cmdSetResolution:
      handlers_.OnResolutionSet();
      break;
    case DeviceCommand::cmdSetCoefficient:
      handlers_.OnCoefficientSet();
      break;
    case DeviceCommand::cmdClearPosition:
      handlers_.OnPositionCleared();
      break;
    case DeviceCommand::cmdWriteOutputsFirst:
      handlers_.OnOutputsFirstWritten();
      break;
    case DeviceCommand::cmdReadOutputsFirst:
      if (const auto half = ParseOutputsFirstReply(data, size)) {
        handlers_.OnOutputsFirstRead(*half);
      }
      break;
    case DeviceCommand::cmdSetModbusAddress:
      handlers_.OnModbusAddressSet();
      break;
    case DeviceCommand::cmdSetGateTime:
      handlers_.OnGateTimeSet();
      break;
    case DeviceCommand::cmdSetModbusBaudRate:
      handlers_.OnModbusBaudRateSet();
      break;
    case DeviceCommand::cmdWriteOutputsSecond:
      handlers_.OnOutputsSecondWritten();
      break;
    case DeviceCommand::cmdReadOutputsSecond:
      if (const auto half = ParseOutputsSecondReply(data, size)) {
        handlers_.OnOutputsSecondRead(*half);
      }
      break;
    case DeviceCommand::cmdGetResolution:
      if (const auto reply = ParseResolutionReply(data, size)) {
        handlers_.OnResolutionRead(*reply);
      }
      break;
    case DeviceCommand::cmdGetCoefficient:
      if (const auto reply = ParseCoefficientReply(data, size)) {
        handlers_.OnCoefficientRead(*reply);
      }
      break;
    case DeviceCommand::cmdSetZeroMarker:
      handlers_.OnZeroMarkerSet();
      break;
    case DeviceCommand::cmdGetZeroMarker:
      if (const auto reply = ParseZeroMarkerReply(data, size)) {
        handlers_.OnZeroMarkerRead(*reply);
      }
      break;
    case DeviceCommand::cmdChannel1Frame:
    case DeviceCommand::cmdChannel2Frame:
    case DeviceCommand::cmdChannel3Frame:
    case DeviceCommand::cmdChannel4Frame:
      break;  // handled as frames before getting here
  }
}

}  // namespace kvelt
