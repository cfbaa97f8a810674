#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "device/sim/SimulatedCounterModel.h"
#include "protocol/ChannelFrame.h"
#include "protocol/ReportBuilders.h"

namespace kvelt::hid::sim {
namespace {

using namespace std::chrono_literals;
using TimePoint = SimulatedCounterModel::TimePoint;

// The model on its own, with time given: positions, speeds and the clear.
TEST(SimulatedCounterModelTest, PositionFollowsTimeAndClearRestartsIt) {
  const TimePoint t0{};
  SimulatedCounterModel model(t0);
  for (int c = 0; c < 4; ++c) {
    EXPECT_FLOAT_EQ(model.SpeedOf(c), 0.5f * static_cast<float>(c + 1));
    EXPECT_FLOAT_EQ(model.PositionAt(c, t0 + 2s), 1.0f * static_cast<float>(c + 1));
  }
  const auto clear = BuildClearPosition(2);
  std::vector<std::uint8_t> request{clear.Code};
  request.insert(request.end(), clear.Payload.begin(), clear.Payload.end());
  EXPECT_EQ(model.HandleRequest(request.data(), request.size(), t0 + 10s), (std::vector<std::uint8_t>{106}));
  EXPECT_FLOAT_EQ(model.PositionAt(2, t0 + 10s), 0.0f);
  EXPECT_FLOAT_EQ(model.PositionAt(2, t0 + 12s), 3.0f);
  EXPECT_FLOAT_EQ(model.PositionAt(1, t0 + 12s), 12.0f) << "other channels keep counting";
  const ChannelFrame frame = model.Frame(3, t0 + 1s);
  EXPECT_EQ(frame.Code, 103);
  EXPECT_EQ(frame.Raw1, 8000u) << "two turns of 4000 edges";
  EXPECT_EQ(frame.Raw2, 8000u) << "edges within the 1000 ms gate";
  EXPECT_EQ(frame.Raw3, 0u) << "no zero marker in use";
}

TEST(SimulatedCounterModelTest, ShortRequestsCountMissingBytesAsZero) {
  SimulatedCounterModel model(TimePoint{});
  const std::uint8_t request[] = {114};
  EXPECT_EQ(model.HandleRequest(request, 1, TimePoint{}),
            (std::vector<std::uint8_t>{114, 0, 0xA0, 0x0F, 0, 0}));
  const std::uint8_t unknown[] = {99, 1, 2};
  EXPECT_TRUE(model.HandleRequest(unknown, 3, TimePoint{}).empty());
}

}  // namespace
}  // namespace kvelt::hid::sim
