#pragma once

// Report sizes declared by a HID report descriptor, figured the way the
// Windows HID parser reports them (lengths include the report-id byte).

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>

namespace kvelt::hid {

enum class HidReportKind : std::uint8_t { Input, Output, Feature };

class HidReportDescriptor {
 public:
  // Never fails: a descriptor that is cut short or breaks the item rules is
  // read up to the fault, and IsWellFormed() tells that it was.
  static HidReportDescriptor Parse(const std::uint8_t* data, std::size_t size);

  bool IsWellFormed() const { return wellFormed_; }
  bool UsesReportIds() const { return usesReportIds_; }
  // Bits declared for one report (0 when the descriptor has no such report).
  std::uint64_t ReportBits(HidReportKind kind, std::uint8_t reportId) const;
  // Longest report of the kind in bytes, plus one byte for the report id
  // (the implicit id 0 too); 0 when the descriptor declares no such report.
  std::uint16_t ReportByteLength(HidReportKind kind) const;
  std::uint16_t InputReportByteLength() const { return ReportByteLength(HidReportKind::Input); }
  std::uint16_t OutputReportByteLength() const { return ReportByteLength(HidReportKind::Output); }
  std::uint16_t FeatureReportByteLength() const { return ReportByteLength(HidReportKind::Feature); }

 private:
  using ReportKey = std::pair<HidReportKind, std::uint8_t>;
  void AddMainItem(HidReportKind kind, std::uint8_t reportId, std::uint64_t bits);

  std::map<ReportKey, std::uint64_t> reportBits_;
  bool wellFormed_ = true;
  bool usesReportIds_ = false;
};

}  // namespace kvelt::hid
