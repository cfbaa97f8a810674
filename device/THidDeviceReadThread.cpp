#include "device/THidDeviceReadThread.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>
#include <limits>

#include "device/THidDevice.h"

namespace kvelt::hid {

THidDeviceReadThread::THidDeviceReadThread(THidDevice& device, MainThreadPoster& poster,
                                           std::size_t reportLength, int sleepTime,
                                           std::shared_ptr<HidHandle> handle)
    : device_(&device),
      handOver_(poster),
      buffer_(reportLength),
      sleepTime_(sleepTime),
      handle_(buffer_.empty() ? nullptr : std::move(handle)) {
  deliverWork_ = [this] { device_->DeliverReport(buffer_.data(), numberOfBytesRead_); };
  thread_ = std::thread([this] { Execute(); });
}

THidDeviceReadThread::~THidDeviceReadThread() {
  if (thread_.joinable() && !Stop()) {
    // Owners retire a reader that is inside its own hand-over instead of destroying it.
    std::terminate();
  }
}

bool THidDeviceReadThread::Stop() {
  if (!thread_.joinable()) return true;
  handOver_.RequestStop();
  if (handle_) handle_->RequestStop();
  if (!handOver_.WaitForReader()) return false;
  thread_.join();
  ReleaseHandle();
  return true;
}

bool THidDeviceReadThread::Reap() {
  if (!thread_.joinable()) return true;
  if (!handOver_.Finished()) return false;
  thread_.join();
  ReleaseHandle();
  return true;
}

void THidDeviceReadThread::ReleaseHandle() {
  if (device_) device_->ForgetReadHandle(handle_.get());
  handle_.reset();
}

std::uint32_t THidDeviceReadThread::DeliveredLength(std::size_t reported, std::size_t bufferSize) {
  return static_cast<std::uint32_t>(std::min(
      {reported, bufferSize, static_cast<std::size_t>(std::numeric_limits<std::uint16_t>::max()) + 1}));
}

void THidDeviceReadThread::Execute() {
  bool haveHandle = handle_ != nullptr;
  while (!handOver_.StopRequested()) {
    if (!haveHandle) {
      if (!AcquireHandle()) {
        handOver_.Pause(std::chrono::milliseconds(sleepTime_.load()));
        continue;
      }
      haveHandle = true;
      if (handOver_.StopRequested()) break;
    }
    std::fill(buffer_.begin(), buffer_.end(), std::uint8_t{0});
    const HidReadResult result = handle_->Read(buffer_.data(), buffer_.size());
    switch (result.State) {
      case HidReadResult::Status::Report:
        numberOfBytesRead_ = DeliveredLength(result.Bytes, buffer_.size());
        if (numberOfBytesRead_ > 0) handOver_.HandOver(deliverWork_);
        break;
      case HidReadResult::Status::Stopped:
        // Our own stop, or the device closed the handle under us (unplugged): reopen, which
        // fails and pauses while the device may not open handles.
        haveHandle = false;
        break;
      case HidReadResult::Status::Gone:
        // The kernel hangs the node up the moment the device goes; the system's notice of it
        // comes seconds later. The device is marked unplugged now.
        haveHandle = false;
        ReportGone();
        handOver_.Pause(std::chrono::milliseconds(sleepTime_.load()));
        break;
      case HidReadResult::Status::Failed:
        haveHandle = false;
        ReportError(static_cast<std::uint32_t>(result.Error));
        handOver_.Pause(std::chrono::milliseconds(sleepTime_.load()));
        break;
    }
  }
  handOver_.ReaderFinished();
}

bool THidDeviceReadThread::AcquireHandle() {
  bool opened = false;
  const std::function<void()> work = [this, &opened] {
    // A handle that failed is dropped here, on the main thread, before a fresh one is opened.
    if (handle_) {
      device_->ForgetReadHandle(handle_.get());
      handle_.reset();
    }
    if (handOver_.StopRequested()) return;
    if (!buffer_.empty()) handle_ = device_->OpenReadHandle();
    if (!handle_) {
      lastError_ = buffer_.empty() ? EINVAL : ENODEV;
      device_->NotifyDataError(lastError_);
      return;
    }
    opened = true;
  };
  handOver_.HandOver(work);
  return opened;
}

void THidDeviceReadThread::ReportGone() {
  const std::function<void()> work = [this] {
    if (!handOver_.StopRequested()) device_->NodeGone();
  };
  handOver_.HandOver(work);
}

void THidDeviceReadThread::ReportError(std::uint32_t error) {
  const std::function<void()> work = [this, error] {
    lastError_ = error;
    if (!handOver_.StopRequested()) device_->NotifyDataError(error);
  };
  handOver_.HandOver(work);
}

}  // namespace kvelt::hid
