// The hidden chart page's handlers and dispatcher call-outs, forwarded to its logic
// (app/pages/ChartPage.h).

#include "app/Main.h"
#include "app/pages/ChartPage.h"

void TFMain::PlayButtonClick(QObject* /*Sender*/) { chartPage_->PlayClick(); }

void TFMain::ClearButtonClick(QObject* /*Sender*/) { chartPage_->ClearClick(); }

void TFMain::SaveChartButtonClick(QObject* /*Sender*/) { chartPage_->SaveClick(); }

bool TFMain::ChartRunning() const { return chartPage_->Running(); }

void TFMain::AddChannelChartPoints(int channel) { chartPage_->AddChannelPoints(channel); }

void TFMain::ChartTimeStep() { chartPage_->TimeStep(); }

void TFMain::AddOutputChartPoints(std::uint8_t outputState) { chartPage_->AddOutputPoints(outputState); }
