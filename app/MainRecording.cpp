// Recording's handlers and dispatcher call-out, forwarded to its logic (app/pages/RecordingPage.h).

#include "app/Main.h"
#include "app/pages/RecordingPage.h"

bool TFMain::RecordingTick() { return RecordingPage_->Tick(); }

void TFMain::SaveButtonClick(QObject* /*Sender*/) { RecordingPage_->SaveClick(); }

void TFMain::ApplyRecordButtonCaption() { RecordingPage_->ApplyCaption(); }

void TFMain::SpeedButton1Click(QObject* /*Sender*/) { RecordingPage_->ChooseFileClick(); }
