#pragma once

#include <string>
#include <string_view>

#include "measure/ChannelReading.h"
#include "measure/RecordLine.h"

namespace kvelt {

// The decimal separator of the user's regional settings (UTF-8), as the read-outs and the
// recording use it.
std::string SystemDecimalSeparator();

// One recording line as both the window and the command line write it: the columns of the
// readings with `decimals` decimals in the user's regional settings (decimal separator, short
// date, long time without its zone), the clock read afresh for the date and for the time.
std::string ComposeLocaleRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings,
                                    int decimals);

class RecordClock;

// The same with the regional settings taken once by the caller (a recorder that writes many
// lines): the clock's formats and the decimal separator.
std::string ComposeLocaleRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings,
                                    int decimals, const RecordClock& clock,
                                    std::string_view decimalSeparator);

}  // namespace kvelt
