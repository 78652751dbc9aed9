// The chess kinds drawn in code: their board patterns (the checkered squares of chess, the lines,
// river and palaces of Chinese chess, the roads, railways, camps and headquarters of army chess)
// and their pieces. No pictures come from anywhere else.
#pragma once

#include <QImage>
#include <QString>
#include <map>
#include <utility>

#include "board/engine/points.h"

class QPainter;

namespace zendra {

// Where the points of a chess-kind board lie: column p (from 0) at x = left + spacing * p, row q
// at y = top + spacing * q; a piece fits the square of `radius` around its point.
struct KindGrid {
  int kind = 0;
  int columns = 0;
  int rows = 0;
  int left = 0;
  int top = 0;
  int spacing = 0;
  int radius = 0;

  int X(int p) const { return left + spacing * p; }
  int Y(int q) const { return top + spacing * q; }
};

// Draws the board pattern of a chess kind (nothing for other kinds) on top of the board face.
// It keeps to the painter's clip, so redrawing one point is drawing it clipped to that point.
void PaintKindBoard(QPainter& painter, const KindGrid& grid);

// The coordinate labels of a chess kind: letters from "a" under the columns, at y = below, and
// numbers from 1 at the bottom row up, right of the rows at x = right. Uses the painter's font.
void PaintKindCoordinates(QPainter& painter, const KindGrid& grid, int below, int right);

// The name of a piece as the board writes it on the piece (Chinese chess and army chess, in
// Simplified Chinese), empty for chess pieces, empty cells and unknown types.
QString PieceName(int kind, Colour cell);

// A piece of a chess kind (its cell value: the sign the side, the low four bits the type) on a
// transparent square of (2r + 1) x (2r + 1) logical pixels drawn at `scale` device pixels each;
// a null image for an empty cell, an unknown type or another kind.
QImage PaintPiece(int kind, Colour cell, int r, qreal scale = 1);

// The pieces in use, drawn once per radius and scale.
class PieceCache {
 public:
  // The picture of PaintPiece(kind, cell, r, scale); a change of radius or scale drops the
  // pictures of the old one.
  const QImage& Get(int kind, Colour cell, int r, qreal scale);

 private:
  int radius_ = 0;
  qreal scale_ = 0;
  std::map<std::pair<int, int>, QImage> images_;  // by kind and cell value
};

}  // namespace zendra
