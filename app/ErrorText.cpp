#include "app/ErrorText.h"

namespace kvelt::app {

QString ComposeErrorText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar(u'.')) {
    return message + u'.';
  }
  return message;
}

}  // namespace kvelt::app
