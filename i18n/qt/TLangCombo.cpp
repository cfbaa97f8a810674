#include "i18n/qt/TLangCombo.h"

#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// Offsets of the flag and of the name from the item's top-left corner.
constexpr int kFlagLeft = 1;
constexpr int kFlagTop = 2;
constexpr int kTextLeft = 23;
constexpr int kTextTop = 1;
constexpr int kItemHeight = 16;

int ItemHeight(const QFontMetrics& metrics) {
  return std::max(kItemHeight, metrics.boundingRect(QStringLiteral("H")).height() + 3);
}

void PaintLanguage(QPainter& painter, const QRect& rect, const QPixmap& flag, const QString& name,
                   const QFont& font, const QColor& textColour) {
  painter.drawPixmap(rect.left() + kFlagLeft, rect.top() + kFlagTop, flag);
  painter.setFont(font);
  painter.setPen(textColour);
  const QRect textRect(rect.left() + kTextLeft, rect.top() + kTextTop, rect.width() - kTextLeft,
                       rect.height() - kTextTop);
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
}

class LanguageItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool highlighted = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    painter->save();
    painter->fillRect(option.rect, option.palette.brush(highlighted ? QPalette::Highlight : QPalette::Base));
    const QPixmap flag = index.data(Qt::UserRole).value<QPixmap>();
    PaintLanguage(*painter, option.rect, flag, index.data(Qt::DisplayRole).toString(), option.font,
                  option.palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    return {base.width(), ItemHeight(option.fontMetrics)};
  }
};

}  // namespace

TLangCombo::TLangCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setItemDelegate(new LanguageItemDelegate(this));
}

void TLangCombo::AddLanguage(const QString& name, const QPixmap& flag) { addItem(QIcon(flag), name, flag); }

QSize TLangCombo::sizeHint() const {
  const QSize base = QComboBox::sizeHint();
  return {base.width(), std::max(base.height(), ItemHeight(fontMetrics()) + 4)};
}

void TLangCombo::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const int index = currentIndex();
  if (index < 0) {
    return;
  }
  QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  field.setTop(field.top() + (field.height() - kItemHeight) / 2);
  field.setHeight(kItemHeight);
  PaintLanguage(painter, field, itemData(index).value<QPixmap>(), itemText(index), font(),
                palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
}
