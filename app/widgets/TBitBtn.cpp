#include "app/widgets/TBitBtn.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace {

constexpr int kGlyphSize = 16;
constexpr int kGlyphGap = 4;
constexpr int kMargin = 6;
constexpr int kWrapWidth = 120;

}  // namespace

TBitBtn::TBitBtn(const QIcon& glyph, GlyphPlacement placement, bool wordWrap, QWidget* parent)
    : QPushButton(parent), placement_(placement), wordWrap_(wordWrap) {
  setIcon(glyph);
  setIconSize(QSize(kGlyphSize, kGlyphSize));
}

QRect TBitBtn::WrappedTextBounds(int width) const {
  return fontMetrics().boundingRect(QRect(0, 0, std::max(width, 1), 10000),
                                    Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text());
}

QSize TBitBtn::sizeHint() const {
  if (!PaintsItself()) {
    return QPushButton::sizeHint();
  }
  const QFontMetrics metrics = fontMetrics();
  if (placement_ == GlyphPlacement::Top) {
    const QRect textBounds = wordWrap_ ? WrappedTextBounds(kWrapWidth) : metrics.boundingRect(text());
    return {std::max(textBounds.width(), kGlyphSize) + 2 * kMargin + 4,
            kGlyphSize + kGlyphGap + textBounds.height() + 2 * kMargin};
  }
  const QRect textBounds = WrappedTextBounds(kWrapWidth);
  return {kGlyphSize + kGlyphGap + textBounds.width() + 2 * kMargin + 4,
          std::max(kGlyphSize, textBounds.height()) + 2 * kMargin};
}

QSize TBitBtn::minimumSizeHint() const {
  if (!PaintsItself()) {
    return QPushButton::minimumSizeHint();
  }
  return {kGlyphSize + 2 * kMargin, kGlyphSize + 2 * kMargin};
}

void TBitBtn::paintEvent(QPaintEvent* event) {
  if (!PaintsItself()) {
    QPushButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  QStyleOptionButton bevel = option;
  bevel.text.clear();
  bevel.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButtonBevel, bevel);
  if (option.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }

  QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
    content.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                      style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
  }
  const QPixmap glyph =
      icon().pixmap(iconSize(), devicePixelRatio(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
  const int textFlags = Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : 0);

  if (placement_ == GlyphPlacement::Top) {
    const QRect textBounds =
        wordWrap_ ? WrappedTextBounds(content.width()) : fontMetrics().boundingRect(text());
    const int blockHeight = kGlyphSize + kGlyphGap + textBounds.height();
    const int top = content.top() + std::max(0, (content.height() - blockHeight) / 2);
    painter.drawPixmap(content.left() + (content.width() - kGlyphSize) / 2, top, glyph);
    const QRect textRect(content.left(), top + kGlyphSize + kGlyphGap, content.width(),
                         content.bottom() - (top + kGlyphSize + kGlyphGap) + 1);
    style()->drawItemText(&painter, textRect, Qt::AlignHCenter | Qt::AlignTop | textFlags, palette(),
                          isEnabled(), text(), QPalette::ButtonText);
    return;
  }
  const int textWidth = content.width() - kGlyphSize - kGlyphGap;
  const QRect textBounds = WrappedTextBounds(textWidth);
  const int blockWidth = kGlyphSize + kGlyphGap + textBounds.width();
  const int left = content.left() + std::max(0, (content.width() - blockWidth) / 2);
  painter.drawPixmap(left, content.top() + (content.height() - kGlyphSize) / 2, glyph);
  const QRect textRect(left + kGlyphSize + kGlyphGap, content.top(), textWidth, content.height());
  style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignVCenter | textFlags, palette(),
                        isEnabled(), text(), QPalette::ButtonText);
}
