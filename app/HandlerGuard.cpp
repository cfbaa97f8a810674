#include "app/HandlerGuard.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "app/ErrorText.h"
#include "app/MessageBoxes.h"

namespace kvelt::app {
namespace {

bool g_errorsToStandardError = false;

EscapedErrorTranslator& Translator() {
  static EscapedErrorTranslator translator;
  return translator;
}

void WriteErrorLine(const QString& message) {
  QString line = ComposeErrorText(message);
  line.replace(u'\r', u' ').replace(u'\n', u' ');
  std::fprintf(stderr, "kvelt-pc: %s\n", line.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace

ErrorsToStandardError::ErrorsToStandardError() : previous_(std::exchange(g_errorsToStandardError, true)) {}

ErrorsToStandardError::~ErrorsToStandardError() { g_errorsToStandardError = previous_; }

void ShowEscapedError(const QString& message) {
  if (g_errorsToStandardError) {
    WriteErrorLine(message);
    return;
  }
  ShowMessageBox(MessageIcon::Error, QString::fromUtf16(kApplicationTitle), ComposeErrorText(message));
}

EscapedErrorTranslator SetEscapedErrorTranslator(EscapedErrorTranslator translator) {
  return std::exchange(Translator(), std::move(translator));
}

void ShowCurrentException() {
  try {
    throw;
  } catch (const std::exception& error) {
    // The box speaks the window's language; the standard error line stays in the program's own
    // words, which a terminal of any encoding shows.
    const QString translated = Translator() && !g_errorsToStandardError ? Translator()(error) : QString();
    ShowEscapedError(translated.isEmpty() ? QString::fromUtf8(error.what()) : translated);
  } catch (...) {
    ShowEscapedError(QString());
  }
}

}  // namespace kvelt::app
