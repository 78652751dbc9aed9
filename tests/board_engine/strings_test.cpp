// Position and move-sequence strings: set-up strings, InitialProc, Process, NumProc.
#include <gtest/gtest.h>

#include "board/engine/lattix_engine.h"
#include "tests/board_engine/board_test_util.h"

namespace zendra {
namespace {

using test::Diagram;
using test::PlayAll;
using test::RecordingView;

int Stones(const LattixEngine& board, Colour side) {
  int n = 0;
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) n += SameSide(board.GetPoint(p, q), side);
  return n;
}

TEST(SetupStrings, PlaceSkipAndAbsorb) {
  struct Case {
    const char* name;
    const char* black;
    const char* white;
    const char* corner;  // 6 x 4 corner afterwards
  };
  const Case cases[] = {
      {"ThreeInARow", "CCDCEC", "", "......\n......\n..XXX.\n......\n"},
      {"OddLengthIsInert", "CCDCE", "AA", "O.....\n......\n......\n......\n"},
      {"LowerCaseSkipped", "cdBB", "", "......\n.X....\n......\n......\n"},
      {"PassSkipped", "TTAB", "", "......\nX.....\n......\n......\n"},
      {"RepeatedPointsHarmless", "BBBBBB", "", "......\n.X....\n......\n......\n"},
      {"WhiteOverwritesBlack", "AABA", "AA", "OX....\n......\n......\n......\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LattixEngine board;
    board.SetArrangedSideP(c.black);
    board.SetArrangedSideN(c.white);
    EXPECT_EQ(board.ArrangedSideP(), c.black);  // stored whatever its form
    EXPECT_EQ(Diagram(board, 6, 4), c.corner);
    board.NewGame(false);  // a new game applies the same strings the same way
    EXPECT_EQ(Diagram(board, 6, 4), c.corner);
  }
}

TEST(SetupStrings, ReplacingTakesOldStonesAwayWithoutNewGame) {
  LattixEngine board;
  PlayAll(board, "QQ");
  board.SetArrangedSideP("AABB");
  EXPECT_EQ(board.GetPoint(1, 1), kBlack);
  EXPECT_EQ(board.Process(), "QQ");  // no new game
  EXPECT_EQ(board.NextMove(), 2);
  board.SetArrangedSideP("CC");
  EXPECT_EQ(board.GetPoint(1, 1), 0);
  EXPECT_EQ(board.GetPoint(2, 2), 0);
  EXPECT_EQ(board.GetPoint(3, 3), kBlack);
  EXPECT_EQ(board.GetPoint(17, 17), kBlack);  // the played stone is untouched
  EXPECT_GT(board.Label(3, 3), 0);
}

TEST(SetupStrings, SetterDrawsThePoints) {
  LattixEngine board;
  RecordingView view;
  board.SetView(&view);
  board.SetArrangedSideN("DD");
  EXPECT_EQ(view.calls, std::vector<std::string>{"points"});
}

TEST(SetupStrings, TwoHundredStones) {
  std::string black;
  for (int p = 1; p <= 19 && black.size() < 400; ++p)
    for (int q = 1; q <= 19 && black.size() < 400; ++q) black += PointLetters(p, q);
  ASSERT_EQ(black.size(), 400u);
  LattixEngine board;
  board.SetArrangedSideP(black);
  EXPECT_EQ(Stones(board, kBlack), 200);
}

TEST(InitialProc, SplitsAtTheFirstSpace) {
  struct Case {
    const char* value;
    const char* black;
    const char* white;
  };
  const Case cases[] = {
      {"CCDC ED", "CCDC", "ED"},
      {"CCDC", "CCDC", ""},
      {" ED", "", "ED"},
      {"AA BB CC", "AA", "BB CC"},  // further spaces stay in the white list
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    LattixEngine board;
    board.SetInitialProc(c.value);
    EXPECT_EQ(board.InitialProc(), c.value);
    EXPECT_EQ(board.ArrangedSideP(), c.black);
    EXPECT_EQ(board.ArrangedSideN(), c.white);
  }
  LattixEngine board;
  board.SetInitialProc(" ED");
  EXPECT_EQ(Stones(board, kBlack), 0);
  EXPECT_EQ(board.GetPoint(5, 4), kWhite);
  board.SetInitialProc("AA BB CC");  // odd white list: inert
  EXPECT_EQ(Stones(board, kWhite), 0);
  EXPECT_EQ(board.GetPoint(1, 1), kBlack);
}

TEST(InitialProc, LongBlackListIsStillSplit) {
  std::string black;
  for (int i = 0; i < 70; ++i) black += PointLetters(1 + i % 19, 1 + i / 19);
  LattixEngine board;
  board.SetInitialProc(black + " SS");
  EXPECT_EQ(board.ArrangedSideP(), black);
  EXPECT_EQ(board.ArrangedSideN(), "SS");
}

TEST(InitialProc, UnchangedValueDoesNothing) {
  LattixEngine board;
  board.SetInitialProc("AA BB");
  board.SetArrangedSideP("");
  board.SetInitialProc("AA BB");
  EXPECT_EQ(board.GetPoint(1, 1), 0);  // not re-applied
}

TEST(Process, WorkedExampleAndPasses) {
  LattixEngine board;
  board.SetProcess("DDPPTT");
  EXPECT_EQ(board.NextMove(), 4);
  EXPECT_EQ(board.Turn(), kWhite);
  EXPECT_EQ(board.GetPoint(4, 4), kBlack);
  EXPECT_EQ(board.GetPoint(16, 16), kWhite);
}

TEST(Process, SetterCases) {
  struct Case {
    const char* name;
    const char* before;
    const char* value;
    const char* after;
    bool modified;
  };
  const Case cases[] = {
      {"AppendOneLegal", "DD", "DDEE", "DDEE", true},
      {"AppendOccupiedRefused", "DD", "DDDD", "DD", false},
      {"AppendOffBoardIgnored", "DD", "DDee", "DD", false},
      {"AppendPass", "DD", "DDTT", "DDTT", true},
      {"OddLengthIgnored", "DD", "DDE", "DD", false},
      {"SameLengthRebuilds", "DDEE", "QQRR", "QQRR", false},
      {"EmptyRebuilds", "DDEE", "", "", false},
      {"IllegalSecondMoveDropped", "", "DDDDEE", "DDEE", false},
      {"FromEmptySingleMoveReplays", "", "DD", "DD", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LattixEngine board;
    board.SetProcess(c.before);
    board.SetModified(false);
    board.SetProcess(c.value);
    EXPECT_EQ(board.Process(), c.after);
    EXPECT_EQ(board.NextMove(), static_cast<int>(std::string(c.after).size() / 2 + 1));
    EXPECT_EQ(board.Modified(), c.modified);
  }
}

TEST(Process, DroppedMoveShiftsTheColours) {
  LattixEngine board;
  board.SetProcess("DDDDEE");
  EXPECT_EQ(board.GetPoint(5, 5), kWhite);  // EE was meant for black
}

TEST(Process, RebuildKeepsSetupAndHandicap) {
  LattixEngine board;
  board.SetHandicap(2);
  board.SetArrangedSideP("AA");
  board.NewGame(false);
  board.SetProcess("BBCC");
  board.SetProcess("");
  EXPECT_EQ(board.GetPoint(1, 1), kBlack);
  EXPECT_EQ(board.GetPoint(4, 4), kBlack);
  EXPECT_EQ(board.GetPoint(2, 2), 0);
  EXPECT_EQ(board.Turn(), kWhite);
}

TEST(Process, TwentyThousandMovesOfGarbage) {
  std::string moves;
  unsigned x = 12345;
  for (int i = 0; i < 20000; ++i) {
    x = x * 1103515245u + 12345u;
    moves += static_cast<char>('@' + (x >> 16) % 22);
    moves += static_cast<char>('@' + (x >> 8) % 22);
  }
  LattixEngine board;
  board.SetProcess(moves);
  EXPECT_EQ(board.Process().size(), 2u * (board.NextMove() - 1));
  EXPECT_LE(board.Process().size(), moves.size());
}

// ---- Numbered continuation --------------------------------------------------------------------

TEST(NumProc, ExtendShortenAndReplace) {
  LattixEngine board;
  PlayAll(board, "DDPP");
  board.SetBaseNum(board.NextMove());
  board.SetNumProc("QQRR");
  EXPECT_EQ(board.Process(), "DDPPQQRR");
  EXPECT_EQ(board.StoneNumber(17, 17), 1);
  EXPECT_EQ(board.StoneNumber(18, 18), 2);
  EXPECT_EQ(board.StoneNumber(4, 4), 0);

  board.SetNumProc("QQRRSS");  // extended: only SS is played
  EXPECT_EQ(board.Process(), "DDPPQQRRSS");
  EXPECT_EQ(board.StoneNumber(19, 19), 3);

  board.SetNumProc("QQ");  // shortened: back to move 3, then QQ again
  EXPECT_EQ(board.Process(), "DDPPQQ");
  EXPECT_EQ(board.StoneNumber(17, 17), 1);
  EXPECT_EQ(board.StoneNumber(18, 18), 0);
  EXPECT_EQ(board.GetPoint(19, 19), 0);
  EXPECT_EQ(board.BaseNum(), 3);  // the numbering still starts at move 3

  board.SetNumProc("");  // shortened again after the first shortening keeps the base
  board.SetNumProc("AA");
  EXPECT_EQ(board.Process(), "DDPPAA");
  EXPECT_EQ(board.StoneNumber(1, 1), 1);

  board.SetNumProc("");
  EXPECT_EQ(board.StoneNumber(1, 1), 0);
  EXPECT_EQ(board.NumProc(), "");
}

TEST(NumProc, ShorteningTwiceReplaysFromTheBase) {
  LattixEngine board;
  PlayAll(board, "DDPP");
  board.SetBaseNum(3);
  board.SetNumProc("QQRRSS");
  board.SetNumProc("QQRR");
  board.SetNumProc("QQ");
  EXPECT_EQ(board.Process(), "DDPPQQ");
  EXPECT_EQ(board.GetPoint(4, 4), kBlack);
}

TEST(NumProc, ReplaceCutsTheGameBackToTheBase) {
  LattixEngine board;
  PlayAll(board, "DDPPQQ");
  board.SetBaseNum(2);
  board.SetNumProc("EE");
  EXPECT_EQ(board.Process(), "DDEE");
  EXPECT_EQ(board.GetPoint(16, 16), 0);
  EXPECT_EQ(board.GetPoint(5, 5), kWhite);
  EXPECT_EQ(board.StoneNumber(5, 5), 1);
  EXPECT_EQ(board.NextMove(), 3);
}

TEST(NumProc, IllegalMovesAreNotNumberedAndBaseBeyondTheGameDoesNothing) {
  LattixEngine board;
  PlayAll(board, "DD");
  board.SetBaseNum(2);
  board.SetNumProc("DDEE");  // DD is occupied: EE is numbered 2
  EXPECT_EQ(board.StoneNumber(4, 4), 0);
  EXPECT_EQ(board.StoneNumber(5, 5), 2);
  LattixEngine other;
  other.SetBaseNum(5);
  other.SetNumProc("EE");
  EXPECT_EQ(other.Process(), "");
  EXPECT_EQ(other.NumProc(), "EE");
}

}  // namespace
}  // namespace zendra
