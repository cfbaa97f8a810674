#pragma once

#include <QString>
#include <string_view>

#include "i18n/TLangTable.h"

namespace kvelt::app {

// The text of a message key (IDS_n) in the table's active language.
inline QString PageText(const TLangTable& texts, std::string_view key) {
  return QString::fromStdString(texts.GetTextOrDefault(key));
}

}  // namespace kvelt::app
