// Try mode in the main window on the offscreen platform: F9 and F10, the try buttons of the
// problem page, the commands try mode disables and gives back, the try moves on the trial
// counter, a collection load ending try mode, and Try opening the study window when the stored
// option asks for it.
#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "app/main_form.h"
#include "app/settings.h"
#include "app/study_form.h"
#include "board/widget/lattix.h"
#include "solving/try_mode.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

class TryModeWindowTest : public test::MainWindowTest {
 protected:
  QPushButton* Button(const char* name) const { return form->findChild<QPushButton*>(name); }
  bool Enabled(const char* name) const { return form->Command(name)->isEnabled(); }
  void ClickButton(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
};

// Entries, buttons and keys try mode disables; and those that stay (Home and Backspace keep
// Solve again and Back, Result and Next variation keep theirs).
const char* const kDisabledInTryMode[] = {
    "miFirstproblem1", "miPriorproblem1", "miNextproblem1", "miLastproblem1", "keyUp",
    "keyDown",         "miProblemIndex1", "miSolveIt1",     "miBasic1",       "miAdvanced1",
    "miSolveAgain1",   "keyEscape",       "miBack1",        "keyLeft",        "miHint1",
    "keyRight",        "miStudy1",        "keyF9"};
const char* const kEnabledInTryMode[] = {
    "keyHome", "keyBackspace", "miResult1", "keyEnd", "miNextVOfComputer1",
    "keyPgDn", "miStopStudy1", "keyF10"};
const char* const kTryButtons[] = {"btnUndo", "btnNextMove", "btn1", "btnStopStudy2"};

TEST_F(TryModeWindowTest, TryUndoNextMoveAndStopTry) {
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  ASSERT_TRUE(f.ProblemPageShowing());
  for (const char* b : kTryButtons) EXPECT_FALSE(Button(b)->isVisible()) << b;
  EXPECT_FALSE(Enabled("miStopStudy1"));
  EXPECT_TRUE(f.Command("btnStudy1")->isVisible());
  EXPECT_FALSE(f.Command("btnStopStudy1")->isVisible());

  Key(Qt::Key_F9);
  ASSERT_TRUE(f.TryModeCommands().Active());
  for (const char* b : kTryButtons) EXPECT_TRUE(Button(b)->isVisible()) << b;
  for (const char* name : kDisabledInTryMode) EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : kEnabledInTryMode) EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_FALSE(f.Command("btnStudy1")->isVisible());
  EXPECT_TRUE(f.Command("btnStopStudy1")->isVisible());
  EXPECT_FALSE(Button("btnUndo")->isEnabled());
  EXPECT_FALSE(Button("btnNextMove")->isEnabled());
  EXPECT_EQ(Button("btnStopStudy2")->toolTip(), "Stop try (End)");

  // Three moves of both colours, each a try move.
  Click(1, 1);
  Click(2, 1);
  Click(3, 1);
  TLattix* board = f.Board();
  EXPECT_EQ(board->Process(), "AABACA");
  EXPECT_GT(board->GetPoint(1, 1), 0);  // black
  EXPECT_LT(board->GetPoint(2, 1), 0);  // white
  EXPECT_EQ(f.LabelText("LabelStudyCount"), "trial count: 3");
  EXPECT_EQ(f.LabelText("LabelResult"), "");  // nothing judged
  EXPECT_TRUE(Button("btnUndo")->isEnabled());
  EXPECT_FALSE(Button("btnNextMove")->isEnabled());

  ClickButton("btnUndo");
  ClickButton("btnUndo");
  EXPECT_EQ(board->Process(), "AA");
  EXPECT_TRUE(Button("btnNextMove")->isEnabled());
  ClickButton("btnNextMove");
  EXPECT_EQ(board->Process(), "AABA");
  EXPECT_EQ(f.LabelText("LabelStudyCount"), "trial count: 3");

  Key(Qt::Key_F10);
  EXPECT_FALSE(f.TryModeCommands().Active());
  EXPECT_EQ(board->Process(), "");
  for (const char* b : kTryButtons) EXPECT_FALSE(Button(b)->isVisible()) << b;
  for (const char* name : {"miNextproblem1", "keyDown", "miProblemIndex1", "miSolveAgain1",
                           "keyEscape", "miBack1", "miHint1", "miStudy1", "keyF9", "miBasic1"})
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_FALSE(Enabled("miStopStudy1"));
  EXPECT_TRUE(f.Command("btnStudy1")->isVisible());
  EXPECT_FALSE(f.Command("btnStopStudy1")->isVisible());

  // Solving goes on: the solving move is judged again.
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_TRUE(f.LabelText("LabelResult").contains("Success"))
      << f.LabelText("LabelResult").toStdString();
  EXPECT_EQ(f.LabelText("LabelSuccessCount"), "Solved");
}

TEST_F(TryModeWindowTest, RestartAndACollectionLoadEndingTryMode) {
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);  // solved: try moves no longer count
  f.Command("miStudy1")->trigger();
  Click(1, 1);
  EXPECT_EQ(f.LabelText("LabelStudyCount"), "");
  ClickButton("btn1");
  EXPECT_TRUE(f.TryModeCommands().Active());
  EXPECT_EQ(f.Board()->Process(), "DD");
  EXPECT_EQ(f.Board()->GivenProcess(), "DD");
  EXPECT_FALSE(Enabled("miSolveAgain1"));

  f.OpenCollection(2);
  EXPECT_FALSE(f.TryModeCommands().Active());
  EXPECT_FALSE(f.ProblemPageShowing());
  EXPECT_TRUE(Enabled("miSolveIt1"));
  EXPECT_TRUE(Enabled("miSolveAgain1"));
  EXPECT_FALSE(Button("btnUndo")->isVisible());
}

TEST_F(TryModeWindowTest, StudyAtNewWindowOpensTheStudyWindowOnTheProblem) {
  {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    s.setValue("StudyAtNewWindow", "1");
  }
  TLattixMainForm& f = Start();
  EXPECT_EQ(f.StudyWindow(), nullptr);  // not made before it is needed
  f.Command("miSolveIt1")->trigger();
  Click(10, 10);  // a wrong move
  Key(Qt::Key_F9);
  EXPECT_FALSE(f.TryModeCommands().Active());
  EXPECT_FALSE(Enabled("miStopStudy1"));
  EXPECT_TRUE(Enabled("miSolveAgain1"));
  TStudyForm* study = f.StudyWindow();
  ASSERT_NE(study, nullptr);
  EXPECT_TRUE(study->isVisible());
  EXPECT_EQ(study->Board()->Process(), "JJ");
  EXPECT_GT(study->Board()->GetPoint(3, 3), 0);  // a black set-up stone of the problem
  EXPECT_LT(study->Board()->GetPoint(6, 3), 0);  // and a white one
  EXPECT_EQ(f.Board()->Process(), "JJ");
  EXPECT_FALSE(f.Board()->SingleMode());

  // The window is kept: a second Try shows the same one.
  study->hide();
  f.Command("miSolveAgain1")->trigger();
  Key(Qt::Key_F9);
  EXPECT_EQ(f.StudyWindow(), study);
  EXPECT_TRUE(study->isVisible());
  EXPECT_EQ(study->Board()->Process(), "");
}

}  // namespace
}  // namespace zendra
