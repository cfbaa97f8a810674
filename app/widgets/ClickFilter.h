#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs a function when a widget that has no click of its own (a status panel) is clicked with
// the left button; the widget shows a pointing hand while the function is enabled.
class ClickFilter : public QObject {
  Q_OBJECT

 public:
  ClickFilter(QWidget* widget, std::function<void()> clicked);

  // Whether a click does anything now.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* widget_;
  std::function<void()> clicked_;
  bool enabled_ = false;
};
