// A board at a chosen radius, sized to fit exactly, and pixel helpers for its canvas.
#pragma once

#include <QColor>
#include <QImage>
#include <memory>

#include "board/widget/lattix.h"

namespace zendra::test {

// A board with the given radius and coordinate band, resized so that the resize rule keeps the
// radius, with the painting off so the background is a plain colour.
template <typename Board = TLattix>
std::unique_ptr<Board> MakeBoard(int radius = 7, int coordinate = 16) {
  auto board = std::make_unique<Board>();
  board->SetCoordinate(static_cast<int16_t>(coordinate));
  board->SetRadius(static_cast<int16_t>(radius));
  board->SetPainting(false);
  board->resize(board->BoardWidth() + board->DisplayWidth() * board->DisplayInfo(),
                board->BoardHeight());
  return board;
}

inline QColor Pixel(TLattix& board, int x, int y) { return board.Canvas().pixelColor(x, y); }

inline bool IsRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
inline bool IsDark(QColor c) { return c.red() < 80 && c.green() < 80 && c.blue() < 80; }
inline bool IsLight(QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; }

// Number of pixels in rect for which test holds.
template <typename Test>
int CountPixels(const QImage& image, const QRect& rect, Test test) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (test(image.pixelColor(x, y))) ++n;
  return n;
}

// The square a point's redraw may touch: the stone box and its two-pixel margin.
inline QRect PointBox(TLattix& board, int p, int q) {
  const int e = board.Radius() + 2;
  return QRect(board.PointX(p) - e, board.PointY(q) - e, 2 * e + 1, 2 * e + 1);
}

}  // namespace zendra::test
