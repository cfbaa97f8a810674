#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

#include "app/ProgramOptions.h"

namespace kvelt::app {

// The program's command line: --help, --version, --simulate, --with-simulated,
// --simulate-unplug-after SECONDS (implies --simulate without --with-simulated), --config-dir DIR,
// --quit-after-show. It is parsed before the GUI exists, so it also accepts (and leaves to the application
// object) the toolkit's own options such as -platform NAME or -style NAME; single-dash words are long
// options, as the toolkit has them.
class CommandLine {
 public:
  CommandLine();

  // For options added by other parts of the program before Parse().
  QCommandLineParser& Parser() { return parser_; }

  // Parses arguments (the program name first). --help and --version print their text and end the
  // process, as does an unknown option or a bad value (with a message on stderr), like every Qt
  // program.
  ProgramOptions Parse(const QStringList& arguments);

  // The options of a command line Parser() has parsed; nothing, with `error` set, for a bad value.
  std::optional<ProgramOptions> Options(QString& error) const;

 private:
  QCommandLineParser parser_;
  QCommandLineOption simulate_;
  QCommandLineOption withSimulated_;
  QCommandLineOption simulateUnplugAfter_;
  QCommandLineOption configDir_;
  QCommandLineOption quitAfterShow_;
  QCommandLineOption platform_;
};

}  // namespace kvelt::app
