#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/qt/CounterSession.h"
#include "protocol/OutboundReport.h"

class QEventLoop;

namespace kvelt::cli {

class SubcommandParser;

// The command line's use of the counter session: a scan on demand, the counter's failures as
// exit statuses, and waiting in the event loop for what a subcommand needs. Main thread only.
class CounterLink {
 public:
  enum class Wait { Done, TimedOut, Stopped, Unplugged };

  // The session the command line asks for: --simulate, --device.
  explicit CounterLink(const SubcommandParser& command);
  ~CounterLink();
  CounterLink(const CounterLink&) = delete;
  CounterLink& operator=(const CounterLink&) = delete;

  // Scans the devices present once and lends them all out, as the window's device list does.
  void Scan();
  const std::vector<hid::SessionDevice>& Devices() const { return session_->Devices(); }
  const hid::SessionDevice* Counter() const { return session_->Counter(); }
  hid::CounterState State() const { return session_->State(); }

  // Scans and makes sure the counter is there and free to use; throws CliFailure (no counter:
  // exit 2; no access or in use by another program: exit 3, said in `language`) otherwise. Then
  // its reports reach the handler.
  void Connect(std::function<void(const std::uint8_t* data, std::size_t size)> reportHandler, int language);

  // Follows the counter across unplugs: an unplug calls `onGone` instead of ending RunUntil, and
  // the counter connected again calls `onBack`; its reports reach the same handler.
  void Follow(std::function<void()> onGone, std::function<void()> onBack);

  // Sends one request to the counter; false when it could not be written.
  bool Send(const OutboundReport& request);

  // Runs the event loop until done() holds (checked after every report and at the start), the
  // timeout passes, Stop() is called or the counter is unplugged. No timeout: until one of the
  // others.
  Wait RunUntil(const std::function<bool()>& done, std::optional<std::chrono::milliseconds> timeout);
  // Ends the current RunUntil (from a signal notifier, a timer, a handler).
  void Stop();

  // Why the counter cannot be used, in language 1 (Polish) or 2 (English); empty when it can.
  std::string ObstacleText(int language) const { return session_->ObstacleText(language); }

 private:
  void Quit(Wait reason);
  void CounterChanged();
  // Waits (--wait) for the counter to be there and free; false when the time ran out first.
  bool WaitForCounter();

  std::string deviceChoice_;
  std::optional<std::chrono::milliseconds> wait_;  // --wait: how long; zero: not at all
  bool waitForever_ = false;
  bool waitingForCounter_ = false;
  std::uint64_t connections_ = 0;  // the session's count when the handler last saw the counter
  std::function<void()> onGone_;
  std::function<void()> onBack_;
  std::unique_ptr<hid::CounterSession> session_;
  std::function<void(const std::uint8_t*, std::size_t)> reportHandler_;
  std::function<bool()> done_;
  QEventLoop* loop_ = nullptr;
  Wait result_ = Wait::Done;
  bool quitting_ = false;
  bool stopRequested_ = false;
  bool unplugged_ = false;
};

}  // namespace kvelt::cli
