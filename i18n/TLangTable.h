#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/TranslationTable.h"

namespace kvelt {

// The window's two languages over one translation table: which language is active, and the lookup of
// message texts by key. Applying the control rows to widgets is the window's business.
class TLangTable {
 public:
  // Polish (1) is active; the message index is built here, once.
  explicit TLangTable(TranslationTable table, std::string ownerClassName = "TFMain");

  const TranslationTable& Table() const { return table_; }

  int ActiveLanguage() const { return active_; }
  int NumOfLanguages() const { return 2; }
  // "Polski" for 1, "English" for 2, "" for any other number.
  std::string LanguageName(int n) const;
  // The name of the active language.
  std::string Language() const { return LanguageName(active_); }

  // Returns false (nothing done) when n is already active; throws ELanguageError when n is outside
  // 1..NumOfLanguages (nothing changes); else makes n active and returns true.
  bool SetActiveLanguage(int n);

  // The message of key (compared ignoring ASCII case) in the active language, the Polish text when
  // that one is empty, "" for a key the table lacks. Texts come back exactly as stored.
  std::string GetTextOrDefault(std::string_view key) const;

  // The text of a row for the active language; "" means "leave the property unchanged".
  const std::string& TextFor(const TranslationRow& row) const;

 private:
  TranslationTable table_;
  std::string ownerClassName_;
  std::vector<std::size_t> messageIndex_;  // stStrings row numbers, sorted by key ignoring case
  int active_ = 1;
};

}  // namespace kvelt
