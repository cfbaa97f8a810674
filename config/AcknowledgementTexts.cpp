#include "config/AcknowledgementTexts.h"

namespace kvelt {

std::optional<std::string_view> AcknowledgementTextKey(DeviceCommand code) {
  switch (code) {
    case DeviceCommand::cmdSetResolution:
      return "IDS_8";
    case DeviceCommand::cmdSetCoefficient:
      return "IDS_9";
    case DeviceCommand::cmdClearPosition:
      return "IDS_10";
    case DeviceCommand::cmdReadOutputsSecond:
      return "IDS_11";
    case DeviceCommand::cmdWriteOutputsSecond:
      return "IDS_12";
    case DeviceCommand::cmdSetModbusAddress:
      return "IDS_13";
    case DeviceCommand::cmdSetGateTime:
      return "IDS_14";
    case DeviceCommand::cmdSetModbusBaudRate:
      return "IDS_15";
    case DeviceCommand::cmdSetZeroMarker:
      return "IDS_20";
    default:
      return std::nullopt;
  }
}

}  // namespace kvelt
