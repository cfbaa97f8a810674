#include "app/TReadoutEdit.h"

#include <QPaintEvent>
#include <QPainter>

#include "app/DisplayRatePacer.h"

TReadoutEdit::TReadoutEdit(kvelt::app::DisplayRatePacer& pacer, QWidget* parent)
    : QLineEdit(parent), pacer_(pacer) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TReadoutEdit::ShowText(const QString& text) {
  if (text == this->text()) {
    return;
  }
  pacer_.Defer(this);
  setText(text);
}

void TReadoutEdit::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().brush(QPalette::Window));
  }
  QLineEdit::paintEvent(event);
}
