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

// A tree of lines from the root; lines sharing a first move share its node.
std::string Tree(const std::vector<Line>& lines) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  for (const Line& line : lines) {
    NodeId parent = root;
    for (const std::string& move : line.moves) {
      NodeId found = kNoNode;
      for (NodeId c = t.FirstChild(parent); c != kNoNode; c = t.NextSibling(c)) {
        if (t.Node(c).text == move) found = c;
      }
      parent = found != kNoNode ? found : t.Add(parent, move);
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

std::vector<std::string> Kinds(const TreeVerdict& v) {
  std::vector<std::string> kinds;
  for (const Disagreement& d : v.disagreements)
    kinds.push_back(std::string(DisagreementKey(d.kind)) + (d.move.empty() ? "" : " " + d.move));
  return kinds;
}

const solver::Budget kBudget{2'000'000, 10.0};

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
    std::vector<std::string> kinds = Kinds(v);
    std::vector<std::string> expected = c.expected;
    std::sort(kinds.begin(), kinds.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(kinds, expected);
  }
}

TEST(TreeVerify, WithoutAnAnswerTheGoalComesFromTheCorrectMoves) {
  const TreeVerdict sound = VerifyTree(Problem(6, kSoundTree, std::nullopt), kBudget);
  ASSERT_TRUE(sound.decided) << sound.undecidedReason;
  EXPECT_TRUE(sound.goalInferred);
  EXPECT_TRUE(sound.disagreements.empty()) << ::testing::PrintToString(Kinds(sound));
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
  const auto folder = std::filesystem::temp_directory_path() /
                      ("zendra-verify-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "Verify.dgo").string();
  std::string error;
  ASSERT_TRUE(WriteDataFile({Problem(1, kSoundTree),
                             Problem(2, {{{"BA", "CA", "DA 10"}}, {{"CA", "BA"}}}),
                             Problem(3, {{{"BA", "CA 10"}}, {{"CA", "BA"}}}, std::nullopt)},
                            file, &error))
      << error;
  int code = 0;
  const std::string json = RunDb({"verify", file, "--json"}, &code);
  EXPECT_EQ(code, 1);
  EXPECT_NE(json.find("\"problems\":3,\"decided\":2,\"disagreements\":2"), std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"number\":2,\"group\":0,\"num\":2,\"kind\":\"correctFails\",\"move\":"
                      "\"BA\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"undecided\":[{\"number\":3,\"reason\":"), std::string::npos)
      << json;
  const std::string text = RunDb({"verify", file}, &code);
  EXPECT_NE(text.find("problem 2 (group 0, num 2): wrong line works CA"), std::string::npos)
      << text;
  EXPECT_NE(text.find("verified 3 problems: 2 decided, 2 disagreements"), std::string::npos)
      << text;

  // A file holding only the sound tree verifies clean.
  ASSERT_TRUE(WriteDataFile({Problem(1, kSoundTree)}, file, &error)) << error;
  RunDb({"verify", file}, &code);
  EXPECT_EQ(code, 0);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zendra
