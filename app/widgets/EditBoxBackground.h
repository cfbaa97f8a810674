#pragma once

#include <QColor>

class QWidget;

namespace kvelt::app {

// The background of an edit box that holds a typed value, or of a drop-down list: the normal one
// (the application's background for the control) or the light red of a refused value.
class EditBoxBackground {
 public:
  static QColor Refused();
  // The normal background as the application's palette has it for this kind of widget.
  static QColor Normal(const QWidget* box);

  static void MarkRefused(QWidget* box);
  static void MarkNormal(QWidget* box);
  static bool IsMarkedRefused(const QWidget* box);
};

}  // namespace kvelt::app
