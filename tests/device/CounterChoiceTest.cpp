#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "device/CounterChoice.h"
#include "device/linux/NodeLock.h"

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

// The flock of another open file description refuses the second taker and names this process.
TEST(NodeLockTest, ASecondTakerLearnsWhoHoldsTheLock) {
  char name[] = "/tmp/kvelt-lock-XXXXXX";
  const int fd = ::mkstemp(name);
  ASSERT_GE(fd, 0);
  ::close(fd);
  const std::string path = name;
  HidLockResult first = LockNode(path);
  ASSERT_NE(first.Lock, nullptr);
  const HidLockResult second = LockNode(path);
  EXPECT_TRUE(second.InUse);
  EXPECT_EQ(second.Lock, nullptr);
  EXPECT_EQ(second.Holder.Pid, ::getpid());
  EXPECT_EQ(second.Holder.Program, ProgramOfProcess(::getpid()));
  first.Lock.reset();
  EXPECT_NE(LockNode(path).Lock, nullptr);
  EXPECT_FALSE(LockNode("/nonexistent/node").InUse);
  ::unlink(name);
}

TEST(NodeLockTest, ProcLocksLinesOfOtherFilesAndWaitersAreSkipped) {
  const std::string text =
      "1: POSIX  ADVISORY  WRITE 10 00:05:42 0 EOF\n"
      "2: FLOCK  ADVISORY  WRITE 11 00:06:42 0 EOF\n"
      "2: -> FLOCK  ADVISORY  WRITE 12 00:05:42 0 EOF\n"
      "3: FLOCK  ADVISORY  WRITE 13 00:05:42 0 EOF\n";
  EXPECT_EQ(FlockHolderPid(text, makedev(0, 5), 42), 13);
  EXPECT_EQ(FlockHolderPid(text, makedev(0, 5), 43), std::nullopt);
}

}  // namespace
}  // namespace kvelt::hid
