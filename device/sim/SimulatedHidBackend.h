#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "device/HidBackend.h"
#include "device/sim/InProcessLock.h"
#include "device/sim/SimulatedCounter.h"

namespace kvelt::hid::sim {

// A HID backend with two simulated interfaces, in this order (the keyboard can be left out, so
// that the counter is the only device):
//   - a keyboard ("Simulated keyboard", 1209:0002) that can only be opened metadata-only, as
//     the system keeps keyboards for itself;
//   - the KVELT counter ("KVELT", 1209:0001, serial number "SIM-0001"; report lengths 65/65),
//     present at start.
// The ids are pid.codes test values, used here only. Plug()/Unplug() (main thread) attach and
// detach the counter and announce the change through the change callback. The counter runs on
// the machine's steady clock, or on the clock given.
class SimulatedHidBackend final : public HidBackend {
 public:
  static constexpr std::uint16_t kVendorID = 0x1209;
  static constexpr std::uint16_t kCounterProductID = 0x0001;
  static constexpr std::uint16_t kKeyboardProductID = 0x0002;
  static constexpr const char* kCounterIdentity = "sim/kvelt-counter";
  static constexpr const char* kKeyboardIdentity = "sim/keyboard";

  enum class Bus { WithKeyboard, CounterOnly };

  explicit SimulatedHidBackend(Bus bus = Bus::WithKeyboard,
                               SimulatedCounter::ReplyLoss replyLoss = SimulatedCounter::ReplyLoss::Never);
  SimulatedHidBackend(Bus bus, SimulatedCounter::ReplyLoss replyLoss, std::shared_ptr<SimClock> clock);

  void Plug();
  void Unplug();
  bool CounterPlugged() const;
  SimulatedCounter& Counter() { return *counter_; }
  static HidInterfaceInfo CounterInterface();
  static HidInterfaceInfo KeyboardInterface();

  std::vector<HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) override;
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override { return false; }
  void SetChangeCallback(std::function<void()> callback) override;
  // The counter has a lock of its own, shared by every backend on this bus.
  HidLockResult LockDevice(const HidInterfaceInfo& info) override;

 private:
  void Announce();

  Bus bus_;
  std::shared_ptr<SimulatedCounter> counter_;
  std::function<void()> changeCallback_;
  std::shared_ptr<InProcessLock> counterLock_ = std::make_shared<InProcessLock>();
};

}  // namespace kvelt::hid::sim
