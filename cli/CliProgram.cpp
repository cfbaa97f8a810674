#include "cli/CliProgram.h"

#include <cstdio>
#include <exception>
#include <functional>
#include <string_view>

#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "text/ControlEscape.h"

#ifndef KVELT_PROGRAM_VERSION
#define KVELT_PROGRAM_VERSION "0"
#endif

namespace kvelt::cli {
namespace {

struct Subcommand {
  const char* Name;
  const char* Summary;
  ExitCode (*Run)(const QStringList&);
};

constexpr Subcommand kSubcommands[] = {
    {"list", "the HID devices seen, the counter marked, with its access state", RunList},
    {"watch", "the eight values live on one line (--once: one reading)", RunWatch},
    {"record", "record the values to a file, as the window does", RunRecord},
    {"get", "read the counter's settings", RunGet},
    {"set", "write the counter's settings", RunSet},
    {"info", "the encoder information of a channel", RunInfo},
    {"zero", "set the position of channels to zero", RunZero},
    {"publish", "publish the readings to an MQTT broker", RunPublish},
};

void PrintUsage(std::FILE* stream) {
  std::fprintf(stream,
               "Usage: kvelt COMMAND [OPTIONS] [ARGUMENTS]\n"
               "The KVELT four-channel encoder counter from the command line.\n\n"
               "Commands:\n");
  for (const Subcommand& command : kSubcommands) {
    std::fprintf(stream, "  %-8s %s\n", command.Name, command.Summary);
  }
  std::fprintf(
      stream,
      "\n\"kvelt COMMAND --help\" describes a command. Every command takes --simulate (the built-in "
      "simulated counter) and --device PATH|SERIAL|N (which counter, when several are attached).\n\n"
      "Exit status:\n"
      "  0 done, 1 bad usage, 2 no counter found, 3 counter not accessible or in use by another program,\n"
      "  4 no reply in time, 5 file error, 6 the counter holds another value than was set\n");
}

}  // namespace

int RunProgram(const QStringList& arguments) {
  const QString first = arguments.value(1);
  if (first.isEmpty()) {
    PrintUsage(stderr);
    return static_cast<int>(ExitCode::BadUsage);
  }
  if (first == "-h" || first == "--help" || first == "help") {
    PrintUsage(stdout);
    return static_cast<int>(ExitCode::Done);
  }
  if (first == "-v" || first == "--version") {
    std::printf("kvelt %s\n", KVELT_PROGRAM_VERSION);
    return static_cast<int>(ExitCode::Done);
  }
  for (const Subcommand& command : kSubcommands) {
    if (first != QLatin1String(command.Name)) continue;
    try {
      const ExitCode code = command.Run(arguments.mid(1));
      // Output a script redirected to a full disk or a closed pipe is lost: say so.
      if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "kvelt: cannot write the standard output\n");
        return static_cast<int>(ExitCode::FileError);
      }
      return static_cast<int>(code);
    } catch (const CliFailure& failure) {
      std::fflush(stdout);
      std::fprintf(stderr, "kvelt: %s\n", EscapeControlCharacters(failure.what(), LineBreaks::Keep).c_str());
      return static_cast<int>(failure.Code());
    } catch (const std::exception& error) {
      std::fflush(stdout);
      std::fprintf(stderr, "kvelt: %s\n", EscapeControlCharacters(error.what(), LineBreaks::Keep).c_str());
      return static_cast<int>(ExitCode::FileError);
    }
  }
  std::fprintf(stderr, "kvelt: unknown command \"%s\" (kvelt --help lists them)\n",
               EscapeControlCharacters(first.toStdString()).c_str());
  return static_cast<int>(ExitCode::BadUsage);
}

}  // namespace kvelt::cli
