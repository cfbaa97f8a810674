#pragma once

#include <string_view>

namespace kvelt::app {

// Where a page tells the user what happened: a message key (IDS_n) shown in status panel 0 or 1,
// in the active language and again after a language change.
class StatusSink {
 public:
  virtual ~StatusSink() = default;
  virtual void ShowStatusMessage(int panel, std::string_view key) = 0;
  // The same, and the status bar repainted at once (for a message that must show before the
  // event loop runs again).
  virtual void ShowStatusMessageAndRepaint(int panel, std::string_view key) = 0;

 protected:
  StatusSink() = default;
  StatusSink(const StatusSink&) = default;
  StatusSink& operator=(const StatusSink&) = default;
};

}  // namespace kvelt::app
