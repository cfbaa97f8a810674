#pragma once

#include <optional>
#include <string>

namespace kvelt::cli {

// The values of `set` that name a position of one of the window's lists.

// yes|tak|1 -> 1, no|nie|0 -> 0.
std::optional<int> ZeroMarkerPosition(const std::string& value);

// The gate time in milliseconds ("100", "100ms", "0.1s", "1s") as a position of the list.
std::optional<int> GateTimePosition(const std::string& value);
// "10ms, 20ms, ...": what GateTimePosition takes, for the refusal.
std::string GateTimeChoices();

// "19200", "38400", "57600" or "115200" as a position of the list.
std::optional<int> BaudRatePosition(const std::string& value);

}  // namespace kvelt::cli
