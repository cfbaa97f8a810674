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
    : readings_(readings), frames_(handlers), chart_(&handlers), replies_(handlers) {}

ReportDispatcher::ReportDispatcher(ChannelReadingArray& readings, FrameSteps& frames, ReplyHandlers& replies)
    : readings_(readings), frames_(frames), chart_(nullptr), replies_(replies) {}

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
                    frames_.UnitSelection());
  frames_.RefreshReadouts(channel);
  if (ChartRunning()) {
    chart_->AddChannelChartPoints(channel);
  }
  if (channel != kPacingChannel) {
    return;
  }
  if (ChartRunning()) {
    chart_->ChartTimeStep();
  }
  if (!frames_.RecordingTick()) {
    return;
  }
  if (ChartRunning()) {
    chart_->AddOutputChartPoints(data[ChannelFrameOffset::OutputState]);
  }
}

void ReportDispatcher::HandleReply(std::uint8_t code, const std::uint8_t* data, std::size_t size) {
  switch (static_cast<DeviceCommand>(code)) {
    case DeviceCommand::cmdSetResolution:
      replies_.OnResolutionSet();
      break;
    case DeviceCommand::cmdSetCoefficient:
      replies_.OnCoefficientSet();
      break;
    case DeviceCommand::cmdClearPosition:
      replies_.OnPositionCleared();
      break;
    case DeviceCommand::cmdWriteOutputsFirst:
      replies_.OnOutputsFirstWritten();
      break;
    case DeviceCommand::cmdReadOutputsFirst:
      if (const auto half = ParseOutputsFirstReply(data, size)) {
        replies_.OnOutputsFirstRead(*half);
      }
      break;
    case DeviceCommand::cmdSetModbusAddress:
      replies_.OnModbusAddressSet();
      break;
    case DeviceCommand::cmdSetGateTime:
      replies_.OnGateTimeSet();
      break;
    case DeviceCommand::cmdSetModbusBaudRate:
      replies_.OnModbusBaudRateSet();
      break;
    case DeviceCommand::cmdWriteOutputsSecond:
      replies_.OnOutputsSecondWritten();
      break;
    case DeviceCommand::cmdReadOutputsSecond:
      if (const auto half = ParseOutputsSecondReply(data, size)) {
        replies_.OnOutputsSecondRead(*half);
      }
      break;
    case DeviceCommand::cmdGetResolution:
      if (const auto reply = ParseResolutionReply(data, size)) {
        replies_.OnResolutionRead(*reply);
      }
      break;
    case DeviceCommand::cmdGetCoefficient:
      if (const auto reply = ParseCoefficientReply(data, size)) {
        replies_.OnCoefficientRead(*reply);
      }
      break;
    case DeviceCommand::cmdSetZeroMarker:
      replies_.OnZeroMarkerSet();
      break;
    case DeviceCommand::cmdGetZeroMarker:
      if (const auto reply = ParseZeroMarkerReply(data, size)) {
        replies_.OnZeroMarkerRead(*reply);
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
