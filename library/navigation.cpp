#include "library/navigation.h"

#include <algorithm>

namespace zendra {
namespace {

// The grid takes a new top row only when it differs and lies within 1..RowCount.
std::optional<int> SetTopRow(const GridState& grid, int row) {
  if (row == grid.TopRow || row < 1 || row > grid.RowCount) return std::nullopt;
  return row;
}

}  // namespace

int RowCountFor(int count, int cols) {
  if (cols <= 0 || count <= 0) return 0;
  return (count + cols - 1) / cols;
}

std::optional<int> FirstPage(const GridState& grid) { return SetTopRow(grid, 1); }

std::optional<int> PriorPage(const GridState& grid) {
  const int row = grid.TopRow - grid.Rows;
  return SetTopRow(grid, row > 0 ? row : 1);
}

std::optional<int> NextPage(const GridState& grid) {
  if (grid.TopRow + grid.Rows > grid.RowCount) return std::nullopt;
  return SetTopRow(grid, grid.TopRow + grid.Rows);
}

std::optional<int> LastPage(const GridState& grid) {
  if (grid.Count <= 0) return std::nullopt;
  return SetTopRow(grid, grid.RowCount);
}

std::optional<int> FirstProblem(const GridState& grid) {
  if (grid.Selected > 0 && grid.Count > 0) return 0;
  return std::nullopt;
}

std::optional<int> PriorProblem(const GridState& grid) {
  if (grid.Selected > 0 && grid.Selected - 1 < grid.Count) return grid.Selected - 1;
  return std::nullopt;
}

std::optional<int> NextProblem(const GridState& grid) {
  if (grid.Selected + 1 < grid.Count) return std::max(grid.Selected + 1, 0);
  return std::nullopt;
}

std::optional<int> LastProblem(const GridState& grid) {
  if (grid.Count > 0 && grid.Selected < grid.Count - 1) return grid.Count - 1;
  return std::nullopt;
}

ScrollBarState ScrollBarFor(const GridState& grid) {
  ScrollBarState bar;
  bar.Min = 1;
  bar.Max = std::max(grid.RowCount, 1);
  bar.Position = grid.TopRow;
  bar.LargeChange = grid.Rows;
  return bar;
}

std::optional<int> TopRowFromScrollBar(const GridState& grid, int position) {
  return SetTopRow(grid, position);
}

std::optional<int> TopRowAfterLoad(const GridState& grid, int wanted) {
  if (wanted > 0 && grid.RowCount >= wanted) return SetTopRow(grid, wanted);
  return std::nullopt;
}

}  // namespace zendra
