#include "device/THidDevice.h"

#include <utility>

#include "device/EControllerError.h"
#include "device/THidDeviceController.h"
#include "device/THidDeviceReadThread.h"

namespace kvelt::hid {

THidDevice::THidDevice(THidDeviceController& controller, HidBackend& backend, MainThreadPoster& poster,
                       std::unique_ptr<THidPnPInfo> pnp, int sleepTime)
    : controller_(&controller),
      backend_(&backend),
      poster_(&poster),
      pnp_(std::move(pnp)),
      sleepTime_(sleepTime) {
  ProbeAccess();
  // The backend reports vendor and product id with the interface, so identifying the device
  // cannot fail once it is there.
  if (!Present()) throw EControllerError("Device cannot be opened");
}

THidDevice::~THidDevice() {
  THidDataEvent savedData = dataHandler_;
  THidPlugEvent savedUnplug = unplugHandler_;
  SetDataHandler(nullptr);
  unplugHandler_ = nullptr;
  CloseAllHandles();
  preparsed_.reset();
  if (controller_) {
    controller_->CheckIn(*this, std::move(savedData), std::move(savedUnplug), sleepTime_, std::move(pnp_));
  }
}

void THidDevice::ProbeAccess() {
  int error = 0;
  readWriteAccess_ = backend_->MayReadWrite(pnp_->Interface(), error);
  openError_ = readWriteAccess_ ? 0 : error;
}

// Devices the system keeps for itself (keyboards, or nodes the user may not open) are still
// listed from their metadata.
bool THidDevice::Present() const {
  return readWriteAccess_ || backend_->Open(pnp_->Interface(), HidOpenMode::MetadataOnly) != nullptr;
}

bool THidDevice::OpenFile() {
  if (!MayOpen()) return false;
  if (!syncHandle_) {
    syncHandle_ = backend_->Open(pnp_->Interface(), HidOpenMode::ReadWrite);
    readWriteAccess_ = syncHandle_ != nullptr;
    openError_ = readWriteAccess_ ? 0 : backend_->LastOpenError();
  }
  return syncHandle_ != nullptr;
}

void THidDevice::CloseFile() { syncHandle_.reset(); }

bool THidDevice::OpenFileForRead() {
  if (!MayOpen()) return false;
  if (!readHandle_) readHandle_ = backend_->Open(pnp_->Interface(), HidOpenMode::ReadOnly);
  return readHandle_ != nullptr;
}

void THidDevice::CloseFileForRead() {
  if (!readHandle_) return;
  // A reader blocked on this handle wakes up and finds it closed.
  readHandle_->RequestStop();
  readHandle_.reset();
}

void THidDevice::CloseAllHandles() {
  CloseFile();
  CloseFileForRead();
}

THidCaps THidDevice::Caps() {
  if (!preparsed_ && MayOpen() && Present()) {
    const HidInterfaceInfo& info = pnp_->Interface();
    preparsed_ = THidCaps{info.InputReportByteLength, info.OutputReportByteLength};
  }
  return preparsed_.value_or(THidCaps{});
}

const std::string& THidDevice::ProductString() {
  if (productString_.empty() && MayOpen() && Present()) productString_ = pnp_->Interface().ProductString;
  return productString_;
}

bool THidDevice::WriteFile(const void* buffer, std::size_t length, std::size_t& bytesWritten) {
  bytesWritten = 0;
  if (!OpenFile()) return false;
  std::size_t written = 0;
  if (!syncHandle_->Write(static_cast<const std::uint8_t*>(buffer), length, written)) return false;
  bytesWritten = written;
  return true;
}

void THidDevice::SetDataHandler(THidDataEvent handler) {
  if (!handler) StopReader();
  dataHandler_ = std::move(handler);
  StartReaderIfReady();
}

void THidDevice::SetSleepTime(int milliseconds) {
  if (milliseconds < kMinSleepTime || milliseconds > kMaxSleepTime) return;
  sleepTime_ = milliseconds;
  if (reader_) reader_->SetSleepTime(milliseconds);
}

void THidDevice::StartReaderIfReady() {
  if (!dataHandler_ || !pluggedIn_ || !checkedOut_ || !readWriteAccess_ || reader_) return;
  const std::size_t length = Caps().InputReportByteLength;
  reader_ = std::make_unique<THidDeviceReadThread>(*this, *poster_, length, sleepTime_, OpenReadHandle());
}

void THidDevice::StopReader() {
  if (!reader_) return;
  if (reader_->Stop()) {
    reader_.reset();
    return;
  }
  // Stopped from inside its own handler: the thread ends once that handler returns; the
  // controller joins it later.
  reader_->DetachDevice();
  if (controller_) {
    controller_->RetireReader(std::move(reader_));
  } else {
    THidDeviceController::AbandonReader(std::move(reader_));
  }
}

void THidDevice::Unplug() {
  CloseAllHandles();
  pluggedIn_ = false;
  if (unplugHandler_) {
    THidPlugEvent handler = std::move(unplugHandler_);
    unplugHandler_ = nullptr;
    handler(*this);
  }
}

void THidDevice::NodeGone() {
  if (pluggedIn_) Unplug();
}

void THidDevice::ShutDown() {
  dataHandler_ = nullptr;
  dataErrorHandler_ = nullptr;
  unplugHandler_ = nullptr;
  StopReader();
  CloseAllHandles();
  pluggedIn_ = false;
  controller_ = nullptr;
}

std::shared_ptr<HidHandle> THidDevice::OpenReadHandle() { return OpenFileForRead() ? readHandle_ : nullptr; }

void THidDevice::ForgetReadHandle(const HidHandle* handle) {
  if (handle && readHandle_.get() == handle) readHandle_.reset();
}

void THidDevice::DeliverReport(const std::uint8_t* buffer, std::size_t bytes) {
  if (!dataHandler_ || bytes == 0) return;
  // A copy: the handler may replace itself, or check the device in, while it runs.
  THidDataEvent handler = dataHandler_;
  handler(*this, buffer[0], buffer + 1, static_cast<std::uint16_t>(bytes - 1));
}

void THidDevice::NotifyDataError(std::uint32_t error) {
  if (!dataErrorHandler_) return;
  THidDataErrorEvent handler = dataErrorHandler_;
  handler(*this, error);
}

}  // namespace kvelt::hid
