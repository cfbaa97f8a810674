#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace kvelt {

enum class AppendResult { Written, OpenFailed, WriteFailed };

// Appends one recording line to the file at `path`: opens it for appending (creating it empty if
// missing, never truncating), writes the whole line with one write and closes it again, so no
// handle is held between lines. OpenFailed: the file cannot be opened (empty path, a directory,
// no permission). WriteFailed: the write came up short or the close failed; the file is cut back
// to its size before the write, so a partial line never remains for later lines to be glued to.
// The line is written byte for byte (it carries its own CR LF).
AppendResult AppendLineToFile(const std::string& path, std::string_view line);

// The write step: writes `size` bytes to `file` and returns how many were written (std::fwrite's
// contract). Replaceable so that a short write can be provoked without filling a disk.
using LineWriter = std::size_t (*)(const char* data, std::size_t size, std::FILE* file);

AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer);

}  // namespace kvelt
