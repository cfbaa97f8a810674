#include "app/pages/LanguagePage.h"

#include <QStatusBar>
#include <utility>

#include "i18n/TLangTable.h"
#include "i18n/qt/LanguageApplier.h"
#include "i18n/qt/QtOwnTranslation.h"
#include "i18n/qt/TLangCombo.h"

namespace kvelt::app {
namespace {

constexpr int kPickerTop = 2;
constexpr int kPickerRightOffset = 115;

}  // namespace

LanguagePage::LanguagePage(const Controls& controls, TLangTable& texts, const LanguageApplier& applier,
                           std::function<void()> showState)
    : controls_(controls), texts_(texts), applier_(applier), showState_(std::move(showState)) {}

// The status panels keep their messages: the activation shows them in the new language.
void LanguagePage::PickerChanged() { Activate(controls_.Picker->currentIndex() + 1); }

void LanguagePage::Activate(int n) {
  const bool changed = texts_.SetActiveLanguage(n);
  // Qt's own texts follow the active language even when the table's language stays.
  QtOwnTranslation::Activate(texts_.ActiveLanguage());
  if (!changed) {
    return;
  }
  applier_.Apply(texts_);
  // The table carries the design-time captions; the texts that show a state are set again from
  // that state in the new language.
  showState_();
}

void LanguagePage::PlacePicker() {
  TLangCombo* picker = controls_.Picker;
  if (picker->parentWidget() != controls_.Bar) {
    picker->setParent(controls_.Bar);
    picker->resize(picker->width(), picker->sizeHint().height());
    picker->show();
  }
  picker->move(controls_.Bar->width() - kPickerRightOffset, kPickerTop);
}

bool LanguagePage::PickerInBar() const { return controls_.Picker->parentWidget() == controls_.Bar; }

void LanguagePage::BarResized() {
  if (PickerInBar()) {
    PlacePicker();
  }
}

}  // namespace kvelt::app
