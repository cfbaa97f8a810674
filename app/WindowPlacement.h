#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace kvelt::app {

// Where the window opens from its stored top-left corner: there, when its title bar would be
// reachable on one of the screens' available areas (enough of it to grab with the mouse);
// otherwise at the top-left corner of the primary screen's available area, so that a monitor
// that is gone or a hand-edited position never leaves the window out of reach.
class WindowPlacement {
 public:
  // The strip along the window's top edge taken as its title bar, and how much of it must lie
  // on one available area.
  static constexpr int kTitleBarHeight = 20;
  static constexpr int kMinimumGrabWidth = 48;
  static constexpr int kMinimumGrabHeight = 8;
  // Stored coordinates beyond this (the largest size a widget takes) are not a place on any screen.
  static constexpr int kMaxCoordinate = QWIDGETSIZE_MAX;

  static QPoint Place(QPoint stored, int windowWidth, const QList<QRect>& availableAreas,
                      const QRect& primaryArea);

  // Place() over the screens the application has now.
  static QPoint PlaceOnScreens(QPoint stored, int windowWidth);
};

}  // namespace kvelt::app
