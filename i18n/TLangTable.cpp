#include "i18n/TLangTable.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "i18n/AsciiCase.h"
#include "i18n/ELanguageError.h"

namespace kvelt {

namespace {

constexpr std::array<std::string_view, 2> kLanguageNames{"Polski", "English"};

}  // namespace

TLangTable::TLangTable(TranslationTable table, std::string ownerClassName)
    : table_(std::move(table)), ownerClassName_(std::move(ownerClassName)) {
  const std::vector<TranslationRow>& messages = table_.Rows(TStringsType::stStrings);
  messageIndex_.resize(messages.size());
  std::iota(messageIndex_.begin(), messageIndex_.end(), std::size_t{0});
  // Stable, so that of two rows with the same key the earlier one is found.
  std::stable_sort(messageIndex_.begin(), messageIndex_.end(), [&messages](std::size_t a, std::size_t b) {
    return CompareIgnoringAsciiCase(messages[a].Key, messages[b].Key) < 0;
  });
}

std::string TLangTable::LanguageName(int n) const {
  if (n < 1 || n > NumOfLanguages()) return {};
  return std::string(kLanguageNames[static_cast<std::size_t>(n - 1)]);
}

bool TLangTable::SetActiveLanguage(int n) {
  if (n == active_) return false;
  if (n < 1 || n > NumOfLanguages()) throw ELanguageError(ownerClassName_, n, NumOfLanguages());
  active_ = n;
  return true;
}

std::string TLangTable::GetTextOrDefault(std::string_view key) const {
  const std::vector<TranslationRow>& messages = table_.Rows(TStringsType::stStrings);
  const auto found = std::lower_bound(messageIndex_.begin(), messageIndex_.end(), key,
                                      [&messages](std::size_t row, std::string_view wanted) {
                                        return CompareIgnoringAsciiCase(messages[row].Key, wanted) < 0;
                                      });
  if (found == messageIndex_.end() || !EqualsIgnoringAsciiCase(messages[*found].Key, key)) return {};
  const TranslationRow& row = messages[*found];
  const std::string& text = TextFor(row);
  return text.empty() ? row.Texts[0] : text;
}

const std::string& TLangTable::TextFor(const TranslationRow& row) const {
  return row.Texts[static_cast<std::size_t>(active_ - 1)];
}

}  // namespace kvelt
