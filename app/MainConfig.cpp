#include "app/Main.h"

void TFMain::BitBtn3Click(QObject* /*Sender*/) {}
void TFMain::BitBtn4Click(QObject* /*Sender*/) {}
void TFMain::BitBtn5Click(QObject* /*Sender*/) {}
void TFMain::BitBtn6Click(QObject* /*Sender*/) {}

void TFMain::button_clear0Click(QObject* /*Sender*/) {}
void TFMain::SpeedButton2Click(QObject* /*Sender*/) {}
void TFMain::BitBtn8Click(QObject* /*Sender*/) {}
void TFMain::BitBtn9Click(QObject* /*Sender*/) {}

void TFMain::button_get_res0Click(QObject* /*Sender*/) {}
void TFMain::button_set_res0Click(QObject* /*Sender*/) {}
void TFMain::button_get_coeff0Click(QObject* /*Sender*/) {}
void TFMain::button_set_coeff0Click(QObject* /*Sender*/) {}
void TFMain::button_get_zero0Click(QObject* /*Sender*/) {}
void TFMain::button_set_zero0Click(QObject* /*Sender*/) {}
void TFMain::edit_res0Change(QObject* /*Sender*/) {}

void TFMain::out1_AClick(QObject* /*Sender*/) {}
void TFMain::out2_AClick(QObject* /*Sender*/) {}
void TFMain::out3_AClick(QObject* /*Sender*/) {}
void TFMain::out4_AClick(QObject* /*Sender*/) {}
void TFMain::out5_AClick(QObject* /*Sender*/) {}
void TFMain::BitBtn2Click(QObject* /*Sender*/) {}
void TFMain::BitBtn1Click(QObject* /*Sender*/) {}

void TFMain::OnResolutionSet() {}
void TFMain::OnCoefficientSet() {}
void TFMain::OnPositionCleared() {}
void TFMain::OnOutputsFirstWritten() {}
void TFMain::OnOutputsFirstRead(const kvelt::OutputsFirstHalf& /*half*/) {}
void TFMain::OnModbusAddressSet() {}
void TFMain::OnGateTimeSet() {}
void TFMain::OnModbusBaudRateSet() {}
void TFMain::OnOutputsSecondWritten() {}
void TFMain::OnOutputsSecondRead(const kvelt::OutputsSecondHalf& /*half*/) {}
void TFMain::OnResolutionRead(const kvelt::ResolutionReply& /*reply*/) {}
void TFMain::OnCoefficientRead(const kvelt::CoefficientReply& /*reply*/) {}
void TFMain::OnZeroMarkerSet() {}
void TFMain::OnZeroMarkerRead(const kvelt::ZeroMarkerReply& /*reply*/) {}
