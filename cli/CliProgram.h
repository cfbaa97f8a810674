#pragma once

#include <QStringList>

namespace kvelt::cli {

// The kvelt program: picks the subcommand from the first argument after the program name, runs
// it, prints a failure as "kvelt: message" on stderr and returns the exit status.
int RunProgram(const QStringList& arguments);

}  // namespace kvelt::cli
