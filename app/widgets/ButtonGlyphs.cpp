#include "app/widgets/ButtonGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>

namespace kvelt::app {
namespace {

constexpr int kSize = 16;

QIcon Paint(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

// A small box (the counter) with an arrow in or out of it.
void DrawDeviceArrow(QPainter& p, bool intoPc, const QColor& arrow) {
  p.setPen(QPen(QColor(70, 70, 70), 1));
  p.setBrush(QColor(200, 210, 225));
  p.drawRect(QRectF(1.5, 9.5, 13, 5));
  p.setBrush(QColor(90, 200, 90));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(3, 11, 2, 2));
  QPolygonF shape;
  if (intoPc) {  // arrow pointing up, out of the box
    shape << QPointF(8, 0.5) << QPointF(13, 5.5) << QPointF(10, 5.5) << QPointF(10, 8.5) << QPointF(6, 8.5)
          << QPointF(6, 5.5) << QPointF(3, 5.5);
  } else {  // arrow pointing down, into the box
    shape << QPointF(8, 8.5) << QPointF(13, 3.5) << QPointF(10, 3.5) << QPointF(10, 0.5) << QPointF(6, 0.5)
          << QPointF(6, 3.5) << QPointF(3, 3.5);
  }
  p.setPen(QPen(arrow.darker(150), 1));
  p.setBrush(arrow);
  p.drawPolygon(shape);
}

void DrawFloppy(QPainter& p, const QColor& body) {
  p.setPen(QPen(body.darker(170), 1));
  p.setBrush(body);
  QPainterPath outline;
  outline.moveTo(1.5, 1.5);
  outline.lineTo(12.5, 1.5);
  outline.lineTo(14.5, 3.5);
  outline.lineTo(14.5, 14.5);
  outline.lineTo(1.5, 14.5);
  outline.closeSubpath();
  p.drawPath(outline);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 8.5, 9, 6));
  p.setBrush(QColor(220, 220, 220));
  p.drawRect(QRectF(4.5, 1.5, 6, 4));
}

}  // namespace

ButtonGlyphs ButtonGlyphs::Draw() {
  ButtonGlyphs glyphs;
  glyphs.Read = Paint([](QPainter& p) { DrawDeviceArrow(p, true, QColor(40, 120, 220)); });
  glyphs.Write = Paint([](QPainter& p) { DrawDeviceArrow(p, false, QColor(230, 140, 20)); });
  glyphs.Clear = Paint([](QPainter& p) {
    // A zero crossed by an eraser stroke.
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(4, 1.5, 8, 12));
    p.setPen(QPen(QColor(210, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2, 14), QPointF(14, 2));
  });
  glyphs.Info = Paint([](QPainter& p) {
    p.setPen(QPen(QColor(20, 70, 160), 1));
    p.setBrush(QColor(50, 110, 210));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6.8, 3, 2.4, 2.4));
    p.drawRect(QRectF(6.9, 6.5, 2.2, 6.5));
  });
  glyphs.StartStop = Paint([](QPainter& p) {
    // Play triangle beside a stop square.
    p.setPen(QPen(QColor(20, 110, 20), 1));
    p.setBrush(QColor(60, 180, 60));
    p.drawPolygon(QPolygonF() << QPointF(1, 2) << QPointF(9, 8) << QPointF(1, 14));
    p.setPen(QPen(QColor(150, 20, 20), 1));
    p.setBrush(QColor(220, 50, 50));
    p.drawRect(QRectF(10.5, 4.5, 5, 7));
  });
  glyphs.Modbus = Paint([](QPainter& p) {
    // Two stations on a bus line.
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(QPointF(1, 13), QPointF(15, 13));
    p.drawLine(QPointF(4.5, 8), QPointF(4.5, 13));
    p.drawLine(QPointF(11.5, 8), QPointF(11.5, 13));
    p.setPen(QPen(QColor(40, 90, 40), 1));
    p.setBrush(QColor(120, 190, 120));
    p.drawRect(QRectF(1.5, 2.5, 6, 5));
    p.drawRect(QRectF(8.5, 2.5, 6, 5));
  });
  glyphs.SaveChart = Paint([](QPainter& p) {
    DrawFloppy(p, QColor(60, 90, 170));
    p.setPen(QPen(QColor(210, 40, 40), 1.2));
    p.drawPolyline(QPolygonF() << QPointF(4, 13.5) << QPointF(6.5, 10) << QPointF(9, 12) << QPointF(12, 9));
  });
  glyphs.SaveSettings = Paint([](QPainter& p) {
    DrawFloppy(p, QColor(40, 140, 80));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.drawLine(QPointF(5, 11), QPointF(11, 11));
    p.drawLine(QPointF(5, 13), QPointF(11, 13));
  });
  glyphs.ChooseFile = Paint([](QPainter& p) {
    // An open folder.
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygonF() << QPointF(0.5, 3.5) << QPointF(5.5, 3.5) << QPointF(7, 5) << QPointF(13.5, 5)
                              << QPointF(13.5, 13.5) << QPointF(0.5, 13.5));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF() << QPointF(3, 7.5) << QPointF(15.5, 7.5) << QPointF(13.5, 13.5)
                              << QPointF(0.5, 13.5));
  });
  return glyphs;
}

}  // namespace kvelt::app
