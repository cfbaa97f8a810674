#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "app/widgets/SaveDialogRunner.h"

class TSaveDialog;

// Answers every save dialog the window runs while it lives (a file name, or
// nothing for Cancel) and remembers which dialogs were shown.
class DialogAnswer {
 public:
  explicit DialogAnswer(std::optional<QString> answer);
  ~DialogAnswer();
  DialogAnswer(const DialogAnswer&) = delete;
  DialogAnswer& operator=(const DialogAnswer&) = delete;

  std::vector<TSaveDialog*> Shown;

 private:
  kvelt::app::SaveDialogPresenter previous_;
};
