// kvelt get: the counter's settings, in the form kvelt set takes.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/CounterSettingsReader.h"
#include "cli/SettingJson.h"
#include "cli/SubcommandParser.h"

namespace kvelt::cli {

ExitCode RunGet(const QStringList& arguments) {
  SubcommandParser command(
      "get",
      "Reads settings from the counter and prints them as name=value, one per line, as kvelt set takes "
      "them:\n"
      "  resolution.N  coefficient.N  zero-marker.N  (N = channel 1..4; without .N every channel)\n"
      "  gate-time  output.K (K = 1..5; \"outputs\" for all five)\n"
      "Without a SETTING: all of them. The MODBUS address and baud rate can only be set. Numbers are "
      "written with '.' in every locale. --json: one object per setting, values typed.",
      SubcommandParser::kJson | SubcommandParser::kTimeout | SubcommandParser::kDecimals);
  command.Parser().addPositionalArgument("SETTING", "What to read (default: everything).", "[SETTING...]");
  if (!command.Parse(arguments)) return ExitCode::Done;

  std::vector<SettingAssignment> wanted;
  for (const QString& name : command.Positional()) {
    std::string why;
    const std::optional<SettingAssignment> setting = ParseSettingName(name.toStdString(), why);
    if (!setting) command.Fail(QString::fromStdString(why));
    wanted.push_back(*setting);
  }
  if (wanted.empty()) {
    for (const SettingKind kind : {SettingKind::Resolution, SettingKind::Coefficient, SettingKind::ZeroMarker,
                                   SettingKind::GateTime, SettingKind::Output}) {
      wanted.push_back(SettingAssignment{kind, -1, {}});
    }
  }

  CounterReplies replies;
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  // '.' in every locale, so that what is saved here is read back anywhere.
  CounterSettingsReader reader(link, replies, command.Timeout(), command.Decimals(), ".");
  for (const SettingAssignment& which : wanted) {
    for (const SettingAssignment& value : reader.Read(which)) {
      const std::string name = SettingName(value.Kind, value.Index);
      if (command.Json()) {
        std::printf("%s\n", SettingJson(value).c_str());
      } else {
        std::printf("%s=%s\n", name.c_str(), value.Value.c_str());
      }
      std::fflush(stdout);
    }
  }
  return ExitCode::Done;
}

}  // namespace kvelt::cli
