// The program's built-in bitmaps, addressed by their numeric ids.
#pragma once

#include <QImage>
#include <QString>

namespace zendra {

// The resource name of bitmap id, ":/bitmaps/<id>.png".
QString BitmapPath(int id);
// Loads bitmap id; a null image when the program holds no such bitmap.
QImage LoadBitmap(int id);

// The picture of one black (white = false) or white stone for a board or grid of stone radius
// `radius`: a square of 2 * radius + 1 points, premultiplied, at the scale the screen's `ratio`
// rounds up to. At scale 1 it is bitmap (`bitmapBase` + 2r) with r the radius kept to 3..19,
// drawn by the stone painter when missing; at higher scales the painter draws it at that scale,
// so it stays sharp. With `keyTransparent` the bitmap's key colour is see-through; otherwise
// only the inside of the ellipse (1, 1)-(D - 1, D - 1) is kept, so that no key-coloured fringe
// shows on a face of another colour. `largest` above 19 lets larger radii up to it be drawn by
// the stone painter at their size (the board zoomed to a problem).
QImage StonePicture(int radius, bool white, int bitmapBase, qreal ratio, bool keyTransparent,
                    int largest = 19);

}  // namespace zendra
