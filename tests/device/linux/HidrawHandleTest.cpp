#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "device/linux/HidrawHandle.h"

namespace kvelt::hid {
namespace {

using Status = HidReadResult::Status;

// A packet socket pair keeps message boundaries as hidraw keeps report
// boundaries: the handle gets one end, the test plays the device at the other.
class HidrawHandleOverSocket : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
    device_ = fds[1];
    handle_ = HidrawHandle::Adopt(fds[0]);
    ASSERT_NE(handle_, nullptr);
  }
  void TearDown() override { CloseDevice(); }

  void Send(const std::vector<std::uint8_t>& report) {
    ASSERT_EQ(::send(device_, report.data(), report.size(), 0), static_cast<ssize_t>(report.size()));
  }
  void CloseDevice() {
    if (device_ >= 0) ::close(device_);
    device_ = -1;
  }

  int device_ = -1;
  std::unique_ptr<HidrawHandle> handle_;
};

TEST_F(HidrawHandleOverSocket, ReadsOneWholeReportPerCall) {
  Send({1, 100, 2, 3});
  Send({1, 101});
  Send(std::vector<std::uint8_t>(65, 0xAB));
  std::array<std::uint8_t, 65> buffer{};

  auto result = handle_->Read(buffer.data(), buffer.size());
  ASSERT_EQ(result.State, Status::Report);
  ASSERT_EQ(result.Bytes, 4u);
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(buffer[1], 100);
  EXPECT_EQ(buffer[3], 3);

  result = handle_->Read(buffer.data(), buffer.size());
  ASSERT_EQ(result.State, Status::Report);
  EXPECT_EQ(result.Bytes, 2u);
  EXPECT_EQ(buffer[1], 101);

  result = handle_->Read(buffer.data(), buffer.size());
  ASSERT_EQ(result.State, Status::Report);
  EXPECT_EQ(result.Bytes, 65u);
  EXPECT_EQ(buffer[64], 0xAB);
}

TEST_F(HidrawHandleOverSocket, ZeroLengthBufferStillConsumesTheReport) {
  Send({1, 2, 3});
  Send({1, 7});
  std::array<std::uint8_t, 8> buffer{};
  auto result = handle_->Read(buffer.data(), 0);
  EXPECT_EQ(result.State, Status::Report);
  EXPECT_EQ(result.Bytes, 0u);
  EXPECT_EQ(buffer[0], 0) << "nothing is stored into a zero-length buffer";
  result = handle_->Read(buffer.data(), buffer.size());
  ASSERT_EQ(result.State, Status::Report);
  EXPECT_EQ(result.Bytes, 2u);
  EXPECT_EQ(buffer[1], 7);
}

TEST_F(HidrawHandleOverSocket, StopWakesABlockedReaderAndEveryLaterRead) {
  HidReadResult seen;
  std::thread reader([&] {
    std::array<std::uint8_t, 65> buffer{};
    seen = handle_->Read(buffer.data(), buffer.size());
  });
  handle_->RequestStop();
  reader.join();
  EXPECT_EQ(seen.State, Status::Stopped);

  // A stop wins over a report that is waiting.
  Send({1, 100});
  std::array<std::uint8_t, 65> buffer{};
  EXPECT_EQ(handle_->Read(buffer.data(), buffer.size()).State, Status::Stopped);
  handle_->RequestStop();  // asking twice is harmless
  EXPECT_EQ(handle_->Read(buffer.data(), buffer.size()).State, Status::Stopped);
}

TEST_F(HidrawHandleOverSocket, HangUpMeansGone) {
  HidReadResult seen;
  std::thread reader([&] {
    std::array<std::uint8_t, 65> buffer{};
    seen = handle_->Read(buffer.data(), buffer.size());
  });
  CloseDevice();
  reader.join();
  EXPECT_EQ(seen.State, Status::Gone);
}

TEST_F(HidrawHandleOverSocket, WritesOneWholeReport) {
  std::vector<std::uint8_t> report(65, 0);
  report[0] = 1;
  report[1] = 104;
  report[2] = 3;
  std::size_t written = 0;
  ASSERT_TRUE(handle_->Write(report.data(), report.size(), written));
  EXPECT_EQ(written, report.size());

  std::array<std::uint8_t, 128> received{};
  ASSERT_EQ(::recv(device_, received.data(), received.size(), 0), 65);
  EXPECT_EQ(received[0], 1);
  EXPECT_EQ(received[1], 104);
  EXPECT_EQ(received[2], 3);
}

// A device that stops taking reports (its socket buffer full): no Write() and no destruction
// holds the caller beyond the writer's bound, and writing works again once the device reads.
TEST_F(HidrawHandleOverSocket, AStalledDeviceNeverHoldsTheWriter) {
  ::signal(SIGPIPE, SIG_IGN);  // a socket, unlike hidraw, raises it when the test closes its end
  std::vector<std::uint8_t> report(65, 0);
  report[0] = 1;
  const auto slowest = HidrawWriter::kWaitBound * 2 + std::chrono::milliseconds(300);
  auto write = [&] {
    std::size_t written = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = handle_->Write(report.data(), report.size(), written);
    EXPECT_LT(std::chrono::steady_clock::now() - start, slowest);
    return ok;
  };
  auto fill = [&] {
    int accepted = 0;
    while (write() && ++accepted < 100000) {
    }
    return accepted < 100000;
  };
  auto drain = [&] {
    std::array<std::uint8_t, 128> received{};
    while (::recv(device_, received.data(), received.size(), MSG_DONTWAIT) > 0) {
    }
  };
  ASSERT_TRUE(fill()) << "the socket never filled up";
  EXPECT_FALSE(write());  // the stalled report is still in flight

  drain();
  bool recovered = false;
  for (int i = 0; i < 20 && !recovered; ++i) recovered = write();
  EXPECT_TRUE(recovered);

  ASSERT_TRUE(fill());
  const auto start = std::chrono::steady_clock::now();
  handle_.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, slowest);
  drain();
}

TEST(LinuxHidrawHandle, OpeningAMissingNodeFailsInEveryMode) {
  for (const auto mode : {HidOpenMode::ReadWrite, HidOpenMode::ReadOnly, HidOpenMode::MetadataOnly}) {
    EXPECT_EQ(HidrawHandle::Open("/dev/hidraw-kvelt-does-not-exist", mode), nullptr);
    EXPECT_EQ(HidrawHandle::Open("", mode), nullptr);
  }
}

TEST(LinuxHidrawHandle, MetadataOnlyHandleDoesNoInputOrOutput) {
  auto handle = HidrawHandle::Open("/dev/null", HidOpenMode::MetadataOnly);
  ASSERT_NE(handle, nullptr);
  std::array<std::uint8_t, 4> buffer{};
  const auto result = handle->Read(buffer.data(), buffer.size());
  EXPECT_EQ(result.State, Status::Failed);
  EXPECT_NE(result.Error, 0);
  std::size_t written = 99;
  EXPECT_FALSE(handle->Write(buffer.data(), buffer.size(), written));
  EXPECT_EQ(written, 0u);
  handle->RequestStop();
}

TEST(LinuxHidrawHandle, EndOfFileMeansGoneAndWriteOnAReadHandleFails) {
  auto reader = HidrawHandle::Open("/dev/null", HidOpenMode::ReadOnly);
  ASSERT_NE(reader, nullptr);
  std::array<std::uint8_t, 4> buffer{1, 2, 3, 4};
  EXPECT_EQ(reader->Read(buffer.data(), buffer.size()).State, Status::Gone);
  std::size_t written = 99;
  EXPECT_FALSE(reader->Write(buffer.data(), buffer.size(), written));
  EXPECT_EQ(written, 0u);

  auto writer = HidrawHandle::Open("/dev/null", HidOpenMode::ReadWrite);
  ASSERT_NE(writer, nullptr);
  EXPECT_TRUE(writer->Write(buffer.data(), buffer.size(), written));
  EXPECT_EQ(written, buffer.size());
}

TEST(LinuxHidrawHandle, FailedOrShortWriteIsAFailure) {
  auto full = HidrawHandle::Open("/dev/full", HidOpenMode::ReadWrite);
  ASSERT_NE(full, nullptr);
  std::array<std::uint8_t, 4> small{};
  std::size_t written = 99;
  EXPECT_FALSE(full->Write(small.data(), small.size(), written));
  EXPECT_EQ(written, 0u);

  // A non-blocking pipe with one page free takes only part of a two-page write.
  int fds[2];
  ASSERT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
  std::vector<std::uint8_t> page(4096, 0x55);
  while (::write(fds[1], page.data(), page.size()) > 0) {
  }
  ASSERT_EQ(::read(fds[0], page.data(), page.size()), 4096);
  auto pipeWriter = HidrawHandle::Adopt(fds[1]);
  ASSERT_NE(pipeWriter, nullptr);
  std::vector<std::uint8_t> big(8192, 0xAA);
  EXPECT_FALSE(pipeWriter->Write(big.data(), big.size(), written));
  EXPECT_EQ(written, 4096u);
  ::close(fds[0]);
}

}  // namespace
}  // namespace kvelt::hid

namespace kvelt::hid {
namespace {

// Reports of a device without numbered reports arrive without an id byte; the handle makes
// them look like numbered ones with id 0, and sends what it is given unchanged.
struct UnnumberedCase {
  const char* Name;
  std::vector<std::uint8_t> Sent;  // as hidraw hands it out
  std::size_t BufferLength;
  std::vector<std::uint8_t> Expected;  // what the buffer holds, Bytes = its size
};

class UnnumberedReportFraming : public ::testing::TestWithParam<UnnumberedCase> {};

TEST_P(UnnumberedReportFraming, PutsAZeroIdInFront) {
  const UnnumberedCase& c = GetParam();
  int fds[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
  auto handle = HidrawHandle::Adopt(fds[0], /*numberedReports=*/false);
  ASSERT_NE(handle, nullptr);
  ASSERT_EQ(::send(fds[1], c.Sent.data(), c.Sent.size(), 0), static_cast<ssize_t>(c.Sent.size()));
  ASSERT_EQ(::send(fds[1], "\x07", 1, 0), 1);

  std::vector<std::uint8_t> buffer(c.BufferLength + 1, 0xEE);
  auto result = handle->Read(buffer.data(), c.BufferLength);
  ASSERT_EQ(result.State, Status::Report);
  ASSERT_EQ(result.Bytes, c.Expected.size());
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + static_cast<long>(result.Bytes)),
            c.Expected);
  EXPECT_EQ(buffer[c.BufferLength], 0xEE) << "nothing is written past the buffer";

  // The next report is read whole: the short buffer did not leave part of the first behind.
  std::array<std::uint8_t, 8> next{};
  result = handle->Read(next.data(), next.size());
  ASSERT_EQ(result.State, Status::Report);
  ASSERT_EQ(result.Bytes, 2u);
  EXPECT_EQ(next[0], 0);
  EXPECT_EQ(next[1], 7);

  const std::array<std::uint8_t, 3> out{0, 104, 5};
  std::size_t written = 0;
  ASSERT_TRUE(handle->Write(out.data(), out.size(), written));
  std::array<std::uint8_t, 8> received{};
  ASSERT_EQ(::recv(fds[1], received.data(), received.size(), 0), 3);
  EXPECT_EQ(received[0], 0) << "hidraw takes the 0 id byte of an unnumbered report itself";
  EXPECT_EQ(received[1], 104);
  ::close(fds[1]);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, UnnumberedReportFraming,
    ::testing::Values(UnnumberedCase{"FullReport", {100, 1, 2, 3}, 5, {0, 100, 1, 2, 3}},
                      UnnumberedCase{"RoomToSpare", {101, 9}, 65, {0, 101, 9}},
                      UnnumberedCase{"CutToTheBuffer", {102, 1, 2, 3, 4}, 3, {0, 102, 1}},
                      UnnumberedCase{"RoomForTheIdOnly", {103, 1}, 1, {0}},
                      UnnumberedCase{"NoRoomAtAll", {104, 1}, 0, {}}),
    [](const ::testing::TestParamInfo<UnnumberedCase>& info) { return std::string(info.param.Name); });

TEST(LinuxHidrawHandle, FailedOpenTellsWhy) {
  for (const auto mode : {HidOpenMode::ReadWrite, HidOpenMode::ReadOnly, HidOpenMode::MetadataOnly}) {
    int error = 0;
    EXPECT_EQ(HidrawHandle::Open("/dev/hidraw-kvelt-does-not-exist", mode, true, &error), nullptr);
    EXPECT_EQ(error, ENOENT);
    error = -1;
    EXPECT_NE(HidrawHandle::Open("/dev/null", mode, true, &error), nullptr);
    EXPECT_EQ(error, 0);
  }
}

}  // namespace
}  // namespace kvelt::hid
