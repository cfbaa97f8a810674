#pragma once

#include <QString>
#include <exception>

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// The message of a settings write that failed, in the active language, with the file and the
// reason; empty for any other error.
QString SettingsErrorText(const TLangTable& texts, const std::exception& error);

}  // namespace kvelt::app
