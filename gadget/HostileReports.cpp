#include "gadget/HostileReports.h"

#include "protocol/ByteOrder.h"
#include "protocol/ChannelFrame.h"
#include "protocol/DeviceCommand.h"

namespace kvelt::gadget {
namespace {

constexpr std::uint8_t kReportId = 1;
constexpr std::size_t kReportLength = 65;
constexpr std::uint8_t kUnknownCode = 250;
constexpr std::uint64_t kFloodEvery = 200;  // cycles: 2 s
constexpr std::uint64_t kFloodLength = 50;  // cycles: 0.5 s
constexpr int kFloodReportsPerCycle = 16;
constexpr std::uint8_t kNoSuchChannel = 9;

std::vector<std::uint8_t> Filled(std::uint8_t id, std::uint8_t code, std::size_t length, std::uint8_t fill) {
  std::vector<std::uint8_t> report(length, fill);
  report[0] = id;
  report[1] = code;
  return report;
}

// A frame of channel index `channel` whose every measurement is absurd.
std::vector<std::uint8_t> AbsurdFrame(std::uint8_t id, int channel) {
  ChannelFrame frame;
  frame.Code = static_cast<std::uint8_t>(CodeOf(DeviceCommand::cmdChannel1Frame) + channel);
  frame.GateTimeMs = 1000;
  frame.ResolutionX4 = 4000;
  frame.Position = 1e30f;
  frame.Speed = 1e30f;
  frame.Coefficient = 1e30f;
  const auto bytes = EncodeChannelFrame(frame);
  std::vector<std::uint8_t> report(kReportLength, 0);
  report[0] = id;
  std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
  return report;
}

}  // namespace

std::vector<std::vector<std::uint8_t>> HostileReports::ForCycle(std::uint64_t cycle) const {
  std::vector<std::vector<std::uint8_t>> reports;
  switch (cycle % 6) {
    case 0:
      // An unknown code full of 0x7F (3.4e38 as a float), then a frame cut after 4 bytes: a
      // reader that looks past what it read finds the 0x7F bytes where the measurements go.
      reports.push_back(Filled(kReportId, kUnknownCode, kReportLength, 0x7F));
      reports.push_back({kReportId, CodeOf(DeviceCommand::cmdChannel1Frame), 0, 0xE8, 0x03});
      break;
    case 1:
      // Longer than the descriptor says.
      reports.push_back(Filled(kReportId, kUnknownCode + 1, kLongestReport, 0x7F));
      break;
    case 2: {
      // A report id the descriptor does not have, carrying a frame.
      reports.push_back(AbsurdFrame(7, 2));
      break;
    }
    case 3: {
      // Replies nobody asked for, about a channel that does not exist.
      std::vector<std::uint8_t> resolution(kReportLength, 0);
      resolution[0] = kReportId;
      resolution[1] = CodeOf(DeviceCommand::cmdGetResolution);
      resolution[2] = kNoSuchChannel;
      StoreU32Le(resolution.data() + 3, 0x7FFFFFFF);
      reports.push_back(resolution);
      std::vector<std::uint8_t> marker(kReportLength, 0);
      marker[0] = kReportId;
      marker[1] = CodeOf(DeviceCommand::cmdGetZeroMarker);
      marker[2] = kNoSuchChannel;
      marker[3] = 0xFF;
      reports.push_back(marker);
      break;
    }
    case 4:
      // Just a report id and a code byte.
      reports.push_back({kReportId, kUnknownCode + 2});
      break;
    default:
      // A code that is none of the counter's, of the right length.
      reports.push_back(Filled(kReportId, 0, kReportLength, 0x7F));
      break;
  }
  if (cycle % kFloodEvery < kFloodLength) {
    for (int i = 0; i < kFloodReportsPerCycle; ++i)
      reports.push_back(Filled(kReportId, 0xFF, kReportLength, 0x7F));
  }
  return reports;
}

}  // namespace kvelt::gadget
