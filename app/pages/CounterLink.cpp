#include "app/pages/CounterLink.h"

#include <QString>
#include <QTimer>
#include <utility>

#include "app/HandlerGuard.h"
#include "device/qt/CounterSession.h"
#include "device/sim/SimulatedBesideDevices.h"
#include "device/sim/SimulatedHidBackend.h"

namespace kvelt::app {
namespace {

constexpr int kReplugDelayMs = 1000;

// The simulated counter's backend, alone or beside the real devices; none without one.
hid::sim::SimulatedHidBackend* Simulated(hid::CounterSession* session) {
  if (session == nullptr) return nullptr;
  if (auto* beside = dynamic_cast<hid::sim::SimulatedBesideDevices*>(&session->Backend())) {
    return &beside->Simulated();
  }
  return dynamic_cast<hid::sim::SimulatedHidBackend*>(&session->Backend());
}

}  // namespace

CounterLink::CounterLink() = default;

CounterLink::~CounterLink() { Stop(); }

void CounterLink::Start(const ProgramOptions& options, Events events) {
  hid::CounterSession::Options sessionOptions;
  sessionOptions.Simulate = options.Simulate;
  sessionOptions.SimulatedBeside = options.SimulatedBeside;
  sessionOptions.ReportError = [](const std::string& message) {
    ShowEscapedError(QString::fromStdString(message));
  };
  session_ = std::make_unique<hid::CounterSession>(std::move(sessionOptions));
  session_->OnDeviceChange = std::move(events.DeviceChange);
  session_->OnEnumerate = std::move(events.Enumerate);
  session_->OnReport = std::move(events.Report);
  session_->OnCounterChange = std::move(events.CounterChange);
  if (options.SimulateUnplugAfterSeconds >= 0.0 && Simulated(session_.get()) != nullptr) {
    ScheduleUnplug(options.SimulateUnplugAfterSeconds);
  }
}

void CounterLink::ScheduleUnplug(double seconds) {
  QTimer::singleShot(static_cast<int>(seconds * 1000.0), &timers_, [this] {
    hid::sim::SimulatedHidBackend* simulated = Simulated(session_.get());
    if (simulated == nullptr) {
      return;
    }
    simulated->Unplug();
    QTimer::singleShot(kReplugDelayMs, &timers_, [this] {
      if (hid::sim::SimulatedHidBackend* again = Simulated(session_.get())) {
        again->Plug();
      }
    });
  });
}

void CounterLink::Stop() { session_.reset(); }

hid::THidDevice* CounterLink::CounterDevice() const { return session_ ? session_->CounterDevice() : nullptr; }

void CounterLink::Send(const OutboundReport& report) {
  Send(report.Code, report.Payload.data(), report.Payload.size());
}

void CounterLink::Send(std::uint8_t code, const std::uint8_t* payload, std::size_t count) {
  if (session_) {
    (void)session_->Send(code, payload, count);
  }
}

}  // namespace kvelt::app
