// kvelt zero CHANNEL...: sets the position of channels to zero, as the window's zero buttons do.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/CounterRequest.h"
#include "cli/LanguageTexts.h"
#include "cli/SubcommandParser.h"
#include "config/AcknowledgementTexts.h"
#include "config/DeviceCommands.h"

namespace kvelt::cli {

ExitCode RunZero(const QStringList& arguments) {
  SubcommandParser command("zero",
                           "Sets the position of each CHANNEL (1..4, or all) to zero, one after the other, "
                           "each waited for; prints what the counter answered.",
                           SubcommandParser::kTimeout | SubcommandParser::kLanguage);
  command.Parser().addPositionalArgument("CHANNEL", "The channel, 1..4, or all.", "CHANNEL...");
  if (!command.Parse(arguments)) return ExitCode::Done;
  std::vector<int> channels;
  for (const QString& argument : command.Positional()) {
    if (argument == "all") {
      channels.insert(channels.end(), {0, 1, 2, 3});
      continue;
    }
    bool number = false;
    const int channel = argument.toInt(&number);
    if (!number || channel < 1 || channel > 4) command.Fail("bad CHANNEL \"" + argument + "\" (1..4 or all)");
    channels.push_back(channel - 1);
  }
  if (channels.empty()) command.Fail("needs at least one CHANNEL (1..4 or all)");

  CounterReplies replies;
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  const std::string answer =
      LanguageText(command.Language(), AcknowledgementTextKey(DeviceCommand::cmdClearPosition).value_or(""));
  for (const int channel : channels) {
    const std::string name = "pos" + std::to_string(channel + 1);
    replies.TakeAcknowledgement(DeviceCommand::cmdClearPosition);
    AskCounter(
        link, ClearPositionRequest(channel),
        [&replies] { return replies.TakeAcknowledgement(DeviceCommand::cmdClearPosition); },
        command.Timeout(), name);
    std::printf("%s: %s\n", name.c_str(), answer.c_str());
    std::fflush(stdout);
  }
  return ExitCode::Done;
}

}  // namespace kvelt::cli
