// Moving through the open collection: by pages of the index grid and by problems.
//
// Each command is a pure function of the grid's state. A page command returns the top row to
// set, a problem command the entry to select and open; std::nullopt means nothing happens.
// Setting `TopRow` to its current value or beyond `RowCount` does nothing, so such results are
// std::nullopt too.
#pragma once

#include <optional>

namespace zendra {

// What the grid shows: `Count` entries in `Cols` cells across, `Rows` rows shown, `RowCount`
// rows in all, `TopRow` the 1-based row at the top, `Selected` the 0-based selected entry or -1.
struct GridState {
  int Count = 0;
  int Cols = 1;
  int Rows = 1;
  int RowCount = 0;
  int TopRow = 1;
  int Selected = -1;
};

// The rows needed for `count` entries in `cols` cells across (0 when `cols` is not positive).
int RowCountFor(int count, int cols);

std::optional<int> FirstPage(const GridState& grid);
std::optional<int> PriorPage(const GridState& grid);
std::optional<int> NextPage(const GridState& grid);
std::optional<int> LastPage(const GridState& grid);

std::optional<int> FirstProblem(const GridState& grid);
std::optional<int> PriorProblem(const GridState& grid);
std::optional<int> NextProblem(const GridState& grid);
std::optional<int> LastProblem(const GridState& grid);

// The vertical scroll bar beside the grid, as set after the grid's entries change.
struct ScrollBarState {
  int Min = 1;
  int Max = 1;
  int Position = 1;
  int LargeChange = 1;
};
ScrollBarState ScrollBarFor(const GridState& grid);
// The top row to set when the scroll bar moved to `position`; nothing when it already is.
std::optional<int> TopRowFromScrollBar(const GridState& grid, int position);

// The top row to set after a collection load that wanted top row `wanted`: only when it is
// greater than 0 and the grid has at least that many rows (the load left it on row 1).
std::optional<int> TopRowAfterLoad(const GridState& grid, int wanted);

}  // namespace zendra
