#include "cli/SignalStop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <system_error>

namespace kvelt::cli {
namespace {

int g_pipe[2] = {-1, -1};
struct sigaction g_previousInt {};
struct sigaction g_previousTerm {};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  (void)!::write(g_pipe[1], &byte, 1);  // non-blocking: a full pipe already holds a wake-up
  errno = saved;
}

}  // namespace

SignalStop::SignalStop(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pipe) != 0) {
    throw std::system_error(errno, std::generic_category(), "socketpair");
  }
  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    if (onSignal_) onSignal_();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  // A signal the program was started with ignored (a background job, nohup) stays ignored.
  ::sigaction(SIGINT, nullptr, &g_previousInt);
  ::sigaction(SIGTERM, nullptr, &g_previousTerm);
  if (g_previousInt.sa_handler != SIG_IGN) ::sigaction(SIGINT, &action, nullptr);
  if (g_previousTerm.sa_handler != SIG_IGN) ::sigaction(SIGTERM, &action, nullptr);
}

SignalStop::~SignalStop() {
  ::sigaction(SIGINT, &g_previousInt, nullptr);
  ::sigaction(SIGTERM, &g_previousTerm, nullptr);
  notifier_.reset();
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

}  // namespace kvelt::cli
