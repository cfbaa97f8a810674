#pragma once

#include <QLocale>
#include <QString>
#include <string>

namespace kvelt {

// The date and time fields of a recording line in the user's regional settings. Each call reads
// the system clock afresh, so a line's date and time are two separate reads.
class RecordClock {
 public:
  explicit RecordClock(const QLocale& locale = QLocale::system());

  // Today in the locale's short date format (UTF-8).
  std::string DateText() const;
  // The time of day in the locale's long time format without its time-zone part (UTF-8).
  std::string TimeText() const;

  const QString& TimeFormat() const { return timeFormat_; }

  // When TZ is unset, sets it to the system's zone file (":/etc/localtime", the zone the C library
  // uses without TZ): the library then loads the zone once instead of looking at the file again
  // for every date and time of every recording line. The local time stays the same; a change of
  // the system's time zone is seen at the next start. Call before any thread starts.
  static void PinLocalTimeZone();

  // A time format without its time-zone tokens (runs of 't' outside quoted text) and the blanks
  // that separated them from the rest.
  static QString WithoutTimeZone(const QString& format);

 private:
  QLocale locale_;
  QString timeFormat_;
};

}  // namespace kvelt
