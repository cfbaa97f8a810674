#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "device/linux/SysfsValues.h"

namespace kvelt::hid {
namespace {

struct HidIdCase {
  std::string Name;
  std::string Text;
  std::optional<HidIdProperty> Expected;
};

class HidIdParsing : public ::testing::TestWithParam<HidIdCase> {};

TEST_P(HidIdParsing, ReadsBusVendorAndProduct) {
  const auto& c = GetParam();
  const auto parsed = ParseHidIdProperty(c.Text);
  ASSERT_EQ(parsed.has_value(), c.Expected.has_value()) << c.Text;
  if (!parsed) return;
  EXPECT_EQ(parsed->Bus, c.Expected->Bus);
  EXPECT_EQ(parsed->VendorID, c.Expected->VendorID);
  EXPECT_EQ(parsed->ProductID, c.Expected->ProductID);
}

INSTANTIATE_TEST_SUITE_P(
    LinuxSysfsValues, HidIdParsing,
    ::testing::Values(
        HidIdCase{"UsbMouseReceiver", "0003:0000046D:0000C52B", HidIdProperty{3, 0x046D, 0xC52B}},
        HidIdCase{"Bluetooth", "0005:0000054C:000009CC", HidIdProperty{5, 0x054C, 0x09CC}},
        HidIdCase{"I2c", "0018:000004F3:00002A3C", HidIdProperty{0x18, 0x04F3, 0x2A3C}},
        HidIdCase{"LowerCaseHex", "0003:0000ffff:00000001", HidIdProperty{3, 0xFFFF, 1}},
        HidIdCase{"VendorBeyond16Bits", "0003:00010000:00000001", std::nullopt},  // beyond 16 bits
        HidIdCase{"MissingProduct", "0003:0000046D", std::nullopt},
        HidIdCase{"EmptyVendor", "0003::0000C52B", std::nullopt},
        HidIdCase{"TrailingSeparator", "0003:0000046D:0000C52B:", std::nullopt},
        HidIdCase{"SignedField", "0003:-000046D:0000C52B", std::nullopt},
        HidIdCase{"TrailingGarbage", "0003:0000046D:C52Bx", std::nullopt},
        HidIdCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return info.param.Name; });

TEST(LinuxSysfsValues, ReadsHexAttributes) {
  EXPECT_EQ(ParseSysfsHex16("046d"), 0x046D);
  EXPECT_EQ(ParseSysfsHex16("0102\n"), 0x0102);
  EXPECT_EQ(ParseSysfsHex16("FFFF"), 0xFFFF);
  EXPECT_EQ(ParseSysfsHex16("10000"), std::nullopt);
  EXPECT_EQ(ParseSysfsHex16("12 "), std::nullopt);
  EXPECT_EQ(ParseSysfsHex16("\n"), std::nullopt);
  EXPECT_EQ(ParseSysfsHex16(""), std::nullopt);
}

}  // namespace
}  // namespace kvelt::hid
