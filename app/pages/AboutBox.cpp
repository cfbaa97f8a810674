#include "app/pages/AboutBox.h"

#include "app/MessageBoxes.h"
#include "app/ProgramVersion.h"
#include "app/pages/PageText.h"

namespace kvelt::app {

QString AboutBox::Text(const TLangTable& texts) {
  return PageText(texts, "IDS_186") + u'\n' + u'\n' + PageText(texts, "IDS_187") + u'\n' +
         QString::fromUtf16(kProgramVersion) + u'\n';
}

void AboutBox::Show(const TLangTable& texts) {
  ShowMessageBox(MessageIcon::Information, PageText(texts, "IDS_189"), Text(texts));
}

}  // namespace kvelt::app
