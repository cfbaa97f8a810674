#pragma once

#include <QPixmap>

namespace kvelt::app {

// The flags of the language picker, drawn in code.
class FlagPictures {
 public:
  static QPixmap Polish();   // 18 x 12: white over red
  static QPixmap English();  // 19 x 12: the Union Flag
};

}  // namespace kvelt::app
