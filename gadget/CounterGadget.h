#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "device/sim/SimulatedCounterModel.h"
#include "gadget/ConfigfsGadget.h"
#include "gadget/GadgetOptions.h"
#include "gadget/HostileReports.h"

namespace kvelt::gadget {

// The simulated counter's firmware on a USB HID gadget: one thread, one poll() over the
// gadget's /dev/hidgN, the cycle timer, the plug timer and the signals. While plugged it sends
// the four channel frames of a cycle every 10 ms and answers every request it reads. It plugs
// and unplugs by binding and unbinding the controller; no write is in flight across an unbind.
// SIGTERM and SIGINT end Run(), SIGUSR1 prints the counts, SIGUSR2 unplugs or plugs.
//
// The counter's clock is its cycle count: cycle k is measured at k x 10 ms. A cycle is made
// when it is due and the host has taken the one before it, so a bus slower than the counter
// (an emulated one) delays frames instead of losing them and every frame's values are those of
// its cycle. Only a host that lags more than kMaxLag behind (or does not read at all) makes
// the counter skip the cycles in between. A reader can then tell every lost frame from the
// positions alone.
class CounterGadget {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::size_t kReportLength = 65;  // report id and 64 bytes
  static constexpr std::size_t kQueueLimit = 16;
  static constexpr std::chrono::milliseconds kMaxLag{2000};

  CounterGadget(ConfigfsGadget& gadget, std::string controller, const GadgetOptions& options);
  ~CounterGadget();
  CounterGadget(const CounterGadget&) = delete;
  CounterGadget& operator=(const CounterGadget&) = delete;

  // Binds, runs until SIGTERM or SIGINT, and leaves the gadget unbound. Throws
  // std::runtime_error when the gadget cannot be bound or its node not used.
  void Run();

 private:
  struct Counts {
    std::uint64_t Frames = 0;
    std::uint64_t Channel4Frames = 0;
    std::uint64_t Requests = 0;
    std::uint64_t Replies = 0;
    std::uint64_t Dropped = 0;  // extras that found no room, reports queued at an unplug
    std::uint64_t SkippedCycles = 0;
    std::uint64_t WriteErrors = 0;
  };

  void Plug();
  // `replug`: plug back after --unplugged-for (a scheduled unplug), or wait for SIGUSR2.
  void Unplug(bool replug);
  void ArmPlugTimer(std::chrono::milliseconds after);
  // Makes every cycle that is due and finds room, and skips those more than kMaxLag late.
  void MakeDueCycles();
  Clock::time_point CounterTime() const;
  void OnPlugTimer();
  void ReadRequest();
  void WriteQueued();
  void WaitForWriteToFinish();
  bool OnSignal();  // false when the program is to end
  // Replies always find room; other reports are not made when kQueueLimit are waiting.
  void Enqueue(std::vector<std::uint8_t> report, bool reply);
  void PrintCounts(const char* what) const;

  ConfigfsGadget& gadget_;
  const std::string controller_;
  const GadgetOptions options_;
  const Clock::time_point start_;  // the counter's cycle 0
  hid::sim::SimulatedCounterModel model_;
  HostileReports hostile_;
  int deviceFd_ = -1;
  int cycleTimerFd_ = -1;
  int plugTimerFd_ = -1;
  int signalFd_ = -1;
  bool plugged_ = false;
  bool unpluggedOnce_ = false;
  int nextChannel_ = 0;
  std::uint64_t cycle_ = 0;                      // the next cycle to make
  std::deque<std::vector<std::uint8_t>> queue_;  // whole reports, report id first
  Counts counts_;
  Counts atPlug_;
  Clock::time_point pluggedAt_;
};

}  // namespace kvelt::gadget
