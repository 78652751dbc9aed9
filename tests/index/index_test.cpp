// The thumbnail grid: its geometry, what each entry draws, paging and selection rules, and the
// events clicks and hovering raise (QTest on a shown grid, offscreen).
#include <gtest/gtest.h>

#include <QDir>
#include <QFont>
#include <QTest>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "index/go_index.h"

namespace zendra::test {
namespace {

bool IsRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool IsDark(QColor c) { return c.red() < 80 && c.green() < 80 && c.blue() < 80; }
bool IsLight(QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; }
bool IsBlue(QColor c) { return c.blue() > 150 && c.red() < 100 && c.green() < 100; }
bool IsGreen(QColor c) { return c.green() > 90 && c.red() < 60 && c.blue() < 60; }
// The default face: the dithered orange of the colour strip.
bool IsOrangeFace(QColor c) { return c.red() > 190 && c.green() > 135 && c.blue() < 60; }
// BoardColor 26265 (0x006699) as red, green, blue.
bool IsSelectedFace(QColor c) { return c == QColor(0x99, 0x66, 0x00); }

template <typename Test>
int CountPixels(const QImage& image, const QRect& rect, Test test) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (test(image.pixelColor(x, y))) ++n;
  return n;
}

// Entries as the problem list writes them: number, solved mark, result, black, white, initial
// moves, first player.
std::vector<std::string> Entries(int n) {
  std::vector<std::string> list;
  for (int k = 0; k < n; ++k) {
    char head[8];
    std::snprintf(head, sizeof head, "%04X0", 0x100 + k);
    list.push_back(std::string(head) + " 1 CCDC CDDD  B");
  }
  return list;
}

// A grid of 3 x 2 cells at R = 5 (497 x 329, as on the main window), shown, logging its events.
class IndexFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    grid = std::make_unique<TGoIndex>();
    grid->SetCanvasPixelRatio(1);
    grid->resize(497, 329);
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    grid->OnSelectedChanged = Logger("selected");
    grid->OnHotChanged = Logger("hot");
    grid->OnTopRowChanged = Logger("top");
    grid->OnGamesChanged = Logger("games");
  }

  TGoIndexEvent Logger(const std::string& name) {
    return [this, name](TGoIndex* sender, int nNew, int nOld, int kind) {
      EXPECT_EQ(sender, grid.get());
      log.push_back(name + " " + std::to_string(nNew) + " " + std::to_string(nOld) + " " +
                    std::to_string(kind));
    };
  }
  std::string Log() const {
    std::string all;
    for (const std::string& entry : log) all += (all.empty() ? "" : "; ") + entry;
    return all;
  }
  QColor Pixel(QPoint at) { return grid->Canvas().pixelColor(at); }
  // A face pixel between the lines, right of and below point (i, j) of cell (a, b).
  QColor Between(int a, int b, int i, int j) {
    return Pixel(grid->PointCentre(a, b, i, j) + QPoint(5, 5));
  }
  // A pixel inside the stone on (i, j), off the crossing lines and the last-move square.
  QColor OnStone(int a, int b, int i, int j) {
    return Pixel(grid->PointCentre(a, b, i, j) + QPoint(3, 2));
  }
  QPoint CellCentre(int a, int b) const { return grid->CellRect(a, b).center(); }

  std::unique_ptr<TGoIndex> grid;
  std::vector<std::string> log;
};

// ---- Geometry -----------------------------------------------------------------------------

TEST(IndexGeometry, WorkedNumbersAtRadiusFive) {
  TGoIndex grid;
  EXPECT_EQ(grid.Radius(), 5);
  EXPECT_EQ(grid.Margin(), 5);
  EXPECT_EQ(grid.DotSize(), 2);
  EXPECT_EQ(grid.BoardWidth(), 164);
  EXPECT_EQ(grid.BoardHeight(), 164);
  EXPECT_EQ(grid.PointCentre(1, 1, 1, 1), QPoint(10, 10));
  EXPECT_EQ(grid.PointCentre(1, 1, 4, 4), QPoint(43, 43));
  EXPECT_EQ(grid.NumberPos(1, 1), QPoint(132, 142));
  EXPECT_EQ(grid.CheckMarkPos(1, 1), QPoint(135, 39));
  EXPECT_EQ(grid.FaceRect(1, 1), QRect(QPoint(5, 5), QPoint(163, 163)));
  // Cell (2, 3) is shifted by whole cells.
  EXPECT_EQ(grid.PointCentre(2, 3, 2, 1), QPoint(2 * 164 + 21, 164 + 10));
  EXPECT_EQ(grid.CheckMarkPos(2, 3), QPoint(3 * 164 - 29, 164 + 39));
  // Defaults of the remaining properties.
  EXPECT_EQ(grid.BoardColor(), 26265u);
  EXPECT_EQ(grid.BoardColorNum(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.Selected(), -1);
  EXPECT_EQ(grid.Hot(), -1);
  EXPECT_TRUE(grid.Dim3());
  EXPECT_TRUE(grid.DrawLastMove());
  EXPECT_EQ(grid.LattixVersion(), "02");
}

TEST(IndexGeometry, DotSizeAndCellSizeFollowRadius) {
  const struct {
    int radius, dot, cell;
  } rows[] = {{1, 1, 2 + 3 * 14}, {2, 1, 4 + 5 * 14},   {3, 1, 6 + 7 * 14},
              {5, 2, 164},        {6, 3, 12 + 13 * 14}, {9, 3, 18 + 19 * 14}};
  for (const auto& row : rows) {
    TGoIndex grid;
    grid.SetRadius(row.radius);
    EXPECT_EQ(grid.DotSize(), row.dot) << "R = " << row.radius;
    EXPECT_EQ(grid.BoardWidth(), row.cell) << "R = " << row.radius;
    EXPECT_EQ(grid.BoardHeight(), row.cell) << "R = " << row.radius;
  }
  TGoIndex grid;
  grid.SetRadius(0);  // refused: keeps a usable cell size
  EXPECT_EQ(grid.Radius(), 5);
}

TEST(IndexGeometry, ResizeRuleCountsRowsShowingMoreThanAQuarter) {
  const struct {
    int width, height, cols, rows;
  } rows[] = {
      {497, 329, 3, 2},       // the main window's example
      {164, 164, 1, 1},       // exactly one cell
      {100, 30, 1, 1},        // less than a cell: still one
      {492, 164 + 41, 3, 1},  // 41 pixels of the second row: a quarter, not more
      {492, 164 + 42, 3, 2},  // 42 pixels: counted
      {655, 3 * 164, 3, 3},   // one pixel short of a fourth column
      {656, 3 * 164 + 1, 4, 3},
  };
  for (const auto& row : rows) {
    TGoIndex grid;
    grid.resize(row.width, row.height);
    grid.show();  // a hidden widget gets its resize event when shown
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    EXPECT_EQ(grid.Cols(), row.cols) << row.width << " x " << row.height;
    EXPECT_EQ(grid.Rows(), row.rows) << row.width << " x " << row.height;
  }
}

// ---- Entries drawn ------------------------------------------------------------------------

enum class Look { Empty, Black, White };

struct EntryRow {
  const char* name;
  std::string entry;
  int i, j;   // thumbnail point looked at
  Look look;  // what lies on it
  bool red;   // the last-move square on it
};

class EntryDrawing : public IndexFixture, public ::testing::WithParamInterface<EntryRow> {};

TEST_P(EntryDrawing, StonesAndLastMoveSquare) {
  const EntryRow& row = GetParam();
  grid->SetGames({row.entry});
  const QColor stone = OnStone(1, 1, row.i, row.j);
  switch (row.look) {
    case Look::Empty:
      EXPECT_TRUE(IsOrangeFace(stone)) << stone.name().toStdString();
      break;
    case Look::Black:
      EXPECT_TRUE(IsDark(stone)) << stone.name().toStdString();
      break;
    case Look::White:
      EXPECT_TRUE(IsLight(stone)) << stone.name().toStdString();
      break;
  }
  const QColor centre = Pixel(grid->PointCentre(1, 1, row.i, row.j));
  EXPECT_EQ(IsRed(centre), row.red) << centre.name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EntryDrawing,
    ::testing::Values(
        EntryRow{"ArrangedBlack", "00010 1 CCDC EE  B", 3, 3, Look::Black, false},
        EntryRow{"ArrangedWhite", "00010 1 CCDC EE  B", 5, 5, Look::White, false},
        EntryRow{"EmptyPoint", "00010 1 CCDC EE  B", 6, 6, Look::Empty, false},
        // White first with one initial move: a white stone with the square.
        EntryRow{"WhiteFirstOneMove", "00020 0   FF W", 6, 6, Look::White, true},
        EntryRow{"LowerCaseW", "00020 0   FF w", 6, 6, Look::White, true},
        // Black first (empty first player): black FF, white GG made the last move.
        EntryRow{"BlackFirstFirstMove", "00030 1   FFGG ", 6, 6, Look::Black, false},
        EntryRow{"BlackFirstLastMove", "00030 1   FFGG ", 7, 7, Look::White, true},
        // Three moves, black first: black's second move is the last; white's GG has none.
        EntryRow{"ThreeMovesLast", "00040 1   FFGGHH B", 8, 8, Look::Black, true},
        EntryRow{"ThreeMovesWhite", "00040 1   FFGGHH B", 7, 7, Look::White, false},
        // A null result leaves two spaces after the header.
        EntryRow{"NullResult", "00050  BB AA  B", 2, 2, Look::Black, false},
        // Overlaid without captures: white on a black arranged point covers it.
        EntryRow{"Overlaid", "00060 1 DD DD  B", 4, 4, Look::White, false},
        // Corner point (14, 14) is still on the thumbnail.
        EntryRow{"LastLine", "00070 1 NN   B", 14, 14, Look::Black, false},
        EntryRow{"HeaderOnly", "0008", 3, 3, Look::Empty, false}),
    [](const ::testing::TestParamInfo<EntryRow>& row) { return std::string(row.param.name); });

TEST_F(IndexFixture, StonesOffTheThumbnailDrawNothing) {
  grid->SetGames({"00010 1 CC DD  B"});
  const QImage plain = grid->Canvas().copy();
  // Column 15, row 15, a pass and an initial move off the corner add no pixel.
  grid->SetGames({"00010 1 CCOCAO DDOOTT OA B"});
  EXPECT_EQ(grid->Canvas(), plain);
}

TEST_F(IndexFixture, FlatStonesAndNoLastMoveSquare) {
  grid->SetGames({"00010 1 CC DD EE W"});
  grid->SetDim3(false);
  grid->SetDrawLastMove(false);
  EXPECT_TRUE(IsDark(OnStone(1, 1, 3, 3)));
  EXPECT_TRUE(IsLight(OnStone(1, 1, 4, 4)));
  EXPECT_FALSE(IsRed(Pixel(grid->PointCentre(1, 1, 5, 5))));
  EXPECT_TRUE(IsLight(OnStone(1, 1, 5, 5)));
}

TEST_F(IndexFixture, FaceGridStarPointsAndNumber) {
  grid->SetGames(Entries(2));
  const QImage& canvas = grid->Canvas();
  // The face is framed black; its corner sits at the margin.
  EXPECT_TRUE(IsDark(canvas.pixelColor(5, 80)));
  EXPECT_TRUE(IsDark(canvas.pixelColor(163, 80)));
  EXPECT_FALSE(IsDark(canvas.pixelColor(4, 80)));
  // Lines run (2R + 1) - R div 2 = 9 pixels past the 14th crossing (at 153): to 161.
  EXPECT_TRUE(IsDark(canvas.pixelColor(161, 10)));
  EXPECT_TRUE(IsOrangeFace(canvas.pixelColor(162, 10)));
  EXPECT_TRUE(IsDark(canvas.pixelColor(10, 161)));
  EXPECT_TRUE(IsOrangeFace(canvas.pixelColor(10, 162)));
  // A star point is a dot, an ordinary crossing is not: 10-10 and 11-10.
  EXPECT_TRUE(IsDark(canvas.pixelColor(109 + 1, 109 + 1)));
  EXPECT_FALSE(IsDark(canvas.pixelColor(120 + 1, 109 + 1)));
  // The blue number in the bottom right of each cell with an entry, and of the empty ones.
  for (int b = 1; b <= 3; ++b) {
    const QRect number(grid->NumberPos(1, b), QSize(24, 18));
    EXPECT_GT(CountPixels(canvas, number, IsBlue), 5) << "cell 1, " << b;
  }
}

TEST_F(IndexFixture, CheckMarkOnSolvedEntriesOnly) {
  std::vector<std::string> list = Entries(3);
  list[1][4] = '1';
  grid->SetGames(list);
  const QImage& canvas = grid->Canvas();
  for (int b = 1; b <= 3; ++b) {
    const QRect mark(grid->CheckMarkPos(1, b), QSize(16, 16));
    EXPECT_EQ(CountPixels(canvas, mark, IsGreen) > 10, b == 2) << "cell 1, " << b;
    // Drawn transparent: the face shows around the tick.
    EXPECT_TRUE(IsOrangeFace(canvas.pixelColor(mark.topLeft()))) << "cell 1, " << b;
  }
}

TEST_F(IndexFixture, SolvedCountRewritesTheSelectedEntry) {
  std::vector<std::string> list = Entries(3);
  list.push_back("0004");  // too short to carry a mark
  grid->SetGames(list);
  const QRect mark(grid->CheckMarkPos(1, 2), QSize(16, 16));
  // Without a selection nothing is stored.
  grid->SetSolvedCount(2);
  EXPECT_EQ(grid->SolvedCount(), 0);
  grid->SetSelected(1);
  grid->SetSolvedCount(2);
  EXPECT_EQ(grid->SolvedCount(), 2);
  EXPECT_EQ(grid->Games()[1], "01011 1 CCDC CDDD  B");
  EXPECT_GT(CountPixels(grid->Canvas(), mark, IsGreen), 10);
  grid->SetSolvedCount(3);
  EXPECT_EQ(grid->Games()[1], "01011 1 CCDC CDDD  B");
  grid->SetSolvedCount(0);
  EXPECT_EQ(grid->Games()[1], "01010 1 CCDC CDDD  B");
  EXPECT_EQ(CountPixels(grid->Canvas(), mark, IsGreen), 0);
  grid->SetSelected(3);
  grid->SetSolvedCount(1);
  EXPECT_EQ(grid->SolvedCount(), 1);
  EXPECT_EQ(grid->Games()[3], "0004");
  // The other entries are untouched.
  EXPECT_EQ(grid->Games()[0], "01000 1 CCDC CDDD  B");
  EXPECT_EQ(grid->Games()[2], "01020 1 CCDC CDDD  B");
}

// ---- Paging -------------------------------------------------------------------------------

TEST_F(IndexFixture, SevenEntriesOnThreeByTwo) {
  grid->SetGames(Entries(7));
  ASSERT_EQ(grid->Cols(), 3);
  ASSERT_EQ(grid->Rows(), 2);
  EXPECT_EQ(grid->Count(), 7);
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->PageCount(), 2);
  EXPECT_EQ(grid->CellIndex(2, 3), 5);
  grid->SetTopRow(3);
  EXPECT_EQ(grid->TopRow(), 3);
  EXPECT_EQ(grid->CellIndex(1, 1), 6);
  const QImage& canvas = grid->Canvas();
  for (int a = 1; a <= 2; ++a)
    for (int b = 1; b <= 3; ++b) {
      const bool entry = a == 1 && b == 1;
      EXPECT_EQ(grid->CellIndex(a, b), entry ? 6 : -1) << a << ", " << b;
      // Entry 7 shows its stones; the five empty boards only lines and the number 0.
      EXPECT_EQ(IsDark(canvas.pixelColor(grid->PointCentre(a, b, 3, 3) + QPoint(2, 2))), entry)
          << a << ", " << b;
      EXPECT_GT(CountPixels(canvas, QRect(grid->NumberPos(a, b), QSize(24, 18)), IsBlue), 5);
    }
  // The number of entry 7 against the 0 of an empty board: different glyphs.
  EXPECT_NE(canvas.copy(QRect(grid->NumberPos(1, 1), QSize(24, 18))),
            canvas.copy(QRect(grid->NumberPos(1, 2), QSize(24, 18))));
  EXPECT_EQ(canvas.copy(QRect(grid->NumberPos(1, 2), QSize(24, 18))),
            canvas.copy(QRect(grid->NumberPos(2, 3), QSize(24, 18))));
}

TEST_F(IndexFixture, TopRowRules) {
  grid->SetGames(Entries(7));
  log.clear();
  const struct {
    int value, expected;
    const char* events;
  } rows[] = {
      {4, 1, ""},           // beyond RowCount 3: refused
      {1, 1, ""},           // unchanged
      {3, 3, "top 3 1 2"},  // the last row
      {2, 2, "top 2 3 2"},
      {0, 0, "top 0 2 2"},  // below 1 is not refused; owners keep it at 1 or more
      {1, 1, "top 1 0 2"},
  };
  for (const auto& row : rows) {
    log.clear();
    grid->SetTopRow(row.value);
    EXPECT_EQ(grid->TopRow(), row.expected) << row.value;
    EXPECT_EQ(Log(), row.events) << row.value;
  }
}

TEST_F(IndexFixture, NewListResetsSelectionAndPage) {
  grid->SetGames(Entries(7));
  grid->SetTopRow(3);
  grid->SetSelected(6);
  grid->SetHot(6);
  log.clear();
  grid->SetGames(Entries(4));
  EXPECT_EQ(Log(), "games 4 7 3; top 1 3 2");
  EXPECT_EQ(grid->Selected(), -1);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(grid->Hot(), 6);
  // On row 1 already: only the games event.
  log.clear();
  grid->SetGames({});
  EXPECT_EQ(Log(), "games 0 4 3");
  EXPECT_EQ(grid->RowCount(), 0);
  EXPECT_EQ(grid->PageCount(), 0);
}

TEST_F(IndexFixture, SelectedSetterRefusesOutOfRange) {
  grid->SetGames(Entries(3));
  for (int v : {-1, 3, 100}) {
    grid->SetSelected(v);
    EXPECT_EQ(grid->Selected(), -1) << v;
  }
  grid->SetSelected(2);
  EXPECT_EQ(grid->Selected(), 2);
  EXPECT_EQ(Log(), "games 3 0 3");  // the setter raises nothing
}

// ---- Mouse --------------------------------------------------------------------------------

struct ClickRow {
  const char* name;
  QPoint pressCell, releaseCell;  // screen (row, column) of press and release
  int topRow;
  const char* events;
  int selected;
};

class Clicks : public IndexFixture, public ::testing::WithParamInterface<ClickRow> {};

TEST_P(Clicks, SelectOnlyOnACompletedClickOnAnEntry) {
  const ClickRow& row = GetParam();
  grid->SetGames(Entries(7));
  grid->SetTopRow(row.topRow);
  log.clear();
  QTest::mousePress(grid.get(), Qt::LeftButton, Qt::NoModifier,
                    CellCentre(row.pressCell.x(), row.pressCell.y()));
  QTest::mouseRelease(grid.get(), Qt::LeftButton, Qt::NoModifier,
                      CellCentre(row.releaseCell.x(), row.releaseCell.y()));
  EXPECT_EQ(Log(), row.events);
  EXPECT_EQ(grid->Selected(), row.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Clicks,
    ::testing::Values(ClickRow{"FirstCell", {1, 1}, {1, 1}, 1, "selected 0 -1 0", 0},
                      ClickRow{"SecondRow", {2, 3}, {2, 3}, 1, "selected 5 -1 0", 5},
                      ClickRow{"PagedDown", {1, 1}, {1, 1}, 3, "selected 6 -1 0", 6},
                      ClickRow{"EmptyCell", {1, 2}, {1, 2}, 3, "", -1},
                      ClickRow{"ReleasedElsewhere", {1, 1}, {1, 2}, 1, "", -1}),
    [](const ::testing::TestParamInfo<ClickRow>& row) { return std::string(row.param.name); });

TEST_F(IndexFixture, ClickingTheSelectionAgainReportsEqualIndices) {
  grid->SetGames(Entries(7));
  log.clear();
  QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 2));
  QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 2));
  QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 1));
  QTest::mouseClick(grid.get(), Qt::RightButton, Qt::NoModifier, CellCentre(1, 1));
  EXPECT_EQ(Log(), "selected 1 -1 0; selected 1 1 0; selected 3 1 0");
  EXPECT_EQ(grid->Selected(), 3);
}

TEST_F(IndexFixture, SelectedFaceIsSolidAndMovesWithTheSelection) {
  grid->SetGames(Entries(6));
  QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 2));
  EXPECT_TRUE(IsSelectedFace(Between(1, 2, 7, 7)));
  EXPECT_TRUE(IsOrangeFace(Between(1, 1, 7, 7)));
  QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, CellCentre(2, 3));
  EXPECT_TRUE(IsOrangeFace(Between(1, 2, 7, 7)));
  EXPECT_TRUE(IsSelectedFace(Between(2, 3, 7, 7)));
  // The same after a full repaint.
  grid->Paint();
  EXPECT_TRUE(IsOrangeFace(Between(1, 2, 7, 7)));
  EXPECT_TRUE(IsSelectedFace(Between(2, 3, 7, 7)));
}

TEST_F(IndexFixture, HoveringFramesTheHotCellAndRaisesOnce) {
  grid->SetGames(Entries(4));
  log.clear();
  auto frame = [this](int a, int b) {
    return Pixel(grid->FaceRect(a, b).topLeft() + QPoint(40, 0));
  };
  QTest::mouseMove(grid.get(), CellCentre(1, 2));
  QTest::mouseMove(grid.get(), CellCentre(1, 2) + QPoint(10, 10));  // same cell: nothing new
  EXPECT_EQ(grid->Hot(), 1);
  EXPECT_TRUE(IsRed(frame(1, 2)));
  EXPECT_TRUE(IsDark(frame(1, 1)));
  EXPECT_EQ(grid->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(grid.get(), CellCentre(2, 1));
  EXPECT_EQ(grid->Hot(), 3);
  EXPECT_TRUE(IsRed(frame(2, 1)));
  EXPECT_FALSE(IsRed(frame(1, 2)));  // the frame goes back to the face colour
  // An empty cell keeps the hot entry and shows the ordinary cursor.
  QTest::mouseMove(grid.get(), CellCentre(2, 3));
  EXPECT_EQ(grid->Hot(), 3);
  EXPECT_EQ(grid->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(Log(), "hot 1 -1 1; hot 3 1 1");
}

TEST_F(IndexFixture, OwnerMouseCallbacksRunForEveryButton) {
  grid->SetGames(Entries(2));
  std::vector<std::string> calls;
  grid->OnMouseDown = [&](TGoIndex*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    calls.push_back(button == Qt::LeftButton ? "down" : "right down");
  };
  grid->OnMouseUp = [&](TGoIndex*, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    calls.push_back((button == Qt::LeftButton ? "up " : "right up ") + std::to_string(x) + "," +
                    std::to_string(y));
  };
  QTest::mouseClick(grid.get(), Qt::RightButton, Qt::NoModifier, QPoint(30, 40));
  QTest::mouseClick(grid.get(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
  EXPECT_EQ(calls, (std::vector<std::string>{"right down", "right up 30,40", "down", "up 30,40"}));
  EXPECT_EQ(Log(), "games 2 0 3; selected 0 -1 0");
}

// ---- Look ---------------------------------------------------------------------------------

TEST_F(IndexFixture, OtherSchemesPaintEveryFaceInBoardColor) {
  grid->SetGames(Entries(2));
  grid->SetBoardColor(0x00FFFFFF);  // refused
  grid->SetBoardColor(0);           // refused
  EXPECT_EQ(grid->BoardColor(), 26265u);
  grid->SetBoardColorNum(2);
  grid->SetBoardColor(0x0080C0E0);  // 0x00BBGGRR: red E0, green C0, blue 80
  EXPECT_EQ(Between(1, 1, 7, 7), QColor(0xE0, 0xC0, 0x80));
  // The stones are clipped to their circle: no key colour around them.
  EXPECT_TRUE(IsDark(OnStone(1, 1, 3, 3)));
  EXPECT_NE(Pixel(grid->PointCentre(1, 1, 3, 3) + QPoint(-5, -5)), QColor(214, 148, 41));
}

TEST_F(IndexFixture, SharpAtDoubleDensity) {
  grid->SetGames({"00011 1 CC DD EE B"});
  grid->SetCanvasPixelRatio(2);
  const QImage& canvas = grid->Canvas();
  EXPECT_EQ(canvas.size(), QSize(2 * 497, 2 * 329));
  // A grid line is two device pixels wide, with the face on both sides.
  EXPECT_TRUE(IsDark(canvas.pixelColor(2 * 21, 2 * 80)));
  EXPECT_TRUE(IsDark(canvas.pixelColor(2 * 21 + 1, 2 * 80)));
  EXPECT_TRUE(IsOrangeFace(canvas.pixelColor(2 * 21 + 2, 2 * 80)));
  EXPECT_TRUE(IsOrangeFace(canvas.pixelColor(2 * 21 - 1, 2 * 80)));
  // The stone and the check mark are there at the same logical places.
  EXPECT_TRUE(IsDark(canvas.pixelColor(2 * 33 + 4, 2 * 33 + 4)));
  const QRect mark(2 * grid->CheckMarkPos(1, 1), QSize(32, 32));
  EXPECT_GT(CountPixels(canvas, mark, IsGreen), 40);
}

// A page as the player sees it, saved next to the test program to be looked at.
TEST_F(IndexFixture, RenderSamplePage) {
  QFont bold = grid->font();
  bold.setBold(true);
  grid->setFont(bold);
  grid->resize(4 * 164 + 8, 2 * 164 + 60);
  grid->SetGames({"75310 1 CCDCECBDBEBF DDEDFDCECFCGBG  B",
                  "75321 0 CBDBEBFBBCBD CCDCECFCGCGBHB FAGA W", "75330 2 QCRC DDNN ABBA B",
                  "75341 3 BBCBDBEB ACBCCCDCECFC BDAB W", "75350 1 DQEQ CRDR  B",
                  "75360 0 CCDDEE FFGGHH IIJJKK B", "75370 1 BCCC BBCBDB AB W"});
  grid->SetSelected(2);
  // The pointer passed over the first picture on its way to the fourth.
  QTest::mouseMove(grid.get(), CellCentre(1, 1));
  QTest::mouseMove(grid.get(), CellCentre(1, 4));
  ASSERT_EQ(grid->Hot(), 3);
  for (qreal ratio : {1.0, 2.0}) {
    grid->SetCanvasPixelRatio(ratio);
    const QString path =
        QDir(ZENDRA_RENDER_DIR).filePath(QStringLiteral("index_page_x%1.png").arg(ratio));
    ASSERT_TRUE(grid->Canvas().save(path)) << path.toStdString();
  }
}

}  // namespace
}  // namespace zendra::test
