#include "gadget/ConfigfsGadget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace kvelt::gadget {
namespace {

constexpr const char* kGadgetRoot = "/sys/kernel/config/usb_gadget/";
constexpr const char* kFunction = "functions/hid.usb0";
constexpr const char* kConfiguration = "configs/c.1";

std::runtime_error SystemError(const std::string& what, int error) {
  return std::runtime_error(what + ": " + std::strerror(error));
}

std::string Hex4(std::uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04x", value);
  return text;
}

}  // namespace

ConfigfsGadget::ConfigfsGadget(std::string name) : root_(kGadgetRoot + std::move(name)) {}

ConfigfsGadget::~ConfigfsGadget() { Remove(); }

std::vector<std::string> ConfigfsGadget::Controllers() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/udc", error)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::string ConfigfsGadget::Path(const std::string& relative) const { return root_ + "/" + relative; }

void ConfigfsGadget::MakeFolder(const std::string& relative) {
  const std::string path = relative.empty() ? root_ : Path(relative);
  if (::mkdir(path.c_str(), 0755) != 0) throw SystemError("cannot make " + path, errno);
  made_.push_back(path);
}

void ConfigfsGadget::WriteAttribute(const std::string& relative, const std::string& value) const {
  WriteAttribute(relative, std::vector<std::uint8_t>(value.begin(), value.end()));
}

// One write() for the whole value: configfs attributes take what the first write brings.
void ConfigfsGadget::WriteAttribute(const std::string& relative,
                                    const std::vector<std::uint8_t>& bytes) const {
  const std::string path = Path(relative);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) throw SystemError("cannot open " + path, errno);
  const ssize_t n = ::write(fd, bytes.data(), bytes.size());
  const int error = errno;
  ::close(fd);
  if (n < 0) throw SystemError("cannot write " + path, error);
  if (static_cast<std::size_t>(n) != bytes.size()) throw std::runtime_error("short write to " + path);
}

void ConfigfsGadget::Create(const GadgetIdentity& identity) {
  if (::access(kGadgetRoot, F_OK) != 0) {
    throw std::runtime_error(std::string(kGadgetRoot) +
                             " is missing: mount configfs and load the module libcomposite");
  }
  MakeFolder("");
  WriteAttribute("idVendor", Hex4(identity.VendorID));
  WriteAttribute("idProduct", Hex4(identity.ProductID));
  WriteAttribute("bcdDevice", Hex4(identity.DeviceRelease));
  WriteAttribute("bcdUSB", Hex4(0x0200));
  MakeFolder("strings/0x409");
  WriteAttribute("strings/0x409/manufacturer", identity.Manufacturer);
  WriteAttribute("strings/0x409/product", identity.Product);
  WriteAttribute("strings/0x409/serialnumber", identity.Serial);
  MakeFolder(kFunction);
  const std::string function = kFunction;
  WriteAttribute(function + "/protocol", std::string("0"));
  WriteAttribute(function + "/subclass", std::string("0"));
  WriteAttribute(function + "/report_length", std::to_string(identity.ReportLength));
  WriteAttribute(function + "/report_desc", identity.ReportDescriptor);
  MakeFolder(kConfiguration);
  const std::string configuration = kConfiguration;
  WriteAttribute(configuration + "/MaxPower", std::string("100"));
  MakeFolder(configuration + "/strings/0x409");
  WriteAttribute(configuration + "/strings/0x409/configuration", identity.Product);
  const std::string link = Path(configuration + "/hid.usb0");
  if (::symlink(Path(function).c_str(), link.c_str()) != 0) throw SystemError("cannot link " + link, errno);
  made_.push_back(link);
}

std::string ConfigfsGadget::DeviceNode() const {
  std::ifstream file(Path(std::string(kFunction) + "/dev"));
  unsigned major = 0, minor = 0;
  char colon = 0;
  if (!(file >> major >> colon >> minor) || colon != ':') {
    throw std::runtime_error("the HID function has no device number");
  }
  const dev_t wanted = makedev(major, minor);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
    const std::string name = entry.path().filename().string();
    struct stat status {};
    if (name.starts_with("hidg") && ::stat(entry.path().c_str(), &status) == 0 && S_ISCHR(status.st_mode) &&
        status.st_rdev == wanted) {
      return entry.path().string();
    }
  }
  throw std::runtime_error("no /dev/hidg node for device " + std::to_string(major) + ":" +
                           std::to_string(minor));
}

void ConfigfsGadget::Bind(const std::string& controller) {
  WriteAttribute("UDC", controller);
  bound_ = true;
}

void ConfigfsGadget::Unbind() {
  // A newline is what the kernel takes as "no controller" (an empty write is ignored).
  WriteAttribute("UDC", std::string("\n"));
  bound_ = false;
}

void ConfigfsGadget::Remove() noexcept {
  if (bound_) {
    try {
      Unbind();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "kvelt-gadget: %s\n", error.what());
    }
  }
  // Links are unlinked, folders removed, newest first: configfs refuses a folder that is in use.
  while (!made_.empty()) {
    const std::string path = made_.back();
    made_.pop_back();
    struct stat status {};
    const bool link = ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
    if ((link ? ::unlink(path.c_str()) : ::rmdir(path.c_str())) != 0) {
      std::fprintf(stderr, "kvelt-gadget: cannot remove %s: %s\n", path.c_str(), std::strerror(errno));
    }
  }
}

}  // namespace kvelt::gadget
