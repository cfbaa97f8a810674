#include "app/Main.h"

void TFMain::SaveButtonClick(QObject* /*Sender*/) {}

void TFMain::SpeedButton1Click(QObject* /*Sender*/) {}

bool TFMain::RecordingTick() { return true; }
