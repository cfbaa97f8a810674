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
class CounterGadget {
 public:
  using Clock = hid::sim::SimulatedCounterModel::Clock;
  static constexpr std::size_t kReportLength = 65;  // report id and 64 bytes
  static constexpr std::size_t kQueueLimit = 16;

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
    std::uint64_t Dropped = 0;  // frames and extras the host did not take in time
    std::uint64_t WriteErrors = 0;
  };

  void Plug();
  // `replug`: plug back after --unplugged-for (a scheduled unplug), or wait for SIGUSR2.
  void Unplug(bool replug);
  void ArmPlugTimer(std::chrono::milliseconds after);
  void OnCycles(std::uint64_t cycles);
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
  hid::sim::SimulatedCounterModel model_;
  HostileReports hostile_;
  int deviceFd_ = -1;
  int cycleTimerFd_ = -1;
  int plugTimerFd_ = -1;
  int signalFd_ = -1;
  bool plugged_ = false;
  bool unpluggedOnce_ = false;
  int nextChannel_ = 0;
  std::uint64_t cycle_ = 0;
  std::deque<std::vector<std::uint8_t>> queue_;  // whole reports, report id first
  Counts counts_;
  Counts atPlug_;
  Clock::time_point pluggedAt_;
};

}  // namespace kvelt::gadget
