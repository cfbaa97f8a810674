#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/HidBackend.h"
#include "device/HidEvents.h"
#include "device/MainThreadPoster.h"
#include "device/THidCaps.h"
#include "device/THidPnPInfo.h"

namespace kvelt::hid {

class THidDeviceReadThread;

// One HID interface in the controller's list. The controller owns it while it is checked in;
// CheckOutDevice lends it to the application, which gives it back by destroying it (the
// controller then puts a fresh checked-in object with the same handlers in its place, or
// drops the entry when the device is gone). Main thread only.
//
// Handles are opened on demand, and only while the device is plugged in and either checked
// out or inside EnumerateDevices. Listing a device only asks the backend whether it may be
// opened; the synchronous handle serves writes; the read handle belongs to the reader.
class THidDevice {
 public:
  // Check-in: stops the reader, closes the handles and, while the device belongs to a
  // controller, gives its place in the list to a fresh object (or drops it when unplugged).
  ~THidDevice();
  THidDevice(const THidDevice&) = delete;
  THidDevice& operator=(const THidDevice&) = delete;

  bool PluggedIn() const { return pluggedIn_; }
  bool CheckedOut() const { return checkedOut_; }
  bool InEnumeration() const { return inEnumeration_; }
  // The last open of the synchronous handle had read and write access.
  bool ReadWriteAccess() const { return readWriteAccess_; }
  // Why that open failed (errno; 0 when it succeeded or the backend cannot tell).
  int OpenError() const { return openError_; }
  // Why the device may not be used for reading and writing: 0 with that access, else the open's
  // error, EACCES when the backend cannot tell (a missing permission is by far the likeliest).
  int AccessError() const { return readWriteAccess_ ? 0 : openError_ != 0 ? openError_ : EACCES; }
  // The owning controller; none once the controller is gone.
  THidDeviceController* Controller() const { return controller_; }
  const THidPnPInfo& PnPInfo() const { return *pnp_; }

  std::uint16_t VendorID() const { return pnp_->Interface().VendorID; }
  std::uint16_t ProductID() const { return pnp_->Interface().ProductID; }
  std::uint16_t VersionNumber() const { return pnp_->Interface().VersionNumber; }

  // Report lengths; all zero while they cannot be had (the device may not open a handle and
  // has not been asked before).
  THidCaps Caps();
  // The USB product string (UTF-8), read once and cached; empty when the device has none or
  // may not open a handle now (asked again next time).
  const std::string& ProductString();

  // Writes one whole output report through the synchronous handle, opening it if needed (it
  // then stays open). False on any failure, with bytesWritten 0.
  bool WriteFile(const void* buffer, std::size_t length, std::size_t& bytesWritten);

  // An empty handler stops the reader; a handler starts it when the device is plugged in,
  // checked out and has read/write access.
  void SetDataHandler(THidDataEvent handler);
  const THidDataEvent& DataHandler() const { return dataHandler_; }
  void SetDataErrorHandler(THidDataErrorEvent handler) { dataErrorHandler_ = std::move(handler); }
  const THidDataErrorEvent& DataErrorHandler() const { return dataErrorHandler_; }
  void SetUnplugHandler(THidPlugEvent handler) { unplugHandler_ = std::move(handler); }
  const THidPlugEvent& UnplugHandler() const { return unplugHandler_; }

  // Pause of the reader before it retries a read that could not be started; 10..10000 ms,
  // other values are ignored.
  int SleepTime() const { return sleepTime_; }
  void SetSleepTime(int milliseconds);

  bool ReaderRunning() const { return reader_ != nullptr; }

  static constexpr int kMinSleepTime = 10;
  static constexpr int kMaxSleepTime = 10000;
  static constexpr int kDefaultSleepTime = 100;

 private:
  friend class THidDeviceController;
  friend class THidDeviceReadThread;

  // Opens the interface as a scan does; throws EControllerError when it cannot be opened.
  THidDevice(THidDeviceController& controller, HidBackend& backend, MainThreadPoster& poster,
             std::unique_ptr<THidPnPInfo> pnp, int sleepTime);

  bool MayOpen() const { return pluggedIn_ && (checkedOut_ || inEnumeration_); }
  bool OpenFile();  // the synchronous handle, for writes; records ReadWriteAccess
  void CloseFile();
  bool OpenFileForRead();
  void CloseFileForRead();
  void CloseAllHandles();
  void ProbeAccess();    // records ReadWriteAccess without opening where the backend can
  bool Present() const;  // read/write access, or the metadata still there

  void StartReaderIfReady();
  void StopReader();
  void Unplug();    // the scan no longer finds the device
  void NodeGone();  // the reader found the device gone: unplugged now, the scan drops it later
  void ShutDown();  // the controller is going: no reader, no handles, no handler calls, detached

  // For the reader, on the main thread.
  std::shared_ptr<HidHandle> OpenReadHandle();
  void ForgetReadHandle(const HidHandle* handle);
  void DeliverReport(const std::uint8_t* buffer, std::size_t bytes);
  void NotifyDataError(std::uint32_t error);

  THidDeviceController* controller_;
  HidBackend* backend_;
  MainThreadPoster* poster_;
  std::unique_ptr<THidPnPInfo> pnp_;
  bool pluggedIn_ = true;
  bool checkedOut_ = false;
  bool inEnumeration_ = false;
  bool readWriteAccess_ = false;
  int openError_ = 0;
  std::unique_ptr<HidHandle> syncHandle_;
  std::shared_ptr<HidHandle> readHandle_;
  std::optional<THidCaps> preparsed_;
  std::string productString_;
  int sleepTime_ = kDefaultSleepTime;
  THidDataEvent dataHandler_;
  THidDataErrorEvent dataErrorHandler_;
  THidPlugEvent unplugHandler_;
  std::unique_ptr<THidDeviceReadThread> reader_;
};

}  // namespace kvelt::hid
