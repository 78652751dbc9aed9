// "Zoom to the problem": the part of a Go board a problem occupies, which the board control can
// show alone at a larger radius (TLattix::SetViewRegion).
#pragma once

#include <string_view>

namespace zendra {

// Columns left..right and rows top..bottom of the board, 1-based, inclusive.
struct BoardRegion {
  int left = 1;
  int top = 1;
  int right = 19;
  int bottom = 19;

  int Columns() const { return right - left + 1; }
  int Rows() const { return bottom - top + 1; }
  bool Contains(int p, int q) const { return p >= left && p <= right && q >= top && q <= bottom; }
  bool operator==(const BoardRegion&) const = default;
};

// The margin of empty lines kept around a problem's points.
inline constexpr int kZoomMargin = 1;
// A side whose margin ends this close to the board's edge (or closer) is taken to the edge, so
// the edge that shapes a life-and-death problem is always seen.
inline constexpr int kZoomEdgeSnap = 3;
// The fewest lines shown each way, so a problem of a few stones is not blown up to a few lines.
inline constexpr int kZoomLeastLines = 7;

// The region of the points in `points` (two capital letters a point, "A" = 1; points off a
// `size` x `size` board such as the pass "TT" are skipped) with the margin, the edges kept and
// the least size. The whole board when no point is on it.
BoardRegion ProblemRegion(std::string_view points, int size = 19);

}  // namespace zendra
