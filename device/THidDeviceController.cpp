#include "device/THidDeviceController.h"

#include <algorithm>
#include <utility>

#include "device/EControllerError.h"
#include "device/THidDeviceReadThread.h"

namespace kvelt::hid {

THidDeviceController::THidDeviceController(HidBackend& backend, MainThreadPoster& poster)
    : backend_(backend), poster_(poster), alive_(std::make_shared<THidDeviceController*>(this)) {
  backend_.SetChangeCallback([this] { HandleNotification(kSystemNotification); });
  poster_.Post([alive = std::weak_ptr<THidDeviceController*>(alive_)] {
    if (auto self = alive.lock()) (*self)->HandleNotification(kFirstNotification);
  });
}

THidDeviceController::~THidDeviceController() {
  destroying_ = true;
  alive_.reset();
  backend_.SetChangeCallback(nullptr);
  OnEnumerate = nullptr;
  OnDeviceChange = nullptr;
  OnDeviceData = nullptr;
  OnDeviceUnplug = nullptr;
  OnDeviceDataError = nullptr;
  OnArrival = nullptr;
  OnRemoval = nullptr;
  for (Entry& entry : list_) {
    entry.Device->ShutDown();
    entry.Owned.reset();
  }
  list_.clear();
  for (auto& reader : retired_) {
    if (!reader->Stop()) AbandonReader(std::move(reader));
  }
  retired_.clear();
}

void THidDeviceController::HandleNotification(std::int32_t longParameter) {
  if (destroying_ || scanRunning_) return;  // a notice during a scan is dropped, not queued
  ReapRetiredReaders();
  lastNotification_ = longParameter;
  scanRunning_ = true;
  struct ClearFlag {
    bool& Flag;
    ~ClearFlag() { Flag = false; }
  } clearFlag{scanRunning_};
  DeviceChange();
}

void THidDeviceController::OnMonitorReadable() {
  if (backend_.DrainMonitor()) HandleNotification(kSystemNotification);
}

int THidDeviceController::MonitorFd() const { return backend_.MonitorFd(); }

std::unique_ptr<THidDevice> THidDeviceController::CreateDevice(std::unique_ptr<THidPnPInfo> pnp) {
  const int sleepTime =
      devThreadSleepTime_ >= THidDevice::kMinSleepTime && devThreadSleepTime_ <= THidDevice::kMaxSleepTime
          ? devThreadSleepTime_
          : THidDevice::kDefaultSleepTime;
  std::unique_ptr<THidDevice> device(new THidDevice(*this, backend_, poster_, std::move(pnp), sleepTime));
  device->dataHandler_ = OnDeviceData;
  device->unplugHandler_ = OnDeviceUnplug;
  device->dataErrorHandler_ = OnDeviceDataError;
  return device;
}

int THidDeviceController::IndexOf(const THidDevice* device) const {
  for (std::size_t i = 0; i < list_.size(); ++i) {
    if (list_[i].Device == device) return static_cast<int>(i);
  }
  return -1;
}

bool THidDeviceController::ListHoldsPluggedIn(const std::string& identity) const {
  return std::any_of(list_.begin(), list_.end(), [&](const Entry& entry) {
    return entry.Device->PluggedIn() && entry.Device->PnPInfo().DeviceInstance() == identity;
  });
}

void THidDeviceController::DeviceChange() {
  bool changed = lastNotification_ == kFirstNotification;

  // The interfaces present now, as fresh device objects; those that cannot be opened are
  // left out.
  std::vector<std::unique_ptr<THidDevice>> fresh;
  for (HidInterfaceInfo& info : backend_.Enumerate()) {
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
  for (const Entry& entry : list_) {
    if (!entry.Device->PluggedIn() || entry.Device->ReadWriteAccess()) continue;
    const THidDevice* now = freshFind(entry.Device->PnPInfo().DeviceInstance());
    if (now != nullptr && now->ReadWriteAccess()) changed = true;
  }

  // Entries no longer present are unplugged; checked-in ones leave the list, checked-out
  // ones stay (unplugged) until the application checks them in.
  for (std::size_t i = list_.size(); i-- > 0;) {
    if (i >= list_.size()) continue;  // a handler checked devices in meanwhile
    THidDevice* device = list_[i].Device;
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
      list_[static_cast<std::size_t>(index)].Device->controller_ = nullptr;
      list_.erase(list_.begin() + index);
    }
  }

  // New interfaces are appended in the system's order; duplicates of entries still present
  // are dropped (detached first, so that destroying them leaves the list alone).
  for (std::unique_ptr<THidDevice>& device : fresh) {
    if (ListHoldsPluggedIn(device->PnPInfo().DeviceInstance())) {
      device->controller_ = nullptr;
      device.reset();
      continue;
    }
    THidDevice* added = device.get();
    list_.push_back(Entry{added, std::move(device)});
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
  for (std::size_t i = 0; i < list_.size(); ++i) {
    THidDevice* device = list_[i].Device;
    if (!device->PluggedIn()) continue;
    device->inEnumeration_ = true;
    bool goOn = false;
    {
      struct EndEnumeration {
        THidDeviceController& Owner;
        std::size_t Index;
        THidDevice* Device;
        ~EndEnumeration() {
          // The handler may have checked the device in; then the entry holds another object.
          if (Index >= Owner.list_.size() || Owner.list_[Index].Device != Device) return;
          Device->inEnumeration_ = false;
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
  Entry& entry = list_[static_cast<std::size_t>(index)];
  if (entry.Device->CheckedOut()) return nullptr;
  entry.Device->checkedOut_ = true;
  std::unique_ptr<THidDevice> lent = std::move(entry.Owned);
  lent->StartReaderIfReady();
  return lent;
}

void THidDeviceController::CheckIn(THidDevice& device, THidDataEvent dataHandler, THidPlugEvent unplugHandler,
                                   int sleepTime, std::unique_ptr<THidPnPInfo> pnp) {
  const int index = IndexOf(&device);
  if (index < 0) return;
  const auto position = list_.begin() + index;
  if (device.PluggedIn()) {
    try {
      std::unique_ptr<THidDevice> replacement = CreateDevice(std::move(pnp));
      replacement->dataHandler_ = std::move(dataHandler);
      replacement->unplugHandler_ = std::move(unplugHandler);
      replacement->sleepTime_ = sleepTime;
      position->Device = replacement.get();
      position->Owned = std::move(replacement);
      return;
    } catch (const EControllerError&) {
      // The device went away after the last scan: its entry is dropped as if the scan had
      // found it gone; the next scan lists it again if it is still there.
    }
  }
  list_.erase(position);
}

void THidDeviceController::RetireReader(std::unique_ptr<THidDeviceReadThread> reader) {
  retired_.push_back(std::move(reader));
}

void THidDeviceController::ReapRetiredReaders() {
  std::erase_if(retired_, [](const std::unique_ptr<THidDeviceReadThread>& reader) { return reader->Reap(); });
}

void THidDeviceController::AbandonReader(std::unique_ptr<THidDeviceReadThread> reader) {
  // Only reachable when the controller is destroyed from inside a data handler: the thread
  // still waits for that handler to return, so its object must outlive this call.
  (void)reader.release();
}

void THidDeviceController::SetDevThreadSleepTime(int milliseconds) {
  if (milliseconds == devThreadSleepTime_) return;
  for (const Entry& entry : list_) {
    if (entry.Device->SleepTime() == devThreadSleepTime_) entry.Device->SetSleepTime(milliseconds);
  }
  devThreadSleepTime_ = milliseconds;
}

THidDevice* THidDeviceController::DeviceAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return list_[static_cast<std::size_t>(index)].Device;
}

int THidDeviceController::NumCheckedInDevices() const {
  return static_cast<int>(
      std::count_if(list_.begin(), list_.end(), [](const Entry& e) { return !e.Device->CheckedOut(); }));
}

int THidDeviceController::NumCheckedOutDevices() const {
  return static_cast<int>(
      std::count_if(list_.begin(), list_.end(), [](const Entry& e) { return e.Device->CheckedOut(); }));
}

int THidDeviceController::NumUnpluggedDevices() const {
  return static_cast<int>(
      std::count_if(list_.begin(), list_.end(), [](const Entry& e) { return !e.Device->PluggedIn(); }));
}

}  // namespace kvelt::hid
