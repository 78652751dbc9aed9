#include "board/widget/bitmaps.h"

#include <QImageReader>

namespace zendra {

QString BitmapPath(int id) { return QStringLiteral(":/bitmaps/%1.png").arg(id); }

QImage LoadBitmap(int id) {
  // Named format, no guessing: the reader goes straight to its own PNG decoder instead of
  // loading every image plug-in to ask whether one of them wants the file.
  QImageReader reader(BitmapPath(id), "PNG");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace zendra
