#pragma once

#include <QString>

#include "measure/RecordFile.h"

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// Why a file cannot be written, in the active language: the common causes from the table, any
// other error number in the system's own words.
QString FileProblemText(const TLangTable& texts, const AppendFailure& failure);

}  // namespace kvelt::app
