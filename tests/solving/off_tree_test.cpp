// Moves the solution tree does not know, with "Check moves the answer does not know" on: judged
// by a scripted judge (the controller's flows) and by the solver itself on a real position.
#include <gtest/gtest.h>

#include <deque>

#include "solving/solver_judge.h"
#include "tests/solving/solving_fakes.h"

namespace zendra::test {
namespace {

using V = std::vector<int>;
using Calls = std::vector<std::string>;

// Answers from a script, and records what it was asked.
class ScriptedJudge : public MoveJudge {
 public:
  std::deque<OffTreeJudgement> answers;
  std::vector<std::string> asked;  // the user's move of each question
  std::vector<std::optional<int>> goals;
  OffTreeJudgement Judge(const LattixEngine&, Colour, std::optional<int> result2,
                         const std::string& focus) override {
    asked.push_back(focus.substr(0, 2));
    goals.push_back(result2);
    if (answers.empty()) return {};
    OffTreeJudgement next = answers.front();
    answers.pop_front();
    return next;
  }
};

class OffTreeTest : public SolvingFixture {
 protected:
  OffTreeTest() {
    controller.SetMoveJudge(&judge);
    controller.SetCheckOffTreeMoves(true);
  }
  // root -> 'CC' -> 'DD 11'
  static SolutionTree SimpleTree() {
    SolutionTree t;
    t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD 11");
    return t;
  }
  ScriptedJudge judge;
};

TEST_F(OffTreeTest, OffByDefaultAndTheJudgeIsNotAsked) {
  SolvingController plain(board, ui, sounds, history, problems, timer1, timer2, clock);
  EXPECT_FALSE(plain.CheckOffTreeMoves());
  plain.SetMoveJudge(&judge);
  plain.OpenProblem(AddProblem(7, SimpleTree()));
  ClearRecords();
  board.PlayMove(LetterToCoord('E'), LetterToCoord('E'), true);
  plain.Lattix1LegalMove(LetterToCoord('E'), LetterToCoord('E'));
  EXPECT_TRUE(judge.asked.empty());
  EXPECT_EQ(ui.labelResult, "Failure");
  EXPECT_EQ(history.calls, Calls{"failure"});
}

TEST_F(OffTreeTest, MovesInTheTreeAreJudgedByTheTree) {
  Open(AddProblem(7, SimpleTree()));
  Click("CC");
  EXPECT_TRUE(judge.asked.empty());
  EXPECT_EQ(ui.labelResult, "lives,Success");
}

TEST_F(OffTreeTest, AnAlternativeCorrectMoveIsToldCorrectAndDefendedUntilDecided) {
  Open(AddProblem(7, SimpleTree(), "", "B", 0));
  judge.answers = {{OffTreeVerdict::kWorks, "FF"}, {OffTreeVerdict::kWorks, "GG"},
                   {OffTreeVerdict::kWorks, ""}};
  Click("EE");
  EXPECT_EQ(judge.asked, Calls{"EE"});
  EXPECT_EQ(judge.goals.front(), std::optional<int>(0));
  EXPECT_EQ(At("FF"), 'O');  // the computer's defence
  EXPECT_TRUE(controller.OffTree());
  EXPECT_EQ(ui.statusRight, "Also correct: the solver finds that this move works");
  EXPECT_EQ(ui.labelResult, "");
  EXPECT_TRUE(history.calls.empty());
  EXPECT_EQ(sounds.played, (V{1999, 1999}));
  EXPECT_FALSE(ui.nextEnabled);

  // Further moves off the tree go to the judge too, however the tree reads them.
  Click("CC");
  EXPECT_EQ(At("GG"), 'O');
  Click("HH");
  EXPECT_EQ(judge.asked, (Calls{"EE", "CC", "HH"}));
  EXPECT_EQ(ui.labelResult, "Success");
  EXPECT_EQ(history.calls, Calls{"solved"});
  EXPECT_EQ(sounds.played, (V{1999, 1999, 1999, 1999, 1999, 2010, 2095}));
}

TEST_F(OffTreeTest, AWrongMoveGetsTheRefutationAndCountsAsAFailure) {
  Open(AddProblem(7, SimpleTree()));
  judge.answers = {{OffTreeVerdict::kFails, "DD"}};
  Click("EE");
  EXPECT_EQ(At("DD"), 'O');
  EXPECT_EQ(ui.labelResult, "Failure");
  EXPECT_EQ(ui.statusRight, "The solver's refutation");
  EXPECT_EQ(history.calls, Calls{"failure"});
  EXPECT_EQ(sounds.played, (V{1999, 1999, 2020}));
  EXPECT_FALSE(controller.OffTree());
  // The retry goes back to the root, taking back the move and its refutation.
  EXPECT_EQ(controller.RetryPoint(), controller.Tree().FirstRoot());
  controller.NextVariationOrRetry();
  EXPECT_EQ(At("EE"), '.');
  EXPECT_EQ(At("DD"), '.');
  Click("CC");
  EXPECT_EQ(ui.labelResult, "lives,Success");
}

TEST_F(OffTreeTest, UnknownKeepsTheJudgingWithoutTheOption) {
  Open(AddProblem(7, SimpleTree()));
  Click("EE");  // the judge has no answer: unknown
  EXPECT_EQ(judge.asked, Calls{"EE"});
  EXPECT_EQ(ui.labelResult, "Failure");
  EXPECT_EQ(sounds.played, (V{1999, 2020}));
  EXPECT_EQ(history.calls, Calls{"failure"});
  EXPECT_EQ(controller.RetryPoint(), controller.Tree().FirstRoot());
  EXPECT_EQ(At("DD"), '.');
  EXPECT_FALSE(controller.OffTree());
}

TEST_F(OffTreeTest, UnknownAfterLeavingTheTreeIsAFailureAndBackReturnsToTheTree) {
  Open(AddProblem(7, SimpleTree()));
  judge.answers = {{OffTreeVerdict::kWorks, "FF"}};
  Click("EE");
  ASSERT_TRUE(controller.OffTree());
  Click("GG");  // unknown
  EXPECT_EQ(ui.labelResult, "Failure");
  EXPECT_EQ(history.calls, Calls{"failure"});
  EXPECT_FALSE(controller.OffTree());

  // Back and Solve again leave the moves beyond the tree.
  judge.answers = {{OffTreeVerdict::kWorks, "FF"}};
  controller.SolveAgain();
  Click("EE");
  ASSERT_TRUE(controller.OffTree());
  ui.page = true;
  controller.Back();
  EXPECT_FALSE(controller.OffTree());
  EXPECT_EQ(At("EE"), '.');
  Click("CC");
  EXPECT_EQ(ui.labelResult, "lives,Success");
}

// ---- The solver as the judge ---------------------------------------------------------------------

// White's group in the top left corner has three points of eye space in a row on the edge
// (BA CA DA); Black's wall around it is safe. Black kills at the middle, CA.
const char* const kWhiteStones = "AAEAABBBCBDBEB";
const char* const kBlackStones = "FAFBACBCCCDCECFC";

TEST_F(OffTreeTest, TheSolverRefutesAWrongMoveTheTreeDoesNotKnow) {
  SolverMoveJudge solver;
  controller.SetMoveJudge(&solver);
  SolutionTree t;  // the kill, and one wrong line: BA answered at CA
  const NodeId root = t.Add(kNoNode, "");
  t.Add(t.Add(root, "CA"), "BA 10");
  t.Add(t.Add(root, "BA"), "CA");
  Open(AddProblem(7, t, "", "B", 0, kBlackStones, kWhiteStones));
  Click("DA");  // not in the tree: fails, White lives at the middle
  EXPECT_EQ(At("CA"), 'O');
  EXPECT_EQ(ui.labelResult, "Failure");
  EXPECT_EQ(history.calls, Calls{"failure"});
}

TEST_F(OffTreeTest, TheSolverAcceptsTheKillTheTreeLeftOut) {
  SolverMoveJudge solver;
  controller.SetMoveJudge(&solver);
  SolutionTree t;  // an author who only wrote down the wrong tries
  const NodeId root = t.Add(kNoNode, "");
  t.Add(t.Add(root, "BA"), "CA");
  t.Add(t.Add(root, "DA"), "CA");
  Open(AddProblem(7, t, "", "B", 0, kBlackStones, kWhiteStones));
  Click("CA");
  EXPECT_EQ(ui.statusRight, "Also correct: the solver finds that this move works");
  ASSERT_TRUE(controller.OffTree());
  // White's defence is on the board; Black answers on the other side of the eye until White's
  // stones are taken.
  for (int move = 0; move < 6 && controller.OffTree() && ui.labelResult.empty(); ++move) {
    const std::string next = At("BA") == '.' ? "BA" : At("DA") == '.' ? "DA" : "";
    ASSERT_FALSE(next.empty());
    Click(next);
  }
  EXPECT_EQ(ui.labelResult, "Success");
  EXPECT_EQ(history.Count("solved"), 1);
  EXPECT_EQ(history.Count("failure"), 0);
}

}  // namespace
}  // namespace zendra::test
