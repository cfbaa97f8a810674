#include "device/AccessHint.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace kvelt::hid {
namespace {

constexpr std::string_view kReloadAndTrigger =
    "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";

std::string_view FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

// The error's symbolic name, the same in every language.
std::string ErrorName(int error) {
  const char* name = ::strerrorname_np(error);
  return name != nullptr ? std::string(name) : "errno " + std::to_string(error);
}

}  // namespace

OpenFailure ClassifyOpenError(int error) {
  switch (error) {
    case 0:
      return OpenFailure::None;
    case EACCES:
    case EPERM:
      return OpenFailure::NoPermission;
    case EBUSY:
      return OpenFailure::Busy;
    default:
      return OpenFailure::Other;
  }
}

AccessHint::AccessHint(int openError, std::string rulePath)
    : error_(openError), failure_(ClassifyOpenError(openError)), rulePath_(std::move(rulePath)) {}

bool AccessHint::RuleInPlace() const {
  const std::string_view folder = FolderOf(rulePath_);
  return folder == "/etc/udev/rules.d" || folder == "/usr/lib/udev/rules.d" || folder == "/lib/udev/rules.d";
}

std::string AccessHint::Commands() const {
  if (RuleInPlace()) return std::string(kReloadAndTrigger);
  return "sudo install -m 644 " + rulePath_ + " /etc/udev/rules.d/ && " + std::string(kReloadAndTrigger);
}

std::string AccessHint::Text(int language) const {
  const bool polish = language == 1;
  switch (failure_) {
    case OpenFailure::None:
      return {};
    case OpenFailure::NoPermission:
      if (polish) {
        return "Brak uprawnień do otwarcia licznika KVELT (hidraw). Reguła udev: " + rulePath_ +
               ". Zainstaluj ją i zastosuj: " + Commands() + " – licznik połączy się bez odłączania.";
      }
      return "No permission to open the KVELT counter (hidraw). The udev rule: " + rulePath_ +
             ". Install and apply it: " + Commands() + " – the counter then connects without a replug.";
    case OpenFailure::Busy:
      if (polish)
        return "Licznik KVELT jest zajęty przez inny program (EBUSY). Zamknij go; licznik połączy się po "
               "ponownym podłączeniu.";
      return "The KVELT counter is busy, held by another program (EBUSY). Close it; the counter connects "
             "when replugged.";
    case OpenFailure::Other:
      if (polish)
        return "Nie można otworzyć licznika KVELT: błąd " + ErrorName(error_) + ". Odłącz i podłącz licznik.";
      return "The KVELT counter cannot be opened: error " + ErrorName(error_) +
             ". Unplug and replug the counter.";
  }
  return {};
}

}  // namespace kvelt::hid
