#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace kvelt::cli {

// The assignments `kvelt set -` reads from a stream, a line at a time: words separated by
// blanks, blank lines and lines starting with '#' skipped. At most kLimit bytes are read in all,
// so a stream that never ends (or a wrong file) is refused early instead of filling memory.
class SettingsInput {
 public:
  static constexpr std::size_t kLimit = 1u << 20;  // 1 MiB: a settings file is about 1 KiB

  enum class Status { Line, End, TooLong, ReadError };

  explicit SettingsInput(std::FILE* stream) : stream_(stream) {}

  // The words of the next line that has any; its number is LineNumber().
  Status Next(std::vector<std::string>& words);
  int LineNumber() const { return line_; }

 private:
  std::FILE* stream_;
  std::size_t read_ = 0;
  int line_ = 0;
};

}  // namespace kvelt::cli
