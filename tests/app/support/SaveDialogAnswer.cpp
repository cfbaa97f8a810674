#include "tests/app/support/SaveDialogAnswer.h"

#include <utility>

DialogAnswer::DialogAnswer(std::optional<QString> answer) {
  previous_ = kvelt::app::SetSaveDialogPresenter([this, answer](TSaveDialog& dialog) {
    Shown.push_back(&dialog);
    return answer;
  });
}

DialogAnswer::~DialogAnswer() { kvelt::app::SetSaveDialogPresenter(std::move(previous_)); }
