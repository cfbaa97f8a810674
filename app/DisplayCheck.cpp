#include "app/DisplayCheck.h"

#include <cstdlib>
#include <string_view>

namespace kvelt::app {
namespace {

constexpr std::string_view kHeadlessHint = "; for headless use run it with QT_QPA_PLATFORM=offscreen.";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// True when every platform of a ';'-separated list (each possibly with ":options") is xcb.
bool OnlyXcb(std::string_view platforms) {
  bool any = false;
  while (!platforms.empty()) {
    const std::size_t end = platforms.find(';');
    std::string_view name = platforms.substr(0, end);
    name = name.substr(0, name.find(':'));
    if (!name.empty()) {
      if (name != "xcb") {
        return false;
      }
      any = true;
    }
    platforms = end == std::string_view::npos ? std::string_view() : platforms.substr(end + 1);
  }
  return any;
}

}  // namespace

std::string DisplayCheck::MissingDisplay(const Environment& environment) {
  const std::string& platform =
      !environment.PlatformArgument.empty() ? environment.PlatformArgument : environment.QpaPlatform;
  const bool named = platform.find_first_not_of("; ") != std::string::npos;
  if (named) {
    if (OnlyXcb(platform) && environment.Display.empty()) {
      return std::string("cannot open the window: the xcb platform needs DISPLAY, which is not set") +
             std::string(kHeadlessHint);
    }
    return {};
  }
  if (environment.Display.empty() && environment.WaylandDisplay.empty()) {
    return std::string("cannot open the window: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)") +
           std::string(kHeadlessHint);
  }
  return {};
}

std::string DisplayCheck::MissingDisplay(const std::string& platformArgument) {
  Environment environment;
  environment.PlatformArgument = platformArgument;
  environment.QpaPlatform = Variable("QT_QPA_PLATFORM");
  environment.Display = Variable("DISPLAY");
  environment.WaylandDisplay = Variable("WAYLAND_DISPLAY");
  return MissingDisplay(environment);
}

std::string DisplayCheck::PlatformFailed(const std::string& platformArgument) {
  const std::string qpa = Variable("QT_QPA_PLATFORM");
  std::string line = "cannot open the window: the display could not be opened (";
  if (!platformArgument.empty()) {
    line += "-platform " + platformArgument + ", ";
  } else if (!qpa.empty()) {
    line += "QT_QPA_PLATFORM=" + qpa + ", ";
  }
  line += "DISPLAY=" + Variable("DISPLAY") + ", WAYLAND_DISPLAY=" + Variable("WAYLAND_DISPLAY") + ")";
  return line + std::string(kHeadlessHint);
}

}  // namespace kvelt::app
