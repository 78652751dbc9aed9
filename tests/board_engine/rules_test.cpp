// Go rules of the board model: captures, suicide, simple ko, passes, handicap, take back and
// replay, labels. Positions are ASCII diagrams of the board's top-left corner.
#include <gtest/gtest.h>

#include "board/engine/lattix_engine.h"
#include "tests/board_engine/board_test_util.h"

namespace zendra {
namespace {

using test::Diagram;
using test::PlayAll;
using test::SetUpDiagram;

int P(const char* pt) { return LetterToCoord(pt[0]); }
int Q(const char* pt) { return LetterToCoord(pt[1]); }

// ---- Side functions and letters -----------------------------------------------------------------

TEST(SideFunctions, FollowTheSign) {
  EXPECT_EQ(Opponent(kBlack), kWhite);
  EXPECT_EQ(Opponent(kWhite), kBlack);
  EXPECT_EQ(Opponent(0), 0);
  EXPECT_EQ(Opponent(3), kWhite);  // a dead black stone is still black
  EXPECT_TRUE(SameSide(1, 3));
  EXPECT_FALSE(SameSide(1, 0));
  EXPECT_TRUE(OppositeSides(-125, 1));
  EXPECT_FALSE(OppositeSides(0, -127));
  EXPECT_EQ(ColourIndex(kBlack), 0);
  EXPECT_EQ(ColourIndex(kWhite), 1);
  EXPECT_EQ(ColourIndex(0), 1);
  EXPECT_EQ(SideColour(0), kBlack);
  EXPECT_EQ(SideColour(1), kWhite);
  EXPECT_EQ(SideColour(-3), kWhite);
}

TEST(PointLetters, DecodeAndEncodePerKind) {
  EXPECT_EQ(LetterToCoord('A'), 1);
  EXPECT_EQ(LetterToCoord('S'), 19);
  EXPECT_EQ(LetterToCoord('T'), 20);
  EXPECT_EQ(LetterToCoord('c'), 35);  // lower case names no point
  EXPECT_EQ(LetterToCoord('@'), 0);
  EXPECT_EQ(CoordToLetter(4), 'D');
  EXPECT_EQ(LetterToCoord('!', kChess), 0);
  EXPECT_EQ(CoordToLetter(7, kChineseChess), '(');
  EXPECT_EQ(LetterToCoord(static_cast<char>(0xC8)), 200 - 64);  // high bytes stay positive
  EXPECT_TRUE(IsPassString("TT"));
  EXPECT_FALSE(IsPassString("tt"));
  EXPECT_FALSE(IsPassString("TTT"));
}

// ---- Captures, suicide and ko -------------------------------------------------------------------

struct MoveCase {
  const char* name;
  const char* before;    // diagram of the corner
  Colour toMove;
  const char* move;      // two letters
  bool legal;
  int captures;          // LastCaptures after the move when legal
  const char* after;     // diagram after the move (the same corner), when legal
};

class MoveTable : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveTable, PlaysOrRefuses) {
  const MoveCase& c = GetParam();
  LattixEngine board;
  SetUpDiagram(board, c.before, c.toMove);
  const std::string rows = c.before;
  const int height = static_cast<int>(std::count(rows.begin(), rows.end(), '\n'));
  const std::string beforeDiagram = Diagram(board);
  const int check = board.CheckGoMove(P(c.move), Q(c.move));
  const bool played = board.PlayGoMove(P(c.move), Q(c.move), false);
  EXPECT_EQ(played, c.legal);
  EXPECT_EQ(check, c.legal ? c.captures : -1) << "CheckGoMove disagrees with PlayGoMove";
  if (!c.legal) {
    EXPECT_EQ(Diagram(board), beforeDiagram);
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.NextMove(), 1);
    EXPECT_EQ(board.Turn(), c.toMove);
    return;
  }
  EXPECT_EQ(board.LastCaptures(), c.captures);
  EXPECT_EQ(board.Process(), c.move);
  EXPECT_EQ(board.Turn(), Opponent(c.toMove));
  std::string expected, got = Diagram(board, 5, height);
  for (char ch : std::string(c.after))
    if (ch != ' ') expected += ch;
  EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MoveTable,
    ::testing::Values(
        MoveCase{"CaptureOne", ".X...\nXO...\n.X...\n", kBlack, "CB", true, 1,
                 ".X...\nX.X..\n.X...\n"},
        MoveCase{"CaptureCornerStone", "O....\nX....\n", kBlack, "BA", true, 1,
                 ".X...\nX....\n"},
        MoveCase{"SuicideSingle", ".X...\nX....\n", kWhite, "AA", false, 0, ""},
        MoveCase{"SuicideChain", "O.X..\nOXX..\nX....\n", kWhite, "BA", false, 0, ""},
        MoveCase{"LastLibertyCaptures", "O.XO.\nOXO..\nXO...\n.O...\n", kWhite, "BA", true, 2,
                 "OO.O.\nO.O..\nXO...\n.O...\n"},
        MoveCase{"CapturesThreeChains", ".O.O.\nOX.XO\n.OXO.\n..O..\n", kWhite, "CB", true, 3,
                 ".O.O.\nO.O.O\n.O.O.\n..O..\n"},
        MoveCase{"Occupied", "X....\n", kWhite, "AA", false, 0, ""},
        MoveCase{"OffBoardLowerCase", ".....\n", kBlack, "cd", false, 0, ""},
        MoveCase{"OffBoardZero", ".....\n", kBlack, "@A", false, 0, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Rules, CaptureCountsEveryStoneTaken) {
  LattixEngine board;
  SetUpDiagram(board,
               "XXO..\n"
               "OOO..\n"
               ".....\n",
               kWhite);
  // White's stones already surround the black pair: it has no liberty. It stays on the board
  // until the other side next plays a legal stone anywhere, which takes it off.
  EXPECT_EQ(board.GetPoint(1, 1), kBlack);
  ASSERT_TRUE(board.PlayGoMove(10, 10, false));
  EXPECT_EQ(board.LastCaptures(), 2);
  EXPECT_EQ(Diagram(board, 5, 3), "..O..\nOOO..\n.....\n");
}

TEST(Rules, OwnChainWithoutLibertiesStays) {
  LattixEngine board;
  SetUpDiagram(board, "XXO..\nOOO..\n", kBlack);
  ASSERT_TRUE(board.PlayGoMove(10, 10, false));
  EXPECT_EQ(board.LastCaptures(), 0);
  EXPECT_EQ(Diagram(board, 3, 1), "XXO\n");
}

TEST(Ko, ImmediateRetakeIsRefusedUntilAnotherMove) {
  const char* position =
      ".XO..\n"
      "XO.O.\n"
      ".XO..\n";
  for (const char* between : {"", "TT", "KK"}) {
    SCOPED_TRACE(std::string("between: ") + between);
    LattixEngine board;
    SetUpDiagram(board, position, kBlack);
    ASSERT_TRUE(board.PlayGoMove(3, 2, false));  // black takes the white stone on B2
    EXPECT_EQ(board.LastCaptures(), 1);
    EXPECT_EQ(board.GetPoint(2, 2), 0);
    if (std::string(between).empty()) {
      EXPECT_EQ(board.CheckGoMove(2, 2), -1);
      EXPECT_FALSE(board.PlayGoMove(2, 2, false));  // white retakes at once: ko
      EXPECT_EQ(board.Process(), "CB");
      EXPECT_EQ(board.Turn(), kWhite);
      continue;
    }
    // A pass or any other pair of moves lifts the restriction.
    if (std::string(between) == "TT") {
      PlayAll(board, "TTTT");
    } else {
      PlayAll(board, "KKLL");
    }
    EXPECT_EQ(board.CheckGoMove(2, 2), 1);
    EXPECT_TRUE(board.PlayGoMove(2, 2, false));
    EXPECT_EQ(board.GetPoint(3, 2), 0);
  }
}

TEST(Ko, RetakeThatCapturesMoreThanOneStoneIsLegal) {
  // Black D3 takes the single white stone on C3; white's retake on C3 takes D3 and also the
  // black stone on C2 that had C3 as its last liberty: two stones, so no ko.
  LattixEngine board;
  SetUpDiagram(board,
               "..O..\n"
               ".OXO.\n"
               ".XO.O\n"
               "..XO.\n",
               kBlack);
  ASSERT_TRUE(board.PlayGoMove(4, 3, false));
  ASSERT_EQ(board.LastCaptures(), 1);
  EXPECT_EQ(board.CheckGoMove(3, 3), 2);
  ASSERT_TRUE(board.PlayGoMove(3, 3, false));
  EXPECT_EQ(board.LastCaptures(), 2);
  EXPECT_EQ(Diagram(board, 5, 4), "..O..\n.O.O.\n.XO.O\n..XO.\n");
}

TEST(Ko, SingleRetakeAfterADoubleCaptureIsLegal) {
  // Black C1 takes the two white stones A1 and B1; white B1 at once takes C1 alone. The last
  // move captured two stones, so this is no ko.
  LattixEngine board;
  SetUpDiagram(board,
               "OO.O.\n"
               "XXO..\n",
               kBlack);
  ASSERT_TRUE(board.PlayGoMove(3, 1, false));
  ASSERT_EQ(board.LastCaptures(), 2);
  ASSERT_TRUE(board.PlayGoMove(2, 1, false));
  EXPECT_EQ(board.LastCaptures(), 1);
  EXPECT_EQ(Diagram(board, 5, 2), ".O.O.\nXXO..\n");
}

// ---- Passes, limits, occupied points ------------------------------------------------------------

TEST(Pass, AppendsTTAndSwitchesTurn) {
  LattixEngine board;
  ASSERT_TRUE(board.PlayGoMove(4, 4, false));
  ASSERT_TRUE(board.PlayGoMove(kPassCoord, kPassCoord, false));
  EXPECT_EQ(board.Process(), "DDTT");
  EXPECT_EQ(board.NextMove(), 3);
  EXPECT_EQ(board.Turn(), kBlack);
  EXPECT_EQ(board.LastP(), 20);
  EXPECT_EQ(board.LastQ(), 20);
  EXPECT_EQ(board.LastCaptures(), 0);
  EXPECT_EQ(board.LastColour(), kWhite);
  EXPECT_EQ(board.CheckGoMove(20, 20), -1);  // a pass is not a checkable point
}

TEST(Limits, NextMoveNeverPassesItsRange) {
  LattixEngine board;
  std::string passes;
  for (int i = 0; i < kMaxMoves; ++i) passes += "TT";
  board.SetProcess(passes);
  EXPECT_EQ(board.NextMove(), kMaxMoves + 1);
  EXPECT_FALSE(board.PlayGoMove(20, 20, false));
  EXPECT_FALSE(board.PlayGoMove(4, 4, true));
  EXPECT_FALSE(board.Modified());
  EXPECT_EQ(board.NextMove(), kMaxMoves + 1);
  EXPECT_EQ(board.Process().size(), 2u * kMaxMoves);
  board.TakeBack();
  EXPECT_EQ(board.NextMove(), kMaxMoves);
}

TEST(Modified, OnlyLegalMovesWithDraw) {
  LattixEngine board;
  EXPECT_TRUE(board.PlayGoMove(4, 4, false));
  EXPECT_FALSE(board.Modified());
  EXPECT_TRUE(board.PlayGoMove(5, 5, true));
  EXPECT_TRUE(board.Modified());
  EXPECT_FALSE(board.PlayGoMove(5, 5, true));
  EXPECT_FALSE(board.Modified());
}

// ---- New game and handicap ----------------------------------------------------------------------

TEST(Handicap, PlacesStonesInTableOrder) {
  struct Case {
    int handicap;
    const char* points;  // expected black stones
    Colour turn;
  };
  const Case cases[] = {
      {0, "", kBlack},
      {1, "", kBlack},
      {2, "DDPP", kWhite},
      {3, "DDPPDP", kWhite},
      {4, "DDPPDPPD", kWhite},
      {5, "DDPPDPPDJJ", kWhite},
      {6, "DDPPDPPDDJPJ", kWhite},
      {7, "DDPPDPPDDJPJJJ", kWhite},
      {8, "DDPPDPPDDJPJJDJP", kWhite},
      {9, "DDPPDPPDDJPJJDJPJJ", kWhite},
      {10, "", kBlack},
      {-2, "", kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.handicap);
    LattixEngine board;
    board.SetHandicap(static_cast<int8_t>(c.handicap));
    board.NewGame(false);
    std::string stones;
    for (int p = 1; p <= 19; ++p)
      for (int q = 1; q <= 19; ++q)
        if (board.GetPoint(p, q) != 0) stones += PointLetters(p, q);
    std::string expected;
    for (std::size_t i = 0; i < std::string(c.points).size(); i += 2)
      expected += std::string(c.points).substr(i, 2);
    // Compare as sets: the scan above is column-major.
    std::sort(stones.begin(), stones.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stones, expected);
    EXPECT_EQ(board.Turn(), c.turn);
    EXPECT_EQ(board.Process(), "");
  }
}

TEST(Handicap, LabelsFollowTheTableAndCentreTakesTheHandicap) {
  LattixEngine board;
  board.SetHandicap(5);
  board.NewGame(false);
  EXPECT_EQ(board.Label(4, 4), 1);
  EXPECT_EQ(board.Label(16, 16), 2);
  EXPECT_EQ(board.Label(4, 16), 3);
  EXPECT_EQ(board.Label(16, 4), 4);
  EXPECT_EQ(board.Label(10, 10), 5);
}

TEST(Handicap, WithoutRuleFirstToPlayMoves) {
  LattixEngine board;
  board.SetFirstToPlayByRule(false);
  board.SetFirstToPlay(kBlack);
  board.SetHandicap(3);
  board.NewGame(false);
  EXPECT_EQ(board.Turn(), kBlack);
}

TEST(Handicap, SetterAddsStonesAtOnceAndSetsKomi) {
  LattixEngine board;
  board.SetHandicap(4);
  EXPECT_EQ(board.GetPoint(16, 4), kBlack);
  EXPECT_EQ(board.Atone(), 8);
  board.SetHandicap(1);
  EXPECT_EQ(board.Atone(), 0);
  board.SetHandicap(0);
  EXPECT_EQ(board.Atone(), 11);
  EXPECT_EQ(board.GetPoint(16, 4), kBlack);  // stays until the next new game
  board.NewGame(false);
  EXPECT_EQ(board.GetPoint(16, 4), 0);
}

TEST(NewGame, ClearsMovesMarksAndResult) {
  LattixEngine board;
  PlayAll(board, "DDPP");
  board.SetStoneNumber(4, 4, 7);
  board.SetMarkColor(5, 5, 255);
  board.SetWinner(kBlackWon);
  board.SetGameOver(true);
  board.SetBaseNum(3);
  board.NewGame(false);
  EXPECT_EQ(board.Process(), "");
  EXPECT_EQ(board.NextMove(), 1);
  EXPECT_EQ(board.LastP(), 0);
  EXPECT_EQ(board.LastColour(), 0);
  EXPECT_EQ(board.StoneNumber(4, 4), 0);
  EXPECT_EQ(board.MarkColor(5, 5), 0u);
  EXPECT_EQ(board.Winner(), kNoWinner);
  EXPECT_FALSE(board.GameOver());
  EXPECT_EQ(board.BaseNum(), 1);
  EXPECT_EQ(board.GetPoint(4, 4), 0);
}

TEST(NewGame, ReviewKeepsWinnerAndGameOver) {
  LattixEngine board;
  board.SetWinner(kWhiteWon);
  board.SetGameOver(true);
  board.SetReview(true);
  board.NewGame(false);
  EXPECT_EQ(board.Winner(), kWhiteWon);
  EXPECT_TRUE(board.GameOver());
}

// ---- Take back and replay -----------------------------------------------------------------------

TEST(TakeBack, BringsCapturedStonesBack) {
  LattixEngine board;
  SetUpDiagram(board, ".XO..\nXO...\n.X...\n", kBlack);
  const std::string initial = Diagram(board);
  ASSERT_TRUE(board.PlayGoMove(3, 2, false));  // C2 captures B2
  EXPECT_EQ(board.GetPoint(2, 2), 0);
  board.TakeBack();
  EXPECT_EQ(Diagram(board), initial);
  EXPECT_EQ(board.Process(), "");
  EXPECT_EQ(board.NextMove(), 1);
  EXPECT_EQ(board.Turn(), kBlack);
  board.TakeBack();  // nothing to take back: the initial position again
  EXPECT_EQ(Diagram(board), initial);
}

TEST(GoToMove, BeyondTheSourceGivesTheInitialPosition) {
  LattixEngine board;
  PlayAll(board, "DDPPDP");
  board.GoToMove(5, false);
  EXPECT_EQ(board.Process(), "");
  EXPECT_EQ(board.GetPoint(4, 4), 0);
  board.SetGivenProcess("DDPPDP");
  board.GoToMove(2, true);
  EXPECT_EQ(board.Process(), "DDPP");
  EXPECT_EQ(board.Turn(), kBlack);
  board.GoToMove(0, true);
  EXPECT_EQ(board.Process(), "");
  board.GoToMove(-3, true);
  EXPECT_EQ(board.Process(), "");
}

TEST(GoToMove, SkipsIllegalMovesSilently) {
  LattixEngine board;
  board.SetGivenProcess("DDDDPP");  // the second move is on an occupied point
  board.GoToMove(3, true);
  EXPECT_EQ(board.Process(), "DDPP");
  EXPECT_EQ(board.GetPoint(16, 16), kWhite);  // PP is now played by white
}

// ---- Labels -------------------------------------------------------------------------------------

TEST(Labels, WorkedExampleMergesAndPicksSmallestFree) {
  LattixEngine board;
  board.SetTurn(kBlack);
  ASSERT_TRUE(board.PlayGoMove(3, 3, false));
  board.SetTurn(kBlack);
  ASSERT_TRUE(board.PlayGoMove(3, 5, false));
  EXPECT_EQ(board.Label(3, 3), 1);
  EXPECT_EQ(board.Label(3, 5), 2);
  board.SetTurn(kBlack);
  ASSERT_TRUE(board.PlayGoMove(3, 4, false));
  EXPECT_EQ(board.Label(3, 4), 1);
  EXPECT_EQ(board.Label(3, 5), 1);
  board.SetTurn(kWhite);
  ASSERT_TRUE(board.PlayGoMove(10, 10, false));
  EXPECT_EQ(board.Label(10, 10), 2);  // 2 is free again after the merge
}

TEST(Labels, ReferenceRulesGiveTheSameLabels) {
  const std::string moves = "DDPPDPPDDQCQCPDOEPEQFQBQBPBRCRCSDSBSARAQ";
  LattixEngine fast, reference;
  reference.SetReferenceRules(true);
  for (std::size_t i = 0; i < moves.size(); i += 2) {
    const int p = LetterToCoord(moves[i]), q = LetterToCoord(moves[i + 1]);
    ASSERT_EQ(fast.PlayGoMove(p, q, false), reference.PlayGoMove(p, q, false)) << i / 2;
    for (int pp = 1; pp <= 19; ++pp)
      for (int qq = 1; qq <= 19; ++qq) ASSERT_EQ(fast.Label(pp, qq), reference.Label(pp, qq));
  }
  EXPECT_EQ(fast.Process(), reference.Process());
}

}  // namespace
}  // namespace zendra

namespace zendra {
namespace {

TEST(Labels, OverwrittenSetupStoneSplitsTheChainItCuts) {
  // White B1 overwrites the middle of the black chain A1-B1-C1. The two black pieces are
  // separate chains: A1 has no liberty and goes at white's next stone, C1 keeps its own.
  LattixEngine board;
  board.SetArrangedSideP("AABACA");
  board.SetArrangedSideN("BAAB");
  board.SetFirstToPlay(kWhite);
  board.NewGame(false);
  EXPECT_NE(board.Label(1, 1), board.Label(3, 1));
  ASSERT_TRUE(board.PlayGoMove(10, 10, false));
  EXPECT_EQ(board.LastCaptures(), 1);
  EXPECT_EQ(test::Diagram(board, 4, 2), ".OX.\nO...\n");
}

TEST(Labels, TakingAJoiningSetupStoneAwaySplitsTheChain) {
  // Black has played A1 and C1; a set-up stone on B1 joins them into one chain, and taking
  // that set-up stone away again leaves two chains that must not share a label.
  LattixEngine board;
  board.SetProcess("AASSCA");
  board.SetArrangedSideP("BA");
  ASSERT_EQ(board.Label(1, 1), board.Label(3, 1));
  board.SetArrangedSideP("");
  EXPECT_EQ(board.GetPoint(2, 1), 0);
  EXPECT_NE(board.Label(1, 1), board.Label(3, 1));
}

}  // namespace
}  // namespace zendra
