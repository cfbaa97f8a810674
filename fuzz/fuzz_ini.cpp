// Feeds arbitrary bytes to the INI layer as a settings file's text and checks that
// reading and writing keys keeps its promises: the text survives unchanged until a
// key is written, a written key reads back, no other key changes, and texts read
// back are valid UTF-8 of at most 2047 characters.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/IniValue.h"
#include "settings/Utf8Text.h"

namespace {

using kvelt::IniDocument;

constexpr std::array<std::string_view, 20> kKeys{
    "AutoSave", "SaveDate", "SaveTime", "SavePos1",   "SavePos2",  "SavePos3",   "SavePos4",
    "SaveVer1", "SaveVer2", "SaveVer3", "SaveVer4",   "ScreenTop", "ScreenLeft", "Language",
    "SaveFile", "Div",      "Unit",     "SavePeriod", "savefile",  "Other"};
constexpr std::array<std::string_view, 3> kSections{"Options", "options", "Other"};

bool EqualsNoCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

std::optional<std::string> Lookup(const IniDocument& document, std::string_view section,
                                  std::string_view key) {
  const auto value = document.Find(section, key);
  return value ? std::optional<std::string>(*value) : std::nullopt;
}

void CheckReadsOf(const IniDocument& document) {
  for (std::string_view section : kSections) {
    for (std::string_view key : kKeys) {
      const auto value = document.Find(section, key);
      if (!value) continue;
      (void)kvelt::ParseIniInteger(*value);
      const std::string repaired = kvelt::RepairUtf8(*value);
      Check(kvelt::RepairUtf8(repaired) == repaired);
      const std::string_view cut = kvelt::CutUtf8(repaired, kvelt::IniFile::kMaxTextLength);
      Check(repaired.substr(0, cut.size()) == cut);
      Check(kvelt::CutUtf8(cut, kvelt::IniFile::kMaxTextLength).size() == cut.size());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view key = kKeys[data[0] % kKeys.size()];
  const std::string_view section = kSections[(data[0] / kKeys.size()) % kSections.size()];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t split = bytes.size() * data[1] / 255;
  const std::string_view text = bytes.substr(0, split);
  const std::string_view value = bytes.substr(split);

  IniDocument document(text);
  Check(document.Text() == text);
  CheckReadsOf(document);

  std::array<std::optional<std::string>, kKeys.size() * kSections.size()> before;
  for (std::size_t s = 0; s < kSections.size(); ++s) {
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      before[s * kKeys.size() + k] = Lookup(document, kSections[s], kKeys[k]);
    }
  }

  document.Set(section, key, value);
  const IniDocument reread(document.Text());
  CheckReadsOf(reread);
  Check(Lookup(reread, section, key) == std::string(kvelt::TrimIniBlanks(kvelt::SanitizeIniValue(value))));
  for (std::size_t s = 0; s < kSections.size(); ++s) {
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      if (EqualsNoCase(kSections[s], section) && EqualsNoCase(kKeys[k], key)) continue;
      Check(Lookup(reread, kSections[s], kKeys[k]) == before[s * kKeys.size() + k]);
    }
  }
  return 0;
}
