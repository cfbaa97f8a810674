#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/OutputsConfig.h"
#include "protocol/ReplyParsers.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ReplyParsersTest, ResolutionReplyIsDividedByFour) {
  const Bytes report{114, 2, 0x01, 0x10, 0x00, 0x00};  // 4097 on the wire
  const auto reply = ParseResolutionReply(report.data(), report.size());
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Channel, 2);
  EXPECT_EQ(reply->Resolution, 1024u);
}

TEST(ReplyParsersTest, CoefficientReplyIsTheSingleBitForBit) {
  const Bytes report{115, 3, 0x00, 0x00, 0x20, 0xC0, 0xEE};
  const auto reply = ParseCoefficientReply(report.data(), report.size());
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Channel, 3);
  EXPECT_EQ(reply->Coefficient, -2.5f);
}

TEST(ReplyParsersTest, ZeroMarkerIsASignedByteAndTheChannelIsNotChecked) {
  const Bytes report{117, 9, 0xFF};
  const auto reply = ParseZeroMarkerReply(report.data(), report.size());
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Channel, 9);
  EXPECT_EQ(reply->Position, -1);
}

TEST(ReplyParsersTest, OutputsRepliesDecodeTheHalfAfterTheCode) {
  OutputsFirstHalf first;
  first.Entries[4] = {1, 13, 7.0f};
  OutputsSecondHalf second;
  second.Entries[1] = {11, -4.0f, 1};
  const auto firstBytes = EncodeOutputsFirstHalf(first);
  const auto secondBytes = EncodeOutputsSecondHalf(second);
  Bytes report{108};
  report.insert(report.end(), firstBytes.begin(), firstBytes.end());
  const auto firstBack = ParseOutputsFirstReply(report.data(), report.size());
  ASSERT_TRUE(firstBack.has_value());
  EXPECT_EQ(firstBack->Entries[4].Enable, 1);
  EXPECT_EQ(firstBack->Entries[4].Selector, 13);
  EXPECT_EQ(firstBack->Entries[4].Threshold, 7.0f);

  report = {113};
  report.insert(report.end(), secondBytes.begin(), secondBytes.end());
  const auto secondBack = ParseOutputsSecondReply(report.data(), report.size());
  ASSERT_TRUE(secondBack.has_value());
  EXPECT_EQ(secondBack->Entries[1].Selector, 11);
  EXPECT_EQ(secondBack->Entries[1].SecondThreshold, -4.0f);
  EXPECT_EQ(secondBack->Entries[1].State, 1);
}

struct ParserCase {
  std::string Name;
  std::size_t Needed;
  std::function<bool(const std::uint8_t*, std::size_t)> Parses;
};

void PrintTo(const ParserCase& c, std::ostream* os) { *os << c.Name; }

class ShortReplyTest : public ::testing::TestWithParam<ParserCase> {};

TEST_P(ShortReplyTest, AcceptsExactlyFromTheLayoutSizeOn) {
  const ParserCase& c = GetParam();
  for (std::size_t size = 0; size <= c.Needed + 1; ++size) {
    auto exact = std::make_unique<std::uint8_t[]>(size);  // exact allocation: overreads show under ASan
    std::fill_n(exact.get(), size, std::uint8_t{0x5A});
    EXPECT_EQ(c.Parses(exact.get(), size), size >= c.Needed) << "size " << size;
  }
  EXPECT_FALSE(c.Parses(nullptr, c.Needed));
}

INSTANTIATE_TEST_SUITE_P(
    Parsers, ShortReplyTest,
    ::testing::Values(
        ParserCase{"Resolution", 6, [](auto d, auto s) { return ParseResolutionReply(d, s).has_value(); }},
        ParserCase{"Coefficient", 6, [](auto d, auto s) { return ParseCoefficientReply(d, s).has_value(); }},
        ParserCase{"ZeroMarker", 3, [](auto d, auto s) { return ParseZeroMarkerReply(d, s).has_value(); }},
        ParserCase{"OutputsFirst", 31,
                   [](auto d, auto s) { return ParseOutputsFirstReply(d, s).has_value(); }},
        ParserCase{"OutputsSecond", 31,
                   [](auto d, auto s) { return ParseOutputsSecondReply(d, s).has_value(); }}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace kvelt
