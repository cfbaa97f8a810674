#include "device/THidDevice.h"

#include <utility>

#include "device/EControllerError.h"
#include "device/THidDeviceController.h"
#include "device/THidDeviceReadThread.h"

namespace kvelt::hid {

THidDevice::THidDevice(THidDeviceController& controller, HidBackend& backend, MainThreadPoster& poster,
                       std::unique_ptr<THidPnPInfo> pnp, int sleepTime)
    : Controller_(&controller),
      Backend_(&backend),
      Poster_(&poster),
      PnP_(std::move(pnp)),
      SleepTime_(sleepTime) {
  OpenSynchronousHandle();
  if (!SyncHandle_) throw EControllerError("Device cannot be opened");
  // The backend reports vendor and product id with the interface, so identifying the
  // device cannot fail once it opened.
  CloseFile();
}

THidDevice::~THidDevice() {
  THidDataEvent savedData = DataHandler_;
  THidPlugEvent savedUnplug = UnplugHandler_;
  SetDataHandler(nullptr);
  UnplugHandler_ = nullptr;
  CloseAllHandles();
  Preparsed_.reset();
  if (Controller_) {
    Controller_->CheckIn(*this, std::move(savedData), std::move(savedUnplug), SleepTime_, std::move(PnP_));
  }
}

void THidDevice::OpenSynchronousHandle() {
  const HidInterfaceInfo& info = PnP_->Interface();
  SyncHandle_ = Backend_->Open(info, HidOpenMode::ReadWrite);
  ReadWriteAccess_ = SyncHandle_ != nullptr;
  OpenError_ = ReadWriteAccess_ ? 0 : Backend_->LastOpenError();
  // Devices the system keeps for itself (keyboards, or nodes the user may not open) can
  // still be listed from their metadata.
  if (!SyncHandle_) SyncHandle_ = Backend_->Open(info, HidOpenMode::MetadataOnly);
}

bool THidDevice::OpenFile() {
  if (!MayOpen()) return false;
  if (!SyncHandle_) OpenSynchronousHandle();
  return SyncHandle_ != nullptr;
}

void THidDevice::CloseFile() { SyncHandle_.reset(); }

bool THidDevice::OpenFileForRead() {
  if (!MayOpen()) return false;
  if (!ReadHandle_) ReadHandle_ = Backend_->Open(PnP_->Interface(), HidOpenMode::ReadOnly);
  return ReadHandle_ != nullptr;
}

void THidDevice::CloseFileForRead() {
  if (!ReadHandle_) return;
  // A reader blocked on this handle wakes up and finds it closed.
  ReadHandle_->RequestStop();
  ReadHandle_.reset();
}

void THidDevice::CloseAllHandles() {
  CloseFile();
  CloseFileForRead();
}

THidCaps THidDevice::Caps() {
  if (!Preparsed_ && OpenFile()) {
    const HidInterfaceInfo& info = PnP_->Interface();
    Preparsed_ = THidCaps{info.InputReportByteLength, info.OutputReportByteLength};
    CloseFile();
  }
  return Preparsed_.value_or(THidCaps{});
}

const std::string& THidDevice::ProductString() {
  if (ProductString_.empty() && OpenFile()) {
    ProductString_ = PnP_->Interface().ProductString;
    CloseFile();
  }
  return ProductString_;
}

bool THidDevice::WriteFile(const void* buffer, std::size_t length, std::size_t& bytesWritten) {
  bytesWritten = 0;
  if (!OpenFile()) return false;
  std::size_t written = 0;
  if (!SyncHandle_->Write(static_cast<const std::uint8_t*>(buffer), length, written)) return false;
  bytesWritten = written;
  return true;
}

void THidDevice::SetDataHandler(THidDataEvent handler) {
  if (!handler) StopReader();
  DataHandler_ = std::move(handler);
  StartReaderIfReady();
}

void THidDevice::SetSleepTime(int milliseconds) {
  if (milliseconds < kMinSleepTime || milliseconds > kMaxSleepTime) return;
  SleepTime_ = milliseconds;
  if (Reader_) Reader_->SetSleepTime(milliseconds);
}

void THidDevice::StartReaderIfReady() {
  if (!DataHandler_ || !PluggedIn_ || !CheckedOut_ || !ReadWriteAccess_ || Reader_) return;
  const std::size_t length = Caps().InputReportByteLength;
  Reader_ = std::make_unique<THidDeviceReadThread>(*this, *Poster_, length, SleepTime_, OpenReadHandle());
}

void THidDevice::StopReader() {
  if (!Reader_) return;
  if (Reader_->Stop()) {
    Reader_.reset();
    return;
  }
  // Stopped from inside its own handler: the thread ends once that handler returns; the
  // controller joins it later.
  Reader_->DetachDevice();
  if (Controller_) {
    Controller_->RetireReader(std::move(Reader_));
  } else {
    THidDeviceController::AbandonReader(std::move(Reader_));
  }
}

void THidDevice::Unplug() {
  CloseAllHandles();
  PluggedIn_ = false;
  if (UnplugHandler_) {
    THidPlugEvent handler = std::move(UnplugHandler_);
    UnplugHandler_ = nullptr;
    handler(*this);
  }
}

void THidDevice::ShutDown() {
  DataHandler_ = nullptr;
  DataErrorHandler_ = nullptr;
  UnplugHandler_ = nullptr;
  StopReader();
  CloseAllHandles();
  PluggedIn_ = false;
  Controller_ = nullptr;
}

std::shared_ptr<HidHandle> THidDevice::OpenReadHandle() { return OpenFileForRead() ? ReadHandle_ : nullptr; }

void THidDevice::ForgetReadHandle(const HidHandle* handle) {
  if (handle && ReadHandle_.get() == handle) ReadHandle_.reset();
}

void THidDevice::DeliverReport(const std::uint8_t* buffer, std::size_t bytes) {
  if (!DataHandler_ || bytes == 0) return;
  // A copy: the handler may replace itself, or check the device in, while it runs.
  THidDataEvent handler = DataHandler_;
  handler(*this, buffer[0], buffer + 1, static_cast<std::uint16_t>(bytes - 1));
}

void THidDevice::NotifyDataError(std::uint32_t error) {
  if (!DataErrorHandler_) return;
  THidDataErrorEvent handler = DataErrorHandler_;
  handler(*this, error);
}

}  // namespace kvelt::hid
