#include <gtest/gtest.h>

#include <array>

#include "device/sim/CounterOutputRules.h"
#include "protocol/OutputsConfig.h"
#include "protocol/Selector.h"

namespace kvelt::hid::sim {
namespace {

struct OutputCase {
  const char* Name;
  OutputFirstEntry First;
  OutputSecondEntry Second;
  std::array<float, 4> Positions;
  bool On;
};

class OutputRulesTest : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputRulesTest, OutputThreeFollowsItsRule) {
  const OutputCase& c = GetParam();
  OutputsFirstHalf first;
  OutputsSecondHalf second;
  first.Entries[2] = c.First;
  second.Entries[2] = c.Second;
  EXPECT_EQ(ComputeOutputState(first, second, c.Positions), c.On ? 0x04 : 0x00);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, OutputRulesTest,
    ::testing::Values(OutputCase{"DisabledStaysOff", {0, 1, 5.0f}, {0, 0, 1}, {0, 10, 0, 0}, false},
                      OutputCase{"EnableFlagMustBeOne", {2, 1, 5.0f}, {0, 0, 1}, {0, 10, 0, 0}, false},
                      OutputCase{"LargerHolds", {1, 11, 5.0f}, {0, 0, 1}, {0, 10, 0, 0}, true},
                      OutputCase{"LargerFails", {1, 11, 50.0f}, {0, 0, 1}, {0, 10, 0, 0}, false},
                      OutputCase{"SmallerOnChannelFour", {1, 3, 5.0f}, {0, 0, 1}, {0, 0, 0, 1}, true},
                      OutputCase{"InactiveInverts", {1, 11, 5.0f}, {0, 0, 0}, {0, 10, 0, 0}, false},
                      OutputCase{
                          "AndBothLargerFails", {1, 11, 100.0f}, {11, 200.0f, 1}, {0, 150, 0, 0}, false},
                      OutputCase{"AndLargerSmaller", {1, 11, 100.0f}, {1, 200.0f, 1}, {0, 150, 0, 0}, true},
                      OutputCase{"AndOutsideWindow", {1, 11, 100.0f}, {1, 200.0f, 1}, {0, 250, 0, 0}, false},
                      OutputCase{"OrEitherSide", {1, 1, -1.0f}, {12, 10.0f, 1}, {0, 20, 0, 0}, true},
                      OutputCase{"OrNeither", {1, 1, -1.0f}, {12, 10.0f, 1}, {0, 5, 0, 0}, false},
                      OutputCase{"SourceOutsideList", {1, 4, 5.0f}, {0, 0, 1}, {0, 0, 0, 0}, false},
                      OutputCase{"LogicOutsideList", {1, 11, 5.0f}, {3, 0, 1}, {0, 10, 0, 0}, false}),
    [](const ::testing::TestParamInfo<OutputCase>& info) { return info.param.Name; });

TEST(CounterOutputRulesTest, EachOutputHasItsOwnBit) {
  OutputsFirstHalf first;
  OutputsSecondHalf second;
  for (std::size_t k = 0; k < 5; ++k) {
    first.Entries[k] = {1, EncodeSelector(0, 1), static_cast<float>(k)};  // position 1 > k
    second.Entries[k].State = 1;
  }
  EXPECT_EQ(ComputeOutputState(first, second, {2.5f, 0, 0, 0}), 0x07);
  EXPECT_EQ(ComputeOutputState(first, second, {9.0f, 0, 0, 0}), 0x1F);
}

}  // namespace
}  // namespace kvelt::hid::sim
