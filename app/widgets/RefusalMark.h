#pragma once

#include <QString>

class QWidget;

namespace kvelt::app {

// A refused box: the refused background with the reason as its tooltip, so the user sees why
// (range, separator, missing choice); cleared together once the box changes.
class RefusalMark {
 public:
  static void Mark(QWidget* box, const QString& reason);
  static void Clear(QWidget* box);
};

}  // namespace kvelt::app
