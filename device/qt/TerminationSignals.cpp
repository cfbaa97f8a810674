#include "device/qt/TerminationSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <system_error>

namespace kvelt::hid {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

int g_sockets[2] = {-1, -1};
struct sigaction g_previous[kSignalCount] {};

extern "C" void ForwardSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // Non-blocking: a full socket already holds a wake-up.
  [[maybe_unused]] const ssize_t written = ::write(g_sockets[1], &byte, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_sockets) != 0) {
    throw std::system_error(errno, std::generic_category(), "socketpair");
  }
  notifier_ = std::make_unique<QSocketNotifier>(g_sockets[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (::read(g_sockets[0], bytes, sizeof bytes) > 0) {
    }
    if (onSignal_) onSignal_();
  });
  struct sigaction action {};
  action.sa_handler = ForwardSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < kSignalCount; ++i) {
    ::sigaction(kSignals[i], nullptr, &g_previous[i]);
    if (g_previous[i].sa_handler != SIG_IGN) ::sigaction(kSignals[i], &action, nullptr);
  }
}

TerminationSignals::~TerminationSignals() {
  for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
  notifier_.reset();
  ::close(g_sockets[0]);
  ::close(g_sockets[1]);
  g_sockets[0] = g_sockets[1] = -1;
}

}  // namespace kvelt::hid
