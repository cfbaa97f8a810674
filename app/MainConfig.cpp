// The configuration page's and the information boxes' handlers and dispatcher call-outs,
// forwarded to its logic (app/pages/ConfigurationPage.h).

#include "app/Main.h"
#include "app/pages/ConfigurationPage.h"
#include "app/pages/OutputIndicators.h"

using kvelt::DeviceCommand;

void TFMain::BitBtn3Click(QObject* /*Sender*/) { configPage_->ShowEncoderInfo(1); }
void TFMain::BitBtn4Click(QObject* /*Sender*/) { configPage_->ShowEncoderInfo(2); }
void TFMain::BitBtn5Click(QObject* /*Sender*/) { configPage_->ShowEncoderInfo(3); }
void TFMain::BitBtn6Click(QObject* /*Sender*/) { configPage_->ShowEncoderInfo(4); }

void TFMain::button_clear0Click(QObject* Sender) { configPage_->ClearPositionClick(Sender); }
void TFMain::SpeedButton2Click(QObject* /*Sender*/) { configPage_->GateTimeClick(); }
void TFMain::BitBtn8Click(QObject* /*Sender*/) { configPage_->ModbusAddressClick(); }
void TFMain::BitBtn9Click(QObject* /*Sender*/) { configPage_->ModbusBaudRateClick(); }

void TFMain::button_get_res0Click(QObject* Sender) { configPage_->GetResolutionClick(Sender); }
void TFMain::button_set_res0Click(QObject* Sender) { configPage_->SetResolutionClick(Sender); }
void TFMain::button_get_coeff0Click(QObject* Sender) { configPage_->GetCoefficientClick(Sender); }
void TFMain::button_set_coeff0Click(QObject* Sender) { configPage_->SetCoefficientClick(Sender); }
void TFMain::button_get_zero0Click(QObject* Sender) { configPage_->GetZeroMarkerClick(Sender); }
void TFMain::button_set_zero0Click(QObject* Sender) { configPage_->SetZeroMarkerClick(Sender); }
void TFMain::edit_res0Change(QObject* Sender) { configPage_->EditChanged(Sender); }

void TFMain::out1_AClick(QObject* /*Sender*/) { configPage_->ApplyEnablingRule(1); }
void TFMain::out2_AClick(QObject* /*Sender*/) { configPage_->ApplyEnablingRule(2); }
void TFMain::out3_AClick(QObject* /*Sender*/) { configPage_->ApplyEnablingRule(3); }
void TFMain::out4_AClick(QObject* /*Sender*/) { configPage_->ApplyEnablingRule(4); }
void TFMain::out5_AClick(QObject* /*Sender*/) { configPage_->ApplyEnablingRule(5); }
void TFMain::out1_TChange(QObject* /*Sender*/) { configPage_->ApplyLogicRule(1); }
void TFMain::out2_TChange(QObject* /*Sender*/) { configPage_->ApplyLogicRule(2); }
void TFMain::out3_TChange(QObject* /*Sender*/) { configPage_->ApplyLogicRule(3); }
void TFMain::out4_TChange(QObject* /*Sender*/) { configPage_->ApplyLogicRule(4); }
void TFMain::out5_TChange(QObject* /*Sender*/) { configPage_->ApplyLogicRule(5); }
void TFMain::ApplyOutputLogicRule(int k) { configPage_->ApplyLogicRule(k); }
void TFMain::BitBtn2Click(QObject* /*Sender*/) { configPage_->WriteOutputsClick(); }
void TFMain::BitBtn1Click(QObject* /*Sender*/) { configPage_->ReadOutputsClick(); }

void TFMain::OnResolutionSet() { configPage_->ShowAcknowledgement(DeviceCommand::cmdSetResolution); }
void TFMain::OnCoefficientSet() { configPage_->ShowAcknowledgement(DeviceCommand::cmdSetCoefficient); }
void TFMain::OnPositionCleared() { configPage_->ShowAcknowledgement(DeviceCommand::cmdClearPosition); }
void TFMain::OnModbusAddressSet() { configPage_->ShowAcknowledgement(DeviceCommand::cmdSetModbusAddress); }
void TFMain::OnGateTimeSet() { configPage_->ShowAcknowledgement(DeviceCommand::cmdSetGateTime); }
void TFMain::OnModbusBaudRateSet() { configPage_->ShowAcknowledgement(DeviceCommand::cmdSetModbusBaudRate); }
void TFMain::OnOutputsSecondWritten() {
  configPage_->ShowAcknowledgement(DeviceCommand::cmdWriteOutputsSecond);
}
void TFMain::OnZeroMarkerSet() { configPage_->ShowAcknowledgement(DeviceCommand::cmdSetZeroMarker); }
void TFMain::OnOutputsFirstWritten() { configPage_->OnOutputsFirstWritten(); }
void TFMain::OnOutputsFirstRead(const kvelt::OutputsFirstHalf& half) {
  configPage_->OnOutputsFirstRead(half);
}
void TFMain::OnOutputsSecondRead(const kvelt::OutputsSecondHalf& half) {
  configPage_->OnOutputsSecondRead(half);
  outputIndicators_->RulesRead();
}
void TFMain::OnResolutionRead(const kvelt::ResolutionReply& reply) { configPage_->OnResolutionRead(reply); }
void TFMain::OnCoefficientRead(const kvelt::CoefficientReply& reply) {
  configPage_->OnCoefficientRead(reply);
}
void TFMain::OnZeroMarkerRead(const kvelt::ZeroMarkerReply& reply) { configPage_->OnZeroMarkerRead(reply); }
