#include "measure/qt/ChartSeriesBuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvelt {
namespace {

constexpr double kNoMinimum = std::numeric_limits<double>::infinity();

}  // namespace

ChartSeriesBuffer::ChartSeriesBuffer(qsizetype capacity, qsizetype dropBlock)
    : capacity_(std::max<qsizetype>(capacity, 1)),
      dropBlock_(std::max<qsizetype>(dropBlock, 1)),
      minimumY_(kNoMinimum) {
  points_.reserve(MaximumSize());
}

void ChartSeriesBuffer::Append(QPointF point) {
  if (points_.size() >= MaximumSize()) {
    points_.remove(0, dropBlock_);
    RecomputeMinimumY();
  }
  points_.append(point);
  if (std::isfinite(point.y()) && point.y() < minimumY_) {
    minimumY_ = point.y();
  }
  changed_ = true;
}

void ChartSeriesBuffer::Clear() {
  points_.clear();
  points_.reserve(MaximumSize());
  minimumY_ = kNoMinimum;
  changed_ = true;
}

void ChartSeriesBuffer::DropOlderThan(double x) {
  const auto firstKept =
      std::lower_bound(points_.cbegin(), points_.cend(), x,
                       [](const QPointF& point, double limit) { return point.x() < limit; });
  const qsizetype dropped = firstKept - points_.cbegin();
  if (dropped == 0) {
    return;
  }
  points_.remove(0, dropped);
  RecomputeMinimumY();
  changed_ = true;
}

std::optional<double> ChartSeriesBuffer::MinimumY() const {
  if (minimumY_ == kNoMinimum) {
    return std::nullopt;
  }
  return minimumY_;
}

void ChartSeriesBuffer::RecomputeMinimumY() {
  minimumY_ = kNoMinimum;
  for (const QPointF& point : points_) {
    if (std::isfinite(point.y()) && point.y() < minimumY_) {
      minimumY_ = point.y();
    }
  }
}

}  // namespace kvelt
