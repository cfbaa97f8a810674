#include <gtest/gtest.h>

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
