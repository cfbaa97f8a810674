#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "protocol/OutboundReport.h"

class QSocketNotifier;
class QTimer;

namespace kvelt::hid {

class QtMainThreadPoster;
class THidDevice;
class THidDeviceController;

// One HID interface as the device list shows it.
struct SessionDevice {
  std::string Label;  // the list label: product string (or "Device VID=... PID=..."), serial number
  std::string ProductString;
  std::string SerialNumber;
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::string Path;
  bool Counter = false;          // the device the session talks to
  bool Access = false;           // opened for reading and writing
  bool Simulated = false;        // the built-in simulated counter's bus, not a system device
  int OpenError = 0;             // errno of the failed open; 0 when it opened or cannot tell
  THidDevice* Device = nullptr;  // lent to the session; none where the check-out failed
};

// The counter as the session has it.
enum class CounterState {
  Absent,     // no counter listed (or none that the choice names)
  Connected,  // its reports arrive and requests go out
  NoAccess,   // listed, but its node may not be opened for reading and writing
  InUse,      // another program of this system holds its lock; taken over once it is freed
};

// The link to the counter that the window and the command line share. It owns the HID backend,
// the hand-over onto the Qt main thread, the device controller and its change notices; it lends
// every listed device, chooses the counter, holds the counter's lock against other programs of
// this system, and frames requests to the counter's output report. Main thread only.
//
// Across a rebuild of the list the counter, when it is still there and still the choice, stays
// lent with its reader running, so no report is lost because another device came or went.
class CounterSession {
 public:
  struct Options {
    bool Simulate = false;
    // PATH, serial number or list position (from 1) of the counter; empty: the last "KVELT".
    std::string DeviceChoice;
    // Where an error escaping a handler of the device layer goes (a message; empty when the
    // error had none). Without one it is dropped.
    std::function<void(const std::string& message)> ReportError;
    // The simulated counter listed before the system's devices (ignored with Simulate).
    bool SimulatedBeside = false;
  };

  explicit CounterSession(Options options);
  // Stops every reader before any lent device goes, then the controller, hand-over and backend.
  ~CounterSession();
  CounterSession(const CounterSession&) = delete;
  CounterSession& operator=(const CounterSession&) = delete;

  // Events, on the main thread.
  // The controller noticed a change of the devices present; without a handler the list is rebuilt.
  std::function<void()> OnDeviceChange;
  // One listed device, in list order, while the list is rebuilt.
  std::function<void(const SessionDevice& device, int index)> OnEnumerate;
  // After every rebuild and whenever the counter's state changes by itself (its lock freed).
  std::function<void()> OnCounterChange;
  // The counter's reports: the bytes after the report id, code first.
  std::function<void(const std::uint8_t* data, std::size_t size)> OnReport;
  // The counter was unplugged: found gone by its reader (OnCounterChange follows, the list is
  // rebuilt on the system's notice) or by a scan (before the rebuild that follows).
  std::function<void()> OnCounterUnplug;

  // Gives every lent device back, lends again all those present and chooses the counter.
  void RebuildDeviceList();
  // Runs the controller's scan now (it also runs on every change notice); the list is rebuilt
  // when it changed.
  void Scan();

  const std::vector<SessionDevice>& Devices() const { return devices_; }
  const SessionDevice* Counter() const;
  // The chosen counter is the built-in simulated one.
  bool CounterSimulated() const;
  THidDevice* CounterDevice() const;
  CounterState State() const { return state_; }
  // How many times a counter was connected so far: a new value means a new stream of reports.
  std::uint64_t Connections() const { return connections_; }
  // errno of the counter's failed open while NoAccess, else 0.
  int AccessError() const;
  // The program holding the counter while InUse.
  const HidLockHolder& Holder() const { return holder_; }
  // What stands in the way of the counter in language 1 (Polish) or 2 (English): the access hint
  // or who holds it; empty while it is connected or absent.
  std::string ObstacleText(int language) const;

  // Frames one request to the counter's output report and writes it; false when there is no
  // connected counter or the write failed.
  bool Send(std::uint8_t code, const std::uint8_t* payload, std::size_t count);
  bool Send(const OutboundReport& request) {
    return Send(request.Code, request.Payload.data(), request.Payload.size());
  }

  HidBackend& Backend() { return *backend_; }
  THidDeviceController& Controller() { return *controller_; }

  // How long a counter in use by another program waits between tries to take it.
  static constexpr int kLockRetryMs = 500;

 private:
  void WatchMonitor();
  void ChooseCounter();
  void TryTakeLock();
  void ReleaseCounter();
  void RunGuarded(const std::function<void()>& task) const;

  Options options_;
  std::unique_ptr<HidBackend> backend_;
  std::unique_ptr<QtMainThreadPoster> poster_;
  std::unique_ptr<THidDeviceController> controller_;
  std::unique_ptr<QSocketNotifier> monitor_;
  std::unique_ptr<QTimer> lockRetry_;
  std::vector<std::unique_ptr<THidDevice>> lent_;  // parallel to devices_
  std::vector<SessionDevice> devices_;
  int counterIndex_ = -1;
  THidDevice* connected_ = nullptr;  // the counter with the session's data handler and lock
  std::uint64_t rebuilds_ = 0;
  std::uint64_t connections_ = 0;
  CounterState state_ = CounterState::Absent;
  std::unique_ptr<HidDeviceLock> lock_;
  HidLockHolder holder_;
};

}  // namespace kvelt::hid
