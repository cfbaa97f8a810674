#include "gadget/CounterGadget.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "protocol/ChannelFrame.h"

namespace kvelt::gadget {
namespace {

constexpr std::uint8_t kReportId = 1;
constexpr auto kCycle = std::chrono::milliseconds(10);
// How long an unplug waits for the host to take the report in flight.
constexpr int kDrainMilliseconds = 100;

std::runtime_error SystemError(const std::string& what) {
  return std::runtime_error(what + ": " + std::strerror(errno));
}

itimerspec Timer(std::chrono::nanoseconds first, std::chrono::nanoseconds interval) {
  auto timerValue = [](std::chrono::nanoseconds d) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(d.count() / 1'000'000'000);
    t.tv_nsec = static_cast<long>(d.count() % 1'000'000'000);
    return t;
  };
  // A zero first expiry would disarm the timer.
  return {timerValue(interval), timerValue(std::max(first, std::chrono::nanoseconds(1)))};
}

void Disarm(int timerFd) {
  const itimerspec off{};
  ::timerfd_settime(timerFd, 0, &off, nullptr);
}

std::uint64_t Expirations(int timerFd) {
  std::uint64_t count = 0;
  return ::read(timerFd, &count, sizeof count) == sizeof count ? count : 0;
}

}  // namespace

CounterGadget::CounterGadget(ConfigfsGadget& gadget, std::string controller, const GadgetOptions& options)
    : gadget_(gadget),
      controller_(std::move(controller)),
      options_(options),
      start_(Clock::now()),
      model_(start_) {
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2}) sigaddset(&signals, signal);
  if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) throw SystemError("sigprocmask");
  signalFd_ = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  cycleTimerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
  plugTimerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
  if (signalFd_ < 0 || cycleTimerFd_ < 0 || plugTimerFd_ < 0) throw SystemError("signalfd/timerfd");
}

CounterGadget::~CounterGadget() {
  for (int fd : {deviceFd_, cycleTimerFd_, plugTimerFd_, signalFd_}) {
    if (fd >= 0) ::close(fd);
  }
}

void CounterGadget::Run() {
  Plug();
  for (;;) {
    pollfd fds[4] = {
        {signalFd_, POLLIN, 0}, {cycleTimerFd_, POLLIN, 0}, {plugTimerFd_, POLLIN, 0}, {-1, 0, 0}};
    if (plugged_) {
      fds[3].fd = deviceFd_;
      fds[3].events = static_cast<short>((options_.Deaf ? 0 : POLLIN) | (queue_.empty() ? 0 : POLLOUT));
    }
    if (::poll(fds, 4, -1) < 0) {
      if (errno == EINTR) continue;
      throw SystemError("poll");
    }
    if (fds[0].revents != 0 && !OnSignal()) break;
    if (fds[2].revents != 0 && Expirations(plugTimerFd_) != 0) OnPlugTimer();
    if (fds[1].revents != 0 && Expirations(cycleTimerFd_) != 0 && plugged_) MakeDueCycles();
    if (plugged_ && (fds[3].revents & POLLIN) != 0) ReadRequest();
    if (plugged_ && (fds[3].revents & POLLOUT) != 0) {
      WriteQueued();
      MakeDueCycles();
    }
  }
  if (plugged_) Unplug(false);
  PrintCounts("counts");
}

void CounterGadget::Plug() {
  gadget_.Bind(controller_);
  // The function makes its /dev/hidgN when bound and removes it when unbound.
  const std::string node = gadget_.DeviceNode();
  // Non-blocking: a write that finds the previous report still in flight fails with EAGAIN
  // instead of waiting, and poll() tells when the endpoint is free again.
  deviceFd_ = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (deviceFd_ < 0) throw SystemError("cannot open " + node);
  plugged_ = true;
  pluggedAt_ = Clock::now();
  atPlug_ = counts_;
  nextChannel_ = options_.FirstChannel - 1;
  const itimerspec cycles = Timer(kCycle, kCycle);
  ::timerfd_settime(cycleTimerFd_, 0, &cycles, nullptr);
  if (options_.ReplugEvery) {
    ArmPlugTimer(*options_.ReplugEvery - options_.UnpluggedFor);
  } else if (options_.UnplugAfter && !unpluggedOnce_) {
    ArmPlugTimer(*options_.UnplugAfter);
  }
  std::printf("plugged: %s\n", node.c_str());
  std::fflush(stdout);
}

void CounterGadget::Unplug(bool replug) {
  Disarm(cycleTimerFd_);
  Disarm(plugTimerFd_);
  counts_.Dropped += queue_.size();
  queue_.clear();
  // The kernel's HID function can fault when a report completes while the controller is
  // unbound under it: with nothing new written, let the one in flight finish first.
  WaitForWriteToFinish();
  ::close(deviceFd_);
  deviceFd_ = -1;
  gadget_.Unbind();
  plugged_ = false;
  unpluggedOnce_ = true;
  const double seconds = std::chrono::duration<double>(Clock::now() - pluggedAt_).count();
  std::printf("unplugged after %.2f s: frames=%" PRIu64 " channel4=%" PRIu64 " requests=%" PRIu64 "\n",
              seconds, counts_.Frames - atPlug_.Frames, counts_.Channel4Frames - atPlug_.Channel4Frames,
              counts_.Requests - atPlug_.Requests);
  std::fflush(stdout);
  if (replug) ArmPlugTimer(options_.UnpluggedFor);
}

void CounterGadget::ArmPlugTimer(std::chrono::milliseconds after) {
  const itimerspec once = Timer(after, std::chrono::nanoseconds(0));
  ::timerfd_settime(plugTimerFd_, 0, &once, nullptr);
}

void CounterGadget::OnPlugTimer() {
  if (plugged_) {
    Unplug(true);
  } else {
    Plug();
  }
}

void CounterGadget::WaitForWriteToFinish() {
  pollfd fd{deviceFd_, POLLOUT, 0};
  while (::poll(&fd, 1, kDrainMilliseconds) < 0 && errno == EINTR) {
  }
}

CounterGadget::Clock::time_point CounterGadget::CounterTime() const {
  return start_ + cycle_ * std::chrono::duration_cast<Clock::duration>(kCycle);
}

void CounterGadget::MakeDueCycles() {
  constexpr auto kChannels = hid::sim::SimulatedCounterModel::kChannels;
  const Clock::time_point now = Clock::now();
  if (now - CounterTime() > kMaxLag) {
    const auto due = static_cast<std::uint64_t>((now - start_) / kCycle);
    counts_.SkippedCycles += due - cycle_;
    // Which cycles the host never gets (with those still queued, made just before): a reader
    // tells the counter's skips from its own losses by them.
    if (due > cycle_) {
      std::printf("skipped: cycles %" PRIu64 "-%" PRIu64 "\n", cycle_, due - 1);
      std::fflush(stdout);
    }
    cycle_ = due;
    // What is still queued is as old: the host gets the counter's present instead. Replies stay.
    std::erase_if(queue_, [](const std::vector<std::uint8_t>& report) {
      const std::uint8_t code = report.size() > 1 ? report[1] : 0;
      const bool reply =
          report[0] == kReportId && report.size() == kReportLength && code >= 104 && code <= 117;
      return !reply;
    });
  }
  while (CounterTime() <= now && queue_.size() + kChannels <= kQueueLimit) {
    const Clock::time_point at = CounterTime();
    for (int n = 0; n < kChannels; ++n) {
      const auto frame = EncodeChannelFrame(model_.Frame(nextChannel_, at));
      std::vector<std::uint8_t> report(kReportLength, 0);
      report[0] = kReportId;
      std::copy(frame.begin(), frame.end(), report.begin() + 1);
      queue_.push_back(std::move(report));
      nextChannel_ = (nextChannel_ + 1) % kChannels;
    }
    if (options_.Hostile) {
      for (auto& report : hostile_.ForCycle(cycle_)) Enqueue(std::move(report), false);
    }
    ++cycle_;
  }
  WriteQueued();
}

void CounterGadget::Enqueue(std::vector<std::uint8_t> report, bool reply) {
  if (!reply && queue_.size() >= kQueueLimit) {
    ++counts_.Dropped;
    return;
  }
  queue_.push_back(std::move(report));
}

void CounterGadget::WriteQueued() {
  while (!queue_.empty()) {
    const std::vector<std::uint8_t>& report = queue_.front();
    const ssize_t n = ::write(deviceFd_, report.data(), report.size());
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n == static_cast<ssize_t>(report.size())) {
      const std::uint8_t code = report.size() > 1 ? report[1] : 0;
      if (report[0] == kReportId && report.size() == kReportLength && code >= 100 && code <= 103) {
        ++counts_.Frames;
        if (code == 103) ++counts_.Channel4Frames;
      }
    } else {
      // Before the host has configured the device, or while it goes: the report is lost.
      ++counts_.WriteErrors;
    }
    queue_.pop_front();
  }
}

void CounterGadget::ReadRequest() {
  std::uint8_t request[kReportLength + 1] = {};
  const ssize_t n = ::read(deviceFd_, request, sizeof request);
  if (n <= 0) return;
  ++counts_.Requests;
  if (request[0] != kReportId) return;
  std::vector<std::uint8_t> body =
      model_.HandleRequest(request + 1, static_cast<std::size_t>(n) - 1, CounterTime());
  if (body.empty()) return;
  std::vector<std::uint8_t> reply(kReportLength, 0);
  reply[0] = kReportId;
  std::copy_n(body.begin(), std::min(body.size(), kReportLength - 1), reply.begin() + 1);
  ++counts_.Replies;
  Enqueue(std::move(reply), true);
  WriteQueued();
}

bool CounterGadget::OnSignal() {
  signalfd_siginfo info{};
  while (::read(signalFd_, &info, sizeof info) == sizeof info) {
    switch (info.ssi_signo) {
      case SIGTERM:
      case SIGINT:
        return false;
      case SIGUSR1:
        PrintCounts("counts");
        break;
      case SIGUSR2:
        if (plugged_) {
          Unplug(false);
        } else {
          Plug();
        }
        break;
      default:
        break;
    }
  }
  return true;
}

void CounterGadget::PrintCounts(const char* what) const {
  std::printf("%s: frames=%" PRIu64 " channel4=%" PRIu64 " requests=%" PRIu64 " replies=%" PRIu64
              " dropped=%" PRIu64 " skipped-cycles=%" PRIu64 " write-errors=%" PRIu64 "\n",
              what, counts_.Frames, counts_.Channel4Frames, counts_.Requests, counts_.Replies,
              counts_.Dropped, counts_.SkippedCycles, counts_.WriteErrors);
  std::fflush(stdout);
}

}  // namespace kvelt::gadget
