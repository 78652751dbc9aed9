// Black's forbidden points in five-in-a-row.
//
// The terms are those of the International Rules of Renju (Renju International Federation,
// 1996, corrected 1998), "Terms and definitions" and the rules on black's forbidden moves:
//
//   five           an unbroken row of five stones; for black exactly five;
//   overline       an unbroken row of six or more stones;
//   four           a row of four stones to which one more stone makes a five, whether or not
//                  the row is blocked at its other end (a blocked four is still a four);
//   straight four  an unbroken four that can be made a five in two ways;
//   three          a row of three stones to which one more stone, not making a five at the
//                  same time, makes a straight four; for black that stone must itself be a
//                  legal move, so whether the three is real depends on whether the point that
//                  makes the straight four is forbidden in its turn (decided recursively);
//   double four    one stone that makes two or more fours at once (two fours on one line,
//                  as in X.XXX.X, count as two);
//   double three   one stone that makes two or more threes at once.
//
// Black may not play an overline, a double four or a double three, unless the same stone
// makes a five. White has no forbidden points.
#include "board/engine/five_in_row.h"

#include <algorithm>

namespace zendra::five {

namespace {

// The four line directions as (column, row) steps: along a row, down a column, and the two
// diagonals.
constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

// The recursion on the points that would make a straight four ends by itself (each level
// puts one more black stone down), but a crafted position could make it branch widely. Past
// this depth a point that would make a straight four is taken as legal; real games never
// need more than a few levels.
constexpr int kMaxDepth = 6;

}  // namespace

Position::Position(int columns, int rows)
    : columns_(std::clamp(columns, 0, kMaxSide)), rows_(std::clamp(rows, 0, kMaxSide)) {
  cells_.fill(kWall);
  for (int p = 1; p <= columns_; ++p)
    for (int q = 1; q <= rows_; ++q) cells_[Index(p, q)] = kEmpty;
}

void Position::Set(int p, int q, int8_t stone) {
  if (p < 1 || p > columns_ || q < 1 || q > rows_) return;
  cells_[Index(p, q)] = stone > 0 ? kBlack : (stone < 0 ? kWhite : kEmpty);
}

int8_t Position::At(int p, int q) const {
  if (p < 1 || p > columns_ || q < 1 || q > rows_) return kWall;
  return cells_[Index(p, q)];
}

bool Position::MakesFive(int p, int q, int8_t stone, bool exactly) const {
  if (!OnBoard(p, q)) return false;
  for (const auto& dir : kDirections) {
    int length = 1;
    for (int sign : {-1, 1}) {
      int x = p + sign * dir[0], y = q + sign * dir[1];
      while (At(x, y) == stone) {
        ++length;
        x += sign * dir[0];
        y += sign * dir[1];
      }
    }
    if (exactly ? length == 5 : length >= 5) return true;
  }
  return false;
}

Position::Run Position::BlackRun(int i, int d) const {
  Run run{1, 0, 0};
  while (cells_[i + (run.low - 1) * d] == kBlack) --run.low;
  while (cells_[i + (run.high + 1) * d] == kBlack) ++run.high;
  run.length = run.high - run.low + 1;
  return run;
}

// The fours black's stone on i (already standing there) makes along d: the empty points within
// four steps where one more stone makes exactly five together with i. At most two such points
// exist on a line, one on each side of i. Two points five steps apart close the two ends of
// one straight four; any other two are two fours on the same line.
int Position::FoursAlong(int i, int d) {
  int completions[2];
  int count = 0;
  for (int k = -4; k <= 4 && count < 2; ++k) {
    const int e = i + k * d;
    if (k == 0 || cells_[e] != kEmpty) continue;
    cells_[e] = kBlack;
    const Run run = BlackRun(i, d);
    cells_[e] = kEmpty;
    // The row through i must now reach e and be exactly five long.
    if (run.length == 5 && run.low <= k && k <= run.high) completions[count++] = k;
  }
  if (count == 2 && completions[1] - completions[0] == 5) return 1;
  return count;
}

// Whether black's stone on i (already standing there) makes a three along d: some empty point
// within three steps turns the row through i into a straight four (four in a row, both ends
// empty, and each end making exactly five), and black may play that point without making a
// five there.
bool Position::ThreeAlong(int i, int d, int depth) {
  for (int k = -3; k <= 3; ++k) {
    const int e = i + k * d;
    if (k == 0 || cells_[e] != kEmpty) continue;
    cells_[e] = kBlack;
    const Run run = BlackRun(i, d);
    bool straight = false;
    if (run.length == 4 && run.low <= k && k <= run.high) {
      const int lowEnd = i + (run.low - 1) * d, highEnd = i + (run.high + 1) * d;
      // Each end must be empty and make five, not six: the point beyond it holds no black.
      straight = cells_[lowEnd] == kEmpty && cells_[highEnd] == kEmpty &&
                 cells_[lowEnd - d] != kBlack && cells_[highEnd + d] != kBlack;
    }
    cells_[e] = kEmpty;
    if (!straight) continue;
    if (depth >= kMaxDepth) return true;
    const Verdict there = Judge(e, depth + 1);
    if (there == Verdict::kLegal) return true;
  }
  return false;
}

Position::Verdict Position::Judge(int i, int depth) {
  cells_[i] = kBlack;
  Verdict verdict = Verdict::kLegal;
  bool overline = false;
  int ds[4];
  for (int k = 0; k < 4; ++k) {
    ds[k] = kDirections[k][0] * kStride + kDirections[k][1];
    const int length = BlackRun(i, ds[k]).length;
    if (length == 5) verdict = Verdict::kFive;
    if (length >= 6) overline = true;
  }
  if (verdict != Verdict::kFive) {
    if (overline) {
      verdict = Verdict::kOverline;
    } else {
      int fours = 0;
      bool hasFour[4] = {false, false, false, false};
      for (int k = 0; k < 4; ++k) {
        const int n = FoursAlong(i, ds[k]);
        hasFour[k] = n > 0;
        fours += n;
      }
      if (fours >= 2) {
        verdict = Verdict::kDoubleFour;
      } else {
        int threes = 0;
        for (int k = 0; k < 4 && threes < 2; ++k)
          if (!hasFour[k] && ThreeAlong(i, ds[k], depth)) ++threes;
        if (threes >= 2) verdict = Verdict::kDoubleThree;
      }
    }
  }
  cells_[i] = kEmpty;
  return verdict;
}

Forbidden Position::BlackForbidden(int p, int q) {
  if (At(p, q) != kEmpty) return Forbidden::kNone;
  switch (Judge(Index(p, q), 0)) {
    case Verdict::kOverline:
      return Forbidden::kOverline;
    case Verdict::kDoubleFour:
      return Forbidden::kDoubleFour;
    case Verdict::kDoubleThree:
      return Forbidden::kDoubleThree;
    case Verdict::kFive:
    case Verdict::kLegal:
      break;
  }
  return Forbidden::kNone;
}

Position::Shape Position::BlackShape(int p, int q) {
  Shape shape;
  if (At(p, q) != kEmpty) return shape;
  const int i = Index(p, q);
  cells_[i] = kBlack;
  for (const auto& dir : kDirections) {
    const int d = dir[0] * kStride + dir[1];
    const int length = BlackRun(i, d).length;
    shape.five = shape.five || length == 5;
    shape.overline = shape.overline || length >= 6;
    const int fours = FoursAlong(i, d);
    shape.fours += fours;
    if (fours == 0 && ThreeAlong(i, d, 0)) ++shape.threes;
  }
  cells_[i] = kEmpty;
  return shape;
}

}  // namespace zendra::five
