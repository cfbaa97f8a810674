#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/HidEvents.h"
#include "device/MainThreadPoster.h"
#include "device/THidDevice.h"
#include "device/THidPnPInfo.h"

namespace kvelt::hid {

class THidDeviceReadThread;

// Keeps the list of HID interfaces present, follows device changes, and lends devices to the
// application. Main thread only; the backend and the poster must outlive it.
//
// On creation it posts itself one device-change notice, so the first scan runs once the main
// loop runs. Later notices come from the backend: for backends with a monitor descriptor the
// application watches MonitorFd() and calls OnMonitorReadable() when it is readable; in-process
// backends call back through their change callback.
class THidDeviceController {
 public:
  THidDeviceController(HidBackend& backend, MainThreadPoster& poster);
  // Stops every reader and closes every handle. Devices still lent to the application stay
  // with it, unplugged and detached; checked-in ones are destroyed. Calls no event.
  ~THidDeviceController();
  THidDeviceController(const THidDeviceController&) = delete;
  THidDeviceController& operator=(const THidDeviceController&) = delete;

  // Events, set by the application.
  THidEnumerateEvent OnEnumerate;        // called by EnumerateDevices
  TNotifyEvent OnDeviceChange;           // after a scan that changed the list
  THidDataEvent OnDeviceData;            // data handler given to every new device
  THidPlugEvent OnDeviceUnplug;          // unplug handler given to every new device
  THidDataErrorEvent OnDeviceDataError;  // error handler given to every new device
  THidPlugEvent OnArrival;               // a scan appended the device
  THidPlugEvent OnRemoval;               // a scan found the device gone

  // The scan: rebuilds the list from the interfaces present (see the .cpp).
  void DeviceChange();
  // Calls OnEnumerate for every plugged-in device in list order until it returns false;
  // returns the number of devices visited.
  int EnumerateDevices();
  // Lends the device at index to the application; none when the index is outside the list or
  // the device is already checked out. Destroying the returned object checks it back in.
  std::unique_ptr<THidDevice> CheckOutDevice(int index);

  // The backend's change descriptor (-1 when it has none) and the call to make when it is
  // readable: consumes what is pending and scans when interfaces may have changed.
  int MonitorFd() const;
  void OnMonitorReadable();

  int DevThreadSleepTime() const { return devThreadSleepTime_; }
  // Passes the new value to every device whose SleepTime still equals the old one.
  void SetDevThreadSleepTime(int milliseconds);

  int Count() const { return static_cast<int>(list_.size()); }
  // The device at index, checked in or out; none outside the list.
  THidDevice* DeviceAt(int index) const;
  int NumCheckedInDevices() const;
  int NumCheckedOutDevices() const;
  int NumUnpluggedDevices() const;
  bool ScanRunning() const { return scanRunning_; }

 private:
  friend class THidDevice;

  struct Entry {
    THidDevice* Device = nullptr;
    std::unique_ptr<THidDevice> Owned;  // empty while checked out
  };

  static constexpr std::int32_t kFirstNotification = -1;
  static constexpr std::int32_t kSystemNotification = 0;

  void HandleNotification(std::int32_t longParameter);
  std::unique_ptr<THidDevice> CreateDevice(std::unique_ptr<THidPnPInfo> pnp);
  int IndexOf(const THidDevice* device) const;
  bool ListHoldsPluggedIn(const std::string& identity) const;

  // From a device's destructor.
  void CheckIn(THidDevice& device, THidDataEvent dataHandler, THidPlugEvent unplugHandler, int sleepTime,
               std::unique_ptr<THidPnPInfo> pnp);
  // A reader stopped from inside its own handler; joined once it has ended.
  void RetireReader(std::unique_ptr<THidDeviceReadThread> reader);
  void ReapRetiredReaders();
  static void AbandonReader(std::unique_ptr<THidDeviceReadThread> reader);

  HidBackend& backend_;
  MainThreadPoster& poster_;
  std::vector<Entry> list_;
  std::vector<std::unique_ptr<THidDeviceReadThread>> retired_;
  int devThreadSleepTime_ = THidDevice::kDefaultSleepTime;
  bool scanRunning_ = false;
  bool destroying_ = false;
  std::int32_t lastNotification_ = kSystemNotification;
  // Lets the posted first notification find out whether the controller still exists.
  std::shared_ptr<THidDeviceController*> alive_;
};

}  // namespace kvelt::hid
