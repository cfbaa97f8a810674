#include "measure/qt/LocaleRecordLine.h"

#include <QLocale>

#include "measure/qt/RecordClock.h"

namespace kvelt {

std::string SystemDecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

std::string ComposeLocaleRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings,
                                    int decimals) {
  return ComposeLocaleRecordLine(columns, readings, decimals, RecordClock(), SystemDecimalSeparator());
}

std::string ComposeLocaleRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings,
                                    int decimals, const RecordClock& clock,
                                    std::string_view decimalSeparator) {
  return ComposeRecordLine(
      columns, readings, decimals, decimalSeparator, [&clock] { return clock.DateText(); },
      [&clock] { return clock.TimeText(); });
}

}  // namespace kvelt
