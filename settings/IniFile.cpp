#include "settings/IniFile.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "settings/AtomicFileReplace.h"
#include "settings/FileReading.h"
#include "settings/IniDocument.h"
#include "settings/IniValue.h"
#include "settings/SettingsWriteError.h"
#include "settings/Utf8Text.h"

namespace kvelt {
namespace {

std::optional<std::string> ReadRawValue(const std::string& path, std::string_view section,
                                        std::string_view key) {
  const FileReadResult file = ReadWholeFile(path);
  if (file.Status != FileReadStatus::Read) return std::nullopt;
  const IniDocument document(file.Content);
  const auto value = document.Find(section, key);
  if (!value) return std::nullopt;
  return std::string(*value);
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

const std::string& IniFile::Path() const { return path_; }

bool IniFile::Exists() const {
  std::error_code error;
  return std::filesystem::is_regular_file(path_, error);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const auto raw = ReadRawValue(path_, section, key);
  if (!raw) return defaultValue;
  return ParseIniInteger(*raw).value_or(defaultValue);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const auto raw = ReadRawValue(path_, section, key);
  if (!raw) return std::string(defaultValue);
  const std::string text = RepairUtf8(*raw);
  return std::string(CutUtf8(text, kMaxTextLength));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) const {
  WriteString(section, key, FormatIniInteger(value));
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const {
  const Entry entry{key, value};
  WriteStrings(section, std::span<const Entry>(&entry, 1));
}

void IniFile::WriteStrings(std::string_view section, std::span<const Entry> entries) const {
  const FileReadResult file = ReadWholeFile(path_);
  // A file that is there but cannot be read must not be replaced by what little we know.
  if (file.Status == FileReadStatus::Failed) throw SettingsWriteError(path_);
  IniDocument document(file.Content);
  for (const Entry& entry : entries) document.Set(section, entry.first, entry.second);
  if (!ReplaceFileContent(path_, document.Text())) throw SettingsWriteError(path_);
}

}  // namespace kvelt
