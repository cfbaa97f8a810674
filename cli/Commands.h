#pragma once

#include <QStringList>

#include "cli/ExitCode.h"

namespace kvelt::cli {

// The subcommands. Each takes its arguments from its own name on ("list", "--json", ...), prints
// its output on stdout and its messages on stderr, and returns the exit status or throws
// CliFailure.
ExitCode RunList(const QStringList& arguments);
ExitCode RunWatch(const QStringList& arguments);
ExitCode RunRecord(const QStringList& arguments);
ExitCode RunGet(const QStringList& arguments);
ExitCode RunSet(const QStringList& arguments);
ExitCode RunInfo(const QStringList& arguments);
ExitCode RunZero(const QStringList& arguments);
ExitCode RunPublish(const QStringList& arguments);

}  // namespace kvelt::cli
