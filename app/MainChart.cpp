#include "app/Main.h"

void TFMain::PlayButtonClick(QObject* /*Sender*/) {}

void TFMain::ClearButtonClick(QObject* /*Sender*/) {}

void TFMain::SaveChartButtonClick(QObject* /*Sender*/) {}

void TFMain::AddChannelChartPoints(int /*channel*/) {}

void TFMain::ChartTimeStep() {}

void TFMain::AddOutputChartPoints(std::uint8_t /*outputState*/) {}
