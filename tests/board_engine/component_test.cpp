// The redraw protocol and the component's game properties: what each operation asks the view
// to redraw, and the setters' rules.
#include <gtest/gtest.h>

#include "board/engine/chess_kinds.h"
#include "board/engine/lattix_engine.h"
#include "tests/board_engine/board_test_util.h"

namespace zendra {
namespace {

using test::PlayAll;
using test::RecordingView;
using test::SetUpDiagram;
using Calls = std::vector<std::string>;

class Redraw : public ::testing::Test {
 protected:
  void Watch() {
    view.calls.clear();
    board.SetView(&view);
  }
  LattixEngine board;
  RecordingView view;
};

TEST_F(Redraw, FirstMoveThenSecond) {
  Watch();
  ASSERT_TRUE(board.PlayGoMove(4, 4, true));
  EXPECT_EQ(view.calls, (Calls{"stone DD", "mark DD", "arrow"}));
  view.calls.clear();
  ASSERT_TRUE(board.PlayGoMove(5, 5, true));
  EXPECT_EQ(view.calls, (Calls{"stone DD", "stone EE", "mark EE", "arrow"}));
}

TEST_F(Redraw, CaptureEmptiesExactlyTheCapturedPoints) {
  SetUpDiagram(board,
               ".XO..\n"
               "XO.O.\n"
               ".XOO.\n"
               "..X..\n",
               kWhite);
  PlayAll(board, "SS");  // white somewhere far; now black captures B2 and nothing else
  Watch();
  ASSERT_TRUE(board.PlayGoMove(1, 1, true));  // no capture: A1
  view.calls.clear();
  board.SetTurn(kBlack);
  view.calls.clear();
  ASSERT_TRUE(board.PlayGoMove(3, 2, true));  // C2 takes B2
  EXPECT_EQ(view.calls, (Calls{"stone AA", "empty BB", "stone CB", "mark CB", "arrow"}));
}

TEST_F(Redraw, CapturedChainsAreRedrawnInScanOrder) {
  SetUpDiagram(board,
               ".O.O.\n"
               "OX.XO\n"
               ".OXO.\n"
               "..O..\n",
               kWhite);
  Watch();
  ASSERT_TRUE(board.PlayGoMove(3, 2, true));
  EXPECT_EQ(view.calls,
            (Calls{"empty BB", "empty CC", "empty DB", "stone CB", "mark CB", "arrow"}));
}

TEST_F(Redraw, PassesUseThePassCell) {
  PlayAll(board, "DD");
  Watch();
  ASSERT_TRUE(board.PlayGoMove(20, 20, true));
  EXPECT_EQ(view.calls, (Calls{"stone DD", "stone TT", "mark TT", "arrow"}));
  view.calls.clear();
  ASSERT_TRUE(board.PlayGoMove(20, 20, true));  // a pass after a pass redraws the pass stone
  EXPECT_EQ(view.calls, (Calls{"stone TT", "stone TT", "mark TT", "arrow"}));
  view.calls.clear();
  ASSERT_TRUE(board.PlayGoMove(5, 5, true));  // a stone after a pass empties the pass cell
  EXPECT_EQ(view.calls, (Calls{"empty TT", "stone EE", "mark EE", "arrow"}));
}

TEST_F(Redraw, RefusedMoveDrawsNothing) {
  PlayAll(board, "DD");
  Watch();
  EXPECT_FALSE(board.PlayGoMove(4, 4, true));
  EXPECT_FALSE(board.PlayGoMove(0, 4, true));
  EXPECT_EQ(board.CheckGoMove(5, 5), 0);
  EXPECT_TRUE(view.calls.empty());
}

TEST_F(Redraw, MovesWithoutDrawAreSilent) {
  Watch();
  PlayAll(board, "DDEETT");
  board.GoToMove(1, false);
  // Only the replay's own redraw: EE vanishes, the last-move mark moves back to DD.
  EXPECT_EQ(view.calls, (Calls{"empty EE", "stone DD", "mark DD"}));
}

TEST_F(Redraw, TakeBackRedrawsCapturedStonesAndTheArrow) {
  SetUpDiagram(board, ".X...\nXOX..\n.....\n", kBlack);
  PlayAll(board, "BC");  // B3 takes B2
  ASSERT_EQ(board.GetPoint(2, 2), 0);
  Watch();
  board.TakeBack();
  EXPECT_EQ(view.calls, (Calls{"stone BB", "empty BC", "arrow"}));
}

TEST_F(Redraw, ReplayRedrawsChangedMarksToo) {
  PlayAll(board, "DDEE");
  board.SetStoneNumber(4, 4, 1);
  board.MarkPoints("AA", 32768);
  Watch();
  board.GoToMove(2, false);  // same stones; the number and the dot are gone with the new game
  // Then the old last-move point loses its mark and the new one gets it (here the same point).
  EXPECT_EQ(view.calls, (Calls{"empty AA", "stone DD", "stone EE", "stone EE", "mark EE"}));
  EXPECT_EQ(board.StoneNumber(4, 4), 0);
  EXPECT_EQ(board.MarkColor(1, 1), 0u);
}

TEST_F(Redraw, MarksRedrawOnlyTheirPoint) {
  PlayAll(board, "DD");
  Watch();
  board.NumberStones("DDTTEE", 5);  // TT is skipped but keeps its position
  EXPECT_EQ(board.StoneNumber(4, 4), 5);
  EXPECT_EQ(board.StoneNumber(5, 5), 7);
  board.SetStoneNumber(4, 4, 5);  // unchanged: nothing
  board.MarkPoints("AAee", 65535);
  board.ClearMarks();
  EXPECT_EQ(view.calls, (Calls{"stone DD", "empty EE", "empty AA", "empty AA"}));
}

TEST_F(Redraw, SetupAndHandicapDrawAllPoints) {
  Watch();
  board.NewGame(true);  // after the handicap step and after each set-up string
  EXPECT_EQ(view.calls, (Calls{"points", "points", "points"}));
  view.calls.clear();
  board.SetArrangedSideP("AA");
  board.NewGame(true);  // handicap step, then the two set-up strings
  EXPECT_EQ(view.calls, (Calls{"points", "points", "points", "points"}));
  view.calls.clear();
  board.SetHandicap(2);
  EXPECT_EQ(view.calls, (Calls{"points", "info 1", "info 2"}));
}

// ---- Properties -----------------------------------------------------------------------------

TEST(Properties, CreationDefaults) {
  LattixEngine board;
  EXPECT_EQ(board.GameKind(), kGo);
  EXPECT_EQ(board.N(), 19);
  EXPECT_EQ(board.M(), 19);
  EXPECT_EQ(board.Turn(), kBlack);
  EXPECT_EQ(board.FirstToPlay(), kBlack);
  EXPECT_TRUE(board.FirstToPlayByRule());
  EXPECT_EQ(board.Handicap(), 0);
  EXPECT_EQ(board.Atone(), 15);
  EXPECT_EQ(board.NextMove(), 1);
  EXPECT_EQ(board.BaseNum(), 1);
  EXPECT_EQ(board.Winner(), kNoWinner);
  EXPECT_FALSE(board.GameOver());
  EXPECT_TRUE(board.SingleMode());
  EXPECT_EQ(board.SelfSide(), 0);
  EXPECT_TRUE(board.NewMoveEnabled());
  EXPECT_TRUE(board.StudyEnabled());
  EXPECT_FALSE(board.AllowStudy());
  EXPECT_EQ(board.Mode(), 0);
  EXPECT_FALSE(board.Review());
  EXPECT_FALSE(board.Study());
  EXPECT_EQ(board.Language(), 0);
  EXPECT_EQ(board.LattixVersion(), "02");
  EXPECT_EQ(board.FileName(), LattixEngine::DefaultFileName(kGo));
  EXPECT_FALSE(board.FileName().empty());
}

TEST(Properties, GameKindSwitch) {
  LattixEngine board;
  RecordingView view;
  board.SetView(&view);
  board.SetGameKind(kGo);  // unchanged
  board.SetGameKind(5);    // out of range
  board.SetGameKind(-1);
  EXPECT_TRUE(view.calls.empty());
  PlayAll(board, "DD");
  struct Case {
    int kind, n, m;
  };
  for (const Case& c : {Case{3, 15, 15}, Case{1, 9, 10}, Case{2, 8, 8}, Case{4, 5, 12},
                        Case{0, 19, 19}}) {
    SCOPED_TRACE(c.kind);
    view.calls.clear();
    board.SetGameKind(static_cast<int16_t>(c.kind));
    EXPECT_EQ(board.GameKind(), c.kind);
    EXPECT_EQ(board.N(), c.n);
    EXPECT_EQ(board.M(), c.m);
    EXPECT_EQ(board.FileName(), LattixEngine::DefaultFileName(c.kind));
    // The Go stone has gone; the chess kinds show their starting tables instead.
    EXPECT_EQ(board.GetPoint(4, 4), chess::StartingPiece(c.kind, 4, 4));
    EXPECT_EQ(board.Process(), "");
    ASSERT_FALSE(view.calls.empty());
    EXPECT_EQ(view.calls.front(), "geometry");
  }
}

TEST(Properties, OtherKindsKeepTheirConventions) {
  LattixEngine board;
  board.SetGameKind(kChess);
  EXPECT_FALSE(board.PlayMove(1, 2, false));
  EXPECT_EQ(board.CheckMove(1, 2), chess::kRefusedMove);
  EXPECT_TRUE(board.IsOnBoard(0, 0));
  EXPECT_FALSE(board.IsOnBoard(8, 0));
  EXPECT_TRUE(board.IsPassPoint(90, 0));
  EXPECT_EQ(board.CoordToLetter(0), '!');
  EXPECT_EQ(board.LetterToCoord('#'), 2);
  board.SetGameKind(kFiveInARow);
  EXPECT_TRUE(board.IsOnBoard(15, 15));
  EXPECT_FALSE(board.IsOnBoard(16, 1));
  EXPECT_TRUE(board.IsPassPoint(20, 20));
  EXPECT_FALSE(board.PlayGoMove(8, 8, false));  // Go's rules are Go's only
  EXPECT_TRUE(board.PlayMove(8, 8, false));
  EXPECT_EQ(board.CoordToLetter(1), 'A');
}

TEST(Properties, SettersRedrawOnlyOnChange) {
  LattixEngine board;
  RecordingView view;
  board.SetView(&view);
  board.SetTurn(kBlack);
  board.SetWinner(kNoWinner);
  board.SetLanguage(0);
  board.SetLanguage(3);
  board.SetLanguage(-1);
  EXPECT_TRUE(view.calls.empty());
  board.SetTurn(kWhite);
  board.SetWinner(kDraw);
  board.SetHint2("Click to play");
  board.SetLanguage(2);
  EXPECT_EQ(view.calls, (Calls{"arrow", "info 7", "invalidate"}));
  EXPECT_EQ(board.Hint(), "Click to play");
}

TEST(Properties, TimeAndMoveLimitsFillBothSides) {
  LattixEngine board;
  board.SetTimeLimit(1800);
  board.SetMoveLimit(40);
  EXPECT_EQ(board.TimeLeft(0), 1800);
  EXPECT_EQ(board.TimeLeft(1), 1800);
  EXPECT_EQ(board.MovesLeft(0), 40);
  EXPECT_EQ(board.MovesLeft(1), 40);
}

TEST(Properties, SelfSideDecidesTheUsersTurn) {
  LattixEngine board;
  EXPECT_TRUE(board.IsSelfSideToMove());
  board.SetSelfSide(1);
  EXPECT_FALSE(board.IsSelfSideToMove());
  PlayAll(board, "DD");
  EXPECT_TRUE(board.IsSelfSideToMove());
}

TEST(Properties, SetPointStoresOnlyAndKeepsTheRulesRight) {
  LattixEngine board;
  SetUpDiagram(board, ".X...\nXO...\n.X...\n", kBlack);
  RecordingView view;
  board.SetView(&view);
  board.SetPoint(2, 2, static_cast<Colour>(kWhite | 4));  // a tag on the white stone
  EXPECT_TRUE(view.calls.empty());
  EXPECT_EQ(board.GetPoint(2, 2), static_cast<Colour>(kWhite | 4));
  EXPECT_EQ(board.CheckGoMove(3, 2), 1);  // a tagged stone is still captured
  board.SetPoint(25, 3, kBlack);          // off the grid: ignored
  EXPECT_EQ(board.GetPoint(25, 3), 0);
  EXPECT_EQ(board.GetPoint(-1, 3), 0);
}

}  // namespace
}  // namespace zendra

namespace zendra {
namespace {

TEST(Arranging, AddsOneStoneWithoutReplaying) {
  LattixEngine board;
  board.SetArrangedSideP("AA");
  test::PlayAll(board, "BABB");  // black B1, white B2
  test::RecordingView view;
  board.SetView(&view);
  EXPECT_TRUE(board.ArrangeStone(3, 1, kBlack));
  EXPECT_EQ(board.ArrangedSideP(), "AACA");
  EXPECT_EQ(board.GetPoint(3, 1), kBlack);
  EXPECT_EQ(board.Label(3, 1), board.Label(2, 1));  // joins the chain it touches
  EXPECT_EQ(board.Process(), "BABB");
  EXPECT_EQ(view.calls, (std::vector<std::string>{"stone CA"}));
  EXPECT_FALSE(board.ArrangeStone(3, 1, kWhite));  // occupied
  EXPECT_FALSE(board.ArrangeStone(0, 1, kWhite));  // off the board
  EXPECT_TRUE(board.ArrangeStone(5, 5, kWhite));
  EXPECT_EQ(board.ArrangedSideN(), "EE");
}

TEST(Arranging, NumberedReviewMoves) {
  LattixEngine board;
  test::PlayAll(board, "DD");
  ASSERT_TRUE(board.PlayGoMove(5, 5, true));
  board.AppendNumberedMove(5, 5);
  ASSERT_TRUE(board.PlayGoMove(6, 6, true));
  board.AppendNumberedMove(6, 6);
  EXPECT_EQ(board.NumProc(), "EEFF");
  EXPECT_EQ(board.StoneNumber(5, 5), 1);
  EXPECT_EQ(board.StoneNumber(6, 6), 2);
  EXPECT_TRUE(board.Modified());
  EXPECT_EQ(board.Process(), "DDEEFF");
}

}  // namespace
}  // namespace zendra

namespace zendra {
namespace {

TEST(OtherKinds, StonesOnTheFirstRowOfAChessBoardStayInsideTheGrid) {
  // The chess kinds count from 0, so row and column 0 are on their board: set-up stones there
  // must not make the labelling read outside the grid, and Go moves are refused there.
  LattixEngine board;
  board.SetGameKind(kChess);
  board.SetArrangedSideP("!!\"!");  // (0, 0) and (1, 0) in the chess letters
  EXPECT_EQ(board.GetPoint(0, 0), kBlack);
  EXPECT_EQ(board.Label(0, 0), board.Label(1, 0));
  EXPECT_FALSE(board.PlayGoMove(0, 3, false));  // Go moves are Go's only
  EXPECT_EQ(board.CheckGoMove(0, 3), -1);
  EXPECT_EQ(board.GetPoint(0, 3), 0);
  EXPECT_EQ(board.GetPoint(0, 0), kBlack);
}

}  // namespace
}  // namespace zendra
