#pragma once

#include <QFont>

namespace kvelt::app {

// The window's fonts: "Tahoma" at 11 pixels for everything, 24 pixels for the read-outs.
class AppFonts {
 public:
  // Makes "Tahoma" available when the system has none: loads the metric-compatible Tahoma that
  // Wine ships (Debian's fonts-wine keeps it outside fontconfig's path). Without one the family
  // falls back to the default sans font. Never fails; safe to call more than once.
  static void EnsureTahoma();

  static QFont WindowFont();
  static QFont ReadoutFont();
};

}  // namespace kvelt::app
