#include "config/DeviceCommands.h"

#include <charconv>

#include "protocol/ReportBuilders.h"

namespace kvelt {

namespace {

constexpr std::array<std::uint32_t, kGateTimeCount> kGateTimesMs{10,   20,   50,   100,   200,   500,
                                                                 1000, 2000, 5000, 10000, 20000, 50000};

constexpr std::array<std::string_view, kGateTimeCount> kGateTimeLabels{
    "0,01   [s]", "0,02   [s]", "0,05   [s]", "0,10   [s]", "0,20   [s]", "0,50   [s]",
    "1,00   [s]", "2,00   [s]", "5,00   [s]", "10,0   [s]", "20,0   [s]", "50,0   [s]"};

constexpr std::array<std::string_view, kModbusBaudRateCount> kBaudRateLabels{"19200", "38400", "57600",
                                                                             "115200"};

constexpr bool InList(int position, int count) { return position >= 0 && position < count; }

}  // namespace

OutboundReport ClearPositionRequest(int channel) {
  return BuildClearPosition(static_cast<std::uint8_t>(channel));
}

std::optional<std::uint32_t> GateTimeMilliseconds(int position) {
  if (!InList(position, kGateTimeCount)) {
    return std::nullopt;
  }
  return kGateTimesMs[static_cast<std::size_t>(position)];
}

const std::array<std::string_view, kGateTimeCount>& GateTimeLabels() { return kGateTimeLabels; }

std::optional<OutboundReport> GateTimeRequest(int position) {
  const std::optional<std::uint32_t> milliseconds = GateTimeMilliseconds(position);
  if (!milliseconds) {
    return std::nullopt;
  }
  return BuildSetGateTime(*milliseconds);
}

std::array<std::string, kModbusAddressCount> ModbusAddressLabels() {
  std::array<std::string, kModbusAddressCount> labels;
  for (int position = 0; position < kModbusAddressCount; ++position) {
    char digits[4];
    const auto end = std::to_chars(digits, digits + sizeof digits, position + 1).ptr;
    labels[static_cast<std::size_t>(position)].assign(digits, end);
  }
  return labels;
}

std::optional<OutboundReport> ModbusAddressRequest(int position) {
  if (!InList(position, kModbusAddressCount)) {
    return std::nullopt;
  }
  return BuildSetModbusAddress(static_cast<std::uint8_t>(position + 1));
}

const std::array<std::string_view, kModbusBaudRateCount>& ModbusBaudRateLabels() { return kBaudRateLabels; }

std::optional<OutboundReport> ModbusBaudRateRequest(int position) {
  if (!InList(position, kModbusBaudRateCount)) {
    return std::nullopt;
  }
  return BuildSetModbusBaudRate(static_cast<std::uint8_t>(position));
}

}  // namespace kvelt
