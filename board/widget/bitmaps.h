// The program's built-in bitmaps, addressed by their numeric ids.
#pragma once

#include <QImage>
#include <QString>

namespace zendra {

// The resource name of bitmap id, ":/bitmaps/<id>.png".
QString BitmapPath(int id);
// Loads bitmap id; a null image when the program holds no such bitmap.
QImage LoadBitmap(int id);

}  // namespace zendra
