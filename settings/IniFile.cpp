#include "settings/IniFile.h"

#include <sys/stat.h>

#include <cerrno>

#include "settings/IniSession.h"

namespace kvelt {

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

const std::string& IniFile::Path() const { return path_; }

bool IniFile::Exists() const {
  struct stat status {};
  // A path through something that is not a folder (ENOTDIR) cannot hold a file either.
  return ::stat(path_.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return IniSession(*this).ReadBool(section, key, defaultValue);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  return IniSession(*this).ReadInteger(section, key, defaultValue);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  return IniSession(*this).ReadString(section, key, defaultValue);
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) const {
  IniSession session(*this);
  session.WriteInteger(section, key, value);
  session.Save();
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const {
  const Entry entry{key, value};
  WriteStrings(section, std::span<const Entry>(&entry, 1));
}

void IniFile::WriteStrings(std::string_view section, std::span<const Entry> entries) const {
  IniSession session(*this);
  for (const Entry& entry : entries) session.WriteString(section, entry.first, entry.second);
  session.Save();
}

}  // namespace kvelt
