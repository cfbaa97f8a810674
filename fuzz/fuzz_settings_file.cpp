// Feeds arbitrary bytes to the settings file layer as the whole of config.ini: the file is
// read in whatever encoding it is taken to be, one key is written and saved (temporary file
// and rename), and the file is read back. The written key must read back as written, every
// other key as before, every text must be valid UTF-8, and a UTF-8 or UTF-16 file must stay
// in its encoding.
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/IniSession.h"
#include "settings/IniValue.h"
#include "settings/Utf8Text.h"
#include "text/TextEncoding.h"

namespace {

namespace fs = std::filesystem;
using kvelt::FileEncoding;

constexpr std::array<std::string_view, 8> kKeys{"AutoSave", "SaveFile", "Div",      "Unit",
                                                "Language", "savefile", "SaveVer4", "Other"};
constexpr std::string_view kSection = "Options";

void Check(bool condition) {
  if (!condition) std::abort();
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One folder for the whole run, in memory where there is one (the saves flush to disk),
// removed when the run ends.
class RunFolder {
 public:
  RunFolder() {
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    folder_ = base / ("kvelt-fuzz-settings-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    path_ = (folder_ / "config.ini").string();
  }
  ~RunFolder() {
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
  const std::string& ConfigPath() const { return path_; }

 private:
  fs::path folder_;
  std::string path_;
};

std::array<std::string, kKeys.size()> ReadAll(const kvelt::IniSession& session) {
  std::array<std::string, kKeys.size()> values;
  for (std::size_t k = 0; k < kKeys.size(); ++k) {
    values[k] = session.ReadString(kSection, kKeys[k], "\x01missing");
    Check(kvelt::IsValidUtf8(values[k]));
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t keyIndex = data[0] % kKeys.size();
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t split = bytes.size() * data[1] / 255;
  const std::string_view content = bytes.substr(0, split);
  const std::string_view value = bytes.substr(split);

  static const RunFolder folder;
  const std::string& path = folder.ConfigPath();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(content.data(), static_cast<std::streamsize>(content.size()));
  const kvelt::IniFile file(path);

  kvelt::IniSession first(file);
  Check(first.FilePresent() && !first.Unreadable());
  const FileEncoding encoding = first.Encoding();
  const auto before = ReadAll(first);
  first.WriteString(kSection, kKeys[keyIndex], value);
  first.Save();  // a readable file within the size limit always saves

  const kvelt::IniSession second(file);
  Check(!second.Unreadable());
  if (encoding != FileEncoding::Windows1250) Check(second.Encoding() == encoding);
  const auto after = ReadAll(second);
  const std::string written(
      kvelt::CutUtf8(kvelt::TrimIniBlanks(kvelt::SanitizeIniValue(kvelt::RepairUtf8(value))),
                     kvelt::IniFile::kMaxTextLength));
  for (std::size_t k = 0; k < kKeys.size(); ++k) {
    Check(after[k] == (EqualsNoCase(kKeys[k], kKeys[keyIndex]) ? written : before[k]));
  }
  return 0;
}
