#include "measure/qt/ChartLinePoints.h"

namespace kvelt {

QList<QPointF> ChartLinePoints(const QList<QPointF>& points) {
  const qsizetype count = points.size();
  QList<QPointF> line;
  line.reserve(count);
  for (qsizetype i = 0; i < count; ++i) {
    const bool inside =
        i > 0 && i + 1 < count && points[i - 1].y() == points[i].y() && points[i + 1].y() == points[i].y();
    if (!inside) {
      line.append(points[i]);
    }
  }
  return line;
}

}  // namespace kvelt
