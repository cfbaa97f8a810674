#include "app/widgets/EditBoxBackground.h"

#include <QApplication>
#include <QComboBox>
#include <QPalette>
#include <QWidget>

#include "config/RefusedValueColour.h"

namespace kvelt::app {
namespace {

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

// An edit box paints its field with Base; a pick-only drop-down list paints its face with Button.
bool PaintsWithButton(const QWidget* box) {
  const auto* combo = qobject_cast<const QComboBox*>(box);
  return combo != nullptr && !combo->isEditable();
}

// The refused colour stands in every state of the box, enabled or not.
void SetRefusedBackground(QWidget* box, const QColor& colour) {
  QPalette palette = box->palette();
  for (const QPalette::ColorGroup group : kGroups) {
    palette.setColor(group, QPalette::Base, colour);
    if (PaintsWithButton(box)) {
      palette.setColor(group, QPalette::Button, colour);
    }
  }
  box->setPalette(palette);
}

// The normal colour is the application's, state by state (a disabled box keeps its own shade).
void SetNormalBackground(QWidget* box) {
  const QPalette normal = QApplication::palette(box);
  QPalette palette = box->palette();
  for (const QPalette::ColorGroup group : kGroups) {
    palette.setColor(group, QPalette::Base, normal.color(group, QPalette::Base));
    if (PaintsWithButton(box)) {
      palette.setColor(group, QPalette::Button, normal.color(group, QPalette::Button));
    }
  }
  box->setPalette(palette);
}

}  // namespace

QColor EditBoxBackground::Refused() {
  return QColor(kRefusedValueColour.Red, kRefusedValueColour.Green, kRefusedValueColour.Blue);
}

QColor EditBoxBackground::Normal(const QWidget* box) {
  return QApplication::palette(box).color(QPalette::Active, QPalette::Base);
}

void EditBoxBackground::MarkRefused(QWidget* box) {
  if (box != nullptr) {
    SetRefusedBackground(box, Refused());
  }
}

void EditBoxBackground::MarkNormal(QWidget* box) {
  if (box != nullptr && box->palette().color(QPalette::Active, QPalette::Base) != Normal(box)) {
    SetNormalBackground(box);
  }
}

bool EditBoxBackground::IsMarkedRefused(const QWidget* box) {
  return box != nullptr && box->palette().color(QPalette::Active, QPalette::Base) == Refused();
}

}  // namespace kvelt::app
