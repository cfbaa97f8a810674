#include "cli/SubcommandParser.h"

#include <cstdio>
#include <cstdlib>

#include "cli/ExitCode.h"
#include "cli/ValueOptions.h"
#include "config/DisplayDecimals.h"
#include "settings/SettingsKeys.h"

namespace kvelt::cli {

SubcommandParser::SubcommandParser(const QString& name, const QString& summary, unsigned common)
    : name_(name),
      common_(common),
      help_(QStringList{"h", "help"}, "Shows this help."),
      simulate_("simulate", "Uses the built-in simulated counter instead of the devices attached."),
      device_("device",
              "The counter to use: its path (/dev/hidrawN), serial number or position in kvelt list "
              "(default: the last device named \"KVELT\").",
              "device"),
      json_("json", "Prints the data as JSON, one object per line."),
      timeoutOption_("timeout", "How long to wait for the counter's reply (default 2s).", "duration"),
      unitOption_("unit", "Speed unit: rev/s (default), rev/min, mm/s or mm/min.", "unit"),
      decimalsOption_("decimals", "Decimals of the values, 0..4 (default 2).", "n"),
      languageOption_("lang", "Language of the counter's texts: pl or en (default: the user's locale).",
                      "language"),
      waitOption_("wait",
                  "Waits for the counter to be attached and free: --wait until it is, --wait=DURATION "
                  "(e.g. --wait=30s) for at most that long.") {
  if (common & kTimeout) common_ |= kWait;  // every command that waits for the counter
  parser_.setApplicationDescription(summary);
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.addOption(help_);
  parser_.addOption(simulate_);
  parser_.addOption(device_);
  if (common & kJson) parser_.addOption(json_);
  if (common & kTimeout) parser_.addOption(timeoutOption_);
  if (common & kUnit) parser_.addOption(unitOption_);
  if (common & kDecimals) parser_.addOption(decimalsOption_);
  if (common & kLanguage) parser_.addOption(languageOption_);
  if (common_ & kWait) parser_.addOption(waitOption_);
  unit_ = SettingsDefaults::Unit;
  decimals_ = kDefaultDisplayDecimals;
  language_ = LanguageFromEnvironment();
}

void SubcommandParser::Fail(const QString& message) const {
  throw CliFailure(ExitCode::BadUsage, (name_ + ": " + message).toStdString());
}

bool SubcommandParser::Parse(const QStringList& arguments) {
  // --wait takes its duration only as --wait=DURATION, so that a bare --wait before an argument
  // (a channel, a file) does not swallow it: the parser sees a plain flag.
  QStringList given = arguments;
  if (common_ & kWait) {
    for (qsizetype i = 1; i < given.size() && given[i] != "--"; ++i) {
      const QString& argument = given[i];
      if (!argument.startsWith("--wait=") && !argument.startsWith("-wait=")) continue;
      const QString value = argument.mid(argument.indexOf('=') + 1);
      const auto duration = ParseDuration(value.toStdString());
      if (!duration || duration->count() <= 0) Fail("bad --wait \"" + value + "\"");
      waitTime_ = *duration;
      given[i] = "--wait";
    }
  }
  // The parser skips the first argument as the program's name: here the subcommand's.
  if (!parser_.parse(given)) {
    Fail(parser_.errorText());
  }
  waitForever_ = (common_ & kWait) && parser_.isSet(waitOption_) && !waitTime_;
  if (parser_.isSet(help_)) {
    std::fputs(qPrintable(HelpText()), stdout);
    return false;
  }
  if (parser_.isSet(device_) && parser_.value(device_).isEmpty())
    Fail("--device needs a path, serial number or position");
  if ((common_ & kTimeout) && parser_.isSet(timeoutOption_)) {
    const auto timeout = ParseDuration(parser_.value(timeoutOption_).toStdString());
    if (!timeout || timeout->count() <= 0)
      Fail("bad --timeout \"" + parser_.value(timeoutOption_) + "\" " + QLatin1String(kDurationRange));
    timeout_ = *timeout;
  }
  if ((common_ & kUnit) && parser_.isSet(unitOption_)) {
    const auto unit = ParseUnit(parser_.value(unitOption_).toStdString());
    if (!unit) Fail("bad --unit \"" + parser_.value(unitOption_) + "\" (rev/s, rev/min, mm/s or mm/min)");
    unit_ = *unit;
  }
  if ((common_ & kDecimals) && parser_.isSet(decimalsOption_)) {
    const auto decimals = ParseDecimals(parser_.value(decimalsOption_).toStdString());
    if (!decimals) Fail("bad --decimals \"" + parser_.value(decimalsOption_) + "\" (0..4)");
    decimals_ = *decimals;
  }
  if ((common_ & kLanguage) && parser_.isSet(languageOption_)) {
    const QString language = parser_.value(languageOption_).toLower();
    if (language == "pl" || language == "polski") {
      language_ = 1;
    } else if (language == "en" || language == "english") {
      language_ = 2;
    } else {
      Fail("bad --lang \"" + parser_.value(languageOption_) + "\" (pl or en)");
    }
  }
  return true;
}

QString SubcommandParser::HelpText() const {
  // The parser's usage line names the executable's path; it reads "kvelt NAME" instead.
  QString text = parser_.helpText();
  const qsizetype options = text.indexOf(" [options]");
  if (text.startsWith("Usage: ") && options > 0) text.replace(7, options - 7, "kvelt " + name_);
  return text;
}

int SubcommandParser::LanguageFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return QString::fromLocal8Bit(value).startsWith("pl") ? 1 : 2;
    }
  }
  return 2;
}

}  // namespace kvelt::cli
