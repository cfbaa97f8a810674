#include "cli/CounterLink.h"

#include <QEventLoop>
#include <cstdio>

#include "cli/ExitCode.h"
#include "cli/LongTimer.h"
#include "cli/SubcommandParser.h"

namespace kvelt::cli {

CounterLink::CounterLink(const SubcommandParser& command)
    : deviceChoice_(command.Device()), wait_(command.WaitTime()), waitForever_(command.WaitForever()) {
  hid::CounterSession::Options options;
  options.Simulate = command.Simulate();
  options.DeviceChoice = deviceChoice_;
  // A task of the device layer that throws (a handler's fault) is reported and the program goes
  // on, as the window does with its error box.
  options.ReportError = [](const std::string& message) {
    std::fprintf(stderr, "kvelt: %s\n", message.empty() ? "unexpected error" : message.c_str());
  };
  session_ = std::make_unique<hid::CounterSession>(std::move(options));
  session_->OnCounterUnplug = [this] {
    if (onGone_) {
      onGone_();
      return;
    }
    unplugged_ = true;
    Quit(Wait::Unplugged);
  };
  session_->OnCounterChange = [this] { CounterChanged(); };
  session_->OnReport = [this](const std::uint8_t* data, std::size_t size) {
    if (reportHandler_) reportHandler_(data, size);
    if (loop_ != nullptr && done_ && done_()) Quit(Wait::Done);
  };
}

CounterLink::~CounterLink() = default;

void CounterLink::Scan() { session_->Scan(); }

void CounterLink::CounterChanged() {
  if (session_->State() != hid::CounterState::Connected || session_->Connections() == connections_) return;
  if (waitingForCounter_) {
    Quit(Wait::Done);
  } else if (reportHandler_ && onBack_) {
    connections_ = session_->Connections();
    onBack_();
  }
}

bool CounterLink::WaitForCounter() {
  if (!waitForever_ && !wait_) return false;
  std::fprintf(stderr, "kvelt: waiting for the counter\n");
  waitingForCounter_ = true;
  const Wait result = RunUntil([this] { return session_->State() == hid::CounterState::Connected; },
                               waitForever_ ? std::nullopt : wait_);
  waitingForCounter_ = false;
  return result == Wait::Done;
}

void CounterLink::Follow(std::function<void()> onGone, std::function<void()> onBack) {
  onGone_ = std::move(onGone);
  onBack_ = std::move(onBack);
}

void CounterLink::Connect(std::function<void(const std::uint8_t*, std::size_t)> reportHandler, int language) {
  Scan();
  if (session_->State() != hid::CounterState::Connected) WaitForCounter();
  switch (session_->State()) {
    case hid::CounterState::Connected:
      break;
    case hid::CounterState::Absent:
      if (!deviceChoice_.empty()) {
        throw CliFailure(ExitCode::NoCounter, "no counter matches --device \"" + deviceChoice_ +
                                                  "\" (a path, serial number or position that kvelt list "
                                                  "shows for a \"KVELT\" device)");
      }
      throw CliFailure(ExitCode::NoCounter,
                       "no counter found (no HID device named \"KVELT\"; --simulate uses the "
                       "built-in simulated counter)");
    case hid::CounterState::NoAccess:
      throw CliFailure(ExitCode::NoAccess, "the counter at " + session_->Counter()->Path +
                                               " cannot be opened: " + ObstacleText(language));
    case hid::CounterState::InUse:
      throw CliFailure(ExitCode::NoAccess, ObstacleText(language));
  }
  connections_ = session_->Connections();
  reportHandler_ = std::move(reportHandler);
}

bool CounterLink::Send(const OutboundReport& request) { return !unplugged_ && session_->Send(request); }

CounterLink::Wait CounterLink::RunUntil(const std::function<bool()>& done,
                                        std::optional<std::chrono::milliseconds> timeout) {
  if (stopRequested_) return Wait::Stopped;
  if (unplugged_) return Wait::Unplugged;
  if (done && done()) return Wait::Done;
  QEventLoop loop;
  LongTimer timer([this] { Quit(Wait::TimedOut); });
  if (timeout) timer.Start(*timeout);
  done_ = done;
  loop_ = &loop;
  result_ = Wait::TimedOut;
  quitting_ = false;
  loop.exec();
  loop_ = nullptr;
  done_ = nullptr;
  return result_;
}

void CounterLink::Stop() {
  stopRequested_ = true;
  Quit(Wait::Stopped);
}

void CounterLink::Quit(Wait reason) {
  // The first reason wins: events handled before the loop returns do not overwrite it.
  if (loop_ == nullptr || quitting_) return;
  quitting_ = true;
  result_ = reason;
  loop_->quit();
}

}  // namespace kvelt::cli
