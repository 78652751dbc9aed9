// The drawing hooks the board model calls when it changes something with Draw on.
//
// The model never depends on the view: every hook does nothing by default, so the engine can be
// built, tested and fuzzed with no window system. The board widget overrides them and paints into
// its canvas; tests override them to record the redraw protocol.
#pragma once

#include <string>

namespace zendra {

// Lines of the information column beside the board that the model asks to redraw when a value
// shown there changes.
enum class InfoLine {
  Event,        // event or stake
  Handicap,
  Komi,
  BlackPlayer,
  WhitePlayer,
  BlackClock,
  WhiteClock,
  Result,
  Coordinate,   // the hovered point
  CornerMark,
};

class LattixView {
 public:
  virtual ~LattixView() = default;

  // Draws the stone standing on (p, q) (with its number, dead cross and mark dot); for the pass
  // point a stone of the last mover's colour in the pass cell.
  virtual void DrawStone(int /*p*/, int /*q*/) {}
  // Draws (p, q) as an empty crossing, taking away whatever stood there.
  virtual void DrawEmptyPoint(int /*p*/, int /*q*/) {}
  // Puts the last-move square on (p, q).
  virtual void DrawLastMoveMark(int /*p*/, int /*q*/) {}
  // Redraws the side-to-move circles and arrow.
  virtual void DrawTurnArrow() {}
  // Redraws every point, the pass cell, the last-move mark and the information column.
  virtual void DrawPoints() {}
  // Redraws the board face (background, grid, coordinates) without the stones.
  virtual void DrawBoard() {}
  // Asks for a full repaint at the next opportunity.
  virtual void Invalidate() {}
  // Redraws one line of the information column.
  virtual void DrawInfoLine(InfoLine /*line*/) {}
  // The number of lines changed (another game kind): the view recomputes its fitting geometry.
  virtual void GeometryChanged() {}
  // Shows a refusal to the user in a message box and waits for it to be closed (five-in-a-row
  // with `Interactive` on). The text is English, or Chinese in GB bytes.
  virtual void ShowMessage(const std::string& /*text*/) {}
};

}  // namespace zendra
