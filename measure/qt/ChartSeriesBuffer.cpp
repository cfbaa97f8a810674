#include "measure/qt/ChartSeriesBuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvelt {
namespace {

constexpr double kNoMinimum = std::numeric_limits<double>::infinity();
constexpr double kNoMaximum = -std::numeric_limits<double>::infinity();

}  // namespace

ChartSeriesBuffer::ChartSeriesBuffer(qsizetype capacity, qsizetype dropBlock)
    : capacity_(std::max<qsizetype>(capacity, 1)),
      dropBlock_(std::max<qsizetype>(dropBlock, 1)),
      minimumY_(kNoMinimum),
      maximumY_(kNoMaximum) {
  points_.reserve(MaximumSize());
}

void ChartSeriesBuffer::Append(QPointF point) {
  if (points_.size() >= MaximumSize()) {
    points_.remove(0, dropBlock_);
    RecomputeExtremes();
  }
  points_.append(point);
  if (std::isfinite(point.y())) {
    minimumY_ = std::min(minimumY_, point.y());
    maximumY_ = std::max(maximumY_, point.y());
  }
  changed_ = true;
}

void ChartSeriesBuffer::Clear() {
  points_.clear();
  points_.reserve(MaximumSize());
  minimumY_ = kNoMinimum;
  maximumY_ = kNoMaximum;
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
  RecomputeExtremes();
  changed_ = true;
}

std::optional<double> ChartSeriesBuffer::MinimumY() const {
  if (minimumY_ == kNoMinimum) {
    return std::nullopt;
  }
  return minimumY_;
}

std::optional<double> ChartSeriesBuffer::MaximumY() const {
  if (maximumY_ == kNoMaximum) {
    return std::nullopt;
  }
  return maximumY_;
}

void ChartSeriesBuffer::RecomputeExtremes() {
  minimumY_ = kNoMinimum;
  maximumY_ = kNoMaximum;
  for (const QPointF& point : points_) {
    if (std::isfinite(point.y())) {
      minimumY_ = std::min(minimumY_, point.y());
      maximumY_ = std::max(maximumY_, point.y());
    }
  }
}

}  // namespace kvelt
