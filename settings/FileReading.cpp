#include "settings/FileReading.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace kvelt {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

FileReadResult ReadWholeFile(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    std::error_code error;
    const bool present = std::filesystem::exists(path, error);
    const bool missing = !present && !error;
    return {missing ? FileReadStatus::Missing : FileReadStatus::Failed, {}};
  }
  FileReadResult result{FileReadStatus::Read, {}};
  std::array<char, 8192> buffer{};
  std::size_t count = 0;
  while ((count = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
    result.Content.append(buffer.data(), count);
  }
  if (std::ferror(file.get())) return {FileReadStatus::Failed, {}};
  return result;
}

}  // namespace kvelt
