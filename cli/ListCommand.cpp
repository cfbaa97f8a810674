// kvelt list: the HID devices seen, as the window's device list shows them, the counter marked.

#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "cli/CounterLink.h"
#include "cli/JsonText.h"
#include "cli/SubcommandParser.h"
#include "device/AccessHint.h"
#include "text/ControlEscape.h"

namespace kvelt::cli {
namespace {

std::string AccessWord(const hid::SessionDevice& device, hid::CounterState state) {
  if (device.Counter && state == hid::CounterState::InUse) return "in use";
  if (device.Access) return "ok";
  switch (hid::ClassifyOpenError(device.OpenError)) {
    case hid::OpenFailure::NoPermission:
      return "no permission";
    case hid::OpenFailure::Busy:
      return "busy";
    default:
      return "cannot open";
  }
}

// The name without the serial number, which has a column of its own.
std::string DeviceName(const hid::SessionDevice& device) {
  return device.ProductString.empty() ? device.Label : EscapeControlCharacters(device.ProductString);
}

std::string IdText(std::uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(id));
  return text;
}

}  // namespace

ExitCode RunList(const QStringList& arguments) {
  SubcommandParser command(
      "list",
      "Lists the HID devices seen, as the window's device list shows them; the counter is "
      "marked with '*'.\nExit status: 0 the counter is there and accessible, 2 no counter, "
      "3 the counter cannot be opened or another program uses it.",
      SubcommandParser::kJson);
  if (!command.Parse(arguments)) return ExitCode::Done;
  if (!command.Positional().isEmpty()) command.Fail("takes no arguments");
  CounterLink link(command);
  link.Scan();
  int index = 0;
  for (const hid::SessionDevice& device : link.Devices()) {
    ++index;
    if (command.Json()) {
      std::printf("%s\n",
                  JsonObject()
                      .Integer("index", index)
                      .String("name", device.ProductString.empty() ? device.Label : device.ProductString)
                      .String("serial", device.SerialNumber)
                      .String("vendor_id", IdText(device.VendorID))
                      .String("product_id", IdText(device.ProductID))
                      .String("path", device.Path)
                      .Bool("counter", device.Counter)
                      .String("access", AccessWord(device, link.State()))
                      .Text()
                      .c_str());
    } else {
      std::printf("%c %2d  %-28s %s:%s  %-14s %-16s %s\n", device.Counter ? '*' : ' ', index,
                  DeviceName(device).c_str(), IdText(device.VendorID).c_str(),
                  IdText(device.ProductID).c_str(), AccessWord(device, link.State()).c_str(),
                  device.SerialNumber.empty() ? "-" : EscapeControlCharacters(device.SerialNumber).c_str(),
                  EscapeControlCharacters(device.Path).c_str());
    }
  }
  std::fflush(stdout);
  switch (link.State()) {
    case hid::CounterState::Connected:
      return ExitCode::Done;
    case hid::CounterState::Absent:
      std::fprintf(stderr, "kvelt: no counter found\n");
      return ExitCode::NoCounter;
    case hid::CounterState::NoAccess:
    case hid::CounterState::InUse:
      break;
  }
  std::fprintf(stderr, "kvelt: %s\n", link.ObstacleText(command.Language()).c_str());
  return ExitCode::NoAccess;
}

}  // namespace kvelt::cli
