#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/CounterChoice.h"

namespace kvelt::hid {
namespace {

struct ChoiceCase {
  const char* Name;
  const char* Choice;
  int Expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.Name; }

class CounterChoiceTest : public testing::TestWithParam<ChoiceCase> {};

// A mouse, two counters (the second with serial "7", the same text as a position), and a
// counter whose check-out failed.
TEST_P(CounterChoiceTest, TheChoiceNamesOneLentCounter) {
  const std::vector<ChoiceCandidate> devices{{"Mouse", "/dev/hidraw0", "", true},
                                             {"KVELT", "/dev/hidraw1", "A1", true},
                                             {"KVELT", "/dev/hidraw2", "7", true},
                                             {"KVELT", "/dev/hidraw3", "B2", false}};
  EXPECT_EQ(ChooseCounter(devices, GetParam().Choice), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CounterChoiceTest,
    testing::Values(ChoiceCase{"DefaultTheLastLentCounter", "", 2}, ChoiceCase{"ByPath", "/dev/hidraw1", 1},
                    ChoiceCase{"BySerial", "A1", 1}, ChoiceCase{"ByPosition", "2", 1},
                    ChoiceCase{"SerialBeforePosition", "7", 2}, ChoiceCase{"NotACounter", "1", -1},
                    ChoiceCase{"NotLent", "B2", -1}, ChoiceCase{"PositionOutsideTheList", "9", -1},
                    ChoiceCase{"UnknownPath", "/dev/hidraw8", -1}, ChoiceCase{"Garbage", "2x", -1}),
    [](const testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kvelt::hid
