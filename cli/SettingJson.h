#pragma once

#include <string>

#include "cli/SettingAssignment.h"

namespace kvelt::cli {

// One setting as `get --json` prints it, typed: {"setting":"resolution.1","value":1000};
// numbers as numbers, the zero marker as true/false, the gate time in milliseconds
// ({"setting":"gate-time","value":100,"unit":"ms"}) and an output as an object of its fields.
// A value that is not what its kind holds (a field the counter reported outside its list) stays
// a string.
std::string SettingJson(const SettingAssignment& setting);

}  // namespace kvelt::cli
