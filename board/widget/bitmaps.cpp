#include "board/widget/bitmaps.h"

namespace zendra {

QString BitmapPath(int id) { return QStringLiteral(":/bitmaps/%1.png").arg(id); }

QImage LoadBitmap(int id) { return QImage(BitmapPath(id)); }

}  // namespace zendra
