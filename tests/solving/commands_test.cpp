// Opening a problem and the solving commands: Solve again, Back, Next variation or retry,
// Result, Hint, the delay dialog, the toggles and the timers.
#include <gtest/gtest.h>

#include "tests/solving/solving_fakes.h"

namespace zendra::test {
namespace {

using V = std::vector<int>;
using S = std::vector<std::string>;

class CommandsTest : public SolvingFixture {};

// root -> 'CC' -> 'DD' -> 'EE 11' (and a refuted first move 'CD' -> 'DE 00')
SolutionTree LineTree() {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  t.Add(t.Add(t.Add(root, "CC"), "DD"), "EE 11");
  t.Add(t.Add(root, "CD"), "DE 00");
  return t;
}

TEST_F(CommandsTest, OpenProblemSetsTheBoardUpAndShowsThePage) {
  // White first with one initial move: black is the user.
  const int position = AddProblem(0x0A1F, LineTree(), "QQ", "W", 1, "AAAB", "BA");
  controller.OpenProblem(position);
  EXPECT_EQ(history.calls, (S{"place 2591", "show 0"}));
  EXPECT_TRUE(ui.page);
  EXPECT_EQ(ui.pageShows, 1);
  EXPECT_EQ(At("AA"), 'X');
  EXPECT_EQ(At("BA"), 'O');
  EXPECT_EQ(At("QQ"), 'O');
  EXPECT_EQ(board.StoneNumber(17, 17), 1);  // "Display numbers if possible" is on by default
  EXPECT_EQ(controller.UserColour(), kBlack);
  EXPECT_EQ(board.Turn(), kBlack);
  EXPECT_EQ(board.SelfSide(), 0);
  EXPECT_EQ(controller.Tree().Current(), controller.Tree().FirstRoot());
  EXPECT_EQ(controller.MovesPlayed(), 0);

  // An empty first player counts as black; white to move after an odd Initial.
  const int second = AddProblem(0x0B00, LineTree(), "QQ", "");
  controller.OpenProblem(second);
  EXPECT_EQ(controller.UserColour(), kWhite);
  EXPECT_EQ(board.SelfSide(), 1);
  EXPECT_EQ(ui.pageShows, 1);  // already showing
}

TEST_F(CommandsTest, OpeningAnUnknownProblemChangesNothing) {
  Open(AddProblem(7, LineTree()));
  Click("CD");
  problems.numbers.push_back(99);  // not in the table
  for (int position : {1, 2, -1}) controller.OpenProblem(position);
  EXPECT_TRUE(history.calls.size() == 1 && history.calls[0] == "failure");
  EXPECT_EQ(At("CD"), 'X');
  EXPECT_EQ(controller.ProblemNumber(), 7);
}

TEST_F(CommandsTest, CorruptedTreeBeepsAndOpensOnWhatWasRead) {
  std::string stream = LineTree().Save();
  stream.resize(stream.size() - 30);
  const int position = AddProblemBytes(7, stream);
  controller.OpenProblem(position);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(ui.statusRight, "Data corrupted");
  EXPECT_EQ(controller.Tree().Current(), controller.Tree().FirstRoot());
  ClearRecords();
  Click("CC");
  EXPECT_EQ(At("DD"), 'O');
}

TEST_F(CommandsTest, BackAfterARefutationRemovesTwoMovesWithoutCounting) {
  Open(AddProblem(7, LineTree()));
  Click("CD");
  EXPECT_EQ(ui.labelResult, "dies,Failure");
  controller.Back();
  EXPECT_EQ(At("CD"), '.');
  EXPECT_EQ(At("DE"), '.');
  EXPECT_EQ(controller.Tree().Current(), controller.Tree().FirstRoot());
  EXPECT_EQ(ui.labelResult, "");
  EXPECT_FALSE(ui.nextEnabled);
  EXPECT_EQ(controller.RetryPoint(), kNoNode);
  EXPECT_EQ(history.Count("takeback"), 0);
}

TEST_F(CommandsTest, BackAfterAMoveOutsideTheTreeRemovesThatMoveOnly) {
  Open(AddProblem(7, LineTree()));
  Click("CC");  // reply DD, current node 'DD' (inside the line)
  Click("AA");  // not in the tree: no reply
  controller.Back();
  EXPECT_EQ(At("AA"), '.');
  EXPECT_EQ(At("DD"), 'O');
  EXPECT_EQ(Text(controller.Tree().Current()), "DD");
  EXPECT_EQ(history.Count("takeback"), 1);

  // At the root nothing is counted.
  controller.SolveAgain();
  EXPECT_EQ(history.Count("takeback"), 2);  // Solve again from inside the line counts too
  Click("AA");
  controller.Back();
  EXPECT_EQ(At("AA"), '.');
  EXPECT_EQ(history.Count("takeback"), 2);
}

TEST_F(CommandsTest, BackWithOnlyTheInitialMovesTakesNothingBack) {
  controller.SetTakebackAutomatically(true);
  Open(AddProblem(7, LineTree(), "QQRR"));
  Click("AA");
  ASSERT_TRUE(timer1.Active());
  controller.Back();  // removes AA
  EXPECT_EQ(At("AA"), '.');
  controller.Back();
  EXPECT_EQ(At("QQ"), 'X');
  EXPECT_EQ(At("RR"), 'O');
  EXPECT_FALSE(timer1.Active());
  EXPECT_FALSE(ui.nextEnabled);
}

TEST_F(CommandsTest, CommandsNeedTheProblemPage) {
  Open(AddProblem(7, LineTree()));
  Click("AA");
  ui.page = false;
  controller.Back();
  controller.SolveAgain();
  controller.Result();
  controller.Hint();
  EXPECT_EQ(At("AA"), 'X');
  EXPECT_EQ(history.calls, S{"failure"});
  EXPECT_EQ(board.MarkColor(3, 3), 0u);
  ui.page = true;
  ui.selected = false;
  controller.Result();
  controller.Hint();
  EXPECT_EQ(history.calls, S{"failure"});
}

TEST_F(CommandsTest, NextVariationWithoutRetryPointRestartsWithTheErrorSound) {
  Open(AddProblem(7, LineTree()));
  Click("CC");
  sounds.played.clear();
  controller.NextVariationOrRetry();
  EXPECT_EQ(sounds.played, V{2094});
  EXPECT_EQ(At("CC"), '.');
  EXPECT_EQ(history.Count("takeback"), 1);  // the user stopped inside a line
  EXPECT_EQ(ui.hides, 1);
}

TEST_F(CommandsTest, AlternativeThatEndsTheLineIsDataError3) {
  SolutionTree t;
  const NodeId u = t.Add(t.Add(kNoNode, ""), "CC");
  t.Add(t.Add(u, "DD"), "EE 11");
  t.Add(u, "DE 00");
  Open(AddProblem(42, t));
  Click("CC");
  Click("EE");
  ASSERT_EQ(Text(controller.AlternativeReply()), "DE 00");
  sounds.played.clear();
  controller.NextVariationOrRetry();
  EXPECT_EQ(sounds.played, (V{1999, 2094}));
  EXPECT_EQ(ui.labelStd, "Data error(3): 42");
  EXPECT_EQ(ui.stdColour, kRedText);
  EXPECT_EQ(At("CC"), '.');  // restarted
  EXPECT_EQ(history.Count("solved"), 0);
}

TEST_F(CommandsTest, AlternativeOffTheBoardIsDataError2) {
  SolutionTree t;
  const NodeId u = t.Add(t.Add(kNoNode, ""), "CC");
  t.Add(t.Add(u, "DD"), "EE 11");
  t.Add(t.Add(u, "ZZ"), "EF 11");
  Open(AddProblem(42, t));
  Click("CC");
  Click("EE");
  sounds.played.clear();
  controller.NextVariationOrRetry();
  EXPECT_EQ(sounds.played, V{2094});
  EXPECT_EQ(ui.stdHistory, S{"Data error(2): 42"});
  EXPECT_EQ(At("CC"), '.');
}

// A computer reply the board refuses (the point is taken) leaves the tree deeper than the
// board; returning to the retry point then stops making progress.
TEST_F(CommandsTest, ReturnThatMakesNoProgressStopsAtOnceWithError) {
  SolutionTree t;
  const NodeId u = t.Add(t.Add(kNoNode, ""), "CC");
  const NodeId refused = t.Add(u, "AA");  // a black set-up stone stands there
  t.Add(t.Add(refused, "EE"), "FF 00");
  t.Add(refused, "EF 11");
  Open(AddProblem(5, t, "", "B", 1, "AA"));
  Click("CC");
  EXPECT_EQ(controller.Tree().Current(), refused);
  EXPECT_EQ(board.Turn(), kWhite);  // the board still waits for the reply
  Click("EE");                      // played for white; judged as the next user move
  ASSERT_EQ(controller.RetryPoint(), refused);
  clock.stepPerRead = 1;
  clock.reads = 0;
  sounds.played.clear();
  controller.NextVariationOrRetry();
  EXPECT_LT(clock.reads, 20);
  EXPECT_EQ(ui.stdHistory, (S{"Error", "Data error(3): 5"}));
  EXPECT_EQ(sounds.played, V{2094});
  EXPECT_EQ(At("CC"), '.');
}

TEST_F(CommandsTest, ReturnIsBoundedBy30Seconds) {
  Open(AddProblem(7, LineTree()));
  Click("AA");
  clock.stepPerRead = 30001;  // the first check inside the loop is already past the bound
  sounds.played.clear();
  controller.NextVariationOrRetry();
  // The loop stopped before taking anything back: the computer is to move, so the problem
  // restarts with data error 2.
  EXPECT_EQ(ui.stdHistory, (S{"Error", "Data error(2): 7"}));
  EXPECT_EQ(sounds.played, V{2094});

  // A clock that went backwards counts as no time passed.
  Open(AddProblem(8, LineTree()));
  Click("AA");
  clock.stepPerRead = -100000;
  controller.NextVariationOrRetry();
  EXPECT_TRUE(ui.stdHistory.empty());
  EXPECT_EQ(At("AA"), '.');
}

TEST_F(CommandsTest, ResultShowsTheAnswerAndCounts) {
  struct Case {
    std::optional<int> result2;
    const char* english;
  };
  const Case cases[] = {{0, "dies"}, {1, "lives"}, {2, "ko"},
                        {3, "ko"},   {7, ""},      {std::nullopt, ""}};
  int number = 1;
  for (const Case& c : cases) {
    Open(AddProblem(number++, LineTree(), "", "B", c.result2));
    controller.Result();
    EXPECT_EQ(ui.labelStd, c.english);
    EXPECT_EQ(history.calls, S{"hint 0"});
  }
  controller.SetLanguage({Language::kSimplifiedChinese, {}});
  Open(AddProblem(number, LineTree(), "", "B", 3));
  controller.Result();
  EXPECT_EQ(ui.labelStd, "\xBD\xD9\xBB\xEE");  // 劫活
}

TEST_F(CommandsTest, HintDotsGoodAndBadFirstMoves) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  t.Add(t.Add(t.Add(root, "CC"), "DD"), "EE 11");       // clean success below: green
  t.Add(t.Add(root, "CD"), "DE 00");                    // yellow
  t.Add(root, "AB 11");                                 // success itself: green
  t.Add(root, "TT 11");                                 // green list, but no dot
  t.Add(root, "ZZ 11");                                 // off the board: no list
  t.Add(t.Add(t.Add(root, "BC"), "BD", "1"), "BE 11");  // only through a flagged reply: yellow
  Open(AddProblem(7, t));
  controller.Hint();
  EXPECT_EQ(board.MarkColor(3, 3), kGreenDot);
  EXPECT_EQ(board.MarkColor(1, 2), kGreenDot);
  EXPECT_EQ(board.MarkColor(3, 4), kYellowDot);
  EXPECT_EQ(board.MarkColor(2, 3), kYellowDot);
  EXPECT_EQ(history.calls, S{"hint 1"});
}

TEST_F(CommandsTest, HintAfterAWrongMoveBacksUpFirst) {
  Open(AddProblem(7, LineTree()));
  Click("AA");
  controller.Hint();
  EXPECT_EQ(At("AA"), '.');
  EXPECT_EQ(board.MarkColor(3, 3), kGreenDot);
  EXPECT_EQ(history.calls, (S{"failure", "hint 1"}));  // the root's Back counts no takeback

  // Hints not allowed: a beep and nothing else.
  controller.SetHintAllowed(false);
  controller.Hint();
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(history.Count("hint 1"), 1);

  // With Back disabled (try mode), a wrong side to move gets no dots.
  controller.SetHintAllowed(true);
  controller.SetBackEnabled(false);
  board.ClearMarks();
  Click("CC");
  board.TakeBack();  // the computer's reply gone: computer to move
  controller.Hint();
  EXPECT_EQ(board.MarkColor(5, 5), 0u);
}

TEST_F(CommandsTest, DelayDialogAcceptsWholeNumbersUpTo30) {
  EXPECT_EQ(timer1.Interval(), 10000);  // from start-up, before the track bar moved
  struct Case {
    std::optional<std::string> answer;
    int delay;
    int beeps;
  };
  const Case cases[] = {{"31", 10, 1}, {"abc", 10, 2}, {std::nullopt, 10, 2}, {"", 10, 3},
                        {"-1", 10, 4}, {"30", 30, 4},  {"0", 0, 4},           {"007", 7, 4}};
  for (const Case& c : cases) {
    ui.inputAnswer = c.answer;
    controller.DelayDialog();
    EXPECT_EQ(controller.Delay(), c.delay);
    EXPECT_EQ(ui.beeps, c.beeps);
  }
  EXPECT_EQ(ui.inputQueries[0],
            "Please input: |Delay time (0-30 seconds) before takeback automatically:             "
            "|10");
  EXPECT_EQ(timer1.Interval(), 7000);
  controller.SetDelay(0);
  EXPECT_EQ(timer1.Interval(), 50);
  controller.SetDelay(31);
  EXPECT_EQ(controller.Delay(), 0);
}

TEST_F(CommandsTest, AutomaticTakebackWithZeroDelayRunsAfter50ms) {
  controller.SetDelay(0);
  controller.SetTakebackAutomatically(true);
  Open(AddProblem(7, LineTree()));
  Click("AA");
  controller.ToggleTakebackAutomatically();  // switching off does not stop a running timer
  Advance(49);
  EXPECT_EQ(At("AA"), 'X');
  Advance(1);
  EXPECT_EQ(At("AA"), '.');
  EXPECT_FALSE(timer1.Active());
  Click("AA");
  EXPECT_FALSE(timer1.Active());
}

TEST_F(CommandsTest, MessageTimerClearsTheLabelFiveSecondsAfterStartUp) {
  EXPECT_TRUE(timer2.Active());
  ui.labelStd = "No. 1";
  Advance(5000);
  EXPECT_EQ(ui.labelStd, "");
  EXPECT_FALSE(timer2.Active());
}

TEST_F(CommandsTest, DisplayNumbersToggleRestarts) {
  Open(AddProblem(7, LineTree(), "QQRR"));
  EXPECT_EQ(board.StoneNumber(18, 18), 2);
  Click("CC");
  controller.ToggleDisplayNumbers();
  EXPECT_FALSE(controller.DisplayNumbers());
  EXPECT_EQ(At("CC"), '.');
  EXPECT_EQ(board.StoneNumber(18, 18), 0);
  EXPECT_EQ(history.Count("takeback"), 1);
}

}  // namespace
}  // namespace zendra::test
