#include "device/sim/SimulatedCounter.h"

#include <algorithm>
#include <cerrno>

namespace kvelt::hid::sim {

SimulatedCounter::SimulatedCounter(ReplyLoss replyLoss)
    : ReplyLoss_(replyLoss), Model_(Clock::now()), NextFrameDue_(Clock::now() + kCycle) {}

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
      // What the handles held goes with the device.
      for (HandleState* handle : Handles_) handle->Queue.clear();
    }
  }
  Changed_.notify_all();
}

void SimulatedCounter::OpenHandle(HandleState& handle) {
  std::lock_guard lock(Mutex_);
  handle.Generation = Generation_;
  handle.Stopped = false;
  handle.Queue.clear();
  Handles_.push_back(&handle);
}

void SimulatedCounter::CloseHandle(HandleState& handle) {
  std::lock_guard lock(Mutex_);
  std::erase(Handles_, &handle);
  handle.Queue.clear();
}

bool SimulatedCounter::Alive(const HandleState& handle) const {
  return Plugged_ && handle.Generation == Generation_;
}

std::size_t SimulatedCounter::CopyReport(const std::uint8_t* body, std::size_t bodySize, std::uint8_t* buffer,
                                         std::size_t length) {
  std::uint8_t report[kReportLength] = {};
  report[0] = kReportId;
  std::copy_n(body, std::min<std::size_t>(bodySize, kReportLength - 1), report + 1);
  const std::size_t bytes = std::min<std::size_t>(length, kReportLength);
  std::copy_n(report, bytes, buffer);
  return bytes;
}

void SimulatedCounter::Send(const std::vector<std::uint8_t>& body, bool isReply) {
  const bool keep = isReply && ReplyLoss_ == ReplyLoss::Never;
  for (HandleState* handle : Handles_) {
    if (!Alive(*handle) || handle->Stopped) continue;
    if (handle->Queue.size() >= kHandleQueueCapacity && !keep) {
      ++handle->Dropped;
      continue;
    }
    handle->Queue.push_back(body);
  }
}

void SimulatedCounter::SendDueFrames(Clock::time_point now) {
  while (NextFrameDue_ <= now) {
    const bool anyRoom = std::any_of(Handles_.begin(), Handles_.end(), [this](const HandleState* h) {
      return Alive(*h) && !h->Stopped && h->Queue.size() < kHandleQueueCapacity;
    });
    if (!Plugged_ || !anyRoom) {
      // Nobody would keep them: the cycles due pass unseen (dropped by every open handle),
      // and the next one starts afresh.
      const auto cycles = (now - NextFrameDue_) / kCycle + 1;
      const auto frames =
          static_cast<std::uint64_t>(cycles * SimulatedCounterModel::kChannels - NextChannel_);
      if (Plugged_) {
        for (HandleState* handle : Handles_) {
          if (Alive(*handle) && !handle->Stopped) handle->Dropped += frames;
        }
      }
      NextFrameDue_ += cycles * kCycle;
      NextChannel_ = 0;
      return;
    }
    const auto frame = EncodeChannelFrame(Model_.Frame(NextChannel_, NextFrameDue_));
    Send(std::vector<std::uint8_t>(frame.begin(), frame.end()), false);
    if (++NextChannel_ == SimulatedCounterModel::kChannels) {
      NextChannel_ = 0;
      NextFrameDue_ += kCycle;
    }
  }
}

HidReadResult SimulatedCounter::Read(HandleState& handle, std::uint8_t* buffer, std::size_t length) {
  std::unique_lock lock(Mutex_);
  for (;;) {
    if (handle.Stopped) return {HidReadResult::Status::Stopped, 0, 0};
    if (!Alive(handle)) return {HidReadResult::Status::Gone, 0, ENODEV};
    SendDueFrames(Clock::now());
    if (!handle.Queue.empty()) {
      const std::vector<std::uint8_t> body = std::move(handle.Queue.front());
      handle.Queue.pop_front();
      if (!body.empty() && body[0] >= 100 && body[0] < 100 + SimulatedCounterModel::kChannels) ++FramesSent_;
      return {HidReadResult::Status::Report, CopyReport(body.data(), body.size(), buffer, length), 0};
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

bool SimulatedCounter::Write(const HandleState& handle, const std::uint8_t* data, std::size_t length,
                             std::size_t& written) {
  written = 0;
  {
    std::lock_guard lock(Mutex_);
    if (!Alive(handle) || data == nullptr || length == 0 || length > kReportLength) return false;
    Received_.emplace_back(data, data + length);
    // Frames due before the request go out before its reply.
    const Clock::time_point now = Clock::now();
    SendDueFrames(now);
    if (data[0] == kReportId && length >= 2) {
      std::vector<std::uint8_t> reply = Model_.HandleRequest(data + 1, length - 1, now);
      if (!reply.empty()) Send(reply, true);
    }
  }
  Changed_.notify_all();
  written = length;
  return true;
}

std::uint64_t SimulatedCounter::DroppedReports(const HandleState& handle) {
  std::lock_guard lock(Mutex_);
  SendDueFrames(Clock::now());
  return handle.Dropped;
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

void SimulatedCounter::InspectModel(const std::function<void(const SimulatedCounterModel&)>& f) const {
  std::lock_guard lock(Mutex_);
  f(Model_);
}

}  // namespace kvelt::hid::sim
