#pragma once

#include <QString>

class QCheckBox;
class QTabWidget;
class QWidget;

namespace kvelt::app {

class ChartPage;
class ChartTabSwitch;
class ConfigurationPage;
class LanguagePage;
class ProgramSettingsPage;
class ReadoutsPage;
class RecordingPage;
class SettingsFile;

// The window's start-up (FormCreate): config.ini found (and written fresh when there is none),
// read into the controls, recording started when the settings ask, the captions and output rows
// made to follow what was read, and the language read activated.
class StartUpSequence {
 public:
  struct Pages {
    ProgramSettingsPage& Settings;
    ChartPage& Chart;
    ChartTabSwitch& ChartTab;
    LanguagePage& Language;
    RecordingPage& Recording;
    ReadoutsPage& Readouts;
    ConfigurationPage& Configuration;
  };
  struct Controls {
    QTabWidget* Tabs = nullptr;     // PageControl1
    QWidget* FirstPage = nullptr;   // TabSheet2
    QCheckBox* AutoSave = nullptr;  // auto_save
  };
  // `configDir` is the folder asked for on the command line, empty for the usual place.
  StartUpSequence(const Pages& pages, const Controls& controls, SettingsFile& file, QString configDir);

  // Something at the settings path that is not a readable settings file (a FIFO, a device, a
  // file over the size limit) leaves the window on defaults and is never written over:
  // kvelt::SettingsWriteError after everything else has run.
  void Run();

 private:
  Pages pages_;
  Controls controls_;
  SettingsFile& file_;
  QString configDir_;
};

}  // namespace kvelt::app
