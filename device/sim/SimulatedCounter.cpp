#include "device/sim/SimulatedCounter.h"

#include <algorithm>
#include <cerrno>

namespace kvelt::hid::sim {

SimulatedCounter::SimulatedCounter()
    : Model_(Clock::now()), NextFrameDue_(Clock::now() + kCycle) {}

bool SimulatedCounter::Plugged() const {
  std::lock_guard lock(Mutex_);
  return Plugged_;
}

void SimulatedCounter::SetPlugged(bool plugged) {
  {
    std::lock_guard lock(Mutex_);
    if (Plugged_ == plugged) return;
    Plugged_ = plugged;
    if (!plugged) {
      ++Generation_;
      Replies_.clear();  // what the endpoint held goes with the device
    }
  }
  Changed_.notify_all();
}

SimulatedCounter::HandleState SimulatedCounter::OpenHandle() const {
  std::lock_guard lock(Mutex_);
  return HandleState{Generation_, false};
}

bool SimulatedCounter::Alive(const HandleState& handle) const {
  return Plugged_ && handle.Generation == Generation_;
}

std::size_t SimulatedCounter::CopyReport(const std::uint8_t* body, std::size_t bodySize,
                                         std::uint8_t* buffer, std::size_t length) {
  std::uint8_t report[kReportLength] = {};
  report[0] = kReportId;
  std::copy_n(body, std::min<std::size_t>(bodySize, kReportLength - 1), report + 1);
  const std::size_t bytes = std::min<std::size_t>(length, kReportLength);
  std::copy_n(report, bytes, buffer);
  return bytes;
}

HidReadResult SimulatedCounter::Read(HandleState& handle, std::uint8_t* buffer,
                                     std::size_t length) {
  std::unique_lock lock(Mutex_);
  for (;;) {
    if (handle.Stopped) return {HidReadResult::Status::Stopped, 0, 0};
    if (!Alive(handle)) return {HidReadResult::Status::Gone, 0, ENODEV};
    if (!Replies_.empty()) {
      const std::vector<std::uint8_t> reply = std::move(Replies_.front());
      Replies_.pop_front();
      return {HidReadResult::Status::Report, CopyReport(reply.data(), reply.size(), buffer, length),
              0};
    }
    const Clock::time_point now = Clock::now();
    if (NextChannel_ == 0 && now - NextFrameDue_ > kMaxBacklog) NextFrameDue_ = now;
    if (now >= NextFrameDue_) {
      const auto frame = EncodeChannelFrame(Model_.Frame(NextChannel_, NextFrameDue_));
      if (++NextChannel_ == SimulatedCounterModel::kChannels) {
        NextChannel_ = 0;
        NextFrameDue_ += kCycle;
      }
      ++FramesSent_;
      return {HidReadResult::Status::Report, CopyReport(frame.data(), frame.size(), buffer, length),
              0};
    }
    Changed_.wait_until(lock, NextFrameDue_);
  }
}

void SimulatedCounter::Stop(HandleState& handle) {
  {
    std::lock_guard lock(Mutex_);
    handle.Stopped = true;
  }
  Changed_.notify_all();
}

bool SimulatedCounter::Write(const HandleState& handle, const std::uint8_t* data,
                             std::size_t length, std::size_t& written) {
  written = 0;
  {
    std::lock_guard lock(Mutex_);
    if (!Alive(handle) || data == nullptr || length == 0 || length > kReportLength) return false;
    Received_.emplace_back(data, data + length);
    if (data[0] == kReportId && length >= 2) {
      std::vector<std::uint8_t> reply = Model_.HandleRequest(data + 1, length - 1, Clock::now());
      if (!reply.empty()) Replies_.push_back(std::move(reply));
    }
  }
  Changed_.notify_all();
  written = length;
  return true;
}

std::vector<std::vector<std::uint8_t>> SimulatedCounter::ReceivedReports() const {
  std::lock_guard lock(Mutex_);
  return Received_;
}

void SimulatedCounter::ClearReceivedReports() {
  std::lock_guard lock(Mutex_);
  Received_.clear();
}

std::uint64_t SimulatedCounter::FramesSent() const {
  std::lock_guard lock(Mutex_);
  return FramesSent_;
}

void SimulatedCounter::InspectModel(
    const std::function<void(const SimulatedCounterModel&)>& f) const {
  std::lock_guard lock(Mutex_);
  f(Model_);
}

}  // namespace kvelt::hid::sim
