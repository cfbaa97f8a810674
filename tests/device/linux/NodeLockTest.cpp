#include <gtest/gtest.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "device/linux/NodeLock.h"
#include "tests/support/TempFolder.h"

namespace kvelt::hid {
namespace {

// The flock of another open file description refuses the second taker and names this process.
TEST(NodeLockTest, ASecondTakerLearnsWhoHoldsTheLock) {
  const kvelt::test::TempFolder folder;
  const std::string path = folder.File("node");
  std::ofstream(path).put('\n');
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
