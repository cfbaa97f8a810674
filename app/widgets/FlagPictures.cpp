#include "app/widgets/FlagPictures.h"

#include <QPainter>
#include <QPolygonF>

namespace kvelt::app {

QPixmap FlagPictures::Polish() {
  QPixmap flag(18, 12);
  flag.fill(Qt::white);
  QPainter painter(&flag);
  painter.fillRect(0, 6, 18, 6, QColor(220, 20, 60));
  painter.setPen(QColor(160, 160, 160));
  painter.drawRect(0, 0, 17, 11);
  return flag;
}

QPixmap FlagPictures::English() {
  constexpr int width = 19;
  constexpr int height = 12;
  const QColor blue(1, 33, 105);
  const QColor red(200, 16, 46);
  QPixmap flag(width, height);
  flag.fill(blue);
  QPainter painter(&flag);
  painter.setRenderHint(QPainter::Antialiasing);
  // White diagonals with thin red ones on them.
  painter.setPen(QPen(Qt::white, 3));
  painter.drawLine(QPointF(0, 0), QPointF(width, height));
  painter.drawLine(QPointF(0, height), QPointF(width, 0));
  painter.setPen(QPen(red, 1));
  painter.drawLine(QPointF(0, 0), QPointF(width, height));
  painter.drawLine(QPointF(0, height), QPointF(width, 0));
  // White cross with the red cross on it.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(7, 0, 5, height, Qt::white);
  painter.fillRect(0, 4, width, 4, Qt::white);
  painter.fillRect(8, 0, 3, height, red);
  painter.fillRect(0, 5, width, 2, red);
  return flag;
}

}  // namespace kvelt::app
