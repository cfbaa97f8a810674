// kvelt set: writes settings to the counter and says what it answered to each.

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/CounterRequest.h"
#include "cli/CounterSettingsReader.h"
#include "cli/LanguageTexts.h"
#include "cli/MachineNumberText.h"
#include "cli/OutputRowText.h"
#include "cli/SettingAssignment.h"
#include "cli/SettingValueText.h"
#include "cli/SettingsInput.h"
#include "cli/SubcommandParser.h"
#include "cli/ValueOptions.h"
#include "config/AcknowledgementTexts.h"
#include "config/DeviceCommands.h"
#include "config/EncoderParameters.h"
#include "config/LocaleNumber.h"
#include "config/OutputsConfigExchange.h"
#include "config/OutputsWrite.h"
#include "measure/qt/LocaleRecordLine.h"
#include "protocol/OutputsConfig.h"
#include "text/ControlEscape.h"

namespace kvelt::cli {
namespace {

struct PlannedRequest {
  std::string Label;  // the assignment as given, for the messages
  OutboundReport Request;
  DeviceCommand Acknowledgement;
  // What reads the setting back (resolution, coefficient, zero marker of a channel); none for
  // settings the counter does not report.
  std::optional<SettingAssignment> ReadBack;
};

std::string RefusedBoxText(const RefusedBox& box) {
  return "output." + std::to_string(box.Row + 1) +
         (box.Box == OutputBox::Threshold ? ": the threshold" : ": the second threshold") +
         " is not a number the counter takes";
}

// The request that would set a channel's setting to `value` as the counter reports it; none when
// it does not convert.
std::optional<OutboundReport> RequestFor(const SettingAssignment& setting, const std::string& value,
                                         const std::string& separator) {
  switch (setting.Kind) {
    case SettingKind::Resolution:
      return SetResolutionRequest(setting.Index, value);
    case SettingKind::Coefficient:
      return SetCoefficientRequest(setting.Index, value, separator);
    case SettingKind::ZeroMarker:
      if (const std::optional<int> position = ZeroMarkerPosition(value))
        return SetZeroMarkerRequest(setting.Index, *position);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

[[noreturn]] void ThrowNotHeld(const std::string& name, const std::string& sent, const std::string& read) {
  throw CliFailure(ExitCode::NotHeld,
                   "the counter holds another value: " + name + " was set to " + sent + " but reads " + read);
}

// Reads a written channel setting back; fails with exit 6 when the counter holds another value
// (another program on the counter, a value the counter adjusted).
void VerifyChannelSetting(CounterSettingsReader& reader, const PlannedRequest& planned,
                          const std::string& separator) {
  const SettingAssignment& setting = *planned.ReadBack;
  const std::vector<SettingAssignment> read = reader.Read(SettingAssignment{setting.Kind, setting.Index, {}});
  const std::string value = read.empty() ? std::string("?") : read.front().Value;
  const std::optional<OutboundReport> held = RequestFor(setting, value, separator);
  if (!held || held->Payload != planned.Request.Payload) {
    ThrowNotHeld(SettingName(setting.Kind, setting.Index), setting.Value, value);
  }
}

class SetPlanner {
 public:
  // Values are read in the machine notation ('.'); `localeSeparator` is also taken where that
  // is the only way to read a number.
  SetPlanner(SubcommandParser& command, std::string localeSeparator)
      : command_(command), localeSeparator_(std::move(localeSeparator)) {}

  // One assignment; `where` names its place in a refusal ("standard input line 3: "), if any.
  void Add(const std::string& text, const std::string& where = {}) {
    where_ = where;
    std::string why;
    std::optional<SettingAssignment> setting = ParseSettingAssignment(text, why);
    // Failure messages are escaped once, where the program prints them.
    if (!setting) command_.Fail(QString::fromStdString(where_ + why));
    if (PerChannel(setting->Kind)) {
      for (int channel = 0; channel < 4; ++channel) {
        if (setting->Index < 0 || setting->Index == channel) {
          AddChannel(SettingName(setting->Kind, channel) + "=" + setting->Value, *setting, channel);
        }
      }
      return;
    }
    switch (setting->Kind) {
      case SettingKind::GateTime: {
        const std::optional<int> position = GateTimePosition(setting->Value);
        if (!position) Refuse(text, "the gate time is one of " + GateTimeChoices());
        plan_.push_back({text, *GateTimeRequest(*position), DeviceCommand::cmdSetGateTime, std::nullopt});
        break;
      }
      case SettingKind::ModbusAddress: {
        const std::optional<long long> address = ParseDecimalInteger(setting->Value);
        if (!address || *address < 1 || *address > kModbusAddressCount) Refuse(text, "the address is 1..247");
        plan_.push_back({text, *ModbusAddressRequest(static_cast<int>(*address - 1)),
                         DeviceCommand::cmdSetModbusAddress, std::nullopt});
        break;
      }
      case SettingKind::ModbusBaudRate: {
        const std::optional<int> position = BaudRatePosition(setting->Value);
        if (!position) Refuse(text, "the baud rate is 19200, 38400, 57600 or 115200");
        plan_.push_back(
            {text, *ModbusBaudRateRequest(*position), DeviceCommand::cmdSetModbusBaudRate, std::nullopt});
        break;
      }
      case SettingKind::Output: {
        std::optional<OutputRow> row = ParseOutputRow(setting->Value, why);
        if (!row) Refuse(text, why);
        row->Threshold = Machine(text, row->Threshold);
        row->SecondThreshold = Machine(text, row->SecondThreshold);
        // Its thresholds by the window's rules, before the counter is asked for anything.
        OutputRows alone{};
        alone[static_cast<std::size_t>(setting->Index)] = *row;
        const OutputsWrite check = BuildOutputsWrite(alone, ".");
        if (!check.Ok()) Refuse(text, RefusedBoxText(check.Refused.front()));
        if (outputs_.count(setting->Index) != 0) Refuse(text, "the output is named twice");
        outputs_[setting->Index] = {text, *row};
        break;
      }
      default:
        break;
    }
  }

  const std::vector<PlannedRequest>& Requests() const { return plan_; }
  struct AssignedRow {
    std::string Label;
    OutputRow Row;
  };
  const std::map<int, AssignedRow>& Outputs() const { return outputs_; }

 private:
  [[noreturn]] void Refuse(const std::string& text, const std::string& why) const {
    command_.Fail(QString::fromStdString(where_ + "refused " + text + ": " + why));
  }

  // A number in the machine notation; one written with the locale's separator is taken where it
  // reads only that way, and said on stderr.
  std::string Machine(const std::string& text, const std::string& value) const {
    const std::optional<MachineNumber> number = ToMachineNumber(value, localeSeparator_);
    if (!number) return value;
    if (number->LocaleTaken) {
      std::fprintf(stderr, "kvelt: set: %s%s: %s read as %s (the locale's decimal separator)\n",
                   where_.c_str(), EscapeControlCharacters(text).c_str(),
                   EscapeControlCharacters(value).c_str(), number->Text.c_str());
    }
    return number->Text;
  }

  static SettingAssignment ReadBack(const SettingAssignment& setting, int channel) {
    return SettingAssignment{setting.Kind, channel, setting.Value};
  }

  void AddChannel(const std::string& text, const SettingAssignment& setting, int channel) {
    switch (setting.Kind) {
      case SettingKind::Resolution: {
        const auto request = SetResolutionRequest(channel, setting.Value);
        if (!request) Refuse(text, "the resolution is a whole number 0..65535");
        plan_.push_back({text, *request, DeviceCommand::cmdSetResolution, ReadBack(setting, channel)});
        break;
      }
      case SettingKind::Coefficient: {
        const auto request = SetCoefficientRequest(channel, Machine(text, setting.Value), ".");
        if (!request) Refuse(text, "the coefficient is a number written with \".\" as the decimal separator");
        plan_.push_back({text, *request, DeviceCommand::cmdSetCoefficient, ReadBack(setting, channel)});
        break;
      }
      case SettingKind::ZeroMarker: {
        const std::optional<int> position = ZeroMarkerPosition(setting.Value);
        if (!position) Refuse(text, "the zero marker is yes or no");
        plan_.push_back({text, SetZeroMarkerRequest(channel, *position), DeviceCommand::cmdSetZeroMarker,
                         ReadBack(setting, channel)});
        break;
      }
      default:
        break;
    }
  }

  SubcommandParser& command_;
  std::string localeSeparator_;
  std::string where_;
  std::vector<PlannedRequest> plan_;
  std::map<int, AssignedRow> outputs_;
};

// Reads the five rows back; fails with exit 6 naming the first row the counter holds otherwise
// than it was written.
void VerifyOutputs(CounterSettingsReader& reader, const OutputsWrite& written,
                   const std::map<int, SetPlanner::AssignedRow>& assigned, const std::string& separator) {
  const CounterSettingsReader::Rows read = reader.ReadOutputs();
  OutputRows rows{};
  for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = RowFromFills(read.First[k], read.Second[k]);
  const OutputsWrite held = BuildOutputsWrite(rows, separator);
  const auto sentFirst = EncodeOutputsFirstHalf(written.First);
  const auto sentSecond = EncodeOutputsSecondHalf(written.Second);
  const auto heldFirst = EncodeOutputsFirstHalf(held.First);
  const auto heldSecond = EncodeOutputsSecondHalf(held.Second);
  constexpr std::size_t kEntry = kOutputEntrySize;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const auto same = [&](const auto& a, const auto& b) {
      return std::equal(a.begin() + static_cast<long>(k * kEntry),
                        a.begin() + static_cast<long>((k + 1) * kEntry),
                        b.begin() + static_cast<long>(k * kEntry));
    };
    if (held.Ok() && same(sentFirst, heldFirst) && same(sentSecond, heldSecond)) continue;
    const auto named = assigned.find(static_cast<int>(k));
    const std::string sent = named != assigned.end()
                                 ? named->second.Label.substr(named->second.Label.find('=') + 1)
                                 : std::string("(as it was)");
    ThrowNotHeld("output." + std::to_string(k + 1), sent, FormatOutputRow(read.First[k], read.Second[k]));
  }
}

}  // namespace

ExitCode RunSet(const QStringList& arguments) {
  SubcommandParser command(
      "set",
      "Writes settings to the counter, in the order given (the outputs last, all five in one exchange), each "
      "waited for; prints what the counter "
      "answered.\n"
      "  resolution[.N]=0..65535  coefficient[.N]=number  zero-marker[.N]=yes|no   (N = channel 1..4; "
      "without .N every channel)\n"
      "  gate-time=10ms|20ms|50ms|100ms|...|50s  modbus-address=1..247  "
      "modbus-baud=19200|38400|57600|115200\n"
      "  output.K=enable:source:comparison:threshold:logic:second-comparison:second-threshold:state  (K = "
      "1..5)\n"
      "     e.g. output.1=on:pos1:greater:100:none:less:0:active\n"
      "Numbers are written with '.' in every locale; the locale's own separator (a comma in Polish) is "
      "taken too where the number reads only that way, and said on stderr. \"-\" reads the assignments "
      "from standard input (the output of kvelt get), a line at a time, at most 1 MiB: blank lines and "
      "lines starting with # are skipped, and a refusal names the line.",
      SubcommandParser::kTimeout | SubcommandParser::kLanguage);
  const QCommandLineOption noVerify("no-verify",
                                    "Does not read the resolution, coefficient, zero marker and outputs back "
                                    "after writing them.");
  command.Parser().addOption(noVerify);
  command.Parser().addPositionalArgument("SETTING=VALUE", "What to write.", "SETTING=VALUE...");
  if (!command.Parse(arguments)) return ExitCode::Done;
  const bool verify = !command.Parser().isSet(noVerify);

  // Every assignment is checked as it is read, before the counter is asked for anything.
  SetPlanner planner(command, SystemDecimalSeparator());
  const std::string separator = ".";
  bool any = false;
  for (const QString& argument : command.Positional()) {
    if (argument != "-") {
      planner.Add(argument.toStdString());
      any = true;
      continue;
    }
    SettingsInput input(stdin);
    std::vector<std::string> words;
    for (;;) {
      const SettingsInput::Status status = input.Next(words);
      const std::string where = "standard input line " + std::to_string(input.LineNumber()) + ": ";
      if (status == SettingsInput::Status::End) break;
      if (status == SettingsInput::Status::TooLong)
        command.Fail(
            QString::fromStdString(where + "the input is over 1 MiB; a settings file is far smaller"));
      if (status == SettingsInput::Status::ReadError)
        throw CliFailure(ExitCode::FileError, "cannot read the standard input");
      for (const std::string& word : words) planner.Add(word, where);
      any = any || !words.empty();
    }
  }
  if (!any) command.Fail("needs at least one SETTING=VALUE");

  CounterReplies replies;
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  const int language = command.Language();
  const auto answered = [language](DeviceCommand code) {
    const auto key = AcknowledgementTextKey(code);
    return key ? LanguageText(language, *key) : std::string("done");
  };
  CounterSettingsReader reader(link, replies, command.Timeout(), 0, separator);
  for (const PlannedRequest& planned : planner.Requests()) {
    replies.TakeAcknowledgement(planned.Acknowledgement);
    AskCounter(
        link, planned.Request, [&] { return replies.TakeAcknowledgement(planned.Acknowledgement); },
        command.Timeout(), planned.Label);
    if (verify && planned.ReadBack) VerifyChannelSetting(reader, planned, separator);
    std::printf("%s: %s\n", EscapeControlCharacters(planned.Label).c_str(),
                answered(planned.Acknowledgement).c_str());
    std::fflush(stdout);
  }
  if (planner.Outputs().empty()) return ExitCode::Done;

  // The outputs are written all five at once: the rows not named keep what the counter has.
  const CounterSettingsReader::Rows current = reader.ReadOutputs();
  OutputRows rows{};
  for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = RowFromFills(current.First[k], current.Second[k]);
  for (const auto& [index, assigned] : planner.Outputs())
    rows[static_cast<std::size_t>(index)] = assigned.Row;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const OutputRow& row = rows[k];
    if (row.Source < 0 || row.Comparison < 0 || row.Logic < 0 || row.SecondComparison < 0 || row.State < 0) {
      throw CliFailure(ExitCode::BadUsage, "output." + std::to_string(k + 1) +
                                               " as the counter reports it has a field outside its list; "
                                               "set that output too");
    }
  }
  const OutputsWrite write = BuildOutputsWrite(rows, separator);
  if (!write.Ok()) {
    throw CliFailure(ExitCode::BadUsage, RefusedBoxText(write.Refused.front()) +
                                             " (as the counter reports it); "
                                             "set that output too");
  }
  OutputsConfigExchange exchange;
  const std::optional<OutboundReport> firstHalf = exchange.BeginWrite(write);
  replies.TakeAcknowledgement(DeviceCommand::cmdWriteOutputsFirst);
  replies.TakeAcknowledgement(DeviceCommand::cmdWriteOutputsSecond);
  AskCounter(
      link, *firstHalf, [&] { return replies.TakeAcknowledgement(DeviceCommand::cmdWriteOutputsFirst); },
      command.Timeout(), "the outputs (first half)");
  AskCounter(
      link, exchange.SecondHalfRequest(),
      [&] { return replies.TakeAcknowledgement(DeviceCommand::cmdWriteOutputsSecond); }, command.Timeout(),
      "the outputs (second half)");
  if (verify) VerifyOutputs(reader, write, planner.Outputs(), separator);
  for (const auto& [index, assigned] : planner.Outputs()) {
    std::printf("%s: %s\n", EscapeControlCharacters(assigned.Label).c_str(),
                answered(DeviceCommand::cmdWriteOutputsSecond).c_str());
  }
  std::fflush(stdout);
  return ExitCode::Done;
}

}  // namespace kvelt::cli
