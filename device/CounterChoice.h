#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvelt::hid {

// What the choice of the counter looks at in one listed device.
struct ChoiceCandidate {
  std::string ProductString;
  std::string Path;
  std::string SerialNumber;
  bool Lent = false;  // checked out to the program (a device whose check-out failed is passed over)
};

// The position of the counter among the listed devices, -1 for none. Without a choice, the last
// lent device whose product string is exactly "KVELT". With one, the device it names: a path
// (it holds a '/' or ':'), else a serial number, else a list position counted from 1; the named
// device is the counter only when it is a lent "KVELT".
int ChooseCounter(const std::vector<ChoiceCandidate>& devices, std::string_view choice);

}  // namespace kvelt::hid
