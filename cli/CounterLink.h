#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/OutboundReport.h"

class QEventLoop;
class QSocketNotifier;

namespace kvelt::hid {
class HidBackend;
class THidDevice;
class THidDeviceController;
class QtMainThreadPoster;
}  // namespace kvelt::hid

namespace kvelt::cli {

// One HID interface as the device list shows it.
struct ListedDevice {
  std::string Label;  // product string, or "Device VID=... PID=..."
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::string Path;
  bool Counter = false;  // the one the program talks to (the last "KVELT")
  bool Access = false;   // opened for reading and writing
  int OpenError = 0;     // errno of the failed open, 0 when it opened or cannot tell
};

// The command line's link to the counter, through the same device layer as the window: the
// simulated counter or the system's hidraw devices, the controller's scan, the choice of the
// counter, its reports handed to the Qt event loop, requests framed to its output report. Main
// thread only.
class CounterLink {
 public:
  enum class Wait { Done, TimedOut, Stopped, Unplugged };

  explicit CounterLink(bool simulate);
  ~CounterLink();
  CounterLink(const CounterLink&) = delete;
  CounterLink& operator=(const CounterLink&) = delete;

  // Scans the devices present once and lends them all out, as the window's device list does.
  void Scan();
  const std::vector<ListedDevice>& Devices() const { return devices_; }
  const ListedDevice* Counter() const;

  // Scans and makes sure the counter is there and may be opened; throws CliFailure (no counter:
  // exit 2; no access: exit 3, with the hint in `language`) otherwise. Then its reports reach the
  // handler.
  void Connect(std::function<void(const std::uint8_t* data, std::size_t size)> reportHandler, int language);

  // Sends one request to the counter; false when it could not be written.
  bool Send(const OutboundReport& request);

  // Runs the event loop until done() holds (checked after every report and at the start), the
  // timeout passes, Stop() is called or the counter is unplugged. No timeout: until one of the
  // others.
  Wait RunUntil(const std::function<bool()>& done, std::optional<std::chrono::milliseconds> timeout);
  // Ends the current RunUntil (from a signal notifier, a timer, a handler).
  void Stop();

  // The access hint of the counter's node in language 1 (Polish) or 2 (English).
  std::string AccessHintText(int language) const;

 private:
  void WatchMonitor();
  void Rescan();
  void Quit(Wait reason);

  std::unique_ptr<hid::HidBackend> backend_;
  std::unique_ptr<hid::QtMainThreadPoster> poster_;
  std::unique_ptr<hid::THidDeviceController> controller_;
  std::unique_ptr<QSocketNotifier> monitor_;
  std::vector<std::unique_ptr<hid::THidDevice>> lent_;
  std::vector<ListedDevice> devices_;
  hid::THidDevice* counter_ = nullptr;
  int counterIndex_ = -1;
  std::function<void(const std::uint8_t*, std::size_t)> reportHandler_;
  std::function<bool()> done_;
  QEventLoop* loop_ = nullptr;
  Wait result_ = Wait::Done;
  bool quitting_ = false;
  bool stopRequested_ = false;
  bool unplugged_ = false;
};

}  // namespace kvelt::cli
