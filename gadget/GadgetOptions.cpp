#include "gadget/GadgetOptions.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace kvelt::gadget {
namespace {

// "1.5" or "1.5s" or "250ms": a non-negative time, at most a day.
std::chrono::milliseconds ParseDuration(const std::string& option, const std::string& text) {
  std::string number = text;
  double scale = 1000.0;
  if (number.size() > 2 && number.ends_with("ms")) {
    number.resize(number.size() - 2);
    scale = 1.0;
  } else if (number.size() > 1 && number.ends_with("s")) {
    number.pop_back();
  }
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !(value >= 0) ||
      value * scale > 86'400'000.0) {
    throw std::invalid_argument(option + ": not a time: " + text);
  }
  return std::chrono::milliseconds(std::llround(value * scale));
}

int ParseChannel(const std::string& option, const std::string& text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '4') {
    throw std::invalid_argument(option + ": a channel is 1, 2, 3 or 4, not " + text);
  }
  return text[0] - '0';
}

}  // namespace

GadgetOptions ParseGadgetOptions(const std::vector<std::string>& arguments) {
  GadgetOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(argument + " needs a value");
      return arguments[++i];
    };
    if (argument == "--help" || argument == "-h") {
      options.Help = true;
    } else if (argument == "--version") {
      options.Version = true;
    } else if (argument == "--udc") {
      options.Udc = value();
    } else if (argument == "--name") {
      options.Name = value();
      if (options.Name.empty() || options.Name.find('/') != std::string::npos || options.Name[0] == '.') {
        throw std::invalid_argument("--name: not a folder name: " + options.Name);
      }
    } else if (argument == "--serial") {
      options.Serial = value();
      if (options.Serial.empty() || options.Serial.size() > 126 ||
          options.Serial.find('\n') != std::string::npos) {
        throw std::invalid_argument("--serial: 1 to 126 characters on one line");
      }
    } else if (argument == "--first-channel") {
      options.FirstChannel = ParseChannel(argument, value());
    } else if (argument == "--unplug-after") {
      options.UnplugAfter = ParseDuration(argument, value());
    } else if (argument == "--replug-every") {
      options.ReplugEvery = ParseDuration(argument, value());
    } else if (argument == "--unplugged-for") {
      options.UnpluggedFor = ParseDuration(argument, value());
    } else if (argument == "--hostile") {
      options.Hostile = true;
    } else if (argument == "--deaf") {
      options.Deaf = true;
    } else {
      throw std::invalid_argument("unknown option " + argument);
    }
  }
  if (options.ReplugEvery && *options.ReplugEvery <= options.UnpluggedFor) {
    throw std::invalid_argument("--replug-every must be longer than --unplugged-for");
  }
  return options;
}

std::string GadgetUsage() {
  return "Usage: kvelt-gadget [OPTION...]\n"
         "The simulated KVELT counter as a USB HID gadget: a Linux machine with a USB device\n"
         "controller (or the dummy_hcd module) becomes a counter for the host it is plugged into.\n"
         "Needs root, configfs (/sys/kernel/config) and the modules libcomposite and usb_f_hid.\n"
         "Removes the gadget again on SIGTERM or SIGINT. SIGUSR1 prints the counts so far.\n"
         "\n"
         "  --udc NAME             the USB device controller (default: the only one in /sys/class/udc)\n"
         "  --name NAME            the gadget's folder in /sys/kernel/config/usb_gadget (default kvelt)\n"
         "  --serial TEXT          the serial number string (default KVELT-GADGET-0001)\n"
         "  --first-channel N      the first frame after every plug-in is channel N (1..4; default 1)\n"
         "  --unplug-after TIME    unplug once after TIME and plug back after --unplugged-for\n"
         "  --replug-every TIME    unplug every TIME and plug back after --unplugged-for\n"
         "  --unplugged-for TIME   how long an unplug lasts (default 1s)\n"
         "  --hostile              also send reports shorter and longer than the descriptor says,\n"
         "                         unknown codes and report ids, replies nobody asked for, and floods\n"
         "  --deaf                 never take a request (the host's writes stall, as on a hung counter)\n"
         "  -h, --help             this text\n"
         "  --version              the version\n"
         "TIME is seconds (2, 0.5, 2s) or milliseconds (250ms).\n"
         "\n"
         "Standard output gets one line per event: plugged, unplugged (with the frames sent while\n"
         "plugged), and the counts on SIGUSR1 and at exit.\n"
         "Exit status: 0 done, 1 bad usage, 2 no USB device controller, 3 the gadget could not be\n"
         "made or bound.\n";
}

}  // namespace kvelt::gadget
