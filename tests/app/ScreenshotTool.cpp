// Renders each visible page of the main window in Polish and in English into PNG files:
//   kvelt-screenshots OUTPUT_DIR
// Uses a throw-away config folder, so the user's settings are neither read nor changed.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "app/Main.h"
#include "app/widgets/AppFonts.h"
#include "i18n/qt/TLangCombo.h"
#include "protocol/ChannelFrame.h"

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
  } pages[] = {{"TabSheet2", "values"},
               {"TabSheet1", "chart"},
               {"TabSheet3", "configuration"},
               {"TabSheet4", "program-settings"}};
  int written = 0;
  for (const auto& language : languages) {
    QTemporaryDir config;
    kvelt::app::ProgramOptions options;
    options.ConfigDir = config.path();
    options.Simulate = true;
    TFMain window(options);
    window.ActivateLanguage(language.Language);
    window.Control<QComboBox>("LangCombo1")->setCurrentIndex(language.Language - 1);
    // The built-in simulated counter: live read-outs, and the window saying that they are
    // simulated. The pictures are taken once every read-out has a value.
    window.show();
    QElapsedTimer waited;
    waited.start();
    const auto filled = [&window] {
      for (const char* name : {"Edit1", "Edit2", "Edit4", "Edit5", "Edit7", "Edit8", "Edit10", "Edit11"}) {
        if (window.Control<QLineEdit>(name)->text().isEmpty()) return false;
      }
      return true;
    };
    while (!filled() && waited.elapsed() < 10000) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    // The chart shown (a user's choice on the settings page), scaled to its lines and running for
    // a few seconds.
    window.Control<QCheckBox>("show_chart")->click();
    window.Control<QTabWidget>("PageControl1")->setCurrentWidget(window.Control<QWidget>("TabSheet1"));
    window.Control<QAbstractButton>("PlayButton")->click();
    window.Control<QCheckBox>("ChartAutoScaleBox")->click();
    waited.restart();
    while (waited.elapsed() < 4000) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    for (const auto& page : pages) {
      window.Control<QTabWidget>("PageControl1")->setCurrentWidget(window.Control<QWidget>(page.Page));
      QApplication::processEvents();
      const QString file = output.filePath(
          QStringLiteral("%1-%2.png").arg(QLatin1String(language.Tag), QLatin1String(page.Tag)));
      if (window.grab().save(file)) {
        QTextStream(stdout) << file << '\n';
        ++written;
      }
    }
    // The outputs page with every row in use and every second comparison shown.
    for (int k = 1; k <= TFMain::kOutputCount; ++k) {
      const QString row = QStringLiteral("out%1_").arg(k);
      window.Control<QCheckBox>(qPrintable(row + u'A'))->setChecked(true);
      for (const QChar column : QStringLiteral("WBNTCMS")) {
        if (auto* control = window.Control<QWidget>(qPrintable(row + column))) {
          control->setEnabled(true);
        }
      }
      window.Control<QComboBox>(qPrintable(row + u'T'))->setCurrentIndex(2);
      window.ApplyOutputLogicRule(k);
    }
    window.Control<QTabWidget>("PageControl1")->setCurrentWidget(window.Control<QWidget>("TabSheet3"));
    QApplication::processEvents();
    const QString file = output.filePath(QStringLiteral("%1-outputs.png").arg(QLatin1String(language.Tag)));
    if (window.grab().save(file)) {
      QTextStream(stdout) << file << '\n';
      ++written;
    }
  }
  return written == 8 ? 0 : 1;
}
