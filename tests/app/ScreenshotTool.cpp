// Renders each visible page of the main window in Polish and in English into PNG files:
//   kvelt-screenshots OUTPUT_DIR
// Uses a throw-away config folder, so the user's settings are neither read nor changed.

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "app/AppFonts.h"
#include "app/Main.h"
#include "app/TLangCombo.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 2) {
    std::fputs("usage: kvelt-screenshots OUTPUT_DIR\n", stderr);
    return 2;
  }
  const QDir output(arguments[1]);
  QDir().mkpath(output.absolutePath());
  kvelt::app::AppFonts::EnsureTahoma();
  const struct {
    int Language;
    const char* Tag;
  } languages[] = {{1, "pl"}, {2, "en"}};
  const struct {
    const char* Page;
    const char* Tag;
  } pages[] = {{"TabSheet2", "values"}, {"TabSheet3", "configuration"}, {"TabSheet4", "program-settings"}};
  int written = 0;
  for (const auto& language : languages) {
    QTemporaryDir config;
    kvelt::app::ProgramOptions options;
    options.ConfigDir = config.path();
    TFMain window(options);
    window.ActivateLanguage(language.Language);
    window.LangCombo1->setCurrentIndex(language.Language - 1);
    window.show();
    for (const auto& page : pages) {
      window.PageControl1->setCurrentWidget(window.Control<QWidget>(page.Page));
      QApplication::processEvents();
      const QString file = output.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(language.Tag),
                                                                          QLatin1String(page.Tag)));
      if (window.grab().save(file)) {
        QTextStream(stdout) << file << '\n';
        ++written;
      }
    }
  }
  return written == 6 ? 0 : 1;
}
