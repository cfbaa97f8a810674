#include "app/widgets/SaveDialogRunner.h"

#include <QDialog>
#include <QStringList>
#include <utility>

#include "app/widgets/TSaveDialog.h"

namespace kvelt::app {
namespace {

SaveDialogPresenter& Presenter() {
  static SaveDialogPresenter presenter;
  return presenter;
}

std::optional<QString> RunModal(TSaveDialog& dialog) {
  QFileDialog& fileDialog = dialog.Dialog();
  if (fileDialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  const QStringList files = fileDialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) {
    return std::nullopt;
  }
  return files.front();
}

}  // namespace

std::optional<QString> RunSaveDialog(TSaveDialog& dialog) {
  if (Presenter()) {
    return Presenter()(dialog);
  }
  return RunModal(dialog);
}

SaveDialogPresenter SetSaveDialogPresenter(SaveDialogPresenter presenter) {
  return std::exchange(Presenter(), std::move(presenter));
}

}  // namespace kvelt::app
