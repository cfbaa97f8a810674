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
    : Device_(&device),
      HandOver_(poster),
      Buffer_(reportLength),
      SleepTime_(sleepTime),
      Handle_(Buffer_.empty() ? nullptr : std::move(handle)) {
  DeliverWork_ = [this] { Device_->DeliverReport(Buffer_.data(), NumberOfBytesRead_); };
  Thread_ = std::thread([this] { Execute(); });
}

THidDeviceReadThread::~THidDeviceReadThread() {
  if (Thread_.joinable() && !Stop()) {
    // Owners retire a reader that is inside its own hand-over instead of destroying it.
    std::terminate();
  }
}

bool THidDeviceReadThread::Stop() {
  if (!Thread_.joinable()) return true;
  HandOver_.RequestStop();
  if (Handle_) Handle_->RequestStop();
  if (!HandOver_.WaitForReader()) return false;
  Thread_.join();
  ReleaseHandle();
  return true;
}

bool THidDeviceReadThread::Reap() {
  if (!Thread_.joinable()) return true;
  if (!HandOver_.Finished()) return false;
  Thread_.join();
  ReleaseHandle();
  return true;
}

void THidDeviceReadThread::ReleaseHandle() {
  if (Device_) Device_->ForgetReadHandle(Handle_.get());
  Handle_.reset();
}

std::uint32_t THidDeviceReadThread::DeliveredLength(std::size_t reported, std::size_t bufferSize) {
  return static_cast<std::uint32_t>(std::min(
      {reported, bufferSize, static_cast<std::size_t>(std::numeric_limits<std::uint16_t>::max()) + 1}));
}

void THidDeviceReadThread::Execute() {
  bool haveHandle = Handle_ != nullptr;
  while (!HandOver_.StopRequested()) {
    if (!haveHandle) {
      if (!AcquireHandle()) {
        HandOver_.Pause(std::chrono::milliseconds(SleepTime_.load()));
        continue;
      }
      haveHandle = true;
      if (HandOver_.StopRequested()) break;
    }
    std::fill(Buffer_.begin(), Buffer_.end(), std::uint8_t{0});
    const HidReadResult result = Handle_->Read(Buffer_.data(), Buffer_.size());
    switch (result.State) {
      case HidReadResult::Status::Report:
        NumberOfBytesRead_ = DeliveredLength(result.Bytes, Buffer_.size());
        if (NumberOfBytesRead_ > 0) HandOver_.HandOver(DeliverWork_);
        break;
      case HidReadResult::Status::Stopped:
        // Our own stop, or the device closed the handle under us (unplugged): reopen, which
        // fails and pauses while the device may not open handles.
        haveHandle = false;
        break;
      case HidReadResult::Status::Gone:
        haveHandle = false;
        HandOver_.Pause(std::chrono::milliseconds(SleepTime_.load()));
        break;
      case HidReadResult::Status::Failed:
        haveHandle = false;
        ReportError(static_cast<std::uint32_t>(result.Error));
        HandOver_.Pause(std::chrono::milliseconds(SleepTime_.load()));
        break;
    }
  }
  HandOver_.ReaderFinished();
}

bool THidDeviceReadThread::AcquireHandle() {
  bool opened = false;
  const std::function<void()> work = [this, &opened] {
    // A handle that failed is dropped here, on the main thread, before a fresh one is opened.
    if (Handle_) {
      Device_->ForgetReadHandle(Handle_.get());
      Handle_.reset();
    }
    if (HandOver_.StopRequested()) return;
    if (!Buffer_.empty()) Handle_ = Device_->OpenReadHandle();
    if (!Handle_) {
      LastError_ = Buffer_.empty() ? EINVAL : ENODEV;
      Device_->NotifyDataError(LastError_);
      return;
    }
    opened = true;
  };
  HandOver_.HandOver(work);
  return opened;
}

void THidDeviceReadThread::ReportError(std::uint32_t error) {
  const std::function<void()> work = [this, error] {
    LastError_ = error;
    if (!HandOver_.StopRequested()) Device_->NotifyDataError(error);
  };
  HandOver_.HandOver(work);
}

}  // namespace kvelt::hid
