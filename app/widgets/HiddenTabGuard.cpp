#include "app/widgets/HiddenTabGuard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcutEvent>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <cstdlib>

namespace kvelt::app {

HiddenTabGuard::HiddenTabGuard(QTabWidget* tabs) : QObject(tabs), tabs_(tabs), bar_(tabs->tabBar()) {
  tabs_->installEventFilter(this);
  bar_->installEventFilter(this);
}

bool HiddenTabGuard::eventFilter(QObject* watched, QEvent* event) {
  if (watched != tabs_ && watched != bar_) {
    return false;
  }
  bool handled = false;
  switch (event->type()) {
    case QEvent::KeyPress:
      handled = HandleKey(*static_cast<QKeyEvent*>(event), watched == bar_);
      break;
    case QEvent::Shortcut:
      handled = watched == bar_ && ShortcutOfHiddenTab(*event);
      break;
    case QEvent::Wheel:
      handled = watched == bar_ && HandleWheel(*static_cast<QWheelEvent*>(event));
      break;
    default:
      break;
  }
  if (handled) {
    event->accept();
  }
  return handled;
}

bool HiddenTabGuard::HandleKey(const QKeyEvent& key, bool atBar) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  const bool control = modifiers.testFlag(Qt::ControlModifier);
  const bool shift = modifiers.testFlag(Qt::ShiftModifier);
  const bool onlyControl =
      control && !modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::MetaModifier);
  switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (!onlyControl) {
        return false;
      }
      Select(NextReachable(key.key() == Qt::Key_Backtab || shift ? -1 : 1, true));
      return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (!onlyControl || shift) {
        return false;
      }
      Select(NextReachable(key.key() == Qt::Key_PageUp ? -1 : 1, true));
      return true;
    default:
      break;
  }
  if (!atBar || modifiers != Qt::NoModifier) {
    return false;
  }
  const bool mirrored = bar_->isRightToLeft();
  switch (key.key()) {
    case Qt::Key_Left:
      Select(NextReachable(mirrored ? 1 : -1, false));
      return true;
    case Qt::Key_Right:
      Select(NextReachable(mirrored ? -1 : 1, false));
      return true;
    case Qt::Key_Up:
      Select(NextReachable(-1, false));
      return true;
    case Qt::Key_Down:
      Select(NextReachable(1, false));
      return true;
    case Qt::Key_Home:
      Select(EdgeReachable(true));
      return true;
    case Qt::Key_End:
      Select(EdgeReachable(false));
      return true;
    default:
      return false;
  }
}

bool HiddenTabGuard::HandleWheel(const QWheelEvent& wheel) {
  if (!bar_->style()->styleHint(QStyle::SH_TabBar_AllowWheelScrolling, nullptr, bar_)) {
    return false;
  }
  const QPoint delta = wheel.angleDelta();
  const int along = std::abs(delta.y()) > std::abs(delta.x()) ? delta.y() : delta.x();
  if (along != 0) {
    // One page per wheel event, towards the left for a turn away from the user, as the bar does.
    Select(NextReachable(along > 0 ? -1 : 1, false));
  }
  return true;
}

bool HiddenTabGuard::ShortcutOfHiddenTab(const QEvent& event) const {
  const QKeySequence& pressed = static_cast<const QShortcutEvent&>(event).key();
  for (int index = 0; index < bar_->count(); ++index) {
    if (Reachable(index)) {
      continue;
    }
    const QKeySequence mnemonic = QKeySequence::mnemonic(bar_->tabText(index));
    if (!mnemonic.isEmpty() && mnemonic == pressed) {
      return true;
    }
  }
  return false;
}

bool HiddenTabGuard::Reachable(int index) const {
  return index >= 0 && index < bar_->count() && bar_->isTabVisible(index) && bar_->isTabEnabled(index);
}

int HiddenTabGuard::NextReachable(int step, bool wrap) const {
  const int count = bar_->count();
  int index = tabs_->currentIndex();
  for (int pass = 0; pass < count; ++pass) {
    index += step;
    if (index < 0 || index >= count) {
      if (!wrap) {
        return -1;
      }
      index = (index + count) % count;
    }
    if (Reachable(index)) {
      return index;
    }
  }
  return -1;
}

int HiddenTabGuard::EdgeReachable(bool first) const {
  const int count = bar_->count();
  for (int pass = 0; pass < count; ++pass) {
    const int index = first ? pass : count - 1 - pass;
    if (Reachable(index)) {
      return index;
    }
  }
  return -1;
}

void HiddenTabGuard::Select(int index) {
  if (index >= 0 && index != tabs_->currentIndex()) {
    tabs_->setCurrentIndex(index);
  }
}

}  // namespace kvelt::app
