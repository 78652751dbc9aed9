#include "index/go_index.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cctype>

#include "board/widget/bitmaps.h"
#include "board/widget/board_art.h"
#include "board/widget/colours.h"

namespace zendra {

namespace {

// The grid's own copies of the pictures.
constexpr int kStripId = 2998;
constexpr int kCheckMarkId = 2996;
constexpr int kBlackStoneBase = 2101;  // + 100 k + 2 r: k = 0 black, 1 white; r = 3..19
// Star points of the thumbnail's corner: 4-4, 10-4, 4-10 and 10-10.
constexpr int kStarLines[2] = {4, 10};

std::vector<std::string> SplitAtSpaces(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t space = text.find(' ', start);
    if (space == std::string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, space - start));
    start = space + 1;
  }
}

// Column (first letter) or row (second letter) of a two-letter point: "A" is 1.
int Coord(char c) { return static_cast<unsigned char>(c) - 64; }

}  // namespace

IndexEntryStones ParseIndexEntry(const std::string& entry) {
  IndexEntryStones out;
  // 1. Trim, split off the header, then the fields at single spaces.
  const std::size_t first = entry.find_first_not_of(" \t\r\n");
  const std::size_t last = entry.find_last_not_of(" \t\r\n");
  const std::string text = first == std::string::npos ? "" : entry.substr(first, last - first + 1);
  out.solved = entry.size() > 4 && entry[4] == '1';
  const std::size_t space = text.find(' ');
  std::vector<std::string> fields;
  if (space != std::string::npos) fields = SplitAtSpaces(text.substr(space + 1));
  fields.resize(5);
  const std::string& arrangedBlack = fields[1];
  const std::string& arrangedWhite = fields[2];
  const std::string& initial = fields[3];
  std::string firstToPlay = fields[4];
  std::transform(firstToPlay.begin(), firstToPlay.end(), firstToPlay.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  // 2. and 3. Initial moves alternate from the first player.
  const bool whiteFirst = firstToPlay == "W";
  std::string blackMoves, whiteMoves;
  const std::size_t moves = initial.size() / 2;
  for (std::size_t i = 0; i < moves; ++i) {
    const bool byFirst = i % 2 == 0;
    (byFirst != whiteFirst ? blackMoves : whiteMoves) += initial.substr(2 * i, 2);
  }
  // 4. Arranged stones first, then that side's moves.
  out.blackStones = arrangedBlack + blackMoves;
  out.whiteStones = arrangedWhite + whiteMoves;
  // 6. Who made the last initial move.
  if (moves > 0) {
    const bool blackLast = (moves % 2 == 1) != whiteFirst;
    if (blackLast && !blackMoves.empty()) out.blackLast = blackMoves.substr(blackMoves.size() - 2);
    if (!blackLast && !whiteMoves.empty()) out.whiteLast = whiteMoves.substr(whiteMoves.size() - 2);
  }
  return out;
}

TGoIndex::TGoIndex(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  QImage strip = LoadBitmap(kStripId);
  if (strip.isNull()) strip = PaintColourStrip();
  patternTile_ = strip.copy(18, 1, 8, 8).convertToFormat(QImage::Format_RGB32);
  QImage check = LoadBitmap(kCheckMarkId);
  if (check.isNull()) check = PaintCheckMark();
  check = check.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = check.pixel(0, 0);
  for (int y = 0; y < check.height(); ++y)
    for (int x = 0; x < check.width(); ++x)
      if (check.pixel(x, y) == key) check.setPixel(x, y, qRgba(0, 0, 0, 0));
  checkMark_ = check.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  // A page of 3 x 3 pictures until the owner sizes the grid.
  RecalcGeometry(false);
  resize(3 * BoardWidth_, 3 * BoardHeight_);
  RecalcGeometry(false);
}

TGoIndex::~TGoIndex() = default;

// ---- The problem list ---------------------------------------------------------------------

void TGoIndex::SetGames(const std::vector<std::string>& games) {
  const int oldCount = Count();
  Selected_ = -1;
  Games_ = games;
  if (OnGamesChanged) OnGamesChanged(this, Count(), oldCount, 3);
  if (TopRow_ != 1) {
    const int oldTop = TopRow_;
    TopRow_ = 1;
    if (OnTopRowChanged) OnTopRowChanged(this, 1, oldTop, 2);
  }
  Invalidate();
}

// ---- Paging and selection -----------------------------------------------------------------

int TGoIndex::RowCount() const {
  if (Cols_ <= 0) return 0;
  return Count() / Cols_ + (Count() % Cols_ != 0 ? 1 : 0);
}

int TGoIndex::PageCount() const {
  const int perPage = Rows_ * Cols_;
  if (perPage <= 0) return 0;
  return Count() / perPage + (Count() % perPage != 0 ? 1 : 0);
}

void TGoIndex::SetTopRow(int v) {
  if (v == TopRow_ || v > RowCount()) return;
  const int old = TopRow_;
  TopRow_ = v;
  if (OnTopRowChanged) OnTopRowChanged(this, v, old, 2);
  Invalidate();
}

void TGoIndex::SetSelected(int v) {
  if (v == Selected_ || v < 0 || v >= Count()) return;
  Selected_ = v;
  Invalidate();
}

// ---- Look ---------------------------------------------------------------------------------

void TGoIndex::SetRadius(int v) {
  if (v == Radius_ || v < 1) return;
  Radius_ = v;
  RecalcGeometry(true);
}

void TGoIndex::SetBoardCols(int v) {
  if (v == BoardCols_ || v < 1 || v > 19) return;
  BoardCols_ = v;
  RecalcGeometry(true);
}

void TGoIndex::SetBoardRows(int v) {
  if (v == BoardRows_ || v < 1 || v > 19) return;
  BoardRows_ = v;
  RecalcGeometry(true);
}

void TGoIndex::SetBoardColor(uint32_t v) { ShowLookChange(look_.SetBoardColor(v)); }

void TGoIndex::SetBoardColorNum(int v) { ShowLookChange(look_.SetColorNum(v)); }

void TGoIndex::SetDim3(bool v) {
  look_.dim3 = v;
  Invalidate();
}

void TGoIndex::SetPal256(bool v) { ShowLookChange(look_.SetPal256(v)); }

void TGoIndex::ShowLookChange(LookChange change) {
  if (change == LookChange::kNone) return;
  if (change == LookChange::kStones) LoadStoneImages();
  Invalidate();
}

void TGoIndex::SetDrawLastMove(bool v) {
  DrawLastMove_ = v;
  Invalidate();
}

void TGoIndex::SetLanguage(int v) {
  if (v < 0 || v > 2) return;
  Language_ = v;
  ShowTooltip();
  Invalidate();
}

void TGoIndex::SetHint0(const QString& v) {
  Hint0_ = v;
  ShowTooltip();
}

void TGoIndex::SetHint1(const QString& v) {
  Hint1_ = v;
  ShowTooltip();
}

void TGoIndex::SetHint2(const QString& v) {
  Hint2_ = v;
  ShowTooltip();
}

void TGoIndex::ShowTooltip() {
  setToolTip(Language_ == 0 ? Hint0_ : (Language_ == 1 ? Hint1_ : Hint2_));
}

// ---- Counters -----------------------------------------------------------------------------

void TGoIndex::SetSolvedCount(int v) {
  if (Selected_ < 0 || v == SolvedCount_) return;
  SolvedCount_ = v;
  if (Selected_ >= Count()) return;
  std::string& entry = Games_[static_cast<std::size_t>(Selected_)];
  const char mark = v > 0 ? '1' : '0';
  if (entry.size() <= 4 || entry[4] == mark) return;
  entry[4] = mark;
  DrawCell(ScreenRow(Selected_), ScreenCol(Selected_));
}

// ---- Geometry -----------------------------------------------------------------------------

int TGoIndex::CellIndex(int a, int b) const {
  if (a < 1 || b < 1 || a > Rows_ || b > Cols_) return -1;
  const int idx = (TopRow_ + a - 2) * Cols_ + b - 1;
  return idx >= 0 && idx < Count() ? idx : -1;
}

QRect TGoIndex::CellRect(int a, int b) const {
  return QRect((b - 1) * BoardWidth_, (a - 1) * BoardHeight_, BoardWidth_, BoardHeight_);
}

QRect TGoIndex::FaceRect(int a, int b) const {
  const int m = Margin();
  return QRect((b - 1) * BoardWidth_ + m, (a - 1) * BoardHeight_ + m, BoardWidth_ - m,
               BoardHeight_ - m);
}

QPoint TGoIndex::PointCentre(int a, int b, int i, int j) const {
  const int m = Margin(), r = Radius_, s = 2 * Radius_ + 1;
  return QPoint((b - 1) * BoardWidth_ + m + r + s * (i - 1),
                (a - 1) * BoardHeight_ + m + r + s * (j - 1));
}

QPoint TGoIndex::NumberPos(int a, int b) const {
  return QPoint(b * BoardWidth_ - 32, a * BoardHeight_ - 22);
}

QPoint TGoIndex::CheckMarkPos(int a, int b) const {
  return QPoint(b * BoardWidth_ - Margin() - 24, (a - 1) * BoardHeight_ + Margin() + 34);
}

int TGoIndex::ScreenRow(int index) const { return Cols_ > 0 ? index / Cols_ - TopRow_ + 2 : 0; }

int TGoIndex::ScreenCol(int index) const { return Cols_ > 0 ? index % Cols_ + 1 : 0; }

void TGoIndex::RecalcGeometry(bool invalidate) {
  const int r = Radius_;
  dotSize_ = r >= 6 ? 3 : (r < 2 ? 1 : r / 2);
  LoadStoneImages();
  BoardWidth_ = BoardHeight_ = 2 * Margin() + (2 * r + 1) * BoardCols_;
  Cols_ = std::max(1, width() / BoardWidth_);
  Rows_ = std::max(1, height() / BoardWidth_);
  if (invalidate) Invalidate();
}

int TGoIndex::RowAt(int y) const { return y < 0 ? 0 : y / BoardHeight_ + 1; }

int TGoIndex::ColAt(int x) const { return x < 0 ? 0 : x / BoardWidth_ + 1; }

// ---- Drawing resources --------------------------------------------------------------------

void TGoIndex::LoadStoneImages() {
  // At scale 1 the grid's bitmaps are used as they are; on a dense screen the stones are drawn
  // again at the screen's scale by the code the bitmaps come from, so they stay sharp.
  stonesRatio_ = canvas_.Ratio(*this);
  for (int k = 0; k < 2; ++k)
    stones_[k] = StonePicture(Radius_, k == 1, kBlackStoneBase + 100 * k, stonesRatio_,
                              look_.KeyTransparentStones());
}

// ---- Canvas -------------------------------------------------------------------------------

// Makes the stones and the canvas match the widget; true when the canvas had to be made anew.
bool TGoIndex::EnsureCanvas() {
  if (canvas_.Ratio(*this) != stonesRatio_) LoadStoneImages();
  return canvas_.Ensure(*this);
}

const QImage& TGoIndex::Canvas() {
  EnsureCanvas();
  if (canvas_.FullRepaintPending()) Paint();
  return canvas_.Image();
}

void TGoIndex::SetCanvasPixelRatio(qreal ratio) {
  canvas_.ForceRatio(ratio);
  EnsureCanvas();
  Invalidate();
}

void TGoIndex::Invalidate() {
  canvas_.RequestFullRepaint();
  update();
}

void TGoIndex::paintEvent(QPaintEvent* event) {
  EnsureCanvas();
  if (canvas_.FullRepaintPending()) Paint();
  canvas_.CopyTo(*this, event->rect());
}

void TGoIndex::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int cols = std::max(1, width() / BoardWidth_);
  // A partly visible row counts once more than a quarter of it shows.
  int rows = height() / BoardHeight_ + (height() % BoardHeight_ > BoardHeight_ / 4 ? 1 : 0);
  rows = std::max(1, rows);
  const bool changed = cols != Cols_ || rows != Rows_;
  Cols_ = cols;
  Rows_ = rows;
  // A new size needs a new canvas, which is painted whole anyway.
  if (EnsureCanvas() || changed) Invalidate();
}

// ---- Painting -----------------------------------------------------------------------------

void TGoIndex::Paint() {
  EnsureCanvas();
  canvas_.FullRepaintDone();
  QPainter p(&canvas_.Image());
  // Whatever no cell covers shows the window's background.
  p.fillRect(rect(), palette().color(QPalette::Window));
  for (int a = 1; a <= Rows_; ++a)
    for (int b = 1; b <= Cols_; ++b) PaintCell(p, a, b);
}

void TGoIndex::DrawCell(int a, int b) {
  if (a < 1 || b < 1 || a > Rows_ || b > Cols_) return;
  EnsureCanvas();
  if (canvas_.FullRepaintPending()) {
    update();
    return;
  }
  {
    QPainter p(&canvas_.Image());
    PaintCell(p, a, b);
  }
  update(CellRect(a, b));
}

void TGoIndex::PaintCell(QPainter& p, int a, int b) {
  const int idx = CellIndex(a, b);
  const int m = Margin(), r = Radius_, s = 2 * r + 1, g = dotSize_;
  const QRect cell = CellRect(a, b);
  const QRect face = FaceRect(a, b);
  p.setRenderHint(QPainter::Antialiasing, false);
  // The margin above and left of the face shows the background.
  p.fillRect(cell, palette().color(QPalette::Window));
  // 1. Face, framed in black: the chosen picture in its solid colour.
  QBrush faceBrush = (idx == Selected_ && idx >= 0) || !look_.PatternFace()
                         ? QBrush(WinColour(look_.boardColor))
                         : QBrush(patternTile_);
  p.fillRect(face, faceBrush);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(face.adjusted(0, 0, -1, -1));
  // 2. Grid lines, each running on past the last crossing to show the board continues.
  const int x0 = (b - 1) * BoardWidth_ + m + r;
  const int y0 = (a - 1) * BoardHeight_ + m + r;
  const int down = s * BoardRows_ - r / 2;
  const int across = s * BoardCols_ - r / 2;
  for (int i = 0; i < BoardCols_; ++i) p.fillRect(QRect(x0 + s * i, y0, 1, down), Qt::black);
  for (int j = 0; j < BoardRows_; ++j) p.fillRect(QRect(x0, y0 + s * j, across, 1), Qt::black);
  // 3. Star points.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  for (int i : kStarLines)
    for (int j : kStarLines) {
      if (i > BoardCols_ || j > BoardRows_) continue;
      const QPoint c = PointCentre(a, b, i, j);
      p.drawEllipse(QRectF(c.x() - g, c.y() - g, 2 * g + 1, 2 * g + 1));
    }
  p.setRenderHint(QPainter::Antialiasing, false);
  // 4. The 1-based number in blue; an empty cell shows 0.
  p.setFont(font());
  p.setPen(QColor(0, 0, 255));
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const QPoint at = NumberPos(a, b);
  p.drawText(QRect(at.x(), at.y(), 40, 30), Qt::AlignLeft | Qt::AlignTop, QString::number(idx + 1));
  if (idx < 0) return;
  // 5. Stones, check mark, hot frame.
  const std::string& entry = Games_[static_cast<std::size_t>(idx)];
  PaintStones(p, a, b, entry);
  if (entry.size() > 4 && entry[4] == '1') p.drawImage(CheckMarkPos(a, b), checkMark_);
  if (idx == Hot_) {
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(face.adjusted(0, 0, -1, -1));
  }
}

void TGoIndex::PaintStones(QPainter& p, int a, int b, const std::string& entry) {
  const IndexEntryStones stones = ParseIndexEntry(entry);
  const int r = Radius_, g = dotSize_;
  auto onThumbnail = [this](int i, int j) {
    return i >= 1 && i <= BoardCols_ && j >= 1 && j <= BoardRows_;
  };
  // 5. Black first, then white; later stones simply cover earlier ones.
  for (int k = 0; k < 2; ++k) {
    const std::string& points = k == 0 ? stones.blackStones : stones.whiteStones;
    Turn_ = k == 0 ? 1 : -1;
    for (std::size_t n = 0; n + 1 < points.size(); n += 2) {
      const int i = Coord(points[n]), j = Coord(points[n + 1]);
      if (!onThumbnail(i, j)) continue;
      const QPoint c = PointCentre(a, b, i, j);
      if (look_.dim3) {
        p.drawImage(QPoint(c.x() - r, c.y() - r), stones_[k]);
      } else {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(k == 0 ? Qt::black : Qt::white);
        p.drawEllipse(QRectF(c.x() - r + 0.5, c.y() - r + 0.5, 2 * r, 2 * r));
        p.setRenderHint(QPainter::Antialiasing, false);
      }
    }
  }
  // 6. The red square on the last initial move.
  if (!DrawLastMove_) return;
  for (const std::string* last : {&stones.blackLast, &stones.whiteLast}) {
    if (last->size() != 2) continue;
    const int i = Coord((*last)[0]), j = Coord((*last)[1]);
    if (!onThumbnail(i, j)) continue;
    const QPoint c = PointCentre(a, b, i, j);
    const QRect square(c.x() - g, c.y() - g, 2 * g + 1, 2 * g + 1);
    p.fillRect(square, Qt::black);
    p.fillRect(square.adjusted(1, 1, -1, -1), Qt::red);
  }
}

void TGoIndex::PaintHotFrame(int a, int b, bool hot) {
  if (a < 1 || b < 1 || a > Rows_ || b > Cols_) return;
  EnsureCanvas();
  if (canvas_.FullRepaintPending()) {
    update();
    return;
  }
  const QRect face = FaceRect(a, b);
  {
    QPainter p(&canvas_.Image());
    p.setPen(QPen(hot ? QColor(Qt::red) : WinColour(look_.boardColor), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(face.adjusted(0, 0, -1, -1));
  }
  update(face);
}

// ---- Mouse --------------------------------------------------------------------------------

void TGoIndex::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
  if (event->button() != Qt::LeftButton) return;
  pressPos_ = at;
  pressed_ = true;
}

void TGoIndex::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const int a = RowAt(at.y()), b = ColAt(at.x());
  if (a != RowAt(pressPos_.y()) || b != ColAt(pressPos_.x())) return;
  const int idx = CellIndex(a, b);
  if (idx < 0) return;
  int old = idx;
  if (idx != Selected_) {
    old = Selected_;
    Selected_ = idx;
    if (old >= 0) {
      const int oldRow = ScreenRow(old);
      if (oldRow >= 1 && oldRow <= Rows_) DrawCell(oldRow, ScreenCol(old));
    }
    DrawCell(a, b);
  }
  if (OnSelectedChanged) OnSelectedChanged(this, idx, old, 0);
}

void TGoIndex::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (OnMouseMove) OnMouseMove(this, event->modifiers(), at.x(), at.y());
  const int a = RowAt(at.y()), b = ColAt(at.x());
  const int idx = CellIndex(a, b);
  if (idx >= 0) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
  if (idx < 0 || idx == Hot_) return;
  const int previous = Hot_;
  Hot_ = idx;
  if (previous >= 0 && previous < Count()) {
    const int row = ScreenRow(previous);
    if (row >= 1 && row <= Rows_) PaintHotFrame(row, ScreenCol(previous), false);
  }
  PaintHotFrame(a, b, true);
  if (OnHotChanged) OnHotChanged(this, idx, previous, 1);
}

}  // namespace zendra
