// The configuration page and the information boxes: the user's commands to the counter and the
// handling of its replies and acknowledgements. The plain rules live in config/; this file reads
// the controls, sends through SendReport and writes the replies back into the controls.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/EditBoxBackground.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "config/AcknowledgementTexts.h"
#include "config/DeviceCommands.h"
#include "config/EncoderInfo.h"
#include "config/EncoderParameters.h"
#include "config/OutputRow.h"
#include "config/OutputsFill.h"
#include "config/OutputsWrite.h"
#include "config/SenderChannel.h"
#include "protocol/DeviceCommand.h"
#include "protocol/ReportBuilders.h"

using kvelt::app::EditBoxBackground;

namespace {

void Send(TFMain& window, const kvelt::OutboundReport& report) {
  window.SendReport(report.Code, report.Payload.data(), static_cast<quint32>(report.Payload.size()));
}

void Send(TFMain& window, const std::optional<kvelt::OutboundReport>& report) {
  if (report) {
    Send(window, *report);
  }
}

// The channel 0..3 of one of four like controls, from the last character of its name.
std::optional<std::size_t> SenderChannel(const QObject* sender) {
  if (sender == nullptr) {
    return std::nullopt;
  }
  const std::optional<int> channel = kvelt::ChannelFromSenderName(sender->objectName().toStdString());
  if (!channel) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(*channel);
}

std::string Utf8(const QString& text) { return text.toStdString(); }

// Marks every list of the rows that has no selection (a reply can leave one so); true if any.
bool MarkListsWithoutSelection(const std::array<TOutputRowControls, TFMain::kOutputCount>& rows) {
  bool any = false;
  for (const TOutputRowControls& row : rows) {
    for (QComboBox* list : {row.W, row.B, row.T, row.C, row.S}) {
      if (list->currentIndex() < 0) {
        EditBoxBackground::MarkRefused(list);
        any = true;
      }
    }
  }
  return any;
}

}  // namespace

// --- Encoder information boxes ---------------------------------------------------------------------

namespace {

void ShowEncoderInfo(TFMain& window, int channelNumber) {
  const std::optional<kvelt::InfoBox> box = kvelt::ComposeEncoderInfo(
      window.ChannelReadings, channelNumber, window.UnitList->currentIndex(), window.DisplayDecimals(),
      window.DecimalSeparator(), [&window](std::string_view key) { return window.Lang().GetTextOrDefault(key); });
  if (box) {
    kvelt::app::ShowMessageBox(kvelt::app::MessageIcon::Information, QString::fromStdString(box->Title),
                               QString::fromStdString(box->Text));
  }
}

}  // namespace

void TFMain::BitBtn3Click(QObject* /*Sender*/) { ShowEncoderInfo(*this, 1); }
void TFMain::BitBtn4Click(QObject* /*Sender*/) { ShowEncoderInfo(*this, 2); }
void TFMain::BitBtn5Click(QObject* /*Sender*/) { ShowEncoderInfo(*this, 3); }
void TFMain::BitBtn6Click(QObject* /*Sender*/) { ShowEncoderInfo(*this, 4); }

// --- Device commands -----------------------------------------------------------------------------------
// A list with no selection has no value to send: its command sends nothing.

void TFMain::button_clear0Click(QObject* Sender) {
  if (const auto channel = SenderChannel(Sender)) {
    Send(*this, kvelt::ClearPositionRequest(static_cast<int>(*channel)));
  }
}

void TFMain::SpeedButton2Click(QObject* /*Sender*/) { Send(*this, kvelt::GateTimeRequest(TimeList->currentIndex())); }

void TFMain::BitBtn8Click(QObject* /*Sender*/) { Send(*this, kvelt::ModbusAddressRequest(mod_adr->currentIndex())); }

void TFMain::BitBtn9Click(QObject* /*Sender*/) { Send(*this, kvelt::ModbusBaudRateRequest(mod_br->currentIndex())); }

// --- Encoder parameters ------------------------------------------------------------------------------

void TFMain::button_get_res0Click(QObject* Sender) {
  if (const auto channel = SenderChannel(Sender)) {
    Send(*this, kvelt::GetResolutionRequest(static_cast<int>(*channel)));
  }
}

void TFMain::button_set_res0Click(QObject* Sender) {
  const auto channel = SenderChannel(Sender);
  if (!channel) {
    return;
  }
  QLineEdit* box = edit_res[*channel];
  const auto request = kvelt::SetResolutionRequest(static_cast<int>(*channel), Utf8(box->text()));
  if (!request) {
    EditBoxBackground::MarkRefused(box);
    return;
  }
  Send(*this, *request);
}

void TFMain::button_get_coeff0Click(QObject* Sender) {
  if (const auto channel = SenderChannel(Sender)) {
    Send(*this, kvelt::GetCoefficientRequest(static_cast<int>(*channel)));
  }
}

void TFMain::button_set_coeff0Click(QObject* Sender) {
  const auto channel = SenderChannel(Sender);
  if (!channel) {
    return;
  }
  QLineEdit* box = edit_coeff[*channel];
  const auto request =
      kvelt::SetCoefficientRequest(static_cast<int>(*channel), Utf8(box->text()), DecimalSeparator());
  if (!request) {
    EditBoxBackground::MarkRefused(box);
    return;
  }
  Send(*this, *request);
}

void TFMain::button_get_zero0Click(QObject* Sender) {
  if (const auto channel = SenderChannel(Sender)) {
    Send(*this, kvelt::GetZeroMarkerRequest(static_cast<int>(*channel)));
  }
}

void TFMain::button_set_zero0Click(QObject* Sender) {
  const auto channel = SenderChannel(Sender);
  if (!channel) {
    return;
  }
  // After a reply with a value outside the list, the list shows nothing: there is no flag to send.
  const int position = edit_zero[*channel]->currentIndex();
  if (position < 0) {
    EditBoxBackground::MarkRefused(edit_zero[*channel]);
    return;
  }
  Send(*this, kvelt::SetZeroMarkerRequest(static_cast<int>(*channel), position));
}

void TFMain::edit_res0Change(QObject* Sender) { EditBoxBackground::MarkNormal(qobject_cast<QWidget*>(Sender)); }

void TFMain::ConnectListRefusalReset() {
  // A refused list gets its normal colour back as soon as it has a selection again.
  std::vector<QComboBox*> lists(edit_zero.begin(), edit_zero.end());
  for (const TOutputRowControls& row : OutputRows) {
    lists.insert(lists.end(), {row.W, row.B, row.T, row.C, row.S});
  }
  for (QComboBox* list : lists) {
    connect(list, &QComboBox::currentIndexChanged, this, [list](int index) {
      if (index >= 0) {
        EditBoxBackground::MarkNormal(list);
      }
    });
  }
}

// --- Transistor outputs ---------------------------------------------------------------------------------

namespace {

// The enabling rule of a row: its controls follow the tick of A; N loses any refused marking.
void ApplyOutputEnablingRule(const TOutputRowControls& row) {
  const bool enabled = row.A->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(row.W), static_cast<QWidget*>(row.B),
                           static_cast<QWidget*>(row.N), static_cast<QWidget*>(row.T),
                           static_cast<QWidget*>(row.C), static_cast<QWidget*>(row.M),
                           static_cast<QWidget*>(row.S)}) {
    control->setEnabled(enabled);
  }
  EditBoxBackground::MarkNormal(row.N);
}

kvelt::OutputRow ReadOutputRow(const TOutputRowControls& controls) {
  kvelt::OutputRow row;
  row.Enabled = controls.A->isChecked();
  row.Source = controls.W->currentIndex();
  row.Comparison = controls.B->currentIndex();
  row.Threshold = Utf8(controls.N->text());
  row.Logic = controls.T->currentIndex();
  row.SecondComparison = controls.C->currentIndex();
  row.SecondThreshold = Utf8(controls.M->text());
  row.State = controls.S->currentIndex();
  return row;
}

}  // namespace

void TFMain::out1_AClick(QObject* /*Sender*/) { ApplyOutputEnablingRule(OutputRows[0]); }
void TFMain::out2_AClick(QObject* /*Sender*/) { ApplyOutputEnablingRule(OutputRows[1]); }
void TFMain::out3_AClick(QObject* /*Sender*/) { ApplyOutputEnablingRule(OutputRows[2]); }
void TFMain::out4_AClick(QObject* /*Sender*/) { ApplyOutputEnablingRule(OutputRows[3]); }
void TFMain::out5_AClick(QObject* /*Sender*/) { ApplyOutputEnablingRule(OutputRows[4]); }

void TFMain::BitBtn2Click(QObject* /*Sender*/) {
  kvelt::OutputRows rows;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    rows[k] = ReadOutputRow(OutputRows[k]);
  }
  const kvelt::OutputsWrite write = kvelt::BuildOutputsWrite(rows, DecimalSeparator());
  for (const kvelt::RefusedBox& refused : write.Refused) {
    const TOutputRowControls& row = OutputRows[static_cast<std::size_t>(refused.Row)];
    EditBoxBackground::MarkRefused(refused.Box == kvelt::OutputBox::Threshold ? row.N : row.M);
  }
  // A list left without a selection by a reply has no position to carry: nothing is written
  // rather than a made-up byte, and the list shows the refusal as a bad box does.
  const bool listsRefused = MarkListsWithoutSelection(OutputRows);
  if (!write.Ok() || listsRefused) {
    return;
  }
  KeptOutputsSecondHalf = write.Second;
  Send(*this, kvelt::BuildWriteOutputsFirst(write.First));
}

void TFMain::BitBtn1Click(QObject* /*Sender*/) { Send(*this, kvelt::BuildReadOutputsFirst()); }

// --- Replies and acknowledgements ------------------------------------------------------------------

namespace {

void ShowAcknowledgement(TFMain& window, kvelt::DeviceCommand code) {
  if (const auto key = kvelt::AcknowledgementTextKey(code)) {
    window.ShowStatusMessageAndRepaint(0, *key);
  }
}

}  // namespace

void TFMain::OnResolutionSet() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdSetResolution); }
void TFMain::OnCoefficientSet() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdSetCoefficient); }
void TFMain::OnPositionCleared() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdClearPosition); }
void TFMain::OnModbusAddressSet() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdSetModbusAddress); }
void TFMain::OnGateTimeSet() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdSetGateTime); }
void TFMain::OnModbusBaudRateSet() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdSetModbusBaudRate); }
void TFMain::OnOutputsSecondWritten() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdWriteOutputsSecond); }
void TFMain::OnZeroMarkerSet() { ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdSetZeroMarker); }

void TFMain::OnOutputsFirstWritten() { Send(*this, kvelt::BuildWriteOutputsSecond(KeptOutputsSecondHalf)); }

void TFMain::OnOutputsFirstRead(const kvelt::OutputsFirstHalf& half) {
  const auto fills = kvelt::FillRowsFromFirstHalf(half, DisplayDecimals(), DecimalSeparator());
  for (std::size_t k = 0; k < fills.size(); ++k) {
    const TOutputRowControls& row = OutputRows[k];
    // A change of the tick runs the row's enabling rule, as a click does.
    row.A->setChecked(fills[k].Enabled);
    row.W->setCurrentIndex(fills[k].Source);
    row.B->setCurrentIndex(fills[k].Comparison);
    row.N->setText(QString::fromStdString(fills[k].Threshold));
  }
  Send(*this, kvelt::BuildReadOutputsSecond());
}

void TFMain::OnOutputsSecondRead(const kvelt::OutputsSecondHalf& half) {
  const auto fills = kvelt::FillRowsFromSecondHalf(half, DisplayDecimals(), DecimalSeparator());
  for (std::size_t k = 0; k < fills.size(); ++k) {
    const TOutputRowControls& row = OutputRows[k];
    row.T->setCurrentIndex(fills[k].Logic);
    row.C->setCurrentIndex(fills[k].SecondComparison);
    row.M->setText(QString::fromStdString(fills[k].SecondThreshold));
    row.S->setCurrentIndex(fills[k].State);
  }
  for (int k = 1; k <= kOutputCount; ++k) {
    ApplyOutputLogicRule(k);
  }
  ShowAcknowledgement(*this, kvelt::DeviceCommand::cmdReadOutputsSecond);
}

void TFMain::OnResolutionRead(const kvelt::ResolutionReply& reply) {
  if (const auto channel = kvelt::ReplyChannel(reply.Channel)) {
    edit_res[static_cast<std::size_t>(*channel)]->setText(QString::fromStdString(kvelt::ResolutionReplyText(reply)));
  }
}

void TFMain::OnCoefficientRead(const kvelt::CoefficientReply& reply) {
  if (const auto channel = kvelt::ReplyChannel(reply.Channel)) {
    edit_coeff[static_cast<std::size_t>(*channel)]->setText(
        QString::fromStdString(kvelt::CoefficientReplyText(reply.Coefficient, DisplayDecimals(), DecimalSeparator())));
  }
}

void TFMain::OnZeroMarkerRead(const kvelt::ZeroMarkerReply& reply) {
  if (const auto channel = kvelt::ReplyChannel(reply.Channel)) {
    edit_zero[static_cast<std::size_t>(*channel)]->setCurrentIndex(kvelt::ZeroMarkerListPosition(reply));
  }
}
