#pragma once

#include <string>
#include <string_view>

namespace kvelt {

// Gives the file at path exactly the new content, so that a program killed, or a machine
// losing power, half way leaves the old or the new file, never an empty or partial one.
//
// The content goes to a new temporary file beside the target (flushed to disk), which is
// renamed over it; the folder is flushed after the rename. A replaced file keeps its owner,
// group and mode bits. A symbolic link is followed: the file it names changes and the link
// stays. Where a rename cannot keep the file as it was, the file is rewritten in place
// instead (written from the start, cut to the new length, flushed): when no temporary file
// can be created beside it (a folder the user may not write), when its owner or group cannot
// be given to the temporary file, when the rename is refused, or when the file has further
// hard links, which would otherwise keep the old content.
//
// Temporary files of earlier writes that were killed before their rename are removed. An
// existing target must be a regular file the user may write; the file is created when missing
// (never its folder). Returns false when the content could not be written.
bool ReplaceFileContent(const std::string& path, std::string_view content);

}  // namespace kvelt
