#pragma once

#include <QString>

namespace kvelt {

// Qt's own texts (the buttons of standard dialogs, the context menus of edit boxes) in the
// active language: Qt's translation "qtbase" for Polish, none for English, where Qt's texts
// are English already. The translator belongs to the application object, so it lives as long
// as the application and is installed at most once.
class QtOwnTranslation {
 public:
  // Installs the translation for language n (1 Polish, 2 English) and removes the one of the
  // previous language; asking for the language already active changes nothing. Returns false when Polish is
  // asked for and Qt's translation file is missing; Qt's texts then stay English.
  static bool Activate(int language);

  // Where Qt's translation files are: Qt's own translations folder.
  static QString TranslationsPath();
};

}  // namespace kvelt
