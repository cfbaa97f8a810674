#include "device/linux/SysfsValues.h"

#include <charconv>

namespace kvelt::hid {
namespace {

std::optional<std::uint16_t> ParseHexField(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc{} || end != text.data() + text.size() || value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<HidIdProperty> ParseHidIdProperty(std::string_view text) {
  const auto first = text.find(':');
  if (first == std::string_view::npos) return std::nullopt;
  const auto second = text.find(':', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto bus = ParseHexField(text.substr(0, first));
  const auto vendor = ParseHexField(text.substr(first + 1, second - first - 1));
  const auto product = ParseHexField(text.substr(second + 1));
  if (!bus || !vendor || !product) return std::nullopt;
  return HidIdProperty{*bus, *vendor, *product};
}

std::optional<std::uint16_t> ParseSysfsHex16(std::string_view text) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return ParseHexField(text);
}

std::string SysfsText(std::string_view text) {
  while (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace kvelt::hid
