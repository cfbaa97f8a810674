#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "config/EncoderParameters.h"
#include "config/SenderChannel.h"
#include "protocol/ReplyParsers.h"
#include "tests/config/ReportBytes.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ReportBytes;

std::optional<Bytes> Sent(const std::optional<OutboundReport>& report) {
  if (!report) {
    return std::nullopt;
  }
  return ReportBytes(*report);
}

struct SenderCase {
  std::string_view Name;
  std::optional<int> Channel;
};

class ChannelFromSenderNameTest : public testing::TestWithParam<SenderCase> {};

TEST_P(ChannelFromSenderNameTest, TakesTheLastDigit) {
  EXPECT_EQ(ChannelFromSenderName(GetParam().Name), GetParam().Channel);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChannelFromSenderNameTest,
                         testing::Values(SenderCase{"button_set_res0", 0}, SenderCase{"edit_coeff3", 3},
                                         SenderCase{"button_clear2", 2},
                                         SenderCase{"button_clear4", std::nullopt},
                                         SenderCase{"button_get_zero", std::nullopt},
                                         SenderCase{"", std::nullopt}));

struct ResolutionCase {
  int Channel;
  std::string_view Text;
  std::optional<Bytes> Expected;
};

class SetResolutionTest : public testing::TestWithParam<ResolutionCase> {};

TEST_P(SetResolutionTest, SendsFourTimesTheTypedValueOrRefuses) {
  const ResolutionCase& c = GetParam();
  EXPECT_EQ(Sent(SetResolutionRequest(c.Channel, c.Text)), c.Expected) << '"' << c.Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetResolutionTest,
    testing::Values(ResolutionCase{0, "1000", Bytes{104, 0x00, 0xA0, 0x0F, 0x00, 0x00}},
                    ResolutionCase{3, "65535", Bytes{104, 0x03, 0xFC, 0xFF, 0x03, 0x00}},
                    ResolutionCase{1, "0", Bytes{104, 0x01, 0x00, 0x00, 0x00, 0x00}},
                    ResolutionCase{2, " 12 ", Bytes{104, 0x02, 0x30, 0x00, 0x00, 0x00}},
                    ResolutionCase{0, "65536", std::nullopt}, ResolutionCase{0, "-1", std::nullopt},
                    ResolutionCase{0, "", std::nullopt}, ResolutionCase{0, "abc", std::nullopt},
                    ResolutionCase{0, "1.5", std::nullopt}, ResolutionCase{0, "4294967297", std::nullopt}));

struct CoefficientCase {
  std::string_view Text;
  std::string_view Separator;
  std::optional<Bytes> Expected;
};

class SetCoefficientTest : public testing::TestWithParam<CoefficientCase> {};

TEST_P(SetCoefficientTest, SendsTheSingleOrRefuses) {
  const CoefficientCase& c = GetParam();
  EXPECT_EQ(Sent(SetCoefficientRequest(1, c.Text, c.Separator)), c.Expected) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetCoefficientTest,
    testing::Values(CoefficientCase{"1,5", ",", Bytes{105, 1, 0x00, 0x00, 0xC0, 0x3F}},
                    CoefficientCase{"1.5", ",", std::nullopt},
                    CoefficientCase{"1.5", ".", Bytes{105, 1, 0x00, 0x00, 0xC0, 0x3F}},
                    CoefficientCase{"-2,25E1", ",", Bytes{105, 1, 0x00, 0x00, 0xB4, 0xC1}},
                    CoefficientCase{"0,1", ",", Bytes{105, 1, 0xCD, 0xCC, 0xCC, 0x3D}},
                    CoefficientCase{"", ",", std::nullopt}, CoefficientCase{"1e39", ",", std::nullopt}));

TEST(EncoderRequestsTest, ZeroMarkerAndGetRequestsCarryTheChannel) {
  EXPECT_EQ(ReportBytes(SetZeroMarkerRequest(2, 1)), (Bytes{116, 2, 1}));
  EXPECT_EQ(ReportBytes(SetZeroMarkerRequest(0, 0)), (Bytes{116, 0, 0}));
  EXPECT_EQ(ReportBytes(GetResolutionRequest(3)), (Bytes{114, 3}));
  EXPECT_EQ(ReportBytes(GetCoefficientRequest(1)), (Bytes{115, 1}));
  EXPECT_EQ(ReportBytes(GetZeroMarkerRequest(2)), (Bytes{117, 2}));
}

TEST(EncoderRepliesTest, OnlyChannelsOneToFourAreApplied) {
  EXPECT_EQ(ReplyChannel(0), 0);
  EXPECT_EQ(ReplyChannel(3), 3);
  EXPECT_EQ(ReplyChannel(4), std::nullopt);
  EXPECT_EQ(ReplyChannel(255), std::nullopt);
}

TEST(EncoderRepliesTest, ResolutionShowsTheTruncatedQuarter) {
  const std::array<std::uint8_t, 6> wire4003{114, 2, 0xA3, 0x0F, 0x00, 0x00};
  const auto reply = ParseResolutionReply(wire4003.data(), wire4003.size());
  ASSERT_TRUE(reply);
  EXPECT_EQ(ResolutionReplyText(*reply), "1000");
  EXPECT_EQ(ResolutionReplyText(ResolutionReply{0, 0}), "0");
  EXPECT_EQ(ResolutionReplyText(ResolutionReply{0, 1073741823}), "1073741823");
}

struct CoefficientTextCase {
  float Value;
  int Div;
  std::string_view Separator;
  std::string_view Expected;
};

class CoefficientReplyTextTest : public testing::TestWithParam<CoefficientTextCase> {};

TEST_P(CoefficientReplyTextTest, FormatsWithFifteenDigitsAndTheDivDecimals) {
  const CoefficientTextCase& c = GetParam();
  EXPECT_EQ(CoefficientReplyText(c.Value, c.Div, c.Separator), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CoefficientReplyTextTest,
    testing::Values(CoefficientTextCase{2.5f, 2, ",", "2,50"}, CoefficientTextCase{2.75f, 0, ",", "3"},
                    CoefficientTextCase{2.75f, 4, ".", "2.7500"},
                    // No selection of `div` falls back to two decimals.
                    CoefficientTextCase{2.75f, -1, ",", "2,75"}, CoefficientTextCase{2.75f, 5, ",", "2,75"},
                    // Fifteen significant digits: a seventeen-digit whole part goes to exponent form.
                    CoefficientTextCase{1e17f, 0, ",", "9,99999984306749E16"}));

TEST(EncoderRepliesTest, ZeroMarkerSelectsOnlyListPositions) {
  EXPECT_EQ(ZeroMarkerListPosition(ZeroMarkerReply{0, 1}), 1);
  EXPECT_EQ(ZeroMarkerListPosition(ZeroMarkerReply{0, 0}), 0);
  EXPECT_EQ(ZeroMarkerListPosition(ZeroMarkerReply{0, 2}), -1);
  EXPECT_EQ(ZeroMarkerListPosition(ZeroMarkerReply{0, -1}), -1);
}

}  // namespace
}  // namespace kvelt
