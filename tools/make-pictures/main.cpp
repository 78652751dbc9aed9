// make-pictures: writes the program's bitmaps, named by id, into a folder.
//
//   make-pictures OUTDIR
//
// Stones 107..139 and 207..239 (odd ids, radius (id mod 100 - 1) / 2), the wood texture 128, the
// colour strip 998, the ink painting 999, the check mark 2996, and the grid's copies 2107..,
// 2207.. and 2998. Every picture is drawn in code, so the build always has them.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "board/widget/board_art.h"

namespace {

bool Save(const QImage& image, const QDir& dir, int id) {
  const QString path = dir.filePath(QString::number(id) + ".png");
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "make-pictures: cannot write %s\n", qPrintable(path));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-pictures OUTDIR\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(".")) {
    std::fprintf(stderr, "make-pictures: cannot create %s\n", argv[1]);
    return 1;
  }
  bool ok = true;
  for (int r = 3; r <= 19; ++r) {
    const QImage black = zendra::PaintStone(r, false);
    const QImage white = zendra::PaintStone(r, true);
    ok = Save(black, dir, 101 + 2 * r) && ok;
    ok = Save(white, dir, 201 + 2 * r) && ok;
    ok = Save(black, dir, 2101 + 2 * r) && ok;
    ok = Save(white, dir, 2201 + 2 * r) && ok;
  }
  const QImage strip = zendra::PaintColourStrip();
  ok = Save(zendra::PaintWoodTexture(), dir, 128) && ok;
  ok = Save(strip, dir, 998) && ok;
  ok = Save(strip, dir, 2998) && ok;
  ok = Save(zendra::PaintInkPainting(), dir, 999) && ok;
  ok = Save(zendra::PaintCheckMark().convertToFormat(QImage::Format_Indexed8), dir, 2996) && ok;
  return ok ? 0 : 1;
}
