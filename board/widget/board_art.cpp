#include "board/widget/board_art.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zendra {

namespace {

// Value noise on a lattice that wraps around: a texture built from it tiles without seams
// as long as every lattice period divides the picture size.
class PeriodicNoise {
 public:
  PeriodicNoise(int cellsX, int cellsY, quint32 seed) : cx_(cellsX), cy_(cellsY) {
    QRandomGenerator rng(seed);
    values_.resize(static_cast<std::size_t>(cx_ * cy_));
    for (double& v : values_) v = rng.generateDouble();
  }
  // u, v in lattice units; the result lies in 0..1.
  double At(double u, double v) const {
    const int i0 = static_cast<int>(std::floor(u)), j0 = static_cast<int>(std::floor(v));
    const double fu = Smooth(u - i0), fv = Smooth(v - j0);
    const double a = Value(i0, j0), b = Value(i0 + 1, j0);
    const double c = Value(i0, j0 + 1), d = Value(i0 + 1, j0 + 1);
    return (a + (b - a) * fu) * (1 - fv) + (c + (d - c) * fu) * fv;
  }

 private:
  static double Smooth(double t) { return t * t * (3 - 2 * t); }
  double Value(int i, int j) const {
    i = ((i % cx_) + cx_) % cx_;
    j = ((j % cy_) + cy_) % cy_;
    return values_[static_cast<std::size_t>(j * cx_ + i)];
  }
  int cx_, cy_;
  std::vector<double> values_;
};

QColor Mix(QColor a, QColor b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// An ink stroke along a path: overlapping round dabs whose width runs from w0 to w1.
void InkStroke(QPainter& p, const QPainterPath& path, double w0, double w1, QColor ink,
               QRandomGenerator& rng) {
  const double length = path.length();
  const int steps = std::max(2, static_cast<int>(length * 1.5));
  p.setPen(Qt::NoPen);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const QPointF at = path.pointAtPercent(t);
    const double w = (w0 + (w1 - w0) * t) * (0.85 + 0.3 * rng.generateDouble());
    QColor c = ink;
    c.setAlphaF(static_cast<float>(ink.alphaF() * (0.7 + 0.3 * rng.generateDouble())));
    p.setBrush(c);
    p.drawEllipse(at, w / 2, w / 2);
  }
}

// A tuft of pine needles: short strokes fanning out from a centre, flattened like a cloud.
void NeedleTuft(QPainter& p, QPointF centre, double size, QRandomGenerator& rng) {
  for (int i = 0; i < 46; ++i) {
    const double a = std::numbers::pi * (0.95 + 1.1 * rng.generateDouble());
    const double len = size * (0.55 + 0.45 * rng.generateDouble());
    const QPointF from = centre + QPointF(rng.generateDouble() * 4 - 2, rng.generateDouble() * 3);
    const QPointF to = from + QPointF(std::cos(a) * len, std::sin(a) * len * 0.45);
    QColor c(22, 30, 24);
    c.setAlphaF(static_cast<float>(0.35 + 0.4 * rng.generateDouble()));
    p.setPen(QPen(c, 0.9 + 0.6 * rng.generateDouble(), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    p.drawLine(from, QPointF(2 * from.x() - to.x(), to.y()));
  }
  // A wash of pale ink under the needles gives the tuft its body.
  QRadialGradient wash(centre + QPointF(0, size * 0.1), size * 1.1);
  wash.setColorAt(0, QColor(40, 60, 48, 70));
  wash.setColorAt(1, QColor(40, 60, 48, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(wash);
  p.drawEllipse(centre, size * 1.1, size * 0.5);
}

}  // namespace

QImage PaintStone(int r, bool white, int scale) {
  r = std::max(r, 1);
  scale = std::max(scale, 1);
  const int size = (2 * r + 1) * scale;
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(kStoneKeyColour);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double c = size / 2.0;
  const double radius = c - 0.15 * scale;
  // Light comes from the upper left: the highlight sits there and the shade falls to the
  // lower right.
  QRadialGradient g(QPointF(c, c), radius, QPointF(c - 0.38 * radius, c - 0.42 * radius));
  if (white) {
    g.setColorAt(0.0, QColor(255, 255, 255));
    g.setColorAt(0.55, QColor(238, 237, 231));
    g.setColorAt(0.9, QColor(200, 199, 192));
    g.setColorAt(1.0, QColor(160, 159, 152));
  } else {
    g.setColorAt(0.0, QColor(128, 128, 132));
    g.setColorAt(0.3, QColor(48, 48, 52));
    g.setColorAt(0.75, QColor(18, 18, 20));
    g.setColorAt(1.0, QColor(4, 4, 6));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(QPointF(c, c), radius, radius);
  if (white) {
    // A fine rim keeps a white stone apart from a light board.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(96, 96, 90, 170), 0.7 * scale));
    p.drawEllipse(QPointF(c, c), radius - 0.35 * scale, radius - 0.35 * scale);
  }
  return image;
}

QImage PaintWoodTexture() {
  constexpr int kSize = 128;
  QImage image(kSize, kSize, QImage::Format_RGB32);
  const PeriodicNoise warp(4, 4, 11);
  const PeriodicNoise warpFine(8, 8, 12);
  const PeriodicNoise fibre(4, 64, 13);  // stretched along x: long fibres
  const QColor light(236, 198, 142), dark(200, 150, 88);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double u = static_cast<double>(x) / kSize, v = static_cast<double>(y) / kSize;
      const double w = 0.7 * warp.At(u * 4, v * 4) + 0.3 * warpFine.At(u * 8, v * 8);
      // Seven grain lines per tile height so that the rings meet themselves at the seam.
      const double t = v * 7 + w * 1.6;
      const double ring = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * t);
      const double f = fibre.At(u * 4, v * 64);
      QColor c = Mix(light, dark, std::pow(ring, 3.0) * 0.8 + (f - 0.5) * 0.25);
      image.setPixel(x, y, c.rgb());
    }
  return image;
}

QImage PaintColourStrip() {
  QImage image(150, 18, QImage::Format_RGB32);
  image.fill(qRgb(192, 192, 192));
  for (int k = 0; k < 7; ++k) {
    const int left = 1 + 17 * k;
    for (int y = 0; y < 18; ++y)
      for (int x = left - 1; x <= left + 16; ++x) {
        const bool border = y == 0 || y == 17 || x == left - 1 || x == left + 16;
        QRgb c = kStripSwatches[k];
        if (k == 1 && (x + y) % 2 == 1) c = kStripDither;
        image.setPixel(x, y, border ? qRgb(0, 0, 0) : c);
      }
  }
  return image;
}

QImage PaintInkPainting() {
  constexpr int kW = 240, kH = 396;
  QImage image(kW, kH, QImage::Format_RGB32);
  // Parchment: warm paper with a soft cloudy tone and faint fibres.
  const PeriodicNoise cloud(6, 10, 21), grain(30, 99, 22);
  const QColor paperLight(240, 229, 200), paperDark(222, 205, 166);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const double u = static_cast<double>(x) / kW, v = static_cast<double>(y) / kH;
      const double t = 0.75 * cloud.At(u * 6, v * 10) + 0.25 * grain.At(u * 30, v * 99);
      image.setPixel(x, y, Mix(paperLight, paperDark, t * 0.9).rgb());
    }

  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRandomGenerator rng(1999);
  const QColor ink(28, 26, 24, 200);

  // Distant hills in a pale wash along the bottom.
  QPainterPath hills(QPointF(0, 360));
  hills.cubicTo(60, 330, 90, 350, 140, 338);
  hills.cubicTo(180, 328, 210, 345, 240, 335);
  hills.lineTo(240, 396);
  hills.lineTo(0, 396);
  hills.closeSubpath();
  QLinearGradient hillWash(0, 330, 0, 396);
  hillWash.setColorAt(0, QColor(90, 96, 92, 70));
  hillWash.setColorAt(1, QColor(90, 96, 92, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(hillWash);
  p.drawPath(hills);

  // The trunk rises from the lower right and leans to the left, thinning as it climbs.
  QPainterPath trunk(QPointF(150, 392));
  trunk.cubicTo(160, 320, 100, 280, 118, 210);
  trunk.cubicTo(130, 160, 96, 120, 104, 70);
  InkStroke(p, trunk, 17, 5, ink, rng);
  // Bark: short dark marks along the trunk.
  for (int i = 0; i < 40; ++i) {
    const double t = 0.05 + 0.8 * rng.generateDouble();
    const QPointF at = trunk.pointAtPercent(t) + QPointF(rng.generateDouble() * 8 - 4, 0);
    p.setPen(QPen(QColor(10, 10, 10, 150), 1.2));
    p.drawLine(at, at + QPointF(rng.generateDouble() * 5 - 2.5, 3));
  }

  // Branches reach out from the trunk; each ends in tufts of needles.
  struct Branch {
    double at;      // where on the trunk it starts
    double dx, dy;  // its reach
  };
  const Branch branches[] = {{0.32, -80, -20}, {0.45, 70, -30},  {0.6, -60, -35},
                             {0.72, 62, -22},  {0.85, -40, -25}, {0.97, 30, -18}};
  for (const Branch& b : branches) {
    const QPointF from = trunk.pointAtPercent(b.at);
    const QPointF to = from + QPointF(b.dx, b.dy);
    QPainterPath branch(from);
    branch.quadTo(from + QPointF(b.dx * 0.5, b.dy * 1.4 - 8), to);
    InkStroke(p, branch, 6, 2, ink, rng);
    NeedleTuft(p, to, 22, rng);
    NeedleTuft(p, from + QPointF(b.dx * 0.55, b.dy * 0.8 - 6), 16, rng);
  }
  NeedleTuft(p, trunk.pointAtPercent(1.0) + QPointF(0, -6), 20, rng);

  // A red seal in the lower left corner.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(178, 34, 30, 210));
  p.drawRect(QRectF(18, 300, 18, 18));
  p.setPen(QPen(QColor(240, 229, 200, 220), 1.5));
  p.drawLine(QPointF(22, 305), QPointF(32, 305));
  p.drawLine(QPointF(27, 303), QPointF(27, 315));
  p.drawLine(QPointF(22, 313), QPointF(32, 313));

  // A column of brush marks in the upper left, like a short inscription.
  for (int i = 0; i < 6; ++i) {
    const double y = 40 + i * 16;
    QPainterPath mark(QPointF(30 + rng.generateDouble() * 3, y));
    mark.quadTo(36, y + 4, 31 + rng.generateDouble() * 6, y + 10);
    InkStroke(p, mark, 2.6, 1.2, QColor(30, 28, 26, 170), rng);
  }
  return image;
}

QImage PaintCheckMark() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(kCheckKeyColour);
  QPainter p(&image);
  // Drawn without smoothing: the picture keeps a handful of plain colours.
  p.setPen(QPen(QColor(0, 100, 0), 1));
  const QPoint shape[] = {{2, 8}, {6, 12}, {13, 3}};
  for (int dy = 0; dy < 3; ++dy) {
    p.setPen(QPen(dy == 2 ? QColor(0, 100, 0) : QColor(0, 176, 0), 1));
    p.drawLine(shape[0] + QPoint(0, dy), shape[1] + QPoint(0, dy));
    p.drawLine(shape[1] + QPoint(0, dy), shape[2] + QPoint(0, dy));
  }
  return image;
}

}  // namespace zendra
