#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace kvelt {

// Gives the file at path exactly the new content, so that a program killed, or a machine
// losing power, half way leaves the old or the new file, never an empty or partial one.
//
// The content goes to a new temporary file beside the target (flushed to disk), which is
// renamed over it; the folder is flushed after the rename. A replaced file keeps its owner,
// group and mode bits. A symbolic link is followed: the file it names changes and the link
// stays; but a link in a folder other users may write to (sticky, or writable by group or
// others) is refused, as another user may have planted it there. Where a rename cannot keep
// the file as it was, the file is rewritten in place instead: when no temporary file can be
// created beside it (a folder the user may not write), when its owner or group cannot be given
// to the temporary file, when the rename is refused, or when the file has further hard links,
// which would otherwise keep the old content.
//
// The in-place rewrite never leaves a mix of old and new bytes: content at least as long as
// the file is written over it in one go; shorter content is first written padded to the file's
// length with what reads as nothing (ReplaceOptions::Padded), flushed, and only then cut to its
// own length, so a kill in between leaves the new content with blank lines after it. Without a
// way to pad, a file is not shortened in place (false).
//
// Temporary files of earlier writes that were killed before their rename are removed. An
// existing target must be a regular file the user may write; the file is created when missing
// (never its folder). Returns false when the content could not be written; `why` then says why
// where there is more to say than the file's name.
struct ReplaceOptions {
  // `content` padded to at least `size` bytes so that it reads as `content`; empty: no padding.
  std::function<std::string(std::size_t size)> Padded;
  // The cut of the in-place rewrite, replaceable so that a test can stop there as a kill would.
  std::function<bool(int descriptor, off_t size)> Cut;
};

bool ReplaceFileContent(const std::string& path, std::string_view content);
bool ReplaceFileContent(const std::string& path, std::string_view content, const ReplaceOptions& options,
                        std::string& why);

}  // namespace kvelt
