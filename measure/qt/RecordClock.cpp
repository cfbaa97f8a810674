#include "measure/qt/RecordClock.h"

#include <QDate>
#include <QTime>
#include <cstdlib>
#include <utility>

namespace kvelt {
namespace {

void DropTrailingBlanks(QString& text) {
  while (!text.isEmpty() && text.back().isSpace()) {
    text.chop(1);
  }
}

}  // namespace

RecordClock::RecordClock(const QLocale& locale)
    : locale_(locale), timeFormat_(WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat))) {}

std::string RecordClock::DateText() const {
  return locale_.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

std::string RecordClock::TimeText() const {
  return locale_.toString(QTime::currentTime(), timeFormat_).toStdString();
}

void RecordClock::PinLocalTimeZone() {
  if (std::getenv("TZ") == nullptr) {
    ::setenv("TZ", ":/etc/localtime", 0);
  }
}

QString RecordClock::WithoutTimeZone(const QString& format) {
  QString result;
  bool quoted = false;
  bool skipBlanks = false;  // after a zone token: drop the blanks that led to the rest
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format.at(i);
    if (skipBlanks && !quoted && c.isSpace()) {
      continue;
    }
    skipBlanks = false;
    if (c == u'\'') {
      quoted = !quoted;
      result += c;
      continue;
    }
    if (quoted || c != u't') {
      result += c;
      continue;
    }
    while (i + 1 < format.size() && format.at(i + 1) == u't') {
      ++i;
    }
    // A zone after other fields takes its leading blanks with it; one at the start takes the
    // blanks after it.
    DropTrailingBlanks(result);
    skipBlanks = result.isEmpty();
  }
  DropTrailingBlanks(result);
  return result;
}

}  // namespace kvelt
