#include "i18n/TranslationTable.h"

#include "i18n/AsciiCase.h"
#include "text/TextEncoding.h"

namespace kvelt {

namespace {

constexpr char kFieldDelimiter = '\x01';
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

constexpr std::array<std::string_view, kTranslationSectionCount> kSectionNames{
    "stCaptions", "stHints",        "stDisplayLabels", "stFonts",       "stMultiLines", "stDlgsCaptions",
    "stStrings",  "stOtherStrings", "stLocales",       "stCollections", "stCharSets"};

// Takes the field that starts the remaining line, up to the next delimiter or the line's end, and
// drops it (with its delimiter) from line.
std::string_view TakeField(std::string_view& line) {
  const std::size_t end = line.find(kFieldDelimiter);
  const std::string_view field = line.substr(0, end);
  line = end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
  return field;
}

TranslationRow ParseRow(std::string_view line) {
  TranslationRow row;
  row.Key = TakeField(line);
  row.Texts[0] = TakeField(line);
  row.Texts[1] = TakeField(line);
  return row;  // anything after the second text is ignored
}

}  // namespace

std::string_view SectionName(TStringsType section) {
  const auto index = static_cast<std::size_t>(section);
  return index < kSectionNames.size() ? kSectionNames[index] : std::string_view{};
}

TranslationTable TranslationTable::Parse(std::string_view data) {
  const std::string text = ToUtf8(data);
  std::string_view rest(text);
  if (rest.starts_with(kUtf8ByteOrderMark)) rest.remove_prefix(kUtf8ByteOrderMark.size());
  // CR LF ends a line; a bare LF is text. Only data that has no CR LF at all is split on LF.
  const std::string_view lineEnd = rest.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";

  TranslationTable table;
  std::vector<TranslationRow>* section = nullptr;  // rows outside a known section are dropped
  while (!rest.empty()) {
    const std::size_t end = rest.find(lineEnd);
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + lineEnd.size());
    if (line.empty()) continue;
    if (line.find(kFieldDelimiter) == std::string_view::npos) {
      section = nullptr;
      for (std::size_t i = 0; i < kSectionNames.size(); ++i) {
        if (EqualsIgnoringAsciiCase(line, kSectionNames[i])) section = &table.sections_[i];
      }
      continue;
    }
    if (section != nullptr) section->push_back(ParseRow(line));
  }
  return table;
}

const std::vector<TranslationRow>& TranslationTable::Rows(TStringsType section) const {
  static const std::vector<TranslationRow> kNoRows;
  const auto index = static_cast<std::size_t>(section);
  return index < sections_.size() ? sections_[index] : kNoRows;
}

const TranslationRow* TranslationTable::Find(TStringsType section, std::string_view key) const {
  for (const TranslationRow& row : Rows(section)) {
    if (EqualsIgnoringAsciiCase(row.Key, key)) return &row;
  }
  return nullptr;
}

}  // namespace kvelt
