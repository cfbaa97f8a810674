#pragma once

#include <QString>
#include <string_view>

#include "config/ValueRefusal.h"

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// Why a box was refused, in the active language; `decimalSeparator` is the one expected.
QString RefusalText(const TLangTable& texts, ValueRefusal refusal, std::string_view decimalSeparator);

}  // namespace kvelt::app
