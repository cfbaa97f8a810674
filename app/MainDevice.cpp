// The window's side of the counter session: its creation and end, the device list, the
// connection state in the status bar, and the framing of outbound reports.

#include <QTimer>

#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "app/pages/DeviceStatusPage.h"
#include "device/HidControllerClass.h"
#include "device/qt/CounterSession.h"
#include "device/sim/SimulatedHidBackend.h"

namespace {

constexpr int kReplugDelayMs = 1000;
}  // namespace

void TFMain::CreateHidDeviceController() {
  kvelt::hid::CounterSession::Options options;
  options.Simulate = Options_.Simulate;
  options.ReportError = [](const std::string& message) {
    kvelt::app::ShowEscapedError(QString::fromStdString(message));
  };
  Session_ = std::make_unique<kvelt::hid::CounterSession>(std::move(options));
  Session_->OnDeviceChange = [this] { HidDeviceController1DeviceChange(this); };
  Session_->OnEnumerate = [this](const kvelt::hid::SessionDevice& device, int index) {
    HidDeviceController1Enumerate(device, index);
  };
  Session_->OnReport = [this](const std::uint8_t* data, std::size_t size) {
    HidDataReceived(CurrentDevice(), 1, data, static_cast<quint16>(size));
  };
  Session_->OnCounterChange = [this] { ShowCounterState(); };
  if (Options_.SimulateUnplugAfterSeconds >= 0.0 &&
      dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&Session_->Backend()) != nullptr) {
    const int delayMs = static_cast<int>(Options_.SimulateUnplugAfterSeconds * 1000.0);
    QTimer::singleShot(delayMs, this, [this] {
      auto* simulated =
          Session_ ? dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&Session_->Backend()) : nullptr;
      if (simulated == nullptr) {
        return;
      }
      simulated->Unplug();
      QTimer::singleShot(kReplugDelayMs, this, [this] {
        if (auto* again = Session_ ? dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&Session_->Backend())
                                   : nullptr) {
          again->Plug();
        }
      });
    });
  }
}

void TFMain::DestroyHidDeviceController() { Session_.reset(); }

kvelt::hid::THidDevice* TFMain::CurrentDevice() const {
  return Session_ ? Session_->CounterDevice() : nullptr;
}

bool TFMain::HidDeviceController1Enumerate(const kvelt::hid::SessionDevice& HidDev, int /*Idx*/) {
  StatusPage_->ListDevice(HidDev.Label);
  return true;
}

void TFMain::HidDeviceController1DeviceChange(QObject* /*Sender*/) {
  // The session gives every device back (the connected counter stays lent), lists them again
  // through HidDeviceController1Enumerate and chooses the counter; ShowCounterState follows.
  StatusPage_->ClearDevices();
  Session_->RebuildDeviceList();
}

void TFMain::ShowCounterState() { StatusPage_->ShowCounterState(); }

void TFMain::RefreshStatusPanels() { StatusPage_->Refresh(); }

QString TFMain::CurrentAccessHint() const { return StatusPage_->CurrentAccessHint(); }

void TFMain::ShowAccessHint() { StatusPage_->ShowAccessHint(); }

void TFMain::Send(const kvelt::OutboundReport& report) {
  SendReport(report.Code, report.Payload.data(), static_cast<quint32>(report.Payload.size()));
}

void TFMain::SendReport(quint8 code, const void* payload, quint32 count) {
  if (Session_) {
    (void)Session_->Send(code, static_cast<const std::uint8_t*>(payload), count);
  }
}
