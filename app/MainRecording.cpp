// Recording's handlers and dispatcher call-out, forwarded to its logic (app/pages/RecordingPage.h).

#include "app/Main.h"
#include "app/pages/RecordingPage.h"
#include "app/pages/RecordingProgress.h"

bool TFMain::RecordingTick() { return recordingPage_->Tick(); }

void TFMain::SaveButtonClick(QObject* /*Sender*/) {
  recordingPage_->SaveClick();
  recordingProgress_->Update();
}

void TFMain::SpeedButton1Click(QObject* /*Sender*/) { recordingPage_->ChooseFileClick(); }
