// The chart page's handlers and dispatcher call-outs, forwarded to its logic
// (app/pages/ChartPage.h).

#include "app/Main.h"
#include "app/pages/ChartPage.h"
#include "app/pages/ChartTabSwitch.h"

void TFMain::PlayButtonClick(QObject* /*Sender*/) { chartPage_->PlayClick(); }

void TFMain::ClearButtonClick(QObject* /*Sender*/) { chartPage_->ClearClick(); }

void TFMain::SaveChartButtonClick(QObject* /*Sender*/) { chartPage_->SaveClick(); }

void TFMain::ChartWindowListChange(QObject* /*Sender*/) { chartPage_->WindowChange(); }

void TFMain::ChartPauseBoxClick(QObject* /*Sender*/) { chartPage_->PauseClick(); }

void TFMain::ChartAutoScaleBoxClick(QObject* /*Sender*/) { chartPage_->AutoScaleClick(); }

void TFMain::ExportChartButtonClick(QObject* /*Sender*/) { chartPage_->ExportClick(); }

void TFMain::show_chartClick(QObject* /*Sender*/) { chartTab_->Click(); }

bool TFMain::ChartRunning() const { return chartPage_->Running(); }

void TFMain::AddChannelChartPoints(int channel) { chartPage_->AddChannelPoints(channel); }

void TFMain::ChartTimeStep() { chartPage_->TimeStep(); }

void TFMain::AddOutputChartPoints(std::uint8_t outputState) { chartPage_->AddOutputPoints(outputState); }
