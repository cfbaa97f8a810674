#include "device/linux/UeventWatch.h"

#include <sys/epoll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace kvelt::hid {
namespace {

constexpr std::string_view kNodePrefix = "hidraw";
// With the trailing slash the path names the folder just as well, and test sandboxes that
// redirect /dev/... see it as theirs.
constexpr const char* kDevDir = "/dev/";

UdevMonitorPtr OpenMonitor(udev* context, UeventWatch::Source source) {
  UdevMonitorPtr monitor(
      udev_monitor_new_from_netlink(context, source == UeventWatch::Source::Udev ? "udev" : "kernel"));
  if (!monitor) return nullptr;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0) return nullptr;
  if (udev_monitor_enable_receiving(monitor.get()) < 0) return nullptr;
  if (udev_monitor_get_fd(monitor.get()) < 0) return nullptr;
  return monitor;
}

bool AddToEpoll(int epollFd, int fd) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = fd;
  return ::epoll_ctl(epollFd, EPOLL_CTL_ADD, fd, &event) == 0;
}

}  // namespace

std::unique_ptr<UeventWatch> UeventWatch::Create(udev* context, Source source) {
  if (context == nullptr) return nullptr;
  UdevMonitorPtr monitor = OpenMonitor(context, source);
  if (!monitor) return nullptr;
  const int epollFd = ::epoll_create1(EPOLL_CLOEXEC);
  if (epollFd < 0) return nullptr;
  if (!AddToEpoll(epollFd, udev_monitor_get_fd(monitor.get()))) {
    ::close(epollFd);
    return nullptr;
  }
  int inotifyFd = -1;
  if (source == Source::Kernel) {
    // Without this the program would still see nodes at the next event, only later.
    inotifyFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotifyFd >= 0 && (::inotify_add_watch(inotifyFd, kDevDir, IN_CREATE | IN_ATTRIB | IN_MOVED_TO) < 0 ||
                           !AddToEpoll(epollFd, inotifyFd))) {
      ::close(inotifyFd);
      inotifyFd = -1;
    }
  }
  return std::unique_ptr<UeventWatch>(new UeventWatch(source, std::move(monitor), inotifyFd, epollFd));
}

UeventWatch::UeventWatch(Source source, UdevMonitorPtr monitor, int inotifyFd, int epollFd)
    : source_(source), monitor_(std::move(monitor)), inotifyFd_(inotifyFd), epollFd_(epollFd) {}

UeventWatch::~UeventWatch() {
  if (inotifyFd_ >= 0) ::close(inotifyFd_);
  ::close(epollFd_);
}

bool UeventWatch::Drain() {
  const bool events = DrainMonitor();
  const bool nodes = DrainNodeWatch();
  return events || nodes;
}

bool UeventWatch::DrainMonitor() {
  bool changed = false;
  for (;;) {
    errno = 0;
    UdevDevicePtr device(udev_monitor_receive_device(monitor_.get()));
    if (device) {
      changed = true;
      continue;
    }
    // The socket overflowed: events were lost, so the set may have changed; read on.
    if (errno == ENOBUFS) {
      changed = true;
      continue;
    }
    return changed;
  }
}

bool UeventWatch::DrainNodeWatch() {
  if (inotifyFd_ < 0) return false;
  bool changed = false;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(inotifyFd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return changed;
    for (ssize_t offset = 0; offset < n;) {
      // The kernel pads every name so that the next event starts aligned.
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      if ((event->mask & IN_Q_OVERFLOW) != 0) changed = true;
      if (event->len > 0 && std::string_view(event->name).starts_with(kNodePrefix)) changed = true;
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

}  // namespace kvelt::hid
