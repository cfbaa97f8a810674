#pragma once

#include <QString>

namespace kvelt::app {

// What to tell the user about a counter whose hidraw node they may not open. An installed copy
// has its udev rule in place already, so only reloading the rules is left; a copy run from its
// build tree names the rule in the source tree and how to install it.
class AccessHint {
 public:
  // language: 1 Polish, 2 English; executableDir: the folder of the running executable.
  static QString Text(int language, const QString& executableDir);
};

}  // namespace kvelt::app
