#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "measure/FixedPointFormat.h"

namespace kvelt {
namespace {

// ---------------------------------------------------------------------------------------------
// Fixed examples.

struct FormatCase {
  double Value;
  int Precision;
  int Decimals;
  const char* Separator;
  const char* Expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.Value << " P=" << c.Precision << " d=" << c.Decimals << " -> " << c.Expected;
}

class FixedPointExamples : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FixedPointExamples, ProducesExpectedText) {
  const FormatCase& c = GetParam();
  const auto text = FormatFixedPoint(c.Value, c.Precision, c.Decimals, c.Separator);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, c.Expected) << "value " << c.Value << " P=" << c.Precision << " d=" << c.Decimals;
}

INSTANTIATE_TEST_SUITE_P(
    Readouts, FixedPointExamples,
    ::testing::Values(FormatCase{12.5, 15, 2, ",", "12,50"}, FormatCase{12.5, 15, 0, ",", "13"},
                      FormatCase{-0.25, 15, 1, ",", "-0,3"},
                      FormatCase{static_cast<double>(1e16f), 15, 2, ",", "1,00000002725642E16"},
                      FormatCase{static_cast<double>(1e16f), 15, 4, ",", "1,00000002725642E0016"},
                      FormatCase{static_cast<double>(1e16f), 15, 0, ",", "1,00000002725642E16"},
                      FormatCase{static_cast<double>(1e16f), 18, 2, ",", "10000000272564224,00"},
                      FormatCase{static_cast<double>(0.1f), 15, 4, ",", "0,1000"},
                      FormatCase{static_cast<double>(0.1f), 18, 18, ",", "0,100000001490116119"},
                      FormatCase{2.75, 15, 0, ",", "3"}, FormatCase{1.5, 15, 2, ",", "1,50"},
                      FormatCase{90.0, 15, 2, ",", "90,00"}, FormatCase{-2.0, 15, 2, ",", "-2,00"},
                      FormatCase{9.96, 15, 1, ",", "10,0"}, FormatCase{-9.96, 15, 1, ",", "-10,0"},
                      FormatCase{0.5, 15, 0, ",", "1"}, FormatCase{-0.5, 15, 0, ",", "-1"},
                      FormatCase{0.05, 15, 1, ",", "0,1"}, FormatCase{0.049, 15, 1, ",", "0,0"},
                      FormatCase{0.005, 15, 2, ",", "0,01"}, FormatCase{1.5e-7, 15, 2, ",", "0,00"},
                      FormatCase{-0.004, 15, 2, ",", "0,00"}, FormatCase{-0.0, 15, 2, ",", "0,00"},
                      FormatCase{0.0, 15, 0, ",", "0"}, FormatCase{-1e-300, 15, 4, ",", "0,0000"},
                      FormatCase{1234567.0, 15, 3, ",", "1234567,000"},
                      FormatCase{123456789012345.0, 15, 2, ",", "123456789012345,00"},
                      FormatCase{999999999999999.0, 15, 0, ",", "999999999999999"},
                      FormatCase{999999999999999.9, 15, 0, ",", "1E15"}, FormatCase{1e20, 15, 0, ",", "1E20"},
                      FormatCase{-1.5e20, 15, 3, ",", "-1,5E020"}, FormatCase{1e300, 15, 2, ",", "1E300"},
                      FormatCase{12.5, 1, 0, ",", "1E1"}, FormatCase{12.5, 1, 2, ",", "1E01"},
                      FormatCase{5.5, 1, 2, ",", "6,00"}, FormatCase{1.234, 2, 4, ",", "1,2000"},
                      FormatCase{0.0001234, 2, 8, ",", "0,00012000"}, FormatCase{12.5, 15, 2, ".", "12.50"},
                      FormatCase{-3.25, 15, 2, " dec ", "-3 dec 25"},
                      FormatCase{static_cast<double>(1e16f), 15, 2, ".", "1.00000002725642E16"},
                      FormatCase{std::numeric_limits<double>::quiet_NaN(), 15, 2, ",", "NAN"},
                      FormatCase{-std::numeric_limits<double>::quiet_NaN(), 15, 2, ",", "NAN"},
                      FormatCase{std::numeric_limits<double>::infinity(), 15, 2, ",", "INF"},
                      FormatCase{-std::numeric_limits<double>::infinity(), 15, 0, ",", "INF"}));

struct BadArguments {
  int Precision;
  int Decimals;
};

class FixedPointRejects : public ::testing::TestWithParam<BadArguments> {};

TEST_P(FixedPointRejects, ValueCannotBeFormatted) {
  EXPECT_EQ(FormatFixedPoint(1.0, GetParam().Precision, GetParam().Decimals, ","), std::nullopt);
  EXPECT_EQ(FormatFixedPoint(std::numeric_limits<double>::quiet_NaN(), GetParam().Precision,
                             GetParam().Decimals, ","),
            std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, FixedPointRejects,
                         ::testing::Values(BadArguments{15, -1}, BadArguments{15, 19}, BadArguments{15, 1000},
                                           BadArguments{0, 2}, BadArguments{19, 2}, BadArguments{-15, 2},
                                           BadArguments{0, -1}));

TEST(FixedPointLimits, AcceptsTheEdgesOfTheRanges) {
  EXPECT_EQ(FormatFixedPoint(1.0, 1, 0, ","), "1");
  EXPECT_EQ(FormatFixedPoint(1.0, 18, 18, ","), "1,000000000000000000");
  EXPECT_EQ(FormatFixedPoint(-1.0 / 3.0, 18, 18, ","), "-0,333333333333333315");
}

// ---------------------------------------------------------------------------------------------
// Reference: exact decimal expansion of the double with big-integer arithmetic, correct rounding
// to 18 significant digits (ties to even, as a correctly rounded conversion does), then the kept
// digits computed as an integer count of units of the lowest kept place.

class BigDecimalInteger {
 public:
  explicit BigDecimalInteger(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  void Multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  void MultiplyByPower(std::uint32_t base, int exponent, std::uint32_t chunkFactor, int chunkExponent) {
    for (; exponent >= chunkExponent; exponent -= chunkExponent) {
      Multiply(chunkFactor);
    }
    for (; exponent > 0; --exponent) {
      Multiply(base);
    }
  }

  std::string Digits() const {
    std::string text = std::to_string(limbs_.back());
    for (auto limb = limbs_.rbegin() + 1; limb != limbs_.rend(); ++limb) {
      const std::string part = std::to_string(*limb);
      text.append(9 - part.size(), '0');
      text += part;
    }
    return text;
  }

 private:
  static constexpr std::uint64_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

struct ExactDecimal {
  std::string Digits;  // no leading zeros; "0" for zero
  int Exponent = 0;    // place of Digits[0]
};

ExactDecimal ExpandExactly(double magnitude) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int binaryExponent = -1074;
  if (biasedExponent != 0) {
    mantissa |= std::uint64_t{1} << 52;
    binaryExponent = biasedExponent - 1075;
  }
  if (mantissa == 0) {
    return {"0", 0};
  }
  BigDecimalInteger number(mantissa);
  ExactDecimal exact;
  if (binaryExponent >= 0) {
    number.MultiplyByPower(2, binaryExponent, 1u << 29, 29);
    exact.Digits = number.Digits();
    exact.Exponent = static_cast<int>(exact.Digits.size()) - 1;
  } else {
    // m * 2^-k = m * 5^k * 10^-k
    number.MultiplyByPower(5, -binaryExponent, 1220703125u, 13);
    exact.Digits = number.Digits();
    exact.Exponent = static_cast<int>(exact.Digits.size()) - 1 + binaryExponent;
  }
  exact.Digits.erase(exact.Digits.find_last_not_of('0') + 1);
  return exact;
}

struct EighteenDigits {
  std::uint64_t Significand = 0;  // below 10^18; Significand * 10^(Exponent - 17)
  int Exponent = 0;
};

EighteenDigits RoundToEighteenDigits(const ExactDecimal& exact) {
  std::string digits = exact.Digits;
  int exponent = exact.Exponent;
  if (digits == "0") {
    return {0, 0};
  }
  bool roundUp = false;
  if (digits.size() > 18) {
    const char next = digits[18];
    const bool restZero = digits.find_first_not_of('0', 19) == std::string::npos;
    roundUp = next > '5' || (next == '5' && (!restZero || (digits[17] - '0') % 2 == 1));
    digits.resize(18);
  }
  digits.resize(18, '0');
  std::uint64_t significand = std::stoull(digits);
  if (roundUp && ++significand == 1000000000000000000ull) {
    significand = 100000000000000000ull;
    ++exponent;
  }
  return {significand, exponent};
}

std::string ReferenceFormat(double value, int precision, int decimals, const std::string& separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return "INF";
  const EighteenDigits expansion = RoundToEighteenDigits(ExpandExactly(std::fabs(value)));
  // Lowest kept place: the d-th decimal, or higher when P digits are already used up.
  const int lowestPlace = std::max(-decimals, expansion.Exponent + 1 - precision);
  const int dropped = lowestPlace - (expansion.Exponent - 17);
  std::uint64_t units = 0;
  if (dropped == 0) {
    units = expansion.Significand;
  } else if (dropped <= 18) {
    std::uint64_t divisor = 1;
    for (int i = 0; i < dropped; ++i) divisor *= 10;
    units = expansion.Significand / divisor;
    if (expansion.Significand % divisor * 2 >= divisor) ++units;
  }
  std::string text = (std::signbit(value) && units != 0) ? "-" : "";
  const std::string unitDigits = std::to_string(units);
  const int highestPlace = static_cast<int>(unitDigits.size()) - 1 + lowestPlace;
  if (units != 0 && highestPlace + 1 > precision) {
    const std::string significant = unitDigits.substr(0, unitDigits.find_last_not_of('0') + 1);
    text += significant.substr(0, 1);
    if (significant.size() > 1) text += separator + significant.substr(1);
    std::string exponentText = std::to_string(std::abs(highestPlace));
    if (static_cast<int>(exponentText.size()) < decimals) {
      exponentText.insert(0, static_cast<std::size_t>(decimals) - exponentText.size(), '0');
    }
    return text + "E" + (highestPlace < 0 ? "-" : "") + exponentText;
  }
  std::string fixed = units == 0
                          ? std::string("0")
                          : unitDigits + std::string(static_cast<std::size_t>(lowestPlace + decimals), '0');
  if (static_cast<int>(fixed.size()) < decimals + 1) {
    fixed.insert(0, static_cast<std::size_t>(decimals + 1) - fixed.size(), '0');
  }
  if (decimals > 0) {
    fixed.insert(fixed.size() - static_cast<std::size_t>(decimals), separator);
  }
  return text + fixed;
}

TEST(FixedPointReference, ReproducesTheHandWrittenExamples) {
  // Guards the reference itself before it judges the formatter.
  EXPECT_EQ(ReferenceFormat(static_cast<double>(1e16f), 15, 4, ","), "1,00000002725642E0016");
  EXPECT_EQ(ReferenceFormat(9.96, 15, 1, ","), "10,0");
  EXPECT_EQ(ReferenceFormat(-0.004, 15, 2, ","), "0,00");
  EXPECT_EQ(ReferenceFormat(std::ldexp(1.0, -27), 18, 18, ","), "0,000000007450580597");
  EXPECT_EQ(ExpandExactly(std::ldexp(1.0, -27)).Digits, "7450580596923828125");
}

TEST(FixedPointExpansion, ExactTieAtTheNineteenthDigitRoundsToEven) {
  // 2^-27 = 7.450580596923828125e-9 ends exactly on a half at its 19th digit.
  // 100001 * 2^-19 = 0.1907367706298828125 does the same at a place that P = 18, d = 18 keeps.
  const double tie = std::ldexp(100001.0, -19);
  EXPECT_EQ(ExpandExactly(tie).Digits, "1907367706298828125");
  EXPECT_EQ(FormatFixedPoint(tie, 18, 18, ","), "0,190736770629882812");
  EXPECT_EQ(ReferenceFormat(tie, 18, 18, ","), "0,190736770629882812");
}

// ---------------------------------------------------------------------------------------------
// Generated values compared with the reference.

std::vector<double> InterestingValues() {
  std::mt19937_64 random(20140227);
  std::vector<double> values;
  auto addWithNeighbours = [&values](double x, int steps) {
    double below = x;
    double above = x;
    values.push_back(x);
    for (int i = 0; i < steps; ++i) {
      below = std::nextafter(below, -std::numeric_limits<double>::infinity());
      above = std::nextafter(above, std::numeric_limits<double>::infinity());
      values.push_back(below);
      values.push_back(above);
    }
    // The same neighbourhood as the counter's single-precision values.
    const float single = static_cast<float>(x);
    values.push_back(static_cast<double>(single));
    values.push_back(static_cast<double>(std::nextafter(single, -std::numeric_limits<float>::infinity())));
    values.push_back(static_cast<double>(std::nextafter(single, std::numeric_limits<float>::infinity())));
  };

  // Any bit pattern: tiny, huge and denormal values of both widths.
  for (int i = 0; i < 3000; ++i) {
    const double d = std::bit_cast<double>(random());
    if (std::isfinite(d)) values.push_back(d);
    const float f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (std::isfinite(f)) values.push_back(static_cast<double>(f));
  }
  // Log-uniform magnitudes where measured values live, 1e-7 .. 1e21.
  std::uniform_real_distribution<double> logMagnitude(-7.0, 21.0);
  for (int i = 0; i < 6000; ++i) {
    const double d = std::pow(10.0, logMagnitude(random));
    values.push_back(d);
    values.push_back(static_cast<double>(static_cast<float>(d)));
  }
  // Halves at the first five decimal places and at the 15th/18th significant digit.
  std::uniform_int_distribution<std::int64_t> smallInteger(0, 2000000);
  for (int decimals = 0; decimals <= 4; ++decimals) {
    const double scale = std::pow(10.0, decimals);
    for (int i = 0; i < 300; ++i) {
      addWithNeighbours((static_cast<double>(smallInteger(random)) + 0.5) / scale, 3);
    }
  }
  std::uniform_int_distribution<std::int64_t> wideInteger(100000000000000, 999999999999999);
  for (int i = 0; i < 300; ++i) {
    addWithNeighbours(static_cast<double>(wideInteger(random)) + 0.5, 2);
    addWithNeighbours((static_cast<double>(wideInteger(random)) + 0.5) / 1e10, 2);
  }
  // Powers of ten and the values that carry into them (9.995 .. at every d).
  for (int exponent = -12; exponent <= 24; ++exponent) {
    const double power = std::pow(10.0, exponent);
    addWithNeighbours(power, 3);
    for (int decimals = 0; decimals <= 4; ++decimals) {
      addWithNeighbours(power - 0.5 / std::pow(10.0, decimals), 2);
    }
  }
  // Edges of the number formats.
  for (double d : {0.0, 0.004, 0.005, 0.0049999, 0.0050001, std::numeric_limits<double>::denorm_min(),
                   std::numeric_limits<double>::min(), std::numeric_limits<double>::max(),
                   static_cast<double>(std::numeric_limits<float>::denorm_min()),
                   static_cast<double>(std::numeric_limits<float>::min()),
                   static_cast<double>(std::numeric_limits<float>::max()), 999999999999999.5,
                   9999999999999999.0, 99999999999999999.0, 1e17, 1e18, 123456789012345678.0}) {
    addWithNeighbours(d, 2);
  }
  const std::size_t positives = values.size();
  for (std::size_t i = 0; i < positives; ++i) {
    values.push_back(-values[i]);
  }
  return values;
}

TEST(FixedPointAgainstReference, MeasuredValueSettings) {
  const std::vector<double> values = InterestingValues();
  int mismatches = 0;
  for (const double value : values) {
    for (const int precision : {15, 18}) {
      for (int decimals = 0; decimals <= 4; ++decimals) {
        const std::string expected = ReferenceFormat(value, precision, decimals, ",");
        const auto actual = FormatFixedPoint(value, precision, decimals, ",");
        if (actual != expected && ++mismatches <= 20) {
          ADD_FAILURE() << "value " << std::hexfloat << value << std::defaultfloat << " P=" << precision
                        << " d=" << decimals << ": got " << actual.value_or("<nullopt>") << ", expected "
                        << expected;
        }
      }
    }
  }
  EXPECT_EQ(mismatches, 0) << "of " << values.size() * 10 << " comparisons";
}

TEST(FixedPointAgainstReference, EveryPrecisionAndDecimalCount) {
  const std::vector<double> values = InterestingValues();
  std::mt19937 random(1038);
  std::uniform_int_distribution<int> precisionPick(1, 18);
  std::uniform_int_distribution<int> decimalsPick(0, 18);
  int mismatches = 0;
  for (std::size_t i = 0; i < values.size(); i += 3) {
    const int precision = precisionPick(random);
    const int decimals = decimalsPick(random);
    const std::string expected = ReferenceFormat(values[i], precision, decimals, ".");
    const auto actual = FormatFixedPoint(values[i], precision, decimals, ".");
    if (actual != expected && ++mismatches <= 20) {
      ADD_FAILURE() << "value " << std::hexfloat << values[i] << std::defaultfloat << " P=" << precision
                    << " d=" << decimals << ": got " << actual.value_or("<nullopt>") << ", expected "
                    << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace kvelt
