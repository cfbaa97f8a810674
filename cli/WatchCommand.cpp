// kvelt watch: the eight values live on one terminal line, or one reading with --once.

#include <sys/ioctl.h>
#include <unistd.h>

#include <QTimer>
#include <chrono>
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/CounterReplies.h"
#include "cli/ReadingText.h"
#include "cli/RecordSink.h"
#include "cli/SilenceWatch.h"
#include "cli/SubcommandParser.h"
#include "device/qt/TerminationSignals.h"
#include "measure/qt/LocaleRecordLine.h"

namespace kvelt::cli {
namespace {

constexpr int kRefreshMs = 100;  // at most 10 lines a second

// The terminal's width in columns, 0 when it cannot be told.
std::size_t TerminalColumns() {
  struct winsize size {};
  return ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

}  // namespace

ExitCode RunWatch(const QStringList& arguments) {
  SubcommandParser command(
      "watch",
      "Shows the position and speed of the four channels and the five outputs' states, refreshed in place "
      "at most 10 times a second, until Ctrl-C. On a pipe every refresh is a line of its own; a standard "
      "output that cannot be written ends the command (exit 5). --json: one object per line with a time "
      "stamp and the values in full precision (--decimals is for the line only).",
      SubcommandParser::kJson | SubcommandParser::kUnit | SubcommandParser::kDecimals |
          SubcommandParser::kTimeout);
  const QCommandLineOption once("once",
                                "Prints one reading (once every channel has sent its values) and exits.");
  command.Parser().addOption(once);
  if (!command.Parse(arguments)) return ExitCode::Done;
  if (!command.Positional().isEmpty()) command.Fail("takes no arguments");

  CounterReplies replies(command.Unit());
  CounterLink link(command);
  link.Connect([&replies](const std::uint8_t* data, std::size_t size) { replies.Dispatch(data, size); },
               command.Language());
  const std::string separator = SystemDecimalSeparator();
  const bool inPlace = !command.Json() && !command.Parser().isSet(once) && ::isatty(STDOUT_FILENO) == 1;
  RecordSink out("-");
  out.Open();
  std::optional<CliFailure> failure;
  const auto print = [&](const char* begin, const char* end) {
    if (failure || out.ReaderGone()) return;
    std::string text = command.Json() ? ReadingJson(replies.Readings(), command.Unit(), replies.Outputs(),
                                                    std::chrono::system_clock::now())
                                      : ReadingLine(replies.Readings(), command.Unit(), command.Decimals(),
                                                    replies.Outputs(), separator);
    // A line wider than the terminal would wrap, and the next refresh would start on the wrapped
    // row: in place, the line is cut to the terminal's width.
    if (const std::size_t columns = inPlace ? TerminalColumns() : 0; columns > 1 && text.size() >= columns) {
      text.resize(columns - 1);
    }
    // A reader that went away ends the command normally; any other failure is exit 5.
    if (out.Write(begin + text + end) != AppendResult::Written) {
      if (!out.ReaderGone()) failure.emplace(ExitCode::FileError, "cannot write the standard output");
      link.Stop();
    }
  };

  // The first reading is whole only once every channel has sent a frame.
  switch (link.RunUntil([&replies] { return replies.AllChannelsSeen(); }, command.Timeout())) {
    case CounterLink::Wait::Done:
      break;
    case CounterLink::Wait::Unplugged:
      throw CliFailure(ExitCode::NoCounter, "the counter was unplugged");
    case CounterLink::Wait::Stopped:
      return ExitCode::Done;
    case CounterLink::Wait::TimedOut:
      throw CliFailure(ExitCode::NoReply, "the counter sent no values in time");
  }
  if (command.Parser().isSet(once)) {
    print("", "\n");
    if (failure) throw *failure;
    return ExitCode::Done;
  }

  const hid::TerminationSignals signalStop([&link] { link.Stop(); });
  std::uint64_t printedAt = ~std::uint64_t{0};
  QTimer refresh;
  QObject::connect(&refresh, &QTimer::timeout, [&] {
    if (replies.FrameCount() == printedAt) return;  // nothing new since the last line
    printedAt = replies.FrameCount();
    // In place: back to the line's start, the new values, the rest of the old line cleared.
    print(inPlace ? "\r" : "", inPlace ? "\033[K" : "\n");
  });
  refresh.start(kRefreshMs);
  printedAt = replies.FrameCount();
  print(inPlace ? "\r" : "", inPlace ? "\033[K" : "\n");
  const SilenceWatch silence(
      command.Timeout(), [&replies] { return replies.FrameCount(); }, [&link] { link.Stop(); });
  const CounterLink::Wait end = link.RunUntil(nullptr, std::nullopt);
  if (inPlace && !failure && !out.ReaderGone()) out.Write("\n");
  if (failure) throw *failure;
  if (end == CounterLink::Wait::Unplugged) throw CliFailure(ExitCode::NoCounter, "the counter was unplugged");
  if (silence.Silent()) throw CliFailure(ExitCode::NoReply, "the counter stopped sending");
  return ExitCode::Done;
}

}  // namespace kvelt::cli
