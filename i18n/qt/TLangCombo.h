#pragma once

#include <QComboBox>
#include <QPixmap>
#include <QString>

// The language picker: a pick-only drop-down list that draws each language as its flag followed
// by its name. Its selected index is the active language minus 1.
class TLangCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit TLangCombo(QWidget* parent = nullptr);

  void AddLanguage(const QString& name, const QPixmap& flag);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};
