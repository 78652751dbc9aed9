// Helpers for engine tests: positions as ASCII diagrams and a view that records redraws.
#pragma once

#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"

namespace zendra::test {

// The stones of a diagram of the top-left corner: one line per row from row 1 down, 'X' black,
// 'O' white, '.' empty, '*' an empty point singled out; spaces are ignored.
struct DiagramStones {
  std::string black, white;  // point lists
  int p = 0, q = 0;          // the '*' point; 0, 0 without one
};
DiagramStones ReadDiagram(const std::string& diagram);

// Sets the board up from a diagram (as above). The stones become the set-up strings and a new
// game starts with `first` to move.
void SetUpDiagram(LattixEngine& board, const std::string& diagram, Colour first = kBlack);

// The top-left `columns` x `rows` corner of the position, in the same form (no spaces), one
// line per row, each ended by a newline. Dead stones show as 'x' and 'o'.
std::string Diagram(const LattixEngine& board, int columns = 19, int rows = 19);

// Plays a list of moves given as letter pairs ("CDDC..."); fails the test on a refusal.
void PlayAll(LattixEngine& board, const std::string& moves, bool draw = false);

// Records every view call as text: "stone C3", "empty C3", "mark C3", "arrow", "points",
// "board", "invalidate", "geometry", "info N". Points are written with Go's letters.
class RecordingView : public LattixView {
 public:
  std::vector<std::string> calls;

  void DrawStone(int p, int q) override { calls.push_back("stone " + PointLetters(p, q)); }
  void DrawEmptyPoint(int p, int q) override { calls.push_back("empty " + PointLetters(p, q)); }
  void DrawLastMoveMark(int p, int q) override { calls.push_back("mark " + PointLetters(p, q)); }
  void DrawTurnArrow() override { calls.push_back("arrow"); }
  void DrawPoints() override { calls.push_back("points"); }
  void DrawBoard() override { calls.push_back("board"); }
  void Invalidate() override { calls.push_back("invalidate"); }
  void GeometryChanged() override { calls.push_back("geometry"); }
  void DrawInfoLine(InfoLine line) override {
    calls.push_back("info " + std::to_string(static_cast<int>(line)));
  }
};

}  // namespace zendra::test
