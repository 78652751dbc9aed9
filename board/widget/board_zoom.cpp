#include "board/widget/board_zoom.h"

#include <algorithm>

namespace zendra {
namespace {

// One axis: [low, high] widened by the margin, snapped to the edges, at least the least size.
void Fit(int& low, int& high, int size) {
  low = std::max(1, low - kZoomMargin);
  high = std::min(size, high + kZoomMargin);
  if (low - 1 <= kZoomEdgeSnap) low = 1;
  if (size - high <= kZoomEdgeSnap) high = size;
  const int least = std::min(kZoomLeastLines, size);
  while (high - low + 1 < least) {
    // Grow away from an edge the region touches, else on both sides in turn.
    if (low > 1 && (high == size || (high - low) % 2 == 0)) {
      --low;
    } else {
      ++high;
    }
  }
}

}  // namespace

BoardRegion ProblemRegion(std::string_view points, int size) {
  BoardRegion r{size + 1, size + 1, 0, 0};
  for (size_t i = 0; i + 1 < points.size(); i += 2) {
    const int p = points[i] - 'A' + 1;
    const int q = points[i + 1] - 'A' + 1;
    if (p < 1 || p > size || q < 1 || q > size) continue;
    r.left = std::min(r.left, p);
    r.right = std::max(r.right, p);
    r.top = std::min(r.top, q);
    r.bottom = std::max(r.bottom, q);
  }
  if (r.right == 0) return BoardRegion{1, 1, size, size};
  Fit(r.left, r.right, size);
  Fit(r.top, r.bottom, size);
  return r;
}

}  // namespace zendra
