#include "board/widget/lattix.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "board/widget/bitmaps.h"
#include "board/widget/board_art.h"

namespace zendra {

namespace {

constexpr int kStripId = 998;
constexpr int kWoodId = 128;
constexpr int kPaintingId = 999;
constexpr uint32_t kPlaceholderColour = 26265;  // the face colour of the first boards

// GDI-style rectangle corners (right and bottom excluded) as a QRect.
QRect Box(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1, y2 - y1); }

// The ellipse GDI draws in the box (x1, y1)-(x2, y2), centred on pixel centres so that a dot
// around a line crossing sits symmetrically on it.
QRectF EllipseBox(int x1, int y1, int x2, int y2) {
  return QRectF(x1 + 0.5, y1 + 0.5, x2 - x1, y2 - y1);
}

// The image used when a bitmap is missing from the resources: the same drawing code.
QImage BitmapOr(int id, QImage (*fallback)()) {
  QImage image = LoadBitmap(id);
  return image.isNull() ? fallback() : image;
}

}  // namespace

// Opens one painter on the canvas for a group of drawing calls; the outermost scope closes it
// and asks Qt to show the union of the rectangles touched inside.
class TLattix::PaintScope {
 public:
  explicit PaintScope(TLattix* board) : board_(board), outer_(board->painter_ == nullptr) {
    if (!outer_) return;
    board_->EnsureCanvas();
    painter_.begin(&board_->canvas_.Image());
    board_->painter_ = &painter_;
  }
  ~PaintScope() {
    if (!outer_) return;
    painter_.end();
    board_->painter_ = nullptr;
    if (!board_->inPaintEvent_ && !board_->touched_.isEmpty()) board_->update(board_->touched_);
    board_->touched_ = QRegion();
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

 private:
  TLattix* board_;
  bool outer_;
  QPainter painter_;
};

TLattix::TLattix(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  SetView(this);
  RecalcGeometry(false);
  resize(DisplayWidth_ * DisplayInfo_ + BoardWidth_, BoardHeight_);
}

TLattix::~TLattix() { SetView(nullptr); }

void TLattix::LoadArt() {
  const QImage strip = BitmapOr(kStripId, PaintColourStrip);
  patternTile_ = strip.copy(18, 1, 8, 8);
  const QImage wood = BitmapOr(kWoodId, PaintWoodTexture);
  woodTile_ = QImage(256, 256, QImage::Format_RGB32);
  {
    QPainter p(&woodTile_);
    for (int y = 0; y < 256; y += wood.height())
      for (int x = 0; x < 256; x += wood.width()) p.drawImage(x, y, wood);
  }
  painting_ = BitmapOr(kPaintingId, PaintInkPainting);
  artLoaded_ = true;
}

// ---- Properties
// ----------------------------------------------------------------------------------

void TLattix::SetRadius(int16_t v) {
  if (v == Radius_ || v < 1) return;
  Radius_ = v;
  RecalcGeometry(true);
}

void TLattix::SetCoordinate(int16_t v) {
  if (v == Coordinate_) return;
  Coordinate_ = v;
  // The board's size includes the band, so it follows the band at once.
  RecalcGeometry(true);
}

void TLattix::SetsgfCoordinate(bool v) {
  sgfCoordinate_ = v;
  Invalidate();
}

void TLattix::SetBoardColor(uint32_t v) { ShowLookChange(look_.SetBoardColor(v)); }

void TLattix::SetBoardColorNum(int16_t v) { ShowLookChange(look_.SetColorNum(v)); }

void TLattix::SetDim3(bool v) {
  look_.dim3 = v;
  Invalidate();
}

void TLattix::SetWood(bool v) {
  look_.wood = v;
  Invalidate();
}

void TLattix::SetPainting(bool v) {
  look_.painting = v;
  Invalidate();
}

void TLattix::SetPal256(bool v) { ShowLookChange(look_.SetPal256(v)); }

void TLattix::ShowLookChange(LookChange change) {
  if (change == LookChange::kNone) return;
  if (change == LookChange::kStones) stonesRatio_ = 0;  // made again when next drawn
  Invalidate();
}

void TLattix::SetDisplayTurn(bool v) {
  DisplayTurn_ = v;
  Invalidate();
}

void TLattix::SetDisplayInfo(int16_t v) {
  v = std::clamp<int16_t>(v, 0, 1);
  if (v == DisplayInfo_) return;
  DisplayInfo_ = v;
  Invalidate();
}

void TLattix::SetDisplayWidth(int16_t v) {
  DisplayWidth_ = v;
  Invalidate();
}

void TLattix::SetColor(uint32_t v) {
  Color_ = v;
  Invalidate();
}

// ---- Geometry
// ------------------------------------------------------------------------------------

bool TLattix::Zoomed() const { return GameKind() == kGo && view_ != BoardRegion{}; }

void TLattix::SetViewRegion(const BoardRegion& region) {
  BoardRegion r = region;
  if (r.left < 1 || r.top < 1 || r.right > 19 || r.bottom > 19 || r.left > r.right ||
      r.top > r.bottom)
    r = BoardRegion{};
  if (r == view_) return;
  const bool wasZoomed = view_ != BoardRegion{};
  if (!wasZoomed) {
    unzoomedRadius_ = Radius_;
    unzoomedSize_ = size();
  }
  view_ = r;
  if (!Zoomed()) {
    // The whole board again at the radius it had, or at what a resize finds from it.
    Radius_ = unzoomedRadius_;
    if (size() != unzoomedSize_)
      Radius_ = static_cast<int16_t>(RadiusForSize(width() - DisplayWidth_ * DisplayInfo_, height()));
  } else {
    // The largest radius that fits the region into the control; found again with its own half
    // radius until it stays, since a jump in radius changes the margin.
    for (int i = 0; i < 4; ++i) {
      const int fit = RadiusForSize(width() - DisplayWidth_ * DisplayInfo_, height());
      if (fit == Radius_) break;
      Radius_ = static_cast<int16_t>(fit);
    }
  }
  ClearHover();
  RecalcGeometry(true);
}

int TLattix::PointX(int p) const {
  const int index = (IsGoLike() ? p - 1 : p) - (FirstColumn() - 1);
  return halfRadius_ + Radius_ + 2 + Spacing() * index;
}

int TLattix::PointY(int q) const {
  const int index = (IsGoLike() ? q - 1 : q) - (FirstRow() - 1);
  return halfRadius_ + Radius_ + 2 + Spacing() * index;
}

int TLattix::RadiusForSize(int width, int height) const {
  const int h = Radius_ / 2;
  const int band = Coordinate_;
  const int n = ViewColumns(), m = ViewRows();
  const int r1 = (width - 2 * h - band - n) / (2 * n) - 1;
  const int r2 = (height - 2 * h - band - m) / (2 * m) - 1;
  const bool chess = GameKind() == kChineseChess || GameKind() == kChess;
  const int least = chess ? 12 : 1;
  int r = std::max(std::min(r1, r2), least);
  // The margins above are those of the radius before; the board at r has margins of its own
  // (half of r each side), so a larger r may not fit yet: take the largest that does.
  const auto side = [&](int radius, int points) {
    return points * (2 * radius + 3) + 2 * (radius / 2) + band;
  };
  while (IsGoLike() && r > least && (side(r, n) > width || side(r, m) > height)) --r;
  return r;
}

int TLattix::SideColumnWidth() const {
  if (DisplayInfo_ > 0) return DisplayWidth_ * DisplayInfo_;
  // Without the information column the turn circles still stand right of the board: 15 pixels
  // out, at most 14 wide, and a little margin, so that a board fitted to its width keeps them.
  return DisplayTurn_ ? kTurnColumnWidth : 0;
}

void TLattix::RecalcGeometry(bool invalidate) {
  const int r = Radius_;
  dotSize_ = r >= 6 ? 3 : (r < 2 ? 1 : r / 2);
  if (DrawLastPass_) Coordinate_ = static_cast<int16_t>(2 * r + 4);
  halfRadius_ = r / 2;
  stonesRatio_ = 0;  // the stones are made again for the new radius when next drawn
  const int width = ViewColumns() * Spacing() + 2 * halfRadius_ + Coordinate_;
  int height = Zoomed() ? ViewRows() * Spacing() + 2 * halfRadius_ + Coordinate_ : width;
  if (GameKind() == kChineseChess) height = width * 10 / 9;
  if (GameKind() == kArmyChess) height = width * 12 / 5;
  BoardWidth_ = static_cast<int16_t>(width);
  BoardHeight_ = static_cast<int16_t>(height);
  if (invalidate) Invalidate();
}

void TLattix::LoadStoneImages() {
  // On a dense screen the stones are drawn again at the screen's scale with the same code
  // the bitmaps come from, so they stay sharp; at scale 1 the bitmaps are used as they are.
  stonesRatio_ = canvas_.Ratio(*this);
  for (int k = 0; k < 2; ++k)
    stones_[k] =
        StonePicture(Radius_, k == 1, 100 * k + 101, stonesRatio_, look_.KeyTransparentStones(),
                     Zoomed() ? Radius_ : 19);
}

int TLattix::ColumnAt(int x) const {
  int k = (x - halfRadius_ - 1) / Spacing() + FirstColumn();
  // Zoomed, only the columns shown can be hit.
  if (Zoomed() && (k < view_.left || k > view_.right)) return 0;
  if (((k >= 1 && k <= N()) || k == kPassCoord) && std::abs(PointX(k) - x) >= Radius_) k = 0;
  return k >= 1 ? k : 0;
}

int TLattix::RowAt(int y) const {
  int k = (y - halfRadius_ - 1) / Spacing() + FirstRow();
  if (Zoomed() && (k < view_.top || k > view_.bottom)) return 0;
  if (((k >= 1 && k <= M()) || k == kPassCoord) && std::abs(PointY(k) - y) >= Radius_) k = 0;
  return k >= 1 ? k : 0;
}

GridHit TLattix::PointAt(int x, int y) const {
  GridHit hit;
  hit.p = ColumnAt(x);
  hit.q = RowAt(y);
  // The chess kinds take no clicks: every move of theirs is refused.
  hit.onBoard = IsGoLike() && hit.p >= 1 && hit.p <= N() && hit.q >= 1 && hit.q <= M();
  return hit;
}

void TLattix::GeometryChanged() {
  // Another game kind: the fitting radius is recomputed whatever the size.
  const int r = RadiusForSize(width() - SideColumnWidth(), height());
  Radius_ = static_cast<int16_t>(r);
  RecalcGeometry(true);
}

bool TLattix::IsStarPoint(int p, int q) const {
  if (GameKind() == kGo) {
    auto star = [](int n) { return n == 4 || n == 10 || n == 16; };
    return N() == 19 && star(p) && star(q);
  }
  if (GameKind() == kFiveInARow)
    return (p == 8 && q == 8) || ((p == 4 || p == 12) && (q == 4 || q == 12));
  return false;
}

QRect TLattix::CellRect(int p, int q) const {
  const int x = PointX(p), y = PointY(q), e = Radius_ + 2;
  return Box(x - e, y - e, x + e + 1, y + e + 1);
}

// ---- Canvas
// --------------------------------------------------------------------------------------

void TLattix::EnsureCanvas() {
  if (!artLoaded_) LoadArt();
  if (canvas_.Ratio(*this) != stonesRatio_) LoadStoneImages();
  canvas_.Ensure(*this);
}

void TLattix::Touch(const QRect& rect) { touched_ += rect; }

const QImage& TLattix::Canvas() {
  EnsureCanvas();
  if (canvas_.FullRepaintPending()) Paint();
  return canvas_.Image();
}

void TLattix::SetCanvasPixelRatio(qreal ratio) {
  canvas_.ForceRatio(ratio);
  EnsureCanvas();
  Invalidate();
}

void TLattix::Invalidate() {
  canvas_.RequestFullRepaint();
  setToolTip(DecodeChinese(Hint(), Language() == 1 && OnToBig5 != nullptr));
  update();
}

void TLattix::paintEvent(QPaintEvent* event) {
  EnsureCanvas();
  if (canvas_.FullRepaintPending()) {
    inPaintEvent_ = true;
    Paint();
    inPaintEvent_ = false;
  }
  canvas_.CopyTo(*this, event->rect());
}

void TLattix::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int r = RadiusForSize(width() - SideColumnWidth(), height());
  if (r != Radius_) {
    Radius_ = static_cast<int16_t>(r);
    RecalcGeometry(true);  // Go never drags, so there is no drag source to forget
  }
  EnsureCanvas();
  Invalidate();
  if (OnResize) OnResize(this);
}

QBrush TLattix::FaceBrush() const {
  if (look_.wood) return QBrush(woodTile_);
  if (look_.PatternFace()) return QBrush(patternTile_);
  return QBrush(WinColour(look_.boardColor));
}

QBrush TLattix::BackgroundBrush() const {
  if (look_.painting) return QBrush(painting_);
  return QBrush(WinColour(Color_));
}

void TLattix::FillInfoRect(const QRect& rect) {
  PaintScope scope(this);
  painter_->fillRect(rect, BackgroundBrush());
  Touch(rect);
}

// ---- Drawing
// -------------------------------------------------------------------------------------

void TLattix::Paint() {
  PaintScope scope(this);
  canvas_.FullRepaintDone();
  PaintBoard();
  PaintPoints();
}

void TLattix::DrawBoard() {
  PaintScope scope(this);
  PaintBoard();
}

void TLattix::DrawCoordinates() {
  PaintScope scope(this);
  PaintCoordinates();
}

void TLattix::DrawPoints() {
  PaintScope scope(this);
  PaintPoints();
}

void TLattix::DrawEmptyPoint(int p, int q) {
  PaintScope scope(this);
  PaintEmptyPoint(p, q);
}

void TLattix::DrawStone(int p, int q) {
  PaintScope scope(this);
  PaintStone(p, q);
}

void TLattix::DrawLastMoveMark(int p, int q) {
  PaintScope scope(this);
  PaintLastMoveMark(p, q);
}

void TLattix::DrawTurnArrow() {
  PaintScope scope(this);
  PaintTurnArrow();
}

void TLattix::DrawInfoLine(InfoLine line) {
  PaintScope scope(this);
  PaintInfoLine(line);
}

void TLattix::PaintBoard() {
  QPainter& p = *painter_;
  const QRect client = rect();
  Touch(client);
  if (NoBoard_) {
    p.fillRect(Box(0, 0, 24, 24), WinColour(kPlaceholderColour));
    return;
  }
  // 1. Background of the whole control.
  p.fillRect(client, BackgroundBrush());
  // 2. The face with its black frame.
  const QRect face = Box(0, 0, BoardWidth_, BoardHeight_);
  p.fillRect(face, FaceBrush());
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(face.adjusted(0, 0, -1, -1));
  // 3. Grid lines, filled as one-pixel rectangles so they land on whole pixels at any scale.
  if (IsGoLike()) {
    // Zoomed, the lines run on past a side that is not the board's edge.
    const int c1 = FirstColumn(), c2 = c1 + ViewColumns() - 1;
    const int q1 = FirstRow(), q2 = q1 + ViewRows() - 1;
    const int e = Radius_ + 2;
    const int x1 = PointX(c1) - (c1 > 1 ? e : 0), x2 = PointX(c2) + (c2 < N() ? e : 0);
    const int y1 = PointY(q1) - (q1 > 1 ? e : 0), y2 = PointY(q2) + (q2 < M() ? e : 0);
    for (int q = q1; q <= q2; ++q) PaintGridLine(x1, PointY(q), x2, PointY(q));
    for (int c = c1; c <= c2; ++c) PaintGridLine(PointX(c), y1, PointX(c), y2);
    for (int q = q1; q <= q2; ++q)
      for (int c = c1; c <= c2; ++c)
        if (IsStarPoint(c, q)) PaintStarPoint(PointX(c), PointY(q));
  } else {
    PaintKindBoard(p, KindGridNow());
  }
  PaintCoordinates();
  // 4. Turn circles: white's above, black's below.
  if (DisplayTurn_) {
    const int a = 2 * std::min<int>(Radius_, 7);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    p.drawEllipse(
        EllipseBox(BoardWidth_ + 15, 200, BoardWidth_ + 15 + a, 200 + a).adjusted(0, 0, -1, -1));
    p.setBrush(Qt::white);
    p.drawEllipse(
        EllipseBox(BoardWidth_ + 15, 120, BoardWidth_ + 15 + a, 120 + a).adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::Antialiasing, false);
    PaintTurnArrow();
  }
}

void TLattix::PaintCoordinates() {
  if (Coordinate_ <= 12 || NoBoard_) return;
  QPainter& p = *painter_;
  static constexpr char kSgfColumns[] = "ABCDEFGHJKLMNOPQRSTUVWXY";
  static constexpr char kPlainColumns[] = "ABCDEFGHJKMNOPQRSTUVWXYZ";
  const char* alphabet = sgfCoordinate_ ? kSgfColumns : kPlainColumns;
  // 10 and 8 points at 96 dots per inch, but never taller than the distance between two lines,
  // so neighbouring labels never overlap; below 8 pixels they could not be read, and are left
  // out.
  const int pixels = std::min(Radius_ > 6 ? 13 : 11, Spacing());
  if (pixels < 8) return;
  QFont f = font();
  f.setPixelSize(pixels);
  f.setBold(false);  // the window's bold font would push two-digit labels past the band
  p.setFont(f);
  p.setPen(Qt::black);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const int h = halfRadius_, r = Radius_;
  if (!IsGoLike()) {
    const KindGrid grid = KindGridNow();
    PaintKindCoordinates(p, grid, grid.Y(M() - 1) + r + h + 2, grid.X(N() - 1) + r + h + 2);
    return;
  }
  const int lastColumn = FirstColumn() + ViewColumns() - 1;
  const int lastRow = FirstRow() + ViewRows() - 1;
  const int below = PointY(lastRow) + r + h + 2;
  for (int c = FirstColumn(); c <= lastColumn && c <= 24; ++c)
    p.drawText(QRect(PointX(c) - 4, below, 40, 40), Qt::AlignLeft | Qt::AlignTop,
               QString(QChar(alphabet[c - 1])));
  const int right = PointX(lastColumn) + r + h + 2;
  for (int q = FirstRow(); q <= lastRow; ++q) {
    const int n = sgfCoordinate_ ? M() - q + 1 : q;
    p.drawText(QRect(right, PointY(q) - pixels / 2, 40, 40), Qt::AlignLeft | Qt::AlignTop,
               QString::asprintf("%2d", n));
  }
}

void TLattix::PaintPoints() {
  if (NoBoard_) {
    // Only the clocks are kept up without a board.
    PaintInfoLine(InfoLine::BlackClock);
    PaintInfoLine(InfoLine::WhiteClock);
    return;
  }
  // The chess kinds count from 0; a zoomed board starts at its region.
  const int firstColumn = IsGoLike() ? FirstColumn() : 0, firstRow = IsGoLike() ? FirstRow() : 0;
  for (int q = firstRow; q < firstRow + ViewRows(); ++q)
    for (int c = firstColumn; c < firstColumn + ViewColumns(); ++c) {
      if (GetPoint(c, q) != 0)
        PaintStone(c, q);
      else
        PaintEmptyPoint(c, q);
    }
  PaintEmptyPoint(kPassCoord, kPassCoord);
  if (IsPassPoint(LastP(), LastQ())) PaintStone(kPassCoord, kPassCoord);
  if (IsGoLike() && StoneNumber(LastP(), LastQ()) == 0) PaintLastMoveMark(LastP(), LastQ());
  PaintTurnArrow();
  static constexpr InfoLine kOrder[] = {
      InfoLine::Event,      InfoLine::BlackPlayer, InfoLine::WhitePlayer,
      InfoLine::Handicap,   InfoLine::Komi,        InfoLine::BlackClock,
      InfoLine::WhiteClock, InfoLine::Result,      InfoLine::CornerMark};
  for (InfoLine line : kOrder) PaintInfoLine(line);
}

void TLattix::PaintCellBackground(int p, int q, bool wide) {
  const int x = PointX(p), y = PointY(q);
  // The wood cell stops one pixel short of the plain one; the texture is anchored at the
  // control's origin either way, so it continues the face without a seam.
  const int e = Radius_ + (look_.wood && !wide ? 1 : 2);
  const QRect cell = Box(x - e, y - e, x + e, y + e);
  painter_->fillRect(cell, FaceBrush());
  Touch(cell);
}

void TLattix::PaintCrossing(int p, int q) {
  const int x = PointX(p), y = PointY(q), e = Radius_ + 2;
  const int left = p == 1 ? x : x - e, right = p == N() ? x : x + e - 1;
  const int top = q == 1 ? y : y - e, bottom = q == M() ? y : y + e - 1;
  PaintGridLine(left, y, right, y);
  PaintGridLine(x, top, x, bottom);
  if (IsStarPoint(p, q)) PaintStarPoint(x, y);
}

void TLattix::PaintGridLine(int x1, int y1, int x2, int y2) {
  QPainter& pa = *painter_;
  const qreal ratio = pa.device()->devicePixelRatioF();
  if (ratio == 1.0) {
    pa.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), Qt::black);
    return;
  }
  // At a fractional ratio a one-pixel line would cover one or two device pixels depending on
  // where it falls, so the grid would alternate thick and thin: every line is drawn in device
  // pixels instead, as wide as the ratio's whole part, where its logical position rounds to.
  const int thickness = std::max(1, static_cast<int>(ratio));
  const auto at = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
  const QRect device = x1 == x2 ? QRect(at(x1), at(y1), thickness, at(y2 + 1) - at(y1))
                                : QRect(at(x1), at(y1), at(x2 + 1) - at(x1), thickness);
  pa.save();
  pa.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio) * pa.worldTransform());
  pa.fillRect(device, Qt::black);
  pa.restore();
}

void TLattix::PaintStarPoint(int x, int y) {
  QPainter& p = *painter_;
  const int d = dotSize_;
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(QRectF(x - d, y - d, 2 * d + 1, 2 * d + 1));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void TLattix::PaintMarkDot(int x, int y, uint32_t colour) {
  QPainter& p = *painter_;
  const int t = std::min<int>(std::max(Radius_ / 2, 4), Radius_);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(WinColour(colour));
  p.drawEllipse(EllipseBox(x - t, y - t, x + t, y + t));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void TLattix::PaintEmptyPoint(int p, int q) {
  const bool pass = IsPassPoint(p, q);
  if (NoBoard_) return;
  if (!IsGoLike()) {
    PaintKindPoint(p, q);
    return;
  }
  if (pass ? !DrawLastPass_ : (!IsOnBoard(p, q) || !InView(p, q))) return;
  PaintCellBackground(p, q, false);
  if (pass) return;
  PaintCrossing(p, q);
  if (const uint32_t mark = MarkColor(p, q); mark != 0) PaintMarkDot(PointX(p), PointY(q), mark);
}

void TLattix::PaintStone(int p, int q) {
  if (NoBoard_) return;
  if (!IsGoLike()) {
    PaintKindPoint(p, q);
    return;
  }
  const bool pass = IsPassPoint(p, q);
  Colour v = GetPoint(p, q);
  if (pass) {
    if (!DrawLastPass_ || GameKind() != kGo || LastColour() == 0) return;
    v = LastColour();
  } else if (!IsOnBoard(p, q) || v == 0 || !InView(p, q)) {
    return;
  }
  QPainter& pa = *painter_;
  const int x = PointX(p), y = PointY(q), r = Radius_;
  // The cell is cleared first, so nothing of an earlier picture (a dead cross reaching past
  // the stone's rim, a previous number) survives the redraw.
  PaintCellBackground(p, q, true);
  if (!pass) PaintCrossing(p, q);
  // 1. The stone.
  const int k = v > 0 ? 0 : 1;
  if (look_.dim3) {
    if (!stones_[k].isNull()) pa.drawImage(QPoint(x - r, y - r), stones_[k]);
  } else {
    pa.setRenderHint(QPainter::Antialiasing, true);
    pa.setPen(QPen(Qt::black, 1));
    pa.setBrush(v > 0 ? Qt::black : Qt::white);
    pa.drawEllipse(EllipseBox(x - r, y - r, x + r, y + r));
    pa.setRenderHint(QPainter::Antialiasing, false);
  }
  // 2. The dead cross.
  if ((v & kDeadBit) != 0) {
    // Set pixel by pixel: both diagonals cross exactly on the point at any scale.
    const int c = 3 * r / 4;
    for (int i = -c; i <= c; ++i) {
      pa.fillRect(QRect(x + i, y + i, 1, 1), Qt::red);
      pa.fillRect(QRect(x + i, y - i, 1, 1), Qt::red);
    }
  }
  // 3. The number, or else the mark dot.
  const int32_t number = pass ? 0 : StoneNumber(p, q);
  const uint32_t mark = pass ? 0 : MarkColor(p, q);
  if (number > 0) {
    QColor ink = v > 0 ? Qt::white : Qt::black;
    if (mark != 0 && mark != 0xFFFFFF) ink = WinColour(mark);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(std::max(4, (std::min(r, 8) * 4 + 2) / 3));
    pa.setFont(f);
    pa.setPen(ink);
    pa.setRenderHint(QPainter::TextAntialiasing, true);
    pa.drawText(QRect(x - 3 * r, y - r, 6 * r + 1, 2 * r + 1), Qt::AlignCenter,
                QString::number(number));
  } else if (mark != 0) {
    PaintMarkDot(x, y, mark);
  }
}

void TLattix::PaintLastMoveMark(int p, int q) {
  if (NoBoard_) return;
  const bool pass = IsPassPoint(p, q);
  if (pass ? !(DrawLastPass_ && LastColour() != 0)
           : (!IsOnBoard(p, q) || GetPoint(p, q) == 0 || !InView(p, q)))
    return;
  QPainter& pa = *painter_;
  const int x = PointX(p), y = PointY(q);
  if (IsGoLike()) {
    const int d = dotSize_;
    const QRect square = Box(x - d, y - d, x + d + 1, y + d + 1);
    pa.fillRect(square, Qt::black);
    pa.fillRect(square.adjusted(1, 1, -1, -1), Qt::red);
    Touch(square);
  } else {
    const int r = Radius_;
    pa.setPen(QPen(Qt::red, 1));
    pa.setBrush(Qt::NoBrush);
    pa.drawRect(QRect(x - r, y - r, 2 * r, 2 * r));
    Touch(Box(x - r, y - r, x + r + 1, y + r + 1));
  }
}

void TLattix::PaintTurnArrow() {
  if (!DisplayTurn_ || NoBoard_) return;
  QPainter& p = *painter_;
  const int bw = BoardWidth_;
  for (const QRect& strip : {Box(bw + 5, 120, bw + 15, 140), Box(bw + 5, 200, bw + 15, 220)}) {
    p.fillRect(strip, BackgroundBrush());
    Touch(strip);
  }
  const int a = bw + 5;
  const int y0 = Turn() > 0 ? 205 : 125;
  p.fillRect(QRect(a, y0 - 1, 7, 1), Qt::red);
  p.fillRect(QRect(a, y0 + 1, 7, 1), Qt::red);
  for (int i = 0; i <= 3; ++i) {  // the head, from the tip (a + 7, y0) back to a + 4
    p.fillRect(QRect(a + 7 - i, y0 - i, 1, 1), Qt::red);
    p.fillRect(QRect(a + 7 - i, y0 + i, 1, 1), Qt::red);
  }
}

}  // namespace zendra
