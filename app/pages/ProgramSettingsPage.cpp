#include "app/pages/ProgramSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "app/WindowPlacement.h"
#include "settings/IniSession.h"
#include "settings/SettingsKeys.h"

namespace kvelt::app {
namespace {

namespace Keys = SettingsKeys;
namespace Defaults = SettingsDefaults;

constexpr int kPolishIndex = 0;

// A stored index outside its list selects the list's default instead of leaving no selection.
int IndexOrDefault(int stored, int count, int fallback) {
  return stored >= 0 && stored < count ? stored : fallback;
}

void SelectStored(const IniSession& settings, QComboBox* list, std::string_view key, int readDefault,
                  int fallback) {
  list->setCurrentIndex(
      IndexOrDefault(settings.ReadInteger(Keys::Section, key, readDefault), list->count(), fallback));
}

}  // namespace

ProgramSettingsPage::ProgramSettingsPage(const Controls& controls, std::function<IniFile()> settings)
    : controls_(controls), settings_(std::move(settings)) {}

void ProgramSettingsPage::Read(const IniSession& settings) {
  const auto section = Keys::Section;
  const auto& table = CheckBoxSettings();
  for (std::size_t n = 0; n < table.size(); ++n) {
    controls_.CheckBoxes[n]->setChecked(settings.ReadBool(section, table[n].Key, table[n].Default));
  }
  controls_.File->setText(
      QString::fromStdString(settings.ReadString(section, Keys::SaveFile, Defaults::SaveFile())));
  SelectStored(settings, controls_.Decimals, Keys::Div, Defaults::Div, Defaults::Div);
  SelectStored(settings, controls_.Unit, Keys::Unit, Defaults::Unit, Defaults::Unit);
  QWidget& window = *controls_.Window;
  const int top = settings.ReadInteger(section, Keys::ScreenTop, Defaults::ScreenTop);
  const int left = settings.ReadInteger(section, Keys::ScreenLeft, Defaults::ScreenLeft);
  window.move(
      WindowPlacement::PlaceOnScreens(QPoint(left, top), std::max(window.width(), window.minimumWidth())));
  SelectStored(settings, controls_.Language, Keys::Language, Defaults::Language, kPolishIndex);
  SelectStored(settings, controls_.Period, Keys::SavePeriod, Defaults::SavePeriod, Defaults::SavePeriod);
}

void ProgramSettingsPage::StoreChange() {
  if (!ready_) {
    return;
  }
  IniSession settings(settings_());
  const auto& table = CheckBoxSettings();
  for (std::size_t n = 0; n < table.size(); ++n) {
    settings.WriteBool(Keys::Section, table[n].Key, controls_.CheckBoxes[n]->isChecked());
  }
  settings.WriteInteger(Keys::Section, Keys::SavePeriod, controls_.Period->currentIndex());
  settings.Save();
}

void ProgramSettingsPage::StoreOnClose() {
  IniSession settings(settings_());
  const auto section = Keys::Section;
  settings.WriteInteger(section, Keys::ScreenTop, controls_.Window->y());
  settings.WriteInteger(section, Keys::ScreenLeft, controls_.Window->x());
  settings.WriteInteger(section, Keys::Language, controls_.Language->currentIndex());
  settings.WriteInteger(section, Keys::SavePeriod, controls_.Period->currentIndex());
  settings.Save();
}

}  // namespace kvelt::app
