// Answer trees held against the solver: a sound tree agrees, deliberately wrong trees show each
// kind of disagreement, and problems the solver cannot judge are counted as undecided; then
// `zendra-db verify` on a data file holding them.
#include "problem_import/tree_verify.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "problem_import/problem_data.h"
#include "solving/tree/solution_tree.h"
#include "tools/zendra-db/zendra_db.h"

namespace zendra {
namespace {

// White's group in the top left corner with three points of eye space on the edge (BA CA DA),
// closed in by a black wall: Black to play kills at CA, the middle.
constexpr const char* kWhiteStones = "AAEAABBBCBDBEB";
constexpr const char* kBlackStones = "FAFBACBCCCDCECFC";

struct Line {
  std::vector<std::string> moves;  // the last carries the outcome code, if any
};

// A tree of lines from the root; lines sharing a first move share its node. A move written
// "DA/8" carries the flags 8 (hexadecimal, as the node's StringData holds them).
std::string Tree(const std::vector<Line>& lines) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  for (const Line& line : lines) {
    NodeId parent = root;
    for (const std::string& written : line.moves) {
      const size_t slash = written.find('/');
      const std::string move = written.substr(0, slash);
      const std::string flags = slash == std::string::npos ? "" : written.substr(slash + 1);
      NodeId found = kNoNode;
      for (NodeId c = t.FirstChild(parent); c != kNoNode; c = t.NextSibling(c)) {
        if (t.Node(c).text == move) found = c;
      }
      parent = found != kNoNode ? found : t.Add(parent, move, flags);
    }
  }
  return t.Save();
}

DataProblem Problem(int number, const std::vector<Line>& lines, std::optional<int> result2 = 0,
                    const std::string& black = kBlackStones,
                    const std::string& white = kWhiteStones) {
  DataProblem p;
  p.number = number;
  p.num = number;
  p.level = 20;
  p.arrangedBlack = black;
  p.arrangedWhite = white;
  p.firstToPlay = "B";
  p.result2 = result2;
  p.solution = Tree(lines);
  return p;
}

// The sound tree: the kill at the middle, both wrong tries answered at the middle.
const std::vector<Line> kSoundTree = {
    {{"CA", "BA", "DA 10"}}, {{"CA", "DA", "BA 10"}}, {{"BA", "CA"}}, {{"DA", "CA"}}};

// Each disagreement as its kind and the line to the move in question ("correctFails CA BA DA").
std::vector<std::string> Kinds(const TreeVerdict& v) {
  std::vector<std::string> kinds;
  for (const Disagreement& d : v.disagreements)
    kinds.push_back(std::string(DisagreementKey(d.kind)) + (d.path.empty() ? "" : " " + d.path));
  return kinds;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

// White's bulky five on the top edge (BA CA DA BB CB) in a black wall. Black kills at CA; then
// each of White's replies has its one answer: BA -> CB, CB -> BA, DA -> BA (BB -> CB, where
// other moves work too).
constexpr const char* kBulkyWhite = "AAABACBCCCDCDBEAEB";
constexpr const char* kBulkyBlack = "FAFBECFCADBDCDDDED";

DataProblem Bulky(int number, const std::vector<Line>& lines) {
  return Problem(number, lines, 0, kBulkyBlack, kBulkyWhite);
}

const std::vector<Line> kBulkySound = {{{"CA", "BA", "CB 10"}}, {{"CA", "CB", "BA 10"}},
                                       {{"CA", "BB", "CB 10"}}, {{"CA", "DA", "BA 10"}},
                                       {{"CB", "CA"}},          {{"BA", "CA"}},
                                       {{"BB", "CA"}},          {{"DA", "CA"}}};

std::vector<Line> With(std::vector<Line> lines, const std::vector<Line>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

const solver::Budget kBudget{2'000'000, 10.0};

// White's comb-shaped eye space on the top edge (BA to FA, with the pockets CB and EB) in a
// black wall cannot be killed; Black's placement at CA or EA leaves it only a seki (his three
// stones on the edge and White's group share CB and EB), while at the corner point BA White
// lives outright. Without an answer, no goal but a kill whose best is a seki fits the tree.
DataProblem MakeSeki(int number) {
  return Problem(number,
                 {{{"CA", "BA", "EA", "FA", "DA 10"}},
                  {{"EA", "FA", "CA", "BA", "DA 10"}},
                  {{"BA", "CA", "FA", "EA"}}},
                 std::nullopt, "AAABACADBDCDDDEDFDGDGCGBGA", "BBDBFBBCCCDCECFC");
}

TEST(TreeVerify, ASoundTreeAgrees) {
  const TreeVerdict v = VerifyTree(Problem(1, kSoundTree), kBudget);
  ASSERT_TRUE(v.decided) << v.undecidedReason;
  EXPECT_EQ(v.status, solver::Status::Works);
  EXPECT_EQ(v.principalLine.substr(0, 2), "CA");
  EXPECT_TRUE(v.disagreements.empty()) << ::testing::PrintToString(Kinds(v));
}

struct WrongTreeCase {
  const char* name;
  std::vector<Line> lines;
  std::optional<int> result2;
  std::vector<std::string> expected;
};

TEST(TreeVerify, DeliberatelyWrongTreesShowEachKind) {
  const WrongTreeCase cases[] = {
      {"the answer and a wrong try swapped",
       {{{"BA", "CA", "DA 10"}}, {{"CA", "BA"}}, {{"DA", "CA"}}},
       0,
       {"wrongWorks CA", "correctFails BA"}},
      {"the kill left out of the tree",
       {{{"BA", "CA"}}, {{"DA", "CA 10"}}},
       0,
       {"missingCorrect CA", "correctFails DA"}},
      {"an answer by ko where the kill needs none", kSoundTree, 2, {"koIsUnconditional"}},
  };
  for (const WrongTreeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TreeVerdict v = VerifyTree(Problem(2, c.lines, c.result2), kBudget);
    ASSERT_TRUE(v.decided) << v.undecidedReason;
    EXPECT_EQ(Sorted(Kinds(v)), Sorted(c.expected));
  }
}

// Whole lines are compared: the positions after the computer's replies are judged as well.
TEST(TreeVerify, FaultsBelowTheFirstMoveAreFoundWithTheirLine) {
  const TreeVerdict sound = VerifyTree(Bulky(1, kBulkySound), kBudget);
  ASSERT_TRUE(sound.decided) << sound.undecidedReason;
  EXPECT_TRUE(sound.disagreements.empty()) << ::testing::PrintToString(Kinds(sound));
  EXPECT_EQ(sound.positionsJudged, 9);  // the start and the position after each reply
  EXPECT_EQ(sound.positionsUnjudged, 0);
  // After White's BB other answers than CB kill too: alternatives, not disagreements.
  EXPECT_GT(sound.alternatives, 0);

  const WrongTreeCase cases[] = {
      {"the answer to the second move fails",
       {{{"CA", "BA", "DA 10"}},
        {{"CA", "CB", "BA 10"}},
        {{"CA", "BB", "CB 10"}},
        {{"CA", "DA", "BA 10"}},
        {{"CB", "CA"}}},
       0,
       {"correctFails CA BA DA", "missingCorrect CA BA CB"}},
      {"the same answer to a different reply",
       {{{"CA", "BA", "CB 10"}}, {{"CA", "CB", "BB 10"}}, {{"CA", "DA", "BA 10"}}},
       0,
       {"correctFails CA CB BB", "missingCorrect CA CB BA"}},
      {"a third move marked wrong that kills",
       With(kBulkySound, {{{"CA", "BB", "DA", "CB"}}}),
       0,
       {"wrongWorks CA BB DA"}},
      {"a refutation that does not refute",
       {{{"CA", "BA", "CB 10"}}, {{"CA", "CB", "BA 10"}}, {{"BA", "DA"}}},
       0,
       {"refutationFails BA DA CA"}},
  };
  for (const WrongTreeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TreeVerdict v = VerifyTree(Bulky(2, c.lines), kBudget);
    ASSERT_TRUE(v.decided) << v.undecidedReason;
    EXPECT_EQ(Sorted(Kinds(v)), Sorted(c.expected));
    for (const Disagreement& d : v.disagreements) {
      EXPECT_EQ(d.depth, 3) << d.path;
      EXPECT_EQ(d.path.substr(d.path.size() - 2), d.move);
    }
  }
}

// A line is not compared below a move found to disagree: the refutation below a wrong move that
// works, and the line below a correct move that fails, add no second report of the fault.
TEST(TreeVerify, BelowAMoveThatDisagreesNothingMoreIsReported) {
  const TreeVerdict v =
      VerifyTree(Problem(7, {{{"BA", "CA", "DA 10"}}, {{"CA", "BA", "DA"}}}), kBudget);
  ASSERT_TRUE(v.decided) << v.undecidedReason;
  EXPECT_EQ(Sorted(Kinds(v)), Sorted({"wrongWorks CA", "correctFails BA"}));
  EXPECT_EQ(v.positionsJudged, 1);
}

// A line that reaches its success only after a reply the computer never plays (a bad move, not
// the best, or marked not to be chosen, beside the reply it does play) shows the opponent's
// mistake; the user move above it stays wrong. An only reply is played whatever its flags.
TEST(TreeVerify, ASuccessAfterAReplyNeverPlayedMakesNoMoveCorrect) {
  struct Case {
    const char* name;
    std::vector<Line> lines;
    std::vector<std::string> expected;
  };
  auto withMistake = [](const std::string& mistake) {
    return With(kSoundTree, {{{"BA", mistake, "CA 10"}}});
  };
  const Case cases[] = {
      {"a bad move", withMistake("DA/1"), {}},
      {"not the best", withMistake("DA/4"), {}},
      {"not to be chosen", withMistake("DA/8"), {}},
      {"a plain second reply", withMistake("DA"), {"correctFails BA"}},
      {"the only reply",
       {{{"CA", "BA", "DA 10"}}, {{"CA", "DA", "BA 10"}}, {{"BA", "DA/8", "CA 10"}}},
       {"correctFails BA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const std::optional<int> answer : {std::optional<int>(0), std::optional<int>()}) {
      const TreeVerdict v = VerifyTree(Problem(8, c.lines, answer), kBudget);
      // Without an answer a correct move that fails leaves no goal that fits.
      if (!answer && !c.expected.empty()) {
        EXPECT_FALSE(v.decided);
        continue;
      }
      ASSERT_TRUE(v.decided) << v.undecidedReason;
      EXPECT_EQ(Sorted(Kinds(v)), Sorted(c.expected));
    }
  }
}

// White's bent four in the top left corner (AA BA CA AB) without outside liberties: Black's
// placement at BA gets a ko and no black move kills outright. With a black stone already at BA,
// Black's AA kills outright, AB gets a ko and CA fails.
constexpr const char* kBentFourWhite = "DABBCBDBACBCCCADBD";
constexpr const char* kBentFourBlack = "EAEBDCECCDDDAEBECE";
constexpr const char* kKoForLifeBlack = "EAEBDCECCDDDAEBECEBA";

TEST(TreeVerify, WithoutAnAnswerTheGoalComesFromTheCorrectMoves) {
  struct Case {
    const char* name;
    DataProblem problem;
    solver::Status status;  // Unknown: not decided, no goal fits
    bool userKills = true;
  };
  auto bentFour = [](const std::vector<Line>& lines) {
    return Problem(6, lines, std::nullopt, kBentFourBlack, kBentFourWhite);
  };
  auto koForLife = [](const std::vector<Line>& lines) {
    return Problem(6, lines, std::nullopt, kKoForLifeBlack, kBentFourWhite);
  };
  const Case cases[] = {
      {"a kill", Problem(6, kSoundTree, std::nullopt), solver::Status::Works},
      // Nothing better than the ko exists: the goal is the ko, and the tree's wrong tries fail.
      {"a kill by ko", bentFour({{{"BA", "AA", "AB 10"}}, {{"AA", "BA"}}, {{"CA", "BA"}}}),
       solver::Status::WorksByKo},
      {"a kill, the wrong try only a ko", koForLife({{{"AA", "CA", "AB 10"}}, {{"AB", "AA"}}}),
       solver::Status::Works},
      // Black's corner group (a real problem): CB lives outright, the tree's wrong tries CA, BA
      // and AB give a seki; they fall short of the best result, so the goal is life.
      {"life, the wrong tries only a seki",
       Problem(6, {{{"CB", "CA", "DA 10"}}, {{"CA", "CB"}}, {{"BA", "CB"}}, {{"AB", "CB"}}},
               std::nullopt, "ACBCCCDCEAEBEC", "ADBBBDCDDDEDFAFBFCFD"),
       solver::Status::Works, false},
      // The tree's answer gets a ko where another move kills outright.
      {"a ko marked correct beside a kill", koForLife({{{"AB", "AA", "CA 10"}}, {{"AA", "CA"}}}),
       solver::Status::Unknown},
      {"a kill whose best is a seki", MakeSeki(6), solver::Status::Seki},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TreeVerdict v = VerifyTree(c.problem, kBudget);
    if (c.status == solver::Status::Unknown) {
      EXPECT_FALSE(v.decided);
      EXPECT_EQ(v.undecidedReason, "no answer, and neither goal fits the tree");
      continue;
    }
    ASSERT_TRUE(v.decided) << v.undecidedReason;
    EXPECT_TRUE(v.goalInferred);
    EXPECT_EQ(v.userKills, c.userKills);
    EXPECT_EQ(v.status, c.status);
    EXPECT_TRUE(v.disagreements.empty()) << ::testing::PrintToString(Kinds(v));
  }
}

// Without an answer the goal must also leave a pass, and a wrong first move of the tree, short
// of the best result, so a budget that lets the correct move be judged but not those decides
// nothing: over every small budget (one thread: the same positions every run), a decided
// problem has its pass judged and a wrong move judged short of the best.
TEST(TreeVerify, WithoutAnAnswerTheGoalWaitsForThePassAndAWrongMove) {
  DataProblem bulky = Bulky(12, kBulkySound);
  bulky.result2 = std::nullopt;
  struct Case {
    DataProblem problem;
    std::vector<std::string> wrong;  // the tree's wrong first moves
  };
  const Case cases[] = {{Problem(12, kSoundTree, std::nullopt), {"BA", "DA"}},
                        {bulky, {"CB", "BA", "BB", "DA"}}};
  for (const Case& c : cases) {
    const DataProblem& problem = c.problem;
    int decided = 0;
    for (uint64_t nodes = 1; nodes <= 150; ++nodes) {
      SCOPED_TRACE(::testing::Message()
                   << "problem " << problem.arrangedWhite << ", " << nodes << " positions");
      const TreeVerdict v = VerifyTree(problem, solver::Budget{nodes, 10.0, 1});
      if (!v.decided) {
        EXPECT_EQ(v.undecidedReason, "beyond the budget");
        continue;
      }
      ++decided;
      const solver::Board& board = v.problem->board;
      bool passJudged = false, wrongShort = false;
      for (const solver::MoveVerdict& m : v.start.moves) {
        if (m.move == solver::kPass) passJudged = m.status == solver::Status::Fails;
        const bool isWrong = std::any_of(c.wrong.begin(), c.wrong.end(), [&](const auto& w) {
          return m.move == board.At(w[0] - 'A', w[1] - 'A');
        });
        if (isWrong && m.status == solver::Status::Fails) wrongShort = true;
      }
      EXPECT_TRUE(passJudged);
      EXPECT_TRUE(wrongShort);
    }
    EXPECT_GT(decided, 0);  // the budgets reach far enough to decide it
  }
}

// Without an answer, a tree that marks correct both the outright kill (AA) and a move that wins
// only a ko (AB) is read as the kill, and the ko move is a correct line that fails. With the
// outright kill marked wrong instead, nothing fits (the case above).
TEST(TreeVerify, WithoutAnAnswerAKoMarkedCorrectBesideAKillFailsUnderTheKill) {
  const DataProblem problem = Problem(11, {{{"AA", "CA", "AB 10"}}, {{"AB 10"}}, {{"CA", "AA"}}},
                                      std::nullopt, kKoForLifeBlack, kBentFourWhite);
  const TreeVerdict v = VerifyTree(problem, kBudget);
  ASSERT_TRUE(v.decided) << v.undecidedReason;
  EXPECT_TRUE(v.goalInferred);
  EXPECT_TRUE(v.userKills);
  EXPECT_EQ(v.status, solver::Status::Works);
  EXPECT_EQ(Kinds(v), std::vector<std::string>{"correctFails AB"});
}

// A real problem without an answer (read in place from the third-party corpus; skipped when it
// is absent) whose tree is not about the largest chain beside its moves: Black's four stones
// inside White's wall at the top are dead whatever he plays, and White's five stones around
// them cannot be killed, so neither goal fits those; the tree is about Black's corner stones
// beside them (B17, C17, B16), which live by taking White's C18.
TEST(TreeVerify, ATreeAboutAnotherChainThanTheLargestIsReadForIt) {
  const std::filesystem::path file =
      std::filesystem::path(ZENDRA_CORPUS_DIR) / "goproblems" / "10_kyu" / "[+2]10_kyu_18735.sgf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no problem corpus at " << file.string();
  BuildReport report;
  BuildFromSources({file.string()}, {}, &report);
  ASSERT_EQ(report.problems.size(), 1u);
  const TreeVerdict v = VerifyTree(report.problems.front(), kBudget);
  ASSERT_TRUE(v.decided) << v.undecidedReason;
  EXPECT_TRUE(v.goalInferred);
  EXPECT_FALSE(v.userKills);
  ASSERT_TRUE(v.problem.has_value());
  const solver::Board& board = v.problem->board;
  std::vector<solver::Point> target = board.Chain(v.problem->targets.front());
  std::sort(target.begin(), target.end());
  EXPECT_EQ(target, (std::vector<solver::Point>{board.At(1, 2), board.At(2, 2), board.At(1, 3)}));
  EXPECT_TRUE(v.disagreements.empty()) << ::testing::PrintToString(Kinds(v));
}

TEST(TreeVerify, WhatTheSolverCannotJudgeIsUndecided) {
  // Lone stones on an open board: nothing encloses them.
  const TreeVerdict open = VerifyTree(Problem(3, {{{"KK", "KL 10"}}}, 0, "JJ", "KJ"), kBudget);
  EXPECT_FALSE(open.decided);
  EXPECT_NE(open.undecidedReason.find("not enclosed"), std::string::npos) << open.undecidedReason;
  // Without an answer, a tree whose correct move reaches no goal is not judged.
  const TreeVerdict noFit =
      VerifyTree(Problem(4, {{{"BA", "CA 10"}}, {{"CA", "BA"}}}, std::nullopt), kBudget);
  EXPECT_FALSE(noFit.decided);
  EXPECT_FALSE(noFit.undecidedReason.empty());
  const TreeVerdict tooSmall = VerifyTree(Problem(5, kSoundTree), solver::Budget{1, 10.0});
  EXPECT_FALSE(tooSmall.decided);
  EXPECT_EQ(tooSmall.undecidedReason, "beyond the budget");
  // Without an answer, a tree whose only correct move fails fits no goal, for certain.
  const std::vector<Line> daCorrect = {{{"DA", "CA 10"}}, {{"BA", "CA"}}, {{"CA", "BA"}}};
  EXPECT_EQ(VerifyTree(Problem(10, daCorrect, std::nullopt), kBudget).undecidedReason,
            "no answer, and neither goal fits the tree");
  // Black's corner group has two eyes (AA and CA) before any move: nothing to judge, and not
  // for want of budget.
  const TreeVerdict settled =
      VerifyTree(Problem(9, {{{"AA", "CA 10"}}}, 1, "BADAABBBCBDB", "EAEBACBCCCDCEC"), kBudget);
  EXPECT_FALSE(settled.decided);
  EXPECT_EQ(settled.undecidedReason, "the stones in question are settled before any move");
}

// Runs zendra-db with the arguments and returns what it printed on standard output.
std::string RunDb(const std::vector<std::string>& argv, int* exitCode) {
  db::Args args;
  std::string error;
  EXPECT_TRUE(db::ParseArgs(argv, &args, &error)) << error;
  std::ostringstream out;
  std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
  *exitCode = db::RunCommand(args);
  std::cout.rdbuf(saved);
  return out.str();
}

TEST(TreeVerify, TheCommandCountsAndListsDisagreements) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("zendra-verify-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "Verify.dgo").string();
  std::string error;
  ASSERT_TRUE(
      WriteDataFile({Problem(1, kSoundTree), Problem(2, {{{"BA", "CA", "DA 10"}}, {{"CA", "BA"}}}),
                     Problem(3, {{{"BA", "CA 10"}}, {{"CA", "BA"}}}, std::nullopt),
                     // Wrong at the second move: White's reply does not refute BA.
                     Bulky(4, {{{"CA", "BA", "CB 10"}}, {{"CA", "CB", "BA 10"}}, {{"BA", "DA"}}}),
                     MakeSeki(5)},
                    file, &error))
      << error;
  int code = 0;
  // Time well beyond what these problems need, so that the sanitizer builds (many times slower)
  // judge every position too.
  const std::string json = RunDb({"verify", file, "--json", "--seconds", "30"}, &code);
  EXPECT_EQ(code, 1);
  EXPECT_NE(json.find("\"problems\":5,\"decided\":4,\"disagreements\":3,\"goalInferred\":1,"
                      "\"sekiGoal\":1"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"number\":4,\"group\":0,\"num\":4,\"kind\":\"refutationFails\","
                      "\"move\":\"CA\",\"path\":\"BA DA CA\",\"depth\":3,"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"number\":2,\"group\":0,\"num\":2,\"kind\":\"correctFails\",\"move\":"
                      "\"BA\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"undecided\":[{\"number\":3,\"reason\":"), std::string::npos) << json;
  const std::string text = RunDb({"verify", file, "--seconds", "30"}, &code);
  EXPECT_NE(text.find("problem 2 (group 0, num 2): wrong line works CA"), std::string::npos)
      << text;
  EXPECT_NE(text.find("problem 4 (group 0, num 4): refutation fails BA DA CA (move 3)"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("verified 5 problems: 4 decided, 3 disagreements"), std::string::npos)
      << text;
  EXPECT_NE(text.find("of them kills whose best result is a seki: 1"), std::string::npos) << text;

  // A file holding only the sound tree verifies clean.
  ASSERT_TRUE(WriteDataFile({Problem(1, kSoundTree)}, file, &error)) << error;
  RunDb({"verify", file, "--seconds", "30"}, &code);
  EXPECT_EQ(code, 0);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zendra
