#pragma once

#include <QColor>
#include <QLineEdit>
#include <QString>

namespace kvelt::app {
class DisplayRatePacer;
}  // namespace kvelt::app

// One large read-out box of the "Wskaźnik" page. Its text is set for every frame, so text()
// always holds the latest value, but the box repaints at display rate through the pacer. It
// paints every pixel of its rectangle itself (the corners in the window colour), so the group
// box behind it is not repainted with it. Its digits grow with the box (never below the font it
// was given) and its colour keeps a readable contrast on the palette's background, light or dark.
class TReadoutEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TReadoutEdit(kvelt::app::DisplayRatePacer& pacer, QWidget* parent = nullptr);

  // Sets the text now and lets the pacer decide when it is painted; an unchanged text is left
  // alone.
  void ShowText(const QString& text);
  // An old value (the counter is gone): the text greyed, with `why` as the tooltip; false gives
  // the box its own colour back and takes the tooltip away.
  void SetStale(bool stale, const QString& why = QString());
  bool Stale() const { return stale_; }
  // The colour of a current value; the box shows it, or the nearest readable one.
  void SetValueColour(const QColor& colour);
  // The pacer that repaints the box.
  kvelt::app::DisplayRatePacer& Pacer() const { return pacer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  kvelt::app::DisplayRatePacer& pacer_;
  void ApplyTextColour();
  void FitFont();

  bool stale_ = false;
  QColor valueColour_;
  int smallestPixelSize_ = 0;  // the font size the box was given: it never shrinks below it
  bool applying_ = false;      // inside ApplyTextColour() or FitFont(): their own changes
};
