#include "cli/TimestampText.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace kvelt::cli {

long long EpochMilliseconds(std::chrono::system_clock::time_point when) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
}

std::string IsoTimestamp(std::chrono::system_clock::time_point when) {
  const long long ms = EpochMilliseconds(when);
  // Floor division, so that a moment before 1970 keeps a positive millisecond part.
  long long seconds = ms / 1000;
  long long milli = ms % 1000;
  if (milli < 0) {
    milli += 1000;
    --seconds;
  }
  const auto whole = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&whole, &local);
  const long offset = local.tm_gmtoff / 60;  // minutes east of UTC
  const long hours = std::labs(offset) / 60;
  const long minutes = std::labs(offset) % 60;
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03lld%c%02ld:%02ld", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, milli,
                offset < 0 ? '-' : '+', hours, minutes);
  return text;
}

}  // namespace kvelt::cli
