#pragma once

#include <QList>
#include <QPointF>
#include <QtGlobal>
#include <optional>

namespace kvelt::app {

// The points of one chart series, kept by the window rather than by the chart so that appending
// stays cheap and the chart is refreshed in one go at display rate. Holds at least the newest
// `capacity` points: once `capacity + dropBlock` are held, the oldest `dropBlock` go at once, so
// memory stays flat however long the chart runs and the drop is paid once per block.
class ChartSeriesBuffer {
 public:
  static constexpr qsizetype kDefaultCapacity = 10000;
  static constexpr qsizetype kDefaultDropBlock = 1000;

  explicit ChartSeriesBuffer(qsizetype capacity = kDefaultCapacity, qsizetype dropBlock = kDefaultDropBlock);

  void Append(QPointF point);
  void Clear();

  const QList<QPointF>& Points() const { return points_; }
  qsizetype Size() const { return points_.size(); }
  qsizetype MaximumSize() const { return capacity_ + dropBlock_; }

  // Whether the points changed since the chart was last given them.
  bool Changed() const { return changed_; }
  void MarkPresented() { changed_ = false; }

  // The smallest finite y value held, nothing when none is held.
  std::optional<double> MinimumY() const;

 private:
  void RecomputeMinimumY();

  qsizetype capacity_;
  qsizetype dropBlock_;
  QList<QPointF> points_;
  double minimumY_;
  bool changed_ = false;
};

}  // namespace kvelt::app
