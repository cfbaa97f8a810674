#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kvelt::gadget {

// What kvelt-gadget was asked to do, from its command line.
struct GadgetOptions {
  std::string Udc;             // empty: the only controller in /sys/class/udc
  std::string Name = "kvelt";  // folder under /sys/kernel/config/usb_gadget
  std::string Serial = "KVELT-GADGET-0001";
  int FirstChannel = 1;  // channel of the first frame after every plug-in (1..4)
  std::optional<std::chrono::milliseconds> UnplugAfter;
  std::optional<std::chrono::milliseconds> ReplugEvery;
  std::chrono::milliseconds UnpluggedFor{1000};
  bool Hostile = false;  // interleave malformed, unknown and unsolicited reports
  bool Deaf = false;     // never read the OUT endpoint (requests stall the host)
  bool Help = false;
  bool Version = false;
};

// Parses the arguments after the program name. Throws std::invalid_argument with a one-line
// message on an unknown option or a bad value.
GadgetOptions ParseGadgetOptions(const std::vector<std::string>& arguments);

// The --help text.
std::string GadgetUsage();

}  // namespace kvelt::gadget
