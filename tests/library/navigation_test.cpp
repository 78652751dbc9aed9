#include "library/navigation.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zendra {
namespace {

GridState Grid(int count, int cols, int rows, int top, int selected = -1) {
  return GridState{count, cols, rows, RowCountFor(count, cols), top, selected};
}

TEST(NavigationTest, RowCount) {
  EXPECT_EQ(RowCountFor(7, 3), 3);
  EXPECT_EQ(RowCountFor(6, 3), 2);
  EXPECT_EQ(RowCountFor(0, 3), 0);
  EXPECT_EQ(RowCountFor(5, 0), 0);
}

TEST(NavigationTest, Pages) {
  using Command = std::optional<int> (*)(const GridState&);
  struct Case {
    const char* what;
    Command command;
    GridState grid;
    std::optional<int> top_row;
  };
  const std::vector<Case> cases = {
      {"next from 1", NextPage, Grid(7, 3, 2, 1), 3},
      {"next past the end", NextPage, Grid(7, 3, 2, 3), std::nullopt},
      {"next onto the last row", NextPage, Grid(9, 3, 1, 2), 3},
      {"prior back to 1", PriorPage, Grid(7, 3, 2, 3), 1},
      {"prior clamps at 1", PriorPage, Grid(30, 3, 4, 3), 1},
      {"prior on row 1", PriorPage, Grid(7, 3, 2, 1), std::nullopt},
      {"prior a full page", PriorPage, Grid(30, 3, 4, 9), 5},
      {"first", FirstPage, Grid(7, 3, 2, 3), 1},
      {"first on row 1", FirstPage, Grid(7, 3, 2, 1), std::nullopt},
      {"last", LastPage, Grid(7, 3, 2, 1), 3},
      {"last already", LastPage, Grid(7, 3, 2, 3), std::nullopt},
      {"last when empty", LastPage, Grid(0, 3, 2, 1), std::nullopt},
      {"next when empty", NextPage, Grid(0, 3, 2, 1), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(c.command(c.grid), c.top_row) << c.what;
}

TEST(NavigationTest, Problems) {
  using Command = std::optional<int> (*)(const GridState&);
  struct Case {
    const char* what;
    Command command;
    int count;
    int selected;
    std::optional<int> entry;
  };
  const std::vector<Case> cases = {
      {"next without selection", NextProblem, 7, -1, 0},
      {"next", NextProblem, 7, 3, 4},
      {"next on the last", NextProblem, 7, 6, std::nullopt},
      {"next when empty", NextProblem, 0, -1, std::nullopt},
      {"prior", PriorProblem, 7, 3, 2},
      {"prior on the first", PriorProblem, 7, 0, std::nullopt},
      {"prior without selection", PriorProblem, 7, -1, std::nullopt},
      {"first", FirstProblem, 7, 5, 0},
      {"first on the first", FirstProblem, 7, 0, std::nullopt},
      {"first without selection", FirstProblem, 7, -1, std::nullopt},
      {"last", LastProblem, 7, 2, 6},
      {"last without selection", LastProblem, 7, -1, 6},
      {"last on the last", LastProblem, 7, 6, std::nullopt},
      {"last when empty", LastProblem, 0, -1, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.command(Grid(c.count, 3, 2, 1, c.selected)), c.entry) << c.what;
  }
}

TEST(NavigationTest, ScrollBarAndLoadTopRow) {
  const GridState grid = Grid(7, 3, 2, 1);
  const ScrollBarState bar = ScrollBarFor(grid);
  EXPECT_EQ(bar.Min, 1);
  EXPECT_EQ(bar.Max, 3);
  EXPECT_EQ(bar.Position, 1);
  EXPECT_EQ(bar.LargeChange, 2);
  EXPECT_EQ(ScrollBarFor(Grid(0, 3, 2, 1)).Max, 1) << "at least 1";

  EXPECT_EQ(TopRowFromScrollBar(grid, 2), 2);
  EXPECT_EQ(TopRowFromScrollBar(grid, 1), std::nullopt) << "the grid's own change";
  EXPECT_EQ(TopRowAfterLoad(grid, 3), 3);
  EXPECT_EQ(TopRowAfterLoad(grid, 4), std::nullopt) << "more than the rows stays on row 1";
  EXPECT_EQ(TopRowAfterLoad(grid, 0), std::nullopt);
}

}  // namespace
}  // namespace zendra
