// kvelt record: the recording lines of the window, appended to a file for a time, a number of
// lines or until Ctrl-C.

#include <unistd.h>

#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/LongTimer.h"
#include "cli/RecordColumnsText.h"
#include "cli/SilenceWatch.h"
#include "cli/SubcommandParser.h"
#include "cli/ValueOptions.h"
#include "device/qt/TerminationSignals.h"
#include "measure/RecordFile.h"
#include "measure/qt/LineRecorder.h"
#include "settings/SettingsKeys.h"

namespace kvelt::cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kProgressMs = 500;

void PrintProgress(Clock::time_point start, long long lines) {
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::fprintf(stderr, "\r%.1f s  %lld lines  %.1f lines/s\033[K", seconds, lines,
               seconds > 0 ? static_cast<double>(lines) / seconds : 0.0);
  std::fflush(stderr);
}

}  // namespace

ExitCode RunRecord(const QStringList& arguments) {
  SubcommandParser command(
      "record",
      "Appends the window's recording lines to FILE (created when missing, never truncated): one line per "
      "period, the date and time in the user's regional settings, the values as the read-outs show them.\n"
      "Runs for --for, or --lines lines, or until Ctrl-C or SIGTERM (the line being written is finished; "
      "exit 0).",
      SubcommandParser::kUnit | SubcommandParser::kDecimals | SubcommandParser::kTimeout);
  const QCommandLineOption period("period",
                                  "Recording period: 10ms, 100ms (default), 1s, 10s, 30s, 1min, 10min, "
                                  "30min or 1h.",
                                  "period");
  const QCommandLineOption forTime("for", "Records for this long (e.g. 30s, 5min, 2h), then exits.",
                                   "duration");
  const QCommandLineOption lines("lines", "Records this many lines, then exits.", "n");
  const QCommandLineOption date("date", "Adds the date column.");
  const QCommandLineOption time("time", "Adds the time column.");
  const QCommandLineOption columnsOption(
      "columns", "The columns: date, time, pos1..pos4, ver1..ver4 or all, comma-separated (default: all).",
      "list");
  for (const QCommandLineOption& option : {period, forTime, lines, date, time, columnsOption}) {
    command.Parser().addOption(option);
  }
  command.Parser().addPositionalArgument("FILE", "The file the lines are appended to.");
  if (!command.Parse(arguments)) return ExitCode::Done;
  if (command.Positional().size() != 1) command.Fail("needs exactly one FILE");

  int periodIndex = SettingsDefaults::SavePeriod;
  if (command.Parser().isSet(period)) {
    const std::optional<int> index = ParseRecordPeriod(command.Parser().value(period).toStdString());
    if (!index) command.Fail("bad --period \"" + command.Parser().value(period) + "\"");
    periodIndex = *index;
  }
  std::optional<std::chrono::milliseconds> duration;
  if (command.Parser().isSet(forTime)) {
    duration = ParseDuration(command.Parser().value(forTime).toStdString());
    if (!duration || duration->count() <= 0)
      command.Fail("bad --for \"" + command.Parser().value(forTime) + "\" " + QLatin1String(kDurationRange));
  }
  std::optional<long long> lineLimit;
  if (command.Parser().isSet(lines)) {
    lineLimit = ParsePositiveCount(command.Parser().value(lines).toStdString());
    if (!lineLimit) command.Fail("bad --lines \"" + command.Parser().value(lines) + "\"");
  }
  if (duration && lineLimit) command.Fail("--for and --lines exclude each other");
  RecordColumns columns = AllValueColumns();
  if (command.Parser().isSet(columnsOption)) {
    std::string why;
    const std::optional<RecordColumns> named =
        ParseRecordColumns(command.Parser().value(columnsOption).toStdString(), why);
    if (!named) command.Fail(QString::fromStdString(why));
    columns = *named;
  }
  columns.Date = columns.Date || command.Parser().isSet(date);
  columns.Time = columns.Time || command.Parser().isSet(time);

  const QString fileName = command.Positional().front();
  const std::string path = QFile::encodeName(fileName).toStdString();

  CounterReplies replies(command.Unit());
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  // The file is created empty now, as the window's file choice does, once the counter is there;
  // a file that cannot be opened for appending ends the command before the first line.
  switch (AppendLineToFile(path, "")) {
    case AppendResult::Written:
      break;
    case AppendResult::OpenFailed:
      throw CliFailure(ExitCode::FileError, "cannot open " + fileName.toStdString() +
                                                " for appending: " + AppendOpenProblem(path));
    case AppendResult::WriteFailed:
      throw CliFailure(ExitCode::FileError, "cannot write to " + fileName.toStdString());
  }

  const RecordTarget target{path, columns, command.Decimals()};
  LineRecorder recorder([&target] { return target; });
  std::optional<CliFailure> failure;
  replies.OnChannelFrame = [&recorder](int channel) { recorder.NoteChannelFrame(channel); };
  replies.OnChannel4Frame = [&] {
    if (failure) return true;
    switch (recorder.OnChannel4Frame(periodIndex, true, replies.Readings())) {
      case LineRecorder::Outcome::NotDue:
      case LineRecorder::Outcome::Waiting:
        return true;
      case LineRecorder::Outcome::Written:
        if (lineLimit && recorder.LinesWritten() >= *lineLimit) link.Stop();
        return true;
      case LineRecorder::Outcome::OpenFailed:
        failure.emplace(ExitCode::FileError, "cannot open " + fileName.toStdString() +
                                                 " for appending: " + AppendOpenProblem(path));
        break;
      case LineRecorder::Outcome::WriteFailed:
        failure.emplace(ExitCode::FileError, "a line could not be written to " + fileName.toStdString());
        break;
    }
    link.Stop();
    return false;
  };

  const hid::TerminationSignals signalStop([&link] { link.Stop(); });
  const Clock::time_point start = Clock::now();
  const bool progress = ::isatty(STDERR_FILENO) == 1;
  QTimer progressTimer;
  if (progress) {
    QObject::connect(&progressTimer, &QTimer::timeout,
                     [&] { PrintProgress(start, recorder.LinesWritten()); });
    progressTimer.start(kProgressMs);
  }
  // No frame at all within the reply timeout: the counter is not sending.
  const CounterLink::Wait first =
      link.RunUntil([&replies] { return replies.FrameCount() > 0; }, command.Timeout());
  CounterLink::Wait end = first;
  if (first == CounterLink::Wait::TimedOut) {
    throw CliFailure(ExitCode::NoReply, "the counter sent no values in time");
  }
  // The time runs from the counter's first frame.
  LongTimer endTimer([&link] { link.Stop(); });
  if (duration) endTimer.Start(*duration);
  // A counter that goes quiet ends the run instead of leaving it waiting for good.
  const SilenceWatch silence(
      command.Timeout(), [&replies] { return replies.FrameCount(); }, [&link] { link.Stop(); });
  if (first == CounterLink::Wait::Done) {
    end = link.RunUntil(nullptr, std::nullopt);
  }
  if (progress) {
    PrintProgress(start, recorder.LinesWritten());
    std::fputs("\n", stderr);
  }
  if (failure) throw *failure;
  if (silence.Silent()) {
    throw CliFailure(ExitCode::NoReply, "the counter stopped sending after " +
                                            std::to_string(recorder.LinesWritten()) + " lines");
  }
  if (end == CounterLink::Wait::Unplugged) {
    throw CliFailure(ExitCode::NoCounter,
                     "the counter was unplugged after " + std::to_string(recorder.LinesWritten()) + " lines");
  }
  return ExitCode::Done;
}

}  // namespace kvelt::cli
