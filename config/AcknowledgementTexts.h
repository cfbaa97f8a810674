#pragma once

#include <optional>
#include <string_view>

#include "protocol/DeviceCommand.h"

namespace kvelt {

// The message key shown in status panel 0 when the counter's report with this code has been
// handled: the acknowledgements 104, 105, 106, 109, 110, 111, 112, 116 and the end of the outputs
// read (113). nullopt for the codes that show nothing (frames, 107, 108, 114, 115, 117).
std::optional<std::string_view> AcknowledgementTextKey(DeviceCommand code);

}  // namespace kvelt
