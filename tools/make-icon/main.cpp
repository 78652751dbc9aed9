// make-icon: writes the program's icon, drawn in code, as SVG and as PNG at the given sizes.
//
//   make-icon OUTDIR SIZE...
//
// Writes OUTDIR/zendra.svg and OUTDIR/<SIZE>/zendra.png for each SIZE. Both come from one list
// of shapes (a corner of a wooden board, its lines, two black stones and a white one, a check
// mark), so the bitmaps and the scalable icon always agree.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

QImage Png(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
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
  p.end();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: make-icon OUTDIR SIZE...\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(".")) {
    std::fprintf(stderr, "make-icon: cannot make %s\n", argv[1]);
    return 1;
  }
  QFile svg(out.filePath("zendra.svg"));
  if (!svg.open(QIODevice::WriteOnly) || svg.write(Svg().toUtf8()) < 0) {
    std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(svg.fileName()));
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 8 || size > 1024) {
      std::fprintf(stderr, "make-icon: size %s is not between 8 and 1024\n", argv[i]);
      return 2;
    }
    const QString dir = QString::number(size);
    const QString path = out.filePath(dir + "/zendra.png");
    if (!out.mkpath(dir) || !Png(size).save(path, "PNG")) {
      std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
