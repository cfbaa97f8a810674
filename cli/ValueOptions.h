#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kvelt::cli {

// The speed units of the window's `unit` list, by position: rev/s, rev/min, mm/s, mm/min.
// Accepted as those names, their Polish names (obr/s, obr/min) or the position 0..3.
std::optional<int> ParseUnit(std::string_view text);
// "rev/s", "rev/min", "mm/s", "mm/min"; "" outside 0..3.
std::string_view UnitName(int unit);

// Decimals of the values, 0..4 as the window's `div` list offers them.
std::optional<int> ParseDecimals(std::string_view text);

// A duration: a number with the unit ms, s, min or h ("500ms", "2s", "1.5min", "1h"); a bare
// number is seconds. Nothing negative; at most a year of 366 days.
std::optional<std::chrono::milliseconds> ParseDuration(std::string_view text);
// The range a duration option takes, for its error message.
inline constexpr char kDurationRange[] = "(a duration above 0 and up to 366 days, as 500ms, 30s, 2h)";

// The recording period as a position of the window's period list ("10ms", "100ms", "1s", "10s",
// "30s", "1min", "10min", "30min", "1h"; written as any duration equal to one of them).
std::optional<int> ParseRecordPeriod(std::string_view text);
// The period's text as the list shows it ("10 ms" ... "1 h").
std::string_view RecordPeriodName(int position);

// A count of at least 1.
std::optional<long long> ParsePositiveCount(std::string_view text);

}  // namespace kvelt::cli
