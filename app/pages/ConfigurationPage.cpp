#include "app/pages/ConfigurationPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/MessageBoxes.h"
#include "app/pages/RefusalText.h"
#include "app/pages/ReportSender.h"
#include "app/pages/StatusSink.h"
#include "app/widgets/RefusalMark.h"
#include "config/AcknowledgementTexts.h"
#include "config/DeviceCommands.h"
#include "config/EncoderInfo.h"
#include "config/EncoderParameters.h"
#include "config/OutputRow.h"
#include "config/OutputsFill.h"
#include "config/OutputsWrite.h"
#include "config/SenderChannel.h"
#include "config/ValueRefusal.h"
#include "i18n/TLangTable.h"
#include "measure/qt/LocaleRecordLine.h"
#include "protocol/ReportBuilders.h"

namespace kvelt::app {
namespace {

// The channel 0..3 of one of four like controls, from the last character of its name.
std::optional<std::size_t> ChannelOf(const QObject* sender) {
  if (sender == nullptr) {
    return std::nullopt;
  }
  const std::optional<int> channel = ChannelFromSenderName(sender->objectName().toStdString());
  if (!channel) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(*channel);
}

std::string Utf8(const QString& text) { return text.toStdString(); }

// Marks every list of the rows that has no selection (a reply can leave one so); true if any.
bool MarkListsWithoutSelection(const std::array<TOutputRowControls, ConfigurationPage::kOutputCount>& rows,
                               const QString& reason) {
  bool any = false;
  for (const TOutputRowControls& row : rows) {
    for (QComboBox* list : {row.W, row.B, row.T, row.C, row.S}) {
      if (list->currentIndex() < 0) {
        RefusalMark::Mark(list, reason);
        any = true;
      }
    }
  }
  return any;
}

OutputRow ReadOutputRow(const TOutputRowControls& controls) {
  OutputRow row;
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

ConfigurationPage::ConfigurationPage(const Controls& controls, const ChannelReadingArray& readings,
                                     const TLangTable& texts, ReportSender& sender, StatusSink& status,
                                     std::function<int()> decimals)
    : controls_(controls),
      readings_(readings),
      texts_(texts),
      sender_(sender),
      status_(status),
      decimals_(std::move(decimals)) {}

void ConfigurationPage::ConnectListRefusalReset(QObject* context) {
  std::vector<QComboBox*> lists(controls_.ZeroMarker.begin(), controls_.ZeroMarker.end());
  lists.push_back(controls_.GateTime);
  for (const TOutputRowControls& row : controls_.Outputs) {
    lists.insert(lists.end(), {row.W, row.B, row.T, row.C, row.S});
  }
  for (QComboBox* list : lists) {
    QObject::connect(list, &QComboBox::currentIndexChanged, context, [list](int index) {
      if (index >= 0) {
        RefusalMark::Clear(list);
      }
    });
  }
}

// --- Encoder information boxes ---------------------------------------------------------------------

void ConfigurationPage::ShowEncoderInfo(int channelNumber) {
  const std::optional<InfoBox> box = ComposeEncoderInfo(
      readings_, channelNumber, controls_.Unit->currentIndex(), decimals_(), SystemDecimalSeparator(),
      [this](std::string_view key) { return texts_.GetTextOrDefault(key); });
  if (box) {
    ShowMessageBox(MessageIcon::Information, QString::fromStdString(box->Title),
                   QString::fromStdString(box->Text));
  }
}

// --- Device commands -----------------------------------------------------------------------------------
// A list with no selection has no value to send: its command sends nothing.

void ConfigurationPage::ClearPositionClick(const QObject* sender) {
  if (const auto channel = ChannelOf(sender)) {
    sender_.Send(ClearPositionRequest(static_cast<int>(*channel)));
  }
}

void ConfigurationPage::GateTimeClick() {
  if (const auto request = GateTimeRequest(controls_.GateTime->currentIndex())) {
    sender_.Send(*request);
  } else {
    RefusalMark::Mark(controls_.GateTime, RefusalText(texts_, ValueRefusal::NoChoice, {}));
  }
}

void ConfigurationPage::NoteChannelFrame(int channel) {
  if (channel < 0 || channel >= kChannelCount) {
    return;
  }
  // Only a change is shown, so a choice the user has not sent yet is not undone by every frame.
  const std::uint32_t reported = readings_[static_cast<std::size_t>(channel)].GateTimeMs;
  if (reportedGateTime_ == reported) {
    return;
  }
  reportedGateTime_ = reported;
  int position = -1;  // a time the list lacks: no item is claimed
  for (int candidate = 0; candidate < kGateTimeCount; ++candidate) {
    if (GateTimeMilliseconds(candidate) == reported) {
      position = candidate;
    }
  }
  controls_.GateTime->setCurrentIndex(position);
}

void ConfigurationPage::ModbusAddressClick() {
  if (const auto request = ModbusAddressRequest(controls_.ModbusAddress->currentIndex())) {
    sender_.Send(*request);
  }
}

void ConfigurationPage::ModbusBaudRateClick() {
  if (const auto request = ModbusBaudRateRequest(controls_.ModbusBaudRate->currentIndex())) {
    sender_.Send(*request);
  }
}

// --- Encoder parameters ------------------------------------------------------------------------------

void ConfigurationPage::GetResolutionClick(const QObject* sender) {
  if (const auto channel = ChannelOf(sender)) {
    sender_.Send(GetResolutionRequest(static_cast<int>(*channel)));
  }
}

void ConfigurationPage::SetResolutionClick(const QObject* sender) {
  const auto channel = ChannelOf(sender);
  if (!channel) {
    return;
  }
  QLineEdit* box = controls_.Resolution[*channel];
  const auto request = SetResolutionRequest(static_cast<int>(*channel), Utf8(box->text()));
  if (!request) {
    RefusalMark::Mark(box, RefusalText(texts_, ValueRefusal::WholeNumberRange, SystemDecimalSeparator()));
    return;
  }
  sender_.Send(*request);
}

void ConfigurationPage::GetCoefficientClick(const QObject* sender) {
  if (const auto channel = ChannelOf(sender)) {
    sender_.Send(GetCoefficientRequest(static_cast<int>(*channel)));
  }
}

void ConfigurationPage::SetCoefficientClick(const QObject* sender) {
  const auto channel = ChannelOf(sender);
  if (!channel) {
    return;
  }
  QLineEdit* box = controls_.Coefficient[*channel];
  const std::string separator = SystemDecimalSeparator();
  const auto request = SetCoefficientRequest(static_cast<int>(*channel), Utf8(box->text()), separator);
  if (!request) {
    RefusalMark::Mark(box, RefusalText(texts_, RealRefusal(Utf8(box->text()), separator), separator));
    return;
  }
  sender_.Send(*request);
}

void ConfigurationPage::GetZeroMarkerClick(const QObject* sender) {
  if (const auto channel = ChannelOf(sender)) {
    sender_.Send(GetZeroMarkerRequest(static_cast<int>(*channel)));
  }
}

void ConfigurationPage::SetZeroMarkerClick(const QObject* sender) {
  const auto channel = ChannelOf(sender);
  if (!channel) {
    return;
  }
  // After a reply with a value outside the list, the list shows nothing: there is no flag to send.
  QComboBox* list = controls_.ZeroMarker[*channel];
  const int position = list->currentIndex();
  if (position < 0) {
    RefusalMark::Mark(list, RefusalText(texts_, ValueRefusal::NoChoice, {}));
    return;
  }
  sender_.Send(SetZeroMarkerRequest(static_cast<int>(*channel), position));
}

void ConfigurationPage::EditChanged(QObject* sender) { RefusalMark::Clear(qobject_cast<QWidget*>(sender)); }

// --- Transistor outputs ---------------------------------------------------------------------------------

void ConfigurationPage::ApplyEnablingRule(int k) {
  if (k < 1 || k > kOutputCount) {
    return;
  }
  const TOutputRowControls& row = controls_.Outputs[static_cast<std::size_t>(k - 1)];
  const bool enabled = row.A->isChecked();
  for (QWidget* control :
       {static_cast<QWidget*>(row.W), static_cast<QWidget*>(row.B), static_cast<QWidget*>(row.N),
        static_cast<QWidget*>(row.T), static_cast<QWidget*>(row.C), static_cast<QWidget*>(row.M),
        static_cast<QWidget*>(row.S)}) {
    control->setEnabled(enabled);
  }
  RefusalMark::Clear(row.N);
}

void ConfigurationPage::ApplyLogicRule(int k) {
  if (k < 1 || k > kOutputCount) {
    return;
  }
  const TOutputRowControls& row = controls_.Outputs[static_cast<std::size_t>(k - 1)];
  const bool visible = SecondComparisonVisible(row.T->currentIndex());
  row.C->setVisible(visible);
  row.M->setVisible(visible);
}

void ConfigurationPage::WriteOutputsClick() {
  OutputRows rows;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    rows[k] = ReadOutputRow(controls_.Outputs[k]);
  }
  const std::string separator = SystemDecimalSeparator();
  const OutputsWrite write = BuildOutputsWrite(rows, separator);
  for (const RefusedBox& refused : write.Refused) {
    const TOutputRowControls& row = controls_.Outputs[static_cast<std::size_t>(refused.Row)];
    QLineEdit* box = refused.Box == OutputBox::Threshold ? row.N : row.M;
    RefusalMark::Mark(box, RefusalText(texts_, RealRefusal(Utf8(box->text()), separator), separator));
  }
  // A list left without a selection by a reply has no position to carry: nothing is written
  // rather than a made-up byte, and the list shows the refusal as a bad box does.
  if (MarkListsWithoutSelection(controls_.Outputs, RefusalText(texts_, ValueRefusal::NoChoice, {}))) {
    return;
  }
  if (const std::optional<OutboundReport> first = exchange_.BeginWrite(write)) {
    sender_.Send(*first);
  }
}

void ConfigurationPage::ReadOutputsClick() { sender_.Send(BuildReadOutputsFirst()); }

// --- Replies and acknowledgements ------------------------------------------------------------------

void ConfigurationPage::ShowAcknowledgement(DeviceCommand code) {
  if (const auto key = AcknowledgementTextKey(code)) {
    status_.ShowStatusMessageAndRepaint(0, *key);
  }
}

void ConfigurationPage::OnOutputsFirstWritten() { sender_.Send(exchange_.SecondHalfRequest()); }

void ConfigurationPage::OnOutputsFirstRead(const OutputsFirstHalf& half) {
  const auto fills = FillRowsFromFirstHalf(half, decimals_(), SystemDecimalSeparator());
  for (std::size_t k = 0; k < fills.size(); ++k) {
    const TOutputRowControls& row = controls_.Outputs[k];
    // A change of the tick runs the row's enabling rule, as a click does.
    row.A->setChecked(fills[k].Enabled);
    row.W->setCurrentIndex(fills[k].Source);
    row.B->setCurrentIndex(fills[k].Comparison);
    row.N->setText(QString::fromStdString(fills[k].Threshold));
  }
  sender_.Send(BuildReadOutputsSecond());
}

void ConfigurationPage::OnOutputsSecondRead(const OutputsSecondHalf& half) {
  const auto fills = FillRowsFromSecondHalf(half, decimals_(), SystemDecimalSeparator());
  for (std::size_t k = 0; k < fills.size(); ++k) {
    const TOutputRowControls& row = controls_.Outputs[k];
    row.T->setCurrentIndex(fills[k].Logic);
    row.C->setCurrentIndex(fills[k].SecondComparison);
    row.M->setText(QString::fromStdString(fills[k].SecondThreshold));
    row.S->setCurrentIndex(fills[k].State);
  }
  for (int k = 1; k <= kOutputCount; ++k) {
    ApplyLogicRule(k);
  }
  ShowAcknowledgement(DeviceCommand::cmdReadOutputsSecond);
}

void ConfigurationPage::OnResolutionRead(const ResolutionReply& reply) {
  if (const auto channel = ReplyChannel(reply.Channel)) {
    controls_.Resolution[static_cast<std::size_t>(*channel)]->setText(
        QString::fromStdString(ResolutionReplyText(reply)));
  }
}

void ConfigurationPage::OnCoefficientRead(const CoefficientReply& reply) {
  if (const auto channel = ReplyChannel(reply.Channel)) {
    controls_.Coefficient[static_cast<std::size_t>(*channel)]->setText(QString::fromStdString(
        CoefficientReplyText(reply.Coefficient, decimals_(), SystemDecimalSeparator())));
  }
}

void ConfigurationPage::OnZeroMarkerRead(const ZeroMarkerReply& reply) {
  if (const auto channel = ReplyChannel(reply.Channel)) {
    controls_.ZeroMarker[static_cast<std::size_t>(*channel)]->setCurrentIndex(ZeroMarkerListPosition(reply));
  }
}

}  // namespace kvelt::app
