#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/ProgramOptions.h"
#include "app/pages/ReportSender.h"

namespace kvelt::hid {
class CounterSession;
struct SessionDevice;
class THidDevice;
}  // namespace kvelt::hid

namespace kvelt::app {

// The window's counter session: opened once the window is built, over the simulated counter or
// the real devices as the options ask, and ended before the window goes. Requests sent while
// there is no session or no counter go nowhere.
class CounterLink : public ReportSender {
 public:
  // The session's events, on the main thread.
  struct Events {
    std::function<void()> DeviceChange;
    std::function<void(const hid::SessionDevice& device, int index)> Enumerate;
    std::function<void(const std::uint8_t* data, std::size_t size)> Report;
    std::function<void()> CounterChange;
  };

  CounterLink();
  ~CounterLink() override;
  CounterLink(const CounterLink&) = delete;
  CounterLink& operator=(const CounterLink&) = delete;

  // Opens the session; errors of the device layer are shown in a box. A simulated counter is
  // unplugged once after options.SimulateUnplugAfterSeconds (when not negative) and plugged back
  // a second later.
  void Start(const ProgramOptions& options, Events events);
  // Ends the session: every reader stops before any device goes.
  void Stop();

  // None before Start and after Stop.
  hid::CounterSession* Session() const { return session_.get(); }
  // The device chosen as the counter (with or without access); none while there is none.
  hid::THidDevice* CounterDevice() const;
  void Send(const OutboundReport& report) override;
  void Send(std::uint8_t code, const std::uint8_t* payload, std::size_t count);

 private:
  void ScheduleUnplug(double seconds);

  std::unique_ptr<hid::CounterSession> session_;
  // Owns the timers of the simulated unplug, so none fires after the link is gone.
  QObject timers_;
};

}  // namespace kvelt::app
