#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "device/AccessHint.h"

namespace kvelt::hid {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct FailureCase {
  int Error;
  OpenFailure Expected;
  const char* EnglishMark;  // what the English text must say
  const char* PolishMark;
};

class AccessHintByError : public ::testing::TestWithParam<FailureCase> {};

TEST_P(AccessHintByError, SaysWhatWentWrongInBothLanguages) {
  const FailureCase& c = GetParam();
  const AccessHint hint(c.Error, "/src/packaging/udev/70-kvelt.rules");
  EXPECT_EQ(hint.Failure(), c.Expected);
  const std::string english = hint.Text(2);
  const std::string polish = hint.Text(1);
  EXPECT_TRUE(Contains(english, c.EnglishMark)) << english;
  EXPECT_TRUE(Contains(polish, c.PolishMark)) << polish;
  EXPECT_NE(english, polish);
  EXPECT_EQ(hint.Text(7), english) << "an unknown language falls back to English";
  // Only a missing permission is cured by the rule; other failures must not send the user there.
  const bool namesRule = Contains(english, "udevadm");
  EXPECT_EQ(namesRule, c.Expected == OpenFailure::NoPermission) << english;
  EXPECT_EQ(Contains(polish, "udevadm"), namesRule) << polish;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, AccessHintByError,
    ::testing::Values(FailureCase{EACCES, OpenFailure::NoPermission, "No permission", "Brak uprawnień"},
                      FailureCase{EPERM, OpenFailure::NoPermission, "No permission", "Brak uprawnień"},
                      FailureCase{EBUSY, OpenFailure::Busy, "busy", "zajęty"},
                      FailureCase{EIO, OpenFailure::Other, "EIO", "EIO"},
                      FailureCase{ENXIO, OpenFailure::Other, "ENXIO", "ENXIO"}));

TEST(AccessHint, NodeThatOpenedNeedsNoHint) {
  const AccessHint hint(0, "/src/packaging/udev/70-kvelt.rules");
  EXPECT_EQ(hint.Failure(), OpenFailure::None);
  EXPECT_TRUE(hint.Text(1).empty());
  EXPECT_TRUE(hint.Text(2).empty());
}

struct RuleCase {
  const char* RulePath;
  const char* ExpectedCommands;
};

class AccessHintCommands : public ::testing::TestWithParam<RuleCase> {};

// A rule in a folder udev reads needs only to be applied; one elsewhere (the source tree, a
// /usr/local or /opt prefix) is copied where udev finds it first.
TEST_P(AccessHintCommands, NameTheRuleWhereItIsAndApplyItToHidrawNodes) {
  const RuleCase& c = GetParam();
  const AccessHint hint(EACCES, c.RulePath);
  EXPECT_EQ(hint.Commands(), c.ExpectedCommands);
  for (const int language : {1, 2}) {
    const std::string text = hint.Text(language);
    EXPECT_TRUE(Contains(text, c.RulePath)) << text;
    EXPECT_TRUE(Contains(text, c.ExpectedCommands)) << text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AccessHintCommands,
    ::testing::Values(
        RuleCase{"/home/ann/kvelt-pc/packaging/udev/70-kvelt.rules",
                 "sudo install -m 644 /home/ann/kvelt-pc/packaging/udev/70-kvelt.rules /etc/udev/rules.d/ && "
                 "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw"},
        RuleCase{"/usr/local/lib/udev/rules.d/70-kvelt.rules",
                 "sudo install -m 644 /usr/local/lib/udev/rules.d/70-kvelt.rules /etc/udev/rules.d/ && "
                 "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw"},
        RuleCase{"/usr/lib/udev/rules.d/70-kvelt.rules",
                 "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw"},
        RuleCase{"/lib/udev/rules.d/70-kvelt.rules",
                 "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw"}));

}  // namespace
}  // namespace kvelt::hid
