// Clicks and hovering with QTest: which point a pixel selects, what each play state does with
// a click, which event fires with which parameters, and the hover text and cursor.
#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "tests/board_widget/board_fixture.h"

namespace zendra::test {
namespace {

// A shown board at R = 7 that writes every event it raises into a log, in order.
class MouseFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    board = MakeBoard(7, 16);
    board->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
    board->OnLegalMove = [this](LattixEngine* sender, int16_t p, int16_t q, int16_t kind,
                                int16_t promoted, bool review) {
      EXPECT_EQ(sender, static_cast<LattixEngine*>(board.get()));
      log.push_back("legal " + std::to_string(p) + "," + std::to_string(q) + " " +
                    std::to_string(kind) + " " + std::to_string(promoted) +
                    (review ? " review" : ""));
    };
    board->OnClickAtOpponentsTurn = [this](LattixEngine*, int16_t p, int16_t q) {
      log.push_back("opponent " + std::to_string(p) + "," + std::to_string(q));
    };
    board->OnLastMoveClick = [this](LattixEngine*, int16_t p, int16_t q) {
      log.push_back("last " + std::to_string(p) + "," + std::to_string(q));
    };
    board->OnMouseUp = [this](TLattix*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
      log.push_back(button == Qt::LeftButton ? "up" : "right up");
    };
  }

  QPoint At(int p, int q) const { return QPoint(board->PointX(p), board->PointY(q)); }
  void Click(int p, int q, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(board.get(), button, Qt::NoModifier, At(p, q));
  }
  void Press(QPoint at) { QTest::mousePress(board.get(), Qt::LeftButton, Qt::NoModifier, at); }
  void Release(QPoint at) { QTest::mouseRelease(board.get(), Qt::LeftButton, Qt::NoModifier, at); }
  void Hover(QPoint at) { QTest::mouseMove(board.get(), at); }
  std::string Log() const {
    std::string all;
    for (const std::string& entry : log) all += (all.empty() ? "" : "; ") + entry;
    return all;
  }

  std::unique_ptr<TLattix> board;
  std::vector<std::string> log;
};

TEST_F(MouseFixture, PixelToPointTolerance) {
  const struct {
    int x, column;
  } rows[] = {{5, 0}, {6, 1}, {12, 1}, {18, 1}, {19, 0}, {22, 0}, {23, 2}, {318, 19}, {324, 19}};
  for (const auto& row : rows) EXPECT_EQ(board->ColumnAt(row.x), row.column) << "x = " << row.x;
  EXPECT_FALSE(board->PointAt(board->PointX(20), board->PointY(20)).onBoard);  // the pass point
  EXPECT_EQ(board->RowAt(18), 1);
  EXPECT_EQ(board->RowAt(19), 0);
}

TEST_F(MouseFixture, ReleaseWithinToleranceOfThePressPoint) {
  const struct {
    int releaseX;
    bool plays;
  } rows[] = {{18, true}, {19, false}, {6, true}, {5, false}};
  for (const auto& row : rows) {
    board->NewGame(true);
    log.clear();
    Press(QPoint(12, 12));
    Release(QPoint(row.releaseX, 12));
    EXPECT_EQ(board->GetPoint(1, 1) != 0, row.plays) << "x = " << row.releaseX;
    EXPECT_EQ(Log(), row.plays ? "legal 1,1 0 0; up" : "up") << "x = " << row.releaseX;
  }
}

TEST_F(MouseFixture, PressAndReleaseOnDifferentPointsDoNothing) {
  Press(At(4, 4));
  Release(At(5, 4));
  EXPECT_EQ(board->GetPoint(4, 4), 0);
  EXPECT_EQ(board->GetPoint(5, 4), 0);
  EXPECT_EQ(Log(), "up");
}

// One row per play state: how the board is set up, where the click goes, and what follows.
struct StateRow {
  const char* name;
  std::function<void(TLattix&)> setUp;
  int p, q;
  const char* events;   // the log after the click
  const char* process;  // Process after the click
};

TEST_F(MouseFixture, ClickInEachPlayState) {
  auto oneSide = [](TLattix& b) {
    b.SetSingleMode(false);
    b.SetSelfSide(0);
    b.PlayGoMove(4, 4, true);   // black's D16
    b.PlayGoMove(16, 4, true);  // white's Q16: black (the user) to move
  };
  const StateRow rows[] = {
      {"both sides, empty point", [](TLattix&) {}, 3, 3, "legal 3,3 0 0; up", "CC"},
      {"both sides, white to move", [](TLattix& b) { b.PlayGoMove(4, 4, true); }, 3, 3,
       "legal 3,3 0 0; up", "DDCC"},
      {"one side, user's turn, empty point", oneSide, 3, 3, "legal 3,3 0 0; up", "DDPDCC"},
      {"one side, user's turn, a stone", oneSide, 16, 4, "opponent 16,4; up", "DDPD"},
      {"one side, computer's turn, empty point",
       [&](TLattix& b) {
         oneSide(b);
         b.PlayGoMove(3, 3, true);
       },
       5, 5, "up", "DDPDCC"},
      {"one side, computer's turn, the last move",
       [&](TLattix& b) {
         oneSide(b);
         b.PlayGoMove(3, 3, true);
       },
       3, 3, "last 3,3; up", "DDPDCC"},
      {"one side, computer's turn, an older stone",
       [&](TLattix& b) {
         oneSide(b);
         b.PlayGoMove(3, 3, true);
       },
       4, 4, "up", "DDPDCC"},
      {"new moves disabled", [](TLattix& b) { b.SetNewMoveEnabled(false); }, 3, 3, "up", ""},
      {"decided", [](TLattix& b) { b.SetWinner(kBlackWon); }, 3, 3, "up", ""},
      {"review", [](TLattix& b) { b.SetReview(true); }, 3, 3, "up", ""},
      {"review-study",
       [](TLattix& b) {
         b.SetReview(true);
         b.SetStudy(true);
       },
       3, 3, "legal 3,3 0 0 review; up", "CC"},
      {"other mode", [](TLattix& b) { b.SetMode(2); }, 3, 3, "up", ""},
      {"illegal move (suicide in the corner)", [](TLattix& b) { b.SetProcess("JJBAKKAB"); }, 1, 1,
       "up", "JJBAKKAB"},
  };
  for (const StateRow& row : rows) {
    board->SetMode(0);
    board->SetReview(false);
    board->SetStudy(false);
    board->SetSingleMode(true);
    board->SetNewMoveEnabled(true);
    board->SetWinner(kNoWinner);
    board->SetProcess("");
    board->NewGame(true);
    row.setUp(*board);
    log.clear();
    Click(row.p, row.q);
    EXPECT_EQ(Log(), row.events) << row.name;
    EXPECT_EQ(board->Process(), row.process) << row.name;
  }
}

TEST_F(MouseFixture, ReviewStudyMovesAreNumbered) {
  board->PlayGoMove(4, 4, true);
  board->PlayGoMove(16, 16, true);
  board->SetReview(true);
  board->SetStudy(true);
  Click(3, 3);
  Click(5, 5);
  EXPECT_EQ(board->Process(), "DDPPCCEE");
  EXPECT_EQ(board->NumProc(), "CCEE");
  EXPECT_EQ(board->StoneNumber(3, 3), 1);
  EXPECT_EQ(board->StoneNumber(5, 5), 2);
  EXPECT_EQ(board->BaseNum(), 1);
  EXPECT_TRUE(board->Modified());
  EXPECT_EQ(Log(), "legal 3,3 0 0 review; up; legal 5,5 0 0 review; up");
}

TEST_F(MouseFixture, CountingMarksWholeChainsDeadAndAlive) {
  // Black's three stones C3-E3 and a white stone far away.
  board->SetProcess("CCQQDCQPECQO");
  board->SetGameOver(true);
  Click(4, 3);
  for (int p : {3, 4, 5}) EXPECT_NE(board->GetPoint(p, 3) & kDeadBit, 0) << p;
  EXPECT_EQ(board->GetPoint(17, 17) & kDeadBit, 0);
  Click(3, 3);
  for (int p : {3, 4, 5}) EXPECT_EQ(board->GetPoint(p, 3) & kDeadBit, 0) << p;
  Click(10, 10);  // an empty point: nothing
  EXPECT_EQ(Log(), "up; up; up");
}

TEST_F(MouseFixture, ArrangingAddsSetUpStones) {
  board->SetMode(1);
  Click(4, 4);                   // black to move: a black stone
  Click(5, 5, Qt::RightButton);  // the right button: always white
  Click(4, 4);                   // occupied: nothing
  EXPECT_EQ(board->ArrangedSideP(), "DD");
  EXPECT_EQ(board->ArrangedSideN(), "EE");
  EXPECT_EQ(board->GetPoint(4, 4), kBlack);
  EXPECT_EQ(board->GetPoint(5, 5), kWhite);
  EXPECT_EQ(board->Process(), "");
  EXPECT_GT(board->Label(4, 4), 0);
  EXPECT_EQ(Log(), "up; right up; up");
}

TEST_F(MouseFixture, HoverTextAndCursor) {
  Hover(At(1, 19));
  EXPECT_EQ(board->HintPos(), 1 * 256 + 19);
  EXPECT_EQ(board->HintStr(), "A1");
  EXPECT_EQ(board->cursor().shape(), Qt::PointingHandCursor);
  board->SetsgfCoordinate(false);
  Hover(At(1, 19) + QPoint(1, 0));
  EXPECT_EQ(board->HintStr(), "A19");
  Hover(At(11, 4));
  EXPECT_EQ(board->HintStr(), "M4");
  board->SetsgfCoordinate(true);
  Hover(At(4, 4));
  EXPECT_EQ(board->HintStr(), "D16");
  // Between two points: no point, default cursor.
  Hover(At(4, 4) + QPoint(8, 0));
  EXPECT_EQ(board->HintPos(), -1);
  EXPECT_EQ(board->HintStr(), "");
  EXPECT_EQ(board->cursor().shape(), Qt::ArrowCursor);
  // An occupied point while playing: its coordinate, but no hand.
  board->PlayGoMove(4, 4, true);
  Hover(At(4, 4));
  EXPECT_EQ(board->HintStr(), "D16");
  EXPECT_EQ(board->cursor().shape(), Qt::ArrowCursor);
  // A decided game: no hand anywhere.
  board->SetWinner(kWhiteWon);
  Hover(At(10, 10));
  EXPECT_EQ(board->cursor().shape(), Qt::ArrowCursor);
  // Mode 9 leaves the cursor as the owner set it.
  board->SetWinner(kNoWinner);
  board->SetMode(9);
  board->setCursor(Qt::WaitCursor);
  Hover(At(10, 10));
  EXPECT_EQ(board->cursor().shape(), Qt::WaitCursor);
}

TEST_F(MouseFixture, MoveClearsTheHover) {
  Hover(At(3, 3));
  ASSERT_EQ(board->HintStr(), "C17");
  Click(3, 3);
  EXPECT_EQ(board->HintPos(), -1);
  EXPECT_EQ(board->HintStr(), "");
}

TEST_F(MouseFixture, OwnerMayPlayTheReplyInsideTheEvent) {
  board->OnLegalMove = [this](LattixEngine*, int16_t, int16_t, int16_t, int16_t, bool) {
    board->PlayGoMove(16, 16, true);
  };
  Click(4, 4);
  EXPECT_EQ(board->Process(), "DDPP");
  EXPECT_EQ(board->Turn(), kBlack);
}

}  // namespace
}  // namespace zendra::test
