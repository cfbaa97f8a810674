#pragma once

#include <QObject>

class QEvent;
class QKeyEvent;
class QWheelEvent;
class QTabBar;
class QTabWidget;

namespace kvelt::app {

// Keeps the keyboard (and the tab bar's wheel) away from the pages of a notebook whose tab is
// hidden. Qt's own routes between pages (Ctrl+Tab, Ctrl+Shift+Tab, the tab bar's arrow keys, a
// tab's mnemonic, the wheel over the tab bar) only look at whether a tab is enabled, so they
// would land on a hidden page. The guard takes these over, adds Ctrl+PgUp/PgDn and the bar's
// Home/End, steps over hidden and disabled tabs, and refuses a mnemonic that belongs to a hidden
// tab. Code may still show any page.
class HiddenTabGuard : public QObject {
 public:
  // Watches `tabs` and its tab bar; a child of `tabs`.
  explicit HiddenTabGuard(QTabWidget* tabs);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // True when the key was one of the page routes and has been handled here; the tab bar's own
  // keys count only when it is the receiver.
  bool HandleKey(const QKeyEvent& key, bool atBar);
  bool HandleWheel(const QWheelEvent& wheel);
  bool ShortcutOfHiddenTab(const QEvent& event) const;
  bool Reachable(int index) const;
  // The next reachable tab from the current one, `step` = +1 or -1, wrapping around or not; -1
  // when there is none.
  int NextReachable(int step, bool wrap) const;
  int EdgeReachable(bool first) const;
  void Select(int index);

  QTabWidget* tabs_;
  QTabBar* bar_;
};

}  // namespace kvelt::app
