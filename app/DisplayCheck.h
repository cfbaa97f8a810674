#pragma once

#include <string>

namespace kvelt::app {

// Tells, before the GUI starts, whether the window has a display to go to, so that a plain
// terminal or an ssh session gets one clear line instead of Qt's abort.
class DisplayCheck {
 public:
  struct Environment {
    std::string PlatformArgument;  // the value of -platform on the command line, may be empty
    std::string QpaPlatform;       // $QT_QPA_PLATFORM, may be empty
    std::string Display;           // $DISPLAY
    std::string WaylandDisplay;    // $WAYLAND_DISPLAY
  };

  // Empty when the window can be tried; otherwise the line to print (without the program name).
  // A platform named on the command line or in QT_QPA_PLATFORM is trusted, except xcb alone
  // without DISPLAY; with none named, DISPLAY or WAYLAND_DISPLAY must be set.
  static std::string MissingDisplay(const Environment& environment);

  // The same for this process.
  static std::string MissingDisplay(const std::string& platformArgument);

  // The line for a platform that was chosen but could not be brought up (an unreachable X
  // server, a missing plugin).
  static std::string PlatformFailed(const std::string& platformArgument);
};

}  // namespace kvelt::app
