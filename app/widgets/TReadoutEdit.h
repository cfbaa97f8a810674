#pragma once

#include <QLineEdit>
#include <QString>

namespace kvelt::app {
class DisplayRatePacer;
}  // namespace kvelt::app

// One large read-out box of the "Wskaźnik" page. Its text is set for every frame, so text()
// always holds the latest value, but the box repaints at display rate through the pacer. It
// paints every pixel of its rectangle itself (the corners in the window colour), so the group
// box behind it is not repainted with it.
class TReadoutEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TReadoutEdit(kvelt::app::DisplayRatePacer& pacer, QWidget* parent = nullptr);

  // Sets the text now and lets the pacer decide when it is painted; an unchanged text is left
  // alone.
  void ShowText(const QString& text);
  // The pacer that repaints the box.
  kvelt::app::DisplayRatePacer& Pacer() const { return pacer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  kvelt::app::DisplayRatePacer& pacer_;
};
