#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "config/DeviceCommands.h"
#include "config/LocaleNumber.h"
#include "config/SenderChannel.h"
#include "tests/config/ReportBytes.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ReportBytes;

TEST(DeviceCommandsTest, ClearPositionThreeSendsChannelByteTwo) {
  const std::optional<int> channel = ChannelFromSenderName("button_clear2");  // "Zeruj pozycję 3"
  ASSERT_TRUE(channel);
  EXPECT_EQ(ReportBytes(ClearPositionRequest(*channel)), (Bytes{106, 2}));
}

TEST(DeviceCommandsTest, GateTimeLabelsShowTheSecondsThatAreSent) {
  const auto& labels = GateTimeLabels();
  for (int position = 0; position < kGateTimeCount; ++position) {
    const std::string_view label = labels[static_cast<std::size_t>(position)];
    ASSERT_TRUE(label.ends_with("   [s]")) << label;
    const auto seconds = ParseLocaleReal(label.substr(0, label.size() - 6), ",");
    ASSERT_TRUE(seconds) << label;
    const auto milliseconds = GateTimeMilliseconds(position);
    ASSERT_TRUE(milliseconds) << position;
    EXPECT_DOUBLE_EQ(*seconds * 1000.0, static_cast<double>(*milliseconds)) << label;
  }
  EXPECT_EQ(labels[2], "0,05   [s]");
}

struct ListRequestCase {
  std::optional<OutboundReport> (*Request)(int);
  int Position;
  std::optional<Bytes> Expected;
};

class ListRequestTest : public testing::TestWithParam<ListRequestCase> {};

TEST_P(ListRequestTest, SendsTheValueOfTheSelectedItem) {
  const auto report = GetParam().Request(GetParam().Position);
  EXPECT_EQ(report ? std::optional<Bytes>(ReportBytes(*report)) : std::nullopt, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ListRequestTest,
                         testing::Values(ListRequestCase{GateTimeRequest, 11,
                                                         Bytes{110, 0x50, 0xC3, 0x00, 0x00}},
                                         ListRequestCase{GateTimeRequest, 0, Bytes{110, 10, 0, 0, 0}},
                                         ListRequestCase{GateTimeRequest, 2, Bytes{110, 50, 0, 0, 0}},
                                         ListRequestCase{GateTimeRequest, 12, std::nullopt},
                                         ListRequestCase{GateTimeRequest, -1, std::nullopt},
                                         ListRequestCase{ModbusAddressRequest, 0, Bytes{109, 1}},
                                         ListRequestCase{ModbusAddressRequest, 246, Bytes{109, 247}},
                                         ListRequestCase{ModbusAddressRequest, 247, std::nullopt},
                                         ListRequestCase{ModbusAddressRequest, -1, std::nullopt},
                                         ListRequestCase{ModbusBaudRateRequest, 3, Bytes{111, 3}},
                                         ListRequestCase{ModbusBaudRateRequest, 0, Bytes{111, 0}},
                                         ListRequestCase{ModbusBaudRateRequest, 4, std::nullopt}));

TEST(DeviceCommandsTest, ListItemsMatchWhatIsSent) {
  const auto addresses = ModbusAddressLabels();
  EXPECT_EQ(addresses.front(), "1");
  EXPECT_EQ(addresses[99], "100");
  EXPECT_EQ(addresses.back(), "247");
  const auto& rates = ModbusBaudRateLabels();
  EXPECT_EQ(rates[3], "115200");
  EXPECT_EQ(rates[0], "19200");
}

}  // namespace
}  // namespace kvelt
