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
  options.Simulate = options_.Simulate;
  options.ReportError = [](const std::string& message) {
    kvelt::app::ShowEscapedError(QString::fromStdString(message));
  };
  session_ = std::make_unique<kvelt::hid::CounterSession>(std::move(options));
  session_->OnDeviceChange = [this] { HidDeviceController1DeviceChange(this); };
  session_->OnEnumerate = [this](const kvelt::hid::SessionDevice& device, int index) {
    HidDeviceController1Enumerate(device, index);
  };
  session_->OnReport = [this](const std::uint8_t* data, std::size_t size) {
    HidDataReceived(CurrentDevice(), 1, data, static_cast<quint16>(size));
  };
  session_->OnCounterChange = [this] { ShowCounterState(); };
  if (options_.SimulateUnplugAfterSeconds >= 0.0 &&
      dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&session_->Backend()) != nullptr) {
    const int delayMs = static_cast<int>(options_.SimulateUnplugAfterSeconds * 1000.0);
    QTimer::singleShot(delayMs, this, [this] {
      auto* simulated =
          session_ ? dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&session_->Backend()) : nullptr;
      if (simulated == nullptr) {
        return;
      }
      simulated->Unplug();
      QTimer::singleShot(kReplugDelayMs, this, [this] {
        if (auto* again = session_ ? dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&session_->Backend())
                                   : nullptr) {
          again->Plug();
        }
      });
    });
  }
}

void TFMain::DestroyHidDeviceController() { session_.reset(); }

kvelt::hid::THidDevice* TFMain::CurrentDevice() const {
  return session_ ? session_->CounterDevice() : nullptr;
}

bool TFMain::HidDeviceController1Enumerate(const kvelt::hid::SessionDevice& HidDev, int /*Idx*/) {
  statusPage_->ListDevice(HidDev.Label);
  return true;
}

void TFMain::HidDeviceController1DeviceChange(QObject* /*Sender*/) {
  // The session gives every device back (the connected counter stays lent), lists them again
  // through HidDeviceController1Enumerate and chooses the counter; ShowCounterState follows.
  statusPage_->ClearDevices();
  session_->RebuildDeviceList();
}

void TFMain::ShowCounterState() { statusPage_->ShowCounterState(); }

void TFMain::RefreshStatusPanels() { statusPage_->Refresh(); }

QString TFMain::CurrentAccessHint() const { return statusPage_->CurrentAccessHint(); }

void TFMain::ShowAccessHint() { statusPage_->ShowAccessHint(); }

void TFMain::Send(const kvelt::OutboundReport& report) {
  SendReport(report.Code, report.Payload.data(), static_cast<quint32>(report.Payload.size()));
}

void TFMain::SendReport(quint8 code, const void* payload, quint32 count) {
  if (session_) {
    (void)session_->Send(code, static_cast<const std::uint8_t*>(payload), count);
  }
}
