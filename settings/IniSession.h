#pragma once

#include <string>
#include <string_view>

#include "settings/FileReading.h"
#include "settings/FileTextEncoding.h"
#include "settings/IniDocument.h"

namespace kvelt {

class IniFile;

// One opening of a settings file for a batch of reads and writes, such as the window's
// start-up reads or the keys of one click: the file is read and parsed once when the
// session starts, reads answer from that reading and see the session's own writes, and
// the writes reach the file together, in one replacement, when Save is called.
//
// Values follow IniFile's rules (defaults for missing or malformed values, texts cut to
// IniFile::kMaxTextLength characters, CR and LF stored as blanks). The file is read in its
// own encoding (see DecodeFileText) and written back in it.
class IniSession {
 public:
  explicit IniSession(const IniFile& file);

  const std::string& Path() const { return path_; }
  // Something is at the path, whether or not it reads as a settings file.
  bool FilePresent() const { return status_ != FileReadStatus::Missing; }
  // Something is at the path that is not a readable settings file: not a regular file, over
  // IniFile::kMaxFileSize, no permission or a read error. Every key reads as its default and
  // Save never writes over it.
  bool Unreadable() const { return status_ == FileReadStatus::Failed; }
  FileEncoding Encoding() const { return decoded_.Encoding; }

  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  void WriteBool(std::string_view section, std::string_view key, bool value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Puts the keys written so far into the file, which then holds all of them or, on failure,
  // none: throws SettingsWriteError when the file is unreadable or cannot be replaced. Does
  // nothing when nothing was written since the last save.
  void Save();

 private:
  std::string path_;
  FileReadStatus status_;
  DecodedFileText decoded_;
  IniDocument document_;
  bool changed_ = false;
};

}  // namespace kvelt
