#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "protocol/OutputsConfig.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

OutputsFirstHalf DistinctFirstHalf() {
  OutputsFirstHalf half;
  for (std::size_t k = 0; k < 5; ++k) {
    half.Entries[k] = {static_cast<std::uint8_t>(k % 2), static_cast<std::uint8_t>(10 + k),
                       -1.25f * static_cast<float>(k + 1)};
  }
  return half;
}

OutputsSecondHalf DistinctSecondHalf() {
  OutputsSecondHalf half;
  for (std::size_t k = 0; k < 5; ++k) {
    half.Entries[k] = {static_cast<std::uint8_t>(k), 1000.5f + static_cast<float>(k),
                       static_cast<std::uint8_t>((k + 1) % 2)};
  }
  return half;
}

// Payload byte n of codes 107/108/112/113 is byte n - 1 of the half.
std::size_t Half(std::size_t payloadByte) { return payloadByte - 1; }

TEST(OutputsConfigTest, FirstHalfPutsOutputKAtPayloadByteSixKMinusFive) {
  const auto bytes = EncodeOutputsFirstHalf(DistinctFirstHalf());
  // Output 3: enable at payload byte 13, selector 14, threshold 15..18.
  EXPECT_EQ(bytes[Half(13)], 0);
  EXPECT_EQ(bytes[Half(14)], 12);
  EXPECT_EQ(Bytes(bytes.begin() + Half(15), bytes.begin() + Half(19)),
            (Bytes{0x00, 0x00, 0x70, 0xC0}));  // -3.75
  // Output 5 closes the half.
  EXPECT_EQ(bytes[Half(25)], 0);
  EXPECT_EQ(bytes[Half(26)], 14);
}

TEST(OutputsConfigTest, SecondHalfPutsStateAfterTheThreshold) {
  const auto bytes = EncodeOutputsSecondHalf(DistinctSecondHalf());
  // Output 3: selector at payload byte 13, second threshold 14..17, state 18.
  EXPECT_EQ(bytes[Half(13)], 2);
  EXPECT_EQ(Bytes(bytes.begin() + Half(14), bytes.begin() + Half(18)),
            (Bytes{0x00, 0xA0, 0x7A, 0x44}));  // 1002.5
  EXPECT_EQ(bytes[Half(18)], 1);
  EXPECT_EQ(bytes[Half(30)], 1);  // output 5's state
}

TEST(OutputsConfigTest, HalvesRoundTripFromAnOddAddress) {
  const OutputsFirstHalf first = DistinctFirstHalf();
  const OutputsSecondHalf second = DistinctSecondHalf();
  const auto firstBytes = EncodeOutputsFirstHalf(first);
  const auto secondBytes = EncodeOutputsSecondHalf(second);
  Bytes buffer(1 + 30, 0xAA);
  std::copy(firstBytes.begin(), firstBytes.end(), buffer.begin() + 1);
  const OutputsFirstHalf firstBack = DecodeOutputsFirstHalf(buffer.data() + 1);
  std::copy(secondBytes.begin(), secondBytes.end(), buffer.begin() + 1);
  const OutputsSecondHalf secondBack = DecodeOutputsSecondHalf(buffer.data() + 1);
  for (std::size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(firstBack.Entries[k].Enable, first.Entries[k].Enable);
    EXPECT_EQ(firstBack.Entries[k].Selector, first.Entries[k].Selector);
    EXPECT_EQ(firstBack.Entries[k].Threshold, first.Entries[k].Threshold);
    EXPECT_EQ(secondBack.Entries[k].Selector, second.Entries[k].Selector);
    EXPECT_EQ(secondBack.Entries[k].SecondThreshold, second.Entries[k].SecondThreshold);
    EXPECT_EQ(secondBack.Entries[k].State, second.Entries[k].State);
  }
}

TEST(OutputsConfigTest, DecodingKeepsFlagBytesAsReceived) {
  // The receiver decides that only 1 means "used"; the decoder must not normalise other values.
  Bytes bytes(30, 0);
  bytes[0] = 2;
  bytes[5] = 0xFF;
  EXPECT_EQ(DecodeOutputsFirstHalf(bytes.data()).Entries[0].Enable, 2);
  EXPECT_EQ(DecodeOutputsSecondHalf(bytes.data()).Entries[0].State, 0xFF);
}

}  // namespace
}  // namespace kvelt
