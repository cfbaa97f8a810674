// The translation table compiled into the program: its bytes, its layout and its content.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/CommaText.h"
#include "i18n/TranslationTable.h"

namespace kvelt {
namespace {

using enum TStringsType;

const TranslationTable& Embedded() {
  static const TranslationTable table = TranslationTable::Parse(EmbeddedTranslationData());
  return table;
}

const TranslationRow& RowOf(TStringsType section, std::string_view key) {
  const TranslationRow* row = Embedded().Find(section, key);
  if (row == nullptr) throw std::runtime_error("no row " + std::string(key));
  return *row;
}

std::vector<std::string_view> SplitOnCrLf(std::string_view data) {
  std::vector<std::string_view> lines;
  while (!data.empty()) {
    const std::size_t end = data.find("\r\n");
    lines.push_back(data.substr(0, end));
    data = end == std::string_view::npos ? std::string_view{} : data.substr(end + 2);
  }
  return lines;
}

TEST(TranslationData, EmbeddedBytesEqualTheStoredFile) {
  const char* root = std::getenv("KVELT_SOURCE_DIR");
  ASSERT_NE(root, nullptr);
  std::ifstream in(std::filesystem::path(root) / "i18n" / "TranslationData.txt", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(stored, EmbeddedTranslationData());
}

TEST(TranslationData, LayoutIsSectionLinesInOrderAndThreeDelimitedRows) {
  const std::string_view data = EmbeddedTranslationData();
  ASSERT_TRUE(data.ends_with("\r\n"));
  std::vector<std::string_view> sectionLines;
  for (const std::string_view line : SplitOnCrLf(data)) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.find('\r'), std::string_view::npos) << line;
    const auto delimiters = std::count(line.begin(), line.end(), '\x01');
    if (delimiters == 0) {
      sectionLines.push_back(line);
    } else {
      EXPECT_EQ(delimiters, 3) << line;
      EXPECT_TRUE(line.ends_with('\x01')) << line;
    }
  }
  const std::vector<std::string_view> expected{
      "stCaptions", "stHints",        "stDisplayLabels", "stFonts",       "stMultiLines", "stDlgsCaptions",
      "stStrings",  "stOtherStrings", "stLocales",       "stCollections", "stCharSets"};
  EXPECT_EQ(sectionLines, expected);
}

TEST(TranslationData, SectionRowCounts) {
  const std::vector<std::pair<TStringsType, std::size_t>> counts{
      {stCaptions, 60},   {stHints, 26},        {stDisplayLabels, 0}, {stFonts, 10},
      {stMultiLines, 34}, {stDlgsCaptions, 15}, {stStrings, 101},     {stOtherStrings, 81},
      {stLocales, 0},     {stCollections, 0},   {stCharSets, 10}};
  for (const auto& [section, count] : counts) {
    EXPECT_EQ(Embedded().Rows(section).size(), count) << SectionName(section);
  }
}

TEST(TranslationData, KeysAreUniqueWithinEachSection) {
  for (std::size_t s = 0; s < kTranslationSectionCount; ++s) {
    const auto section = static_cast<TStringsType>(s);
    std::set<std::string> seen;
    for (const TranslationRow& row : Embedded().Rows(section)) {
      std::string folded = row.Key;
      for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      EXPECT_TRUE(seen.insert(folded).second) << SectionName(section) << " " << row.Key;
    }
  }
}

struct RowCase {
  TStringsType Section;
  std::string_view Key;
  std::string_view Polish;
  std::string_view English;
};

class TranslationDataRow : public testing::TestWithParam<RowCase> {};

TEST_P(TranslationDataRow, HoldsItsTexts) {
  const RowCase& c = GetParam();
  const TranslationRow& row = RowOf(c.Section, c.Key);
  EXPECT_EQ(row.Key, c.Key);
  EXPECT_EQ(row.Texts[0], c.Polish);
  EXPECT_EQ(row.Texts[1], c.English);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TranslationDataRow,
    testing::Values(
        RowCase{stCaptions, "TFMain", "KVELT - PC", "KVELT - PC"},
        RowCase{stCaptions, "BitBtn6", "Informacje o czujniku 4", "About encoder 4"},
        RowCase{stCaptions, "ClearButton", "Wyczyść wykres", "Clear chart"},
        RowCase{stCaptions, "button_clear2", "Zeruj pozycję 3", "Clear position 3"},
        RowCase{stCaptions, "Label1", "Położenie kropki dziesiętnej", "Decimal point"},
        RowCase{stCaptions, "out5_A", "Wyjście 5", "Output 5"},
        RowCase{stCaptions, "Label4", "Plik z pomiarami", "Data file"},
        RowCase{stCaptions, "Label5", "Zapis danych co:", "Record every:"},
        RowCase{stHints, "button_set_coeff2", "Zapisz mnożnik do licznika",
                "Write the coefficient to the counter"},
        RowCase{stCaptions, "save_pos1", "Rejestruj Pozycję [1]", "Save position [1]"},
        RowCase{stCaptions, "save_ver4", "Rejestruj Prędkość [4]", "Save velocity [4]"},
        RowCase{stCaptions, "GroupBox5", "Opcie wyświetlania", "Show options"},
        RowCase{stCaptions, "TabSheet2", "Wskaźnik", "Values"},
        RowCase{stCaptions, "GroupBox9", "Zerowanie [Kanał C]", "Resetting the [Channel C]"},
        RowCase{stFonts, "TFMain", "Tahoma", "Tahoma"}, RowCase{stFonts, "Edit10", "Tahoma", "Tahoma"},
        RowCase{stFonts, "StatusBar", "Segoe UI", "Tahoma"},
        RowCase{stMultiLines, "out1_W.Items",
                "\"Pozycja [1]\",\"Pozycja [2]\",\"Pozycja [3]\",\"Pozycja [4]\"",
                "\"Position [1]\",\"Position [2]\",\"Position [3]\",\"Position [4]\""},
        RowCase{stMultiLines, "out4_T.Items", "---,\"suma logiczna [and]\",\"iloczyn logiczny [or]\"",
                "---,[and],[or]"},
        RowCase{stMultiLines, "out2_C.Items", "mniejsza,większa", "smaller,larger"},
        RowCase{stMultiLines, "out5_S.Items", "Niekatywne,Aktywne", "Inactive,Active"},
        RowCase{stMultiLines, "unit.Items", "[obr/s],[obr/min],[mm/s],[mm/min]",
                "[rev/s],[rev/min],[mm/s],[mm/min]"},
        RowCase{stMultiLines, "edit_zero3.Items", "Nie,Tak", "No,Yes"},
        RowCase{stMultiLines, "mod_br.Items", "19200,38400,57600,115200", "19200,38400,57600,115200"},
        RowCase{stDlgsCaptions, "mtWarning", "Warning", "Warning"},
        RowCase{stDlgsCaptions, "mbNoToAll", "N&o to All", "N&o to All"},
        RowCase{stDlgsCaptions, "mbHelp", "&Help", "&Help"},
        RowCase{stStrings, "IDS_1", "Połączony", "Connected"}, RowCase{stStrings, "IDS_22", "\n", "\n"},
        RowCase{stStrings, "IDS_46", "c:\\\\pomiar.csv", "c:\\\\pomiar.csv"},
        RowCase{stStrings, "IDS_87", "Zapis pomiarów do pliku zostal uruchomiony",
                "Record measurements to the file was running"},
        RowCase{stStrings, "IDS_147", "Czas bramkowania: ", "Gate time:"},
        RowCase{stStrings, "IDS_148", " [s]", " [s]"},
        RowCase{stStrings, "IDS_186", "Program do wspołpracy z urządzeniem KVELT    4 - osiowy licznik",
                "Program for the work with the KVELT    4 - axial counter"},
        RowCase{stStrings, "IDS_187", "  wersja: ", "version:"},
        RowCase{stStrings, "IDS_155", "Enkoder ", "Encoder "},
        RowCase{stOtherStrings, "Series1.Title", "Prędkość [1]", "Velocity [1]"},
        RowCase{stOtherStrings, "Series8.Title", "Wyjście [3]", "Output [3]"},
        RowCase{stOtherStrings, "Series12.Title", "Pozycja [4]", "Position [4]"},
        RowCase{stOtherStrings, "Series13.Title", "Wyjście [5]", "Output [5]"},
        RowCase{stOtherStrings, "Series7.PercentFormat", "##0.## %", "##0.## %"},
        RowCase{stOtherStrings, "Series6.PercentFormat", "##0.## %", "##0.## %"},
        RowCase{stOtherStrings, "Series13.ValueFormat", "#,##0.###", "##0.## %"},
        RowCase{stOtherStrings, "SaveDialog.Filter",
                "Plik tekstowy (*.txt)|*.txt|Plik z danymi oddzielonymi średnikami (*.csv)|*.csv",
                "Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv"},
        RowCase{stOtherStrings, "SaveDialogBitmap.Title", "Plik pomiarowy", "Data file"},
        RowCase{stOtherStrings, "SaveDialogBitmap.Filter", "Mapa bitowa (*.bmp)|*.bmp",
                "Bitmap (*.bmp)|*.bmp"},
        RowCase{stOtherStrings, "HidDeviceController1.Version", "1.0.35", "1.0.35"},
        RowCase{stOtherStrings, "save_file.Text", "save_file", "save_file"},
        RowCase{stOtherStrings, "TimeList.Text", "0,01   [s]", "0,01   [s]"},
        RowCase{stCharSets, "StatusBar", "DEFAULT_CHARSET", "DEFAULT_CHARSET"}));

TEST(TranslationData, CaptionsStartWithTheWindowAndEndWithTheZeroMarkerGroup) {
  const auto& captions = Embedded().Rows(stCaptions);
  ASSERT_FALSE(captions.empty());
  EXPECT_EQ(captions.front().Key, "TFMain");
  EXPECT_EQ(captions.back().Key, "GroupBox9");
  for (const TranslationRow& row : captions) EXPECT_FALSE(row.Texts[0].empty()) << row.Key;
}

TEST(TranslationData, GateTimeListLabelsItsThirdPositionFiftyMilliseconds) {
  const std::vector<std::string> expected{"0,01   [s]", "0,02   [s]", "0,05   [s]", "0,10   [s]",
                                          "0,20   [s]", "0,50   [s]", "1,00   [s]", "2,00   [s]",
                                          "5,00   [s]", "10,0   [s]", "20,0   [s]", "50,0   [s]"};
  const TranslationRow& row = RowOf(stMultiLines, "TimeList.Items");
  EXPECT_EQ(ParseCommaText(row.Texts[0]), expected);
  EXPECT_EQ(ParseCommaText(row.Texts[1]), expected);
}

TEST(TranslationData, ModbusAddressListHoldsOneTo247) {
  const TranslationRow& row = RowOf(stMultiLines, "mod_adr.Items");
  const std::vector<std::string> items = ParseCommaText(row.Texts[0]);
  ASSERT_EQ(items.size(), 247u);
  for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i], std::to_string(i + 1));
  EXPECT_EQ(row.Texts[1], row.Texts[0]);
  EXPECT_EQ(ParseCommaText(RowOf(stMultiLines, "div.Items").Texts[1]),
            (std::vector<std::string>{"0", "1", "2", "3", "4"}));
}

TEST(TranslationData, ItemListsAreStoredInCanonicalCommaText) {
  for (const TranslationRow& row : Embedded().Rows(stMultiLines)) {
    EXPECT_TRUE(row.Key.ends_with(".Items")) << row.Key;
    for (const std::string& text : row.Texts) {
      EXPECT_EQ(ToCommaText(ParseCommaText(text)), text) << row.Key;
    }
  }
}

// Every output row of one kind offers the same items, and each list's Text row names its first item.
TEST(TranslationData, ListTextRowsNameTheFirstItemOfTheirList) {
  std::size_t checked = 0;
  for (const TranslationRow& row : Embedded().Rows(stOtherStrings)) {
    if (!row.Key.ends_with(".Text") || row.Key == "save_file.Text") continue;
    const std::string control = row.Key.substr(0, row.Key.size() - 5);
    const TranslationRow& items = RowOf(stMultiLines, control + ".Items");
    for (std::size_t language = 0; language < 2; ++language) {
      EXPECT_EQ(row.Texts[language], ParseCommaText(items.Texts[language]).at(0)) << row.Key;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 34u);
  for (const char* kind : {"W", "T", "B", "C", "S"}) {
    const TranslationRow& first = RowOf(stMultiLines, std::string("out1_") + kind + ".Items");
    for (int output = 2; output <= 5; ++output) {
      EXPECT_EQ(RowOf(stMultiLines, "out" + std::to_string(output) + "_" + kind + ".Items").Texts,
                first.Texts);
    }
  }
}

// Captions that code replaces with messages, and toggle buttons that compare their caption with a
// message, must agree with those messages in both languages.
TEST(TranslationData, RunTimeCaptionsMatchTheirMessages) {
  const std::vector<std::pair<std::string_view, std::string_view>> pairs{
      {"SaveButton", "IDS_142"}, {"PlayButton", "IDS_184"}, {"BoxPos", "IDS_89"}};
  for (const auto& [control, message] : pairs) {
    EXPECT_EQ(RowOf(stCaptions, control).Texts, RowOf(stStrings, message).Texts) << control;
  }
  EXPECT_EQ(RowOf(stCaptions, "BoxPred").Texts, RowOf(stStrings, "IDS_91").Texts);
  EXPECT_EQ(RowOf(stCaptions, "GroupBox1").Texts, RowOf(stStrings, "IDS_90").Texts);
}

// An English session shows no Polish: every row has its English text (Polish is the fallback
// only for a key with no row).
TEST(TranslationData, NoEnglishTextIsEmpty) {
  for (std::size_t s = 0; s < kTranslationSectionCount; ++s) {
    const auto section = static_cast<TStringsType>(s);
    for (const TranslationRow& row : Embedded().Rows(section)) {
      EXPECT_FALSE(row.Texts[1].empty()) << SectionName(section) << " " << row.Key;
    }
  }
}

TEST(TranslationData, FontAndCharacterSetRowsAddressTheSameControls) {
  const auto& fonts = Embedded().Rows(stFonts);
  const auto& charsets = Embedded().Rows(stCharSets);
  ASSERT_EQ(fonts.size(), charsets.size());
  for (std::size_t i = 0; i < fonts.size(); ++i) EXPECT_EQ(fonts[i].Key, charsets[i].Key);
}

}  // namespace
}  // namespace kvelt
