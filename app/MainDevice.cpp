// The window's side of the counter session: its creation and end, the device list, the
// connection state in the status bar, and the framing of outbound reports.

#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <cstdio>

#include "app/HandlerGuard.h"
#include "app/Main.h"
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
  Session = std::make_unique<kvelt::hid::CounterSession>(std::move(options));
  Session->OnDeviceChange = [this] { HidDeviceController1DeviceChange(this); };
  Session->OnEnumerate = [this](const kvelt::hid::SessionDevice& device, int index) {
    HidDeviceController1Enumerate(device, index);
  };
  Session->OnReport = [this](const std::uint8_t* data, std::size_t size) {
    HidDataReceived(CurrentDevice(), 1, data, static_cast<quint16>(size));
  };
  Session->OnCounterChange = [this] { ShowCounterState(); };
  if (Options_.SimulateUnplugAfterSeconds >= 0.0 &&
      dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&Session->Backend()) != nullptr) {
    const int delayMs = static_cast<int>(Options_.SimulateUnplugAfterSeconds * 1000.0);
    QTimer::singleShot(delayMs, this, [this] {
      auto* simulated =
          Session ? dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&Session->Backend()) : nullptr;
      if (simulated == nullptr) {
        return;
      }
      simulated->Unplug();
      QTimer::singleShot(kReplugDelayMs, this, [this] {
        if (auto* again = Session ? dynamic_cast<kvelt::hid::sim::SimulatedHidBackend*>(&Session->Backend())
                                  : nullptr) {
          again->Plug();
        }
      });
    });
  }
}

void TFMain::DestroyHidDeviceController() { Session.reset(); }

kvelt::hid::THidDevice* TFMain::CurrentDevice() const { return Session ? Session->CounterDevice() : nullptr; }

bool TFMain::HidDeviceController1Enumerate(const kvelt::hid::SessionDevice& HidDev, int /*Idx*/) {
  ListBox1->addItem(QString::fromStdString(HidDev.Label));
  ShowStatusMessage(0, "IDS_4");
  ShowStatusMessage(1, "IDS_2");
  return true;
}

void TFMain::HidDeviceController1DeviceChange(QObject* /*Sender*/) {
  // The session gives every device back (the connected counter stays lent), lists them again
  // through HidDeviceController1Enumerate and chooses the counter; ShowCounterState follows.
  ListBox1->clear();
  Session->RebuildDeviceList();
}

void TFMain::ShowCounterState() {
  const bool connected = Session->State() == kvelt::hid::CounterState::Connected;
  ShowStatusMessage(1, connected ? "IDS_1" : "IDS_2");
  if (connected && Session->Connections() != ConnectionsSeen) {
    // A new stream of reports: the recording's period count and channels heard start afresh.
    ConnectionsSeen = Session->Connections();
    Recorder->Restart();
  }
  ShowAccessHint();
  const std::string obstacle = Session->ObstacleText(2);
  if (!obstacle.empty() && !NoAccessReported) {
    std::fprintf(stderr, "kvelt-pc: %s\n", obstacle.c_str());
  }
  NoAccessReported = !obstacle.empty();
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
  if (!Session) {
    return QString();
  }
  return QString::fromStdString(Session->ObstacleText(Lang1.ActiveLanguage()));
}

void TFMain::ShowAccessHint() {
  const QString hint = CurrentAccessHint();
  if (!hint.isEmpty()) {
    SetStatusPanelText(0, hint);
  } else if (!ShownAccessHint.isEmpty() && StatusPanelText(0) == ShownAccessHint) {
    SetStatusPanelText(0, QString());  // the obstacle is gone: its text would no longer be true
  }
  ShownAccessHint = hint;
  StatusPanels[0]->setToolTip(hint);
  StatusPanels[1]->setToolTip(hint);
}

void TFMain::SendReport(quint8 code, const void* payload, quint32 count) {
  if (Session) {
    (void)Session->Send(code, static_cast<const std::uint8_t*>(payload), count);
  }
}
