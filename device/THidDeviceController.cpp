#include "device/THidDeviceController.h"

#include <algorithm>
#include <utility>

#include "device/EControllerError.h"
#include "device/THidDeviceReadThread.h"

namespace kvelt::hid {

THidDeviceController::THidDeviceController(HidBackend& backend, MainThreadPoster& poster)
    : Backend_(backend), Poster_(poster), Alive_(std::make_shared<THidDeviceController*>(this)) {
  Backend_.SetChangeCallback([this] { HandleNotification(kSystemNotification); });
  Poster_.Post([alive = std::weak_ptr<THidDeviceController*>(Alive_)] {
    if (auto self = alive.lock()) (*self)->HandleNotification(kFirstNotification);
  });
}

THidDeviceController::~THidDeviceController() {
  Destroying_ = true;
  Alive_.reset();
  Backend_.SetChangeCallback(nullptr);
  OnEnumerate = nullptr;
  OnDeviceChange = nullptr;
  OnDeviceData = nullptr;
  OnDeviceUnplug = nullptr;
  OnDeviceDataError = nullptr;
  OnArrival = nullptr;
  OnRemoval = nullptr;
  for (Entry& entry : List_) {
    entry.Device->ShutDown();
    entry.Owned.reset();
  }
  List_.clear();
  for (auto& reader : Retired_) {
    if (!reader->Stop()) AbandonReader(std::move(reader));
  }
  Retired_.clear();
}

void THidDeviceController::HandleNotification(std::int32_t longParameter) {
  if (Destroying_ || ScanRunning_) return;  // a notice during a scan is dropped, not queued
  ReapRetiredReaders();
  LastNotification_ = longParameter;
  ScanRunning_ = true;
  struct ClearFlag {
    bool& Flag;
    ~ClearFlag() { Flag = false; }
  } clearFlag{ScanRunning_};
  DeviceChange();
}

void THidDeviceController::OnMonitorReadable() {
  if (Backend_.DrainMonitor()) HandleNotification(kSystemNotification);
}

int THidDeviceController::MonitorFd() const { return Backend_.MonitorFd(); }

std::unique_ptr<THidDevice> THidDeviceController::CreateDevice(std::unique_ptr<THidPnPInfo> pnp) {
  const int sleepTime =
      DevThreadSleepTime_ >= THidDevice::kMinSleepTime && DevThreadSleepTime_ <= THidDevice::kMaxSleepTime
          ? DevThreadSleepTime_
          : THidDevice::kDefaultSleepTime;
  std::unique_ptr<THidDevice> device(new THidDevice(*this, Backend_, Poster_, std::move(pnp), sleepTime));
  device->DataHandler_ = OnDeviceData;
  device->UnplugHandler_ = OnDeviceUnplug;
  device->DataErrorHandler_ = OnDeviceDataError;
  return device;
}

int THidDeviceController::IndexOf(const THidDevice* device) const {
  for (std::size_t i = 0; i < List_.size(); ++i) {
    if (List_[i].Device == device) return static_cast<int>(i);
  }
  return -1;
}

bool THidDeviceController::ListHoldsPluggedIn(const std::string& identity) const {
  return std::any_of(List_.begin(), List_.end(), [&](const Entry& entry) {
    return entry.Device->PluggedIn() && entry.Device->PnPInfo().DeviceInstance() == identity;
  });
}

void THidDeviceController::DeviceChange() {
  bool changed = LastNotification_ == kFirstNotification;

  // The interfaces present now, as fresh device objects; those that cannot be opened are
  // left out.
  std::vector<std::unique_ptr<THidDevice>> fresh;
  for (HidInterfaceInfo& info : Backend_.Enumerate()) {
    try {
      fresh.push_back(CreateDevice(std::make_unique<THidPnPInfo>(std::move(info))));
    } catch (const EControllerError&) {
    }
  }
  auto freshFind = [&fresh](const std::string& identity) -> const THidDevice* {
    for (const std::unique_ptr<THidDevice>& d : fresh) {
      if (d->PnPInfo().DeviceInstance() == identity) return d.get();
    }
    return nullptr;
  };
  auto freshHolds = [&freshFind](const std::string& identity) { return freshFind(identity) != nullptr; };

  // A device that could not be opened for reading and writing and now can (its permissions
  // changed, say after a udev rule was installed and triggered) counts as a change, so that
  // the application checks it in and out again and gets a usable device without a replug.
  for (const Entry& entry : List_) {
    if (!entry.Device->PluggedIn() || entry.Device->ReadWriteAccess()) continue;
    const THidDevice* now = freshFind(entry.Device->PnPInfo().DeviceInstance());
    if (now != nullptr && now->ReadWriteAccess()) changed = true;
  }

  // Entries no longer present are unplugged; checked-in ones leave the list, checked-out
  // ones stay (unplugged) until the application checks them in.
  for (std::size_t i = List_.size(); i-- > 0;) {
    if (i >= List_.size()) continue;  // a handler checked devices in meanwhile
    THidDevice* device = List_[i].Device;
    if (device->PluggedIn() && freshHolds(device->PnPInfo().DeviceInstance())) continue;
    changed = true;
    device->Unplug();
    // The unplug handler may have checked the device in (which drops an unplugged entry).
    if (IndexOf(device) < 0) continue;
    if (OnRemoval) {
      THidPlugEvent handler = OnRemoval;
      handler(*device);
    }
    const int index = IndexOf(device);
    if (index >= 0 && !device->CheckedOut()) {
      List_[static_cast<std::size_t>(index)].Device->Controller_ = nullptr;
      List_.erase(List_.begin() + index);
    }
  }

  // New interfaces are appended in the system's order; duplicates of entries still present
  // are dropped (detached first, so that destroying them leaves the list alone).
  for (std::unique_ptr<THidDevice>& device : fresh) {
    if (ListHoldsPluggedIn(device->PnPInfo().DeviceInstance())) {
      device->Controller_ = nullptr;
      device.reset();
      continue;
    }
    THidDevice* added = device.get();
    List_.push_back(Entry{added, std::move(device)});
    changed = true;
    if (OnArrival) {
      THidPlugEvent handler = OnArrival;
      handler(*added);
    }
  }

  if (changed && OnDeviceChange) {
    TNotifyEvent handler = OnDeviceChange;
    handler(*this);
  }
}

int THidDeviceController::EnumerateDevices() {
  if (!OnEnumerate) return 0;
  const THidEnumerateEvent handler = OnEnumerate;
  int visited = 0;
  for (std::size_t i = 0; i < List_.size(); ++i) {
    THidDevice* device = List_[i].Device;
    if (!device->PluggedIn()) continue;
    device->InEnumeration_ = true;
    bool goOn = false;
    {
      struct EndEnumeration {
        THidDeviceController& Owner;
        std::size_t Index;
        THidDevice* Device;
        ~EndEnumeration() {
          // The handler may have checked the device in; then the entry holds another object.
          if (Index >= Owner.List_.size() || Owner.List_[Index].Device != Device) return;
          Device->InEnumeration_ = false;
          if (!Device->CheckedOut()) Device->CloseAllHandles();
        }
      } endEnumeration{*this, i, device};
      goOn = handler(*device, static_cast<int>(i));
    }
    ++visited;
    if (!goOn) break;
  }
  return visited;
}

std::unique_ptr<THidDevice> THidDeviceController::CheckOutDevice(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  Entry& entry = List_[static_cast<std::size_t>(index)];
  if (entry.Device->CheckedOut()) return nullptr;
  entry.Device->CheckedOut_ = true;
  std::unique_ptr<THidDevice> lent = std::move(entry.Owned);
  lent->StartReaderIfReady();
  return lent;
}

void THidDeviceController::CheckIn(THidDevice& device, THidDataEvent dataHandler, THidPlugEvent unplugHandler,
                                   int sleepTime, std::unique_ptr<THidPnPInfo> pnp) {
  const int index = IndexOf(&device);
  if (index < 0) return;
  const auto position = List_.begin() + index;
  if (device.PluggedIn()) {
    try {
      std::unique_ptr<THidDevice> replacement = CreateDevice(std::move(pnp));
      replacement->DataHandler_ = std::move(dataHandler);
      replacement->UnplugHandler_ = std::move(unplugHandler);
      replacement->SleepTime_ = sleepTime;
      position->Device = replacement.get();
      position->Owned = std::move(replacement);
      return;
    } catch (const EControllerError&) {
      // The device went away after the last scan: its entry is dropped as if the scan had
      // found it gone; the next scan lists it again if it is still there.
    }
  }
  List_.erase(position);
}

void THidDeviceController::RetireReader(std::unique_ptr<THidDeviceReadThread> reader) {
  Retired_.push_back(std::move(reader));
}

void THidDeviceController::ReapRetiredReaders() {
  std::erase_if(Retired_, [](const std::unique_ptr<THidDeviceReadThread>& reader) { return reader->Reap(); });
}

void THidDeviceController::AbandonReader(std::unique_ptr<THidDeviceReadThread> reader) {
  // Only reachable when the controller is destroyed from inside a data handler: the thread
  // still waits for that handler to return, so its object must outlive this call.
  (void)reader.release();
}

void THidDeviceController::SetDevThreadSleepTime(int milliseconds) {
  if (milliseconds == DevThreadSleepTime_) return;
  for (const Entry& entry : List_) {
    if (entry.Device->SleepTime() == DevThreadSleepTime_) entry.Device->SetSleepTime(milliseconds);
  }
  DevThreadSleepTime_ = milliseconds;
}

THidDevice* THidDeviceController::DeviceAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return List_[static_cast<std::size_t>(index)].Device;
}

int THidDeviceController::NumCheckedInDevices() const {
  return static_cast<int>(
      std::count_if(List_.begin(), List_.end(), [](const Entry& e) { return !e.Device->CheckedOut(); }));
}

int THidDeviceController::NumCheckedOutDevices() const {
  return static_cast<int>(
      std::count_if(List_.begin(), List_.end(), [](const Entry& e) { return e.Device->CheckedOut(); }));
}

int THidDeviceController::NumUnpluggedDevices() const {
  return static_cast<int>(
      std::count_if(List_.begin(), List_.end(), [](const Entry& e) { return !e.Device->PluggedIn(); }));
}

}  // namespace kvelt::hid
