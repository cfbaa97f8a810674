// Parses arbitrary bytes as a translation table, then looks messages up and checks that the lookup
// agrees with a plain scan of the rows in both languages and that item lists survive a round trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/CommaText.h"
#include "i18n/ELanguageError.h"
#include "i18n/TLangTable.h"
#include "i18n/TranslationTable.h"
#include "text/TextEncoding.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckLookups(const kvelt::TLangTable& languages) {
  const kvelt::TranslationTable& table = languages.Table();
  const std::size_t active = static_cast<std::size_t>(languages.ActiveLanguage() - 1);
  for (const kvelt::TranslationRow& row : table.Rows(kvelt::TStringsType::stStrings)) {
    const kvelt::TranslationRow* first = table.Find(kvelt::TStringsType::stStrings, row.Key);
    Check(first != nullptr);
    const std::string& own = first->Texts[active];
    Check(languages.GetTextOrDefault(row.Key) == (own.empty() ? first->Texts[0] : own));
  }
  for (const std::string_view key : {"IDS_1", "ids_22", "IDS_7", "", "\x01", "IDS_189"}) {
    const kvelt::TranslationRow* row = table.Find(kvelt::TStringsType::stStrings, key);
    if (row == nullptr) Check(languages.GetTextOrDefault(key).empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kvelt::TLangTable languages(kvelt::TranslationTable::Parse(bytes));

  for (std::size_t s = 0; s < kvelt::kTranslationSectionCount; ++s) {
    for (const kvelt::TranslationRow& row : languages.Table().Rows(static_cast<kvelt::TStringsType>(s))) {
      Check(kvelt::IsValidUtf8(row.Key) && row.Key.find('\x01') == std::string::npos);
      for (const std::string& text : row.Texts) {
        Check(kvelt::IsValidUtf8(text));
        const std::vector<std::string> items = kvelt::ParseCommaText(text);
        Check(kvelt::ParseCommaText(kvelt::ToCommaText(items)) == items);
      }
    }
  }

  CheckLookups(languages);
  Check(languages.SetActiveLanguage(2));
  CheckLookups(languages);
  const int requested = size > 0 ? static_cast<int>(static_cast<std::int8_t>(data[0])) : 0;
  try {
    languages.SetActiveLanguage(requested);
    Check(requested >= 1 && requested <= 2 && languages.ActiveLanguage() == requested);
  } catch (const kvelt::ELanguageError&) {
    Check((requested < 1 || requested > 2) && languages.ActiveLanguage() == 2);
  }
  return 0;
}
