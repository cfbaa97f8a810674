#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "device/HidBackend.h"
#include "device/sim/SimulatedCounterModel.h"

namespace kvelt::hid::sim {

// The simulated counter as a device on the bus: it sends the four channel frames of one cycle
// every 10 ms (on steady-clock deadlines), answers each request with one reply report, and
// can be plugged and unplugged. Shared by the backend and the handles opened on it;
// thread-safe.
//
// Every report is 65 bytes: report id 1, then the code byte and its payload, zero-filled.
class SimulatedCounter {
 public:
  using Clock = SimulatedCounterModel::Clock;
  static constexpr std::uint16_t kReportLength = 65;
  static constexpr std::uint8_t kReportId = 1;
  static constexpr Clock::duration kCycle = std::chrono::milliseconds(10);
  // A reader further behind than this skips the frames it missed, as a device's endpoint
  // would not keep them.
  static constexpr Clock::duration kMaxBacklog = std::chrono::milliseconds(100);

  // What one open handle is, as far as the counter is concerned (guarded by its lock).
  struct HandleState {
    std::uint64_t Generation = 0;  // plug-in period the handle was opened in
    bool Stopped = false;
  };

  SimulatedCounter();

  bool Plugged() const;
  // Unplugging makes every open handle see the device gone, for good.
  void SetPlugged(bool plugged);

  // Handle side. Read blocks until a reply is queued, the next frame is due, the handle is
  // stopped, or the device goes.
  HandleState OpenHandle() const;
  HidReadResult Read(HandleState& handle, std::uint8_t* buffer, std::size_t length);
  void Stop(HandleState& handle);
  bool Write(const HandleState& handle, const std::uint8_t* data, std::size_t length,
             std::size_t& written);

  // For tests: every report written to the counter (report id first), and the settings.
  std::vector<std::vector<std::uint8_t>> ReceivedReports() const;
  void ClearReceivedReports();
  std::uint64_t FramesSent() const;
  // Runs f with the model under the counter's lock.
  void InspectModel(const std::function<void(const SimulatedCounterModel&)>& f) const;

 private:
  bool Alive(const HandleState& handle) const;
  static std::size_t CopyReport(const std::uint8_t* body, std::size_t bodySize,
                                std::uint8_t* buffer, std::size_t length);

  mutable std::mutex Mutex_;
  std::condition_variable Changed_;
  SimulatedCounterModel Model_;
  bool Plugged_ = true;
  std::uint64_t Generation_ = 0;
  Clock::time_point NextFrameDue_;
  int NextChannel_ = 0;
  std::uint64_t FramesSent_ = 0;
  std::deque<std::vector<std::uint8_t>> Replies_;
  std::vector<std::vector<std::uint8_t>> Received_;
};

}  // namespace kvelt::hid::sim
