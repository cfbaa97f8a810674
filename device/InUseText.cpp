#include "device/InUseText.h"

namespace kvelt::hid {

std::string InUseText(const HidLockHolder& holder, int language) {
  const bool polish = language == 1;
  if (holder.Pid <= 0) {
    return polish ? "Licznik jest używany przez inny program." : "The counter is in use by another program.";
  }
  const std::string program = holder.Program.empty() ? std::string("?") : holder.Program;
  const std::string who = program + " (PID " + std::to_string(holder.Pid) + ")";
  return polish ? "Licznik jest używany przez program " + who + "." : "The counter is in use by " + who + ".";
}

}  // namespace kvelt::hid
