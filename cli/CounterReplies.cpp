#include "cli/CounterReplies.h"

#include <algorithm>
#include <utility>

#include "config/EncoderParameters.h"
#include "protocol/ChannelFrame.h"
#include "protocol/DeviceCommand.h"

namespace kvelt::cli {
namespace {

template <typename T>
std::optional<T> Take(std::optional<T>& slot) {
  return std::exchange(slot, std::nullopt);
}

}  // namespace

CounterReplies::CounterReplies(int unitSelection)
    : unit_(unitSelection), dispatcher_(readings_, *this, *this) {}

void CounterReplies::Dispatch(const std::uint8_t* data, std::size_t size) {
  // The outputs' states ride on channel 4's frame; the dispatcher hands them on only to a chart.
  if (size >= kChannelFrameSize && data[0] == CodeOf(DeviceCommand::cmdChannel4Frame)) {
    outputs_ = static_cast<std::uint8_t>(data[ChannelFrameOffset::OutputState] & 0x1Fu);
  }
  dispatcher_.Dispatch(data, size);
}

bool CounterReplies::AllChannelsSeen() const {
  return std::all_of(seen_.begin(), seen_.end(), [](bool seen) { return seen; });
}

void CounterReplies::RefreshReadouts(int channel) {
  if (channel < 0 || channel >= kChannelCount) return;
  seen_[static_cast<std::size_t>(channel)] = true;
  ++frames_;
  if (OnChannelFrame) OnChannelFrame(channel);
}

bool CounterReplies::RecordingTick() { return OnChannel4Frame ? OnChannel4Frame() : true; }

void CounterReplies::Acknowledge(DeviceCommand code) {
  acknowledged_[CodeOf(code) - kFirstDeviceCommandCode] = true;
}

bool CounterReplies::TakeAcknowledgement(DeviceCommand code) {
  return std::exchange(acknowledged_[CodeOf(code) - kFirstDeviceCommandCode], false);
}

void CounterReplies::OnResolutionRead(const ResolutionReply& reply) {
  if (const std::optional<int> channel = ReplyChannel(reply.Channel)) {
    resolution_[static_cast<std::size_t>(*channel)] = reply;
  }
}

void CounterReplies::OnCoefficientRead(const CoefficientReply& reply) {
  if (const std::optional<int> channel = ReplyChannel(reply.Channel)) {
    coefficient_[static_cast<std::size_t>(*channel)] = reply;
  }
}

void CounterReplies::OnZeroMarkerRead(const ZeroMarkerReply& reply) {
  if (const std::optional<int> channel = ReplyChannel(reply.Channel)) {
    zeroMarker_[static_cast<std::size_t>(*channel)] = reply;
  }
}

std::optional<ResolutionReply> CounterReplies::TakeResolution(int channel) {
  return Take(resolution_.at(static_cast<std::size_t>(channel)));
}
std::optional<CoefficientReply> CounterReplies::TakeCoefficient(int channel) {
  return Take(coefficient_.at(static_cast<std::size_t>(channel)));
}
std::optional<ZeroMarkerReply> CounterReplies::TakeZeroMarker(int channel) {
  return Take(zeroMarker_.at(static_cast<std::size_t>(channel)));
}
std::optional<OutputsFirstHalf> CounterReplies::TakeOutputsFirst() { return Take(outputsFirst_); }
std::optional<OutputsSecondHalf> CounterReplies::TakeOutputsSecond() { return Take(outputsSecond_); }

}  // namespace kvelt::cli
