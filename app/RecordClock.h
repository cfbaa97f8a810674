#pragma once

#include <QLocale>
#include <QString>
#include <string>

namespace kvelt::app {

// The date and time fields of a recording line in the user's regional settings. Each call reads
// the system clock afresh, so a line's date and time are two separate reads.
class RecordClock {
 public:
  explicit RecordClock(QLocale locale = QLocale::system());

  // Today in the locale's short date format (UTF-8).
  std::string DateText() const;
  // The time of day in the locale's long time format without its time-zone part (UTF-8).
  std::string TimeText() const;

  const QString& TimeFormat() const { return timeFormat_; }

  // A time format without its time-zone tokens (runs of 't' outside quoted text) and the blanks
  // that separated them from the rest.
  static QString WithoutTimeZone(const QString& format);

 private:
  QLocale locale_;
  QString timeFormat_;
};

}  // namespace kvelt::app
