#pragma once

class QCheckBox;
class QComboBox;
class QLineEdit;

// The controls of one transistor-output row (k = 1..5): outk_A .. outk_S.
struct TOutputRowControls {
  QCheckBox* A = nullptr;  // enable ("Wyjście k")
  QComboBox* W = nullptr;  // source position
  QComboBox* B = nullptr;  // comparison
  QLineEdit* N = nullptr;  // threshold
  QComboBox* T = nullptr;  // logic
  QComboBox* C = nullptr;  // second comparison
  QLineEdit* M = nullptr;  // second threshold
  QComboBox* S = nullptr;  // state
};
