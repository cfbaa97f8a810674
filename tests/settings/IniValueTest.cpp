#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "settings/IniValue.h"

namespace kvelt {
namespace {

struct IntegerCase {
  std::string Value;
  std::optional<int> Expected;
};

class ParseIniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ParseIniIntegerTest, ReadsOrRefuses) {
  EXPECT_EQ(ParseIniInteger(GetParam().Value), GetParam().Expected) << "value \"" << GetParam().Value << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseIniIntegerTest,
    ::testing::Values(
        IntegerCase{"0", 0}, IntegerCase{"2", 2}, IntegerCase{"-17", -17}, IntegerCase{"+4", 4},
        IntegerCase{"007", 7}, IntegerCase{"2147483647", INT_MAX}, IntegerCase{"-2147483648", INT_MIN},
        IntegerCase{"2147483648", std::nullopt}, IntegerCase{"0x3", 3}, IntegerCase{"0X1f", 31},
        IntegerCase{"0xFF", 255}, IntegerCase{"0x7FFFFFFF", INT_MAX}, IntegerCase{"0x80000000", std::nullopt},
        IntegerCase{"0x", std::nullopt}, IntegerCase{"0X", std::nullopt}, IntegerCase{"0xg", std::nullopt},
        IntegerCase{"0x-3", std::nullopt}, IntegerCase{"0x+3", std::nullopt},
        IntegerCase{"0x0x3", std::nullopt}, IntegerCase{"-0x3", std::nullopt}, IntegerCase{"", std::nullopt},
        IntegerCase{"yes", std::nullopt}, IntegerCase{"true", std::nullopt}, IntegerCase{"1.5", std::nullopt},
        IntegerCase{"12abc", std::nullopt}, IntegerCase{"-", std::nullopt}, IntegerCase{"+", std::nullopt},
        IntegerCase{"+-1", std::nullopt}, IntegerCase{"--1", std::nullopt}, IntegerCase{"1 2", std::nullopt},
        IntegerCase{"\xB3", std::nullopt}));

}  // namespace
}  // namespace kvelt
