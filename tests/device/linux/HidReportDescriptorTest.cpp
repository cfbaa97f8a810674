#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "device/linux/HidReportDescriptor.h"

namespace kvelt::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct DescriptorCase {
  std::string Name;
  Bytes Descriptor;
  std::uint16_t Input;
  std::uint16_t Output;
  std::uint16_t Feature;
  bool UsesIds;
};

// Vendor-defined page, report id 1, 64 data bytes each way: the counter's own shape.
const Bytes kVendor64WithId1 = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x09, 0x02,        //   Usage (2)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x81, 0x02,        //   Input (Data, Var, Abs)
    0x09, 0x03,        //   Usage (3)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x91, 0x02,        //   Output (Data, Var, Abs)
    0xC0,              // End Collection
};

// The boot keyboard of the HID class definition, appendix B.1: no report ids.
const Bytes kBootKeyboard = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x05, 0x07,  //   Usage Page (Key Codes)
    0x19, 0xE0,  //   Usage Minimum (224)
    0x29, 0xE7,  //   Usage Maximum (231)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Var, Abs): modifier byte
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x08,  //   Report Size (8)
    0x81, 0x01,  //   Input (Constant): reserved byte
    0x95, 0x05,  //   Report Count (5)
    0x75, 0x01,  //   Report Size (1)
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (1)
    0x29, 0x05,  //   Usage Maximum (5)
    0x91, 0x02,  //   Output (Data, Var, Abs): LED report
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x03,  //   Report Size (3)
    0x91, 0x01,  //   Output (Constant): LED report padding
    0x95, 0x06,  //   Report Count (6)
    0x75, 0x08,  //   Report Size (8)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (101)
    0x05, 0x07,  //   Usage Page (Key Codes)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (101)
    0x81, 0x00,  //   Input (Data, Array): key array
    0xC0,        // End Collection
};

// The three-button boot mouse of appendix B.2 / E.10: input only, no ids.
const Bytes kBootMouse = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x02,  // Usage (Mouse)
    0xA1, 0x01,  // Collection (Application)
    0x09, 0x01,  //   Usage (Pointer)
    0xA1, 0x00,  //   Collection (Physical)
    0x05, 0x09,  //     Usage Page (Buttons)
    0x19, 0x01,  //     Usage Minimum (1)
    0x29, 0x03,  //     Usage Maximum (3)
    0x15, 0x00,  //     Logical Minimum (0)
    0x25, 0x01,  //     Logical Maximum (1)
    0x95, 0x03,  //     Report Count (3)
    0x75, 0x01,  //     Report Size (1)
    0x81, 0x02,  //     Input (Data, Var, Abs)
    0x95, 0x01,  //     Report Count (1)
    0x75, 0x05,  //     Report Size (5)
    0x81, 0x01,  //     Input (Constant)
    0x05, 0x01,  //     Usage Page (Generic Desktop)
    0x09, 0x30,  //     Usage (X)
    0x09, 0x31,  //     Usage (Y)
    0x15, 0x81,  //     Logical Minimum (-127)
    0x25, 0x7F,  //     Logical Maximum (127)
    0x75, 0x08,  //     Report Size (8)
    0x95, 0x02,  //     Report Count (2)
    0x81, 0x06,  //     Input (Data, Var, Rel)
    0xC0,        //   End Collection
    0xC0,        // End Collection
};

// A wireless mouse receiver's mouse interface: mouse, consumer and system
// control reports with ids 2, 3 and 4, and a vendor feature report 0x10.
const Bytes kMultiReportMouse = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x02,        //   Report ID (2)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Buttons)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x10,        //     Usage Maximum (16)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x95, 0x10,        //     Report Count (16)
    0x75, 0x01,        //     Report Size (1)
    0x81, 0x02,        //     Input (Data, Var, Abs): 16 bits
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x16, 0x01, 0xF8,  //     Logical Minimum (-2047)
    0x26, 0xFF, 0x07,  //     Logical Maximum (2047)
    0x75, 0x0C,        //     Report Size (12)
    0x95, 0x02,        //     Report Count (2)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x81, 0x06,        //     Input (Data, Var, Rel): 24 bits
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x09, 0x38,        //     Usage (Wheel)
    0x81, 0x06,        //     Input (Data, Var, Rel): 8 bits
    0x05, 0x0C,        //     Usage Page (Consumer)
    0x0A, 0x38, 0x02,  //     Usage (AC Pan)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x06,        //     Input (Data, Var, Rel): 8 bits
    0xC0,              //   End Collection
    0xC0,              // End Collection
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x02,        //   Report Count (2)
    0x15, 0x01,        //   Logical Minimum (1)
    0x26, 0xFF, 0x02,  //   Logical Maximum (767)
    0x19, 0x01,        //   Usage Minimum (1)
    0x2A, 0xFF, 0x02,  //   Usage Maximum (767)
    0x81, 0x00,        //   Input (Data, Array): 32 bits
    0xC0,              // End Collection
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x80,        // Usage (System Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x75, 0x02,        //   Report Size (2)
    0x95, 0x01,        //   Report Count (1)
    0x15, 0x01,        //   Logical Minimum (1)
    0x25, 0x03,        //   Logical Maximum (3)
    0x09, 0x82,        //   Usage (System Sleep)
    0x09, 0x81,        //   Usage (System Power Down)
    0x09, 0x83,        //   Usage (System Wake Up)
    0x81, 0x60,        //   Input (Data, Array, No Preferred, Null State)
    0x75, 0x06,        //   Report Size (6)
    0x81, 0x03,        //   Input (Constant, Var): padding
    0xC0,              // End Collection
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x10,        //   Report ID (16)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x06,        //   Report Count (6)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x09, 0x01,        //   Usage (1)
    0xB1, 0x00,        //   Feature (Data, Array)
    0xC0,              // End Collection
};

// A gamepad without report ids whose input is not a whole number of bytes
// (4 x 8-bit axes, 10 buttons, 4-bit hat: 46 bits) and a 4-byte rumble output.
const Bytes kGamepadNoIds = {
    0x05, 0x01,              // Usage Page (Generic Desktop)
    0x09, 0x05,              // Usage (Game Pad)
    0xA1, 0x01,              // Collection (Application)
    0x09, 0x30, 0x09, 0x31,  //   Usage (X), Usage (Y)
    0x09, 0x32, 0x09, 0x35,  //   Usage (Z), Usage (Rz)
    0x15, 0x00,              //   Logical Minimum (0)
    0x26, 0xFF, 0x00,        //   Logical Maximum (255)
    0x75, 0x08,              //   Report Size (8)
    0x95, 0x04,              //   Report Count (4)
    0x81, 0x02,              //   Input: 32 bits
    0x05, 0x09,              //   Usage Page (Buttons)
    0x19, 0x01, 0x29, 0x0A,  //   Usage Minimum (1), Maximum (10)
    0x25, 0x01,              //   Logical Maximum (1)
    0x75, 0x01,              //   Report Size (1)
    0x95, 0x0A,              //   Report Count (10)
    0x81, 0x02,              //   Input: 10 bits
    0x05, 0x01,              //   Usage Page (Generic Desktop)
    0x09, 0x39,              //   Usage (Hat Switch)
    0x25, 0x07,              //   Logical Maximum (7)
    0x75, 0x04,              //   Report Size (4)
    0x95, 0x01,              //   Report Count (1)
    0x81, 0x42,              //   Input (Null State): 4 bits
    0x06, 0x00, 0xFF,        //   Usage Page (Vendor)
    0x09, 0x01,              //   Usage (1)
    0x26, 0xFF, 0x00,        //   Logical Maximum (255)
    0x75, 0x08,              //   Report Size (8)
    0x95, 0x04,              //   Report Count (4)
    0x91, 0x02,              //   Output: 32 bits
    0xC0,                    // End Collection
};

// Push keeps size 8 x count 4 and report id 1 while report 2 is described
// with other sizes; after Pop report 1 gets another 32 bits.
const Bytes kPushPop = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x04,        //   Report Count (4)
    0x81, 0x02,        //   Input: report 1, 32 bits
    0xA4,              //   Push
    0x85, 0x02,        //   Report ID (2)
    0x75, 0x01,        //   Report Size (1)
    0x95, 0x03,        //   Report Count (3)
    0x81, 0x02,        //   Input: report 2, 3 bits
    0x91, 0x02,        //   Output: report 2, 3 bits
    0xB4,              //   Pop
    0x81, 0x02,        //   Input: report 1, 32 more bits
    0xC0,              // End Collection
};

// Long items (prefix 0xFE, size, tag, data) whose data looks like short items
// that would change the sizes if the parser stepped into them.
const Bytes kLongItems = {
    0x06, 0x00, 0xFF,                          // Usage Page (Vendor)
    0xA1, 0x01,                                // Collection (Application)
    0x75, 0x08,                                //   Report Size (8)
    0xFE, 0x04, 0xF0, 0x95, 0x7F, 0x81, 0x02,  // long item: "Report Count 127, Input" as data
    0x95, 0x02,                                //   Report Count (2)
    0xFE, 0x00, 0xF1,                          //   empty long item
    0x81, 0x02,                                //   Input: 16 bits
    0xFE, 0x02, 0xF2, 0x91, 0x02,              //   long item: "Output" as data
    0xC0,                                      // End Collection
};

// Items before the first Report ID belong to report 0; the lengths are the
// longest report with its id byte, whichever id that is.
const Bytes kMixedIds = {
    0x75, 0x08, 0x95, 0x0A, 0x81, 0x02,  // report 0: 10 bytes
    0x85, 0x05, 0x95, 0x03, 0x81, 0x02,  // report 5: 3 bytes
};

// Four-byte data items, the largest report sizes a descriptor can state.
const Bytes kHugeSizes = {
    0x77, 0xFF, 0xFF, 0xFF, 0xFF,  // Report Size (0xFFFFFFFF)
    0x97, 0xFF, 0xFF, 0xFF, 0xFF,  // Report Count (0xFFFFFFFF)
    0x81, 0x02, 0x81, 0x02,        // Input twice: far beyond any real report
    0x75, 0x08, 0x95, 0x01, 0x91, 0x02,
};

std::vector<DescriptorCase> WellFormedCases() {
  return {
      {"Vendor64WithReportId1", kVendor64WithId1, 65, 65, 0, true},
      {"BootKeyboard", kBootKeyboard, 9, 2, 0, false},
      {"BootMouse", kBootMouse, 4, 0, 0, false},
      {"MultiReportMouse", kMultiReportMouse, 8, 0, 7, true},
      {"GamepadNoIds", kGamepadNoIds, 7, 5, 0, false},
      {"PushPop", kPushPop, 9, 2, 0, true},
      {"LongItems", kLongItems, 3, 0, 0, false},
      {"MixedIds", kMixedIds, 11, 0, 0, true},
      {"HugeSizesSaturate", kHugeSizes, 65535, 2, 0, false},
      {"Empty", {}, 0, 0, 0, false},
      {"CollectionsOnly", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0}, 0, 0, 0, false},
      // A declared report with no bits still exists: just its id byte.
      {"ZeroBitReport", {0x85, 0x07, 0x81, 0x02}, 1, 0, 0, true},
  };
}

class WellFormedDescriptor : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(WellFormedDescriptor, GivesWindowsReportLengths) {
  const auto& c = GetParam();
  const auto parsed = HidReportDescriptor::Parse(c.Descriptor.data(), c.Descriptor.size());
  EXPECT_TRUE(parsed.IsWellFormed());
  EXPECT_EQ(parsed.InputReportByteLength(), c.Input);
  EXPECT_EQ(parsed.OutputReportByteLength(), c.Output);
  EXPECT_EQ(parsed.FeatureReportByteLength(), c.Feature);
  EXPECT_EQ(parsed.UsesReportIds(), c.UsesIds);
}

INSTANTIATE_TEST_SUITE_P(LinuxHidReportDescriptor, WellFormedDescriptor,
                         ::testing::ValuesIn(WellFormedCases()),
                         [](const auto& info) { return info.param.Name; });

TEST(LinuxHidReportDescriptor, SumsBitsPerReportTypeAndId) {
  const auto parsed = HidReportDescriptor::Parse(kMultiReportMouse.data(), kMultiReportMouse.size());
  EXPECT_EQ(parsed.ReportBits(HidReportKind::Input, 2), 56u);
  EXPECT_EQ(parsed.ReportBits(HidReportKind::Input, 3), 32u);
  EXPECT_EQ(parsed.ReportBits(HidReportKind::Input, 4), 8u);
  EXPECT_EQ(parsed.ReportBits(HidReportKind::Feature, 0x10), 48u);
  EXPECT_EQ(parsed.ReportBits(HidReportKind::Input, 0x10), 0u);
  EXPECT_EQ(parsed.ReportBits(HidReportKind::Output, 2), 0u);

  const auto pushPop = HidReportDescriptor::Parse(kPushPop.data(), kPushPop.size());
  EXPECT_EQ(pushPop.ReportBits(HidReportKind::Input, 1), 64u);
  EXPECT_EQ(pushPop.ReportBits(HidReportKind::Input, 2), 3u);
  EXPECT_EQ(pushPop.ReportBits(HidReportKind::Output, 2), 3u);
  EXPECT_EQ(pushPop.ReportBits(HidReportKind::Output, 1), 0u);
}

struct MalformedCase {
  std::string Name;
  Bytes Descriptor;
  std::uint16_t Input;  // what was gathered before the fault
};

std::vector<MalformedCase> MalformedCases() {
  Bytes cutInItem(kVendor64WithId1.begin(),
                  kVendor64WithId1.begin() + 28);  // inside the second Logical Maximum
  Bytes cutInLongItem = {0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xFE, 0x10, 0xF0, 0x01, 0x02};
  Bytes deepPush(200, 0xA4);
  return {
      {"CutInsideShortItem", cutInItem, 65},
      {"CutInsideLongItemData", cutInLongItem, 3},
      {"CutInsideLongItemHeader", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xFE, 0x05}, 2},
      {"CutBeforeFourByteData", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x97, 0x01, 0x00}, 2},
      {"PopWithoutPush", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xB4, 0x95, 0x10, 0x81, 0x02}, 2},
      {"ReportIdZero", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x00, 0x95, 0x10, 0x81, 0x02}, 2},
      {"ReportIdBeyondOneByte", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x86, 0x01, 0x01, 0x81, 0x02}, 2},
      {"PushesWithoutEnd", deepPush, 0},
  };
}

class MalformedDescriptor : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedDescriptor, KeepsWhatPrecedesTheFault) {
  const auto& c = GetParam();
  const auto parsed = HidReportDescriptor::Parse(c.Descriptor.data(), c.Descriptor.size());
  EXPECT_FALSE(parsed.IsWellFormed());
  EXPECT_EQ(parsed.InputReportByteLength(), c.Input);
}

INSTANTIATE_TEST_SUITE_P(LinuxHidReportDescriptor, MalformedDescriptor, ::testing::ValuesIn(MalformedCases()),
                         [](const auto& info) { return info.param.Name; });

TEST(LinuxHidReportDescriptor, EveryPrefixOfARealDescriptorParsesSafely) {
  // Each cut either ends between items (well formed) or inside one (flagged); never beyond the input.
  for (std::size_t n = 0; n <= kMultiReportMouse.size(); ++n) {
    Bytes prefix(kMultiReportMouse.begin(), kMultiReportMouse.begin() + static_cast<std::ptrdiff_t>(n));
    const auto parsed = HidReportDescriptor::Parse(prefix.data(), prefix.size());
    EXPECT_LE(parsed.InputReportByteLength(), 8) << "prefix of " << n << " bytes";
  }
}

TEST(LinuxHidReportDescriptor, RandomBytesNeitherCrashNorHang) {
  std::mt19937 random(20240607);
  for (int i = 0; i < 5000; ++i) {
    Bytes bytes(random() % 512);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    // Under the sanitizers a read past the input shows here.
    const auto parsed = HidReportDescriptor::Parse(bytes.data(), bytes.size());
    // The longest report bounds report 0 from above, up to the 16-bit ceiling.
    const std::uint64_t report0Bytes = (parsed.ReportBits(HidReportKind::Input, 0) + 7) / 8 + 1;
    if (parsed.InputReportByteLength() > 0) {
      EXPECT_GE(parsed.InputReportByteLength(), std::min<std::uint64_t>(report0Bytes, 65535));
    }
  }
  const auto none = HidReportDescriptor::Parse(nullptr, 16);
  EXPECT_TRUE(none.IsWellFormed());
  EXPECT_EQ(none.InputReportByteLength(), 0);
}

}  // namespace
}  // namespace kvelt::hid
