#include "device/qt/CounterSession.h"

#include <QSocketNotifier>
#include <QTimer>
#include <exception>
#include <utility>

#include "device/CounterChoice.h"
#include "device/DeviceLabel.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "device/InUseText.h"
#include "device/qt/ProgramAccessHint.h"
#include "device/qt/QtMainThreadPoster.h"
#include "protocol/OutputReportFrame.h"
#include "text/ControlEscape.h"

namespace kvelt::hid {
namespace {

std::string SessionLabel(THidDevice& device) {
  // Names and serial numbers come from the device: shown with their control characters escaped.
  std::string label =
      EscapeControlCharacters(DeviceListLabel(device.ProductString(), device.VendorID(), device.ProductID()));
  const std::string& serial = device.PnPInfo().Interface().SerialNumber;
  if (!serial.empty()) label += " (S/N " + EscapeControlCharacters(serial) + ")";
  return label;
}

}  // namespace

CounterSession::CounterSession(Options options) : options_(std::move(options)) {
  backend_ = CreateHidBackend(options_.Simulate, options_.SimulatedBeside);
  poster_ =
      std::make_unique<QtMainThreadPoster>([this](const std::function<void()>& task) { RunGuarded(task); });
  controller_ = std::make_unique<THidDeviceController>(*backend_, *poster_);
  controller_->OnDeviceChange = [this](THidDeviceController& /*sender*/) {
    if (OnDeviceChange) {
      OnDeviceChange();
    } else {
      RebuildDeviceList();
    }
  };
  controller_->OnDeviceUnplug = [this](THidDevice& device) {
    if (&device != connected_) return;
    if (OnCounterUnplug) OnCounterUnplug();
    // Outside a scan the counter's reader found its node gone: the counter is let go now, and
    // the list is rebuilt when the system's notice comes.
    if (connected_ == &device && !controller_->ScanRunning()) {
      ReleaseCounter();
      if (OnCounterChange) OnCounterChange();
    }
  };
  lockRetry_ = std::make_unique<QTimer>();
  lockRetry_->setInterval(kLockRetryMs);
  QObject::connect(lockRetry_.get(), &QTimer::timeout, [this] {
    RunGuarded([this] {
      if (state_ != CounterState::InUse) {
        lockRetry_->stop();
        return;
      }
      TryTakeLock();
      if (state_ == CounterState::Connected && OnCounterChange) OnCounterChange();
    });
  });
  WatchMonitor();
}

CounterSession::~CounterSession() {
  // No more notices; the controller stops every reader (a report it still delivers finds the
  // session whole); only then are the lent devices given back, the lock freed, and the
  // hand-over and backend go.
  lockRetry_.reset();
  monitor_.reset();
  OnDeviceChange = nullptr;
  OnEnumerate = nullptr;
  OnCounterChange = nullptr;
  OnCounterUnplug = nullptr;
  connected_ = nullptr;
  controller_.reset();
  lent_.clear();
  lock_.reset();
  poster_.reset();
  backend_.reset();
}

void CounterSession::RunGuarded(const std::function<void()>& task) const {
  try {
    task();
  } catch (const std::exception& error) {
    if (options_.ReportError) options_.ReportError(error.what());
  } catch (...) {
    if (options_.ReportError) options_.ReportError(std::string());
  }
}

void CounterSession::WatchMonitor() {
  const int fd = controller_->MonitorFd();
  if (fd < 0) return;
  monitor_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(monitor_.get(), &QSocketNotifier::activated,
                   [this] { RunGuarded([this] { controller_->OnMonitorReadable(); }); });
}

void CounterSession::Scan() {
  const std::uint64_t before = rebuilds_;
  controller_->DeviceChange();
  if (rebuilds_ == before) RebuildDeviceList();
}

void CounterSession::RebuildDeviceList() {
  ++rebuilds_;
  // The connected counter stays lent while it is plugged in, its reader running.
  std::unique_ptr<THidDevice> kept;
  if (connected_ != nullptr && counterIndex_ >= 0) {
    std::unique_ptr<THidDevice>& held = lent_[static_cast<std::size_t>(counterIndex_)];
    if (held.get() == connected_ && held->PluggedIn()) kept = std::move(held);
  }
  // Every other device is given back, first to last. A report still waiting for hand-over is
  // delivered during its check-in, to the handler it was read for.
  if (!kept) connected_ = nullptr;
  for (std::unique_ptr<THidDevice>& device : lent_) device.reset();
  lent_.clear();
  devices_.clear();
  counterIndex_ = -1;
  if (!kept) ReleaseCounter();

  controller_->OnEnumerate = [this, &kept](THidDevice& device, int index) {
    SessionDevice listed;
    listed.Label = SessionLabel(device);
    listed.ProductString = device.ProductString();
    listed.SerialNumber = device.PnPInfo().Interface().SerialNumber;
    listed.VendorID = device.VendorID();
    listed.ProductID = device.ProductID();
    listed.Path = device.PnPInfo().DevicePath();
    listed.Simulated = device.PnPInfo().Interface().Simulated;
    lent_.push_back(kept && &device == kept.get() ? std::move(kept) : controller_->CheckOutDevice(index));
    listed.Device = lent_.back().get();
    listed.Access = listed.Device != nullptr && listed.Device->ReadWriteAccess();
    if (listed.Device != nullptr && !listed.Access) listed.OpenError = listed.Device->AccessError();
    devices_.push_back(std::move(listed));
    if (OnEnumerate) OnEnumerate(devices_.back(), static_cast<int>(devices_.size()) - 1);
    return true;
  };
  controller_->EnumerateDevices();
  controller_->OnEnumerate = nullptr;
  if (kept) {  // not listed after all: given back like the others
    ReleaseCounter();
    kept.reset();
  }
  ChooseCounter();
  if (OnCounterChange) OnCounterChange();
}

void CounterSession::ChooseCounter() {
  std::vector<ChoiceCandidate> candidates;
  candidates.reserve(devices_.size());
  for (const SessionDevice& device : devices_) {
    candidates.push_back({device.ProductString, device.Path, device.SerialNumber, device.Device != nullptr});
  }
  const int chosen = hid::ChooseCounter(candidates, options_.DeviceChoice);
  if (chosen < 0 || devices_[static_cast<std::size_t>(chosen)].Device != connected_) ReleaseCounter();
  if (chosen < 0) return;
  counterIndex_ = chosen;
  SessionDevice& counter = devices_[static_cast<std::size_t>(chosen)];
  counter.Counter = true;
  if (counter.Device == connected_) return;  // kept across the rebuild
  if (!counter.Access) {
    state_ = CounterState::NoAccess;
    return;
  }
  TryTakeLock();
}

void CounterSession::TryTakeLock() {
  if (counterIndex_ < 0) return;
  THidDevice* device = devices_[static_cast<std::size_t>(counterIndex_)].Device;
  if (device == nullptr) return;
  HidLockResult result = backend_->LockDevice(device->PnPInfo().Interface());
  if (result.InUse) {
    state_ = CounterState::InUse;
    holder_ = result.Holder;
    if (!lockRetry_->isActive()) lockRetry_->start();
    return;
  }
  lockRetry_->stop();
  lock_ = std::move(result.Lock);
  holder_ = {};
  state_ = CounterState::Connected;
  connected_ = device;
  ++connections_;
  device->SetDataHandler([this](THidDevice& /*device*/, std::uint8_t /*reportId*/, const std::uint8_t* data,
                                std::uint16_t size) {
    if (OnReport) OnReport(data, size);
  });
}

void CounterSession::ReleaseCounter() {
  if (connected_ != nullptr) connected_->SetDataHandler(nullptr);
  connected_ = nullptr;
  lock_.reset();
  lockRetry_->stop();
  holder_ = {};
  state_ = CounterState::Absent;
}

const SessionDevice* CounterSession::Counter() const {
  return counterIndex_ >= 0 ? &devices_[static_cast<std::size_t>(counterIndex_)] : nullptr;
}

bool CounterSession::CounterSimulated() const {
  const SessionDevice* counter = Counter();
  return counter != nullptr && counter->Simulated;
}

THidDevice* CounterSession::CounterDevice() const {
  const SessionDevice* counter = Counter();
  return counter != nullptr ? counter->Device : nullptr;
}

int CounterSession::AccessError() const {
  const SessionDevice* counter = Counter();
  return state_ == CounterState::NoAccess && counter != nullptr ? counter->OpenError : 0;
}

std::string CounterSession::ObstacleText(int language) const {
  switch (state_) {
    case CounterState::NoAccess:
      return ProgramAccessHint(AccessError()).Text(language);
    case CounterState::InUse:
      return InUseText(holder_, language);
    case CounterState::Absent:
    case CounterState::Connected:
      break;
  }
  return std::string();
}

bool CounterSession::Send(std::uint8_t code, const std::uint8_t* payload, std::size_t count) {
  try {
    if (state_ != CounterState::Connected || connected_ == nullptr) return false;
    // The buffer takes the device's whole output report, however long it is.
    const std::vector<std::uint8_t> report =
        FrameOutputReport(code, payload, count, connected_->Caps().OutputReportByteLength);
    if (report.empty()) return false;
    std::size_t written = 0;
    return connected_->WriteFile(report.data(), report.size(), written);
  } catch (...) {
    // A write that cannot be made is dropped; the device's reply is the only confirmation.
    return false;
  }
}

}  // namespace kvelt::hid
