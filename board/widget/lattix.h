// TLattix: the board control. It is the game model (LattixEngine) and draws it.
//
// Drawing goes to a backing image, the canvas, kept at the screen's device pixel ratio: every
// Draw operation paints into it at once and asks Qt to show just the rectangle it touched;
// paintEvent only copies the canvas. Logical pixels are the unit of every coordinate here, so
// positions are the same on every screen and a 2x screen simply gets twice the detail.
//
// The mouse follows the board's play states: a click plays, numbers, marks dead or arranges a
// stone, or tells the owner through OnLegalMove, OnClickAtOpponentsTurn and OnLastMoveClick; the
// owner's own mouse callbacks (OnMouseDown, OnMouseUp, OnMouseMove) run after (for moves:
// before) the board's handling.
#pragma once

#include <QBrush>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "board/engine/lattix_engine.h"
#include "board/widget/backing_canvas.h"
#include "board/widget/board_look.h"
#include "board/widget/board_zoom.h"
#include "board/widget/piece_art.h"

class QPainter;

namespace zendra {

// Decodes Chinese text in GB encoding (or Big5 when big5 is set) for display; bytes that do not
// decode become replacement characters, plain ASCII passes through.
QString DecodeChinese(const std::string& bytes, bool big5 = false);

class TLattix;

// The owner's mouse callbacks, with the board as Sender and the pixel in logical coordinates.
using TMouseEvent = std::function<void(TLattix* Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent =
    std::function<void(TLattix* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TNotifyEvent = std::function<void(TLattix* Sender)>;

// The point under a pixel: column p and row q (0 for none) and whether both are on the board.
struct GridHit {
  int p = 0;
  int q = 0;
  bool onBoard = false;
};

class TLattix : public QWidget, public LattixEngine, private LattixView {
  Q_OBJECT

 public:
  explicit TLattix(QWidget* parent = nullptr);
  ~TLattix() override;

  // ---- Display properties ---------------------------------------------------------------------

  // Stone radius R in pixels (default 6). A changed value of 1 or more recomputes the geometry
  // and repaints; smaller values are ignored.
  int16_t Radius() const { return Radius_; }
  void SetRadius(int16_t v);
  // Pixel size of the board face with its coordinate band.
  int16_t BoardWidth() const { return BoardWidth_; }
  int16_t BoardHeight() const { return BoardHeight_; }
  // Width of the coordinate band right of and below the grid (default 20); labels show only
  // above 12. The board size follows at once; repaints.
  int16_t Coordinate() const { return Coordinate_; }
  void SetCoordinate(int16_t v);
  // True: columns "ABCDEFGHJKLMNOPQRSTUVWXY" and rows counted up from the bottom; False:
  // "ABCDEFGHJKMNOPQRSTUVWXYZ" and rows counted down from the top. Repaints.
  bool sgfCoordinate() const { return sgfCoordinate_; }
  void SetsgfCoordinate(bool v);
  // Face colour when not textured (default 0x006699). 0, 0xFFFFFF and the current value are
  // ignored; otherwise repaints.
  uint32_t BoardColor() const { return look_.boardColor; }
  void SetBoardColor(uint32_t v);
  // Colour scheme 0..6 (default 1 = the pattern brush). Out-of-range and unchanged values are
  // ignored; crossing between {0, 1} and {2..6} rebuilds the stones; repaints.
  int16_t BoardColorNum() const { return static_cast<int16_t>(look_.colorNum); }
  void SetBoardColorNum(int16_t v);
  // Stones from pictures (True, default) or flat ellipses. Repaints.
  bool Dim3() const { return look_.dim3; }
  void SetDim3(bool v);
  // Board face from the wood texture (default False). Repaints.
  bool Wood() const { return look_.wood; }
  void SetWood(bool v);
  // The ink painting behind the board and the panel (default True). Repaints.
  bool Painting() const { return look_.painting; }
  void SetPainting(bool v);
  // Reduced-colour mode. Turning it on while BoardColorNum is 1 also switches to flat stones,
  // scheme 6, the button-face colour and no painting.
  bool Pal256() const { return look_.pal256; }
  void SetPal256(bool v);
  // The turn circles and arrow right of the board (default True). Repaints.
  bool DisplayTurn() const { return DisplayTurn_; }
  void SetDisplayTurn(bool v);
  // Whether the information panel is drawn and its width reserved (default 1); clamped to 0..1.
  int16_t DisplayInfo() const { return DisplayInfo_; }
  void SetDisplayInfo(int16_t v);
  // Width reserved for the panel when DisplayInfo is 1 (default 125). Repaints.
  int16_t DisplayWidth() const { return DisplayWidth_; }
  void SetDisplayWidth(int16_t v);
  // No board at all: a small placeholder square instead (plain field).
  bool NoBoard() const { return NoBoard_; }
  void SetNoBoard(bool v) { NoBoard_ = v; }
  // Show a pass as a stone on the pass point; takes effect at the next RecalcGeometry, which
  // widens the coordinate band to 2R + 4 for it (plain field).
  bool DrawLastPass() const { return DrawLastPass_; }
  void SetDrawLastPass(bool v) { DrawLastPass_ = v; }
  // The control's background colour (default the button face, 0xFF00000F). Repaints.
  uint32_t Color() const { return Color_; }
  void SetColor(uint32_t v);

  // ---- Geometry -------------------------------------------------------------------------------

  // "Zoom to the problem": a Go board shows only `region` (columns, rows 1-based) at the largest
  // radius that fits the control; the default region, the whole board, shows it as always.
  // Clicks, marks, hints, the last-move square and the turn indicator work alike in both views;
  // points outside the region are neither drawn nor hit. Other game kinds always show the
  // whole board. Repaints.
  void SetViewRegion(const BoardRegion& region);
  const BoardRegion& ViewRegion() const { return view_; }
  // True while a Go board shows less than the whole board.
  bool Zoomed() const;

  // Pixel centre of column p and row q (1-based for Go and five-in-a-row, 0-based otherwise).
  int PointX(int p) const;
  int PointY(int q) const;
  // Distance between adjacent lines, 2R + 3.
  int Spacing() const { return 2 * Radius_ + 3; }
  // Half-size of star points and of the last-move square.
  int DotSize() const { return dotSize_; }
  // The largest radius whose board fits width x height, at least 1 (12 for the chess kinds).
  int RadiusForSize(int width, int height) const;
  // The room right of the board that a resize leaves out when it fits the board: the
  // information column when it shows, else the turn circles' column when they show.
  int SideColumnWidth() const;
  static constexpr int kTurnColumnWidth = 15 + 14 + 3;
  // Recomputes dot size, the pass band, the board size and the stone pictures; repaints when
  // invalidate is set.
  void RecalcGeometry(bool invalidate);
  // Rebuilds the two stone pictures for the current radius and colour scheme.
  void LoadStoneImages();
  // Reads the face tiles and the background painting (done before the first drawing).
  void LoadArt();
  // Column or row under a pixel: 0 unless the pixel is within R of that line (both axes count
  // independently); 20 and 21 can come back for the band right of or below the grid.
  int ColumnAt(int x) const;
  int RowAt(int y) const;
  // Both indices and whether they name a point on the board (never the pass point).
  GridHit PointAt(int x, int y) const;

  // ---- Drawing --------------------------------------------------------------------------------

  // Full repaint of the canvas now: DrawBoard, then DrawPoints.
  void Paint();
  // Background, face, grid, star points, coordinates, turn circles and arrow (no stones).
  void DrawBoard() override;
  // The coordinate labels in the band (only when Coordinate is above 12).
  void DrawCoordinates();
  // Every point, the pass cell, the last-move mark, the arrow and the information panel.
  void DrawPoints() override;
  // (p, q) as an empty crossing with its star point and mark dot; nothing off the board.
  void DrawEmptyPoint(int p, int q) override;
  // The stone on (p, q) with its number, dead cross or mark dot; the pass stone on (20, 20)
  // when DrawLastPass is on.
  void DrawStone(int p, int q) override;
  // The red last-move square on the stone at (p, q).
  void DrawLastMoveMark(int p, int q) override;
  // The red arrow at the circle of the side to move (only with DisplayTurn).
  void DrawTurnArrow() override;
  // Schedules a full repaint.
  void Invalidate() override;
  // Redraws one line of the information panel (the corner mark even without the panel).
  void DrawInfoLine(InfoLine line) override;
  // Clears rect to the background: the painting when Painting is on, else Color.
  void FillInfoRect(const QRect& rect);

  // The canvas, brought up to date first when a full repaint is pending. Its device pixel
  // ratio is the widget's, or the one forced by SetCanvasPixelRatio.
  const QImage& Canvas();
  // Renders at a fixed device pixel ratio (0 follows the screen again); repaints.
  void SetCanvasPixelRatio(qreal ratio);

  // ---- Mouse ----------------------------------------------------------------------------------

  // p * 256 + q of the point under the pointer, -1 for none.
  int16_t HintPos() const { return HintPos_; }
  // Coordinate text of that point ("D16"), empty for none.
  const QString& HintStr() const { return HintStr_; }

  // The owner's mouse callbacks (optional).
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  // Raised after a resize has been handled (optional).
  TNotifyEvent OnResize;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  class PaintScope;

  void GeometryChanged() override;
  // Five-in-a-row's refusal messages, in a message box (lattix_kinds.cpp).
  void ShowMessage(const std::string& text) override;
  // Repaints after a look property changed, with new stone pictures when it asks for them.
  void ShowLookChange(LookChange change);

  // Canvas plumbing.
  // Brings the art, the stones and the canvas up to the widget's size and ratio.
  void EnsureCanvas();
  void Touch(const QRect& rect);
  QBrush FaceBrush() const;
  QBrush BackgroundBrush() const;
  bool IsGoLike() const { return GameKind() == kGo || GameKind() == kFiveInARow; }
  // Lines shown across and down, and the first of each (the whole board unless Zoomed).
  int ViewColumns() const { return Zoomed() ? view_.Columns() : N(); }
  int ViewRows() const { return Zoomed() ? view_.Rows() : M(); }
  int FirstColumn() const { return Zoomed() ? view_.left : 1; }
  int FirstRow() const { return Zoomed() ? view_.top : 1; }
  bool InView(int p, int q) const { return !Zoomed() || view_.Contains(p, q); }
  // The chess kinds (lattix_kinds.cpp): where their points lie, and one point redrawn with its
  // piece over the board pattern.
  KindGrid KindGridNow() const;
  void PaintKindPoint(int p, int q);
  bool IsStarPoint(int p, int q) const;
  QRect CellRect(int p, int q) const;
  // Drawing on the open painter (painter_).
  void PaintBoard();
  void PaintCoordinates();
  void PaintPoints();
  void PaintCellBackground(int p, int q, bool wide);
  void PaintCrossing(int p, int q);
  // A grid line from (x1, y1) to (x2, y2), horizontal or vertical, one pixel wide, its ends
  // included; snapped to whole device pixels at a fractional pixel ratio.
  void PaintGridLine(int x1, int y1, int x2, int y2);
  void PaintStarPoint(int x, int y);
  void PaintMarkDot(int x, int y, uint32_t colour);
  void PaintEmptyPoint(int p, int q);
  void PaintStone(int p, int q);
  void PaintLastMoveMark(int p, int q);
  void PaintTurnArrow();
  void PaintInfoLine(InfoLine line);
  void PaintClock(int side);
  void PaintText(int x, int y, const QString& text, int pointSize, QColor colour,
                 bool bold = false);
  void PaintCornerMark();
  int InfoFontSize() const;
  QString PanelText(const std::string& gbText);

  // Mouse plumbing.
  void ClearHover();
  void LeftUp(int x, int y);
  void RightUp(int x, int y);
  void Hover(int x, int y);

  // Display properties.
  int16_t Radius_ = 6;
  int16_t BoardWidth_ = 0;
  int16_t BoardHeight_ = 0;
  int16_t Coordinate_ = 20;
  bool sgfCoordinate_ = true;
  BoardLook look_;  // BoardColor, BoardColorNum, Dim3, Wood, Painting, Pal256
  bool DisplayTurn_ = true;
  int16_t DisplayInfo_ = 1;
  int16_t DisplayWidth_ = 125;
  bool NoBoard_ = false;
  bool DrawLastPass_ = false;
  uint32_t Color_ = kButtonFace;
  int dotSize_ = 3;
  int halfRadius_ = 3;
  BoardRegion view_;  // the whole 19 x 19 board unless zoomed to a problem
  int16_t unzoomedRadius_ = 6;  // the radius and size before the zoom, restored after it
  QSize unzoomedSize_;

  // Drawing resources.
  QImage stones_[2];        // black, white; premultiplied alpha at the canvas ratio
  qreal stonesRatio_ = 0;   // the ratio the stones were made for; 0: to be made when next drawn
  bool artLoaded_ = false;  // the tiles and the painting below are read when first drawn
  QImage patternTile_;      // 8 x 8 cut from the colour strip
  QImage woodTile_;         // 256 x 256: 2 x 2 wood textures
  QImage painting_;         // the ink painting, whole
  PieceCache pieces_;       // the chess kinds' pieces at the current radius

  // Canvas state.
  BackingCanvas canvas_;
  bool inPaintEvent_ = false;
  QPainter* painter_ = nullptr;
  QRegion touched_;

  // Mouse state.
  int pressP_ = 255;
  int pressQ_ = 255;
  int16_t HintPos_ = -1;
  QString HintStr_;
};

}  // namespace zendra
