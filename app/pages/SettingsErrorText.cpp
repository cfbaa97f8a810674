#include "app/pages/SettingsErrorText.h"

#include "app/pages/PageText.h"
#include "settings/SettingsWriteError.h"

namespace kvelt::app {

QString SettingsErrorText(const TLangTable& texts, const std::exception& error) {
  const auto* settings = dynamic_cast<const SettingsWriteError*>(&error);
  if (settings == nullptr) {
    return {};
  }
  QString text = PageText(texts, "IDS_192").arg(QString::fromStdString(settings->Path()));
  if (!settings->Reason().empty()) {
    text += QStringLiteral(": ") + QString::fromStdString(settings->Reason());
  }
  return text;
}

}  // namespace kvelt::app
