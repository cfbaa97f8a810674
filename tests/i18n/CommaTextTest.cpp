#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "i18n/CommaText.h"

namespace kvelt {
namespace {

using Items = std::vector<std::string>;

struct ParseCase {
  std::string_view Text;
  Items Expected;
};

class CommaTextParse : public testing::TestWithParam<ParseCase> {};

TEST_P(CommaTextParse, SplitsIntoItems) { EXPECT_EQ(ParseCommaText(GetParam().Text), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Forms, CommaTextParse,
    testing::Values(ParseCase{"", {}}, ParseCase{"   ", {}}, ParseCase{"a", {"a"}},
                    ParseCase{"Nie,Tak", {"Nie", "Tak"}},
                    ParseCase{"mniejsza,większa", {"mniejsza", "większa"}},
                    ParseCase{"\"Pozycja [1]\",\"Pozycja [2]\"", {"Pozycja [1]", "Pozycja [2]"}},
                    ParseCase{"---,\"suma logiczna [and]\",[or]", {"---", "suma logiczna [and]", "[or]"}},
                    ParseCase{"\"0,01   [s]\",\"0,02   [s]\"", {"0,01   [s]", "0,02   [s]"}},
                    ParseCase{"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}}, ParseCase{"\"\"", {""}},
                    ParseCase{"\"\"\"\"", {"\""}}, ParseCase{"a,,b", {"a", "", "b"}},
                    ParseCase{",a", {"", "a"}}, ParseCase{"a,", {"a"}}, ParseCase{"  a  ,  b  ", {"a", "b"}},
                    ParseCase{"a b", {"a", "b"}},  // an unquoted blank separates items
                    ParseCase{"a\tb\r\nc", {"a", "b", "c"}},
                    ParseCase{"\"unterminated, item", {"unterminated, item"}},
                    ParseCase{"\"ab\"cd,e", {"ab", "cd", "e"}}));

struct FormatCase {
  Items Input;
  std::string_view Expected;
};

class CommaTextFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(CommaTextFormat, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(ToCommaText(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Forms, CommaTextFormat,
                         testing::Values(FormatCase{{}, ""}, FormatCase{{""}, "\"\""},
                                         FormatCase{{"0", "1", "2"}, "0,1,2"},
                                         FormatCase{{"[obr/s]", "[mm/min]"}, "[obr/s],[mm/min]"},
                                         FormatCase{{"Pozycja [1]", "x"}, "\"Pozycja [1]\",x"},
                                         FormatCase{{"a,b"}, "\"a,b\""}, FormatCase{{"a\"b"}, "\"a\"\"b\""},
                                         FormatCase{{"tab\there"}, "\"tab\there\""},
                                         FormatCase{{"a", ""}, "a,\"\""}));

TEST(CommaText, RandomListsRoundTrip) {
  const std::vector<std::string> pieces{"a", "Z", " ", ",", "\"", "\t", "\n", std::string(1, '\0'),
                                        "ż", "[", ""};
  std::mt19937 random(2024);
  for (int trial = 0; trial < 2000; ++trial) {
    Items items(random() % 6);
    for (std::string& item : items) {
      const std::size_t length = random() % 7;
      for (std::size_t k = 0; k < length; ++k) item += pieces[random() % pieces.size()];
    }
    ASSERT_EQ(ParseCommaText(ToCommaText(items)), items) << ToCommaText(items);
  }
}

}  // namespace
}  // namespace kvelt
