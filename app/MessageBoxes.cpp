#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace kvelt::app {
namespace {

MessageBoxPresenter& Presenter() {
  static MessageBoxPresenter presenter;
  return presenter;
}

void ShowModalBox(const MessageBoxRequest& request) {
  const QMessageBox::Icon icon =
      request.Icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information;
  QMessageBox box(icon, request.Title, request.Text, QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

}  // namespace

void ShowMessageBox(MessageIcon icon, const QString& title, const QString& text) {
  const MessageBoxRequest request{icon, title, text};
  if (Presenter()) {
    Presenter()(request);
  } else {
    ShowModalBox(request);
  }
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  return std::exchange(Presenter(), std::move(presenter));
}

}  // namespace kvelt::app
