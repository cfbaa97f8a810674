#include "app/widgets/TReadoutEdit.h"

#include <QPaintEvent>
#include <QPainter>

#include "app/widgets/DisplayRatePacer.h"

TReadoutEdit::TReadoutEdit(kvelt::app::DisplayRatePacer& pacer, QWidget* parent)
    : QLineEdit(parent), pacer_(pacer) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TReadoutEdit::ShowText(const QString& text) {
  if (text == this->text()) {
    return;
  }
  // The edit box asks for a repaint of its own with every new text; that request is held back
  // (only while the text is set: the box stays paintable for exposures and pictures) and the
  // repaint left to the pacer.
  const bool updatesWereOn = !testAttribute(Qt::WA_UpdatesDisabled);
  setAttribute(Qt::WA_UpdatesDisabled, true);
  setText(text);
  setAttribute(Qt::WA_UpdatesDisabled, !updatesWereOn);
  pacer_.Defer(this);
}

void TReadoutEdit::SetStale(bool stale, const QString& why) {
  if (stale != stale_) {
    if (stale) {
      ownPalette_ = palette();
      QPalette grey = ownPalette_;
      grey.setColor(QPalette::Text, QColor(Qt::gray));
      setPalette(grey);
    } else {
      setPalette(ownPalette_);
    }
    stale_ = stale;
  }
  setToolTip(stale ? why : QString());
}

void TReadoutEdit::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().brush(QPalette::Window));
  }
  QLineEdit::paintEvent(event);
}
