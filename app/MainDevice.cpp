// The window's side of the counter session (app/pages/CounterLink.h): its start and end, the
// device list and the counter's state (app/pages/DeviceStatusPage.h), and outbound reports.

#include <utility>

#include "app/Main.h"
#include "app/pages/DeviceStatusPage.h"
#include "device/HidControllerClass.h"
#include "device/qt/CounterSession.h"

void TFMain::CreateHidDeviceController() {
  kvelt::app::CounterLink::Events events;
  events.DeviceChange = [this] { HidDeviceController1DeviceChange(this); };
  events.Enumerate = [this](const kvelt::hid::SessionDevice& device, int index) {
    HidDeviceController1Enumerate(device, index);
  };
  events.Report = [this](const std::uint8_t* data, std::size_t size) {
    HidDataReceived(CurrentDevice(), 1, data, static_cast<quint16>(size));
  };
  events.CounterChange = [this] { statusPage_->ShowCounterState(); };
  link_.Start(options_, std::move(events));
}

void TFMain::DestroyHidDeviceController() { link_.Stop(); }

bool TFMain::HidDeviceController1Enumerate(const kvelt::hid::SessionDevice& HidDev, int /*Idx*/) {
  statusPage_->ListDevice(HidDev);
  return true;
}

void TFMain::HidDeviceController1DeviceChange(QObject* /*Sender*/) {
  statusPage_->DeviceChange(link_.Session());
}

QString TFMain::CurrentAccessHint() const { return statusPage_->CurrentAccessHint(); }

void TFMain::ShowAccessHint() { statusPage_->ShowAccessHint(); }

void TFMain::SendReport(quint8 code, const void* payload, quint32 count) {
  link_.Send(code, static_cast<const std::uint8_t*>(payload), count);
}
