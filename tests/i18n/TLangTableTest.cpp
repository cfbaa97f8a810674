// Language state and message lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "i18n/ELanguageError.h"
#include "i18n/TLangTable.h"

namespace kvelt {
namespace {

TLangTable EmbeddedLanguages() { return TLangTable(TranslationTable::Parse(EmbeddedTranslationData())); }

struct MessageCase {
  std::string_view Key;
  std::string_view Polish;
  std::string_view English;
};

class MessageLookup : public testing::TestWithParam<MessageCase> {};

TEST_P(MessageLookup, GivesTheActiveLanguagesText) {
  const MessageCase& c = GetParam();
  TLangTable languages = EmbeddedLanguages();
  EXPECT_EQ(languages.GetTextOrDefault(c.Key), c.Polish);
  ASSERT_TRUE(languages.SetActiveLanguage(2));
  EXPECT_EQ(languages.GetTextOrDefault(c.Key), c.English);
  ASSERT_TRUE(languages.SetActiveLanguage(1));
  EXPECT_EQ(languages.GetTextOrDefault(c.Key), c.Polish);
}

INSTANTIATE_TEST_SUITE_P(
    Embedded, MessageLookup,
    testing::Values(
        MessageCase{"IDS_1", "Połączony", "Connected"}, MessageCase{"ids_1", "Połączony", "Connected"},
        MessageCase{"Ids_2", "Rozłączony", "Disconnected"},
        MessageCase{"IDS_15", "Prędkość MODBUS została ustawiona", "Baudrate was set MODBUS"},
        MessageCase{"IDS_147", "Czas bramkowania: ", "Gate time:"},
        MessageCase{"IDS_150", " [imp/obr]", " [pulse/rev]"}, MessageCase{"IDS_155", "Enkoder ", "Encoder "},
        MessageCase{"IDS_189", "O programie", "About:"},
        MessageCase{"IDS_46", "c:\\\\pomiar.csv", "c:\\\\pomiar.csv"}, MessageCase{"IDS_22", "\n", "\n"},
        // Keys without a row: the coefficient unit IDS_7 and keys that only resemble existing ones.
        MessageCase{"IDS_7", "", ""}, MessageCase{"IDS_3", "", ""}, MessageCase{"IDS_1 ", "", ""},
        MessageCase{"IDS_", "", ""}, MessageCase{"IDS_1890", "", ""}, MessageCase{"", "", ""}));

TranslationTable MessagesTable(std::string_view rows) {
  return TranslationTable::Parse(std::string("stStrings\r\n") + std::string(rows));
}

TEST(TLangTable, EnglishFallsBackToPolishOnlyWhenEnglishIsEmpty) {
  TLangTable languages(
      MessagesTable("IDS_5\x01Tylko po polsku\x01\x01\r\n"
                    "IDS_6\x01\x01Only English\x01\r\n"
                    "IDS_9\x01\x01\x01\r\n"));
  EXPECT_EQ(languages.GetTextOrDefault("IDS_5"), "Tylko po polsku");
  EXPECT_EQ(languages.GetTextOrDefault("IDS_6"), "");  // Polish has no fallback
  languages.SetActiveLanguage(2);
  EXPECT_EQ(languages.GetTextOrDefault("IDS_5"), "Tylko po polsku");
  EXPECT_EQ(languages.GetTextOrDefault("IDS_6"), "Only English");
  EXPECT_EQ(languages.GetTextOrDefault("IDS_9"), "");
}

TEST(TLangTable, FindsEveryKeyOfALargeUnorderedTableAndTheFirstOfDuplicates) {
  std::vector<int> numbers(400);
  for (int i = 0; i < 400; ++i) numbers[static_cast<std::size_t>(i)] = i + 1;
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
  std::string rows;
  for (const int n : numbers) {
    rows += (n % 2 ? "IDS_" : "ids_") + std::to_string(n) + "\x01pl" + std::to_string(n) + "\x01" + "en" +
            std::to_string(n) + "\x01\r\n";
  }
  rows += "IDS_17\x01second\x01second\x01\r\n";
  TLangTable languages(MessagesTable(rows));
  for (int n = 1; n <= 400; ++n) {
    EXPECT_EQ(languages.GetTextOrDefault("IDS_" + std::to_string(n)), "pl" + std::to_string(n));
  }
  EXPECT_EQ(languages.GetTextOrDefault("IDS_0"), "");
  EXPECT_EQ(languages.GetTextOrDefault("IDS_401"), "");
  EXPECT_EQ(languages.GetTextOrDefault("IDS_1000"), "");
}

TEST(TLangTable, StartsInPolishWithTwoNamedLanguages) {
  const TLangTable languages = EmbeddedLanguages();
  EXPECT_EQ(languages.ActiveLanguage(), 1);
  EXPECT_EQ(languages.NumOfLanguages(), 2);
  EXPECT_EQ(languages.Language(), "Polski");
  EXPECT_EQ(languages.LanguageName(1), "Polski");
  EXPECT_EQ(languages.LanguageName(2), "English");
  EXPECT_EQ(languages.LanguageName(0), "");
  EXPECT_EQ(languages.LanguageName(3), "");
  EXPECT_EQ(languages.Table().Rows(TStringsType::stCaptions).size(), 60u);
}

TEST(TLangTable, ActivatingTheActiveLanguageDoesNothing) {
  TLangTable languages = EmbeddedLanguages();
  EXPECT_FALSE(languages.SetActiveLanguage(1));
  EXPECT_TRUE(languages.SetActiveLanguage(2));
  EXPECT_EQ(languages.ActiveLanguage(), 2);
  EXPECT_EQ(languages.Language(), "English");
  EXPECT_FALSE(languages.SetActiveLanguage(2));
  EXPECT_EQ(languages.ActiveLanguage(), 2);
}

class InvalidLanguage : public testing::TestWithParam<int> {};

TEST_P(InvalidLanguage, RaisesELanguageErrorAndChangesNothing) {
  const int n = GetParam();
  for (const int active : {1, 2}) {
    TLangTable languages = EmbeddedLanguages();
    languages.SetActiveLanguage(active);
    const std::string before = languages.GetTextOrDefault("IDS_1");
    try {
      languages.SetActiveLanguage(n);
      ADD_FAILURE() << "no error for " << n;
    } catch (const ELanguageError& error) {
      EXPECT_EQ(
          std::string(error.what()),
          "TFMain: " + std::to_string(n) + " - is not a valid property value!\rValue must be within [1..2]!");
      EXPECT_EQ(error.Value(), n);
    }
    EXPECT_EQ(languages.ActiveLanguage(), active);
    EXPECT_EQ(languages.GetTextOrDefault("IDS_1"), before);
  }
}

INSTANTIATE_TEST_SUITE_P(OutsideOneToTwo, InvalidLanguage, testing::Values(0, 3, -1, INT_MIN, INT_MAX));

TEST(TLangTable, TextForGivesTheRowsTextOfTheActiveLanguage) {
  TLangTable languages = EmbeddedLanguages();
  const TranslationRow* title = languages.Table().Find(TStringsType::stCaptions, "TFMain");
  const TranslationRow* tab = languages.Table().Find(TStringsType::stCaptions, "TabSheet2");
  ASSERT_NE(title, nullptr);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(languages.TextFor(*tab), "Wskaźnik");
  EXPECT_EQ(languages.TextFor(*title), "KVELT - PC");
  languages.SetActiveLanguage(2);
  EXPECT_EQ(languages.TextFor(*tab), "Values");
  EXPECT_EQ(languages.TextFor(*title), "KVELT - PC");
}

}  // namespace
}  // namespace kvelt
