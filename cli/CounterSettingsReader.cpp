#include "cli/CounterSettingsReader.h"

#include <optional>
#include <utility>

#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/CounterRequest.h"
#include "cli/ExactNumberText.h"
#include "cli/ExitCode.h"
#include "cli/OutputRowText.h"
#include "config/EncoderParameters.h"
#include "protocol/ReportBuilders.h"

namespace kvelt::cli {

CounterSettingsReader::CounterSettingsReader(CounterLink& link, CounterReplies& replies,
                                             std::chrono::milliseconds timeout, int decimals,
                                             std::string decimalSeparator)
    : link_(link),
      replies_(replies),
      timeout_(timeout),
      decimals_(decimals),
      separator_(std::move(decimalSeparator)) {}

namespace {

// Asks for a reply and waits for it: anything of the kind that came unasked is dropped first, so
// the reply taken is the one to this request.
template <typename Reply, typename Take>
Reply AskAndTake(CounterLink& link, const OutboundReport& request, Take take,
                 std::chrono::milliseconds timeout, const std::string& what) {
  std::optional<Reply> reply = take();
  AskCounter(
      link, request, [&] { return (reply = take()).has_value(); }, timeout, what);
  return *reply;
}

}  // namespace

std::string CounterSettingsReader::ChannelValue(SettingKind kind, int channel) {
  const std::string what = SettingName(kind, channel);
  switch (kind) {
    case SettingKind::Resolution:
      return ResolutionReplyText(AskAndTake<ResolutionReply>(
          link_, GetResolutionRequest(channel), [&] { return replies_.TakeResolution(channel); }, timeout_,
          what));
    case SettingKind::Coefficient:
      return ExactNumberText(AskAndTake<CoefficientReply>(
                                 link_, GetCoefficientRequest(channel),
                                 [&] { return replies_.TakeCoefficient(channel); }, timeout_, what)
                                 .Coefficient,
                             decimals_, separator_);
    case SettingKind::ZeroMarker: {
      const int position = ZeroMarkerListPosition(AskAndTake<ZeroMarkerReply>(
          link_, GetZeroMarkerRequest(channel), [&] { return replies_.TakeZeroMarker(channel); }, timeout_,
          what));
      return position == 1 ? "yes" : position == 0 ? "no" : "?";
    }
    default:
      return {};
  }
}

CounterSettingsReader::Rows CounterSettingsReader::ReadOutputs() {
  const OutputsFirstHalf first = AskAndTake<OutputsFirstHalf>(
      link_, BuildReadOutputsFirst(), [&] { return replies_.TakeOutputsFirst(); }, timeout_,
      "the outputs (first half)");
  const OutputsSecondHalf second = AskAndTake<OutputsSecondHalf>(
      link_, BuildReadOutputsSecond(), [&] { return replies_.TakeOutputsSecond(); }, timeout_,
      "the outputs (second half)");
  Rows rows{FillRowsFromFirstHalf(first, decimals_, separator_),
            FillRowsFromSecondHalf(second, decimals_, separator_)};
  // The thresholds exact, so that a row written back keeps the counter's value.
  for (std::size_t k = 0; k < rows.First.size(); ++k) {
    const float threshold = first.Entries[k].Threshold;
    const float secondThreshold = second.Entries[k].SecondThreshold;
    rows.First[k].Threshold = threshold == 0.0f ? "0" : ExactNumberText(threshold, decimals_, separator_);
    rows.Second[k].SecondThreshold =
        secondThreshold == 0.0f ? "0" : ExactNumberText(secondThreshold, decimals_, separator_);
  }
  return rows;
}

std::vector<SettingAssignment> CounterSettingsReader::Read(const SettingAssignment& which) {
  std::vector<SettingAssignment> values;
  const auto add = [&values](SettingKind kind, int index, std::string value) {
    values.push_back(SettingAssignment{kind, index, std::move(value)});
  };
  switch (which.Kind) {
    case SettingKind::Resolution:
    case SettingKind::Coefficient:
    case SettingKind::ZeroMarker:
      for (int channel = 0; channel < 4; ++channel) {
        if (which.Index < 0 || which.Index == channel)
          add(which.Kind, channel, ChannelValue(which.Kind, channel));
      }
      break;
    case SettingKind::GateTime: {
      // The counter does not answer a question for it, but every frame carries it.
      if (link_.RunUntil([this] { return replies_.FrameCount() > 0; }, timeout_) != CounterLink::Wait::Done) {
        throw CliFailure(ExitCode::NoReply, "the counter sent no values in time (gate-time)");
      }
      std::uint16_t gate = 0;
      for (int channel = 0; channel < 4; ++channel) {
        if (replies_.ChannelSeen(channel))
          gate = replies_.Readings()[static_cast<std::size_t>(channel)].GateTimeMs;
      }
      add(which.Kind, -1, std::to_string(gate) + "ms");
      break;
    }
    case SettingKind::ModbusAddress:
    case SettingKind::ModbusBaudRate:
      throw CliFailure(ExitCode::BadUsage,
                       SettingName(which.Kind, -1) + " can only be set: the counter does not report it");
    case SettingKind::Output: {
      const Rows rows = ReadOutputs();
      for (int k = 0; k < kOutputRowCount; ++k) {
        if (which.Index < 0 || which.Index == k) {
          const auto index = static_cast<std::size_t>(k);
          add(which.Kind, k, FormatOutputRow(rows.First[index], rows.Second[index]));
        }
      }
      break;
    }
  }
  return values;
}

}  // namespace kvelt::cli
