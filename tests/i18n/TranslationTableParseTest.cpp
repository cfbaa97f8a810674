// Parsing of translation table data: encodings, line ends and damaged input.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "i18n/TranslationTable.h"

namespace kvelt {
namespace {

using enum TStringsType;

struct KeyTexts {
  std::string Key, Polish, English;
  bool operator==(const KeyTexts&) const = default;
};

std::vector<KeyTexts> RowsOf(const TranslationTable& table, TStringsType section) {
  std::vector<KeyTexts> rows;
  for (const TranslationRow& row : table.Rows(section)) rows.push_back({row.Key, row.Texts[0], row.Texts[1]});
  return rows;
}

std::size_t TotalRows(const TranslationTable& table) {
  std::size_t total = 0;
  for (std::size_t s = 0; s < kTranslationSectionCount; ++s)
    total += table.Rows(static_cast<TStringsType>(s)).size();
  return total;
}

struct DamagedCase {
  std::string_view Name;
  std::string Data;
  std::vector<KeyTexts> Captions;
  std::vector<KeyTexts> Strings;
};

class DamagedInput : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedInput, KeepsWhatItCan) {
  const DamagedCase& c = GetParam();
  TranslationTable table;
  ASSERT_NO_THROW(table = TranslationTable::Parse(c.Data));
  EXPECT_EQ(RowsOf(table, stCaptions), c.Captions);
  EXPECT_EQ(RowsOf(table, stStrings), c.Strings);
  EXPECT_EQ(TotalRows(table), c.Captions.size() + c.Strings.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedInput,
                         testing::Values(DamagedCase{"Empty", "", {}, {}},
                                         DamagedCase{"OnlyLineEnds", "\r\n\r\n\n", {}, {}},
                                         DamagedCase{"RowsBeforeAnySection",
                                                     "a\x01"
                                                     "b\x01"
                                                     "c\x01\r\nstStrings\r\nIDS_1\x01x\x01y\x01\r\n",
                                                     {},
                                                     {{"IDS_1", "x", "y"}}},
                                         DamagedCase{"UnknownSectionDropsItsRows",
                                                     "stCaptions\r\nA\x01"
                                                     "1\x01"
                                                     "2\x01\r\nstBogus\r\nB\x01"
                                                     "3\x01"
                                                     "4\x01\r\nstStrings\r\nC\x01"
                                                     "5\x01"
                                                     "6\x01\r\n",
                                                     {{"A", "1", "2"}},
                                                     {{"C", "5", "6"}}},
                                         DamagedCase{"MissingTrailingDelimiterAndLineEnd",
                                                     "stStrings\r\nIDS_1\x01pl\x01"
                                                     "en",
                                                     {},
                                                     {{"IDS_1", "pl", "en"}}},
                                         DamagedCase{"MissingTexts",
                                                     "stStrings\r\nIDS_1\x01\r\nIDS_2\x01tylko\r\n",
                                                     {},
                                                     {{"IDS_1", "", ""}, {"IDS_2", "tylko", ""}}},
                                         DamagedCase{"ExtraFieldsIgnored",
                                                     "stStrings\r\nIDS_1\x01pl\x01"
                                                     "en\x01more\x01\x01\r\n",
                                                     {},
                                                     {{"IDS_1", "pl", "en"}}},
                                         DamagedCase{"BlankLinesKeepTheSection",
                                                     "stStrings\r\n\r\nIDS_1\x01"
                                                     "a\x01"
                                                     "b\x01\r\n\r\nIDS_2\x01"
                                                     "c\x01"
                                                     "d\x01\r\n",
                                                     {},
                                                     {{"IDS_1", "a", "b"}, {"IDS_2", "c", "d"}}},
                                         DamagedCase{"SectionNamesIgnoreCaseAndRepeatedSectionsAppend",
                                                     "STSTRINGS\r\nIDS_1\x01"
                                                     "a\x01"
                                                     "b\x01\r\nstCaptions\r\nX\x01"
                                                     "c\x01"
                                                     "d\x01\r\nststrings\r\nIDS_2\x01"
                                                     "e\x01"
                                                     "f\x01\r\n",
                                                     {{"X", "c", "d"}},
                                                     {{"IDS_1", "a", "b"}, {"IDS_2", "e", "f"}}},
                                         DamagedCase{"BareLfAndCrStayInsideFields",
                                                     "stStrings\r\nIDS_22\x01\n\x01\r\x01\r\nIDS_23\x01"
                                                     "a\nb\x01\x01\r\n",
                                                     {},
                                                     {{"IDS_22", "\n", "\r"}, {"IDS_23", "a\nb", ""}}},
                                         DamagedCase{"LfOnlyDataSplitsOnLf",
                                                     "stCaptions\nA\x01"
                                                     "1\x01"
                                                     "2\x01\nstStrings\nIDS_1\x01"
                                                     "3\x01"
                                                     "4\x01\n",
                                                     {{"A", "1", "2"}},
                                                     {{"IDS_1", "3", "4"}}},
                                         DamagedCase{"ByteOrderMarkSkipped",
                                                     "\xEF\xBB\xBFstStrings\r\nIDS_1\x01ł\x01l\x01\r\n",
                                                     {},
                                                     {{"IDS_1", "ł", "l"}}},
                                         DamagedCase{"NulBytesAreText",
                                                     std::string("stStrings\r\nID\0\x01p\0l\x01\x01\r\n", 18),
                                                     {},
                                                     {{std::string("ID\0", 3), std::string("p\0l", 3), ""}}}),
                         [](const testing::TestParamInfo<DamagedCase>& info) {
                           return std::string(info.param.Name);
                         });

// The Polish letters in Windows-1250.
const std::map<std::string, char> kPolishLetters{
    {"ą", '\xB9'}, {"ć", '\xE6'}, {"ę", '\xEA'}, {"ł", '\xB3'}, {"ń", '\xF1'}, {"ó", '\xF3'},
    {"ś", '\x9C'}, {"ź", '\x9F'}, {"ż", '\xBF'}, {"Ą", '\xA5'}, {"Ć", '\xC6'}, {"Ę", '\xCA'},
    {"Ł", '\xA3'}, {"Ń", '\xD1'}, {"Ó", '\xD3'}, {"Ś", '\x8C'}, {"Ź", '\x8F'}, {"Ż", '\xAF'}};

TEST(TranslationTableParse, ReadsPolishLettersFromWindows1250) {
  for (const auto& [utf8, cp1250] : kPolishLetters) {
    const std::string data = std::string("stStrings\r\nIDS_1\x01") + "x" + cp1250 + "y\x01\x01\r\n";
    const TranslationTable table = TranslationTable::Parse(data);
    ASSERT_EQ(table.Rows(stStrings).size(), 1u);
    EXPECT_EQ(table.Rows(stStrings)[0].Texts[0], "x" + utf8 + "y");
  }
}

// The whole table written in its original code page reads back as the same rows.
TEST(TranslationTableParse, TheTableInWindows1250ReadsLikeTheUtf8One) {
  const std::string_view utf8 = EmbeddedTranslationData();
  std::string cp1250;
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      cp1250 += utf8[i++];
      continue;
    }
    const auto letter = kPolishLetters.find(std::string(utf8.substr(i, 2)));
    ASSERT_NE(letter, kPolishLetters.end()) << "unexpected character at byte " << i;
    cp1250 += letter->second;
    i += 2;
  }
  ASSERT_NE(cp1250.size(), utf8.size());
  const TranslationTable fromUtf8 = TranslationTable::Parse(utf8);
  const TranslationTable fromCp1250 = TranslationTable::Parse(cp1250);
  for (std::size_t s = 0; s < kTranslationSectionCount; ++s) {
    const auto section = static_cast<TStringsType>(s);
    EXPECT_EQ(RowsOf(fromCp1250, section), RowsOf(fromUtf8, section)) << SectionName(section);
  }
}

// One byte that is not UTF-8 makes the whole data Windows-1250, also where it looked like UTF-8.
TEST(TranslationTableParse, EncodingIsDecidedForTheWholeData) {
  const TranslationTable table = TranslationTable::Parse("stStrings\r\nA\x01\xC5\x82\x01\xB3\x01\r\n");
  ASSERT_EQ(table.Rows(stStrings).size(), 1u);
  EXPECT_EQ(table.Rows(stStrings)[0].Texts[0], "Ĺ‚");
  EXPECT_EQ(table.Rows(stStrings)[0].Texts[1], "ł");
}

TEST(TranslationTableParse, FindIgnoresCaseAndReportsMissingRows) {
  const TranslationTable table =
      TranslationTable::Parse("stFonts\r\nStatusBar\x01Segoe UI\x01Tahoma\x01\r\n");
  const TranslationRow* row = table.Find(stFonts, "statusbar");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->Texts[0], "Segoe UI");
  EXPECT_EQ(table.Find(stFonts, "StatusBa"), nullptr);
  EXPECT_EQ(table.Find(stCaptions, "StatusBar"), nullptr);
}

}  // namespace
}  // namespace kvelt
