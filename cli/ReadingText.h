#pragma once

#include <string>
#include <string_view>

#include "measure/ChannelReading.h"

namespace kvelt::cli {

// The eight values of a reading on one line, as the read-outs show them (15 significant digits,
// `decimals` decimals, the locale's separator): "pos1 1,25  pos2 ...  ver1 0,50 ...  [rev/s]".
std::string ReadingLine(const ChannelReadingArray& readings, int unit, int decimals,
                        std::string_view decimalSeparator);

// The same as one JSON object: {"pos1":1.25,...,"ver4":2.00,"unit":"rev/s"}, numbers with '.'.
std::string ReadingJson(const ChannelReadingArray& readings, int unit, int decimals);

}  // namespace kvelt::cli
