#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/pages/OutputRowControls.h"
#include "config/OutputsConfigExchange.h"
#include "measure/ChannelReading.h"
#include "protocol/DeviceCommand.h"
#include "protocol/OutputsConfig.h"
#include "protocol/ReplyParsers.h"

class QComboBox;
class QLineEdit;
class QObject;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

class ReportSender;
class StatusSink;

// The configuration page and the encoder information boxes: the user's commands to the counter
// (resolution, coefficient, zero marker, clearing a position, gate time, MODBUS, the five
// transistor outputs in the counter's two-step exchange) and its replies written back into the
// controls. The plain rules live in config/; this class reads and fills the controls.
class ConfigurationPage {
 public:
  static constexpr int kOutputCount = 5;
  struct Controls {
    std::array<QLineEdit*, kChannelCount> Resolution{};   // edit_res
    std::array<QLineEdit*, kChannelCount> Coefficient{};  // edit_coeff
    std::array<QComboBox*, kChannelCount> ZeroMarker{};   // edit_zero
    QComboBox* GateTime = nullptr;                        // TimeList
    QComboBox* ModbusAddress = nullptr;                   // mod_adr
    QComboBox* ModbusBaudRate = nullptr;                  // mod_br
    QComboBox* Unit = nullptr;                            // `unit`, for the information boxes
    std::array<TOutputRowControls, kOutputCount> Outputs{};
  };
  // `decimals` gives the display's decimals.
  ConfigurationPage(const Controls& controls, const ChannelReadingArray& readings, const TLangTable& texts,
                    ReportSender& sender, StatusSink& status, std::function<int()> decimals);

  // Gives a refused drop-down list its normal colour back once it has a selection; `context`
  // owns the connections.
  void ConnectListRefusalReset(QObject* context);

  // The handlers; `sender` is the control that fired, whose name ends in its channel.
  void ShowEncoderInfo(int channelNumber);
  void ClearPositionClick(const QObject* sender);
  void GateTimeClick();
  // A frame of channel 0..3 arrived: the gate-time list shows the gate time it reports, when that
  // has changed since the last frame.
  void NoteChannelFrame(int channel);
  // A new stream of reports: its first frame sets the gate-time list again.
  void Restart() { reportedGateTime_.reset(); }
  void ModbusAddressClick();
  void ModbusBaudRateClick();
  void GetResolutionClick(const QObject* sender);
  void SetResolutionClick(const QObject* sender);
  void GetCoefficientClick(const QObject* sender);
  void SetCoefficientClick(const QObject* sender);
  void GetZeroMarkerClick(const QObject* sender);
  void SetZeroMarkerClick(const QObject* sender);
  // An edit box changed: it loses any refused marking.
  void EditChanged(QObject* sender);
  // Output row k (1..5): its controls follow its enable box; C and M show exactly when T is
  // not at "---". Other k change nothing.
  void ApplyEnablingRule(int k);
  void ApplyLogicRule(int k);
  void WriteOutputsClick();
  void ReadOutputsClick();

  // The counter's acknowledgements and replies.
  void ShowAcknowledgement(DeviceCommand code);
  void OnOutputsFirstWritten();
  void OnOutputsFirstRead(const OutputsFirstHalf& half);
  void OnOutputsSecondRead(const OutputsSecondHalf& half);
  void OnResolutionRead(const ResolutionReply& reply);
  void OnCoefficientRead(const CoefficientReply& reply);
  void OnZeroMarkerRead(const ZeroMarkerReply& reply);

  // The second half of the last outputs write that passed validation (all zero until then).
  const OutputsSecondHalf& KeptOutputsSecondHalf() const { return exchange_.KeptSecondHalf(); }

 private:
  Controls controls_;
  const ChannelReadingArray& readings_;
  const TLangTable& texts_;
  ReportSender& sender_;
  StatusSink& status_;
  std::function<int()> decimals_;
  OutputsConfigExchange exchange_;
  std::optional<std::uint32_t> reportedGateTime_;
};

}  // namespace kvelt::app
