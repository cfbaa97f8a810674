// kvelt info CHANNEL: the encoder information box of one channel.

#include <cstdio>
#include <optional>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/JsonText.h"
#include "cli/LanguageTexts.h"
#include "cli/MachineNumberText.h"
#include "cli/SubcommandParser.h"
#include "config/EncoderInfo.h"
#include "measure/qt/LocaleRecordLine.h"
#include "protocol/Resolution.h"

namespace kvelt::cli {

ExitCode RunInfo(const QStringList& arguments) {
  SubcommandParser command("info",
                           "Prints the encoder information of CHANNEL (1..4): gate time, resolution and "
                           "coefficient, as the window's information box shows them (--json: as typed "
                           "fields).",
                           SubcommandParser::kJson | SubcommandParser::kUnit | SubcommandParser::kDecimals |
                               SubcommandParser::kTimeout | SubcommandParser::kLanguage);
  command.Parser().addPositionalArgument("CHANNEL", "The channel, 1..4.");
  if (!command.Parse(arguments)) return ExitCode::Done;
  const QStringList positional = command.Positional();
  bool number = false;
  const int channel = positional.size() == 1 ? positional.front().toInt(&number) : 0;
  if (!number || channel < 1 || channel > 4) command.Fail("needs one CHANNEL, 1..4");

  CounterReplies replies(command.Unit());
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  const CounterLink::Wait wait =
      link.RunUntil([&replies, channel] { return replies.ChannelSeen(channel - 1); }, command.Timeout());
  if (wait == CounterLink::Wait::Unplugged)
    throw CliFailure(ExitCode::NoCounter, "the counter was unplugged");
  if (wait != CounterLink::Wait::Done) {
    throw CliFailure(ExitCode::NoReply, "channel " + std::to_string(channel) + " sent no values in time");
  }
  const int language = command.Language();
  const std::optional<InfoBox> box = ComposeEncoderInfo(
      replies.Readings(), channel, command.Unit(), command.Decimals(), SystemDecimalSeparator(),
      [language](std::string_view key) { return LanguageText(language, key); });
  if (command.Json()) {
    // The box's values typed, for scripts: the unit of the resolution follows the speed unit's
    // kind (pulses per revolution for rev/s and rev/min, per millimetre for mm/s and mm/min).
    const ChannelReading& reading = replies.Readings()[static_cast<std::size_t>(channel - 1)];
    std::printf("%s\n", JsonObject()
                            .Integer("channel", channel)
                            .String("title", box->Title)
                            .Integer("gate-time-ms", reading.GateTimeMs)
                            .Integer("resolution", ResolutionFromWire(reading.ResolutionX4))
                            .String("resolution-per", command.Unit() <= 1 ? "rev" : "mm")
                            .Raw("coefficient", FullPrecisionText(reading.Coefficient).value_or("null"))
                            .Text()
                            .c_str());
  } else {
    // Every item of the text ends with its own line break.
    const bool ended = !box->Text.empty() && box->Text.back() == '\n';
    std::printf("%s\n%s%s", box->Title.c_str(), box->Text.c_str(), ended ? "" : "\n");
  }
  return ExitCode::Done;
}

}  // namespace kvelt::cli
