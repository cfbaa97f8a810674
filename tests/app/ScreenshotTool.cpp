// Renders each visible page of the main window in Polish and in English into PNG files:
//   kvelt-screenshots OUTPUT_DIR
// Uses a throw-away config folder, so the user's settings are neither read nor changed.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
  } pages[] = {{"TabSheet2", "values"}, {"TabSheet3", "configuration"}, {"TabSheet4", "program-settings"}};
  int written = 0;
  for (const auto& language : languages) {
    QTemporaryDir config;
    kvelt::app::ProgramOptions options;
    options.ConfigDir = config.path();
    TFMain window(options);
    window.ActivateLanguage(language.Language);
    window.Control<QComboBox>("LangCombo1")->setCurrentIndex(language.Language - 1);
    // Live-looking read-outs and status panels.
    const float positions[] = {12.5f, -3.75f, 1024.0f, 0.0f};
    const float speeds[] = {0.5f, 1.0f, 1.5f, 2.0f};
    for (int channel = 0; channel < 4; ++channel) {
      kvelt::ChannelFrame frame;
      frame.Code = static_cast<std::uint8_t>(100 + channel);
      frame.Position = positions[channel];
      frame.Speed = speeds[channel];
      const auto bytes = kvelt::EncodeChannelFrame(frame);
      window.HidDataReceived(nullptr, 1, bytes.data(), static_cast<quint16>(bytes.size()));
    }
    window.SetStatusPanelText(0, window.LangText("IDS_4"));
    window.SetStatusPanelText(1, window.LangText("IDS_2"));
    window.show();
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
