#pragma once

#include <QString>

namespace kvelt::app {

// What the command line asks of the program.
struct ProgramOptions {
  QString ConfigDir;      // --config-dir: folder of config.ini; empty = the usual place
  bool Simulate = false;  // --simulate: the built-in simulated counter instead of real devices
  // --with-simulated: the simulated counter listed beside the real devices; a real counter is
  // chosen over it (ignored with --simulate).
  bool SimulatedBeside = false;
  bool QuitAfterShow = false;  // --quit-after-show: close as soon as the window is shown
  // --simulate-unplug-after SECONDS: the simulated counter is unplugged once after this many
  // seconds and plugged back a second later; negative = never. Implies --simulate unless
  // --with-simulated is given.
  double SimulateUnplugAfterSeconds = -1.0;
  QString Platform;  // -platform NAME: the GUI platform asked for; empty = the usual one
};

}  // namespace kvelt::app
