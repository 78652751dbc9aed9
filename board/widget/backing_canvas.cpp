#include "board/widget/backing_canvas.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace zendra {

qreal BackingCanvas::Ratio(const QWidget& widget) const {
  return forcedRatio_ > 0 ? forcedRatio_ : widget.devicePixelRatioF();
}

bool BackingCanvas::Ensure(const QWidget& widget) {
  const qreal ratio = Ratio(widget);
  const QSize pixels(std::max(1, static_cast<int>(std::ceil(widget.width() * ratio))),
                     std::max(1, static_cast<int>(std::ceil(widget.height() * ratio))));
  if (image_.size() == pixels && image_.devicePixelRatio() == ratio) return false;
  image_ = QImage(pixels, QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio);
  fullRepaintPending_ = true;
  return true;
}

void BackingCanvas::CopyTo(QWidget& widget, const QRect& rect) const {
  QPainter p(&widget);
  const qreal ratio = image_.devicePixelRatio();
  p.drawImage(
      rect, image_,
      QRectF(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio, rect.height() * ratio));
}

}  // namespace zendra
