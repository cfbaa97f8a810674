#include "cli/LanguageTexts.h"

#include "i18n/TLangTable.h"
#include "i18n/TranslationTable.h"

namespace kvelt::cli {

std::string LanguageText(int language, std::string_view key) {
  static TLangTable table(TranslationTable::Parse(EmbeddedTranslationData()));
  table.SetActiveLanguage(language == 1 ? 1 : 2);
  return table.GetTextOrDefault(key);
}

}  // namespace kvelt::cli
