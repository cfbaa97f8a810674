#include "app/widgets/TReadoutEdit.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "app/widgets/DisplayRatePacer.h"
#include "app/widgets/ReadableColour.h"

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
    stale_ = stale;
    ApplyTextColour();
  }
  setToolTip(stale ? why : QString());
}

void TReadoutEdit::SetValueColour(const QColor& colour) {
  valueColour_ = colour;
  ApplyTextColour();
}

void TReadoutEdit::ApplyTextColour() {
  if (!valueColour_.isValid() && !stale_) {
    return;  // no colour of its own: the palette's text colour
  }
  // An old value is grey, but still readable.
  const QColor wanted = stale_ ? QColor(Qt::gray) : valueColour_;
  QPalette colours = palette();
  colours.setColor(QPalette::Text, kvelt::app::ReadableColour::On(wanted, colours.color(QPalette::Base)));
  applying_ = true;
  setPalette(colours);
  applying_ = false;
}

void TReadoutEdit::FitFont() {
  if (!isVisible()) {
    return;  // not laid out yet: its size means nothing
  }
  if (smallestPixelSize_ <= 0) {
    smallestPixelSize_ = std::max(1, font().pixelSize());
  }
  // The digits take about a third of the box's height, and the widest value the counter sends fits
  // its width.
  static const QString kWidest = QStringLiteral("-00000000,000");
  QFont fitted = font();
  int size = std::max(smallestPixelSize_, height() / 3);
  const int room = std::max(1, contentsRect().width() - 8);
  while (size > smallestPixelSize_) {
    fitted.setPixelSize(size);
    if (QFontMetrics(fitted).horizontalAdvance(kWidest) <= room) {
      break;
    }
    --size;
  }
  fitted.setPixelSize(size);
  if (fitted.pixelSize() != font().pixelSize()) {
    applying_ = true;
    setFont(fitted);
    applying_ = false;
  }
}

void TReadoutEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (applying_) {
    return;
  }
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
    ApplyTextColour();  // a new background (a dark theme) may need another shade
  } else if (event->type() == QEvent::FontChange) {
    smallestPixelSize_ = 0;  // a font given from outside is the new smallest one
    FitFont();
  }
}

void TReadoutEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  FitFont();
}

void TReadoutEdit::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().brush(QPalette::Window));
  }
  QLineEdit::paintEvent(event);
}
