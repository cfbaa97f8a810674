#include <gtest/gtest.h>

#include <string>

#include "text/ControlEscape.h"

namespace kvelt {
namespace {

struct EscapeCase {
  std::string Text;
  std::string Shown;
};

class ControlEscapeTest : public testing::TestWithParam<EscapeCase> {};

TEST_P(ControlEscapeTest, ControlsAreShownNeverSent) {
  EXPECT_EQ(EscapeControlCharacters(GetParam().Text), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ControlEscapeTest,
    testing::Values(EscapeCase{"KVELT", "KVELT"}, EscapeCase{"Mysz Łódź €", "Mysz Łódź €"},
                    EscapeCase{"\x1b]0;owned\x07KVELT", "\\x1b]0;owned\\x07KVELT"},  // window title, BEL
                    EscapeCase{"\x1b[31mred", "\\x1b[31mred"},
                    EscapeCase{"a\nb\tc\rd", "a\\x0ab\\x09c\\x0dd"},
                    EscapeCase{std::string("nul\0x", 5), "nul\\x00x"}, EscapeCase{"del\x7f", "del\\x7f"},
                    EscapeCase{"\xc2\23331m", "\\u009b31m"},     // C1 CSI as UTF-8
                    EscapeCase{"\23331m\xff", "\\x9b31m\\xff"},  // bytes that are not UTF-8
                    EscapeCase{"\xEF\xBF\xBD", "\xEF\xBF\xBD"}, EscapeCase{"a\\x1b", "a\\\\x1b"}));

TEST(ControlEscapeTest, MessagesOfSeveralLinesKeepTheirLineFeeds) {
  EXPECT_EQ(EscapeControlCharacters("one\x1b[2J\ntwo", LineBreaks::Keep), "one\\x1b[2J\ntwo");
}

}  // namespace
}  // namespace kvelt
