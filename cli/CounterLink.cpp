#include "cli/CounterLink.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <cstdio>
#include <exception>

#include "cli/ExitCode.h"
#include "cli/LongTimer.h"
#include "device/AccessHint.h"
#include "device/DeviceLabel.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "device/qt/ProgramAccessHint.h"
#include "device/qt/QtMainThreadPoster.h"
#include "protocol/OutputReportFrame.h"

namespace kvelt::cli {
namespace {

// A task of the device layer that throws (a handler's fault) is reported and the program goes
// on, as the window does with its error box.
void RunReported(const std::function<void()>& task) {
  try {
    task();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kvelt: %s\n", error.what());
  } catch (...) {
    std::fprintf(stderr, "kvelt: unexpected error\n");
  }
}

}  // namespace

CounterLink::CounterLink(bool simulate) {
  backend_ = hid::CreateHidBackend(simulate);
  poster_ = std::make_unique<hid::QtMainThreadPoster>(RunReported);
  controller_ = std::make_unique<hid::THidDeviceController>(*backend_, *poster_);
  controller_->OnDeviceUnplug = [this](hid::THidDevice& device) {
    if (&device == counter_) {
      unplugged_ = true;
      Quit(Wait::Unplugged);
    }
  };
  WatchMonitor();
}

CounterLink::~CounterLink() {
  // The readers stop with the controller; only then are the lent devices given back.
  monitor_.reset();
  counter_ = nullptr;
  controller_.reset();
  lent_.clear();
  poster_.reset();
  backend_.reset();
}

void CounterLink::WatchMonitor() {
  const int fd = controller_->MonitorFd();
  if (fd < 0) return;
  monitor_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  QObject::connect(monitor_.get(), &QSocketNotifier::activated,
                   [this] { RunReported([this] { controller_->OnMonitorReadable(); }); });
}

void CounterLink::Scan() {
  controller_->DeviceChange();
  lent_.clear();
  devices_.clear();
  counter_ = nullptr;
  counterIndex_ = -1;
  controller_->OnEnumerate = [this](hid::THidDevice& device, int index) {
    ListedDevice listed;
    listed.Label = hid::DeviceListLabel(device.ProductString(), device.VendorID(), device.ProductID());
    listed.VendorID = device.VendorID();
    listed.ProductID = device.ProductID();
    listed.Path = device.PnPInfo().DevicePath();
    lent_.push_back(controller_->CheckOutDevice(index));
    hid::THidDevice* lentDevice = lent_.back().get();
    listed.Access = lentDevice != nullptr && lentDevice->ReadWriteAccess();
    if (lentDevice != nullptr && !listed.Access) {
      listed.OpenError = lentDevice->AccessError();
    }
    devices_.push_back(listed);
    return true;
  };
  controller_->EnumerateDevices();
  controller_->OnEnumerate = nullptr;
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    if (lent_[i] != nullptr && hid::IsCounterLabel(devices_[i].Label)) {
      counterIndex_ = static_cast<int>(i);
    }
  }
  if (counterIndex_ >= 0) {
    devices_[static_cast<std::size_t>(counterIndex_)].Counter = true;
    counter_ = lent_[static_cast<std::size_t>(counterIndex_)].get();
  }
}

const ListedDevice* CounterLink::Counter() const {
  return counterIndex_ >= 0 ? &devices_[static_cast<std::size_t>(counterIndex_)] : nullptr;
}

void CounterLink::Connect(std::function<void(const std::uint8_t*, std::size_t)> reportHandler, int language) {
  Scan();
  const ListedDevice* counter = Counter();
  if (counter == nullptr) {
    throw CliFailure(ExitCode::NoCounter,
                     "no counter found (no HID device named \"KVELT\"; --simulate uses the "
                     "built-in simulated counter)");
  }
  if (!counter->Access) {
    throw CliFailure(ExitCode::NoAccess,
                     "the counter at " + counter->Path + " cannot be opened: " + AccessHintText(language));
  }
  reportHandler_ = std::move(reportHandler);
  counter_->SetDataHandler([this](hid::THidDevice& /*device*/, std::uint8_t /*reportId*/,
                                  const std::uint8_t* data, std::uint16_t size) {
    if (reportHandler_) reportHandler_(data, size);
    if (loop_ != nullptr && done_ && done_()) Quit(Wait::Done);
  });
}

bool CounterLink::Send(const OutboundReport& request) {
  if (counter_ == nullptr || unplugged_) return false;
  const std::vector<std::uint8_t> report =
      FrameOutputReport(request, counter_->Caps().OutputReportByteLength);
  if (report.empty()) return false;
  std::size_t written = 0;
  return counter_->WriteFile(report.data(), report.size(), written);
}

CounterLink::Wait CounterLink::RunUntil(const std::function<bool()>& done,
                                        std::optional<std::chrono::milliseconds> timeout) {
  if (stopRequested_) return Wait::Stopped;
  if (unplugged_) return Wait::Unplugged;
  if (done && done()) return Wait::Done;
  QEventLoop loop;
  LongTimer timer([this] { Quit(Wait::TimedOut); });
  if (timeout) timer.Start(*timeout);
  done_ = done;
  loop_ = &loop;
  result_ = Wait::TimedOut;
  quitting_ = false;
  loop.exec();
  loop_ = nullptr;
  done_ = nullptr;
  return result_;
}

void CounterLink::Stop() {
  stopRequested_ = true;
  Quit(Wait::Stopped);
}

void CounterLink::Quit(Wait reason) {
  // The first reason wins: events handled before the loop returns do not overwrite it.
  if (loop_ == nullptr || quitting_) return;
  quitting_ = true;
  result_ = reason;
  loop_->quit();
}

std::string CounterLink::AccessHintText(int language) const {
  const ListedDevice* counter = Counter();
  const int error = counter != nullptr ? counter->OpenError : 0;
  return hid::ProgramAccessHint(error).Text(language);
}

}  // namespace kvelt::cli
