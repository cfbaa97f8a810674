// Start-up and shutdown of the main window, forwarded to the start-up sequence and the settings
// binding (app/pages/StartUpSequence.h, app/pages/ProgramSettingsPage.h).

#include <QCloseEvent>
#include <QEvent>
#include <QScrollArea>
#include <QStatusBar>

#include "app/HandlerGuard.h"
#include "app/Main.h"
#include "app/pages/LanguagePage.h"
#include "app/pages/ProgramSettingsPage.h"
#include "app/pages/StartUpSequence.h"

void TFMain::FormCreate(QObject* /*Sender*/) { startUp_->Run(); }

void TFMain::FormClick(QObject* /*Sender*/) { settingsPage_->StoreChange(); }

void TFMain::FormClose(QObject* /*Sender*/) { settingsPage_->StoreOnClose(); }

void TFMain::closeEvent(QCloseEvent* event) {
  // Closing is never refused, whatever the close handler runs into.
  kvelt::app::RunGuarded([this] { FormClose(this); });
  event->accept();
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
  const auto* scroller = qobject_cast<const QScrollArea*>(centralWidget());
  const QWidget* client = scroller != nullptr ? scroller->widget() : centralWidget();
  if (watched == client && event->type() == QEvent::MouseButtonRelease) {
    kvelt::app::RunGuarded([this] { FormClick(this); });
  } else if (watched == StatusBar && event->type() == QEvent::Resize && languagePage_) {
    languagePage_->BarResized();
  }
  return QMainWindow::eventFilter(watched, event);
}
