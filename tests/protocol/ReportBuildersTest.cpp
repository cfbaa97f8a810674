#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/ReportBuilders.h"
#include "protocol/Selector.h"

namespace kvelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BuilderCase {
  std::string Name;
  std::function<OutboundReport()> Build;
  std::uint8_t Code;
  Bytes Payload;  // exactly what goes to SendReport after the code
};

void PrintTo(const BuilderCase& c, std::ostream* os) { *os << c.Name; }

class ReportBuilderTest : public ::testing::TestWithParam<BuilderCase> {};

TEST_P(ReportBuilderTest, YieldsCodeAndExactPayload) {
  const OutboundReport report = GetParam().Build();
  EXPECT_EQ(report.Code, GetParam().Code);
  EXPECT_EQ(report.Payload, GetParam().Payload);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ReportBuilderTest,
    ::testing::Values(
        BuilderCase{"Resolution1000Channel1",
                    [] { return BuildSetResolution(0, 1000); },
                    104,
                    {0x00, 0xA0, 0x0F, 0x00, 0x00}},
        BuilderCase{"Resolution65535Channel4",
                    [] { return BuildSetResolution(3, 65535); },
                    104,
                    {0x03, 0xFC, 0xFF, 0x03, 0x00}},
        BuilderCase{
            "Coefficient", [] { return BuildSetCoefficient(2, 1.5f); }, 105, {0x02, 0x00, 0x00, 0xC0, 0x3F}},
        BuilderCase{"ClearPosition", [] { return BuildClearPosition(3); }, 106, {0x03}},
        BuilderCase{"ReadOutputsFirst", [] { return BuildReadOutputsFirst(); }, 108, {}},
        BuilderCase{"ModbusAddress247", [] { return BuildSetModbusAddress(247); }, 109, {0xF7}},
        BuilderCase{"GateTime50000", [] { return BuildSetGateTime(50000); }, 110, {0x50, 0xC3, 0x00, 0x00}},
        BuilderCase{"GateTime50", [] { return BuildSetGateTime(50); }, 110, {0x32, 0x00, 0x00, 0x00}},
        BuilderCase{"BaudRate115200", [] { return BuildSetModbusBaudRate(3); }, 111, {0x03}},
        BuilderCase{"ReadOutputsSecond", [] { return BuildReadOutputsSecond(); }, 113, {}},
        BuilderCase{"GetResolution", [] { return BuildGetResolution(1); }, 114, {0x01}},
        BuilderCase{"GetCoefficient", [] { return BuildGetCoefficient(2); }, 115, {0x02}},
        BuilderCase{"SetZeroMarker", [] { return BuildSetZeroMarker(3, 1); }, 116, {0x03, 0x01}},
        BuilderCase{"GetZeroMarker", [] { return BuildGetZeroMarker(0); }, 117, {0x00}}),
    [](const auto& info) { return info.param.Name; });

TEST(ReportBuildersTest, WriteOutputsFirstCarriesTheWholeHalf) {
  OutputsFirstHalf half;
  // Output 1 used, source "Pozycja [2]" (list position 1), comparison "larger", threshold 100.
  half.Entries[0] = {1, EncodeSelector(1, 1), 100.0f};
  const OutboundReport report = BuildWriteOutputsFirst(half);
  EXPECT_EQ(report.Code, 107);
  ASSERT_EQ(report.Payload.size(), 30u);
  EXPECT_EQ(Bytes(report.Payload.begin(), report.Payload.begin() + 6),
            (Bytes{0x01, 0x0B, 0x00, 0x00, 0xC8, 0x42}));
  EXPECT_EQ(Bytes(report.Payload.begin() + 6, report.Payload.end()), Bytes(24, 0));
}

TEST(ReportBuildersTest, WriteOutputsSecondOfAnUntouchedHalfIsThirtyZeros) {
  const OutboundReport report = BuildWriteOutputsSecond(OutputsSecondHalf{});
  EXPECT_EQ(report.Code, 112);
  EXPECT_EQ(report.Payload, Bytes(30, 0));
}

}  // namespace
}  // namespace kvelt
