// The whole inbound path of the window: a counter -> the device's reader thread -> the hand-over
// to the Qt main thread -> TFMain::HidDataReceived with the read-outs and, when it runs, the
// chart. The window is a real X window when DISPLAY is set (run under xvfb-run), offscreen
// otherwise. Cases, in one run: window shown on the read-outs page, shown with the chart running
// off screen, hidden, and the chart page shown and running (asked for as a user does); the counter
// unpaced (as fast as the window takes reports) and paced at the real counter's 400 reports/s.
// Reported for each: reports per second, the hand-over latency (from the moment the reader has
// the report to the moment the handler starts), median and 99th percentile, and the process's
// CPU time per report (both threads, user + system; the X server's own work is not counted);
// paced cases also the share of one core. Baselines in the same run: the same reports fed to
// HidDataReceived in a plain loop on the main thread, and only decoded in a plain loop.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/Main.h"
#include "app/widgets/TBitBtn.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "device/qt/CounterSession.h"
#include "measure/ChannelReading.h"
#include "protocol/ByteOrder.h"
#include "protocol/ChannelFrame.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kReportLength = 65;
constexpr std::size_t kStampOffset = 7;  // Raw1 and Raw2 of the frame (payload bytes 6..13)
constexpr int kReportsPerIteration = 20000;
constexpr int kPacedReportsPerSecond = 400;
constexpr int kPacedReports = 4000;  // ten seconds of the real counter

// How the window is set up for a case.
// kShown: the read-outs page on screen. kChartOnScreen: the chart page asked for with show_chart,
// made current and run, as a user does.
// kChartWideOnScreen: the same with the widest time window chosen.
enum Mode : int {
  kHidden = 0,
  kShown = 1,
  kShownChartRunning = 2,
  kChartOnScreen = 3,
  kChartWideOnScreen = 4
};

// Reports made by the simulated counter's reader: 0 = unpaced, else per second.
std::atomic<int> g_reportsPerSecond{0};

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Channel frames 100..103 in turn, each carrying the time it was read in Raw1/Raw2.
class FrameSource {
 public:
  void Next(std::uint8_t* report) {
    kvelt::ChannelFrame frame;
    const int channel = static_cast<int>(counter_ % 4);
    frame.Code = static_cast<std::uint8_t>(100 + channel);
    frame.GateTimeMs = 100;
    frame.ResolutionX4 = 4000;
    frame.Position = static_cast<float>(counter_) * 0.001f;
    frame.Speed = 0.5f * static_cast<float>(channel + 1);
    frame.Coefficient = 1.0f;
    ++counter_;
    const auto bytes = kvelt::EncodeChannelFrame(frame);
    std::fill(report, report + kReportLength, std::uint8_t{0});
    report[0] = 1;
    std::copy(bytes.begin(), bytes.end(), report + 1);
    const auto stamp = static_cast<std::uint64_t>(NowNs());
    kvelt::StoreU32Le(report + kStampOffset, static_cast<std::uint32_t>(stamp));
    kvelt::StoreU32Le(report + kStampOffset + 4, static_cast<std::uint32_t>(stamp >> 32));
  }

 private:
  std::uint64_t counter_ = 0;
};

std::int64_t StampOf(const std::uint8_t* data) {  // data = the bytes after the report id
  const std::uint64_t low = kvelt::LoadU32Le(data + kStampOffset - 1);
  const std::uint64_t high = kvelt::LoadU32Le(data + kStampOffset + 3);
  return static_cast<std::int64_t>(low | (high << 32));
}

// The process's CPU time so far (all threads, user + system), in nanoseconds.
std::int64_t ProcessCpuNs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ns = [](const timeval& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + static_cast<std::int64_t>(t.tv_usec) * 1000;
  };
  return ns(usage.ru_utime) + ns(usage.ru_stime);
}

// A reader handle that has the next report ready whenever it is asked, or at the counter's pace.
class UnpacedHandle final : public kvelt::hid::HidHandle {
 public:
  kvelt::hid::HidReadResult Read(std::uint8_t* buffer, std::size_t length) override {
    if (stopped_.load()) return {kvelt::hid::HidReadResult::Status::Stopped, 0, 0};
    if (const int rate = g_reportsPerSecond.load(); rate > 0) {
      // The counter's own clock: one report per period on steady deadlines.
      const auto period = std::chrono::nanoseconds(1000000000 / rate);
      const auto now = Clock::now();
      next_ = next_ < now - period ? now : next_ + period;
      std::this_thread::sleep_until(next_);
      if (stopped_.load()) return {kvelt::hid::HidReadResult::Status::Stopped, 0, 0};
    }
    std::uint8_t report[kReportLength];
    source_.Next(report);
    const std::size_t bytes = std::min(length, kReportLength);
    std::copy(report, report + bytes, buffer);
    return {kvelt::hid::HidReadResult::Status::Report, bytes, 0};
  }
  void RequestStop() override { stopped_.store(true); }
  bool Write(const std::uint8_t* /*data*/, std::size_t length, std::size_t& written) override {
    written = length;
    return true;
  }

 private:
  std::atomic<bool> stopped_{false};
  FrameSource source_;
  Clock::time_point next_{};
};

class UnpacedBackend final : public kvelt::hid::HidBackend {
 public:
  std::vector<kvelt::hid::HidInterfaceInfo> Enumerate() override {
    kvelt::hid::HidInterfaceInfo info;
    info.Identity = info.Path = "bench/unpaced-kvelt";
    info.VendorID = 0x1209;
    info.ProductID = 0x0001;
    info.ProductString = "KVELT";
    info.InputReportByteLength = info.OutputReportByteLength = kReportLength;
    return {info};
  }
  std::unique_ptr<kvelt::hid::HidHandle> Open(const kvelt::hid::HidInterfaceInfo& /*info*/,
                                              kvelt::hid::HidOpenMode /*mode*/) override {
    return std::make_unique<UnpacedHandle>();
  }
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override { return false; }
  void SetChangeCallback(std::function<void()> /*callback*/) override {}
};

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_inbound";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    // A real X window when there is a display; offscreen otherwise.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return new QApplication(argc, argv);
  }();
  return *application;
}

// The main window over a temporary config folder and the benchmark's counter: hidden, shown,
// or shown with the chart running.
struct BenchWindow {
  QTemporaryDir Dir;
  std::unique_ptr<TFMain> Window;

  explicit BenchWindow(std::int64_t mode) {
    Application();
    kvelt::app::ProgramOptions options;
    options.ConfigDir = Dir.path();
    kvelt::hid::ScopedHidBackendFactory factory([] { return std::make_unique<UnpacedBackend>(); });
    Window = std::make_unique<TFMain>(options);
    if (mode != kHidden) {
      Window->show();
      while (Window->windowHandle() == nullptr || !Window->windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      }
    }
    if (mode == kChartOnScreen || mode == kChartWideOnScreen) {
      Window->Control<QCheckBox>("show_chart")->click();
      Window->Control<QTabWidget>("PageControl1")->setCurrentWidget(Window->Control<QWidget>("TabSheet1"));
    }
    if (mode == kChartWideOnScreen) {
      auto* windows = Window->Control<QComboBox>("ChartWindowList");
      windows->setCurrentIndex(windows->count() - 1);
      Window->ChartWindowListChange(windows);
    }
    if (mode == kShownChartRunning || mode == kChartOnScreen || mode == kChartWideOnScreen) {
      Window->Control<TBitBtn>("PlayButton")->click();
    }
    while (Window->CurrentDevice() == nullptr) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
};

const char* ModeLabel(std::int64_t mode) {
  switch (mode) {
    case kHidden:
      return "hidden";
    case kShown:
      return "read-outs page shown";
    case kShownChartRunning:
      return "read-outs page shown, chart running off screen";
    case kChartOnScreen:
      return "chart page shown, running";
    default:
      return "chart page shown, running, widest time window";
  }
}

void SetLatencyCounters(benchmark::State& state, std::vector<std::int64_t>& latencies) {
  if (latencies.empty()) return;
  std::sort(latencies.begin(), latencies.end());
  const auto at = [&](double q) {
    return static_cast<double>(
               latencies[static_cast<std::size_t>(q * static_cast<double>(latencies.size() - 1))]) /
           1000.0;
  };
  state.counters["handover_median_us"] = at(0.5);
  state.counters["handover_p99_us"] = at(0.99);
}

// Counter -> reader -> hand-over -> HidDataReceived, `reports` per iteration.
void RunInboundPath(benchmark::State& state, int reportsPerSecond, int reports) {
  BenchWindow bench(state.range(0));
  TFMain& window = *bench.Window;
  state.SetLabel(ModeLabel(state.range(0)));
  std::vector<std::int64_t> latencies;
  latencies.reserve(static_cast<std::size_t>(reports) * 16);
  int handled = 0;
  int target = 0;
  QEventLoop loop;
  g_reportsPerSecond.store(reportsPerSecond);
  // The window's own handler, wrapped to take the time at which the hand-over reached it.
  window.CurrentDevice()->SetDataHandler([&](kvelt::hid::THidDevice& device, std::uint8_t reportId,
                                             const std::uint8_t* data, std::uint16_t size) {
    latencies.push_back(NowNs() - StampOf(data));
    window.HidDataReceived(&device, reportId, data, size);
    if (++handled == target) loop.quit();
  });
  // Settle: the first reports after the set-up are not measured.
  target = handled + std::max(1, reports / 20);
  loop.exec();
  latencies.clear();
  std::int64_t total = 0;
  const std::int64_t cpuBefore = ProcessCpuNs();
  const auto wallBefore = Clock::now();
  for (auto _ : state) {
    target = handled + reports;
    loop.exec();
    total += reports;
  }
  const double cpuNs = static_cast<double>(ProcessCpuNs() - cpuBefore);
  const double wallNs = static_cast<double>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - wallBefore).count());
  window.CurrentDevice()->SetDataHandler(nullptr);
  g_reportsPerSecond.store(0);
  state.SetItemsProcessed(total);
  state.counters["reports_per_s"] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  state.counters["cpu_us_per_report"] = cpuNs / 1000.0 / static_cast<double>(total);
  if (reportsPerSecond > 0) {
    state.counters["cpu_percent_of_core"] = 100.0 * cpuNs / wallNs;
  }
  SetLatencyCounters(state, latencies);
}

// Unpaced: as many reports as the window takes. Argument: the Mode.
void BM_InboundPath(benchmark::State& state) { RunInboundPath(state, 0, kReportsPerIteration); }
BENCHMARK(BM_InboundPath)
    ->Arg(kShown)
    ->Arg(kShownChartRunning)
    ->Arg(kHidden)
    ->Arg(kChartOnScreen)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// Paced at the real counter's 400 reports/s: what the window costs in use.
void BM_InboundPathAt400(benchmark::State& state) {
  RunInboundPath(state, kPacedReportsPerSecond, kPacedReports);
}
BENCHMARK(BM_InboundPathAt400)
    ->Arg(kShown)
    ->Arg(kShownChartRunning)
    ->Arg(kHidden)
    ->Arg(kChartOnScreen)
    ->Arg(kChartWideOnScreen)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Baseline: the same reports, made and handed to HidDataReceived in a plain loop on the main thread.
void BM_DirectHandler(benchmark::State& state) {
  BenchWindow bench(state.range(0));
  TFMain& window = *bench.Window;
  state.SetLabel(ModeLabel(state.range(0)));
  window.CurrentDevice()->SetDataHandler(nullptr);
  FrameSource source;
  std::uint8_t report[kReportLength];
  std::int64_t total = 0;
  const std::int64_t cpuBefore = ProcessCpuNs();
  for (auto _ : state) {
    for (int i = 0; i < kReportsPerIteration; ++i) {
      source.Next(report);
      window.HidDataReceived(nullptr, report[0], report + 1, static_cast<quint16>(kReportLength - 1));
    }
    QCoreApplication::processEvents();  // the repaints the read-outs asked for, as the event loop would
    total += kReportsPerIteration;
  }
  state.SetItemsProcessed(total);
  state.counters["reports_per_s"] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  state.counters["cpu_us_per_report"] =
      static_cast<double>(ProcessCpuNs() - cpuBefore) / 1000.0 / static_cast<double>(total);
}
BENCHMARK(BM_DirectHandler)
    ->Arg(kShown)
    ->Arg(kHidden)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

// Baseline: the same reports only decoded into the channel readings, in a plain loop.
void BM_DecodeOnly(benchmark::State& state) {
  FrameSource source;
  kvelt::ChannelReadingArray readings{};
  std::uint8_t report[kReportLength];
  std::int64_t total = 0;
  const std::int64_t cpuBefore = ProcessCpuNs();
  for (auto _ : state) {
    for (int i = 0; i < kReportsPerIteration; ++i) {
      source.Next(report);
      const int channel = report[1] - 100;
      kvelt::StoreChannelFrame(readings[static_cast<std::size_t>(channel)], report + 2, 0);
    }
    benchmark::DoNotOptimize(readings);
    total += kReportsPerIteration;
  }
  state.SetItemsProcessed(total);
  state.counters["reports_per_s"] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  state.counters["cpu_us_per_report"] =
      static_cast<double>(ProcessCpuNs() - cpuBefore) / 1000.0 / static_cast<double>(total);
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
