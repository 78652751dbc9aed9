// The board control's share of the other game kinds: the chess kinds' points drawn with their
// pieces, and five-in-a-row's refusal messages.
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>

#include "board/widget/lattix.h"

namespace zendra {

KindGrid TLattix::KindGridNow() const {
  KindGrid grid;
  grid.kind = GameKind();
  grid.columns = N();
  grid.rows = M();
  grid.left = PointX(0);
  grid.top = PointY(0);
  grid.spacing = Spacing();
  grid.radius = Radius();
  return grid;
}

void TLattix::PaintKindPoint(int p, int q) {
  if (!IsOnBoard(p, q)) return;
  QPainter& pa = *painter_;
  // The point's square, cleared and drawn again with the board's pattern: it reaches two
  // pixels past the piece, and the neighbours' pieces begin beyond it.
  const QRect cell = CellRect(p, q);
  pa.save();
  pa.setClipRect(cell);
  pa.fillRect(cell, FaceBrush());
  PaintKindBoard(pa, KindGridNow());
  pa.restore();
  if (const Colour v = GetPoint(p, q); v != 0) {
    const QImage& piece = pieces_.Get(GameKind(), v, Radius(), CanvasRatio());
    if (!piece.isNull()) pa.drawImage(QPoint(PointX(p) - Radius(), PointY(q) - Radius()), piece);
  }
  Touch(cell);
}

void TLattix::ShowMessage(const std::string& text) {
  QMessageBox::information(this, QGuiApplication::applicationDisplayName(), DecodeChinese(text));
}

}  // namespace zendra
