#pragma once

#include <string>
#include <string_view>

namespace kvelt {

// Gives the file at path exactly the new content, or leaves it as it was: the
// content goes to a new temporary file in the same folder, which is then renamed
// over the old one. Readers, and a program that dies half way, see either the old
// or the new file, never a part of one. An existing file must be writable (a
// write-protected file is not replaced); its permission bits carry over, and a
// symbolic link is followed, so the link's target is what changes. Creates the file
// when missing, never its folder. Returns false when the file could not be written.
bool ReplaceFileContent(const std::string& path, std::string_view content);

}  // namespace kvelt
