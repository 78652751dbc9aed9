// "Zoom to the problem": the region chosen for corner, side and centre problems, the geometry
// of the zoomed board, clicks that reach the same point in both views, and what the canvas
// shows of stones, marks, the last move and the turn there.
#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "tests/board_widget/board_fixture.h"

namespace zendra::test {
namespace {

TEST(ProblemRegionTest, CornerSideAndCentreProblems) {
  const struct {
    const char* name;
    const char* points;
    BoardRegion region;
  } rows[] = {
      // Columns 2-4, rows 2-3: the margin reaches the edges, the least size grows it inward.
      {"top-left corner", "BBCBDCBC", {1, 1, 7, 7}},
      // Columns 17-18, row 3: the right and top edges kept, grown to the left and down.
      {"top-right corner", "QCRC", {13, 1, 19, 7}},
      {"bottom-left corner, a larger group", "ANBNCPDQEREOAS", {1, 13, 7, 19}},
      // Left side, rows 9-11: the edge kept, the rows grown on both sides to seven.
      {"left side", "AJBJBKCI", {1, 7, 7, 13}},
      {"bottom side, wide", "FRGRHRJRKRLRMQ", {5, 13, 14, 19}},
      {"centre", "JJKKJK", {8, 8, 14, 14}},
      // Four lines from the edge after the margin is not near enough to be snapped.
      {"a side four lines off the edge stays off", "FFFGGFGGLFLG", {5, 4, 13, 10}},
      {"spread over the board", "AASS", {1, 1, 19, 19}},
      {"no points: the whole board", "", {1, 1, 19, 19}},
      {"only passes and off-board points", "TTZZ", {1, 1, 19, 19}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const BoardRegion r = ProblemRegion(row.points);
    EXPECT_EQ(r.left, row.region.left);
    EXPECT_EQ(r.top, row.region.top);
    EXPECT_EQ(r.right, row.region.right);
    EXPECT_EQ(r.bottom, row.region.bottom);
    EXPECT_GE(r.Columns(), kZoomLeastLines);
    EXPECT_GE(r.Rows(), kZoomLeastLines);
  }
}

// A shown board at R = 7 (345 x 345 and the panel) recording its legal moves.
class ZoomFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    board = MakeBoard(7, 16);
    board->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
    board->OnLegalMove = [this](LattixEngine*, int16_t p, int16_t q, int16_t, int16_t, bool) {
      moves.push_back(std::to_string(p) + "," + std::to_string(q));
    };
  }
  void Click(int p, int q) {
    QTest::mouseClick(board.get(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(board->PointX(p), board->PointY(q)));
  }

  std::unique_ptr<TLattix> board;
  std::vector<std::string> moves;
};

TEST_F(ZoomFixture, TheRegionFillsTheControlAtTheLargestRadius) {
  board->SetViewRegion({1, 1, 7, 7});
  EXPECT_TRUE(board->Zoomed());
  // (345 - 2h - 16 - 7) / 14 - 1 with h = 10: R = 20, the board 7 x 43 + 20 + 16 = 337 wide.
  EXPECT_EQ(board->Radius(), 20);
  EXPECT_EQ(board->BoardWidth(), 337);
  EXPECT_EQ(board->BoardHeight(), 337);
  EXPECT_EQ(board->PointX(1), 10 + 20 + 2);
  EXPECT_EQ(board->PointX(7), 32 + 6 * 43);
  // One more line would not fit.
  EXPECT_LT(board->RadiusForSize(board->width() - 125, board->height()), 21);

  // A side region is taller than wide: the rows decide.
  board->SetViewRegion({1, 7, 7, 13});
  EXPECT_EQ(board->PointY(7), board->PointX(1));
  EXPECT_EQ(board->PointY(13), board->PointX(7));

  // Off: the whole board in its usual geometry again.
  board->SetViewRegion(BoardRegion{});
  EXPECT_FALSE(board->Zoomed());
  EXPECT_EQ(board->Radius(), 7);
  EXPECT_EQ(board->PointX(1), 12);
  EXPECT_EQ(board->PointX(19), 318);
  EXPECT_EQ(board->BoardWidth(), 345);
}

TEST_F(ZoomFixture, AClickReachesTheSamePointInBothViews) {
  const struct {
    BoardRegion region;
    int p, q;
  } rows[] = {{{1, 1, 7, 7}, 3, 3}, {{1, 7, 7, 13}, 2, 10}, {{8, 8, 14, 14}, 10, 11},
              {{13, 1, 19, 7}, 19, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.p) + "," + std::to_string(row.q));
    for (const BoardRegion& view : {row.region, BoardRegion{}}) {
      board->NewGame(true);
      board->SetViewRegion(view);
      moves.clear();
      Click(row.p, row.q);
      ASSERT_EQ(moves, std::vector<std::string>{std::to_string(row.p) + "," + std::to_string(row.q)});
      EXPECT_GT(board->GetPoint(row.p, row.q), 0) << "black's stone stands there";
      EXPECT_EQ(board->PointAt(board->PointX(row.p), board->PointY(row.q)).p, row.p);
    }
  }
  // Zoomed, the pixels past the region's last column hit nothing, not the next column.
  board->NewGame(true);
  board->SetViewRegion({1, 1, 7, 7});
  moves.clear();
  QTest::mouseClick(board.get(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(board->PointX(7) + board->Spacing(), board->PointY(3)));
  EXPECT_TRUE(moves.empty());
  EXPECT_EQ(board->GetPoint(8, 3), 0);
}

TEST_F(ZoomFixture, StonesMarksLastMoveAndTurnOnTheZoomedCanvas) {
  board->NewGame(true);
  board->SetViewRegion({1, 1, 7, 7});
  ASSERT_TRUE(board->PlayGoMove(3, 3, true));  // black
  ASSERT_TRUE(board->PlayGoMove(4, 3, true));  // white, the last move
  board->MarkPoints("BB", 255);                // a red hint dot on (2, 2)
  const int r = board->Radius();
  // The black stone at its full radius: dark over the middle of its box (but for its shine)
  // and out to its rim, where an empty point shows the face.
  const QRect black(board->PointX(3) - r / 2, board->PointY(3) - r / 2, r, r);
  EXPECT_GT(CountPixels(board->Canvas(), black, IsDark), r * r * 3 / 4);
  const QRect empty(board->PointX(5) - r / 2, board->PointY(5) - r / 2, r, r);
  EXPECT_LT(CountPixels(board->Canvas(), empty, IsDark), 3 * r) << "only the two lines";
  EXPECT_TRUE(IsDark(Pixel(*board, board->PointX(3) + r - 3, board->PointY(3))));
  // The white stone with the red last-move square at its centre.
  EXPECT_TRUE(IsLight(Pixel(*board, board->PointX(4) + r / 2, board->PointY(3))));
  EXPECT_TRUE(IsRed(Pixel(*board, board->PointX(4), board->PointY(3))));
  // The hint dot, and the arrow at black's circle (black to move).
  EXPECT_TRUE(IsRed(Pixel(*board, board->PointX(2), board->PointY(2))));
  EXPECT_GT(board->Turn(), 0);
  EXPECT_TRUE(IsRed(Pixel(*board, board->BoardWidth() + 5, 205 - 1)));
  board->Canvas().save(ZENDRA_RENDER_DIR "/zoomed_corner.png");

  // A move outside the region changes nothing on the face but the old last move's square.
  const QImage before = board->Canvas().copy();
  ASSERT_TRUE(board->PlayGoMove(12, 12, true));
  const QImage& after = board->Canvas();
  const QRect oldLast = PointBox(*board, 4, 3);
  int changed = 0;
  for (int y = 0; y < board->BoardHeight(); ++y)
    for (int x = 0; x < board->BoardWidth(); ++x)
      if (!oldLast.contains(x, y) && before.pixel(x, y) != after.pixel(x, y)) ++changed;
  EXPECT_EQ(changed, 0);
  EXPECT_FALSE(IsRed(Pixel(*board, board->PointX(4), board->PointY(3))));
  EXPECT_TRUE(IsRed(Pixel(*board, board->BoardWidth() + 5, 125 - 1))) << "white to move";

  // The whole board shows every stone and the last move when the zoom is off.
  board->SetViewRegion(BoardRegion{});
  EXPECT_TRUE(IsDark(Pixel(*board, board->PointX(3), board->PointY(3) + 3)));
  EXPECT_TRUE(IsRed(Pixel(*board, board->PointX(12), board->PointY(12))));
  EXPECT_TRUE(IsRed(Pixel(*board, board->PointX(2), board->PointY(2))));
}

}  // namespace
}  // namespace zendra::test
