#include "board/widget/bitmaps.h"

#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "board/widget/board_art.h"

namespace zendra {

QString BitmapPath(int id) { return QStringLiteral(":/bitmaps/%1.png").arg(id); }

QImage LoadBitmap(int id) {
  // Named format, no guessing: the reader goes straight to its own PNG decoder instead of
  // loading every image plug-in to ask whether one of them wants the file.
  QImageReader reader(BitmapPath(id), "PNG");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

QImage StonePicture(int radius, bool white, int bitmapBase, qreal ratio, bool keyTransparent,
                    int largest) {
  const int size = 2 * radius + 1;
  const int r = std::clamp(radius, 3, std::max(19, largest));
  const int scale = std::max(1, static_cast<int>(std::ceil(ratio - 0.01)));
  QImage source = scale == 1 && r <= 19 ? LoadBitmap(bitmapBase + 2 * r) : QImage();
  if (source.isNull()) source = PaintStone(r, white, scale);
  // A fresh square of the stone box's size; whatever the picture leaves uncovered keeps the key
  // colour and so stays transparent.
  QImage box(size * scale, size * scale, QImage::Format_RGB32);
  box.fill(source.pixel(0, 0));
  {
    QPainter p(&box);
    p.drawImage(0, 0, source);
  }
  const QRgb key = box.pixel(0, 0);
  QImage stone(box.size(), QImage::Format_ARGB32_Premultiplied);
  if (keyTransparent) {
    for (int y = 0; y < box.height(); ++y) {
      const QRgb* in = reinterpret_cast<const QRgb*>(box.constScanLine(y));
      QRgb* out = reinterpret_cast<QRgb*>(stone.scanLine(y));
      for (int x = 0; x < box.width(); ++x) out[x] = in[x] == key ? 0 : (in[x] | 0xFF000000u);
    }
  } else {
    stone.fill(Qt::transparent);
    QPainter p(&stone);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(box));
    p.drawEllipse(QRectF(scale, scale, (size - 2) * scale, (size - 2) * scale));
  }
  stone.setDevicePixelRatio(scale);
  return stone;
}

}  // namespace zendra
