// Feeds arbitrary report sequences to ReportDispatcher and checks, after every report, that it
// made exactly the calls and reading changes the report's code and length allow.
//
// Input: byte 0 sets the handlers (bit 0 chart running, bit 1 recording continues, bits 2..4
// unit selection + 1). Then reports follow, each as a length byte and that many bytes (the last
// one may be cut short by the end of the input). Every report is copied into an allocation of
// exactly its size, so any read past it is caught by AddressSanitizer.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "measure/ChannelReading.h"
#include "measure/ReportDispatcher.h"
#include "measure/ReportHandlers.h"

namespace {

using namespace kvelt;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "dispatch invariant broken: %s\n", what);
    std::abort();
  }
}

enum class Call : std::uint8_t {
  Refresh,
  ChartPoints,
  TimeStep,
  Tick,
  OutputPoints,
  Ack,
  FirstRead,
  SecondRead,
  ResolutionRead,
  CoefficientRead,
  ZeroMarkerRead,
};

struct Event {
  Call Kind;
  int Value;  // channel, output state or code
  bool operator==(const Event&) const = default;
};

class CheckingHandlers : public ReportHandlers {
 public:
  CheckingHandlers(const ChannelReadingArray& readings, bool chart, bool recording, int unit)
      : readings_(readings), chart_(chart), recording_(recording), unit_(unit) {}

  std::vector<Event> Events;
  const std::uint8_t* Report = nullptr;  // the report being dispatched
  std::size_t ReportSize = 0;

  int UnitSelection() const override { return unit_; }
  bool ChartRunning() const override { return chart_; }
  void RefreshReadouts(int channel) override {
    Check(channel >= 0 && channel <= 3, "refresh of a channel outside 0..3");
    Check(ReportSize >= 31, "refresh for a report shorter than a frame");
    // The record is stored before the read-outs see it.
    Check(std::bit_cast<std::uint32_t>(readings_[static_cast<std::size_t>(channel)].Position) ==
              Le32(Report + 18),
          "refresh before the position was stored");
    Events.push_back({Call::Refresh, channel});
  }
  void AddChannelChartPoints(int channel) override {
    Check(chart_, "chart points while the chart is stopped");
    Check(channel >= 0 && channel <= 3, "chart points for a channel outside 0..3");
    Events.push_back({Call::ChartPoints, channel});
  }
  void ChartTimeStep() override { Events.push_back({Call::TimeStep, 0}); }
  bool RecordingTick() override {
    Events.push_back({Call::Tick, 0});
    return recording_;
  }
  void AddOutputChartPoints(std::uint8_t outputState) override {
    Events.push_back({Call::OutputPoints, outputState});
  }
  void OnResolutionSet() override { Ack(104); }
  void OnCoefficientSet() override { Ack(105); }
  void OnPositionCleared() override { Ack(106); }
  void OnOutputsFirstWritten() override { Ack(107); }
  void OnOutputsFirstRead(const OutputsFirstHalf& half) override {
    Check(ReportSize >= 31, "108 reply shorter than its layout");
    for (std::size_t k = 0; k < 5; ++k) {
      const std::uint8_t* entry = Report + 1 + 6 * k;
      Check(half.Entries[k].Enable == entry[0] && half.Entries[k].Selector == entry[1] &&
                std::bit_cast<std::uint32_t>(half.Entries[k].Threshold) == Le32(entry + 2),
            "108 entry decoded wrongly");
    }
    Events.push_back({Call::FirstRead, 108});
  }
  void OnModbusAddressSet() override { Ack(109); }
  void OnGateTimeSet() override { Ack(110); }
  void OnModbusBaudRateSet() override { Ack(111); }
  void OnOutputsSecondWritten() override { Ack(112); }
  void OnOutputsSecondRead(const OutputsSecondHalf& half) override {
    Check(ReportSize >= 31, "113 reply shorter than its layout");
    for (std::size_t k = 0; k < 5; ++k) {
      const std::uint8_t* entry = Report + 1 + 6 * k;
      Check(half.Entries[k].Selector == entry[0] &&
                std::bit_cast<std::uint32_t>(half.Entries[k].SecondThreshold) == Le32(entry + 1) &&
                half.Entries[k].State == entry[5],
            "113 entry decoded wrongly");
    }
    Events.push_back({Call::SecondRead, 113});
  }
  void OnResolutionRead(const ResolutionReply& reply) override {
    Check(ReportSize >= 6, "114 reply shorter than its layout");
    Check(reply.Channel == Report[1] && reply.Resolution == Le32(Report + 2) / 4, "114 decoded wrongly");
    Events.push_back({Call::ResolutionRead, 114});
  }
  void OnCoefficientRead(const CoefficientReply& reply) override {
    Check(ReportSize >= 6, "115 reply shorter than its layout");
    Check(reply.Channel == Report[1] && std::bit_cast<std::uint32_t>(reply.Coefficient) == Le32(Report + 2),
          "115 decoded wrongly");
    Events.push_back({Call::CoefficientRead, 115});
  }
  void OnZeroMarkerSet() override { Ack(116); }
  void OnZeroMarkerRead(const ZeroMarkerReply& reply) override {
    Check(ReportSize >= 3, "117 reply shorter than its layout");
    Check(reply.Channel == Report[1] && reply.Position == static_cast<std::int8_t>(Report[2]),
          "117 decoded wrongly");
    Events.push_back({Call::ZeroMarkerRead, 117});
  }

  static std::uint32_t Le32(const std::uint8_t* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
    return v;
  }

 private:
  void Ack(int code) {
    Check(ReportSize >= 1 && Report[0] == code, "acknowledgement handler for another code");
    Events.push_back({Call::Ack, code});
  }

  const ChannelReadingArray& readings_;
  bool chart_;
  bool recording_;
  int unit_;
};

// The calls a report must cause, worked out from its bytes alone.
std::vector<Event> ExpectedEvents(const std::uint8_t* r, std::size_t size, bool chart, bool recording) {
  if (size == 0) return {};
  const int code = r[0];
  if (code >= 100 && code <= 103) {
    if (size < 31) return {};
    const int channel = code - 100;
    std::vector<Event> e{{Call::Refresh, channel}};
    if (chart) e.push_back({Call::ChartPoints, channel});
    if (channel != 3) return e;
    if (chart) e.push_back({Call::TimeStep, 0});
    e.push_back({Call::Tick, 0});
    if (recording && chart) e.push_back({Call::OutputPoints, r[30]});
    return e;
  }
  switch (code) {
    case 108:
      return size >= 31 ? std::vector<Event>{{Call::FirstRead, 108}} : std::vector<Event>{};
    case 113:
      return size >= 31 ? std::vector<Event>{{Call::SecondRead, 113}} : std::vector<Event>{};
    case 114:
      return size >= 6 ? std::vector<Event>{{Call::ResolutionRead, 114}} : std::vector<Event>{};
    case 115:
      return size >= 6 ? std::vector<Event>{{Call::CoefficientRead, 115}} : std::vector<Event>{};
    case 117:
      return size >= 3 ? std::vector<Event>{{Call::ZeroMarkerRead, 117}} : std::vector<Event>{};
    default:
      break;
  }
  if (code >= 104 && code <= 117) return {{Call::Ack, code}};
  return {};
}

bool SameBits(const ChannelReading& a, const ChannelReading& b) {
  return a.RawByte == b.RawByte && a.GateTimeMs == b.GateTimeMs && a.ResolutionX4 == b.ResolutionX4 &&
         a.Raw1 == b.Raw1 && a.Raw2 == b.Raw2 && a.Raw3 == b.Raw3 &&
         std::bit_cast<std::uint32_t>(a.Position) == std::bit_cast<std::uint32_t>(b.Position) &&
         std::bit_cast<std::uint32_t>(a.Speed) == std::bit_cast<std::uint32_t>(b.Speed) &&
         std::bit_cast<std::uint32_t>(a.Coefficient) == std::bit_cast<std::uint32_t>(b.Coefficient);
}

void CheckStoredFrame(const ChannelReading& got, const std::uint8_t* r, int unit) {
  using H = CheckingHandlers;
  Check(got.RawByte == r[1], "RawByte");
  Check(got.GateTimeMs == (r[2] | (r[3] << 8)), "GateTimeMs");
  Check(got.ResolutionX4 == (r[4] | (r[5] << 8)), "ResolutionX4");
  Check(got.Raw1 == H::Le32(r + 6) && got.Raw2 == H::Le32(r + 10) && got.Raw3 == H::Le32(r + 14), "Raw1..3");
  Check(std::bit_cast<std::uint32_t>(got.Position) == H::Le32(r + 18), "Position");
  Check(std::bit_cast<std::uint32_t>(got.Coefficient) == H::Le32(r + 26), "Coefficient");
  const float speed = std::bit_cast<float>(H::Le32(r + 22));
  const float expected = (unit == 1 || unit == 3) ? static_cast<float>(speed * 60.0) : speed;
  const bool bothNan = expected != expected && got.Speed != got.Speed;
  Check(bothNan || std::bit_cast<std::uint32_t>(got.Speed) == std::bit_cast<std::uint32_t>(expected),
        "Speed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool chart = (data[0] & 1) != 0;
  const bool recording = (data[0] & 2) != 0;
  const int unit = ((data[0] >> 2) & 7) - 1;  // -1 .. 6

  ChannelReadingArray readings{};
  CheckingHandlers handlers(readings, chart, recording, unit);
  ReportDispatcher dispatcher(readings, handlers);

  std::size_t pos = 1;
  while (pos < size) {
    std::size_t length = data[pos++];
    if (length > size - pos) length = size - pos;
    auto report = std::make_unique<std::uint8_t[]>(length == 0 ? 1 : length);
    std::memcpy(report.get(), data + pos, length);
    pos += length;

    const ChannelReadingArray before = readings;
    handlers.Events.clear();
    handlers.Report = report.get();
    handlers.ReportSize = length;
    dispatcher.Dispatch(length == 0 ? nullptr : report.get(), length);

    Check(handlers.Events == ExpectedEvents(report.get(), length, chart, recording), "call sequence");
    const bool frame = length >= 31 && report[0] >= 100 && report[0] <= 103;
    for (std::size_t c = 0; c < 4; ++c) {
      if (frame && c == static_cast<std::size_t>(report[0] - 100)) {
        CheckStoredFrame(readings[c], report.get(), unit);
      } else {
        Check(SameBits(readings[c], before[c]), "a reading changed that the report does not address");
      }
    }
  }
  return 0;
}
