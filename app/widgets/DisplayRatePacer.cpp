#include "app/widgets/DisplayRatePacer.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <utility>

namespace kvelt::app {
namespace {

constexpr double kFallbackRefreshHz = 60.0;
constexpr int kShortestIntervalMs = 4;
constexpr int kLongestIntervalMs = 50;

}  // namespace

DisplayRatePacer::DisplayRatePacer(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setInterval(ScreenIntervalMs());
  connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
}

void DisplayRatePacer::Defer(QWidget* widget) {
  if (!deferred_.contains(widget)) {
    deferred_.append(widget);
  }
  if (!timer_.isActive()) {
    timer_.start();
  }
}

void DisplayRatePacer::Tick() {
  timer_.stop();
  const QList<QPointer<QWidget>> due = std::exchange(deferred_, {});
  for (const QPointer<QWidget>& widget : due) {
    if (widget != nullptr) {
      widget->update();
    }
  }
}

int DisplayRatePacer::ScreenIntervalMs() {
  double hertz = kFallbackRefreshHz;
  if (const QScreen* screen = QGuiApplication::primaryScreen();
      screen != nullptr && screen->refreshRate() >= 1.0) {
    hertz = screen->refreshRate();
  }
  const int interval = static_cast<int>(std::lround(1000.0 / hertz));
  return std::clamp(interval, kShortestIntervalMs, kLongestIntervalMs);
}

}  // namespace kvelt::app
