#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <string>

namespace kvelt::cli {

// The command line of one subcommand: its own options plus those every subcommand has
// (--help, --simulate, --device) and, where it asks for them, --json, --timeout, --unit, --decimals and
// --lang. A bad option or value throws CliFailure (exit 1) with the usual one-line message.
class SubcommandParser {
 public:
  enum Common : unsigned {
    kJson = 1u << 0,
    kTimeout = 1u << 1,
    kUnit = 1u << 2,
    kDecimals = 1u << 3,
    kLanguage = 1u << 4,
    kWait = 1u << 5,
  };

  // `name` as in "kvelt NAME"; `summary` the first line of its help; `common` the Common flags.
  SubcommandParser(const QString& name, const QString& summary, unsigned common);

  QCommandLineParser& Parser() { return parser_; }

  // Parses "kvelt NAME ARGS..." (arguments from NAME on). Returns false when --help was asked
  // (the help is printed). Throws CliFailure for a bad command line.
  bool Parse(const QStringList& arguments);

  QString HelpText() const;

  bool Simulate() const { return parser_.isSet(simulate_); }
  // The counter named by --device; empty for the default choice.
  std::string Device() const { return parser_.value(device_).toStdString(); }
  bool Json() const { return (common_ & kJson) != 0 && parser_.isSet(json_); }
  std::chrono::milliseconds Timeout() const { return timeout_; }
  int Unit() const { return unit_; }
  int Decimals() const { return decimals_; }
  // --wait=DURATION: how long to wait for the counter to appear; nullopt without it.
  std::optional<std::chrono::milliseconds> WaitTime() const { return waitTime_; }
  // --wait without a duration: until the counter appears.
  bool WaitForever() const { return waitForever_; }
  // 1 Polish, 2 English: --lang, else the user's locale (LC_ALL, LC_MESSAGES, LANG).
  int Language() const { return language_; }
  QStringList Positional() const { return parser_.positionalArguments(); }

  // Throws CliFailure(exit 1) with "NAME: message".
  [[noreturn]] void Fail(const QString& message) const;

  static int LanguageFromEnvironment();

 private:
  QString name_;
  unsigned common_;
  QCommandLineParser parser_;
  QCommandLineOption help_;
  QCommandLineOption simulate_;
  QCommandLineOption device_;
  QCommandLineOption json_;
  QCommandLineOption timeoutOption_;
  QCommandLineOption unitOption_;
  QCommandLineOption decimalsOption_;
  QCommandLineOption languageOption_;
  QCommandLineOption waitOption_;
  std::optional<std::chrono::milliseconds> waitTime_;
  bool waitForever_ = false;
  std::chrono::milliseconds timeout_{2000};
  int unit_ = 0;
  int decimals_ = 2;
  int language_ = 2;
};

}  // namespace kvelt::cli
