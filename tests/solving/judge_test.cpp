// Judging the user's moves: matches, moves elsewhere, flagged moves, computer replies, verdicts,
// the success walk over several attempts and the retry points.
#include <gtest/gtest.h>

#include "tests/solving/solving_fakes.h"

namespace zendra::test {
namespace {

using V = std::vector<int>;

class JudgeTest : public SolvingFixture {};

// root -> 'CC' -> 'DD 11'
SolutionTree SimpleTree() {
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD 11");
  return t;
}

TEST_F(JudgeTest, MatchedMoveWithWinningReplySolvesTheProblem) {
  Open(AddProblem(7, SimpleTree()));
  Click("CC");
  EXPECT_EQ(At("CC"), 'X');
  EXPECT_EQ(At("DD"), 'O');
  EXPECT_EQ(ui.labelResult, "lives,Success");
  EXPECT_EQ(sounds.played, (V{1999, 1999, 2010, 2095}));
  EXPECT_EQ(sounds.waited, (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(history.calls, (std::vector<std::string>{"solved"}));
  EXPECT_FALSE(ui.nextEnabled);
  EXPECT_TRUE(ui.tips.empty());
  EXPECT_EQ(ui.statusLeft, "");
  EXPECT_EQ(ui.nextProblems, 0);
}

TEST_F(JudgeTest, SolvedRunsNextProblemWhenThatOptionIsOn) {
  controller.SetNextProblemAutomatically(true);
  Open(AddProblem(7, SimpleTree()));
  Click("CC");
  EXPECT_EQ(ui.nextProblems, 1);
}

TEST_F(JudgeTest, MoveNotInTheTreeFailsWithARetryAtTheRoot) {
  controller.SetTakebackAutomatically(true);
  Open(AddProblem(7, SimpleTree()));
  Click("EE");
  EXPECT_EQ(ui.labelResult, "Failure");
  EXPECT_EQ(sounds.played, (V{1999, 2020}));
  EXPECT_EQ(history.calls, (std::vector<std::string>{"failure"}));
  EXPECT_EQ(controller.RetryPoint(), controller.Tree().FirstRoot());
  EXPECT_EQ(controller.AlternativeReply(), kNoNode);
  EXPECT_TRUE(ui.nextEnabled);
  EXPECT_EQ(ui.tips, V{2});
  EXPECT_TRUE(timer1.Active());
  EXPECT_EQ(controller.Tree().Current(), controller.Tree().FirstRoot());

  // The automatic takeback (10 s by default) returns to the root.
  Advance(9999);
  EXPECT_EQ(At("EE"), 'X');
  Advance(1);
  EXPECT_EQ(At("EE"), '.');
  EXPECT_FALSE(timer1.Active());
  EXPECT_FALSE(ui.nextEnabled);
  EXPECT_EQ(ui.hides, 1);
}

TEST_F(JudgeTest, NoRetryPointWhenNoCleanSuccessExists) {
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD");  // leaf without verdict: a failure
  Open(AddProblem(7, t));
  Click("CC");
  EXPECT_EQ(ui.labelResult, ",Failure");
  EXPECT_EQ(sounds.played, (V{1999, 1999, 2020, 2091}));
  EXPECT_EQ(controller.RetryPoint(), kNoNode);
  EXPECT_FALSE(ui.nextEnabled);
  EXPECT_TRUE(ui.tips.empty());
}

TEST_F(JudgeTest, NoTreeLeavesMovesUnjudged) {
  Open(AddProblemBytes(7, std::string(20, '\0')));
  Click("CC");
  EXPECT_EQ(sounds.played, V{1999});
  EXPECT_EQ(ui.labelResult, "");
  EXPECT_TRUE(history.calls.empty());
  EXPECT_EQ(At("CC"), 'X');
}

TEST_F(JudgeTest, MoveElsewhereMatchesTTAndComputerElsewhereGoesToTheFarCorner) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  t.Add(root, "CC 00");
  const NodeId any = t.Add(root, "TT");
  const NodeId reply = t.Add(any, "TT");
  t.Add(reply, "EE 11");
  // The far corner's first point is taken by a set-up stone.
  Open(AddProblem(7, t, "", "B", 1, "PP"));
  Click("BB");
  EXPECT_EQ(controller.Tree().Current(), reply);
  EXPECT_EQ(At("PQ"), 'O');  // (16, 17): the next empty point of the 16..19 block
  EXPECT_EQ(ui.labelResult, "");
  EXPECT_EQ(sounds.played, (V{1999, 1999}));  // no verdict yet
  EXPECT_FALSE(ui.nextEnabled);
  Click("EE");
  EXPECT_EQ(ui.labelResult, "lives,Success");
  EXPECT_EQ(history.Count("solved"), 1);
  // An exact match wins over "TT".
  controller.SolveAgain();
  Click("CC");
  EXPECT_EQ(ui.labelResult, "dies,Failure");
}

struct WeakMoveCase {
  const char* flags;
  std::vector<std::string> messages;
  int weakSounds;
  const char* comment;
};

TEST_F(JudgeTest, FlaggedUserMovesAreReportedInTurn) {
  const WeakMoveCase cases[] = {
      {"1", {"Bad move"}, 1, "Bad move"},
      {"4", {"Not best"}, 1, "Not best"},
      {"40", {"Sometimes"}, 1, ""},
      {"5", {"Bad move", "Not best"}, 2, ""},
      {"45", {"Bad move", "Not best", "Sometimes"}, 3, ""},
      {"2", {}, 0, "Seki"},
  };
  for (const WeakMoveCase& c : cases) {
    SCOPED_TRACE(c.flags);
    SolutionTree t;
    const NodeId root = t.Add(kNoNode, "");
    t.Add(t.Add(root, "CC", c.flags), "DD 00");
    Open(AddProblem(7, t));
    timer2.Stop();
    Click("CC");
    EXPECT_EQ(ui.stdHistory, c.messages);
    EXPECT_EQ(ui.statusRight, "");  // the reply's comment replaced the move's
    int weak = 0;
    for (int s : sounds.played) weak += s == 2091 ? 1 : 0;
    // A failure with no clean success anywhere adds one "#2091" for the missing retry point.
    EXPECT_EQ(weak, c.weakSounds + 1);
    EXPECT_EQ(timer2.Active(), !c.messages.empty());
    if (!c.messages.empty()) {
      EXPECT_EQ(ui.stdColour, kRedText);
      Advance(5000);
      EXPECT_EQ(ui.labelStd, "");
      EXPECT_EQ(ui.stdColour, kNormalText);
    }
    // The move's own comment shows when no reply follows.
    SolutionTree leaf;
    leaf.Add(leaf.Add(kNoNode, ""), "CC 00", c.flags);
    Open(AddProblem(8, leaf));
    Click("CC");
    EXPECT_EQ(ui.statusRight, c.comment);
    problems.numbers.clear();
  }
}

// A problem that keeps its own remark list shows its lines; the others use the shared list.
TEST_F(JudgeTest, AProblemsOwnRemarkListComesBeforeTheSharedOne) {
  SolutionTree t;
  t.Add(t.Add(kNoNode, ""), "CC 11", "", "2");
  controller.SetRemarks({"", "shared one", "shared two"});
  const int shared = AddProblem(7, t);
  const int own = AddProblem(8, t);
  problems.table[8].remarks = std::vector<std::string>{"", "own one", "黑死"};
  Open(own);
  Click("CC");
  EXPECT_EQ(ui.statusRight, "黑死");
  Open(shared);
  Click("CC");
  EXPECT_EQ(ui.statusRight, "shared two");
  // An own list without that line shows nothing rather than a line of the shared list.
  problems.table[8].remarks = std::vector<std::string>{""};
  Open(own);
  Click("CC");
  EXPECT_EQ(ui.statusRight, "");
}

// U 'CC' with replies R1 'DD' and R2 'DE', each answered by a winning user move.
SolutionTree TwoReplies(const char* r1Flags = "") {
  SolutionTree t;
  const NodeId u = t.Add(t.Add(kNoNode, ""), "CC");
  t.Add(t.Add(u, "DD", r1Flags), "EE 11");
  t.Add(t.Add(u, "DE"), "EF 11");
  return t;
}

TEST_F(JudgeTest, SuccessWalkShowsEveryReplyBeforeSolving) {
  Open(AddProblem(7, TwoReplies()));
  const NodeId u = controller.Tree().FirstChild(controller.Tree().FirstRoot());
  Click("CC");
  EXPECT_EQ(At("DD"), 'O');
  Click("EE");
  EXPECT_EQ(ui.labelResult, "lives,Success");
  EXPECT_EQ(sounds.played, (V{1999, 1999, 1999, 2010}));
  EXPECT_EQ(history.Count("solved"), 0);
  EXPECT_EQ(controller.RetryPoint(), u);
  EXPECT_EQ(Text(controller.AlternativeReply()), "DE");
  EXPECT_TRUE(ui.nextEnabled);
  EXPECT_EQ(ui.tips, V{1});

  // Twice: the same alternative from the same retry point.
  for (int i = 0; i < 2; ++i) {
    sounds.played.clear();
    controller.NextVariationOrRetry();
    EXPECT_EQ(At("DD"), '.');
    EXPECT_EQ(At("EE"), '.');
    EXPECT_EQ(At("CC"), 'X');
    EXPECT_EQ(At("DE"), 'O');
    EXPECT_EQ(Text(controller.Tree().Current()), "DE");
    EXPECT_EQ(sounds.played, V{1999});
    EXPECT_EQ(ui.labelResult, "");
  }
  Click("EF");
  EXPECT_EQ(history.Count("solved"), 1);
  EXPECT_EQ(controller.RetryPoint(), kNoNode);
  EXPECT_FALSE(
      controller.Tree().IsMarked(controller.Tree().FirstChild(u)));  // cleared on the way up

  // A new attempt starts the walk again with the first reply.
  controller.SolveAgain();
  Click("CC");
  EXPECT_EQ(At("DD"), 'O');
}

TEST_F(JudgeTest, BarredReplyIsNeverPlayedWhileASiblingExists) {
  controller.SetComputerDoNotPlayBadMove(true);
  Open(AddProblem(7, TwoReplies("1")));
  Click("CC");
  EXPECT_EQ(At("DD"), '.');
  EXPECT_EQ(At("DE"), 'O');
  Click("EF");
  EXPECT_EQ(history.Count("solved"), 1);  // R1 is barred, so nothing is left pending

  // With the option off the flagged reply is played first, and a success through it is
  // tainted: "#2030".
  controller.miComputerdonotplaybadmove1Click();
  EXPECT_EQ(controller.ReplyMask(), 24);
  Open(AddProblem(8, TwoReplies("1")));
  Click("CC");
  EXPECT_EQ(At("DD"), 'O');
  Click("EE");
  EXPECT_EQ(sounds.played.back(), 2030);
}

TEST_F(JudgeTest, OnlyChildIsPlayedWhateverItsFlags) {
  controller.SetComputerDoNotPlayBadMove(true);
  SolutionTree t;
  t.Add(t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD", "18"), "EE 11");
  Open(AddProblem(7, t));
  Click("CC");
  EXPECT_EQ(At("DD"), 'O');
}

TEST_F(JudgeTest, SuccessThroughANotBestMoveLeavesARetryBeforeIt) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  t.Add(t.Add(root, "CC", "4"), "DD 11");
  t.Add(t.Add(root, "CD"), "DE 11");
  Open(AddProblem(7, t));
  Click("CC");
  EXPECT_EQ(ui.labelResult, "lives,Success");
  EXPECT_EQ(sounds.played, (V{1999, 2091, 1999, 2030}));
  EXPECT_EQ(history.Count("solved"), 0);
  EXPECT_EQ(controller.RetryPoint(), root);
  EXPECT_EQ(ui.tips, V{2});
  controller.NextVariationOrRetry();
  EXPECT_EQ(At("CC"), '.');
  EXPECT_EQ(At("DD"), '.');
  Click("CD");
  EXPECT_EQ(history.Count("solved"), 1);
}

TEST_F(JudgeTest, FlaggedReplyBelowTheFlaggedUserMoveIsADataError) {
  SolutionTree t;
  t.Add(t.Add(t.Add(t.Add(kNoNode, ""), "CC", "1"), "DD", "1"), "EE 11");
  Open(AddProblem(0x1234, t));
  Click("CC");
  sounds.played.clear();
  Click("EE");
  EXPECT_EQ(sounds.played, (V{1999, 2030, 2094}));
  EXPECT_EQ(ui.labelStd, "Data error(1): 4660");
  EXPECT_EQ(ui.stdColour, kRedText);
  EXPECT_EQ(history.Count("solved"), 0);
}

TEST_F(JudgeTest, SilentPlaysNothingAndAFailingSoundBeeps) {
  controller.SetSilent(true);
  Open(AddProblem(7, SimpleTree()));
  Click("EE");
  EXPECT_TRUE(sounds.played.empty());
  EXPECT_EQ(ui.beeps, 0);
  controller.SetSilent(false);
  sounds.working = false;
  controller.SolveAgain();
  Click("EE");
  EXPECT_EQ(ui.beeps, 2);
}

TEST_F(JudgeTest, ChineseMessagesGoThroughTheConversion) {
  controller.SetLanguage(
      {Language::kTraditionalChinese, [](std::string s) { return "[" + s + "]"; }});
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC", "1"), "DD 11");
  Open(AddProblem(7, t));
  Click("EE");
  EXPECT_EQ(ui.labelResult, "[\xCA\xA7\xB0\xDC]");  // 失败
  controller.SolveAgain();
  Click("CC");
  EXPECT_EQ(ui.stdHistory, std::vector<std::string>{"[\xBB\xB5\xD7\xC5]"});  // 坏着
  EXPECT_EQ(ui.labelResult, "[\xBB\xEE],[\xB3\xC9\xB9\xA6]");                // 活,成功
  EXPECT_EQ(ui.statusRight, "");
}

TEST_F(JudgeTest, TryModeOnlyCountsTheMove) {
  Open(AddProblem(7, SimpleTree()));
  controller.SetTryMode(true);
  Click("CC");
  EXPECT_EQ(sounds.played, V{1999});
  EXPECT_EQ(history.calls, std::vector<std::string>{"try"});
  EXPECT_EQ(ui.undoEnabled, 1);
  EXPECT_EQ(controller.Tree().Current(), controller.Tree().FirstRoot());
}

TEST_F(JudgeTest, HintDotsAreClearedByTheNextJudgedMove) {
  Open(AddProblem(7, TwoReplies()));
  board.MarkPoints("AAEE", kGreenDot);
  ASSERT_EQ(board.MarkColor(1, 1), kGreenDot);
  Click("CC");
  EXPECT_EQ(board.MarkColor(1, 1), 0u);
  EXPECT_EQ(board.MarkColor(5, 5), 0u);
}

}  // namespace
}  // namespace zendra::test
