#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace kvelt::app {

QPoint WindowPlacement::Place(QPoint stored, int windowWidth, const QList<QRect>& availableAreas,
                              const QRect& primaryArea) {
  const QPoint fallback = primaryArea.isValid() ? primaryArea.topLeft() : QPoint(0, 0);
  // A corner beyond what a widget can measure (a hand-edited config.ini) would overflow the title
  // bar's rectangle, which then looks reachable from anywhere.
  const auto measurable = [](int value) { return value >= -kMaxCoordinate && value <= kMaxCoordinate; };
  if (!measurable(stored.x()) || !measurable(stored.y()) || !measurable(windowWidth)) {
    return fallback;
  }
  const QRect titleBar(stored, QSize(std::max(windowWidth, kMinimumGrabWidth), kTitleBarHeight));
  for (const QRect& area : availableAreas) {
    const QRect reachable = titleBar.intersected(area);
    if (reachable.width() >= kMinimumGrabWidth && reachable.height() >= kMinimumGrabHeight) {
      return stored;
    }
  }
  return primaryArea.isValid() ? primaryArea.topLeft() : stored;
}

QPoint WindowPlacement::PlaceOnScreens(QPoint stored, int windowWidth) {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    areas << screen->availableGeometry();
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  return Place(stored, windowWidth, areas, primary != nullptr ? primary->availableGeometry() : QRect());
}

}  // namespace kvelt::app
