#include "device/linux/HidReportDescriptor.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace kvelt::hid {
namespace {

// Item types and tags of the short item prefix byte: tag << 4 | type << 2 | size code.
constexpr std::uint8_t kTypeMain = 0;
constexpr std::uint8_t kTypeGlobal = 1;

constexpr std::uint8_t kMainInput = 0x8;
constexpr std::uint8_t kMainOutput = 0x9;
constexpr std::uint8_t kMainFeature = 0xB;

constexpr std::uint8_t kGlobalReportSize = 0x7;
constexpr std::uint8_t kGlobalReportId = 0x8;
constexpr std::uint8_t kGlobalReportCount = 0x9;
constexpr std::uint8_t kGlobalPush = 0xA;
constexpr std::uint8_t kGlobalPop = 0xB;

constexpr std::uint8_t kLongItemPrefix = 0xFE;

// Deeper nesting than any real device uses; it bounds memory on garbage input.
constexpr std::size_t kMaxPushDepth = 64;

// The part of the global item state that decides report sizes.
struct GlobalState {
  std::uint32_t ReportSize = 0;
  std::uint32_t ReportCount = 0;
  std::uint8_t ReportId = 0;
};

std::uint32_t LoadItemData(const std::uint8_t* p, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return value;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max()
                                                           : a + b;
}

}  // namespace

HidReportDescriptor HidReportDescriptor::Parse(const std::uint8_t* data, std::size_t size) {
  HidReportDescriptor result;
  if (data == nullptr) size = 0;
  GlobalState global;
  std::vector<GlobalState> stack;

  std::size_t pos = 0;
  while (pos < size) {
    const std::uint8_t prefix = data[pos];
    if (prefix == kLongItemPrefix) {
      // Long item: prefix, data size, tag, data. Nothing in it touches report sizes.
      if (size - pos < 3 || size - pos - 3 < data[pos + 1]) {
        result.wellFormed_ = false;
        break;
      }
      pos += 3 + static_cast<std::size_t>(data[pos + 1]);
      continue;
    }
    const std::size_t dataSize = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
    if (size - pos - 1 < dataSize) {
      result.wellFormed_ = false;
      break;
    }
    const std::uint8_t type = (prefix >> 2) & 0x03;
    const std::uint8_t tag = prefix >> 4;
    const std::uint32_t value = LoadItemData(data + pos + 1, dataSize);
    pos += 1 + dataSize;

    if (type == kTypeMain) {
      const std::uint64_t bits = static_cast<std::uint64_t>(global.ReportSize) * global.ReportCount;
      if (tag == kMainInput) result.AddMainItem(HidReportKind::Input, global.ReportId, bits);
      if (tag == kMainOutput) result.AddMainItem(HidReportKind::Output, global.ReportId, bits);
      if (tag == kMainFeature) result.AddMainItem(HidReportKind::Feature, global.ReportId, bits);
    } else if (type == kTypeGlobal) {
      if (tag == kGlobalReportSize) {
        global.ReportSize = value;
      } else if (tag == kGlobalReportCount) {
        global.ReportCount = value;
      } else if (tag == kGlobalReportId) {
        // Report ids are one byte on the wire and 0 is reserved for "no id".
        if (value == 0 || value > 0xFF) {
          result.wellFormed_ = false;
          break;
        }
        global.ReportId = static_cast<std::uint8_t>(value);
        result.usesReportIds_ = true;
      } else if (tag == kGlobalPush) {
        if (stack.size() >= kMaxPushDepth) {
          result.wellFormed_ = false;
          break;
        }
        stack.push_back(global);
      } else if (tag == kGlobalPop) {
        if (stack.empty()) {
          result.wellFormed_ = false;
          break;
        }
        global = stack.back();
        stack.pop_back();
      }
    }
    // Local items and reserved types do not affect report sizes.
  }
  return result;
}

void HidReportDescriptor::AddMainItem(HidReportKind kind, std::uint8_t reportId, std::uint64_t bits) {
  auto& total = reportBits_[ReportKey{kind, reportId}];
  total = SaturatingAdd(total, bits);
}

std::uint64_t HidReportDescriptor::ReportBits(HidReportKind kind, std::uint8_t reportId) const {
  const auto found = reportBits_.find(ReportKey{kind, reportId});
  return found == reportBits_.end() ? 0 : found->second;
}

std::uint16_t HidReportDescriptor::ReportByteLength(HidReportKind kind) const {
  bool any = false;
  std::uint64_t longestBits = 0;
  for (const auto& [key, bits] : reportBits_) {
    if (key.first != kind) continue;
    any = true;
    longestBits = std::max(longestBits, bits);
  }
  if (!any) return 0;
  constexpr std::uint64_t kMaxLength = std::numeric_limits<std::uint16_t>::max();
  const std::uint64_t bytes = longestBits / 8 + (longestBits % 8 != 0 ? 1 : 0);
  return static_cast<std::uint16_t>(std::min(bytes, kMaxLength - 1) + 1);
}

}  // namespace kvelt::hid
