#pragma once

#include <QString>
#include <functional>
#include <optional>

class TSaveDialog;

namespace kvelt::app {

// Runs a save-file dialog and returns the chosen file name, or nothing when the user cancelled.
using SaveDialogPresenter = std::function<std::optional<QString>(TSaveDialog& dialog)>;

// Every save dialog of the program is run through here: modally, unless another presenter is in
// place.
std::optional<QString> RunSaveDialog(TSaveDialog& dialog);

// Puts another presenter in place (tests answer the dialog instead of showing it); an empty one
// brings back the modal dialog. Returns the presenter that was in place.
SaveDialogPresenter SetSaveDialogPresenter(SaveDialogPresenter presenter);

}  // namespace kvelt::app
