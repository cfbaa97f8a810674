#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "measure/ChannelReading.h"
#include "measure/FrameSteps.h"
#include "measure/ReplyHandlers.h"
#include "measure/ReportDispatcher.h"
#include "protocol/DeviceCommand.h"

namespace kvelt::cli {

// What the counter has said so far, as the report dispatcher hands it over: the latest reading
// of every channel (speed in the selected unit), which channels have sent a frame, and the
// replies and acknowledgements, each kept until it is taken.
class CounterReplies final : public FrameSteps, public ReplyHandlers {
 public:
  explicit CounterReplies(int unitSelection = 0);

  // Feeds one inbound report (bytes after the report id, code first).
  void Dispatch(const std::uint8_t* data, std::size_t size);

  const ChannelReadingArray& Readings() const { return readings_; }
  bool ChannelSeen(int channel) const { return seen_.at(static_cast<std::size_t>(channel)); }
  bool AllChannelsSeen() const;
  // The five outputs' states of channel 4's latest frame (bit 0 = output 1).
  std::uint8_t Outputs() const { return outputs_; }
  // Frames of any channel since the start.
  std::uint64_t FrameCount() const { return frames_; }

  // Called on every channel frame (channel 0..3), after the reading is stored.
  std::function<void(int channel)> OnChannelFrame;
  // Called on every channel-4 frame, after the reading is stored; false ends the handling of
  // that frame (as a recording that cannot open its file does).
  std::function<bool()> OnChannel4Frame;

  // Acknowledgements and replies. Take* returns what came since the last Take of the same kind
  // and forgets it.
  bool TakeAcknowledgement(DeviceCommand code);
  std::optional<ResolutionReply> TakeResolution(int channel);
  std::optional<CoefficientReply> TakeCoefficient(int channel);
  std::optional<ZeroMarkerReply> TakeZeroMarker(int channel);
  std::optional<OutputsFirstHalf> TakeOutputsFirst();
  std::optional<OutputsSecondHalf> TakeOutputsSecond();

  // FrameSteps and ReplyHandlers.
  int UnitSelection() const override { return unit_; }
  void RefreshReadouts(int channel) override;
  bool RecordingTick() override;
  void OnResolutionSet() override { Acknowledge(DeviceCommand::cmdSetResolution); }
  void OnCoefficientSet() override { Acknowledge(DeviceCommand::cmdSetCoefficient); }
  void OnPositionCleared() override { Acknowledge(DeviceCommand::cmdClearPosition); }
  void OnOutputsFirstWritten() override { Acknowledge(DeviceCommand::cmdWriteOutputsFirst); }
  void OnOutputsFirstRead(const OutputsFirstHalf& half) override { outputsFirst_ = half; }
  void OnModbusAddressSet() override { Acknowledge(DeviceCommand::cmdSetModbusAddress); }
  void OnGateTimeSet() override { Acknowledge(DeviceCommand::cmdSetGateTime); }
  void OnModbusBaudRateSet() override { Acknowledge(DeviceCommand::cmdSetModbusBaudRate); }
  void OnOutputsSecondWritten() override { Acknowledge(DeviceCommand::cmdWriteOutputsSecond); }
  void OnOutputsSecondRead(const OutputsSecondHalf& half) override { outputsSecond_ = half; }
  void OnResolutionRead(const ResolutionReply& reply) override;
  void OnCoefficientRead(const CoefficientReply& reply) override;
  void OnZeroMarkerSet() override { Acknowledge(DeviceCommand::cmdSetZeroMarker); }
  void OnZeroMarkerRead(const ZeroMarkerReply& reply) override;

 private:
  static constexpr std::size_t kCodes = kLastDeviceCommandCode - kFirstDeviceCommandCode + 1;
  void Acknowledge(DeviceCommand code);

  int unit_;
  ChannelReadingArray readings_{};
  ReportDispatcher dispatcher_;
  std::array<bool, kChannelCount> seen_{};
  std::uint64_t frames_ = 0;
  std::uint8_t outputs_ = 0;
  std::array<bool, kCodes> acknowledged_{};
  std::array<std::optional<ResolutionReply>, kChannelCount> resolution_{};
  std::array<std::optional<CoefficientReply>, kChannelCount> coefficient_{};
  std::array<std::optional<ZeroMarkerReply>, kChannelCount> zeroMarker_{};
  std::optional<OutputsFirstHalf> outputsFirst_;
  std::optional<OutputsSecondHalf> outputsSecond_;
};

}  // namespace kvelt::cli
