// Five-in-a-row: rows of stones on a position, and black's forbidden points.
//
// The board's five-in-a-row rules (first move on the centre, the opening exchange, who wins)
// live in the engine; this file holds the part that only looks at stones: how long a row a
// stone makes, and whether black's stone on a point is forbidden (overline, double four,
// double three). It works on its own copy of the position, so the engine's cells are never
// touched while a point is analysed.
#pragma once

#include <array>
#include <cstdint>

namespace zendra::five {

// What a cell of the analysed position holds.
inline constexpr int8_t kEmpty = 0;
inline constexpr int8_t kBlack = 1;
inline constexpr int8_t kWhite = -1;
inline constexpr int8_t kWall = 2;  // outside the playing area

// Longest row a game can use: the grid is 21 x 21 with a one-cell border.
inline constexpr int kMaxSide = 19;

// Why black may not play a point.
enum class Forbidden : uint8_t {
  kNone,
  kOverline,     // a row of six or more and no five
  kDoubleFour,   // two or more fours and no five
  kDoubleThree,  // two or more threes and no five
};

// A position of the playing area, columns 1..N and rows 1..M (at most 19 each), as the
// analysis sees it. Points outside the area read as walls.
class Position {
 public:
  Position(int columns, int rows);

  // Puts kBlack, kWhite or kEmpty on (p, q); ignored outside the playing area.
  void Set(int p, int q, int8_t stone);
  // kBlack, kWhite, kEmpty, or kWall outside the playing area.
  int8_t At(int p, int q) const;
  bool OnBoard(int p, int q) const { return At(p, q) != kWall; }

  // Whether `stone` on (p, q), counted as standing there whatever the cell holds, completes
  // an unbroken row of five: exactly five in some direction when `exactly` is set (black under
  // the forbidden-point rules), five or more otherwise.
  bool MakesFive(int p, int q, int8_t stone, bool exactly) const;

  // Whether black's stone on the empty point (p, q) is forbidden, and why. A point where the
  // stone makes exactly five is never forbidden. Not for points off the board or occupied
  // (answers kNone).
  Forbidden BlackForbidden(int p, int q);

  // The counts behind the verdict, for black's stone on the empty point (p, q): fours and
  // threes it makes (each direction holds at most one three; a direction with a four holds no
  // three). For tests and diagnostics.
  struct Shape {
    bool five = false;      // exactly five in some direction
    bool overline = false;  // six or more in some direction
    int fours = 0;
    int threes = 0;
  };
  Shape BlackShape(int p, int q);

 private:
  // The cells, with walls of kPad cells around the grid so that no scan (at most six steps
  // from a point of the area) leaves the array.
  static constexpr int kPad = 6;
  static constexpr int kStride = kMaxSide + 2 + 2 * kPad;
  static int Index(int p, int q) { return (p + kPad) * kStride + (q + kPad); }

  // Length of the unbroken row of black stones through index i along step d, and its two
  // ends as offsets (in steps) from i.
  struct Run {
    int length;
    int low;   // offset of the first stone, <= 0
    int high;  // offset of the last stone, >= 0
  };
  Run BlackRun(int i, int d) const;
  int FoursAlong(int i, int d);
  bool ThreeAlong(int i, int d, int depth);
  // Black's stone on the empty index i: a five, legal, or forbidden and why. depth counts the
  // points that would make a straight four, put down on the way to this one.
  enum class Verdict : uint8_t { kLegal, kFive, kOverline, kDoubleFour, kDoubleThree };
  Verdict Judge(int i, int depth);

  std::array<int8_t, kStride * kStride> cells_;
  int columns_;
  int rows_;
};

}  // namespace zendra::five
