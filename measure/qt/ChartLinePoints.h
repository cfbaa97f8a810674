#pragma once

#include <QList>
#include <QPointF>

namespace kvelt {

// The points a line series needs to draw the same line: inside every run of three or more
// points with the same y (an output that keeps its state, a channel at rest) only the run's first
// and last point are kept, since the points between lie on the segment that joins them. A NaN y
// is never part of a run.
QList<QPointF> ChartLinePoints(const QList<QPointF>& points);

}  // namespace kvelt
