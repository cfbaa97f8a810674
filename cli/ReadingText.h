#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "measure/ChannelReading.h"

namespace kvelt::cli {

// The values of a reading on one line short enough for 80 columns: channel by channel its
// position and speed as the read-outs show them (15 significant digits, `decimals` decimals,
// the locale's separator), then the speed unit and the five outputs' states (1 on, 0 off):
// "1: 1,25 0,50  2: ...  4: 5,00 2,00  rev/s  out 10010".
std::string ReadingLine(const ChannelReadingArray& readings, int unit, int decimals, std::uint8_t outputs,
                        std::string_view decimalSeparator);

// The same as one JSON object, values in full precision with '.', for scripts:
// {"time":"2026-12-10T14:03:07.250+01:00","pos1":1.25,...,"ver4":2,"unit":"rev/s","out1":true,...}
std::string ReadingJson(const ChannelReadingArray& readings, int unit, std::uint8_t outputs,
                        std::chrono::system_clock::time_point now);

}  // namespace kvelt::cli
