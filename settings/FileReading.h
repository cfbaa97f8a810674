#pragma once

#include <string>

namespace kvelt {

enum class FileReadStatus { Read, Missing, Failed };

struct FileReadResult {
  FileReadStatus Status = FileReadStatus::Missing;
  std::string Content;  // the whole file when Status is Read, else empty
};

// Reads a whole file as bytes. Missing means no file is there; Failed means a file
// (or something else) is there but could not be read, so it must not be replaced
// as though it were empty.
FileReadResult ReadWholeFile(const std::string& path);

}  // namespace kvelt
