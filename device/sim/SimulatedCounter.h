#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "device/HidBackend.h"
#include "device/sim/SimClock.h"
#include "device/sim/SimulatedCounterModel.h"

namespace kvelt::hid::sim {

// The simulated counter as a device on the bus: it sends the four channel frames of one cycle
// every 10 ms of its clock, answers each request with one reply report, and can be plugged and
// unplugged. Shared by the backend and the handles opened on it; thread-safe.
//
// As the kernel's hidraw node does, every open handle keeps its own queue of at most
// kHandleQueueCapacity reports in the order the device sent them; a report that finds the
// queue full is dropped for that handle, and a lost reply is not sent again. With
// ReplyLoss::Never a full queue still drops frames but takes replies beyond the limit (the
// window has no retry, and loses replies whenever its main thread stalls longer than the
// queue lasts).
//
// Every report is 65 bytes: report id 1, then the code byte and its payload, zero-filled.
class SimulatedCounter {
 public:
  using TimePoint = SimClock::TimePoint;
  static constexpr std::uint16_t kReportLength = 65;
  static constexpr std::uint8_t kReportId = 1;
  static constexpr SimClock::Duration kCycle = std::chrono::milliseconds(10);
  static constexpr std::size_t kHandleQueueCapacity = 64;

  enum class ReplyLoss { LikeHidraw, Never };

  // One open handle as far as the counter is concerned (guarded by its lock). It must stay
  // where it is between OpenHandle() and CloseHandle().
  struct HandleState {
    std::uint64_t Generation = 0;  // plug-in period the handle was opened in
    bool Stopped = false;
    std::deque<std::vector<std::uint8_t>> Queue;  // report bodies (code byte first)
    std::uint64_t Dropped = 0;                    // reports that found the queue full
  };

  // The counter starts at the clock's present moment: the first cycle is due one kCycle later.
  explicit SimulatedCounter(std::shared_ptr<SimClock> clock, ReplyLoss replyLoss = ReplyLoss::Never);
  ~SimulatedCounter();
  SimulatedCounter(const SimulatedCounter&) = delete;
  SimulatedCounter& operator=(const SimulatedCounter&) = delete;

  bool Plugged() const;
  // Unplugging makes every open handle see the device gone, for good.
  void SetPlugged(bool plugged);

  // Handle side. A handle receives reports from OpenHandle() until CloseHandle(). Read blocks
  // until a report is queued for the handle, the clock reaches the next frame, the handle is
  // stopped, or the device goes.
  void OpenHandle(HandleState& handle);
  void CloseHandle(HandleState& handle);
  HidReadResult Read(HandleState& handle, std::uint8_t* buffer, std::size_t length);
  void Stop(HandleState& handle);
  bool Write(const HandleState& handle, const std::uint8_t* data, std::size_t length, std::size_t& written);
  // Reports dropped so far for a handle whose queue was full (the bus brought up to now first).
  std::uint64_t DroppedReports(const HandleState& handle);

  // For tests: every report written to the counter (report id first), and the settings.
  std::vector<std::vector<std::uint8_t>> ReceivedReports() const;
  void ClearReceivedReports();
  // Channel frames read from the handles' queues so far.
  std::uint64_t FramesSent() const;
  // Runs f with the model under the counter's lock.
  void InspectModel(const std::function<void(const SimulatedCounterModel&)>& f) const;

 private:
  bool Alive(const HandleState& handle) const;
  // Sends every frame due by now; frames no handle has room for are not made at all.
  void SendDueFrames(TimePoint now);
  void Send(const std::vector<std::uint8_t>& body, bool isReply);
  static std::size_t CopyReport(const std::uint8_t* body, std::size_t bodySize, std::uint8_t* buffer,
                                std::size_t length);

  const std::shared_ptr<SimClock> clock_;
  const ReplyLoss replyLoss_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  SimulatedCounterModel model_;
  bool plugged_ = true;
  std::uint64_t generation_ = 0;
  TimePoint nextFrameDue_;
  int nextChannel_ = 0;
  std::uint64_t framesSent_ = 0;
  std::vector<HandleState*> handles_;
  std::vector<std::vector<std::uint8_t>> received_;
};

}  // namespace kvelt::hid::sim
