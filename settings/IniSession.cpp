#include "settings/IniSession.h"

#include "settings/AtomicFileReplace.h"
#include "settings/IniFile.h"
#include "settings/IniValue.h"
#include "settings/SettingsWriteError.h"
#include "settings/Utf8Text.h"

namespace kvelt {

IniSession::IniSession(const IniFile& file) : path_(file.Path()) {
  FileReadResult read = ReadWholeFile(path_, IniFile::kMaxFileSize);
  status_ = read.Status;
  decoded_ = DecodeFileText(read.Content);
  document_ = IniDocument(decoded_.Text);
}

bool IniSession::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

int IniSession::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const auto raw = document_.Find(section, key);
  if (!raw) return defaultValue;
  return ParseIniInteger(*raw).value_or(defaultValue);
}

std::string IniSession::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  const auto raw = document_.Find(section, key);
  if (!raw) return std::string(defaultValue);
  return std::string(CutUtf8(*raw, IniFile::kMaxTextLength));
}

void IniSession::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniSession::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, FormatIniInteger(value));
}

void IniSession::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // The document is UTF-8 whatever the file's encoding; a stray byte would not survive encoding.
  document_.Set(section, key, RepairUtf8(value));
  changed_ = true;
}

void IniSession::Save() {
  if (!changed_) return;
  // A file that is there but cannot be read must not be replaced by what little we know.
  if (status_ == FileReadStatus::Failed) throw SettingsWriteError(path_);
  const std::string bytes = EncodeFileText(decoded_, document_.Text());
  ReplaceOptions options;
  // Blank lines read as nothing: the padding of an in-place rewrite that shortens the file.
  options.Padded = [this](std::size_t size) { return PaddedFileText(decoded_, document_.Text(), size); };
  std::string why;
  if (!ReplaceFileContent(path_, bytes, options, why)) throw SettingsWriteError(path_, why);
  // Later saves of this session keep to what is in the file now; a Windows-1250 file that
  // had to become UTF-8 stays UTF-8.
  status_ = FileReadStatus::Read;
  decoded_ = DecodeFileText(bytes);
  changed_ = false;
}

}  // namespace kvelt
