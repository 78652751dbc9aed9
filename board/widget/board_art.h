// The pictures of the board drawn in code: stones, wood, the colour strip, the ink painting and
// the check mark. The picture generator writes them as the program's bitmaps; the board widget
// uses the stone painter again to make sharp stones on high-density screens.
#pragma once

#include <QColor>
#include <QImage>

namespace zendra {

// The uniform background of every stone bitmap; its pixel (0, 0) is the transparent key.
inline constexpr QRgb kStoneKeyColour = qRgb(214, 148, 41);

// A black (white = false) or white stone of radius r on the key background, in a square of
// (2r + 1) * scale pixels; the stone fills the square's inscribed circle. Never fails (r >= 1).
QImage PaintStone(int r, bool white, int scale = 1);

// The 128 x 128 wood texture; its left and right, top and bottom edges join without a seam.
QImage PaintWoodTexture();

// The 150 x 18 colour strip: seven 16 x 16 swatches framed in black at x = 1 + 17k, y = 1.
QImage PaintColourStrip();

// The colours of the strip's swatches, left to right; the second is dithered from two colours.
inline constexpr QRgb kStripSwatches[7] = {
    qRgb(228, 190, 128), qRgb(206, 148, 49),  qRgb(176, 208, 240), qRgb(168, 220, 168),
    qRgb(222, 236, 168), qRgb(250, 240, 188), qRgb(192, 192, 192)};
inline constexpr QRgb kStripDither = qRgb(198, 144, 45);

// The 240 x 396 ink painting: a pine tree in ink on parchment.
QImage PaintInkPainting();

// The 16 x 16 green check mark on a grey key background (192, 192, 192), 16 colours at most.
QImage PaintCheckMark();
inline constexpr QRgb kCheckKeyColour = qRgb(192, 192, 192);

}  // namespace zendra
