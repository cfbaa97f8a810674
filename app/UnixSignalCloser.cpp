#include "app/UnixSignalCloser.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "app/HandlerGuard.h"

namespace kvelt::app {
namespace {

constexpr int kClosingSignals[] = {SIGINT, SIGTERM, SIGHUP};

int g_signalSockets[2] = {-1, -1};

extern "C" void ForwardSignal(int) {
  const char byte = 1;
  // Nothing can be done about a full socket here; one pending byte is enough to close.
  [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

void InstallHandler(int signalNumber, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signalNumber, &action, nullptr);
}

}  // namespace

UnixSignalCloser::UnixSignalCloser(QWidget* window) : window_(window) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0) {
    g_signalSockets[0] = g_signalSockets[1] = -1;
    return;
  }
  notifier_ = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &UnixSignalCloser::OnSignal);
  for (const int signalNumber : kClosingSignals) {
    InstallHandler(signalNumber, ForwardSignal);
  }
}

UnixSignalCloser::~UnixSignalCloser() {
  if (g_signalSockets[0] < 0) {
    return;
  }
  for (const int signalNumber : kClosingSignals) {
    InstallHandler(signalNumber, SIG_DFL);
  }
  ::close(g_signalSockets[0]);
  ::close(g_signalSockets[1]);
  g_signalSockets[0] = g_signalSockets[1] = -1;
}

void UnixSignalCloser::OnSignal() {
  char buffer[16];
  [[maybe_unused]] const ssize_t got = ::read(g_signalSockets[1], buffer, sizeof buffer);
  const ErrorsToStandardError noBoxes;
  // A modal box runs its own loop; closing it lets the stack unwind once this returns.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != window_ && widget->isVisible() && widget->isModal()) {
      widget->close();
    }
  }
  if (window_) {
    window_->close();
  }
}

}  // namespace kvelt::app
