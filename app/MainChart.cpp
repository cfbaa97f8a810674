// The hidden chart page's handlers and dispatcher call-outs, forwarded to its logic
// (app/pages/ChartPage.h).

#include "app/Main.h"
#include "app/pages/ChartPage.h"

void TFMain::PlayButtonClick(QObject* /*Sender*/) { ChartPage_->PlayClick(); }

void TFMain::ClearButtonClick(QObject* /*Sender*/) { ChartPage_->ClearClick(); }

void TFMain::SaveChartButtonClick(QObject* /*Sender*/) { ChartPage_->SaveClick(); }

bool TFMain::ChartRunning() const { return ChartPage_->Running(); }

void TFMain::AddChannelChartPoints(int channel) { ChartPage_->AddChannelPoints(channel); }

void TFMain::ChartTimeStep() { ChartPage_->TimeStep(); }

void TFMain::AddOutputChartPoints(std::uint8_t outputState) { ChartPage_->AddOutputPoints(outputState); }
