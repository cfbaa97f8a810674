#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string_view>

#include "config/LocaleNumber.h"

namespace kvelt {
namespace {

struct RealCase {
  std::string_view Text;
  std::string_view Separator;
  std::optional<double> Expected;
};

class ParseLocaleRealTest : public testing::TestWithParam<RealCase> {};

TEST_P(ParseLocaleRealTest, ConvertsOnlyTheLocaleNotation) {
  const RealCase& c = GetParam();
  EXPECT_EQ(ParseLocaleReal(c.Text, c.Separator), c.Expected) << '"' << c.Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseLocaleRealTest,
    testing::Values(RealCase{"1,5", ",", 1.5}, RealCase{"1.5", ",", std::nullopt}, RealCase{"1.5", ".", 1.5},
                    RealCase{"1,5", ".", std::nullopt}, RealCase{"-2,25E1", ",", -22.5},
                    RealCase{"1,5e3", ",", 1500.0}, RealCase{"+7", ",", 7.0}, RealCase{",5", ",", 0.5},
                    RealCase{"1,", ",", 1.0}, RealCase{"\t 2,5  ", ",", 2.5}, RealCase{"1E-3", ",", 0.001},
                    RealCase{"0", ",", 0.0},
                    RealCase{"1\xD9\xAB"
                             "5",
                             "\xD9\xAB", 1.5},
                    RealCase{"", ",", std::nullopt}, RealCase{"   ", ",", std::nullopt},
                    RealCase{",", ",", std::nullopt}, RealCase{"-", ",", std::nullopt},
                    RealCase{"1,5,0", ",", std::nullopt}, RealCase{"1.000,5", ",", std::nullopt},
                    RealCase{"1 000", ",", std::nullopt}, RealCase{"E5", ",", std::nullopt},
                    RealCase{"1E", ",", std::nullopt}, RealCase{"1E+", ",", std::nullopt},
                    RealCase{"1,5x", ",", std::nullopt}, RealCase{"--1", ",", std::nullopt},
                    RealCase{"inf", ",", std::nullopt}, RealCase{"nan", ",", std::nullopt},
                    RealCase{"0x1p3", ",", std::nullopt}, RealCase{"1e400", ",", std::nullopt}));

struct IntegerCase {
  std::string_view Text;
  std::optional<long long> Expected;
};

class ParseDecimalIntegerTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(ParseDecimalIntegerTest, ConvertsOnlyDecimalDigits) {
  EXPECT_EQ(ParseDecimalInteger(GetParam().Text), GetParam().Expected) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseDecimalIntegerTest,
                         testing::Values(IntegerCase{"1000", 1000}, IntegerCase{" 65535 ", 65535},
                                         IntegerCase{"-1", -1}, IntegerCase{"+12", 12}, IntegerCase{"007", 7},
                                         IntegerCase{"", std::nullopt}, IntegerCase{"abc", std::nullopt},
                                         IntegerCase{"1.5", std::nullopt}, IntegerCase{"1,5", std::nullopt},
                                         IntegerCase{"1e3", std::nullopt}, IntegerCase{"0x10", std::nullopt},
                                         IntegerCase{"$10", std::nullopt}, IntegerCase{"1 0", std::nullopt},
                                         IntegerCase{"+", std::nullopt},
                                         IntegerCase{"99999999999999999999", std::nullopt}));

TEST(ToSingleTest, RoundsToNearestAndRefusesWhatOverflows) {
  EXPECT_EQ(ToSingle(0.1), 0.1f);
  EXPECT_EQ(ToSingle(-1.5), -1.5f);
  // The shortest text of the largest single is slightly above it and still means it.
  EXPECT_EQ(ToSingle(3.4028235e38), std::numeric_limits<float>::max());
  EXPECT_EQ(ToSingle(-3.4028235e38), -std::numeric_limits<float>::max());
  EXPECT_EQ(ToSingle(1e39), std::nullopt);
  EXPECT_EQ(ToSingle(-1e39), std::nullopt);
  EXPECT_EQ(ToSingle(1e-50), 0.0f);
}

}  // namespace
}  // namespace kvelt
