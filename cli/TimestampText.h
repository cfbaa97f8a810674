#pragma once

#include <chrono>
#include <string>

namespace kvelt::cli {

// A moment as ISO 8601 local time with milliseconds and the zone's offset
// ("2026-12-10T14:03:07.250+01:00"), the same in every locale.
std::string IsoTimestamp(std::chrono::system_clock::time_point when);

// Milliseconds since 1970-01-01 UTC.
long long EpochMilliseconds(std::chrono::system_clock::time_point when);

}  // namespace kvelt::cli
