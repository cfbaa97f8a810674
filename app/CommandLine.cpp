#include "app/CommandLine.h"

namespace kvelt::app {

CommandLine::CommandLine()
    : simulate_(QStringLiteral("simulate"),
                QStringLiteral("Use the built-in simulated counter instead of the real HID devices.")),
      configDir_(QStringLiteral("config-dir"), QStringLiteral("Keep config.ini in <dir>."),
                 QStringLiteral("dir")),
      quitAfterShow_(QStringLiteral("quit-after-show"),
                     QStringLiteral("Close the window as soon as it has been shown (start-up timing).")) {
  parser_.setApplicationDescription(
      QStringLiteral("Desktop program for the KVELT four-channel encoder counter."));
  parser_.addHelpOption();
  parser_.addVersionOption();
  parser_.addOption(simulate_);
  parser_.addOption(configDir_);
  parser_.addOption(quitAfterShow_);
}

ProgramOptions CommandLine::Parse(const QStringList& arguments) {
  parser_.process(arguments);
  ProgramOptions options;
  options.Simulate = parser_.isSet(simulate_);
  options.ConfigDir = parser_.value(configDir_);
  options.QuitAfterShow = parser_.isSet(quitAfterShow_);
  return options;
}

}  // namespace kvelt::app
