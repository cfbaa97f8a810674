#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvelt::gadget {

// What the gadget looks like to the host.
struct GadgetIdentity {
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t DeviceRelease = 0;  // bcdDevice
  std::string Manufacturer;
  std::string Product;
  std::string Serial;
  std::vector<std::uint8_t> ReportDescriptor;
  std::uint16_t ReportLength = 0;  // longest report on the wire, report id included
};

// One USB gadget with one HID function in configfs (/sys/kernel/config/usb_gadget/NAME):
// made by Create(), bound to and unbound from a USB device controller, and taken apart by
// Remove() (also on destruction) in the reverse order. Failures throw std::runtime_error.
class ConfigfsGadget {
 public:
  explicit ConfigfsGadget(std::string name);
  ~ConfigfsGadget();
  ConfigfsGadget(const ConfigfsGadget&) = delete;
  ConfigfsGadget& operator=(const ConfigfsGadget&) = delete;

  // The USB device controllers present (/sys/class/udc).
  static std::vector<std::string> Controllers();

  void Create(const GadgetIdentity& identity);
  // The gadget's /dev/hidgN, from the function's device number.
  std::string DeviceNode() const;
  void Bind(const std::string& controller);
  void Unbind();
  bool Bound() const { return bound_; }
  // Takes the gadget apart; what was never made is skipped. Never throws.
  void Remove() noexcept;

 private:
  std::string Path(const std::string& relative) const;
  void MakeFolder(const std::string& relative);
  void WriteAttribute(const std::string& relative, const std::string& value) const;
  void WriteAttribute(const std::string& relative, const std::vector<std::uint8_t>& bytes) const;

  const std::string root_;
  std::vector<std::string> made_;  // folders and links in the order they were made
  bool bound_ = false;
};

}  // namespace kvelt::gadget
