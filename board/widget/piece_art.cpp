#include "board/widget/piece_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "board/engine/chess_kinds.h"
#include "board/engine/lattix_engine.h"

namespace zendra {

namespace {

using namespace chess;

// ---- Colours ------------------------------------------------------------------------------------

const QColor kInk(20, 20, 20);
const QColor kLightSquare(238, 216, 178);
const QColor kDarkSquare(176, 126, 86);
const QColor kRiverInk(110, 70, 35);
const QColor kRed(190, 25, 25);
const QColor kBlue(25, 45, 150);

// The side colour of the writing on a Chinese chess or army chess piece.
QColor SideInk(int kind, Colour cell) {
  if (cell < 0) return kRed;
  return kind == kArmyChess ? kBlue : kInk;
}

// Fonts that hold the Chinese names, serif first; Qt falls back along the list.
QFont ChineseFont(qreal pixelSize, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("AR PL UMing CN")});
  font.setPixelSize(std::max(1, static_cast<int>(pixelSize + 0.5)));
  font.setBold(bold);
  return font;
}

// ---- Chess figures ------------------------------------------------------------------------------
// Each figure is drawn in a unit square (0, 0)-(1, 1), y downward, standing on the common base.

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

QPainterPath Ellipse(double cx, double cy, double rx, double ry) {
  QPainterPath path;
  path.addEllipse(QPointF(cx, cy), rx, ry);
  return path;
}

QPainterPath Base() {
  QPainterPath path;
  path.addRoundedRect(QRectF(0.20, 0.80, 0.60, 0.11), 0.03, 0.03);
  return path;
}

// The figure's body parts, drawn filled and outlined one after the other, and its details in
// the contrasting colour: lines, and dots filled.
struct Figure {
  std::vector<QPainterPath> parts;
  std::vector<QPainterPath> lines;
  std::vector<QPainterPath> dots;
};

Figure ChessFigure(int type) {
  Figure f;
  switch (type) {
    case kPawn: {
      QPainterPath body;
      body.moveTo(0.40, 0.47);
      body.cubicTo(0.40, 0.60, 0.31, 0.70, 0.27, 0.80);
      body.lineTo(0.73, 0.80);
      body.cubicTo(0.69, 0.70, 0.60, 0.60, 0.60, 0.47);
      body.closeSubpath();
      QPainterPath collar;
      collar.addRoundedRect(QRectF(0.35, 0.40, 0.30, 0.08), 0.03, 0.03);
      f.parts = {body, collar, Ellipse(0.5, 0.28, 0.125, 0.125), Base()};
      break;
    }
    case kRook:
      f.parts = {Polygon({{0.33, 0.36}, {0.67, 0.36}, {0.71, 0.74}, {0.29, 0.74}}),
                 Polygon({{0.25, 0.74}, {0.75, 0.74}, {0.75, 0.80}, {0.25, 0.80}}),
                 Polygon({{0.30, 0.30}, {0.70, 0.30}, {0.70, 0.37}, {0.30, 0.37}}),
                 Polygon({{0.25, 0.13},
                          {0.36, 0.13},
                          {0.36, 0.20},
                          {0.445, 0.20},
                          {0.445, 0.13},
                          {0.555, 0.13},
                          {0.555, 0.20},
                          {0.64, 0.20},
                          {0.64, 0.13},
                          {0.75, 0.13},
                          {0.75, 0.30},
                          {0.25, 0.30}}),
                 Base()};
      break;
    case kKnight: {
      QPainterPath head;
      head.moveTo(0.30, 0.80);
      head.lineTo(0.79, 0.80);
      head.cubicTo(0.80, 0.55, 0.74, 0.32, 0.58, 0.22);
      head.lineTo(0.56, 0.10);
      head.lineTo(0.48, 0.19);
      head.cubicTo(0.36, 0.21, 0.26, 0.32, 0.15, 0.52);
      head.cubicTo(0.14, 0.58, 0.21, 0.61, 0.27, 0.58);
      head.cubicTo(0.33, 0.53, 0.39, 0.52, 0.45, 0.50);
      head.cubicTo(0.45, 0.60, 0.32, 0.66, 0.30, 0.80);
      head.closeSubpath();
      QPainterPath mane;
      mane.moveTo(0.60, 0.27);
      mane.cubicTo(0.71, 0.38, 0.74, 0.56, 0.73, 0.76);
      f.parts = {head, Base()};
      f.lines = {mane};
      f.dots = {Ellipse(0.40, 0.31, 0.03, 0.03)};
      break;
    }
    case kBishop: {
      QPainterPath mitre;
      mitre.moveTo(0.5, 0.15);
      mitre.cubicTo(0.67, 0.26, 0.71, 0.44, 0.62, 0.58);
      mitre.lineTo(0.38, 0.58);
      mitre.cubicTo(0.29, 0.44, 0.33, 0.26, 0.5, 0.15);
      mitre.closeSubpath();
      QPainterPath collar;
      collar.addRoundedRect(QRectF(0.34, 0.58, 0.32, 0.07), 0.03, 0.03);
      QPainterPath body;
      body.moveTo(0.41, 0.65);
      body.cubicTo(0.39, 0.72, 0.31, 0.76, 0.28, 0.80);
      body.lineTo(0.72, 0.80);
      body.cubicTo(0.69, 0.76, 0.61, 0.72, 0.59, 0.65);
      body.closeSubpath();
      QPainterPath slit;
      slit.moveTo(0.56, 0.29);
      slit.lineTo(0.46, 0.44);
      f.parts = {body, collar, mitre, Ellipse(0.5, 0.11, 0.05, 0.05), Base()};
      f.lines = {slit};
      break;
    }
    case kQueen:
      f.parts = {Polygon({{0.28, 0.70}, {0.72, 0.70}, {0.75, 0.80}, {0.25, 0.80}}),
                 Polygon({{0.18, 0.30},
                          {0.33, 0.57},
                          {0.34, 0.24},
                          {0.44, 0.54},
                          {0.50, 0.18},
                          {0.56, 0.54},
                          {0.66, 0.24},
                          {0.67, 0.57},
                          {0.82, 0.30},
                          {0.72, 0.70},
                          {0.28, 0.70}}),
                 Ellipse(0.18, 0.28, 0.045, 0.045),
                 Ellipse(0.34, 0.22, 0.045, 0.045),
                 Ellipse(0.50, 0.16, 0.045, 0.045),
                 Ellipse(0.66, 0.22, 0.045, 0.045),
                 Ellipse(0.82, 0.28, 0.045, 0.045),
                 Base()};
      break;
    case kKing: {
      QPainterPath crown;
      crown.moveTo(0.5, 0.32);
      crown.cubicTo(0.62, 0.20, 0.84, 0.26, 0.76, 0.46);
      crown.lineTo(0.69, 0.70);
      crown.lineTo(0.31, 0.70);
      crown.lineTo(0.24, 0.46);
      crown.cubicTo(0.16, 0.26, 0.38, 0.20, 0.5, 0.32);
      crown.closeSubpath();
      QPainterPath middle;
      middle.moveTo(0.5, 0.33);
      middle.lineTo(0.5, 0.66);
      f.parts = {Polygon({{0.30, 0.70}, {0.70, 0.70}, {0.74, 0.80}, {0.26, 0.80}}), crown,
                 Polygon({{0.465, 0.05},
                          {0.535, 0.05},
                          {0.535, 0.11},
                          {0.59, 0.11},
                          {0.59, 0.17},
                          {0.535, 0.17},
                          {0.535, 0.30},
                          {0.465, 0.30},
                          {0.465, 0.17},
                          {0.41, 0.17},
                          {0.41, 0.11},
                          {0.465, 0.11}}),
                 Base()};
      f.lines = {middle};
      break;
    }
    default:
      break;
  }
  return f;
}

void PaintChessFigure(QPainter& p, int type, bool light, int r) {
  const Figure f = ChessFigure(type);
  const double size = 2 * r + 1;
  const double line = std::max(1.0, size / 24.0) / size;
  p.save();
  p.scale(size, size);
  const QColor fill = light ? QColor(250, 248, 240) : QColor(40, 38, 36);
  const QColor detail = light ? kInk : QColor(225, 222, 214);
  p.setPen(QPen(kInk, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(fill);
  for (const QPainterPath& part : f.parts) p.drawPath(part);
  p.setPen(QPen(detail, 1.5 * line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  for (const QPainterPath& l : f.lines) p.drawPath(l);
  p.setPen(Qt::NoPen);
  p.setBrush(detail);
  for (const QPainterPath& d : f.dots) p.drawPath(d);
  p.restore();
}

// ---- Chinese chess and army chess pieces --------------------------------------------------------

void PaintDisc(QPainter& p, int kind, Colour cell, int r) {
  const QPointF centre(r + 0.5, r + 0.5);
  const double outer = r - 0.25;
  QRadialGradient wood(centre - QPointF(r * 0.3, r * 0.3), 1.4 * r);
  wood.setColorAt(0, QColor(252, 236, 200));
  wood.setColorAt(1, QColor(214, 172, 112));
  p.setPen(QPen(QColor(92, 56, 24), std::max(1.0, r / 10.0)));
  p.setBrush(wood);
  p.drawEllipse(centre, outer, outer);
  const QColor ink = SideInk(kind, cell);
  p.setPen(QPen(ink, std::max(0.8, r / 14.0)));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(centre, 0.8 * r, 0.8 * r);
  p.setFont(ChineseFont(1.05 * r, true));
  p.setPen(ink);
  p.drawText(QRectF(0, 0, 2 * r + 1, 2 * r + 1), Qt::AlignCenter, PieceName(kind, cell));
}

void PaintTile(QPainter& p, int kind, Colour cell, int r) {
  const QColor ink = SideInk(kind, cell);
  const QRectF tile(0.5, r + 0.5 - 0.62 * r, 2 * r, 1.24 * r);
  QLinearGradient face(tile.topLeft(), tile.bottomLeft());
  face.setColorAt(0, cell < 0 ? QColor(255, 240, 230) : QColor(235, 242, 255));
  face.setColorAt(1, cell < 0 ? QColor(240, 205, 190) : QColor(200, 214, 240));
  p.setPen(QPen(ink, std::max(1.0, r / 12.0)));
  p.setBrush(face);
  p.drawRoundedRect(tile, r / 5.0, r / 5.0);
  p.setFont(ChineseFont(0.78 * r, true));
  p.setPen(ink);
  p.drawText(tile, Qt::AlignCenter, PieceName(kind, cell));
}

// ---- Board patterns -----------------------------------------------------------------------------

void PaintChessSquares(QPainter& p, const KindGrid& g) {
  const int s = g.spacing, half = (s - 1) / 2;
  for (int q = 0; q < g.rows; ++q)
    for (int c = 0; c < g.columns; ++c)
      p.fillRect(QRect(g.X(c) - half, g.Y(q) - half, s, s),
                 (c + q) % 2 == 0 ? kLightSquare : kDarkSquare);
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(g.X(0) - half - 1, g.Y(0) - half - 1, g.columns * s + 1, g.rows * s + 1));
}

// One-pixel line between two points, on whole pixels.
void Line(QPainter& p, int x1, int y1, int x2, int y2) {
  if (y1 == y2)
    p.fillRect(QRect(std::min(x1, x2), y1, std::abs(x2 - x1) + 1, 1), kInk);
  else if (x1 == x2)
    p.fillRect(QRect(x1, std::min(y1, y2), 1, std::abs(y2 - y1) + 1), kInk);
}

void PaintChineseChessLines(QPainter& p, const KindGrid& g) {
  const int last = g.columns - 1, bottom = g.rows - 1;
  for (int q = 0; q < g.rows; ++q) Line(p, g.X(0), g.Y(q), g.X(last), g.Y(q));
  for (int c = 0; c < g.columns; ++c) {
    if (c == 0 || c == last) {
      Line(p, g.X(c), g.Y(0), g.X(c), g.Y(bottom));
    } else {  // the river cuts the inner files
      Line(p, g.X(c), g.Y(0), g.X(c), g.Y(4));
      Line(p, g.X(c), g.Y(5), g.X(c), g.Y(bottom));
    }
  }
  // A frame around the lines, just outside the pieces on the edge.
  const int gap = g.radius + 3;
  p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(g.X(0) - gap, g.Y(0) - gap, g.X(last) - g.X(0) + 2 * gap,
                    g.Y(bottom) - g.Y(0) + 2 * gap));
  // The palaces' diagonals.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1));
  for (int top : {0, 7}) {
    p.drawLine(QPointF(g.X(3) + 0.5, g.Y(top) + 0.5), QPointF(g.X(5) + 0.5, g.Y(top + 2) + 0.5));
    p.drawLine(QPointF(g.X(5) + 0.5, g.Y(top) + 0.5), QPointF(g.X(3) + 0.5, g.Y(top + 2) + 0.5));
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  // Marks at the soldiers' and cannons' points: short corners in each open quadrant.
  const int off = std::max(2, g.spacing / 10), len = std::max(3, g.spacing / 5);
  auto mark = [&](int c, int q) {
    for (int dx : {-1, 1}) {
      if ((c == 0 && dx < 0) || (c == last && dx > 0)) continue;
      for (int dy : {-1, 1}) {
        const int x = g.X(c) + dx * off, y = g.Y(q) + dy * off;
        Line(p, x, y, x + dx * len, y);
        Line(p, x, y, x, y + dy * len);
      }
    }
  };
  for (int q : {3, 6})
    for (int c = 0; c < g.columns; c += 2) mark(c, q);
  for (int q : {2, 7})
    for (int c : {1, 7}) mark(c, q);
  // The river's words: 楚河 and 汉界.
  p.setFont(ChineseFont(0.55 * g.spacing, false));
  p.setPen(kRiverInk);
  const QRectF river(g.X(0), g.Y(4), g.X(last) - g.X(0), g.Y(5) - g.Y(4));
  const QRectF left(river.left(), river.top(), river.width() / 2, river.height());
  const QRectF right(river.center().x(), river.top(), river.width() / 2, river.height());
  p.drawText(left, Qt::AlignCenter, QStringLiteral("\u695A  \u6CB3"));
  p.drawText(right, Qt::AlignCenter, QStringLiteral("\u6C49  \u754C"));
}

void PaintArmyChessLines(QPainter& p, const KindGrid& g) {
  const int last = g.columns - 1, bottom = g.rows - 1;
  const int front = g.rows / 2 - 1;  // the front row of the top half
  // Roads: every neighbour in a half, across and along.
  for (int q = 0; q < g.rows; ++q) Line(p, g.X(0), g.Y(q), g.X(last), g.Y(q));
  for (int c = 0; c < g.columns; ++c) {
    Line(p, g.X(c), g.Y(0), g.X(c), g.Y(front));
    Line(p, g.X(c), g.Y(front + 1), g.X(c), g.Y(bottom));
  }
  // Diagonal roads from every camp to its four diagonal neighbours.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1));
  for (int q = 0; q < g.rows; ++q)
    for (int c = 0; c < g.columns; ++c) {
      if (!IsArmyChessCamp(c, q)) continue;
      for (int dx : {-1, 1})
        for (int dy : {-1, 1})
          p.drawLine(QPointF(g.X(c) + 0.5, g.Y(q) + 0.5),
                     QPointF(g.X(c + dx) + 0.5, g.Y(q + dy) + 0.5));
    }
  // Railways: the second and the front row of each half, the outer files from one second row
  // to the other, and the middle file across the front.
  const double width = std::max(3.0, g.spacing / 6.0);
  auto rail = [&](int c1, int q1, int c2, int q2) {
    const QPointF a(g.X(c1) + 0.5, g.Y(q1) + 0.5), b(g.X(c2) + 0.5, g.Y(q2) + 0.5);
    p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.setPen(QPen(QColor(245, 240, 225), std::max(1.0, width - 2), Qt::DashLine, Qt::FlatCap));
    p.drawLine(a, b);
  };
  for (int q : {1, front, front + 1, bottom - 1}) rail(0, q, last, q);
  rail(0, 1, 0, bottom - 1);
  rail(last, 1, last, bottom - 1);
  rail(g.columns / 2, front, g.columns / 2, front + 1);
  // Posts, camps and headquarters.
  const double r = g.radius;
  for (int q = 0; q < g.rows; ++q)
    for (int c = 0; c < g.columns; ++c) {
      const QPointF at(g.X(c) + 0.5, g.Y(q) + 0.5);
      p.setPen(QPen(kInk, 1));
      if (IsArmyChessCamp(c, q)) {
        p.setBrush(QColor(250, 246, 232));
        p.drawEllipse(at, 0.85 * r, 0.85 * r);
      } else if (IsArmyChessHeadquarters(c, q)) {
        p.setBrush(QColor(250, 246, 232));
        p.drawRoundedRect(QRectF(at.x() - r, at.y() - 0.7 * r, 2 * r, 1.4 * r), 0.6 * r, 0.6 * r);
      } else {
        p.setBrush(QColor(236, 226, 200));
        p.drawRect(QRectF(at.x() - 0.8 * r, at.y() - 0.5 * r, 1.6 * r, r));
      }
    }
  p.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace

// ---- Public -------------------------------------------------------------------------------------

void PaintKindBoard(QPainter& painter, const KindGrid& grid) {
  painter.save();
  switch (grid.kind) {
    case kChess:
      PaintChessSquares(painter, grid);
      break;
    case kChineseChess:
      PaintChineseChessLines(painter, grid);
      break;
    case kArmyChess:
      PaintArmyChessLines(painter, grid);
      break;
    default:
      break;
  }
  painter.restore();
}

void PaintKindCoordinates(QPainter& painter, const KindGrid& grid, int below, int right) {
  for (int c = 0; c < grid.columns; ++c)
    painter.drawText(QRect(grid.X(c) - 4, below, 40, 40), Qt::AlignLeft | Qt::AlignTop,
                     QString(QChar('a' + c)));
  for (int q = 0; q < grid.rows; ++q)
    painter.drawText(QRect(right, grid.Y(q) - 6, 40, 40), Qt::AlignLeft | Qt::AlignTop,
                     QString::asprintf("%2d", grid.rows - q));
}

QString PieceName(int kind, Colour cell) {
  const int type = PieceType(cell);
  if (cell == 0 || type < 1 || type > PieceTypes(kind)) return {};
  if (kind == kChineseChess) {
    // Red (negative): 兵 马 相 帅 仕 车 炮; black (positive): 卒 马 象 将 士 车 砲.
    static const char16_t* const kRedNames[7] = {u"\u5175", u"\u9A6C", u"\u76F8", u"\u5E05",
                                                 u"\u4ED5", u"\u8F66", u"\u70AE"};
    static const char16_t* const kBlackNames[7] = {u"\u5352", u"\u9A6C", u"\u8C61", u"\u5C06",
                                                   u"\u58EB", u"\u8F66", u"\u7832"};
    return QString::fromUtf16((cell < 0 ? kRedNames : kBlackNames)[type - 1]);
  }
  if (kind == kArmyChess) {
    // 司令 军长 师长 军旗 旅长 团长 营长 连长 排长 工兵 地雷 炸弹
    static const char16_t* const kNames[12] = {u"\u53F8\u4EE4", u"\u519B\u957F", u"\u5E08\u957F",
                                               u"\u519B\u65D7", u"\u65C5\u957F", u"\u56E2\u957F",
                                               u"\u8425\u957F", u"\u8FDE\u957F", u"\u6392\u957F",
                                               u"\u5DE5\u5175", u"\u5730\u96F7", u"\u70B8\u5F39"};
    return QString::fromUtf16(kNames[type - 1]);
  }
  return {};
}

QImage PaintPiece(int kind, Colour cell, int r, qreal scale) {
  const int type = PieceType(cell);
  if (cell == 0 || type < 1 || type > PieceTypes(kind) || r < 1) return {};
  const int side = 2 * r + 1;
  const int pixels = std::max(1, static_cast<int>(side * scale + 0.5));
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(static_cast<qreal>(pixels) / side);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (kind == kChess)
    PaintChessFigure(p, type, cell < 0, r);
  else if (kind == kChineseChess)
    PaintDisc(p, kind, cell, r);
  else
    PaintTile(p, kind, cell, r);
  return image;
}

const QImage& PieceCache::Get(int kind, Colour cell, int r, qreal scale) {
  if (r != radius_ || scale != scale_) {
    images_.clear();
    radius_ = r;
    scale_ = scale;
  }
  const auto key = std::make_pair(kind, static_cast<int>(cell));
  auto it = images_.find(key);
  if (it == images_.end()) it = images_.emplace(key, PaintPiece(kind, cell, r, scale)).first;
  return it->second;
}

}  // namespace zendra
