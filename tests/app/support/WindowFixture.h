#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/pages/ChartPage.h"
#include "app/pages/ConfigurationPage.h"
#include "app/pages/DeviceStatusPage.h"
#include "app/pages/LanguagePage.h"
#include "app/pages/ProgramSettingsPage.h"
#include "app/pages/ReadoutsPage.h"
#include "app/pages/RecordingPage.h"

namespace kvelt::apptest {

// A main window over its own temporary config folder. Message boxes are recorded, not shown.
class WindowFixture {
 public:
  // Writes config.ini with these lines first, unless `iniLines` is empty (then no file exists).
  explicit WindowFixture(const QStringList& iniLines = {});
  ~WindowFixture();

  WindowFixture(const WindowFixture&) = delete;
  WindowFixture& operator=(const WindowFixture&) = delete;

  TFMain& Window() { return *window_; }
  QString IniPath() const;
  QString ConfigDir() const { return dir_.path(); }
  // The lines of config.ini (empty when there is none).
  QStringList IniLines() const;
  const std::vector<kvelt::app::MessageBoxRequest>& Boxes() const { return boxes_; }
  void ClearBoxes() { boxes_.clear(); }

  // Opens a window over the same folder again (the old one is destroyed first).
  void Reopen();

 private:
  QTemporaryDir dir_;
  std::vector<kvelt::app::MessageBoxRequest> boxes_;
  kvelt::app::MessageBoxPresenter previous_;
  std::unique_ptr<TFMain> window_;
};

// The 31 bytes of a channel frame for channel 0..3.
std::vector<quint8> ChannelFrameBytes(int channel, float position, float speed);

// Hands a report to the window the way the device layer does.
void Feed(TFMain& window, const std::vector<quint8>& report);

}  // namespace kvelt::apptest
