#include "measure/RecordFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

namespace kvelt {
namespace {

std::size_t WriteWithStdio(const char* data, std::size_t size, std::FILE* file) {
  return std::fwrite(data, 1, size, file);
}

// Size of the open file, or nothing when it cannot be told (a pipe, for instance).
std::optional<long> CurrentSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) {
    return std::nullopt;
  }
  const long size = std::ftell(file);
  if (size < 0) {
    return std::nullopt;
  }
  return size;
}

// Cuts a regular file back to `size`, dropping the bytes a failed write left behind.
void RemovePartialLine(const std::string& path, long size) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (!std::filesystem::is_regular_file(file, error)) {
    return;
  }
  const auto sizeNow = std::filesystem::file_size(file, error);
  if (error || sizeNow <= static_cast<std::uintmax_t>(size)) {
    return;
  }
  std::filesystem::resize_file(file, static_cast<std::uintmax_t>(size), error);
}

}  // namespace

AppendResult AppendLineToFile(const std::string& path, std::string_view line) {
  return AppendLineToFile(path, line, &WriteWithStdio);
}

AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer) {
  if (path.empty()) {
    return AppendResult::OpenFailed;
  }
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) {
    return AppendResult::OpenFailed;
  }
  // Unbuffered: the one write hands the whole line to the system at once, and a failure shows
  // at the write rather than somewhere inside the close.
  std::setvbuf(file, nullptr, _IONBF, 0);
  const std::optional<long> sizeBefore = CurrentSize(file);
  const bool written = writer(line.data(), line.size(), file) == line.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed) {
    return AppendResult::Written;
  }
  if (sizeBefore) {
    RemovePartialLine(path, *sizeBefore);
  }
  return AppendResult::WriteFailed;
}

}  // namespace kvelt
