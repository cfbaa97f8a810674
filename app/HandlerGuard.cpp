#include "app/HandlerGuard.h"

#include <exception>

#include "app/ErrorText.h"
#include "app/MessageBoxes.h"

namespace kvelt::app {

void ShowEscapedError(const QString& message) {
  ShowMessageBox(MessageIcon::Error, QString::fromUtf16(kApplicationTitle), ComposeErrorText(message));
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowEscapedError(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowEscapedError(QString());
  }
}

}  // namespace kvelt::app
