#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvelt {

// The sections of the translation table, in the order they stand in the table.
enum class TStringsType {
  stCaptions,
  stHints,
  stDisplayLabels,
  stFonts,
  stMultiLines,
  stDlgsCaptions,
  stStrings,
  stOtherStrings,
  stLocales,
  stCollections,
  stCharSets
};

inline constexpr std::size_t kTranslationSectionCount = 11;

// The section line that opens a section ("stCaptions", ...).
std::string_view SectionName(TStringsType section);

// One row: what it addresses and its text per language (UTF-8; Texts[0] Polish, Texts[1] English).
struct TranslationRow {
  std::string Key;
  std::array<std::string, 2> Texts;
};

// The translation table split into its sections.
//
// Data format: lines end in CR LF; a line without a 0x01 byte names a section; every other line is a
// row "key 0x01 text1 0x01 text2 0x01" of the section above it. Lines are split on CR LF only, so a
// field may hold a bare LF (the message separator row does). Data without any CR LF is split on LF.
// Text that is not valid UTF-8 is taken as Windows-1250 and converted.
class TranslationTable {
 public:
  // Never throws on bad data: lines outside a known section, empty lines and missing fields are
  // skipped or left empty, and everything else is kept.
  static TranslationTable Parse(std::string_view data);

  const std::vector<TranslationRow>& Rows(TStringsType section) const;

  // The first row of the section whose key equals key, ignoring ASCII case; nullptr when none.
  const TranslationRow* Find(TStringsType section, std::string_view key) const;

 private:
  std::array<std::vector<TranslationRow>, kTranslationSectionCount> sections_;
};

// The table compiled into the program (i18n/TranslationData.txt).
std::string_view EmbeddedTranslationData();

}  // namespace kvelt
