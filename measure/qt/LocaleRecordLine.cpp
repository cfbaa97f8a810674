#include "measure/qt/LocaleRecordLine.h"

#include <QLocale>

#include "measure/qt/RecordClock.h"

namespace kvelt {

std::string SystemDecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

std::string ComposeLocaleRecordLine(const RecordColumns& columns, const ChannelReadingArray& readings,
                                    int decimals) {
  const RecordClock clock;
  return ComposeRecordLine(
      columns, readings, decimals, SystemDecimalSeparator(), [&clock] { return clock.DateText(); },
      [&clock] { return clock.TimeText(); });
}

}  // namespace kvelt
