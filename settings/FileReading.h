#pragma once

#include <cstddef>
#include <string>

namespace kvelt {

enum class FileReadStatus { Read, Missing, Failed };

struct FileReadResult {
  FileReadStatus Status = FileReadStatus::Missing;
  std::string Content;  // the whole file when Status is Read, else empty
};

// Reads a whole regular file as bytes without ever waiting: the file is opened
// non-blocking and must be a regular file of at most maxSize bytes. Missing means
// nothing is at the path (or a dangling link, or a folder on the way is a file); Failed means something is
// there but could not be read as such a file (a FIFO, a device, a folder, a file too large, no permission, an
// I/O error), so it must not be replaced as though it were empty.
FileReadResult ReadWholeFile(const std::string& path, std::size_t maxSize);

}  // namespace kvelt
