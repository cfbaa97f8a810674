// The configuration page's and the information boxes' handlers and dispatcher call-outs,
// forwarded to its logic (app/pages/ConfigurationPage.h).

#include "app/Main.h"
#include "app/pages/ConfigurationPage.h"

using kvelt::DeviceCommand;

void TFMain::BitBtn3Click(QObject* /*Sender*/) { ConfigPage_->ShowEncoderInfo(1); }
void TFMain::BitBtn4Click(QObject* /*Sender*/) { ConfigPage_->ShowEncoderInfo(2); }
void TFMain::BitBtn5Click(QObject* /*Sender*/) { ConfigPage_->ShowEncoderInfo(3); }
void TFMain::BitBtn6Click(QObject* /*Sender*/) { ConfigPage_->ShowEncoderInfo(4); }

void TFMain::button_clear0Click(QObject* Sender) { ConfigPage_->ClearPositionClick(Sender); }
void TFMain::SpeedButton2Click(QObject* /*Sender*/) { ConfigPage_->GateTimeClick(); }
void TFMain::BitBtn8Click(QObject* /*Sender*/) { ConfigPage_->ModbusAddressClick(); }
void TFMain::BitBtn9Click(QObject* /*Sender*/) { ConfigPage_->ModbusBaudRateClick(); }

void TFMain::button_get_res0Click(QObject* Sender) { ConfigPage_->GetResolutionClick(Sender); }
void TFMain::button_set_res0Click(QObject* Sender) { ConfigPage_->SetResolutionClick(Sender); }
void TFMain::button_get_coeff0Click(QObject* Sender) { ConfigPage_->GetCoefficientClick(Sender); }
void TFMain::button_set_coeff0Click(QObject* Sender) { ConfigPage_->SetCoefficientClick(Sender); }
void TFMain::button_get_zero0Click(QObject* Sender) { ConfigPage_->GetZeroMarkerClick(Sender); }
void TFMain::button_set_zero0Click(QObject* Sender) { ConfigPage_->SetZeroMarkerClick(Sender); }
void TFMain::edit_res0Change(QObject* Sender) { ConfigPage_->EditChanged(Sender); }

void TFMain::out1_AClick(QObject* /*Sender*/) { ConfigPage_->ApplyEnablingRule(1); }
void TFMain::out2_AClick(QObject* /*Sender*/) { ConfigPage_->ApplyEnablingRule(2); }
void TFMain::out3_AClick(QObject* /*Sender*/) { ConfigPage_->ApplyEnablingRule(3); }
void TFMain::out4_AClick(QObject* /*Sender*/) { ConfigPage_->ApplyEnablingRule(4); }
void TFMain::out5_AClick(QObject* /*Sender*/) { ConfigPage_->ApplyEnablingRule(5); }
void TFMain::out1_TChange(QObject* /*Sender*/) { ConfigPage_->ApplyLogicRule(1); }
void TFMain::out2_TChange(QObject* /*Sender*/) { ConfigPage_->ApplyLogicRule(2); }
void TFMain::out3_TChange(QObject* /*Sender*/) { ConfigPage_->ApplyLogicRule(3); }
void TFMain::out4_TChange(QObject* /*Sender*/) { ConfigPage_->ApplyLogicRule(4); }
void TFMain::out5_TChange(QObject* /*Sender*/) { ConfigPage_->ApplyLogicRule(5); }
void TFMain::ApplyOutputLogicRule(int k) { ConfigPage_->ApplyLogicRule(k); }
void TFMain::BitBtn2Click(QObject* /*Sender*/) { ConfigPage_->WriteOutputsClick(); }
void TFMain::BitBtn1Click(QObject* /*Sender*/) { ConfigPage_->ReadOutputsClick(); }

void TFMain::OnResolutionSet() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdSetResolution); }
void TFMain::OnCoefficientSet() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdSetCoefficient); }
void TFMain::OnPositionCleared() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdClearPosition); }
void TFMain::OnModbusAddressSet() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdSetModbusAddress); }
void TFMain::OnGateTimeSet() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdSetGateTime); }
void TFMain::OnModbusBaudRateSet() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdSetModbusBaudRate); }
void TFMain::OnOutputsSecondWritten() {
  ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdWriteOutputsSecond);
}
void TFMain::OnZeroMarkerSet() { ConfigPage_->ShowAcknowledgement(DeviceCommand::cmdSetZeroMarker); }
void TFMain::OnOutputsFirstWritten() { ConfigPage_->OnOutputsFirstWritten(); }
void TFMain::OnOutputsFirstRead(const kvelt::OutputsFirstHalf& half) {
  ConfigPage_->OnOutputsFirstRead(half);
}
void TFMain::OnOutputsSecondRead(const kvelt::OutputsSecondHalf& half) {
  ConfigPage_->OnOutputsSecondRead(half);
}
void TFMain::OnResolutionRead(const kvelt::ResolutionReply& reply) { ConfigPage_->OnResolutionRead(reply); }
void TFMain::OnCoefficientRead(const kvelt::CoefficientReply& reply) {
  ConfigPage_->OnCoefficientRead(reply);
}
void TFMain::OnZeroMarkerRead(const kvelt::ZeroMarkerReply& reply) { ConfigPage_->OnZeroMarkerRead(reply); }
