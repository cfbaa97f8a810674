// kvelt record: recording lines appended to a file or written to a stream, for a time, a number
// of lines or until Ctrl-C.

#include <unistd.h>

#include <QFile>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/LongTimer.h"
#include "cli/RecordColumnsText.h"
#include "cli/RecordLineComposer.h"
#include "cli/RecordSink.h"
#include "cli/SilenceWatch.h"
#include "cli/SubcommandParser.h"
#include "cli/ValueOptions.h"
#include "device/qt/TerminationSignals.h"
#include "measure/qt/LineRecorder.h"
#include "measure/qt/LocaleRecordLine.h"
#include "measure/qt/RecordClock.h"
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

std::optional<RecordFormat> FormatNamed(const QString& name) {
  if (name == "window") return RecordFormat::Window;
  if (name == "csv") return RecordFormat::Csv;
  if (name == "ndjson") return RecordFormat::Ndjson;
  return std::nullopt;
}

std::optional<TimestampForm> TimestampNamed(const QString& name) {
  if (name == "none") return TimestampForm::None;
  if (name == "iso") return TimestampForm::Iso;
  if (name == "epoch-ms") return TimestampForm::EpochMs;
  return std::nullopt;
}

}  // namespace

ExitCode RunRecord(const QStringList& arguments) {
  SubcommandParser command(
      "record",
      "Appends recording lines to FILE (created when missing, never truncated), one per period; by default "
      "the window's lines: the date and time in the user's regional settings, the values as the read-outs "
      "show them. FILE \"-\" is the standard output; a pipe or FIFO is written to as a stream, a line at a "
      "time.\n"
      "Runs for --for, or --lines lines, or until Ctrl-C or SIGTERM (the line being written is finished; "
      "exit 0) or until the reader of the stream goes away (exit 0).",
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
      "columns",
      "The columns, in this order: date, time, pos1..pos4, ver1..ver4, out1..out5 (the outputs' states, 0 "
      "or 1) or all (the eight values), comma-separated (default: all).",
      "list");
  const QCommandLineOption formatOption(
      "format",
      "window (default: the window's lines, byte for byte), csv (',' between fields, '.' and full "
      "precision, LF) or ndjson (one JSON object per line).",
      "format");
  const QCommandLineOption header("header",
                                  "Starts with a line naming the columns (window and csv formats).");
  const QCommandLineOption timestampOption(
      "timestamp",
      "iso (ISO 8601 local time with milliseconds and offset), epoch-ms (milliseconds since 1970) or none "
      "(default): a first field independent of the regional settings.",
      "form");
  const QCommandLineOption follow("follow",
                                  "Keeps recording across an unplug of the counter: the gap is said on "
                                  "stderr and, in csv and ndjson, as a line of its own.");
  for (const QCommandLineOption& option :
       {period, forTime, lines, date, time, columnsOption, formatOption, header, timestampOption, follow}) {
    command.Parser().addOption(option);
  }
  command.Parser().addPositionalArgument("FILE",
                                         "The file the lines are appended to; - for the standard output.");
  if (!command.Parse(arguments)) return ExitCode::Done;
  if (command.Positional().size() != 1) command.Fail("needs exactly one FILE");
  QCommandLineParser& parser = command.Parser();

  int periodIndex = SettingsDefaults::SavePeriod;
  if (parser.isSet(period)) {
    const std::optional<int> index = ParseRecordPeriod(parser.value(period).toStdString());
    if (!index) command.Fail("bad --period \"" + parser.value(period) + "\"");
    periodIndex = *index;
  }
  std::optional<std::chrono::milliseconds> duration;
  if (parser.isSet(forTime)) {
    duration = ParseDuration(parser.value(forTime).toStdString());
    if (!duration || duration->count() <= 0)
      command.Fail("bad --for \"" + parser.value(forTime) + "\" " + QLatin1String(kDurationRange));
  }
  std::optional<long long> lineLimit;
  if (parser.isSet(lines)) {
    lineLimit = ParsePositiveCount(parser.value(lines).toStdString());
    if (!lineLimit) command.Fail("bad --lines \"" + parser.value(lines) + "\"");
  }
  if (duration && lineLimit) command.Fail("--for and --lines exclude each other");

  RecordLayout layout;
  layout.Columns = AllValueColumns();
  if (parser.isSet(columnsOption)) {
    std::string why;
    const auto named = ParseRecordColumns(parser.value(columnsOption).toStdString(), why);
    if (!named) command.Fail(QString::fromStdString(why));
    layout.Columns = *named;
  }
  // --date and --time put their column first, as the window's line has it.
  for (const auto& [flag, kind] :
       {std::pair{&time, RecordColumn::Kind::Time}, {&date, RecordColumn::Kind::Date}}) {
    const RecordColumn column{kind, 0};
    if (parser.isSet(*flag) &&
        std::find(layout.Columns.begin(), layout.Columns.end(), column) == layout.Columns.end())
      layout.Columns.insert(layout.Columns.begin(), column);
  }
  if (parser.isSet(formatOption)) {
    const auto format = FormatNamed(parser.value(formatOption));
    if (!format) command.Fail("bad --format \"" + parser.value(formatOption) + "\" (window, csv or ndjson)");
    layout.Format = *format;
  }
  if (parser.isSet(timestampOption)) {
    const auto form = TimestampNamed(parser.value(timestampOption));
    if (!form)
      command.Fail("bad --timestamp \"" + parser.value(timestampOption) + "\" (iso, epoch-ms or none)");
    layout.Timestamp = *form;
  }
  if (parser.isSet(header) && layout.Format == RecordFormat::Ndjson)
    command.Fail("--header is for the window and csv formats; ndjson names every field");
  layout.Decimals = command.Decimals();
  layout.DecimalSeparator = SystemDecimalSeparator();
  const bool following = parser.isSet(follow);

  const QString fileName = command.Positional().front();
  const std::string name = fileName == "-" ? std::string("the standard output") : fileName.toStdString();
  RecordSink sink(fileName == "-" ? std::string("-") : QFile::encodeName(fileName).toStdString());

  CounterReplies replies(command.Unit());
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  // The file is created empty now, as the window's file choice does, once the counter is there;
  // a file that cannot be opened for appending ends the command before the first line.
  // Why a file cannot be opened for appending (a stream says nothing more).
  const std::string path = fileName == "-" ? std::string() : QFile::encodeName(fileName).toStdString();
  const auto openProblem = [&path] { return path.empty() ? std::string() : ": " + AppendOpenProblem(path); };
  const auto throwFailure = [&name, &openProblem](AppendResult result) {
    if (result == AppendResult::OpenFailed)
      throw CliFailure(ExitCode::FileError, "cannot open " + name + " for appending" + openProblem());
    if (result == AppendResult::WriteFailed) throw CliFailure(ExitCode::FileError, "cannot write to " + name);
  };
  throwFailure(sink.Open());

  const RecordClock clock;
  const RecordLineComposer composer(
      layout, [&clock] { return clock.DateText(); }, [&clock] { return clock.TimeText(); });
  if (parser.isSet(header)) throwFailure(sink.Write(composer.Header()));
  RecordTarget target;
  target.Columns = ColumnSet(layout.Columns);
  // The composer makes every line (its window format is the window's line, byte for byte) and
  // the sink takes it (a file by the window's rules, or a stream).
  target.Compose = [&composer, &replies](const ChannelReadingArray& readings) {
    return composer.Line(readings, replies.Outputs(), std::chrono::system_clock::now());
  };
  target.Write = [&sink](std::string_view line) { return sink.Write(line); };
  LineRecorder recorder([&target] { return target; });
  std::optional<CliFailure> failure;
  replies.OnChannelFrame = [&recorder](int channel) { recorder.NoteChannelFrame(channel); };
  replies.OnChannel4Frame = [&] {
    if (failure || sink.ReaderGone()) return true;
    switch (recorder.OnChannel4Frame(periodIndex, true, replies.Readings())) {
      case LineRecorder::Outcome::NotDue:
      case LineRecorder::Outcome::Waiting:
        return true;
      case LineRecorder::Outcome::Written:
        if (lineLimit && recorder.LinesWritten() >= *lineLimit) link.Stop();
        return true;
      case LineRecorder::Outcome::OpenFailed:
        failure.emplace(ExitCode::FileError, "cannot open " + name + " for appending" + openProblem());
        break;
      case LineRecorder::Outcome::WriteFailed:
        if (!sink.ReaderGone())
          failure.emplace(ExitCode::FileError, "a line could not be written to " + name);
        break;
    }
    link.Stop();
    return false;
  };
  const auto event = [&](std::string_view what, const std::string& detail) {
    std::fprintf(stderr, "kvelt: %s\n", detail.c_str());
    const std::string line = composer.Event(what, detail, std::chrono::system_clock::now());
    if (!line.empty() && sink.Write(line) != AppendResult::Written && !sink.ReaderGone()) {
      failure.emplace(ExitCode::FileError, "a line could not be written to " + name);
      link.Stop();
    }
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
  // A counter that goes quiet ends the run instead of leaving it waiting for good; while it is
  // unplugged and followed, its silence is the gap.
  const auto watchSilence = [&] {
    return std::make_unique<SilenceWatch>(
        command.Timeout(), [&replies] { return replies.FrameCount(); }, [&link] { link.Stop(); });
  };
  std::unique_ptr<SilenceWatch> silence = watchSilence();
  std::optional<Clock::time_point> goneAt;
  if (following) {
    link.Follow(
        [&] {
          silence.reset();
          goneAt = Clock::now();
          event("unplugged", "the counter was unplugged after " + std::to_string(recorder.LinesWritten()) +
                                 " lines; waiting for it to come back");
        },
        [&] {
          recorder.Restart();
          silence = watchSilence();
          const double gap = goneAt ? std::chrono::duration<double>(Clock::now() - *goneAt).count() : 0.0;
          char seconds[32];
          std::snprintf(seconds, sizeof seconds, "%.1f", gap);
          goneAt.reset();
          event("reconnected",
                std::string("the counter is back after a gap of ") + seconds + " s; recording goes on");
        });
  }
  if (first == CounterLink::Wait::Done) {
    end = link.RunUntil(nullptr, std::nullopt);
  }
  if (progress) {
    PrintProgress(start, recorder.LinesWritten());
    std::fputs("\n", stderr);
  }
  if (failure) throw *failure;
  if (silence && silence->Silent()) {
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
