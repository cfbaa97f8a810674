// Feeds arbitrary argument lists to the command lines: a `kvelt` subcommand's (with the common
// options the input picks) and the window's. A parse ends in the options within their ranges
// or in a refusal (CliFailure, or an error text); it never crashes or takes a value it misreads.
//
// Input: byte 0 picks the subcommand's common options; the rest is the arguments, separated by
// NUL bytes.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "cli/ExitCode.h"
#include "cli/SubcommandParser.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "command-line invariant broken: %s\n", what);
    std::abort();
  }
}

constexpr long long kYearMs = 366LL * 24 * 3600 * 1000;

void CheckSubcommand(unsigned common, const QStringList& arguments) {
  kvelt::cli::SubcommandParser command("fuzz", "A command line under test.", common);
  try {
    if (!command.Parse(QStringList{"fuzz"} + arguments)) return;  // --help
  } catch (const kvelt::cli::CliFailure& failure) {
    Check(failure.Code() == kvelt::cli::ExitCode::BadUsage, "a bad command line is bad usage");
    return;
  }
  Check(command.Timeout().count() > 0 && command.Timeout().count() <= kYearMs, "the timeout");
  Check(command.Unit() >= 0 && command.Unit() <= 3, "the unit");
  Check(command.Decimals() >= 0 && command.Decimals() <= 4, "the decimals");
  Check(command.Language() == 1 || command.Language() == 2, "the language");
}

void CheckWindow(const QStringList& arguments) {
  kvelt::app::CommandLine commandLine;
  if (!commandLine.Parser().parse(QStringList{"kvelt-pc"} + arguments)) return;
  QString error;
  const auto options = commandLine.Options(error);
  if (!options) {
    Check(!error.isEmpty(), "a refusal says why");
    return;
  }
  const double unplug = options->SimulateUnplugAfterSeconds;
  Check(unplug == -1.0 || (unplug >= 0.0 && unplug <= 2'000'000.0), "the unplug delay");
  Check(unplug < 0.0 || options->Simulate, "an unplug simulates");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // --help prints the help; it is not what is under test here.
  static const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
  (void)quiet;
  if (size < 1) return 0;
  const QStringList arguments =
      QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
          .split(QChar(u'\0'));
  CheckSubcommand(data[0] & 0x1F, arguments);
  CheckWindow(arguments);
  return 0;
}
