#include <gtest/gtest.h>

#include <string>

#include "text/Utf16Text.h"

namespace kvelt {
namespace {

struct Utf16Case {
  const char* Name;
  std::string LittleEndian;  // UTF-16 LE bytes
  std::string Utf8;
  bool RoundTrips;  // encoding Utf8 gives the bytes again
};

class Utf16Conversion : public testing::TestWithParam<Utf16Case> {};

std::string Swapped(const std::string& bytes) {
  std::string swapped = bytes;
  for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
  return swapped;
}

TEST_P(Utf16Conversion, DecodesBothByteOrders) {
  const Utf16Case& c = GetParam();
  EXPECT_EQ(DecodeUtf16(c.LittleEndian, ByteOrder::LittleEndian), c.Utf8);
  EXPECT_EQ(DecodeUtf16(Swapped(c.LittleEndian), ByteOrder::BigEndian), c.Utf8);
  if (c.RoundTrips) {
    EXPECT_EQ(EncodeUtf16(c.Utf8, ByteOrder::LittleEndian), c.LittleEndian);
    EXPECT_EQ(EncodeUtf16(c.Utf8, ByteOrder::BigEndian), Swapped(c.LittleEndian));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf16Conversion,
    testing::Values(Utf16Case{"Empty", "", "", true},
                    Utf16Case{"MarkAndAscii",
                              std::string("\xFF\xFE"
                                          "D\0i\0v\0",
                                          8),
                              "\xEF\xBB\xBF"
                              "Div",
                              true},
                    Utf16Case{"PolishLetter", std::string("\x41\x01", 2), "Ł", true},
                    Utf16Case{"NulKept", std::string("\0\0", 2), std::string("\0", 1), true},
                    Utf16Case{"SurrogatePair", std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80",
                              true},  // U+1F600
                    Utf16Case{"LoneHighSurrogate",
                              std::string("\x3D\xD8"
                                          "a\0",
                                          4),
                              "\xEF\xBF\xBD"
                              "a",
                              false},
                    Utf16Case{"LoneLowSurrogate", std::string("\x00\xDE", 2), "\xEF\xBF\xBD", false},
                    Utf16Case{"HighSurrogateAtEnd", "\x3D\xD8", "\xEF\xBF\xBD", false},
                    Utf16Case{"OddLastByteIgnored", std::string("a\0b", 3), "a", false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Utf16Encoding, IllFormedUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(EncodeUtf16("a\xC5", ByteOrder::LittleEndian), std::string("a\0\xFD\xFF", 4));
}

}  // namespace
}  // namespace kvelt
