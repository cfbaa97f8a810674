#pragma once

#include <QIcon>
#include <QPushButton>

// A push button with a picture: beside the caption (left of it) or above it, and a caption that
// may wrap onto several lines.
class TBitBtn : public QPushButton {
  Q_OBJECT

 public:
  enum class GlyphPlacement { Left, Top };

  TBitBtn(const QIcon& glyph, GlyphPlacement placement, bool wordWrap, QWidget* parent = nullptr);

  GlyphPlacement Placement() const { return placement_; }
  bool WordWrap() const { return wordWrap_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool PaintsItself() const { return placement_ == GlyphPlacement::Top || wordWrap_; }
  QRect WrappedTextBounds(int width) const;

  GlyphPlacement placement_;
  bool wordWrap_;
};
