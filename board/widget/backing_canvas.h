// The backing image a widget draws into, shared by the board control and the thumbnail grid.
//
// The image follows the widget's size at a device pixel ratio (the screen's, or a forced one),
// so drawing happens in logical pixels and a dense screen gets the extra detail. The owner
// draws into Image() whenever its content changes and asks Qt to show the touched rectangle;
// its paintEvent only copies the image with CopyTo.
#pragma once

#include <QImage>
#include <QRect>

class QWidget;

namespace zendra {

class BackingCanvas {
 public:
  // The ratio the image is made at: the forced one, else the widget's device pixel ratio.
  qreal Ratio(const QWidget& widget) const;
  // Renders at a fixed ratio from the next Ensure on; 0 follows the widget's screen again.
  void ForceRatio(qreal ratio) { forcedRatio_ = ratio; }
  // Makes the image match the widget's size at Ratio, at least one pixel each way, so a widget
  // laid out to nothing still has a device to paint on. True when it was made anew; its
  // content is then undefined and a full repaint is pending.
  bool Ensure(const QWidget& widget);

  // A full repaint is pending: after a new image or RequestFullRepaint, until the owner's
  // full repaint calls FullRepaintDone.
  bool FullRepaintPending() const { return fullRepaintPending_; }
  void RequestFullRepaint() { fullRepaintPending_ = true; }
  void FullRepaintDone() { fullRepaintPending_ = false; }

  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }
  // Copies the part of the image under rect (logical pixels) onto the widget; for paintEvent.
  void CopyTo(QWidget& widget, const QRect& rect) const;

 private:
  QImage image_;
  qreal forcedRatio_ = 0;
  bool fullRepaintPending_ = true;
};

}  // namespace zendra
