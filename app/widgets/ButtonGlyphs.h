#pragma once

#include <QIcon>

namespace kvelt::app {

// The 16-pixel pictures of the window's buttons, drawn in code. Buttons of one group carry the
// very same icon object.
struct ButtonGlyphs {
  QIcon Read;          // read tool buttons and "Odczytaj nastawy z urządzenia"
  QIcon Write;         // write tool buttons and the gate-time button
  QIcon Clear;         // "Zeruj pozycję n" and "Wyczyść wykres"
  QIcon Info;          // "Informacje o czujniku n" and "O programie"
  QIcon StartStop;     // "Uruchom rejestrację danych" and "Zatrzymaj wykres"
  QIcon Modbus;        // "Ustaw adres" and "Ustaw prędkość"
  QIcon SaveChart;     // "Zapisz wykres"
  QIcon SaveSettings;  // "Zapisz nastawy do urządzenia"
  QIcon ChooseFile;    // the button beside the recording file name

  static ButtonGlyphs Draw();
};

}  // namespace kvelt::app
