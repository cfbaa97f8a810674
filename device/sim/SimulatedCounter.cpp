#include "device/sim/SimulatedCounter.h"

#include <algorithm>
#include <cerrno>
#include <utility>

namespace kvelt::hid::sim {

SimulatedCounter::SimulatedCounter(std::shared_ptr<SimClock> clock, ReplyLoss replyLoss)
    : clock_(std::move(clock)),
      replyLoss_(replyLoss),
      model_(clock_->Now()),
      nextFrameDue_(clock_->Now() + kCycle) {
  clock_->Attach(changed_, mutex_);
}

SimulatedCounter::~SimulatedCounter() { clock_->Detach(changed_); }

bool SimulatedCounter::Plugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

void SimulatedCounter::SetPlugged(bool plugged) {
  {
    std::lock_guard lock(mutex_);
    if (plugged_ == plugged) return;
    plugged_ = plugged;
    if (!plugged) {
      ++generation_;
      // What the handles held goes with the device.
      for (HandleState* handle : handles_) handle->Queue.clear();
    }
  }
  changed_.notify_all();
}

void SimulatedCounter::OpenHandle(HandleState& handle) {
  std::lock_guard lock(mutex_);
  handle.Generation = generation_;
  handle.Stopped = false;
  handle.Queue.clear();
  handles_.push_back(&handle);
}

void SimulatedCounter::CloseHandle(HandleState& handle) {
  std::lock_guard lock(mutex_);
  std::erase(handles_, &handle);
  handle.Queue.clear();
}

bool SimulatedCounter::Alive(const HandleState& handle) const {
  return plugged_ && handle.Generation == generation_;
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
  const bool keep = isReply && replyLoss_ == ReplyLoss::Never;
  for (HandleState* handle : handles_) {
    if (!Alive(*handle) || handle->Stopped) continue;
    if (handle->Queue.size() >= kHandleQueueCapacity && !keep) {
      ++handle->Dropped;
      continue;
    }
    handle->Queue.push_back(body);
  }
}

void SimulatedCounter::SendDueFrames(TimePoint now) {
  while (nextFrameDue_ <= now) {
    const bool anyRoom = std::any_of(handles_.begin(), handles_.end(), [this](const HandleState* h) {
      return Alive(*h) && !h->Stopped && h->Queue.size() < kHandleQueueCapacity;
    });
    if (!plugged_ || !anyRoom) {
      // Nobody would keep them: the cycles due pass unseen (dropped by every open handle),
      // and the next one starts afresh.
      const auto cycles = (now - nextFrameDue_) / kCycle + 1;
      const auto frames =
          static_cast<std::uint64_t>(cycles * SimulatedCounterModel::kChannels - nextChannel_);
      if (plugged_) {
        for (HandleState* handle : handles_) {
          if (Alive(*handle) && !handle->Stopped) handle->Dropped += frames;
        }
      }
      nextFrameDue_ += cycles * kCycle;
      nextChannel_ = 0;
      return;
    }
    const auto frame = EncodeChannelFrame(model_.Frame(nextChannel_, nextFrameDue_));
    Send(std::vector<std::uint8_t>(frame.begin(), frame.end()), false);
    if (++nextChannel_ == SimulatedCounterModel::kChannels) {
      nextChannel_ = 0;
      nextFrameDue_ += kCycle;
    }
  }
}

HidReadResult SimulatedCounter::Read(HandleState& handle, std::uint8_t* buffer, std::size_t length) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (handle.Stopped) return {HidReadResult::Status::Stopped, 0, 0};
    if (!Alive(handle)) return {HidReadResult::Status::Gone, 0, ENODEV};
    SendDueFrames(clock_->Now());
    if (!handle.Queue.empty()) {
      const std::vector<std::uint8_t> body = std::move(handle.Queue.front());
      handle.Queue.pop_front();
      if (!body.empty() && body[0] >= 100 && body[0] < 100 + SimulatedCounterModel::kChannels) ++framesSent_;
      return {HidReadResult::Status::Report, CopyReport(body.data(), body.size(), buffer, length), 0};
    }
    clock_->WaitUntil(changed_, lock, nextFrameDue_);
  }
}

void SimulatedCounter::Stop(HandleState& handle) {
  {
    std::lock_guard lock(mutex_);
    handle.Stopped = true;
  }
  changed_.notify_all();
}

bool SimulatedCounter::Write(const HandleState& handle, const std::uint8_t* data, std::size_t length,
                             std::size_t& written) {
  written = 0;
  {
    std::lock_guard lock(mutex_);
    if (!Alive(handle) || data == nullptr || length == 0 || length > kReportLength) return false;
    received_.emplace_back(data, data + length);
    // Frames due before the request go out before its reply.
    const TimePoint now = clock_->Now();
    SendDueFrames(now);
    if (data[0] == kReportId && length >= 2) {
      std::vector<std::uint8_t> reply = model_.HandleRequest(data + 1, length - 1, now);
      if (!reply.empty()) Send(reply, true);
    }
  }
  changed_.notify_all();
  written = length;
  return true;
}

std::uint64_t SimulatedCounter::DroppedReports(const HandleState& handle) {
  std::lock_guard lock(mutex_);
  SendDueFrames(clock_->Now());
  return handle.Dropped;
}

std::vector<std::vector<std::uint8_t>> SimulatedCounter::ReceivedReports() const {
  std::lock_guard lock(mutex_);
  return received_;
}

void SimulatedCounter::ClearReceivedReports() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

std::uint64_t SimulatedCounter::FramesSent() const {
  std::lock_guard lock(mutex_);
  return framesSent_;
}

void SimulatedCounter::InspectModel(const std::function<void(const SimulatedCounterModel&)>& f) const {
  std::lock_guard lock(mutex_);
  f(model_);
}

}  // namespace kvelt::hid::sim
