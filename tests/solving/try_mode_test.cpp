// Try mode on the problem board: the buttons' states through Undo and Next move, the position and
// the tree that Stop try puts back, Restart, the try moves counted, and Try opening the study
// window instead when that option is on.
#include "solving/try_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/solving/solving_fakes.h"

namespace zendra::test {
namespace {

using S = std::vector<std::string>;

class FakeTryUi : public TryModeUi {
 public:
  bool page = true;
  bool commandsEnabled = true;
  int commandChanges = 0;
  bool buttonsShown = false;
  bool undo = false;
  bool next = false;
  bool tryModeCommands = false;
  std::vector<std::string> studyOpenedWith;  // the Process of each board handed over
  int studyHides = 0;

  bool TryPageShowing() const override { return page; }
  void SetProblemCommandsEnabled(bool enabled) override {
    commandsEnabled = enabled;
    ++commandChanges;
  }
  void ShowTryButtons(bool shown) override { buttonsShown = shown; }
  void SetUndoEnabled(bool enabled) override { undo = enabled; }
  void SetNextMoveEnabled(bool enabled) override { next = enabled; }
  void ShowTryModeCommands(bool on) override { tryModeCommands = on; }
  void OpenStudyWindow(const LattixEngine& board) override {
    studyOpenedWith.push_back(board.Process());
  }
  void HideStudyWindow() override { ++studyHides; }
};

class TryModeTest : public SolvingFixture {
 protected:
  TryModeTest() : tryMode(board, controller, tryUi) {
    ui.page = true;
    board.SetSingleMode(false);  // as the problem board: clicks play the user's side
  }

  // root -> 'CC' -> 'DD' -> 'EE' -> 'FF 11': the user plays CC and EE, the computer DD and FF.
  static SolutionTree LongLine() {
    SolutionTree t;
    const NodeId root = t.Add(kNoNode, "");
    t.Add(t.Add(t.Add(t.Add(root, "CC"), "DD"), "EE"), "FF 11");
    return t;
  }
  // A click in try mode: the window enables Undo when the controller asks it to.
  void TryClick(const std::string& point) {
    const int before = ui.undoEnabled;
    Click(point);
    if (ui.undoEnabled > before) tryUi.undo = true;
  }
  // The node reached by the line of moves from the first root.
  NodeId NodeOf(const S& line) const {
    NodeId n = controller.Tree().FirstRoot();
    for (const std::string& m : line) {
      NodeId c = controller.Tree().FirstChild(n);
      while (c != kNoNode && controller.Tree().NodePoint(c) != m)
        c = controller.Tree().NextSibling(c);
      n = c;
    }
    return n;
  }

  FakeTryUi tryUi;
  TryMode tryMode;
};

TEST_F(TryModeTest, ButtonsFollowUndoAndNextMoveAndStopTryBringsTheSolvingBack) {
  Open(AddProblem(7, LongLine()));
  Click("CC");  // the computer answers DD
  ASSERT_EQ(board.Process(), "CCDD");
  tryMode.Try();
  ASSERT_TRUE(tryMode.Active());
  EXPECT_EQ(tryMode.TryStart(), 2);
  EXPECT_EQ(board.GivenProcess(), "CCDD");
  EXPECT_TRUE(board.SingleMode() && board.Study() && board.AllowStudy());
  EXPECT_FALSE(tryUi.commandsEnabled);
  EXPECT_TRUE(tryUi.buttonsShown);
  EXPECT_TRUE(tryUi.tryModeCommands);
  EXPECT_FALSE(ui.nextEnabled);

  struct Step {
    const char* what;  // a point to play, or "undo" / "next"
    const char* process;
    bool undo;
    bool next;
  };
  const Step steps[] = {
      {"", "CCDD", true, false},  // the state Try left
      {"AA", "CCDDAA", true, false},
      {"AB", "CCDDAAAB", true, false},
      {"AC", "CCDDAAABAC", true, false},
      {"undo", "CCDDAAAB", true, true},
      {"undo", "CCDDAA", true, true},
      {"next", "CCDDAAAB", true, true},
      {"next", "CCDDAAABAC", true, false},
      {"next", "CCDDAAABAC", true, false},  // beyond the line: nothing
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const std::string what = s.what;
    if (what == "undo") {
      tryMode.Undo();
    } else if (what == "next") {
      tryMode.NextMove();
    } else if (!what.empty()) {
      TryClick(what);
    }
    EXPECT_EQ(board.Process(), s.process);
    EXPECT_EQ(tryUi.undo, s.undo);
    EXPECT_EQ(tryUi.next, s.next);
  }
  // Three moves placed, three try moves counted: Undo and Next move count nothing.
  EXPECT_EQ(history.calls, (S{"try", "try", "try"}));
  EXPECT_EQ(board.GivenProcess(), "CCDDAAABAC");

  tryMode.StopTry();
  EXPECT_FALSE(tryMode.Active());
  EXPECT_EQ(board.Process(), "CCDD");
  EXPECT_EQ(At("AA"), '.');
  EXPECT_EQ(At("CC"), 'X');
  EXPECT_EQ(At("DD"), 'O');
  EXPECT_FALSE(board.SingleMode() || board.Study() || board.AllowStudy());
  EXPECT_TRUE(board.NewMoveEnabled());
  EXPECT_TRUE(tryUi.commandsEnabled);
  EXPECT_FALSE(tryUi.buttonsShown);
  EXPECT_FALSE(tryUi.tryModeCommands);
  EXPECT_FALSE(controller.TryMode());
  EXPECT_EQ(controller.Tree().Current(), NodeOf({"CC", "DD"}));

  // Solving goes on where Try left it.
  Click("EE");
  EXPECT_EQ(At("FF"), 'O');
  EXPECT_EQ(ui.labelResult, "lives,Success");
  EXPECT_EQ(history.Count("solved"), 1);
}

TEST_F(TryModeTest, UndoStopsAtTheInitialMoves) {
  // White's initial move QQ; black is the user.
  Open(AddProblem(7, LongLine(), "QQ", "W"));
  tryMode.Try();
  EXPECT_EQ(tryMode.TryStart(), 1);
  EXPECT_FALSE(tryUi.undo);  // nothing beyond the initial move
  EXPECT_FALSE(tryUi.next);
  tryMode.Undo();
  EXPECT_EQ(board.Process(), "QQ");
  TryClick("AA");
  EXPECT_TRUE(tryUi.undo);
  tryMode.Undo();
  EXPECT_EQ(board.Process(), "QQ");
  EXPECT_FALSE(tryUi.undo);
  EXPECT_TRUE(tryUi.next);
  tryMode.Undo();
  EXPECT_EQ(board.Process(), "QQ");
  EXPECT_EQ(At("QQ"), 'O');
  tryMode.NextMove();
  EXPECT_EQ(board.Process(), "QQAA");
}

TEST_F(TryModeTest, AfterUndoAnotherMoveKeepsNextMoveAndNextReplaysTheLinesMove) {
  Open(AddProblem(7, LongLine()));
  tryMode.Try();
  EXPECT_EQ(tryMode.TryStart(), 0);
  for (const char* p : {"AA", "AB", "AC"}) TryClick(p);
  tryMode.Undo();
  tryMode.Undo();
  ASSERT_EQ(board.Process(), "AA");
  ASSERT_TRUE(tryUi.next);
  TryClick("BB");  // a move of its own instead of AB
  EXPECT_TRUE(tryUi.next);
  EXPECT_EQ(board.GivenProcess(), "AAABAC");
  tryMode.NextMove();  // move 3 of the line
  EXPECT_EQ(board.Process(), "AABBAC");
  EXPECT_EQ(history.Count("try"), 4);
}

TEST_F(TryModeTest, RestartReturnsToTheTryStartWithANewReplayLine) {
  Open(AddProblem(7, LongLine()));
  Click("CC");
  tryMode.Try();
  TryClick("AA");
  TryClick("AB");
  tryMode.Undo();
  ASSERT_EQ(board.GivenProcess(), "CCDDAAAB");
  tryMode.Restart();
  EXPECT_TRUE(tryMode.Active());
  EXPECT_TRUE(controller.TryMode());
  EXPECT_EQ(board.Process(), "CCDD");
  EXPECT_EQ(board.GivenProcess(), "CCDD");
  EXPECT_EQ(tryMode.TryStart(), 2);
  EXPECT_FALSE(tryUi.commandsEnabled);
  EXPECT_TRUE(tryUi.buttonsShown);
  EXPECT_FALSE(tryUi.next);
  EXPECT_TRUE(board.SingleMode());
}

// An Undo below the try start followed by other moves replaces the replay line; Stop try still
// returns to the position of Try, where the tree stands.
TEST_F(TryModeTest, StopTryReturnsToTheTryPositionAfterTheLineWasReplaced) {
  Open(AddProblem(7, LongLine()));
  Click("CC");
  tryMode.Try();
  tryMode.Undo();
  tryMode.Undo();
  ASSERT_EQ(board.Process(), "");
  for (const char* p : {"AA", "AB", "AC"}) TryClick(p);
  tryMode.Undo();
  ASSERT_EQ(board.GivenProcess(), "AAABAC");
  tryMode.StopTry();
  EXPECT_EQ(board.Process(), "CCDD");
  EXPECT_EQ(At("AA"), '.');
  Click("EE");
  EXPECT_EQ(ui.labelResult, "lives,Success");
}

// Solve again and Back keep their keys in try mode and move the tree; Stop try brings back the
// current node and the pending continuation of Try, and Next variation or retry stays disabled.
TEST_F(TryModeTest, StopTryRestoresTheTreeAfterSolveAgainInTryMode) {
  Open(AddProblem(7, LongLine()));
  Click("CC");
  Click("AA");  // not in the tree: a failure with the retry point after DD
  const NodeId afterDD = NodeOf({"CC", "DD"});
  ASSERT_EQ(controller.RetryPoint(), afterDD);
  ASSERT_TRUE(ui.nextEnabled);
  tryMode.Try();
  EXPECT_FALSE(ui.nextEnabled);
  controller.SolveAgain();  // the key Home
  ASSERT_EQ(board.Process(), "");
  ASSERT_EQ(controller.RetryPoint(), kNoNode);
  TryClick("BB");
  controller.Back();  // the key Backspace
  tryMode.StopTry();
  EXPECT_EQ(board.Process(), "CCDDAA");
  EXPECT_EQ(controller.Tree().Current(), afterDD);
  EXPECT_EQ(controller.RetryPoint(), afterDD);
  EXPECT_FALSE(ui.nextEnabled);
  controller.NextVariationOrRetry();
  EXPECT_EQ(board.Process(), "CCDD");
  EXPECT_EQ(ui.stdHistory, S{});  // no data error
  Click("EE");
  EXPECT_EQ(ui.labelResult, "lives,Success");
}

TEST_F(TryModeTest, StudyAtNewWindowOpensTheStudyWindowAndLeavesTheBoard) {
  Open(AddProblem(7, LongLine()));
  Click("CC");
  tryMode.SetStudyAtNewWindow(true);
  tryMode.Try();
  EXPECT_EQ(tryUi.studyOpenedWith, S{"CCDD"});
  EXPECT_FALSE(tryMode.Active());
  EXPECT_FALSE(controller.TryMode());
  EXPECT_FALSE(board.SingleMode());
  EXPECT_EQ(tryUi.commandChanges, 0);
  // The board stays in solving: the next move is judged.
  Click("EE");
  EXPECT_EQ(ui.labelResult, "lives,Success");
  // Stop try outside try mode only hides the study window.
  tryMode.StopTry();
  EXPECT_EQ(tryUi.studyHides, 1);
  EXPECT_EQ(tryUi.commandChanges, 0);
}

TEST_F(TryModeTest, TryNeedsTheProblemPageAnOpenProblemAndNoTryModeYet) {
  tryMode.Try();  // no problem open
  EXPECT_FALSE(tryMode.Active());
  Open(AddProblem(7, LongLine()));
  tryUi.page = false;
  tryMode.Try();
  EXPECT_FALSE(tryMode.Active());
  tryUi.page = true;
  tryMode.Try();
  ASSERT_TRUE(tryMode.Active());
  TryClick("AA");
  tryMode.Try();  // a second Try keeps the first try start and line
  EXPECT_EQ(tryMode.TryStart(), 0);
  EXPECT_EQ(board.GivenProcess(), "");
  EXPECT_EQ(tryUi.commandChanges, 1);
  // Outside try mode Undo and Next move do nothing.
  tryMode.StopTry();
  tryMode.Undo();
  tryMode.NextMove();
  EXPECT_EQ(board.Process(), "");
}

}  // namespace
}  // namespace zendra::test
