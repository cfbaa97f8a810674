#pragma once

#include <QString>

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

// The about box of BitBtn7: the program's name and its version in the active language.
class AboutBox {
 public:
  static QString Text(const TLangTable& texts);
  static void Show(const TLangTable& texts);
};

}  // namespace kvelt::app
