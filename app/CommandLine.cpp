#include "app/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace kvelt::app {

namespace {

// A QTimer takes milliseconds in an int: about 24 days.
constexpr int kMaxUnplugDelaySeconds = 2'000'000;

// Options the GUI toolkit takes out of the command line itself when the application object is
// made; accepted here so that they do not count as unknown.
constexpr const char* kToolkitValueOptions[] = {
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "qwindowicon",
    "qwindowtitle",
    "display",
    "geometry",
    "style",
    "stylesheet",
    "session",
};
constexpr const char* kToolkitFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QCommandLineOption Hidden(QCommandLineOption option) {
  option.setFlags(QCommandLineOption::HiddenFromHelp);
  return option;
}

}  // namespace

CommandLine::CommandLine()
    : simulate_(QStringLiteral("simulate"),
                QStringLiteral("Use the built-in simulated counter instead of the real HID devices.")),
      withSimulated_(QStringLiteral("with-simulated"),
                     QStringLiteral("List the built-in simulated counter beside the real HID devices; "
                                    "a real counter plugged in is chosen over it.")),
      simulateUnplugAfter_(
          QStringLiteral("simulate-unplug-after"),
          QStringLiteral("Unplug the simulated counter once after <seconds> and plug it back "
                         "a second later (implies --simulate without --with-simulated)."),
          QStringLiteral("seconds")),
      configDir_(QStringLiteral("config-dir"), QStringLiteral("Keep config.ini in <dir>."),
                 QStringLiteral("dir")),
      quitAfterShow_(QStringLiteral("quit-after-show"),
                     QStringLiteral("Close the window as soon as it has been shown (start-up timing).")),
      platform_(Hidden(QCommandLineOption(QStringLiteral("platform"), QString(), QStringLiteral("name")))) {
  parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser_.setApplicationDescription(
      QStringLiteral("Desktop program for the KVELT four-channel encoder counter."));
  parser_.addHelpOption();
  parser_.addVersionOption();
  parser_.addOption(simulate_);
  parser_.addOption(withSimulated_);
  parser_.addOption(simulateUnplugAfter_);
  parser_.addOption(configDir_);
  parser_.addOption(quitAfterShow_);
  parser_.addOption(platform_);
  for (const char* name : kToolkitValueOptions) {
    parser_.addOption(
        Hidden(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value"))));
  }
  for (const char* name : kToolkitFlagOptions) {
    parser_.addOption(Hidden(QCommandLineOption(QString::fromLatin1(name))));
  }
}

ProgramOptions CommandLine::Parse(const QStringList& arguments) {
  parser_.process(arguments);
  QString error;
  const std::optional<ProgramOptions> options = Options(error);
  if (!options) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(error));
    std::exit(EXIT_FAILURE);
  }
  return *options;
}

std::optional<ProgramOptions> CommandLine::Options(QString& error) const {
  ProgramOptions options;
  options.Simulate = parser_.isSet(simulate_);
  options.SimulatedBeside = parser_.isSet(withSimulated_) && !options.Simulate;
  if (parser_.isSet(simulateUnplugAfter_)) {
    bool ok = false;
    const double seconds = parser_.value(simulateUnplugAfter_).toDouble(&ok);
    if (!ok || !(seconds >= 0.0) || seconds > kMaxUnplugDelaySeconds) {
      error = QStringLiteral("--simulate-unplug-after takes a number of seconds from 0 to %1.")
                  .arg(kMaxUnplugDelaySeconds);
      return std::nullopt;
    }
    options.SimulateUnplugAfterSeconds = seconds;
    options.Simulate = !options.SimulatedBeside;
  }
  options.ConfigDir = parser_.value(configDir_);
  options.QuitAfterShow = parser_.isSet(quitAfterShow_);
  options.Platform = parser_.value(platform_);
  return options;
}

}  // namespace kvelt::app
