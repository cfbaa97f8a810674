// Cost of handling one channel frame in the core, in ns per frame (one frame per iteration):
// decoding alone, and decoding plus the fixed-point texts of position and speed at d = 2 that
// the read-out refresh produces.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "measure/ChannelReading.h"
#include "measure/FixedPointFormat.h"
#include "measure/ReportDispatcher.h"
#include "measure/ReportHandlers.h"
#include "protocol/ChannelFrame.h"

namespace {

using namespace kvelt;

constexpr int kMeasuredPrecision = 15;
constexpr int kDecimals = 2;

// Frames for all four channels with varied values, as 64-byte input reports.
std::vector<std::array<std::uint8_t, 64>> SampleReports() {
  std::mt19937 random(2024);
  std::uniform_real_distribution<float> position(-100000.0f, 100000.0f);
  std::uniform_real_distribution<float> speed(-500.0f, 500.0f);
  std::vector<std::array<std::uint8_t, 64>> reports(256);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    ChannelFrame frame;
    frame.Code = static_cast<std::uint8_t>(100 + i % 4);
    frame.GateTimeMs = 100;
    frame.ResolutionX4 = 4000;
    frame.Position = position(random);
    frame.Speed = speed(random);
    frame.Coefficient = 1.0f;
    frame.OutputState = static_cast<std::uint8_t>(i & 0x1F);
    const auto bytes = EncodeChannelFrame(frame);
    reports[i].fill(0);
    std::copy(bytes.begin(), bytes.end(), reports[i].begin());
  }
  return reports;
}

// Handlers of a window with the chart stopped and no recording.
class QuietHandlers : public ReportHandlers {
 public:
  int UnitSelection() const override { return 1; }
  void RefreshReadouts(int channel) override { benchmark::DoNotOptimize(channel); }
  bool ChartRunning() const override { return false; }
  void AddChannelChartPoints(int) override {}
  void ChartTimeStep() override {}
  bool RecordingTick() override { return true; }
  void AddOutputChartPoints(std::uint8_t) override {}
  void OnResolutionSet() override {}
  void OnCoefficientSet() override {}
  void OnPositionCleared() override {}
  void OnOutputsFirstWritten() override {}
  void OnOutputsFirstRead(const OutputsFirstHalf&) override {}
  void OnModbusAddressSet() override {}
  void OnGateTimeSet() override {}
  void OnModbusBaudRateSet() override {}
  void OnOutputsSecondWritten() override {}
  void OnOutputsSecondRead(const OutputsSecondHalf&) override {}
  void OnResolutionRead(const ResolutionReply&) override {}
  void OnCoefficientRead(const CoefficientReply&) override {}
  void OnZeroMarkerSet() override {}
  void OnZeroMarkerRead(const ZeroMarkerReply&) override {}
};

// The refresh formats the two read-out texts of the channel, as the window does.
class FormattingHandlers : public QuietHandlers {
 public:
  explicit FormattingHandlers(const ChannelReadingArray& readings) : readings_(readings) {}
  void RefreshReadouts(int channel) override {
    const ChannelReading& r = readings_[static_cast<std::size_t>(channel)];
    std::optional<std::string> position = FormatFixedPoint(r.Position, kMeasuredPrecision, kDecimals, ",");
    std::optional<std::string> speed = FormatFixedPoint(r.Speed, kMeasuredPrecision, kDecimals, ",");
    benchmark::DoNotOptimize(position);
    benchmark::DoNotOptimize(speed);
  }

 private:
  const ChannelReadingArray& readings_;
};

template <typename Handlers>
void RunFrames(benchmark::State& state, Handlers& handlers, ChannelReadingArray& readings) {
  const auto reports = SampleReports();
  ReportDispatcher dispatcher(readings, handlers);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& report = reports[i++ % reports.size()];
    dispatcher.Dispatch(report.data(), report.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_FrameDecode(benchmark::State& state) {
  ChannelReadingArray readings{};
  QuietHandlers handlers;
  RunFrames(state, handlers, readings);
}
BENCHMARK(BM_FrameDecode);

void BM_FrameDecodeAndFormat(benchmark::State& state) {
  ChannelReadingArray readings{};
  FormattingHandlers handlers(readings);
  RunFrames(state, handlers, readings);
}
BENCHMARK(BM_FrameDecodeAndFormat);

}  // namespace
