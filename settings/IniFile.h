#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace kvelt {

// A settings file in INI layout (see IniDocument for the layout). Every call opens
// the file, does its work and closes it again; nothing is cached between calls. A
// batch of keys (the window's start-up reads, the keys of one click) goes through an
// IniSession instead, which reads the file once.
//
// Reading never fails and never waits: a missing or unreadable file (including one
// that is not a regular file, or is larger than kMaxFileSize), a missing section or
// key, or a value that does not read gives the default. A write is complete in the
// file when it returns (see ReplaceFileContent) or throws SettingsWriteError; an
// unreadable file is never written over; lines other than the key's keep their text.
//
// Texts read back are UTF-8; the file is read in, and written back in, its own
// encoding: UTF-8, Windows-1250 or UTF-16 with a byte order mark (see DecodeFileText).
class IniFile {
 public:
  // Texts read back keep at most this many characters.
  static constexpr std::size_t kMaxTextLength = 2047;
  // A larger file is not a settings file this program wrote; it is treated as unreadable.
  static constexpr std::size_t kMaxFileSize = 1024 * 1024;

  explicit IniFile(std::string path);

  const std::string& Path() const;
  // Something is at the path (even if it is not a readable settings file).
  bool Exists() const;

  // True when the value reads as a non-zero integer.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X" (see ParseIniInteger).
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  // Booleans are stored as "1" or "0", integers in decimal, texts as given except
  // that CR and LF become blanks (a value must stay on its line).
  void WriteBool(std::string_view section, std::string_view key, bool value) const;
  void WriteInteger(std::string_view section, std::string_view key, int value) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value) const;

  // Several keys of one section in one replacement of the file; the result is the
  // same as writing them one after another, in order.
  using Entry = std::pair<std::string_view, std::string_view>;  // key, value
  void WriteStrings(std::string_view section, std::span<const Entry> entries) const;

 private:
  std::string path_;
};

}  // namespace kvelt
