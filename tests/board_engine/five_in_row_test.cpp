// Five-in-a-row: black's forbidden points on small diagrams (the shapes a naive count of
// stones in a line gets wrong among them), and the board's rules: the first move on the
// centre, five wins, the `Handicap` thresholds, the opening exchange and taking it back.
#include "board/engine/five_in_row.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "tests/board_engine/board_test_util.h"

namespace zendra {
namespace {

using five::Forbidden;

// ---- Diagrams ---------------------------------------------------------------------------------

// Diagrams of the top-left corner of the 15 x 15 board: 'X' black, 'O' white, '.' empty, '*'
// the point asked about.
using Diagram = test::DiagramStones;
using test::ReadDiagram;

five::Position PositionOf(const Diagram& d) {
  five::Position position(15, 15);
  for (std::size_t i = 0; i + 1 < d.black.size(); i += 2)
    position.Set(LetterToCoord(d.black[i]), LetterToCoord(d.black[i + 1]), five::kBlack);
  for (std::size_t i = 0; i + 1 < d.white.size(); i += 2)
    position.Set(LetterToCoord(d.white[i]), LetterToCoord(d.white[i + 1]), five::kWhite);
  return position;
}

// A five-in-a-row board with the diagram's stones as set-up stones, black's first move on the
// centre played, and then `toMove` to move (a white pass first when it is black). The diagrams
// stay clear of the centre.
void SetUpBoard(LattixEngine& board, const Diagram& d, Colour toMove, int8_t handicap) {
  board.SetGameKind(kFiveInARow);
  board.SetHandicap(handicap);
  board.SetArrangedSideP(d.black);
  board.SetArrangedSideN(d.white);
  board.NewGame(false);
  board.SetProcess(toMove == kBlack ? "HHTT" : "HH");
  ASSERT_EQ(board.Turn(), toMove);
}

// ---- Forbidden points -------------------------------------------------------------------------

struct ShapeCase {
  const char* name;
  const char* diagram;
  Forbidden verdict;
  int fours, threes;
};

const ShapeCase kShapes[] = {
    {"open threes across: double three",
     ". . . . . . . .\n"
     ". . . . . . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . X X * . . .\n"
     ". . . . . . . .\n"
     ". . . . . . . .\n",
     Forbidden::kDoubleThree, 0, 2},
    {"split three and open three: double three",
     ". . . . . . . . .\n"
     ". . . . . . . . .\n"
     ". . . . . X . . .\n"
     ". . . . . . . . .\n"
     ". . . . . X . . .\n"
     ". . X X . * . . .\n"
     ". . . . . . . . .\n"
     ". . . . . . . . .\n",
     Forbidden::kDoubleThree, 0, 2},
    // White two points to the left: the only straight four is made at the far end, three
    // points from the stone.
    {"three made straight at its far end: double three",
     ". . . . . . . . .\n"
     ". . . . . . . . .\n"
     ". . . X . . . . .\n"
     ". . . X . . . . .\n"
     ". O . * X X . . .\n"
     ". . . . . . . . .\n"
     ". . . . . . . . .\n",
     Forbidden::kDoubleThree, 0, 2},
    // A naive count sees three in a row across; but white stands right beside them,
    // so no move makes a straight four there: one three only.
    {"three against white: not a three",
     ". . . . . . . .\n"
     ". . . . . . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". O X X * . . .\n"
     ". . . . . . . .\n"
     ". . . . . . . .\n",
     Forbidden::kNone, 0, 1},
    // .XXX. with white two points away on both sides: either extension leaves a four with one
    // end at white, never a straight four.
    {"open-looking three between distant whites: not a three",
     ". . . . . . . . .\n"
     ". . . . . . . . .\n"
     ". . . . . X . . .\n"
     ". . . . . X . . .\n"
     ". O . X X * . O .\n"
     ". . . . . . . . .\n"
     ". . . . . . . . .\n",
     Forbidden::kNone, 0, 1},
    // Black stones four points away on both sides: each extension makes a four whose outer
    // end would give six, not five.
    {"three whose straight four would be an overline: not a three",
     ". . . . . . . . . . .\n"
     ". . . . . . . . . . .\n"
     ". . . . . . X . . . .\n"
     ". . . . . . X . . . .\n"
     ". X . . X X * . . X .\n"
     ". . . . . . . . . . .\n"
     ". . . . . . . . . . .\n",
     Forbidden::kNone, 0, 1},
    // The only point that makes row 5 a straight four is (6, 5), right of the stone (white
    // closes the row on the left), and black may not play (6, 5): it would make six down
    // column 6. Row 5 is therefore no three, and the move makes one three (down column 5).
    {"three whose straight-four point is itself forbidden: not a three",
     ". . . . . . . . . . .\n"
     ". . . . . X . . . . .\n"
     ". . . . . X . . . . .\n"
     ". . . . . X . . . . .\n"
     "O . X X * . . . . . .\n"
     ". . . . X X . . . . .\n"
     ". . . . X X . . . . .\n"
     ". . . . . . . . . . .\n"
     ". . . . . . . . . . .\n",
     Forbidden::kNone, 0, 1},
    {"four and open three: allowed",
     ". . . . . . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . . . . . . .\n"
     ". X X X * . . .\n"
     ". . . . . . . .\n",
     Forbidden::kNone, 1, 1},
    {"two fours across: double four",
     ". . . . . . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". X X X * . . .\n"
     ". . . . . . . .\n",
     Forbidden::kDoubleFour, 2, 0},
    // Both fours are closed at one end by white; a closed four is still a four.
    {"two closed fours: double four",
     ". . . . O . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     "O X X X * . . .\n"
     ". . . . . . . .\n",
     Forbidden::kDoubleFour, 2, 0},
    // X.XXX.X: both gaps make five, and each five uses other stones: two fours on one line,
    // which a count of one four per line misses.
    {"X.XXX.X on one line: double four",
     ". . . . . . . . .\n"
     "X . X X * . X . .\n"
     ". . . . . . . . .\n",
     Forbidden::kDoubleFour, 2, 0},
    {"XX.X*.XX on one line: double four",
     ". . . . . . . . . .\n"
     "X X . X * . X X . .\n"
     ". . . . . . . . . .\n",
     Forbidden::kDoubleFour, 2, 0},
    // A straight four has two points that make five, but it is one four.
    {"straight four: one four",
     ". . . . . . . .\n"
     ". . X X X * . .\n"
     ". . . . . . . .\n",
     Forbidden::kNone, 1, 0},
    {"six in a row: overline",
     ". . . . . . . . .\n"
     ". X X X * X X . .\n"
     ". . . . . . . . .\n",
     Forbidden::kOverline, 0, 0},
    // Exactly five on one line wins for black, whatever else the stone makes.
    {"five with a four across: five",
     ". . . . . . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     "X X X X * . . .\n"
     ". . . . . . . .\n",
     Forbidden::kNone, 1, 0},
    {"five with an overline across: five",
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     ". . . . X . . .\n"
     "X X X X * . . .\n"
     ". . . . X . . .\n",
     Forbidden::kNone, 0, 0},
};

TEST(FiveInRowShapes, ForbiddenPointsFollowTheRenjuDefinitions) {
  for (const ShapeCase& c : kShapes) {
    SCOPED_TRACE(c.name);
    const Diagram d = ReadDiagram(c.diagram);
    ASSERT_GT(d.p, 0) << "no '*' in the diagram";
    five::Position position = PositionOf(d);
    EXPECT_EQ(position.BlackForbidden(d.p, d.q), c.verdict);
    const five::Position::Shape shape = position.BlackShape(d.p, d.q);
    EXPECT_EQ(shape.fours, c.fours);
    EXPECT_EQ(shape.threes, c.threes);
    // The analysis leaves the position as it was.
    EXPECT_EQ(position.At(d.p, d.q), five::kEmpty);
  }
}

TEST(FiveInRowShapes, FivesCountExactlyOrAtLeast) {
  five::Position position(15, 15);
  for (int p : {1, 2, 3, 4, 6}) position.Set(p, 3, five::kBlack);  // X X X X * X
  EXPECT_FALSE(position.MakesFive(5, 3, five::kBlack, true));      // six: no exact five
  EXPECT_TRUE(position.MakesFive(5, 3, five::kBlack, false));
  for (int q : {1, 2, 3, 4}) position.Set(10, q, five::kWhite);
  EXPECT_TRUE(position.MakesFive(10, 5, five::kWhite, true));
  EXPECT_FALSE(position.MakesFive(10, 6, five::kWhite, false));
  EXPECT_FALSE(position.MakesFive(16, 1, five::kWhite, false));  // off the board
}

// ---- The board's rules ------------------------------------------------------------------------

// Records what a board reports: events and message boxes, one line each.
struct Reports : LattixView {
  std::vector<std::string> lines;

  void ShowMessage(const std::string& text) override { lines.push_back("message " + text); }

  void Watch(LattixEngine& board) {
    board.SetView(this);
    auto move = [this](const char* name) {
      return [this, name](LattixEngine*, int16_t p, int16_t q, int16_t kind, int16_t promoted,
                          bool review) {
        lines.push_back(std::string(name) + " " + std::to_string(p) + "," + std::to_string(q) +
                        " " + std::to_string(kind) + " " + std::to_string(promoted) +
                        (review ? " review" : ""));
      };
    };
    board.OnFirstMoveNot88 = move("first");
    board.OnSymmetricalPoint = move("symmetrical");
    board.OnWinnerGot = [this](LattixEngine*, int16_t winner, int16_t reason, bool) {
      lines.push_back("winner " + std::to_string(winner) + " " + std::to_string(reason));
    };
    board.OnFifthMoveDone = [this](LattixEngine*, bool) { lines.push_back("fifth"); };
    board.OnExtraMoveDone = [this](LattixEngine*, bool) { lines.push_back("extra"); };
  }
};
using Lines = std::vector<std::string>;

TEST(FiveInRowRules, FirstMoveMustBeTheCentre) {
  LattixEngine board;
  Reports reports;
  reports.Watch(board);
  board.SetGameKind(kFiveInARow);
  const std::pair<int, int> refused[] = {{1, 1}, {8, 9}, {9, 8}, {20, 20}, {0, 8}};
  for (const auto& [p, q] : refused) {
    SCOPED_TRACE(PointLetters(p, q));
    EXPECT_FALSE(board.PlayMove(p, q, true));
    EXPECT_EQ(board.NextMove(), 1);
    EXPECT_EQ(board.GetPoint(1, 1), 0);
  }
  EXPECT_EQ(reports.lines, (Lines{"first 1,1 0 0", "first 8,9 0 0", "first 9,8 0 0",
                                  "first 20,20 0 0", "first 0,8 0 0"}));
  reports.lines.clear();
  EXPECT_TRUE(board.PlayMove(8, 8, true));
  EXPECT_EQ(board.Process(), "HH");
  EXPECT_EQ(board.GetPoint(8, 8), kBlack);
  EXPECT_EQ(board.Turn(), kWhite);
  EXPECT_TRUE(board.Modified());
  EXPECT_TRUE(reports.lines.empty());
}

TEST(FiveInRowRules, FirstMoveMessageByLanguage) {
  struct Case {
    int8_t language;
    std::string text;
  };
  // 第一手必须走天元(中心位置H8) in GB bytes.
  const std::string chinese =
      "\xB5\xDA\xD2\xBB\xCA\xD6\xB1\xD8\xD0\xEB\xD7\xDF\xCC\xEC\xD4\xAA(\xD6\xD0\xD0\xC4\xCE\xBB"
      "\xD6\xC3H8)";
  for (const Case& c : {Case{0, chinese}, Case{1, "Please drop it to point H8"},
                        Case{2, "Please drop it to point H8"}}) {
    SCOPED_TRACE(static_cast<int>(c.language));
    LattixEngine board;
    Reports reports;
    reports.Watch(board);
    board.SetGameKind(kFiveInARow);
    board.SetInteractive(true);
    board.SetLanguage(c.language);
    EXPECT_FALSE(board.PlayMove(3, 3, true));
    // The message box replaces the event.
    EXPECT_EQ(reports.lines, (Lines{"message " + c.text}));
  }
}

struct WinCase {
  const char* name;
  const char* diagram;
  Colour toMove;
  int8_t handicap;
  int8_t winner;  // kNoWinner: no result
  int8_t reason;
};

const WinCase kWins[] = {
    {"black five along a row", "XXXX*.\n", kBlack, 0, kBlackWon, 2},
    {"black five down a column", "X\nX\n*\nX\nX\n", kBlack, 1, kBlackWon, 2},
    {"black five on a diagonal",
     "X....\n"
     ".X...\n"
     "..*..\n"
     "...X.\n"
     "....X\n",
     kBlack, 5, kBlackWon, 2},
    {"white five on the other diagonal",
     "....O\n"
     "...O.\n"
     "..*..\n"
     ".O...\n"
     "O....\n",
     kWhite, 5, kWhiteWon, 2},
    {"four only", ".XXX*.\n", kBlack, 0, kNoWinner, 0},
    {"white overline wins under the rules", "OOO*OO\n", kWhite, 5, kWhiteWon, 2},
    {"black overline wins without the rules", "XXX*XX\n", kBlack, 0, kBlackWon, 2},
    {"black overline with negative rule switches", "XXX*XX\n", kBlack, -1, kBlackWon, 2},
    {"black overline under the rules loses", "XXX*XX\n", kBlack, 1, kWhiteWon, 4},
    {"black overline at 4 is no five", "XXX*XX\n", kBlack, 4, kNoWinner, 0},
};

TEST(FiveInRowRules, FiveWinsAndOverlinesByHandicap) {
  for (const WinCase& c : kWins) {
    SCOPED_TRACE(c.name);
    const Diagram d = ReadDiagram(c.diagram);
    LattixEngine board;
    SetUpBoard(board, d, c.toMove, c.handicap);
    Reports reports;
    reports.Watch(board);
    ASSERT_TRUE(board.PlayMove(d.p, d.q, true));
    EXPECT_EQ(board.Winner(), c.winner);
    if (c.winner != kNoWinner) {
      EXPECT_EQ(board.WinReason(), c.reason);
      EXPECT_EQ(reports.lines,
                (Lines{"winner " + std::to_string(c.winner) + " " + std::to_string(c.reason)}));
    } else {
      EXPECT_TRUE(reports.lines.empty());
    }
  }
}

TEST(FiveInRowRules, OverlineUnderTheRefusingRulesIsRefused) {
  const Diagram d = ReadDiagram("XXX*XX\n");
  LattixEngine board;
  SetUpBoard(board, d, kBlack, 5);
  const std::string process = board.Process();
  EXPECT_EQ(board.CheckMove(d.p, d.q), 1);
  EXPECT_FALSE(board.PlayMove(d.p, d.q, true));
  EXPECT_EQ(board.Process(), process);
  EXPECT_EQ(board.GetPoint(d.p, d.q), 0);
  EXPECT_EQ(board.Winner(), kNoWinner);
}

// One double-three point under every rule switch: below 1 there are no forbidden points, from
// 1 to 3 black plays it and loses, at 4 plays it and goes on, from 5 it is refused. White may
// play the same point under any rules.
TEST(FiveInRowRules, HandicapThresholdsOnADoubleThree) {
  const Diagram d = ReadDiagram(
      ".....\n"
      "...X.\n"
      "...X.\n"
      ".XX*.\n"
      ".....\n");
  struct Case {
    int8_t handicap;
    int check;
    bool played;
    int8_t winner;
  };
  for (const Case& c :
       {Case{-1, 0, true, kNoWinner}, Case{0, 0, true, kNoWinner}, Case{1, 1, true, kWhiteWon},
        Case{2, 1, true, kWhiteWon}, Case{3, 1, true, kWhiteWon}, Case{4, 1, true, kNoWinner},
        Case{5, 1, false, kNoWinner}, Case{6, 1, false, kNoWinner}, Case{7, 1, false, kNoWinner},
        Case{100, 1, false, kNoWinner}}) {
    SCOPED_TRACE(static_cast<int>(c.handicap));
    LattixEngine board;
    SetUpBoard(board, d, kBlack, c.handicap);
    EXPECT_EQ(board.CheckMove(d.p, d.q), c.check);
    EXPECT_EQ(board.PlayMove(d.p, d.q, false), c.played);
    EXPECT_EQ(board.GetPoint(d.p, d.q), c.played ? kBlack : 0);
    EXPECT_EQ(board.Winner(), c.winner);
    if (c.winner == kWhiteWon) {
      EXPECT_EQ(board.WinReason(), 4);
    }

    LattixEngine white;
    SetUpBoard(white,
               ReadDiagram(".....\n"
                           "...O.\n"
                           "...O.\n"
                           ".OO*.\n"
                           ".....\n"),
               kWhite, c.handicap);
    EXPECT_EQ(white.CheckMove(d.p, d.q), 0);
    EXPECT_TRUE(white.PlayMove(d.p, d.q, false));
    EXPECT_EQ(white.Winner(), kNoWinner);
  }
}

TEST(FiveInRowRules, CheckMoveAnswers) {
  LattixEngine board;
  SetUpBoard(board, ReadDiagram("X....\n"), kBlack, 1);
  EXPECT_EQ(board.CheckMove(1, 1), -1);    // occupied
  EXPECT_EQ(board.CheckMove(16, 1), -1);   // off the 15 x 15 board
  EXPECT_EQ(board.CheckMove(20, 20), -1);  // the pass
  EXPECT_EQ(board.CheckMove(3, 3), 0);
  // Moves change nothing else: the check is only a question.
  EXPECT_EQ(board.GetPoint(3, 3), 0);
  EXPECT_EQ(board.NextMove(), 3);
}

TEST(FiveInRowRules, OccupiedPointsAndPassesOutsideTheExchange) {
  LattixEngine board;
  board.SetGameKind(kFiveInARow);
  ASSERT_TRUE(board.PlayMove(8, 8, false));
  EXPECT_FALSE(board.PlayMove(8, 8, false));
  EXPECT_TRUE(board.PlayMove(20, 20, false));
  EXPECT_EQ(board.Process(), "HHTT");
  EXPECT_EQ(board.LastP(), 20);
  EXPECT_EQ(board.Turn(), kBlack);
}

// A view that records the redraws, as the widget would receive them.
struct Redraws : LattixView {
  std::vector<std::string> calls;
  void DrawStone(int p, int q) override { calls.push_back("stone " + PointLetters(p, q)); }
  void DrawEmptyPoint(int p, int q) override { calls.push_back("empty " + PointLetters(p, q)); }
  void DrawLastMoveMark(int p, int q) override { calls.push_back("mark " + PointLetters(p, q)); }
  void DrawTurnArrow() override { calls.push_back("arrow"); }
  void DrawInfoLine(InfoLine line) override {
    calls.push_back("info " + std::to_string(static_cast<int>(line)));
  }
};

TEST(FiveInRowRules, MovesRedrawLikeGoMoves) {
  LattixEngine board;
  board.SetGameKind(kFiveInARow);
  Redraws view;
  board.SetView(&view);
  ASSERT_TRUE(board.PlayMove(8, 8, true));
  ASSERT_TRUE(board.PlayMove(9, 9, true));
  EXPECT_EQ(view.calls,
            (Lines{"stone HH", "mark HH", "arrow", "stone HH", "stone II", "mark II", "arrow"}));
  // A winning move redraws the result line after the stone.
  board.SetProcess("HHAAIHABJHACKHAD");
  view.calls.clear();
  ASSERT_TRUE(board.PlayMove(12, 8, true));
  EXPECT_EQ(view.calls, (Lines{"stone AD", "stone LH", "mark LH", "arrow",
                               "info " + std::to_string(static_cast<int>(InfoLine::Result))}));
  // Taking the winning move back clears the result and redraws its line.
  view.calls.clear();
  board.TakeBack();
  EXPECT_EQ(board.Winner(), kNoWinner);
  EXPECT_NE(std::find(view.calls.begin(), view.calls.end(),
                      "info " + std::to_string(static_cast<int>(InfoLine::Result))),
            view.calls.end());
}

// ---- The opening exchange ---------------------------------------------------------------------

// The first four moves of a game whose position is symmetrical: H8, H7, H10, H11 (in the
// board's letters HH, HG, HJ, HK) lie on column 8, mirrored in that column and in row 9.
constexpr char kFourMoves[] = "HHHGHJHK";

TEST(FiveInRowExchange, CandidatesPassesAndRemoval) {
  LattixEngine board;
  Reports reports;
  reports.Watch(board);
  board.SetGameKind(kFiveInARow);
  board.SetHandicap(2);
  board.SetProcess(kFourMoves);
  ASSERT_EQ(board.NextMove(), 5);
  // Black's fifth move: white's pass is recorded with it.
  ASSERT_TRUE(board.PlayMove(10, 9, true));
  EXPECT_EQ(board.Process(), std::string(kFourMoves) + "JITT");
  EXPECT_EQ(board.NextMove(), 7);
  EXPECT_EQ(board.Turn(), kBlack);
  EXPECT_EQ(reports.lines, (Lines{"fifth"}));
  EXPECT_FALSE(board.AwaitingCandidateRemoval());
  // The second candidate: no pass, no occupied point, nothing symmetrical to the first.
  reports.lines.clear();
  EXPECT_FALSE(board.PlayMove(20, 20, true));
  EXPECT_FALSE(board.PlayMove(10, 9, true));
  EXPECT_FALSE(board.PlayMove(6, 9, true));  // the mirror image of J9's point in column 8
  EXPECT_EQ(reports.lines, (Lines{"symmetrical 6,9 0 0"}));
  reports.lines.clear();
  ASSERT_TRUE(board.PlayMove(10, 10, true));
  EXPECT_EQ(reports.lines, (Lines{"extra"}));
  EXPECT_TRUE(board.AwaitingCandidateRemoval());
  EXPECT_TRUE(board.IsRemovableCandidate(10, 9));
  EXPECT_TRUE(board.IsRemovableCandidate(10, 10));
  EXPECT_FALSE(board.IsRemovableCandidate(8, 8));
  EXPECT_EQ(board.Turn(), kWhite);
  // White takes one candidate off: only a candidate will do.
  EXPECT_FALSE(board.PlayMove(8, 8, true));  // an earlier black stone
  EXPECT_FALSE(board.PlayMove(1, 1, true));  // an empty point
  EXPECT_FALSE(board.PlayMove(20, 20, true));
  ASSERT_TRUE(board.PlayMove(10, 9, true));
  EXPECT_EQ(board.GetPoint(10, 9), 0);
  EXPECT_EQ(board.GetPoint(10, 10), kBlack);
  EXPECT_EQ(board.Process(), std::string(kFourMoves) + "JITTJJJITT");
  EXPECT_EQ(board.NextMove(), 10);
  EXPECT_EQ(board.Turn(), kWhite);
  EXPECT_FALSE(board.AwaitingCandidateRemoval());
  EXPECT_FALSE(board.IsRemovableCandidate(10, 10));
  // Play goes on as usual.
  EXPECT_TRUE(board.PlayMove(9, 9, true));
  EXPECT_EQ(board.Turn(), kBlack);
}

TEST(FiveInRowExchange, SymmetricalSecondCandidates) {
  struct Case {
    const char* name;
    const char* four;  // the first four moves
    int p5, q5;        // the first candidate
    int p7, q7;        // the second one
    bool symmetrical;
  };
  const Case cases[] = {
      // H8 H7 H10 H11: mirror images in column 8 and in row 9.
      {"mirror image in a column", kFourMoves, 10, 9, 6, 9, true},
      {"its own mirror image in a row is the point itself", kFourMoves, 10, 9, 10, 10, false},
      {"mirror in a row", kFourMoves, 10, 7, 10, 11, true},
      // Black H8, J10; white G9, J7: the diagonal mirror (x, y) -> (y, x) keeps the position.
      {"diagonal mirror image", "HHGIJJIG", 11, 8, 8, 11, true},
      {"not on the diagonal mirror", "HHGIJJIG", 11, 8, 11, 9, false},
      // Black H8, J10; white J8, H10: the half turn about I9 and both diagonal mirrors.
      {"half turn", "HHJHJJHJ", 11, 9, 7, 9, true},
      {"diagonal mirror of a half-turn position", "HHJHJJHJ", 11, 9, 9, 7, true},
      {"other diagonal mirror", "HHJHJJHJ", 11, 9, 9, 11, true},
      {"no symmetry takes the point there", "HHJHJJHJ", 11, 9, 11, 10, false},
      // Black H8, I8; white I9, K10: nothing but the identity keeps the position.
      {"asymmetrical position", "HHIIIHJJ", 11, 8, 5, 8, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LattixEngine board;
    Reports reports;
    reports.Watch(board);
    board.SetGameKind(kFiveInARow);
    board.SetHandicap(6);
    board.SetProcess(c.four);
    ASSERT_EQ(board.NextMove(), 5);
    ASSERT_TRUE(board.PlayMove(c.p5, c.q5, false));
    reports.lines.clear();
    EXPECT_EQ(board.PlayMove(c.p7, c.q7, false), !c.symmetrical);
    if (c.symmetrical)
      EXPECT_EQ(reports.lines, (Lines{"symmetrical " + std::to_string(c.p7) + "," +
                                      std::to_string(c.q7) + " 0 0"}));
    else
      EXPECT_EQ(reports.lines, (Lines{"extra"}));
  }
}

TEST(FiveInRowExchange, SymmetricalMessageByLanguage) {
  for (int8_t language : {0, 1, 2}) {
    SCOPED_TRACE(static_cast<int>(language));
    LattixEngine board;
    Reports reports;
    reports.Watch(board);
    board.SetGameKind(kFiveInARow);
    board.SetHandicap(2);
    board.SetInteractive(true);
    board.SetLanguage(language);
    board.SetProcess(kFourMoves);
    ASSERT_TRUE(board.PlayMove(10, 9, false));
    reports.lines.clear();
    EXPECT_FALSE(board.PlayMove(6, 9, false));
    // 对称点不允许走 in GB bytes.
    const std::string text = language == 0
                                 ? "\xB6\xD4\xB3\xC6\xB5\xE3\xB2\xBB\xD4\xCA\xD0\xED\xD7\xDF"
                                 : "Symmetrical point not allowed";
    EXPECT_EQ(reports.lines, (Lines{"message " + text}));
  }
}

TEST(FiveInRowExchange, WithoutTheExchangeBitTheFifthMoveIsPlain) {
  for (int8_t handicap : {0, 1, 4, 5}) {
    SCOPED_TRACE(static_cast<int>(handicap));
    LattixEngine board;
    Reports reports;
    reports.Watch(board);
    board.SetGameKind(kFiveInARow);
    board.SetHandicap(handicap);
    board.SetProcess(kFourMoves);
    ASSERT_TRUE(board.PlayMove(10, 9, false));
    EXPECT_EQ(board.NextMove(), 6);
    EXPECT_EQ(board.Turn(), kWhite);
    EXPECT_TRUE(reports.lines.empty());
    EXPECT_TRUE(board.PlayMove(6, 9, false));  // white may play anywhere
  }
}

// The whole exchange and two more moves: 5 the first candidate J9, 6 white's pass, 7 the
// second candidate J10, 8 white takes J9 off, 9 black's pass, 10 white A1, 11 black O15.
constexpr char kExchangeGame[] = "HHHGHJHKJITTJJJITTAAOO";

TEST(FiveInRowExchange, TakeBackStepsOverTheExchange) {
  struct Case {
    int moves;       // moves replayed from the game above
    int afterMoves;  // moves left after TakeBack
  };
  for (const Case& c : {Case{11, 10}, Case{10, 9}, Case{9, 6}, Case{8, 6}, Case{7, 4}, Case{6, 4},
                        Case{5, 4}, Case{4, 3}, Case{1, 0}}) {
    SCOPED_TRACE(c.moves);
    LattixEngine board;
    Reports reports;
    reports.Watch(board);
    board.SetGameKind(kFiveInARow);
    board.SetHandicap(2);
    board.SetProcess(std::string(kExchangeGame).substr(0, 2 * c.moves));
    ASSERT_EQ(board.NextMove(), c.moves + 1);
    board.TakeBack();
    EXPECT_EQ(board.NextMove(), c.afterMoves + 1);
    EXPECT_EQ(board.Process(), std::string(kExchangeGame).substr(0, 2 * c.afterMoves));
    // Replays are silent: no exchange events, no automatic passes.
    EXPECT_TRUE(reports.lines.empty());
  }
}

TEST(FiveInRowExchange, ReplayRebuildsTheExchangeAsPlayed) {
  LattixEngine live;
  live.SetGameKind(kFiveInARow);
  live.SetHandicap(2);
  for (int i = 0; i < 5; ++i)
    ASSERT_TRUE(live.PlayMove(LetterToCoord(kExchangeGame[2 * i]),
                              LetterToCoord(kExchangeGame[2 * i + 1]), false));
  ASSERT_TRUE(live.PlayMove(10, 10, false));  // the second candidate
  ASSERT_TRUE(live.PlayMove(10, 9, false));   // white takes the first off
  ASSERT_TRUE(live.PlayMove(1, 1, false));
  ASSERT_TRUE(live.PlayMove(15, 15, false));
  EXPECT_EQ(live.Process(), kExchangeGame);

  LattixEngine replayed;
  replayed.SetGameKind(kFiveInARow);
  replayed.SetHandicap(2);
  replayed.SetProcess(kExchangeGame);
  EXPECT_EQ(replayed.Process(), kExchangeGame);
  EXPECT_EQ(replayed.NextMove(), live.NextMove());
  EXPECT_EQ(replayed.Turn(), live.Turn());
  for (int p = 1; p <= 15; ++p)
    for (int q = 1; q <= 15; ++q) EXPECT_EQ(replayed.GetPoint(p, q), live.GetPoint(p, q));
}

TEST(FiveInRowExchange, ReplayKeepsTheExchangeRules) {
  LattixEngine board;
  board.SetGameKind(kFiveInARow);
  board.SetHandicap(2);
  // White stone instead of the pass after the fifth move, and a removal of a stone that is no
  // candidate: both are dropped, and what follows is played by the side to move.
  board.SetProcess(std::string(kFourMoves) + "JIAATTJJHH");
  EXPECT_EQ(board.Process(), std::string(kFourMoves) + "JITTJJ");
  EXPECT_TRUE(board.AwaitingCandidateRemoval());
}

}  // namespace
}  // namespace zendra
