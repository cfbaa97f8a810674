#include <gtest/gtest.h>

#include <string>

#include "settings/Utf8Text.h"

namespace kvelt {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

struct RepairCase {
  std::string Name;
  std::string Input;
  std::string Expected;
};

class RepairUtf8Test : public ::testing::TestWithParam<RepairCase> {};

TEST_P(RepairUtf8Test, ReplacesOnlyIllFormedParts) {
  EXPECT_EQ(RepairUtf8(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, RepairUtf8Test,
    ::testing::Values(RepairCase{"Ascii", "c:\\pomiar.csv", "c:\\pomiar.csv"},
                      RepairCase{"PolishUtf8", "\xC5\x82\xC3\xB3\x64\xC5\xBA",
                                 "\xC5\x82\xC3\xB3\x64\xC5\xBA"},  // łódź
                      RepairCase{"FourByte", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
                      // "łódź" in Windows-1250: B3 F3 64 9F
                      RepairCase{"Windows1250", "\xB3\xF3\x64\x9F", kFffd + kFffd + "d" + kFffd},
                      RepairCase{"Overlong", "\xC0\x80", kFffd + kFffd},
                      RepairCase{"OverlongThreeByte", "\xE0\x80\x80", kFffd + kFffd + kFffd},
                      RepairCase{"TruncatedThenAscii",
                                 "\xE2\x82"
                                 "A",
                                 kFffd + "A"},
                      RepairCase{"TruncatedAtEnd", "x\xF0\x9F\x98", "x" + kFffd},
                      RepairCase{"Surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd},
                      RepairCase{"AboveUnicode", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd},
                      RepairCase{"LoneContinuation",
                                 "a\x80"
                                 "b",
                                 "a" + kFffd + "b"},
                      RepairCase{"NulKept", std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const auto& info) { return info.param.Name; });

TEST(CutUtf8, CountsCharactersNotBytes) {
  EXPECT_EQ(CutUtf8("abcdef", 4), "abcd");
  EXPECT_EQ(CutUtf8("ab", 4), "ab");
  EXPECT_EQ(CutUtf8("", 0), "");
  EXPECT_EQ(CutUtf8("\xC5\x82\xC3\xB3\x64", 2), "\xC5\x82\xC3\xB3");
  EXPECT_EQ(CutUtf8("\xF0\x9F\x98\x80z", 1), "\xF0\x9F\x98\x80");
  EXPECT_EQ(CutUtf8("abc", 0), "");
}

}  // namespace
}  // namespace kvelt
