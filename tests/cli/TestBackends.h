#pragma once

#include <memory>

#include "device/HidBackend.h"
#include "device/sim/SimulatedHidBackend.h"

namespace kvelt::cli::test {

// A simulated bus, shared by every backend made from it, so that one subcommand sees what an
// earlier one set; each backend can also refuse the counter's node or swallow every request.
class SharedSimulatedBus {
 public:
  // Overwritten: the counter takes no lock, and a second client writes every resolution again
  // right after the first (with 777), as another program on an unlocked counter could.
  // HostileName: the keyboard's name holds terminal escape codes.
  enum class Mode { Normal, NoPermission, Silent, Empty, Overwritten, HostileName };

  explicit SharedSimulatedBus(Mode mode = Mode::Normal);
  // A backend on this bus, for ScopedHidBackendFactory.
  std::unique_ptr<hid::HidBackend> MakeBackend();

  hid::sim::SimulatedHidBackend& Simulated() { return *simulated_; }

  // From now on the counter sends nothing more (its node stays, reads just wait).
  void Mute();

 private:
  Mode mode_;
  std::shared_ptr<hid::sim::SimulatedHidBackend> simulated_;
  std::shared_ptr<struct MuteSwitch> mute_;
};

}  // namespace kvelt::cli::test
