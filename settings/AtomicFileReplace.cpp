#include "settings/AtomicFileReplace.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace kvelt {
namespace {

namespace fs = std::filesystem;

fs::path ResolveTarget(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(path, error)) {
    fs::path target = fs::canonical(path, error);
    if (!error) return target;
  }
  return path;
}

bool IsWritableFile(const fs::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");  // opens without creating or truncating
  if (!file) return false;
  std::fclose(file);
  return true;
}

std::string RandomSuffix() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t bits = generator();
  std::string suffix;
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kDigits[bits & 0xF];
  return suffix;
}

// Creates a temporary file beside target that did not exist before ("x" mode).
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = target;
    temporary += ".tmp" + RandomSuffix();
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (file || errno != EEXIST) return file;
  }
  return nullptr;
}

bool WriteAndClose(std::FILE* file, std::string_view content) {
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, std::string_view content) {
  const fs::path target = ResolveTarget(path);
  std::error_code error;
  const fs::file_status oldStatus = fs::status(target, error);
  const bool replacing = fs::exists(oldStatus);
  if (replacing && (!fs::is_regular_file(oldStatus) || !IsWritableFile(target))) return false;

  fs::path temporary;
  std::FILE* file = CreateTemporaryBeside(target, temporary);
  if (!file) return false;
  if (!WriteAndClose(file, content)) {
    fs::remove(temporary, error);
    return false;
  }
  if (replacing) fs::permissions(temporary, oldStatus.permissions(), error);  // best effort
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace kvelt
