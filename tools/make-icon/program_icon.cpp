#include "tools/make-icon/program_icon.h"

#include <QColor>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <vector>

namespace zendra {
namespace {

// The icon is drawn on a 256 x 256 canvas.
constexpr double kCanvas = 256;

struct Line {
  double x1, y1, x2, y2, width;
  QColor colour;
};
struct Disc {
  double cx, cy, r;
  QColor fill, edge;
};

const QColor kWood(0xdc, 0xb3, 0x5c);
const QColor kWoodEdge(0x8a, 0x62, 0x1e);
const QColor kInk(0x2b, 0x1d, 0x0e);
const QColor kBlack(0x1a, 0x1a, 0x1a);
const QColor kWhite(0xf6, 0xf4, 0xee);
const QColor kCheck(0x2e, 0x9d, 0x3a);

constexpr double kBoardInset = 16, kBoardRadius = 36, kBoardEdge = 6;

std::vector<Line> GridLines() {
  std::vector<Line> lines;
  for (int i = 0; i < 4; ++i) {
    const double at = 64 + 48 * i;
    lines.push_back({at, 40, at, 216, 5, kInk});
    lines.push_back({40, at, 216, at, 5, kInk});
  }
  return lines;
}

std::vector<Disc> Stones() {
  return {{112, 112, 22, kBlack, kBlack},
          {160, 160, 22, kBlack, kBlack},
          {160, 112, 22, kWhite, kInk}};
}

// The check mark, a polyline.
const std::vector<QPointF> kCheckPoints{{52, 176}, {84, 206}, {140, 140}};
constexpr double kCheckWidth = 18;

QString Hex(const QColor& c) { return c.name(QColor::HexRgb); }

QString Svg() {
  QString s;
  s += QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
      "viewBox=\"0 0 256 256\">\n");
  const double side = kCanvas - 2 * kBoardInset;
  s += QStringLiteral(
           "  <rect x=\"%1\" y=\"%1\" width=\"%2\" height=\"%2\" rx=\"%3\" fill=\"%4\" "
           "stroke=\"%5\" stroke-width=\"%6\"/>\n")
           .arg(kBoardInset)
           .arg(side)
           .arg(kBoardRadius)
           .arg(Hex(kWood), Hex(kWoodEdge))
           .arg(kBoardEdge);
  for (const Line& l : GridLines()) {
    s += QStringLiteral(
             "  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" "
             "stroke-linecap=\"square\"/>\n")
             .arg(l.x1)
             .arg(l.y1)
             .arg(l.x2)
             .arg(l.y2)
             .arg(Hex(l.colour))
             .arg(l.width);
  }
  for (const Disc& d : Stones()) {
    s += QStringLiteral(
             "  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" stroke=\"%5\" "
             "stroke-width=\"3\"/>\n")
             .arg(d.cx)
             .arg(d.cy)
             .arg(d.r)
             .arg(Hex(d.fill), Hex(d.edge));
  }
  QString points;
  for (const QPointF& p : kCheckPoints) points += QStringLiteral("%1,%2 ").arg(p.x()).arg(p.y());
  s += QStringLiteral(
           "  <polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
           "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
           .arg(points.trimmed(), Hex(kCheck))
           .arg(kCheckWidth);
  s += QStringLiteral("</svg>\n");
  return s;
}

void Paint(QPainter& p, double size) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kCanvas, size / kCanvas);
  const double side = kCanvas - 2 * kBoardInset;
  p.setPen(QPen(kWoodEdge, kBoardEdge));
  p.setBrush(kWood);
  p.drawRoundedRect(QRectF(kBoardInset, kBoardInset, side, side), kBoardRadius, kBoardRadius);
  for (const Line& l : GridLines()) {
    p.setPen(QPen(l.colour, l.width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
  }
  for (const Disc& d : Stones()) {
    p.setPen(QPen(d.edge, 3));
    p.setBrush(d.fill);
    p.drawEllipse(QPointF(d.cx, d.cy), d.r, d.r);
  }
  p.setPen(QPen(kCheck, kCheckWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(kCheckPoints.data(), static_cast<int>(kCheckPoints.size()));
  p.restore();
}

// Paints the icon at whatever size and mode Qt asks for.
class ProgramIconEngine final : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    const int side = std::min(rect.width(), rect.height());
    painter->save();
    painter->translate(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0);
    Paint(*painter, side);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(&p, QRect(QPoint(0, 0), size), mode, state);
    return pm;
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
  }
  QString key() const override { return QStringLiteral("zendra-program-icon"); }
  QIconEngine* clone() const override { return new ProgramIconEngine; }
};

}  // namespace

void PaintProgramIcon(QPainter& painter, double side) { Paint(painter, side); }
QString ProgramIconSvg() { return Svg(); }
QIcon ProgramIcon() { return QIcon(new ProgramIconEngine); }

}  // namespace zendra
