#pragma once

#include <string>

#include "device/HidBackend.h"

namespace kvelt::hid {

// What the user is told when another program of this system holds the counter: which program
// and process, when known. Polish (language 1) or English (any other).
std::string InUseText(const HidLockHolder& holder, int language);

}  // namespace kvelt::hid
