// The window's side of the HID device layer: the controller's creation and shutdown, the device
// list and the choice of the counter, and the framing of outbound reports.

#include <QLabel>
#include <QListWidget>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "device/AccessHint.h"
#include "device/DeviceLabel.h"
#include "device/HidBackendChoice.h"
#include "device/HidControllerClass.h"
#include "device/qt/ProgramAccessHint.h"
#include "device/qt/QtMainThreadPoster.h"
#include "device/sim/SimulatedHidBackend.h"
#include "protocol/OutputReportFrame.h"
#include "text/ControlEscape.h"

namespace {

constexpr int kReplugDelayMs = 1000;
}  // namespace

void TFMain::CreateHidDeviceController() {
  HidBackend1 = kvelt::hid::CreateHidBackend(Options_.Simulate);
  HidPoster = std::make_unique<kvelt::hid::QtMainThreadPoster>(
      [](const std::function<void()>& task) { kvelt::app::RunGuarded(task); });
  HidDeviceController1 = std::make_unique<kvelt::hid::THidDeviceController>(*HidBackend1, *HidPoster);
  HidDeviceController1->OnEnumerate = [this](kvelt::hid::THidDevice& HidDev, int Idx) {
    return HidDeviceController1Enumerate(&HidDev, Idx);
  };
  HidDeviceController1->OnDeviceChange = [this](kvelt::hid::THidDeviceController& /*Sender*/) {
    HidDeviceController1DeviceChange(this);
  };
  const int monitorFd = HidDeviceController1->MonitorFd();
  if (monitorFd >= 0) {
    auto notifier = std::make_unique<QSocketNotifier>(monitorFd, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] {
      kvelt::app::RunGuarded([this] {
        if (HidDeviceController1) {
          HidDeviceController1->OnMonitorReadable();
        }
      });
    });
    HidMonitorNotifier = std::move(notifier);
  }
  if (Options_.SimulateUnplugAfterSeconds >= 0.0 &&
      dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(HidBackend1.get()) != nullptr) {
    const int delayMs = static_cast<int>(Options_.SimulateUnplugAfterSeconds * 1000.0);
    QTimer::singleShot(delayMs, this, [this] {
      auto* simulated = dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(HidBackend1.get());
      if (simulated == nullptr) {
        return;
      }
      simulated->Unplug();
      QTimer::singleShot(kReplugDelayMs, this, [this] {
        if (auto* again = dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(HidBackend1.get())) {
          again->Plug();
        }
      });
    });
  }
}

void TFMain::DestroyHidDeviceController() {
  // No more notices; then the controller stops every reader (a report it still delivers finds
  // the window whole), and only then are the devices the list holds checked in: detached from
  // the controller, they deliver nothing more.
  HidMonitorNotifier.reset();
  CurrentDevice = nullptr;
  HidDeviceController1.reset();
  ListBox1Devices.clear();
  HidPoster.reset();
  HidBackend1.reset();
}

bool TFMain::HidDeviceController1Enumerate(kvelt::hid::THidDevice* HidDev, int Idx) {
  ListBox1->addItem(QString::fromStdString(kvelt::EscapeControlCharacters(
      kvelt::hid::DeviceListLabel(HidDev->ProductString(), HidDev->VendorID(), HidDev->ProductID()))));
  ListBox1Devices.push_back(HidDeviceController1->CheckOutDevice(Idx));
  ShowStatusMessage(0, "IDS_4");
  ShowStatusMessage(1, "IDS_2");
  return true;
}

void TFMain::HidDeviceController1DeviceChange(QObject* /*Sender*/) {
  // 1. Check every held device in, first to last. A report still waiting for hand-over is
  // delivered during its check-in, while CurrentDevice still refers to it.
  for (std::unique_ptr<kvelt::hid::THidDevice>& device : ListBox1Devices) {
    device.reset();
  }
  // 2.
  CurrentDevice = nullptr;
  // 3.
  ListBox1->clear();
  ListBox1Devices.clear();
  // 4.
  HidDeviceController1->EnumerateDevices();
  // No device at all is a finished enumeration too: the counter is not connected.
  if (ListBox1->count() == 0) {
    ShowStatusMessage(1, "IDS_2");
  }
  // 5. The last "KVELT" item wins.
  int openError = 0;
  const int count = std::min(ListBox1->count(), static_cast<int>(ListBox1Devices.size()));
  for (int i = 0; i < count; ++i) {
    kvelt::hid::THidDevice* device = ListBox1Devices[static_cast<std::size_t>(i)].get();
    if (device == nullptr || !kvelt::hid::IsCounterLabel(ListBox1->item(i)->text().toStdString())) {
      continue;
    }
    if (CurrentDevice != nullptr) {
      CurrentDevice->SetDataHandler(nullptr);
    }
    CurrentDevice = device;
    if (device->ReadWriteAccess()) {
      device->SetDataHandler([this](kvelt::hid::THidDevice& HidDev, std::uint8_t ReportID, const std::uint8_t* Data,
                                    std::uint16_t Size) { HidDataReceived(&HidDev, ReportID, Data, Size); });
      ShowStatusMessage(1, "IDS_1");
      openError = 0;
    } else {
      device->SetDataHandler(nullptr);
      ShowStatusMessage(1, "IDS_2");
      openError = device->AccessError();
    }
  }
  ReportCounterAccess(openError);
}

void TFMain::ReportCounterAccess(int openError) {
  CounterOpenError = openError;
  ShowAccessHint();
  const bool noAccess = openError != 0;
  if (noAccess && !NoAccessReported) {
    std::fprintf(stderr, "kvelt-pc: %s\n", kvelt::hid::ProgramAccessHint(openError).Text(2).c_str());
  }
  NoAccessReported = noAccess;
}

void TFMain::RefreshStatusPanels() {
  for (int panel = 0; panel < 2; ++panel) {
    const std::string& key = StatusPanelKeys[static_cast<std::size_t>(panel)];
    if (!key.empty()) {
      ShowStatusMessage(panel, std::string(key));
    }
  }
  ShowAccessHint();
}

QString TFMain::CurrentAccessHint() const {
  if (CounterOpenError == 0) {
    return QString();
  }
  return QString::fromStdString(kvelt::hid::ProgramAccessHint(CounterOpenError).Text(Lang1.ActiveLanguage()));
}

void TFMain::ShowAccessHint() {
  const QString hint = CurrentAccessHint();
  if (!hint.isEmpty()) {
    SetStatusPanelText(0, hint);
  }
  StatusPanels[0]->setToolTip(hint);
  StatusPanels[1]->setToolTip(hint);
}

void TFMain::SendReport(quint8 code, const void* payload, quint32 count) {
  try {
    if (CurrentDevice == nullptr) {
      return;
    }
    // The buffer takes the device's whole output report, however long it is.
    const std::size_t length = CurrentDevice->Caps().OutputReportByteLength;
    if (length == 0) {
      return;
    }
    const std::vector<std::uint8_t> report =
        kvelt::FrameOutputReport(code, static_cast<const std::uint8_t*>(payload), count, length);
    std::size_t written = 0;
    (void)CurrentDevice->WriteFile(report.data(), report.size(), written);
  } catch (...) {
    // A write that cannot be made is dropped; the device's reply is the only confirmation.
  }
}
