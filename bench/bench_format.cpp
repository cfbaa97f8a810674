// Formatter alone, line composition, and recording at the shortest period: one line per
// channel-4 frame appended with open-append-close beside the same lines written to a file held open.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "measure/ChannelReading.h"
#include "measure/FixedPointFormat.h"
#include "measure/RecordFile.h"
#include "measure/RecordLine.h"

namespace {

namespace fs = std::filesystem;

std::vector<float> MeasuredValues() {
  std::vector<float> values;
  for (int i = 0; i < 1024; ++i) {
    values.push_back(static_cast<float>(i * 37 % 2000) * 0.731f - 400.0f);  // positions
    values.push_back(static_cast<float>(i % 97) * 12.25f);                  // speeds
  }
  return values;
}

void BM_FormatFixedPoint(benchmark::State& state) {
  const std::vector<float> values = MeasuredValues();
  const int decimals = static_cast<int>(state.range(0));
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvelt::FormatFixedPoint(static_cast<double>(values[next]), 15, decimals, ","));
    next = (next + 1) % values.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatFixedPoint)->Arg(0)->Arg(2)->Arg(4);

void BM_FormatFixedPointScientific(benchmark::State& state) {
  const double value = static_cast<double>(1e16f);
  for (auto _ : state) {
    benchmark::DoNotOptimize(kvelt::FormatFixedPoint(value, 15, 2, ","));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatFixedPointScientific);

kvelt::RecordColumns AllColumns() {
  kvelt::RecordColumns columns;
  columns.Date = true;
  columns.Time = true;
  columns.Position = {true, true, true, true};
  columns.Speed = {true, true, true, true};
  return columns;
}

kvelt::ChannelReadingArray ReadingsAt(const std::vector<float>& values, std::size_t frame) {
  kvelt::ChannelReadingArray readings{};
  for (std::size_t channel = 0; channel < readings.size(); ++channel) {
    readings[channel].Position = values[(frame + 2 * channel) % values.size()];
    readings[channel].Speed = values[(frame + 2 * channel + 1) % values.size()];
  }
  return readings;
}

const std::function<std::string()> kDate = [] { return std::string("2014-02-27"); };
const std::function<std::string()> kTime = [] { return std::string("14:05:09"); };

void BM_ComposeRecordLine(benchmark::State& state) {
  const std::vector<float> values = MeasuredValues();
  const kvelt::RecordColumns columns = AllColumns();
  std::size_t frame = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kvelt::ComposeRecordLine(columns, ReadingsAt(values, frame++), 2, ",", kDate, kTime));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeRecordLine);

// The lines a recording with every column ticked writes, d = 2.
const std::vector<std::string>& RecordedLines() {
  static const std::vector<std::string> lines = [] {
    const std::vector<float> values = MeasuredValues();
    std::vector<std::string> composed;
    for (std::size_t frame = 0; frame < 1024; ++frame) {
      composed.push_back(
          kvelt::ComposeRecordLine(AllColumns(), ReadingsAt(values, frame), 2, ",", kDate, kTime));
    }
    return composed;
  }();
  return lines;
}

// A scratch file on the disk of KVELT_BENCH_DIR (default: the temporary directory).
class ScratchFile {
 public:
  explicit ScratchFile(const char* name) {
    const char* folder = std::getenv("KVELT_BENCH_DIR");
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = (folder != nullptr ? fs::path(folder) : fs::temp_directory_path()) /
            (std::string(name) + "-" + std::to_string(stamp) + ".csv");
  }
  ~ScratchFile() {
    std::error_code error;
    fs::remove(path_, error);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  std::string Path() const { return path_.string(); }
  // Keeps the file small on long runs; rare enough not to weigh on the figures.
  void TrimEvery(std::size_t lines, std::size_t written) const {
    if (written % lines == 0) {
      std::error_code error;
      fs::resize_file(path_, 0, error);
    }
  }

 private:
  fs::path path_;
};

constexpr std::size_t kTrimLines = 1 << 16;

void BM_RecordOpenAppendClose(benchmark::State& state) {
  const auto& lines = RecordedLines();
  const ScratchFile file("kvelt-bench-append");
  const std::string path = file.Path();
  std::size_t written = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string& line = lines[written % lines.size()];
    if (kvelt::AppendLineToFile(path, line) != kvelt::AppendResult::Written) {
      state.SkipWithError("append failed");
      break;
    }
    bytes += line.size();
    file.TrimEvery(kTrimLines, ++written);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(written));
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_RecordOpenAppendClose)->UseRealTime();

// The same lines to a file held open; `flushEveryLine` hands each line to the system at once
// (one write per line, as the per-line open does), otherwise stdio buffers them.
void RecordHeldOpen(benchmark::State& state, bool flushEveryLine) {
  const auto& lines = RecordedLines();
  const ScratchFile file(flushEveryLine ? "kvelt-bench-open-flush" : "kvelt-bench-open");
  std::FILE* stream = std::fopen(file.Path().c_str(), "ab");
  if (stream == nullptr) {
    state.SkipWithError("open failed");
    return;
  }
  std::size_t written = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string& line = lines[written % lines.size()];
    if (std::fwrite(line.data(), 1, line.size(), stream) != line.size() ||
        (flushEveryLine && std::fflush(stream) != 0)) {
      state.SkipWithError("write failed");
      break;
    }
    bytes += line.size();
    if (++written % kTrimLines == 0) {
      std::fflush(stream);
      file.TrimEvery(kTrimLines, written);
    }
  }
  std::fclose(stream);
  state.SetItemsProcessed(static_cast<std::int64_t>(written));
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_RecordHeldOpenBuffered(benchmark::State& state) { RecordHeldOpen(state, false); }
void BM_RecordHeldOpenFlushedPerLine(benchmark::State& state) { RecordHeldOpen(state, true); }
BENCHMARK(BM_RecordHeldOpenBuffered)->UseRealTime();
BENCHMARK(BM_RecordHeldOpenFlushedPerLine)->UseRealTime();

}  // namespace
