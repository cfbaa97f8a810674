#pragma once

#include <functional>

class QStatusBar;
class TLangCombo;

namespace kvelt {
class LanguageApplier;
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// Language switching: the picker in the status bar's right end, the table's active language,
// Qt's own texts, and the captions of the window applied again in the new language.
class LanguagePage {
 public:
  struct Controls {
    TLangCombo* Picker = nullptr;  // LangCombo1
    QStatusBar* Bar = nullptr;
  };
  // `showState` sets the texts that show a state (the unit, recording on or off, the status
  // panels) again after the table's captions were applied.
  LanguagePage(const Controls& controls, TLangTable& texts, const LanguageApplier& applier,
               std::function<void()> showState);

  // LangCombo1: the language picked (1 Polski, 2 English).
  void PickerChanged();
  // Activates language n and applies the table; nothing when n is active already;
  // kvelt::ELanguageError when n is not a language.
  void Activate(int n);
  // Puts the picker into the status bar (once) at its right end; again after every resize.
  void PlacePicker();
  bool PickerInBar() const;
  // The status bar changed its size: the picker keeps to its right end once it is in the bar.
  void BarResized();

 private:
  Controls controls_;
  TLangTable& texts_;
  const LanguageApplier& applier_;
  std::function<void()> showState_;
};

}  // namespace kvelt::app
