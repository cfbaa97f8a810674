#pragma once

#include "device/AccessHint.h"

namespace kvelt::hid {

// The access hint for a counter node that could not be opened for reading and writing, naming
// the udev rule of this running copy of the program (installed, or in the source tree it was
// built from, as told by the executable's folder).
AccessHint ProgramAccessHint(int openError);

}  // namespace kvelt::hid
