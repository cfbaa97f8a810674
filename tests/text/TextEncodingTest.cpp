#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/TextEncoding.h"

namespace kvelt {
namespace {

struct Utf8Case {
  std::string Bytes;
  bool Valid;
};

class Utf8Validation : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validation, AcceptsOnlyWellFormedText) {
  EXPECT_EQ(IsValidUtf8(GetParam().Bytes), GetParam().Valid);
  // Valid text passes unchanged; anything else is converted into valid text.
  const std::string converted = ToUtf8(GetParam().Bytes);
  EXPECT_TRUE(IsValidUtf8(converted));
  if (GetParam().Valid) {
    EXPECT_EQ(converted, GetParam().Bytes);
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Validation,
                         testing::Values(Utf8Case{"", true}, Utf8Case{"KVELT - PC", true},
                                         Utf8Case{std::string("\0\x01", 2), true},
                                         Utf8Case{"Połączony", true}, Utf8Case{"\xE2\x82\xAC", true},
                                         Utf8Case{"\xF4\x8F\xBF\xBF", true}, Utf8Case{"\xEF\xBF\xBD", true},
                                         Utf8Case{"\x80", false},  // continuation without lead
                                         Utf8Case{"\xC5", false},  // truncated
                                         Utf8Case{"\xC5"
                                                  "a",
                                                  false},                  // lead followed by no continuation
                                         Utf8Case{"\xC0\x80", false},      // overlong NUL
                                         Utf8Case{"\xC1\xBF", false},      // overlong
                                         Utf8Case{"\xE0\x9F\xBF", false},  // overlong three-byte form
                                         Utf8Case{"\xED\xA0\x80", false},  // surrogate
                                         Utf8Case{"\xF0\x8F\xBF\xBF", false},  // overlong four-byte form
                                         Utf8Case{"\xF4\x90\x80\x80", false},  // above U+10FFFF
                                         Utf8Case{"\xF5\x80\x80\x80", false}, Utf8Case{"\xFF", false},
                                         Utf8Case{"Po\xB3\xB9"
                                                  "czony",
                                                  false}));

TEST(Windows1250, DecodesTheHighHalf) {
  EXPECT_EQ(DecodeWindows1250("Po\xB3\xB9"
                              "czony"),
            "Połączony");
  EXPECT_EQ(DecodeWindows1250("Pr\xEA"
                              "dko\x9C\xE6"),
            "Prędkość");
  EXPECT_EQ(DecodeWindows1250("\x80\x8A\x8E\xA0\xD7\xDF\xFF"), "€ŠŽ\u00A0×ß˙");
  EXPECT_EQ(DecodeWindows1250("\x96\x97\x84\x93\x94"), "–—„“”");
  for (const char undefined : {'\x81', '\x83', '\x88', '\x90', '\x98'}) {
    EXPECT_EQ(DecodeWindows1250(std::string(1, undefined)), "\xEF\xBF\xBD");
  }
  EXPECT_EQ(DecodeWindows1250(std::string("a\0b\x7F", 4)), std::string("a\0b\x7F", 4));
}

}  // namespace
}  // namespace kvelt

namespace kvelt {
namespace {

TEST(Windows1250, EveryByteSurvivesARoundTripWhenUndefinedBytesAreKept) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::string decoded = DecodeWindows1250(all, UndefinedByte::KeepAsControl);
  EXPECT_TRUE(IsValidUtf8(decoded));
  EXPECT_EQ(EncodeWindows1250(decoded), all);
}

struct EncodeCase {
  const char* Name;
  std::string Utf8;
  std::optional<std::string> Bytes;
};

class Windows1250Encoding : public testing::TestWithParam<EncodeCase> {};

TEST_P(Windows1250Encoding, GivesTheCodePageBytesOrNothing) {
  EXPECT_EQ(EncodeWindows1250(GetParam().Utf8), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(Texts, Windows1250Encoding,
                         testing::Values(EncodeCase{"Ascii", "C:\\pomiar.csv", std::string("C:\\pomiar.csv")},
                                         EncodeCase{"PolishLetters", "Łódź żółć",
                                                    std::string("\xA3\xF3"
                                                                "d\x9F \xBF\xF3\xB3\xE6")},
                                         EncodeCase{"Euro", "€", std::string("\x80")},
                                         EncodeCase{"NoByteForCjk", "日本", std::nullopt},
                                         EncodeCase{"NoByteForDefinedByteControl", "\xC2\x80",
                                                    std::nullopt},  // U+0080: 0x80 is €
                                         EncodeCase{"NoByteForReplacement", "\xEF\xBF\xBD", std::nullopt},
                                         EncodeCase{"NoByteForEmoji", "\xF0\x9F\x98\x80", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kvelt
