#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <utility>

namespace kvelt::app {

inline constexpr const char16_t* kApplicationTitle = u"KVELT - PC";

// Shows an error that escaped a handler: a modal error box titled "KVELT - PC" with the message
// composed by ComposeErrorText. The program carries on afterwards.
void ShowEscapedError(const QString& message);

// While one lives (main thread), errors that escape a handler are written to the standard error
// stream as one line instead of a box: a close started by a signal may have no one to click OK.
class ErrorsToStandardError {
 public:
  ErrorsToStandardError();
  ~ErrorsToStandardError();
  ErrorsToStandardError(const ErrorsToStandardError&) = delete;
  ErrorsToStandardError& operator=(const ErrorsToStandardError&) = delete;

 private:
  bool previous_;
};

// Words an escaped error in the window's language; an empty text leaves the error's own message.
using EscapedErrorTranslator = std::function<QString(const std::exception& error)>;

// Puts a translator in place (the window, while it lives); returns the one that was in place.
EscapedErrorTranslator SetEscapedErrorTranslator(EscapedErrorTranslator translator);

// To be called inside a catch block: shows the exception being handled (the message of a
// std::exception, an empty message for anything else).
void ShowCurrentException();

// Runs a handler; whatever it throws is shown as above and goes no further.
template <typename Handler>
void RunGuarded(Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
  } catch (...) {
    ShowCurrentException();
  }
}

}  // namespace kvelt::app
