#include "solver/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <unordered_map>

#include "solver/enclose.h"
#include "solver/proof_table.h"

namespace zendra::solver {
namespace {

// ---------------------------------------------------------------------------------------------
// Board rules and Benson

Board Diagram(std::string_view text) {
  auto board = Board::FromDiagram(text);
  EXPECT_TRUE(board.has_value()) << text;
  return board.value_or(Board(1, 1));
}

TEST(SolverBoard, DiagramRefusesRaggedRowsAndUnknownCharacters) {
  EXPECT_FALSE(Board::FromDiagram("..\n...\n"));
  EXPECT_FALSE(Board::FromDiagram("..\n.Z\n"));
  EXPECT_FALSE(Board::FromDiagram(""));
  EXPECT_FALSE(Board::FromDiagram(std::string(20, '.')));
  EXPECT_EQ(Diagram("XO.\n...\n").ToDiagram(), "XO.\n...\n");
}

TEST(SolverBoard, CapturesSuicideAndKoBan) {
  Board board = Diagram(
      ".XO.\n"
      "XO.O\n"
      ".XO.\n");
  Point ban = 0;
  // Black takes the white stone at B2 from C2: a ko, White may not retake at once at B2.
  ASSERT_TRUE(board.Play(board.At(2, 1), Stone::Black, &ban));
  EXPECT_EQ(board.Get(board.At(1, 1)), Stone::Empty);
  EXPECT_EQ(ban, board.At(1, 1));
  // Suicide is refused and changes nothing.
  Board corner = Diagram(".X\nX.\n");
  const std::string before = corner.ToDiagram();
  EXPECT_FALSE(corner.Play(corner.At(0, 0), Stone::White, &ban));
  EXPECT_EQ(corner.ToDiagram(), before);
  EXPECT_FALSE(corner.Play(corner.At(1, 0), Stone::White, &ban));  // occupied
}

TEST(SolverBenson, TwoEyesLiveOneEyeDoesNot) {
  const Board twoEyes = Diagram(
      ".O.OX\n"
      "OOOOX\n"
      "XXXXX\n");
  const Board oneEye = Diagram(
      "..OX.\n"
      "OOOX.\n"
      "XXXX.\n");
  EXPECT_TRUE(BensonAlive(twoEyes, Stone::White)[static_cast<size_t>(twoEyes.At(0, 1))]);
  EXPECT_FALSE(BensonAlive(oneEye, Stone::White)[static_cast<size_t>(oneEye.At(0, 1))]);
  // The black wall around the living group is not unconditionally alive.
  EXPECT_FALSE(BensonAlive(twoEyes, Stone::Black)[static_cast<size_t>(twoEyes.At(4, 0))]);
}

// The per-chain test the search uses must give Benson's answer for every chain: one that missed a
// living chain would make the search play on past a decided position, one that kept a dead
// chain would end it too early. Random legal positions, every chain of both colours.
TEST(SolverBenson, ChainTestAgreesWithTheWholeBoardAlgorithm) {
  std::mt19937 random(1976);
  int positions = 0, aliveChains = 0, deadChains = 0;
  for (int attempt = 0; attempt < 4000 && positions < 400; ++attempt) {
    const int side = 4 + static_cast<int>(random() % 4);
    Board board(side, side);
    for (int row = 0; row < side; ++row)
      for (int column = 0; column < side; ++column) {
        const unsigned roll = random() % 100;
        if (roll < 45)
          board.Set(board.At(column, row), Stone::White);
        else if (roll < 70)
          board.Set(board.At(column, row), Stone::Black);
      }
    bool legal = true;
    for (Point p = 0; p < board.Cells() && legal; ++p)
      if ((board.Get(p) == Stone::Black || board.Get(p) == Stone::White) && board.Liberties(p) == 0)
        legal = false;
    if (!legal) continue;
    ++positions;
    for (const Stone colour : {Stone::Black, Stone::White}) {
      const std::vector<bool> whole = BensonAlive(board, colour);
      for (Point p = 0; p < board.Cells(); ++p) {
        if (board.Get(p) != colour) continue;
        ASSERT_EQ(ChainBensonAlive(board, p), whole[static_cast<size_t>(p)])
            << board.ToDiagram() << "chain " << board.Name(p);
        (whole[static_cast<size_t>(p)] ? aliveChains : deadChains) += 1;
      }
    }
  }
  EXPECT_EQ(positions, 400);
  // Both answers must occur often enough for the comparison to mean something.
  EXPECT_GT(aliveChains, 100);
  EXPECT_GT(deadChains, 100);
  const Board empty(3, 3);
  EXPECT_FALSE(ChainBensonAlive(empty, empty.At(1, 1)));
}

// ---------------------------------------------------------------------------------------------
// The enclosed problem

// Black's chain at the top left has two eyes already; the stones the problem is about are the two
// black stones to the right of White's cutting stone. The moves touch both chains.
TEST(SolverEnclose, TargetIsAChainThatIsNotAliveAlready) {
  const Board board = Diagram(
      ".X.X....O..\n"
      "XXXXOXXOO..\n"
      "OOOOOOOOO..\n"
      "...........\n");
  const std::vector<Point> focus{board.At(4, 0), board.At(5, 0), board.At(2, 0)};
  const EncloseResult result = Enclose(board, Stone::White, Stone::Black, focus);
  ASSERT_TRUE(result.problem.has_value()) << result.reason;
  ASSERT_EQ(result.problem->targets.size(), 1u);
  const std::vector<Point> chain = board.Chain(result.problem->targets.front());
  EXPECT_EQ(chain.size(), 2u);
  EXPECT_NE(std::find(chain.begin(), chain.end(), board.At(5, 1)), chain.end());
  // With nothing but living chains beside the moves, the largest is still the target.
  const EncloseResult onlyAlive = Enclose(board, Stone::White, Stone::Black, {board.At(2, 0)});
  ASSERT_TRUE(onlyAlive.problem.has_value()) << onlyAlive.reason;
  EXPECT_EQ(board.Chain(onlyAlive.problem->targets.front()).size(), 6u);
}

// Whether the point (column, row) is in the area of an enclosed problem.
bool InArea(const Problem& problem, int column, int row) {
  const std::vector<Point>& region = problem.region;
  return std::find(region.begin(), region.end(), problem.board.At(column, row)) != region.end();
}

// Black's stones in the middle of the top edge have no liberty but the two White's group shares
// (E2 and F1): they are in a capturing race with it, not a safe wall around it, so the local
// game includes them. The wall on the left keeps liberties outside and stays a wall.
TEST(SolverEnclose, StonesWithoutAnOutsideLibertyAreNotAWall) {
  const Board board = Diagram(
      ".XO.O.XO..\n"
      ".XO..OXO..\n"
      ".XOOXXXO..\n"
      "..XXOOOO..\n"
      "..........\n");
  const EncloseResult result = Enclose(board, Stone::Black, Stone::Black, {board.At(3, 1)});
  ASSERT_TRUE(result.problem.has_value()) << result.reason;
  auto inRegion = [&](int column, int row) { return InArea(*result.problem, column, row); };
  EXPECT_TRUE(inRegion(6, 0));   // the hemmed-in black stones
  EXPECT_TRUE(inRegion(4, 3));   // and the white group beyond them
  EXPECT_FALSE(inRegion(1, 0));  // the black wall on the left
}

// White's corner group is closed in by Black's stones; the question is whether those stones
// are a safe wall. Each keeps liberties outside the area the local game is played in; where
// only two are left and a white stone outside stands beside them, White could fill them from
// outside and take the wall: the problem is not taken as enclosed. With three liberties
// outside, no white stone beside them, or a wall that is alive by itself, it is. A wall of two
// liberties in all that touches White's stones is not safe either, even with no white stone
// outside: White's move on the inside liberty puts it in atari, and the capture is outside the
// area. With a third liberty it holds.
TEST(SolverEnclose, AWallShortOfLibertiesOutsideIsNotSafe) {
  const struct {
    const char* name;
    const char* diagram;
    bool enclosed;
  } cases[] = {
      {"two liberties outside",
       ".O.XO.....\n"
       "OO.X......\n"
       "XXXX......\n"
       "OOOOO.....\n"
       "..........\n",
       false},
      {"two liberties outside, no White stone beside them",
       ".O.X.\n"
       "OO.XX\n"
       "XXXX.\n",
       true},
      {"three liberties outside",
       ".O.X......\n"
       "OO.X......\n"
       "XXXX......\n"
       "OOO.......\n"
       "..........\n",
       true},
      {"alive by itself",
       ".O.X.X.XO.\n"
       "OO.XXXXXO.\n"
       "XXXXOOOO..\n"
       "OOOO......\n"
       "..........\n",
       true},
      {"two liberties in all, beside White's stones",
       ".O.XX..\n"
       "OOOOOX.\n"
       "XXXXXX.\n"
       ".......\n",
       false},
      // The wall's outside liberty is a point closed in by Black's own stones: one eye, which
      // White fills once the liberty inside is gone. The wall and its eye are part of the local
      // game, where it can be taken.
      {"two liberties in all, the one outside closed in by Black",
       ".O.XX.\n"
       "OOOOOX\n"
       "XXXXXX\n"
       "......\n",
       true},
      {"three liberties in all, beside White's stones",
       ".O.XX.\n"
       "OOOO.X\n"
       "XXXXXX\n"
       "......\n",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Board board = Diagram(c.diagram);
    const EncloseResult result = Enclose(board, Stone::Black, Stone::Black, {board.At(2, 0)});
    EXPECT_EQ(result.problem.has_value(), c.enclosed) << result.reason;
    if (!c.enclosed) {
      EXPECT_NE(result.reason.find("liberties outside it"), std::string::npos);
    }
  }
}

// The transposition table against a reference map, under puts, overwrites, erases and finds
// of keys crowded into few slots (keys share their slot bits, so runs of probing form, wrap
// round the end of the array and are cut by erases), across several growths.
TEST(SolverProofTable, AgreesWithAMapThroughPutsErasesAndGrowth) {
  ProofTable table;
  std::unordered_map<uint64_t, std::pair<uint32_t, uint32_t>> reference;
  std::mt19937_64 random(5);
  for (int step = 0; step < 400'000; ++step) {
    // Slot bits (from bit 20 up) from a small range; low bits tell keys of one slot apart.
    const uint64_t key = (random() % 6000) << 20 | (random() % 4);
    const uint64_t op = random() % 3;
    if (op == 0) {
      const auto pn = static_cast<uint32_t>(random()), dn = static_cast<uint32_t>(random());
      table.Put(key, pn, dn);
      if (key != 0) reference[key] = {pn, dn};
    } else if (op == 1) {
      table.Erase(key);
      reference.erase(key);
    } else {
      const ProofTable::Entry* found = table.Find(key);
      const auto expected = reference.find(key);
      ASSERT_EQ(found != nullptr, expected != reference.end()) << "step " << step;
      if (found) {
        EXPECT_EQ(found->pn, expected->second.first);
        EXPECT_EQ(found->dn, expected->second.second);
      }
    }
  }
  for (const auto& [key, numbers] : reference) {
    const ProofTable::Entry* found = table.Find(key);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->pn, numbers.first);
  }
  EXPECT_EQ(table.Find(0), nullptr);  // key 0 marks a free slot and is never stored
}

// A table of a search that runs long grows past the size where its memory comes in large
// blocks (huge pages): every entry survives the moves from small blocks to large ones and
// between large ones.
TEST(SolverProofTable, KeepsEveryEntryWhenItGrowsIntoLargeBlocks) {
  ProofTable table;
  std::mt19937_64 random(11);
  std::vector<uint64_t> keys;
  for (uint32_t i = 0; i < 150'000; ++i) {
    const uint64_t key = random() | 1;  // never 0
    keys.push_back(key);
    table.Put(key, i, ~i);
  }
  for (uint32_t i = 0; i < keys.size(); ++i) {
    const ProofTable::Entry* found = table.Find(keys[i]);
    ASSERT_NE(found, nullptr) << "entry " << i;
    EXPECT_EQ(found->pn, i);
    EXPECT_EQ(found->dn, ~i);
  }
}

// A wall whose only liberty outside the area is one point closed in by the attacker's stones
// (an eye of its own) can be taken in the local game: it belongs to the area with its eye, and
// the attacker's other stones around the eye stay the wall.
TEST(SolverEnclose, AWallWithOneEyeOfItsOwnBelongsToTheArea) {
  const Board board = Diagram(
      ".O.XX.\n"
      "OOOOOX\n"
      "XXXXXX\n"
      "......\n");
  const EncloseResult result = Enclose(board, Stone::Black, Stone::Black, {board.At(2, 0)});
  ASSERT_TRUE(result.problem.has_value()) << result.reason;
  auto inArea = [&](int column, int row) { return InArea(*result.problem, column, row); };
  EXPECT_TRUE(inArea(3, 0));  // the wall beside White's stones
  EXPECT_TRUE(inArea(4, 0));
  EXPECT_TRUE(inArea(5, 0));   // its eye
  EXPECT_FALSE(inArea(5, 1));  // the stones closing the eye in
  // The local game plays it out: White's corner cannot live even with the wall in atari after
  // his C1 (Black can connect the wall at its eye).
  Problem problem = *result.problem;
  problem.toMove = Stone::White;
  EXPECT_EQ(Analyse(problem, Budget{}).status, Status::Fails);
}

// ---------------------------------------------------------------------------------------------
// Positions with known status. White defends the chain through `target`; the region is what the
// black wall through `wall` encloses.

struct KnownCase {
  const char* name;
  const char* diagram;
  int targetColumn, targetRow;
  int wallColumn, wallRow;
  Stone toMove;
  Status status;
  const char* firstMove;  // a best first move, or "" when any (or none) will do
};

Problem MakeProblem(const KnownCase& c) {
  Problem problem;
  problem.board = Diagram(c.diagram);
  const Board& b = problem.board;
  problem.targets = {b.At(c.targetColumn, c.targetRow)};
  problem.region = RegionAround(b, problem.targets, b.Chain(b.At(c.wallColumn, c.wallRow)));
  problem.attacker = Stone::Black;
  problem.toMove = c.toMove;
  return problem;
}

const char* const kStraightThree =
    "O...OX..\n"
    "OOOOOX..\n"
    "XXXXXX..\n"
    "........\n";
const char* const kStraightFour =
    "O....OX.\n"
    "OOOOOOX.\n"
    "XXXXXXX.\n"
    "........\n";
const char* const kBulkyFive =
    "...OX.\n"
    "..OOX.\n"
    "OOOXX.\n"
    "XXXX..\n"
    "......\n";
const char* const kSquareFour =
    "..OX.\n"
    "..OX.\n"
    "OOOX.\n"
    "XXXX.\n"
    ".....\n";
const char* const kFlowerSix =
    "XXXXXXX..\n"
    "XOOOOOX..\n"
    "XOO.OOX..\n"
    "XO...OX..\n"
    "XOO..OX..\n"
    "XOOOOOX..\n"
    "XXXXXXX..\n"
    ".........\n";
// White and the black stones inside share one liberty (C1), each has one eye: seki.
const char* const kSeki =
    ".O.X.XOX.\n"
    "OOOXXXOX.\n"
    "OOOOOOOX.\n"
    "XXXXXXXX.\n"
    ".........\n";

// Bent four in the corner: four points bent around the corner, no outside liberty. Black's
// placement at the 2-1 point leaves a ko at the corner (the rule that bent four is dead is a
// scoring convention, not part of the local game); White, first, lives.
const char* const kBentFourCorner =
    "...OX.\n"
    ".OOOX.\n"
    "OOOXX.\n"
    "OOXX..\n"
    "XXX...\n"
    "......\n";
// Ko for life: Black's stone already sits at the 2-1 point of White's bent corner; White can do
// no better than a ko.
const char* const kKoForLife =
    ".X.OX.\n"
    ".OOOX.\n"
    "OOOXX.\n"
    "OOXX..\n"
    "XXX...\n"
    "......\n";

// The L group: four white stones on the second line bent round the corner (three up the side,
// two along the edge), no outside liberty. The proverb "the L group is dead": dead even with
// White to play first.
const char* const kLGroup =
    "...X..\n"
    ".OOX..\n"
    ".OXX..\n"
    ".OX...\n"
    "XXX...\n"
    "......\n";
// A ten thousand year ko in the corner: Black's three stones inside and White's outer group share
// the liberties D1 and D2, and White's lone stone at B1 has only A1. Black taking at A1 starts a
// direct ko. White cannot settle it either: filling at A1 lets Black play D2 and D1 inside, White
// takes four stones and Black's placement kills the pyramid four left behind. Players leave the
// shape alone because whoever starts the ko pays for it in threats; the solver's ko master has
// unlimited threats and no cost, so for either side to move the answer is the same: ko.
const char* const kTenThousandYearKo =
    ".OX.OXX.\n"
    "OXX.OXX.\n"
    "OOOOOXX.\n"
    "OOOOOXX.\n"
    "XXXXXXX.\n"
    "........\n";

const KnownCase kKnownCases[] = {
    {"straight three, black kills at the middle", kStraightThree, 0, 1, 5, 0, Stone::Black,
     Status::Works, "C1"},
    {"straight three, white lives at the middle", kStraightThree, 0, 1, 5, 0, Stone::White,
     Status::Works, "C1"},
    {"straight four lives even with black first", kStraightFour, 0, 1, 6, 0, Stone::Black,
     Status::Fails, ""},
    {"bulky five, black kills at the vital point", kBulkyFive, 0, 2, 4, 0, Stone::Black,
     Status::Works, "B1"},
    {"bulky five, white lives at the vital point", kBulkyFive, 0, 2, 4, 0, Stone::White,
     Status::Works, "B1"},
    {"square four is dead even with white first", kSquareFour, 0, 2, 3, 0, Stone::White,
     Status::Fails, ""},
    {"flower six, black kills in the centre", kFlowerSix, 1, 1, 0, 0, Stone::Black, Status::Works,
     "D4"},
    {"flower six, white lives in the centre", kFlowerSix, 1, 1, 0, 0, Stone::White, Status::Works,
     "D4"},
    {"seki: black cannot kill", kSeki, 0, 1, 7, 0, Stone::Black, Status::Fails, ""},
    {"seki: white lives only in seki", kSeki, 0, 1, 7, 0, Stone::White, Status::Seki, ""},
    {"bent four in the corner, black gets a ko", kBentFourCorner, 1, 1, 4, 0, Stone::Black,
     Status::WorksByKo, "B1"},
    {"bent four in the corner, white lives", kBentFourCorner, 1, 1, 4, 0, Stone::White,
     Status::Works, ""},
    {"ko for life, white to play", kKoForLife, 1, 1, 4, 0, Stone::White, Status::WorksByKo, ""},
    {"ko for life, black kills outright", kKoForLife, 1, 1, 4, 0, Stone::Black, Status::Works, ""},
    {"the L group is dead with black first", kLGroup, 1, 1, 3, 0, Stone::Black, Status::Works, ""},
    {"the L group is dead even with white first", kLGroup, 1, 1, 3, 0, Stone::White, Status::Fails,
     ""},
    {"ten thousand year ko, black takes the ko", kTenThousandYearKo, 4, 0, 5, 0, Stone::Black,
     Status::WorksByKo, "A1"},
    {"ten thousand year ko, white cannot avoid the ko", kTenThousandYearKo, 4, 0, 5, 0,
     Stone::White, Status::WorksByKo, ""},
};

TEST(SolverKnownStatus, TableOfShapes) {
  for (const KnownCase& c : kKnownCases) {
    SCOPED_TRACE(c.name);
    const Problem problem = MakeProblem(c);
    const Analysis analysis = Analyse(problem, Budget{5'000'000, 30.0});
    EXPECT_EQ(StatusName(analysis.status), std::string(StatusName(c.status)));
    if (*c.firstMove) {
      ASSERT_FALSE(analysis.principalLine.empty());
      EXPECT_EQ(problem.board.Name(analysis.principalLine.front()), c.firstMove);
    }
    if (*c.firstMove && c.toMove == Stone::Black) {
      // The vital point is the only kill: every other move is refuted by a line.
      for (const MoveVerdict& m : analysis.moves) {
        if (problem.board.Name(m.move) == c.firstMove) continue;
        EXPECT_NE(m.status, c.status) << problem.board.Name(m.move);
        if (m.status == Status::Fails) {
          EXPECT_FALSE(m.line.empty()) << problem.board.Name(m.move);
        }
      }
    }
  }
}

// In the ten thousand year ko, White's natural move (filling the ko at A1) is the one that dies;
// only moves that leave the ko open keep White's chance.
TEST(SolverKnownStatus, TenThousandYearKoFillingTheKoFails) {
  const KnownCase c{"", kTenThousandYearKo, 4, 0, 5, 0, Stone::White, Status::WorksByKo, ""};
  const Problem problem = MakeProblem(c);
  const Analysis analysis = Analyse(problem, Budget{5'000'000, 30.0});
  std::map<std::string, Status> verdicts;
  for (const MoveVerdict& m : analysis.moves) verdicts[problem.board.Name(m.move)] = m.status;
  EXPECT_EQ(verdicts["A1"], Status::Fails);
  EXPECT_EQ(verdicts["D1"], Status::WorksByKo);
  EXPECT_EQ(verdicts["pass"], Status::WorksByKo);
}

TEST(SolverKnownStatus, BudgetExhaustedIsUnknownNeverAGuess) {
  const Problem problem = MakeProblem(kKnownCases[6]);  // flower six needs more than 50 nodes
  const Analysis analysis = Analyse(problem, Budget{50, 30.0});
  EXPECT_EQ(analysis.status, Status::Unknown);
  EXPECT_TRUE(analysis.principalLine.empty());
}

// The caller's moves are judged before the others once every move has had its equal share: with
// a node budget too small for all of them, the last move in board order is left undecided
// alone, and decided when the caller names it.
TEST(SolverKnownStatus, TheCallersMovesAreJudgedFirst) {
  const Problem problem = MakeProblem(kKnownCases[6]);  // the flower six
  bool shown = false;
  for (uint64_t nodes = 1; nodes < 20'000 && !shown; nodes += 5) {
    const Analysis plain = Analyse(problem, Budget{nodes, 30.0});
    ASSERT_GE(plain.moves.size(), 3u);
    const MoveVerdict& last = plain.moves[plain.moves.size() - 2];  // the last before the pass
    if (last.status != Status::Unknown) continue;
    const Analysis named = Analyse(problem, Budget{nodes, 30.0}, {last.move});
    const auto it = std::find_if(named.moves.begin(), named.moves.end(),
                                 [&](const MoveVerdict& m) { return m.move == last.move; });
    ASSERT_NE(it, named.moves.end());
    shown = it->status != Status::Unknown;
  }
  EXPECT_TRUE(shown);
}

// A white group on the top edge with a black stone at B3 and another at D3 inside: White to
// move lives outright at some points and gets only a seki at others; each move takes a few
// milliseconds to judge. Named as the caller's moves, the moves still undecided after a short
// try go to a second thread: every verdict is the one a single thread finds.
TEST(SolverKnownStatus, MovesJudgedOnASecondThreadGetTheSameVerdicts) {
  const char* const diagram =
      "....OX.\n"
      "....OX.\n"
      ".X.XOX.\n"
      "OOOOOX.\n"
      "XXXXXX.\n"
      ".......\n";
  const KnownCase c{"", diagram, 0, 3, 0, 4, Stone::White, Status::Works, ""};
  const Problem problem = MakeProblem(c);
  const Analysis alone = Analyse(problem, Budget{5'000'000, 60.0, 1});
  ASSERT_EQ(alone.status, Status::Works);
  std::vector<Point> all;
  for (const MoveVerdict& m : alone.moves) all.push_back(m.move);
  const Analysis shared = Analyse(problem, Budget{5'000'000, 60.0, 2}, all);
  EXPECT_EQ(shared.status, Status::Works);
  ASSERT_EQ(shared.moves.size(), alone.moves.size());
  std::set<Status> seen;
  for (size_t i = 0; i < alone.moves.size(); ++i) {
    SCOPED_TRACE(problem.board.Name(alone.moves[i].move));
    EXPECT_EQ(shared.moves[i].move, alone.moves[i].move);
    EXPECT_EQ(StatusName(shared.moves[i].status), std::string(StatusName(alone.moves[i].status)));
    if (shared.moves[i].move != kPass) {
      EXPECT_FALSE(shared.moves[i].line.empty());
    }
    seen.insert(alone.moves[i].status);
  }
  // Both kinds of verdict are among them, so a mix-up between moves would show.
  EXPECT_TRUE(seen.count(Status::Works) && seen.count(Status::Seki));
}

// ---------------------------------------------------------------------------------------------
// Agreement with an independent solution of the same game on small random regions.
//
// The check plays the game out by plain minimax over every line, with no proof numbers, no table
// and no keys: a position that repeats on the current line is the ko master's, two passes end the
// game, taking a target stone is the attacker's. It shares only the board's move rules with the
// solver, and (outside the strict rules) not even Benson: a Benson-alive target can never be
// taken, so the plain game reaches the same result without it.

struct BruteState {
  Board board;
  Stone toMove;
  Point koBan;
  int passes;
  std::string Key() const {
    return board.ToDiagram() + (toMove == Stone::Black ? 'b' : 'w') + std::to_string(koBan) + ':' +
           std::to_string(passes);
  }
};

class Minimax {
 public:
  Minimax(const Problem& problem, SearchRules rules, long callLimit)
      : problem_(problem), rules_(rules), callsLeft_(callLimit) {}

  // The winner, or nothing when the line count runs over the limit.
  std::optional<Winner> Solve() {
    const Winner w = Play({problem_.board, problem_.toMove, kNoPoint, 0});
    if (callsLeft_ < 0) return std::nullopt;
    return w;
  }

  // The winner after each move of the side to move (the region's points in order, then a
  // pass), with the starting position on the line; nothing past the limit.
  std::optional<std::vector<std::pair<Point, Winner>>> SolveMoves() {
    const BruteState start{problem_.board, problem_.toMove, kNoPoint, 0};
    std::vector<std::pair<Point, Winner>> moves;
    line_.push_back(start.Key());
    for (const auto& [p, n] : Next(start)) moves.emplace_back(p, Play(n));
    line_.pop_back();
    if (callsLeft_ < 0) return std::nullopt;
    return moves;
  }

 private:
  Winner Play(const BruteState& s) {
    if (--callsLeft_ < 0) return Winner::Unknown;
    const Stone defender = Opponent(problem_.attacker);
    for (Point t : problem_.targets)
      if (s.board.Get(t) != defender) return Winner::Attacker;
    if (s.passes >= 2) return rules_.strict ? Winner::Attacker : Winner::Defender;
    if (rules_.strict) {
      const auto alive = BensonAlive(s.board, defender);
      bool all = true;
      for (Point t : problem_.targets) all = all && alive[static_cast<size_t>(t)];
      if (all) return Winner::Defender;
    }
    const std::string key = s.Key();
    for (const std::string& k : line_)
      if (k == key)
        return rules_.koMaster == problem_.attacker ? Winner::Attacker : Winner::Defender;
    line_.push_back(key);
    const Winner want = s.toMove == problem_.attacker ? Winner::Attacker : Winner::Defender;
    Winner result = want == Winner::Attacker ? Winner::Defender : Winner::Attacker;
    for (const auto& [p, n] : Next(s))
      if (Play(n) == want) {
        result = want;
        break;
      }
    line_.pop_back();
    return result;
  }

  // The positions after each legal move of the side to move (the region's points in order,
  // then a pass).
  std::vector<std::pair<Point, BruteState>> Next(const BruteState& s) const {
    std::vector<std::pair<Point, BruteState>> next;
    for (Point p : problem_.region) {
      if (p == s.koBan && s.toMove != rules_.koMaster) continue;
      BruteState n{s.board, Opponent(s.toMove), kNoPoint, 0};
      if (n.board.Play(p, s.toMove, &n.koBan)) next.emplace_back(p, n);
    }
    next.emplace_back(kPass, BruteState{s.board, Opponent(s.toMove), kNoPoint, s.passes + 1});
    return next;
  }

  const Problem& problem_;
  SearchRules rules_;
  long callsLeft_;
  std::vector<std::string> line_;
};

// A random legal position on a small board, the whole board being the region.
std::optional<Problem> RandomProblem(std::mt19937& random) {
  const int width = 3 + static_cast<int>(random() % 2);
  const int height = 3 + static_cast<int>(random() % 2);
  Problem problem;
  problem.board = Board(width, height);
  Board& b = problem.board;
  std::vector<Point> white;
  int empty = 0;
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column) {
      const unsigned roll = random() % 100;
      const Point p = b.At(column, row);
      if (roll < 38) {
        b.Set(p, Stone::White);
        white.push_back(p);
      } else if (roll < 60) {
        b.Set(p, Stone::Black);
      } else {
        ++empty;
      }
      problem.region.push_back(p);
    }
  if (white.empty() || empty < 2 || empty > 7) return std::nullopt;
  for (Point p : problem.region)
    if (b.Get(p) != Stone::Empty && b.Liberties(p) == 0) return std::nullopt;
  problem.targets = {white[random() % white.size()]};
  problem.attacker = Stone::Black;
  problem.toMove = random() % 2 ? Stone::Black : Stone::White;
  return problem;
}

// How many random positions to compare, and the seed of their generator:
// ZENDRA_SOLVER_BRUTE_CASES / ZENDRA_SOLVER_BRUTE_SEED in the environment, else the build's
// defaults. The sanitizer build compares a smaller sample from a seed whose first positions
// already hold a ko and a seki, so that every assertion below still has something to catch.
#ifndef ZENDRA_SOLVER_BRUTE_CASES
#define ZENDRA_SOLVER_BRUTE_CASES 120
#endif
#ifndef ZENDRA_SOLVER_BRUTE_SEED
#define ZENDRA_SOLVER_BRUTE_SEED 19
#endif
int FromEnvironment(const char* name, int fallback) {
  if (const char* text = std::getenv(name)) {
    const int value = std::atoi(text);
    if (value > 0) return value;
  }
  return fallback;
}

TEST(SolverBruteForce, AgreesOnRandomSmallRegions) {
  std::mt19937 random(
      static_cast<unsigned>(FromEnvironment("ZENDRA_SOLVER_BRUTE_SEED", ZENDRA_SOLVER_BRUTE_SEED)));
  const int cases = FromEnvironment("ZENDRA_SOLVER_BRUTE_CASES", ZENDRA_SOLVER_BRUTE_CASES);
  int compared = 0, koDecides = 0, sekiLike = 0, games = 0, undecided = 0;
  const SearchRules ruleSets[] = {
      {Stone::Black, false}, {Stone::White, false}, {Stone::Black, true}};
  for (int attempt = 0; attempt < 25 * cases && compared < cases; ++attempt) {
    const auto problem = RandomProblem(random);
    if (!problem) continue;
    Winner results[3];
    bool skipped = false;
    for (int r = 0; r < 3 && !skipped; ++r) {
      const auto expected = Minimax(*problem, ruleSets[r], 100000).Solve();
      if (!expected) {
        skipped = true;
        break;
      }
      results[r] = SolveGame(*problem, ruleSets[r], Budget{200'000, 60.0});
      ++games;
      // Running out of budget is allowed (and counted); a wrong verdict never.
      if (results[r] == Winner::Unknown) {
        ++undecided;
        continue;
      }
      ASSERT_EQ(results[r], *expected)
          << problem->board.ToDiagram() << "to move "
          << (problem->toMove == Stone::Black ? "black" : "white") << ", target "
          << problem->board.Name(problem->targets[0]) << ", ko master "
          << (ruleSets[r].koMaster == Stone::Black ? "black" : "white")
          << (ruleSets[r].strict ? ", strict" : "");
    }
    if (skipped) continue;
    ++compared;
    const bool decided = results[0] != Winner::Unknown && results[1] != Winner::Unknown &&
                         results[2] != Winner::Unknown;
    if (decided && results[0] != results[1]) ++koDecides;
    if (decided && results[0] == Winner::Defender && results[2] == Winner::Attacker) ++sekiLike;
  }
  EXPECT_GE(compared * 3, cases * 2);
  EXPECT_LE(undecided * 20, games) << "more than 5% of the games undecided";
  // The random positions must exercise the ko and seki rules, not only plain captures.
  EXPECT_GT(koDecides, 0);
  EXPECT_GT(sekiLike, 0);
  std::cout << "compared " << compared << " positions (" << games << " games, " << undecided
            << " undecided by the solver), " << koDecides << " decided by ko, " << sekiLike
            << " where the target survives without unconditional life\n";
}

// Analyse judges each first move through searches under several rules, whose tables it keeps
// from one move to the next; its verdict on every move must follow from the plain game's
// winners under those rules.
TEST(SolverBruteForce, AnalyseJudgesEveryMoveAsThePlainGameDoes) {
  std::mt19937 random(static_cast<unsigned>(
      FromEnvironment("ZENDRA_SOLVER_BRUTE_SEED", ZENDRA_SOLVER_BRUTE_SEED) + 1));
  const int cases =
      std::max(4, FromEnvironment("ZENDRA_SOLVER_BRUTE_CASES", ZENDRA_SOLVER_BRUTE_CASES) / 3);
  const SearchRules attackerMaster{Stone::Black, false}, defenderMaster{Stone::White, false},
      strict{Stone::Black, true};
  int compared = 0, judged = 0;
  int byStatus[5] = {};
  for (int attempt = 0; attempt < 25 * cases && compared < cases; ++attempt) {
    const auto problem = RandomProblem(random);
    if (!problem) continue;
    const Analysis analysis = Analyse(*problem, Budget{400'000, 60.0}, {}, true);
    if (analysis.moves.empty()) continue;  // decided before any move
    const auto a = Minimax(*problem, attackerMaster, 300000).SolveMoves();
    const auto d = Minimax(*problem, defenderMaster, 300000).SolveMoves();
    const auto s = Minimax(*problem, strict, 300000).SolveMoves();
    if (!a || !d || !s) continue;
    ASSERT_EQ(a->size(), analysis.moves.size()) << problem->board.ToDiagram();
    const bool kill = problem->toMove == problem->attacker;
    const Winner mine = kill ? Winner::Attacker : Winner::Defender;
    for (size_t i = 0; i < a->size(); ++i) {
      const MoveVerdict& verdict = analysis.moves[i];
      ASSERT_EQ(verdict.move, (*a)[i].first);
      if (verdict.status == Status::Unknown) continue;
      const Winner wa = (*a)[i].second, wd = (*d)[i].second, ws = (*s)[i].second;
      Status expected;
      if (kill)
        expected = wa != mine   ? (ws == mine ? Status::Seki : Status::Fails)
                   : wd == mine ? Status::Works
                                : Status::WorksByKo;
      else
        expected = wa == mine   ? (ws == mine ? Status::Works : Status::Seki)
                   : wd == mine ? Status::WorksByKo
                                : Status::Fails;
      ASSERT_EQ(StatusName(verdict.status), std::string(StatusName(expected)))
          << problem->board.ToDiagram() << (kill ? "kill" : "life") << " with "
          << problem->board.Name(verdict.move) << ", target "
          << problem->board.Name(problem->targets[0]);
      ++judged;
      ++byStatus[static_cast<int>(expected)];
    }
    ++compared;
  }
  EXPECT_GE(compared * 3, cases * 2);
  // Every verdict but the unknown one occurs, so each way of combining the searches is checked.
  for (const Status status : {Status::Works, Status::WorksByKo, Status::Seki, Status::Fails})
    EXPECT_GT(byStatus[static_cast<int>(status)], 0) << StatusName(status);
  std::cout << "judged " << judged << " moves of " << compared << " positions\n";
}

// Whether the points of `mask` (bit i: column i % width, row i / width) form one piece.
bool Connected(unsigned mask, int width) {
  unsigned reached = mask & (~mask + 1);  // the lowest point
  for (unsigned before = 0; before != reached;) {
    before = reached;
    for (int i = 0; i < 32; ++i) {
      if (!(reached & (1u << i))) continue;
      const int column = i % width;
      unsigned next = (i >= width ? 1u << (i - width) : 0) | (1u << (i + width));
      if (column > 0) next |= 1u << (i - 1);
      if (column + 1 < width) next |= 1u << (i + 1);
      reached |= next & mask;
    }
  }
  return reached == mask;
}

// The eye-shape rule ends the search early in small eye spaces; the plain game must reach the
// same result there. Every way of leaving one to six points of a small board empty with the
// rest one white chain, both sides to move, every rule set: the killing shapes (up to the
// bulky and crossed five and the rabbity six) are where the rule decides, the other shapes of
// three to six points (straight, bent and the other fours, fives and sixes, and split spaces)
// are where it must not.
TEST(SolverBruteForce, SmallEyeSpacesAgree) {
  const SearchRules ruleSets[] = {
      {Stone::Black, false}, {Stone::White, false}, {Stone::Black, true}};
  int compared = 0, attackerWins = 0, defenderWins = 0;
  // On the larger boards only the one-piece spaces of four points and more, as many as each
  // takes: the pyramid four and the crossed five fit with a chain around them only on 5 x 5.
  struct Size {
    int width, height, fewest, most;
  };
  for (const Size& size :
       {Size{3, 3, 1, 5}, Size{4, 3, 1, 5}, Size{4, 4, 4, 6}, Size{5, 5, 4, 5}}) {
    const int width = size.width, height = size.height;
    const int cells = width * height;
    for (unsigned mask = 1; mask < (1u << cells); ++mask) {
      const int empty = std::popcount(mask);
      if (empty < size.fewest || empty > size.most || (cells > 12 && !Connected(mask, width)))
        continue;
      Problem problem;
      problem.board = Board(width, height);
      Board& b = problem.board;
      Point white = kNoPoint;
      for (int i = 0; i < cells; ++i) {
        const Point p = b.At(i % width, i / width);
        problem.region.push_back(p);
        if (!(mask & (1u << i))) {
          b.Set(p, Stone::White);
          white = p;
        }
      }
      if (white == kNoPoint || b.Chain(white).size() != static_cast<size_t>(cells - empty))
        continue;  // the white stones must be one chain
      problem.targets = {white};
      problem.attacker = Stone::Black;
      for (const Stone toMove : {Stone::Black, Stone::White}) {
        problem.toMove = toMove;
        for (const SearchRules& rules : ruleSets) {
          const auto expected = Minimax(problem, rules, 2'000'000).Solve();
          ASSERT_TRUE(expected.has_value()) << b.ToDiagram();
          const Winner got = SolveGame(problem, rules, Budget{1'000'000, 60.0});
          ASSERT_EQ(got, *expected)
              << b.ToDiagram() << "to move " << (toMove == Stone::Black ? "black" : "white")
              << ", ko master " << (rules.koMaster == Stone::Black ? "black" : "white")
              << (rules.strict ? ", strict" : "");
          ++compared;
          (got == Winner::Attacker ? attackerWins : defenderWins) += 1;
        }
      }
    }
  }
  // Both outcomes occur: small spaces die, the larger ones with White to move live.
  EXPECT_GT(attackerWins, 50);
  EXPECT_GT(defenderWins, 20);
  std::cout << "compared " << compared << " games in small eye spaces: " << attackerWins
            << " won by the attacker, " << defenderWins << " by the defender\n";
}

}  // namespace
}  // namespace zendra::solver
