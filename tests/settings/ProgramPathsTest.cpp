#include <gtest/gtest.h>

#include <string>

#include "settings/ProgramPaths.h"

namespace kvelt {
namespace {

struct RulePathCase {
  const char* executableDir;
  bool installed;
  const char* prefix;
  const char* rule;  // empty: the source tree's rule
};

class ProgramPathsTest : public ::testing::TestWithParam<RulePathCase> {};

TEST_P(ProgramPathsTest, TellsInstalledFromBuiltCopies) {
  const RulePathCase& c = GetParam();
  EXPECT_EQ(ProgramPaths::RunsInstalled(c.executableDir), c.installed);
  EXPECT_EQ(ProgramPaths::InstallPrefix(c.executableDir), c.prefix);
  const std::string expected =
      *c.rule != '\0' ? std::string(c.rule)
                      : std::string(ProgramPaths::SourceDir()) + "/packaging/udev/70-kvelt.rules";
  EXPECT_EQ(ProgramPaths::UdevRulePath(c.executableDir), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ProgramPathsTest,
    ::testing::Values(
        RulePathCase{"/usr/bin", true, "/usr", "/usr/lib/udev/rules.d/70-kvelt.rules"},
        RulePathCase{"/usr/local/bin/", true, "/usr/local", "/usr/local/lib/udev/rules.d/70-kvelt.rules"},
        RulePathCase{"/opt/kvelt/bin//", true, "/opt/kvelt", "/opt/kvelt/lib/udev/rules.d/70-kvelt.rules"},
        RulePathCase{"/bin", true, "/", "/lib/udev/rules.d/70-kvelt.rules"},
        RulePathCase{"/home/u/kvelt-pc/build/default/app", false, "", ""},
        RulePathCase{"/home/u/bin-tools", false, "", ""}, RulePathCase{"", false, "", ""}));

}  // namespace
}  // namespace kvelt
