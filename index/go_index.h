// TGoIndex: the problem index, a grid of small board pictures, one per problem-list entry.
//
// Each picture is drawn straight from the entry text ("0A3F1 1 CCDD EE FG B": number, solved
// mark, result, black stones, white stones, initial moves, first player): the stones, a red
// square on each side's last initial move, a check mark on solved problems and the entry's
// 1-based number. Nothing is played by the rules; stones are simply overlaid.
//
// The grid pages by rows (TopRow), follows the pointer (Hot) and the chosen picture (Selected),
// and tells its owner through four events. Like the board control it draws into a backing image
// at the screen's device pixel ratio; paintEvent only copies it. All coordinates are logical
// pixels.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "board/widget/backing_canvas.h"
#include "board/widget/board_look.h"

class QPainter;

namespace zendra {

class TGoIndex;

// The grid's events: nKind is 0 selected, 1 hot, 2 top row, 3 games.
using TGoIndexEvent = std::function<void(TGoIndex* Sender, int nNewNo, int nOldNo, int nKind)>;
// The owner's mouse callbacks, with the grid as Sender and the pixel in logical coordinates.
using TGoIndexMouseEvent = std::function<void(TGoIndex* Sender, Qt::MouseButton Button,
                                              Qt::KeyboardModifiers Shift, int X, int Y)>;
using TGoIndexMouseMoveEvent =
    std::function<void(TGoIndex* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

// The parts of a problem-list entry the grid draws.
struct IndexEntryStones {
  std::string blackStones;  // arranged black stones, then black's initial moves
  std::string whiteStones;  // arranged white stones, then white's initial moves
  std::string blackLast;    // black's last initial move when black made the last one, else ""
  std::string whiteLast;    // white's last initial move when white made the last one, else ""
  bool solved = false;      // the fifth character is "1"
};

// Splits an entry: trimmed, header up to the first space, then result, arranged black,
// arranged white, initial moves and first player at single spaces (missing fields are empty,
// a missing first player is black). Initial moves alternate from the first player.
IndexEntryStones ParseIndexEntry(const std::string& entry);

class TGoIndex : public QWidget {
  Q_OBJECT

 public:
  explicit TGoIndex(QWidget* parent = nullptr);
  ~TGoIndex() override;

  // ---- The problem list -------------------------------------------------------------------

  // One problem-list entry per line.
  const std::vector<std::string>& Games() const { return Games_; }
  // Takes a whole new list: Selected becomes -1, OnGamesChanged(new Count, old Count, 3), then
  // TopRow back to 1 with OnTopRowChanged(1, old, 2) when it was not 1; repaints. Hot is kept.
  void SetGames(const std::vector<std::string>& games);
  // Number of entries.
  int Count() const { return static_cast<int>(Games_.size()); }

  // ---- Paging and selection ---------------------------------------------------------------

  // Cells across and down one page; the resize rule and a Radius change recompute them.
  int Cols() const { return Cols_; }
  void SetCols(int v) { Cols_ = v; }
  int Rows() const { return Rows_; }
  void SetRows(int v) { Rows_ = v; }
  // Grid rows of Cols entries: Count div Cols, plus one for a remainder.
  int RowCount() const;
  // Pages of Rows * Cols entries: Count div (Rows * Cols), plus one for a remainder.
  int PageCount() const;
  // Grid row (1-based) in the top screen row (default 1). The setter ignores the current value
  // and values above RowCount; otherwise stores, raises OnTopRowChanged(v, old, 2), repaints.
  int TopRow() const { return TopRow_; }
  void SetTopRow(int v);
  // Index (0-based) of the chosen entry, -1 for none (default). The setter ignores the current
  // value and values outside 0..Count - 1; otherwise stores and repaints, raising nothing.
  int Selected() const { return Selected_; }
  void SetSelected(int v);
  // Index of the entry last under the pointer, -1 for none (default). Plain field.
  int Hot() const { return Hot_; }
  void SetHot(int v) { Hot_ = v; }

  // ---- Look -------------------------------------------------------------------------------

  // Thumbnail stone radius R (default 5). A changed value of 1 or more recomputes the geometry
  // and repaints; smaller values are ignored.
  int Radius() const { return Radius_; }
  void SetRadius(int v);
  // Lines shown per thumbnail, the top-left corner of the board (default 14 x 14). A changed
  // value of 1..19 recomputes the geometry and repaints; others are ignored.
  int BoardCols() const { return BoardCols_; }
  void SetBoardCols(int v);
  int BoardRows() const { return BoardRows_; }
  void SetBoardRows(int v);
  // Cell size in pixels: 2R + (2R + 1) * BoardCols (164 at R = 5 and 14 lines).
  int BoardWidth() const { return BoardWidth_; }
  int BoardHeight() const { return BoardHeight_; }
  // Face colour of the selected picture, and of every picture when BoardColorNum is not 1
  // (default 26265, 0x00BBGGRR). 0, 0xFFFFFF and the current value are ignored; repaints.
  uint32_t BoardColor() const { return look_.boardColor; }
  void SetBoardColor(uint32_t v);
  // Colour scheme 0..6 (default 1 = the dithered pattern of the colour strip). Out-of-range and
  // unchanged values are ignored; crossing between {0, 1} and {2..6} rebuilds the stones.
  int BoardColorNum() const { return look_.colorNum; }
  void SetBoardColorNum(int v);
  // Stones from pictures (True, default) or flat ellipses. Repaints.
  bool Dim3() const { return look_.dim3; }
  void SetDim3(bool v);
  // Reduced-colour mode. Turning it on while BoardColorNum is 1 also switches to flat stones,
  // scheme 6 and the button-face colour; repaints.
  bool Pal256() const { return look_.pal256; }
  void SetPal256(bool v);
  // Red square on each side's last initial move (default True). Repaints.
  bool DrawLastMove() const { return DrawLastMove_; }
  void SetDrawLastMove(bool v);
  // Colour of the stone being drawn (1 black, -1 white), set by the drawing; the setter stores.
  int Turn() const { return Turn_; }
  void SetTurn(int v) { Turn_ = v; }
  // Game kind as on the board control (0 Go, default). Stored only.
  int GameKind() const { return GameKind_; }
  void SetGameKind(int v) { GameKind_ = v; }
  // 0..2 (others ignored): the tooltip becomes Hint0, Hint1 or Hint2; repaints.
  int Language() const { return Language_; }
  void SetLanguage(int v);
  // The tooltip texts per language; the current one shows at once when changed.
  const QString& Hint0() const { return Hint0_; }
  void SetHint0(const QString& v);
  const QString& Hint1() const { return Hint1_; }
  void SetHint1(const QString& v);
  const QString& Hint2() const { return Hint2_; }
  void SetHint2(const QString& v);
  // Kept for symmetry with the board control; they change nothing on the grid.
  bool Wood() const { return look_.wood; }
  void SetWood(bool) {}
  bool Painting() const { return look_.painting; }
  void SetPainting(bool v) { look_.painting = v; }
  // "02".
  QString LattixVersion() const { return QStringLiteral("02"); }

  // ---- Counters kept for the owner (the open problem's statistics) -------------------------

  int FailedCount() const { return FailedCount_; }
  void SetFailedCount(int v) { FailedCount_ = v; }
  int Hint0Count() const { return Hint0Count_; }
  void SetHint0Count(int v) { Hint0Count_ = v; }
  int Hint1Count() const { return Hint1Count_; }
  void SetHint1Count(int v) { Hint1Count_ = v; }
  int Hint2Count() const { return Hint2Count_; }
  void SetHint2Count(int v) { Hint2Count_ = v; }
  int SolvedCount() const { return SolvedCount_; }
  // Only with a selection and a changed value: stores it and, when the selected entry is longer
  // than 4 characters and its solved mark disagrees ("1" for v > 0, else "0"), rewrites that
  // character in Games and redraws the selected cell.
  void SetSolvedCount(int v);
  int FailedCountBeforeSolve() const { return FailedCountBeforeSolve_; }
  void SetFailedCountBeforeSolve(int v) { FailedCountBeforeSolve_ = v; }
  int Hint0CountBeforeSolve() const { return Hint0CountBeforeSolve_; }
  void SetHint0CountBeforeSolve(int v) { Hint0CountBeforeSolve_ = v; }
  int Hint1CountBeforeSolve() const { return Hint1CountBeforeSolve_; }
  void SetHint1CountBeforeSolve(int v) { Hint1CountBeforeSolve_ = v; }
  int Hint2CountBeforeSolve() const { return Hint2CountBeforeSolve_; }
  void SetHint2CountBeforeSolve(int v) { Hint2CountBeforeSolve_ = v; }
  int TakebackBeforeSolve() const { return TakebackBeforeSolve_; }
  void SetTakebackBeforeSolve(int v) { TakebackBeforeSolve_ = v; }
  int StudyBeforeSolve() const { return StudyBeforeSolve_; }
  void SetStudyBeforeSolve(int v) { StudyBeforeSolve_ = v; }

  // ---- Geometry ---------------------------------------------------------------------------

  // The gap at the top and left of every cell, R.
  int Margin() const { return Radius_; }
  // Half-size of star points and the last-move square: 3 for R >= 6, 1 for R < 2, else R div 2.
  int DotSize() const { return dotSize_; }
  // Entry index shown in screen cell (a, b), 1-based; -1 for an empty cell (outside the page,
  // before the first or past the last entry).
  int CellIndex(int a, int b) const;
  // The whole cell and its face (the framed picture), both in widget pixels.
  QRect CellRect(int a, int b) const;
  QRect FaceRect(int a, int b) const;
  // Centre of thumbnail point (i, j), 1-based, in screen cell (a, b).
  QPoint PointCentre(int a, int b, int i, int j) const;
  // Top-left corner of the number and of the check mark in screen cell (a, b).
  QPoint NumberPos(int a, int b) const;
  QPoint CheckMarkPos(int a, int b) const;
  // Screen row and column of an entry index (the row may lie off the page).
  int ScreenRow(int index) const;
  int ScreenCol(int index) const;
  // Recomputes dot size, cell size, Cols and Rows from R and the widget size and rebuilds the
  // stone pictures; repaints when invalidate is set.
  void RecalcGeometry(bool invalidate);

  // ---- Drawing ----------------------------------------------------------------------------

  // Full repaint of the backing image now: every cell of the page.
  void Paint();
  // Redraws one screen cell now (nothing outside 1..Rows x 1..Cols).
  void DrawCell(int a, int b);
  // Schedules a full repaint.
  void Invalidate();
  // The backing image, brought up to date first. Its device pixel ratio is the widget's, or
  // the one forced by SetCanvasPixelRatio.
  const QImage& Canvas();
  // Renders at a fixed device pixel ratio (0 follows the screen again); repaints.
  void SetCanvasPixelRatio(qreal ratio);

  // ---- Events (each raised only when assigned) ---------------------------------------------

  // A completed left click on a cell with an entry, also when it is already selected.
  TGoIndexEvent OnSelectedChanged;
  // The pointer entered another cell with an entry.
  TGoIndexEvent OnHotChanged;
  // TopRow changed (setter, or a new list).
  TGoIndexEvent OnTopRowChanged;
  // A new list was handed over.
  TGoIndexEvent OnGamesChanged;
  // The owner's mouse callbacks, raised before the grid's own handling of the event.
  TGoIndexMouseEvent OnMouseDown;
  TGoIndexMouseEvent OnMouseUp;
  TGoIndexMouseMoveEvent OnMouseMove;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  bool EnsureCanvas();
  void LoadStoneImages();
  // Repaints after a look property changed, with new stone pictures when it asks for them.
  void ShowLookChange(LookChange change);
  void PaintCell(QPainter& p, int a, int b);
  void PaintStones(QPainter& p, int a, int b, const std::string& entry);
  void PaintHotFrame(int a, int b, bool hot);
  void ShowTooltip();
  // Screen cell (row, column) under a pixel, 1-based; 0 for left of or above the grid.
  int RowAt(int y) const;
  int ColAt(int x) const;

  std::vector<std::string> Games_;
  int Cols_ = 3;
  int Rows_ = 3;
  int TopRow_ = 1;
  int Selected_ = -1;
  int Hot_ = -1;
  int Radius_ = 5;
  int BoardCols_ = 14;
  int BoardRows_ = 14;
  int BoardWidth_ = 0;
  int BoardHeight_ = 0;
  // BoardColor, BoardColorNum, Dim3, Pal256, and Wood and Painting, which draw nothing here.
  BoardLook look_{.painting = false};
  bool DrawLastMove_ = true;
  int Turn_ = 0;
  int GameKind_ = 0;
  int Language_ = 0;
  QString Hint0_, Hint1_, Hint2_;
  int dotSize_ = 2;

  int FailedCount_ = 0;
  int Hint0Count_ = 0;
  int Hint1Count_ = 0;
  int Hint2Count_ = 0;
  int SolvedCount_ = 0;
  int FailedCountBeforeSolve_ = 0;
  int Hint0CountBeforeSolve_ = 0;
  int Hint1CountBeforeSolve_ = 0;
  int Hint2CountBeforeSolve_ = 0;
  int TakebackBeforeSolve_ = 0;
  int StudyBeforeSolve_ = 0;

  // Drawing resources.
  QImage stones_[2];       // black, white; premultiplied alpha at the canvas ratio
  qreal stonesRatio_ = 0;  // the ratio the stones were made for
  QImage patternTile_;     // 8 x 8 cut from the colour strip
  QImage checkMark_;       // key colour made transparent

  // Canvas state.
  BackingCanvas canvas_;

  // Mouse state.
  QPoint pressPos_{-1, -1};
  bool pressed_ = false;
};

}  // namespace zendra
