// kvelt-gadget: the simulated KVELT counter as a USB HID gadget (see GadgetUsage()).

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "gadget/ConfigfsGadget.h"
#include "gadget/CounterGadget.h"
#include "gadget/CounterReportDescriptor.h"
#include "gadget/GadgetOptions.h"
#include "gadget/HostileReports.h"

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitNoController = 2;
constexpr int kExitGadgetFailed = 3;

std::uint16_t HexId(const char* text) { return static_cast<std::uint16_t>(std::stoul(text, nullptr, 16)); }

}  // namespace

int main(int argc, char** argv) {
  using namespace kvelt::gadget;
  GadgetOptions options;
  try {
    options = ParseGadgetOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "kvelt-gadget: %s\nTry 'kvelt-gadget --help'.\n", error.what());
    return kExitUsage;
  }
  if (options.Help) {
    std::fputs(GadgetUsage().c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::printf("kvelt-gadget %s\n", KVELT_PROGRAM_VERSION);
    return 0;
  }
  std::string controller = options.Udc;
  if (controller.empty()) {
    const std::vector<std::string> controllers = ConfigfsGadget::Controllers();
    if (controllers.size() != 1) {
      std::fprintf(stderr, "kvelt-gadget: %s; name one with --udc\n",
                   controllers.empty() ? "no USB device controller in /sys/class/udc"
                                       : "more than one USB device controller in /sys/class/udc");
      return kExitNoController;
    }
    controller = controllers.front();
  }

  GadgetIdentity identity;
  identity.VendorID = HexId(KVELT_USB_VENDOR_ID);
  identity.ProductID = HexId(KVELT_USB_PRODUCT_ID);
  identity.DeviceRelease = static_cast<std::uint16_t>(KVELT_DEVICE_RELEASE);
  identity.Manufacturer = "KVELT";
  identity.Product = "KVELT";
  identity.Serial = options.Serial;
  identity.ReportDescriptor = CounterReportDescriptor(CounterGadget::kReportLength - 1);
  // The hostile counter needs room for reports longer than its descriptor says.
  identity.ReportLength = options.Hostile ? HostileReports::kLongestReport : CounterGadget::kReportLength;
  try {
    ConfigfsGadget gadget(options.Name);
    // The counter blocks SIGTERM and SIGINT for its signalfd first, so that a stop asked for
    // while the gadget is being made still takes it apart.
    CounterGadget counter(gadget, controller, options);
    gadget.Create(identity);
    counter.Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kvelt-gadget: %s\n", error.what());
    return kExitGadgetFailed;
  }
  return 0;
}
