// make-icon: writes the program's icon, drawn in code, as SVG and as PNG at the given sizes.
//
//   make-icon OUTDIR SIZE...
//
// Writes OUTDIR/zendra.svg and OUTDIR/<SIZE>/zendra.png for each SIZE. Both come from one list
// of shapes (program_icon.h), which the program also paints for its window, so the bitmaps, the
// scalable icon and the window's icon always agree.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "tools/make-icon/program_icon.h"

namespace {

QImage Png(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  zendra::PaintProgramIcon(p, size);
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
  if (!svg.open(QIODevice::WriteOnly) || svg.write(zendra::ProgramIconSvg().toUtf8()) < 0) {
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
