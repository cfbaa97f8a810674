#pragma once

#include <stdexcept>
#include <string>

namespace kvelt::cli {

// What the program's exit status tells a script.
enum class ExitCode : int {
  Done = 0,
  BadUsage = 1,
  NoCounter = 2,
  NoAccess = 3,
  NoReply = 4,
  FileError = 5,
  NotHeld = 6,  // a setting written was read back with another value
};

// Ends a subcommand with an exit status and the one line that says why.
class CliFailure : public std::runtime_error {
 public:
  CliFailure(ExitCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
  ExitCode Code() const { return code_; }

 private:
  ExitCode code_;
};

}  // namespace kvelt::cli
