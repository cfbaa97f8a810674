#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvelt {

enum class AppendResult { Written, OpenFailed, WriteFailed };

// Why a line could not be appended: the error number of the call that failed (System), or a case
// the file system has no error number for. `Text` says it in English for the command line.
struct AppendFailure {
  enum class Cause { None, NoName, System, ForeignLink, NotAFile };
  Cause What = Cause::None;
  int Error = 0;  // errno, for System
  std::string Text;
};

// Appends one recording line to the file at `path`: opens it for appending (creating it empty if
// missing, never truncating), writes the whole line with one write and closes it again, so no
// handle is held between lines. The line is written byte for byte (it carries its own CR LF);
// when the file's last line has no line end (a line cut short by a crash), CR LF (or the LF a
// lone CR lacks) goes in front of it, so the new line is never glued to it. What the file holds
// is never rewritten.
//
// A symbolic link is followed only when the user or root owns it, as the kernel does in shared
// folders: a link another user planted (in /tmp, say) never redirects the lines to its target.
//
// The open never waits: it is non-blocking, and only a regular file or a character device (such
// as /dev/null) is written to. OpenFailed: the file cannot be opened at once (empty path, a
// directory, no permission, a FIFO or socket, a link of another user, anything else that is not
// a file); AppendOpenProblem says why.
// WriteFailed: the write came up short or the close failed. A regular file is then cut back to
// its size before the write, so a partial line never remains for later lines to be glued to, but
// only when its size shows that nothing else has been appended meanwhile.
AppendResult AppendLineToFile(const std::string& path, std::string_view line);

// The write step: writes up to `size` bytes to the descriptor and returns how many were written,
// or -1 (the contract of write(2)). Replaceable so that a short write can be provoked without
// filling a disk.
using LineWriter = long (*)(int descriptor, const char* data, std::size_t size);

AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer);

// The same, and why it failed in `failure` (left as it is after Written).
AppendResult AppendLineToFile(const std::string& path, std::string_view line, AppendFailure& failure);
AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer,
                              AppendFailure& failure);

// Opens the file at `path` for appending as a line would (creating it empty when missing, never
// changing what it holds) and closes it again: why it cannot be, What None when it can.
AppendFailure AppendOpenFailure(const std::string& path);

// Why the file at `path` cannot be opened for appending now ("Permission denied", "a symbolic
// link owned by another user (uid 65534)"...), for the message after an OpenFailed; empty when
// it can be.
std::string AppendOpenProblem(const std::string& path);

}  // namespace kvelt
