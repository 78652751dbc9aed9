// The main window on the offscreen platform: pages and the entries they show, keys that act on
// hidden entries, zoom, statistics on screen and the settings kept between runs.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

#include "app/settings.h"
#include "app/status_bar.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "problem_import/problem_data.h"
#include "solving/solving_controller.h"
#include "tests/app/app_test_data.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

using MainFormTest = test::MainWindowTest;

const char* const kIndexEntries[] = {"miSolveIt1", "miFirstpage1", "miPriorpage1", "miNextpage1",
                                     "miLastpage1"};
const char* const kProblemEntries[] = {"miProblemIndex1", "miFirstproblem1", "miPriorproblem1",
                                       "miNextproblem1",  "miLastproblem1",  "miZoomin1",
                                       "miZoomout1"};

void ExpectPage(TLattixMainForm& f, bool problemPage) {
  EXPECT_EQ(f.ProblemPageShowing(), problemPage);
  for (const char* name : kIndexEntries)
    EXPECT_EQ(f.Command(name)->isVisible(), !problemPage) << name;
  for (const char* name : kProblemEntries)
    EXPECT_EQ(f.Command(name)->isVisible(), problemPage) << name;
  EXPECT_EQ(f.Command("miSolveIt1")->isChecked(), problemPage);
  EXPECT_EQ(f.Command("miProblemIndex1")->isChecked(), !problemPage);
}

TEST_F(MainFormTest, PagesShowTheirOwnEntries) {
  TLattixMainForm& f = Start();
  ASSERT_EQ(f.Grid()->Count(), 7);
  ExpectPage(f, false);
  EXPECT_FALSE(f.SolvingToolBar()->isVisible());

  f.Command("miSolveIt1")->trigger();
  ExpectPage(f, true);
  EXPECT_TRUE(f.SolvingToolBar()->isVisible());
  EXPECT_EQ(f.Grid()->Selected(), 0);
  EXPECT_EQ(f.LabelText("LabelStdResult"), "No. 1");

  f.Command("miProblemIndex1")->trigger();
  ExpectPage(f, false);
  EXPECT_FALSE(f.SolvingToolBar()->isVisible());

  // A click on a thumbnail opens its problem.
  TGoIndex* grid = f.Grid();
  const QRect cell = grid->CellRect(1, 2);
  QTest::mouseClick(grid, Qt::LeftButton, {}, cell.center());
  ExpectPage(f, true);
  EXPECT_EQ(grid->Selected(), 1);
  EXPECT_EQ(f.LabelText("LabelStdResult"), "No. 2");
}

TEST_F(MainFormTest, KeysActWhileTheirEntriesAreHidden) {
  TLattixMainForm& f = Start();
  ASSERT_FALSE(Visible("miNextproblem1"));
  Key(Qt::Key_Down);  // next problem from the index page
  ExpectPage(f, true);
  EXPECT_EQ(f.Grid()->Selected(), 0);
  EXPECT_FALSE(f.SolvingToolBar()->isVisible());  // only Solve it shows it
  Key(Qt::Key_Down);
  EXPECT_EQ(f.Grid()->Selected(), 1);
  Key(Qt::Key_Up);
  EXPECT_EQ(f.Grid()->Selected(), 0);

  // Home, a hidden entry, restarts the problem; Backspace, another, takes a move back.
  Click(10, 10);
  ASSERT_FALSE(f.Board()->Process().empty());
  Key(Qt::Key_Home);
  EXPECT_TRUE(f.Board()->Process().empty());
  Click(10, 10);
  Key(Qt::Key_Backspace);
  EXPECT_TRUE(f.Board()->Process().empty());

  // End shows the answer text; it counts the Result use.
  Key(Qt::Key_End);
  EXPECT_EQ(f.LabelText("LabelHint0Count"), "Hint(result) count: 1");

  // Page commands are hidden on the problem page, but their entries do not take keys anyway;
  // Up at the first problem does nothing.
  Key(Qt::Key_Up);
  EXPECT_EQ(f.Grid()->Selected(), 0);
}

TEST_F(MainFormTest, ZoomStepsAndTheSavedRadius) {
  struct Case {
    int start;              // the radius when Zoom in first runs (becomes the saved radius)
    std::vector<int> ins;   // radius after each Zoom in
    std::vector<int> outs;  // radius after each Zoom out
  };
  const Case cases[] = {
      {12, {18, 18}, {12}},
      {13, {18}, {13}},
      {7, {10, 15, 18}, {12, 8, 7}},
      {4, {6, 9}, {6, 6}},
  };
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    ASSERT_TRUE(f.BoardFillsPanel());
    f.Board()->SetRadius(static_cast<int16_t>(c.start));
    for (int r : c.ins) {
      f.Command("miZoomin1")->trigger();
      EXPECT_EQ(f.Board()->Radius(), r);
      EXPECT_FALSE(f.BoardFillsPanel());
      EXPECT_EQ(f.Board()->DisplayInfo(), 0);
      EXPECT_TRUE(f.Command("miZoomout1")->isEnabled());
    }
    EXPECT_EQ(f.SavedRadius(), c.start);
    for (int r : c.outs) {
      f.Command("miZoomout1")->trigger();
      // Once it fills its panel again the board takes the panel's radius.
      if (!f.BoardFillsPanel()) {
        EXPECT_EQ(f.Board()->Radius(), r);
      }
    }
    if (c.start >= 6) {
      // Back at the saved radius the board fills its panel again.
      EXPECT_TRUE(f.BoardFillsPanel());
      EXPECT_EQ(f.Board()->DisplayInfo(), 1);
    } else {
      // Below the smallest zoom step the saved radius cannot be reached by zooming out.
      EXPECT_FALSE(f.BoardFillsPanel());
      f.Board()->SetRadius(static_cast<int16_t>(c.start));
      f.Command("miZoomout1")->trigger();
      EXPECT_TRUE(f.BoardFillsPanel());
    }
  }
}

TEST_F(MainFormTest, MovesCountAndMarkTheThumbnail) {
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  Click(10, 10);  // not in the tree
  EXPECT_TRUE(f.LabelText("LabelResult").contains("Failure"))
      << f.LabelText("LabelResult").toStdString();
  EXPECT_EQ(f.LabelText("LabelFailureCount"), "Failure count: 1");
  EXPECT_EQ(f.Grid()->Games()[0][4], '0');

  f.Command("miSolveAgain1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_TRUE(f.LabelText("LabelResult").contains("Success"))
      << f.LabelText("LabelResult").toStdString();
  EXPECT_EQ(f.LabelText("LabelSuccessCount"), "Solved");
  EXPECT_EQ(f.Grid()->Games()[0][4], '1');

  f.Command("Resetsolvedflag1")->trigger();
  EXPECT_EQ(f.LabelText("LabelSuccessCount"), "");
  EXPECT_EQ(f.Grid()->Games()[0][4], '0');

  // Closing writes the history; the next run shows the failure and the mark of a new solve.
  Click(test::kSolvingP, test::kSolvingQ);  // the line is over: a new attempt is needed
  f.Command("miSolveAgain1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.Grid()->Games()[0][4], '1');
  form->close();
  TLattixMainForm& g = Start();
  EXPECT_EQ(g.Grid()->Games()[0][4], '1');
  g.Command("miSolveIt1")->trigger();
  EXPECT_EQ(g.LabelText("LabelFailureCount"), "Failure count: 1");
  EXPECT_EQ(g.LabelText("LabelSuccessCount"), "Solved");
}

TEST_F(MainFormTest, OptionsAndPlacementSurviveARestart) {
  TLattixMainForm& f = Start();
  // First run without stored values: display numbers on, silent and takeback off, collection 2.
  EXPECT_TRUE(f.Command("miDisplaynumbers1")->isChecked());
  // A first run reads the missing bad-move switch as off.
  EXPECT_FALSE(f.Command("miComputerdonotplaybadmove1")->isChecked());
  EXPECT_EQ(f.Controller().ReplyMask(), kReplyMaskDefault);
  EXPECT_FALSE(f.Command("miTakebackautomatically1")->isChecked());
  EXPECT_FALSE(f.Controller().Silent());
  EXPECT_EQ(f.DelayTrackBar()->value(), 10);

  f.Command("miSilent1")->trigger();
  f.Command("miTakebackautomatically1")->trigger();
  f.Command("miDisplaynumbers1")->trigger();
  f.Command("miComputerdonotplaybadmove1")->trigger();
  f.DelayTrackBar()->setValue(20);
  f.resize(700, 520);
  f.close();

  QSettings s(kSettingsOrganisation, kSettingsApplication);
  s.beginGroup(kSettingsGroup);
  EXPECT_EQ(s.value("Silent").toString(), "1");
  EXPECT_EQ(s.value("TakebackAutomatically").toString(), "1");
  EXPECT_EQ(s.value("DisplayNumbers").toString(), "0");
  EXPECT_EQ(s.value("ComputerDoNotPlayBadMove").toString(), "1");
  EXPECT_EQ(s.value("DelayBeforeTakebackAutomatically").toString(), "20");
  EXPECT_EQ(s.value("Database").toString(), "2");
  EXPECT_EQ(s.value("Width").toString(), "700");
  EXPECT_EQ(s.value("Height").toString(), "520");

  TLattixMainForm& g = Start();
  EXPECT_TRUE(g.Controller().Silent());
  EXPECT_TRUE(g.Command("miTakebackautomatically1")->isChecked());
  EXPECT_TRUE(g.Controller().TakebackAutomatically());
  EXPECT_FALSE(g.Command("miDisplaynumbers1")->isChecked());
  EXPECT_FALSE(g.Controller().DisplayNumbers());
  EXPECT_EQ(g.Controller().ReplyMask(), kReplyMaskAvoidBadMoves);
  EXPECT_EQ(g.DelayTrackBar()->value(), 20);
  EXPECT_EQ(g.Controller().Delay(), 20);
  EXPECT_EQ(g.size(), QSize(700, 520));
}

// The stored options are shown by the entries and held by the controller; each entry then
// changes both, and the close writes what they show.
TEST_F(MainFormTest, OptionEntriesAndTheControllerStayInStep) {
  {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    s.setValue("DisplayNumbers", "0");
    s.setValue("NextProblemAutomatically", "1");
    s.setValue("DelayBeforeTakebackAutomatically", "5");
  }
  TLattixMainForm& f = Start();
  SolvingController& c = f.Controller();
  struct Switch {
    const char* entry;
    bool (SolvingController::*held)() const;
    const char* key;
    bool stored;
  };
  const Switch switches[] = {
      {"miDisplaynumbers1", &SolvingController::DisplayNumbers, "DisplayNumbers", false},
      {"NextproblemAutomaticallyWhenSolved1", &SolvingController::NextProblemAutomatically,
       "NextProblemAutomatically", true},
      {"miTakebackautomatically1", &SolvingController::TakebackAutomatically,
       "TakebackAutomatically", false},
      // Stored values without this one turn it off.
      {"miComputerdonotplaybadmove1", &SolvingController::ComputerDoNotPlayBadMove,
       "ComputerDoNotPlayBadMove", false},
      // Off by default: the answer tree alone judges until the player asks for the solver.
      {"miCheckOffTreeMoves1", &SolvingController::CheckOffTreeMoves,
       "CheckMovesTheAnswerDoesNotKnow", false},
  };
  for (const Switch& w : switches) {
    SCOPED_TRACE(w.entry);
    EXPECT_EQ(f.Command(w.entry)->isChecked(), w.stored);
    EXPECT_EQ((c.*w.held)(), w.stored);
    f.Command(w.entry)->trigger();
    EXPECT_EQ(f.Command(w.entry)->isChecked(), !w.stored);
    EXPECT_EQ((c.*w.held)(), !w.stored);
  }
  EXPECT_EQ(f.DelayTrackBar()->value(), 5);
  EXPECT_EQ(c.Delay(), 5);
  f.DelayTrackBar()->setValue(3);
  EXPECT_EQ(c.Delay(), 3);
  f.close();

  QSettings s(kSettingsOrganisation, kSettingsApplication);
  s.beginGroup(kSettingsGroup);
  for (const Switch& w : switches) {
    EXPECT_EQ(s.value(w.key).toString(), w.stored ? "0" : "1") << w.key;
  }
  EXPECT_EQ(s.value("DelayBeforeTakebackAutomatically").toString(), "3");
}

TEST_F(MainFormTest, ARunWithoutTheDataFileKeepsTheStoredCollection) {
  {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    s.setValue("Database", "0");
  }
  TLattixMainForm& f = Start("missing.dgo");
  EXPECT_EQ(f.Grid()->Count(), 0);
  ASSERT_EQ(boxes.texts.size(), 1u);   // the collection load told why
  f.Command("miSolveIt1")->trigger();  // nothing to open
  EXPECT_FALSE(f.ProblemPageShowing());
  f.close();
  QSettings s(kSettingsOrganisation, kSettingsApplication);
  s.beginGroup(kSettingsGroup);
  EXPECT_EQ(s.value("Database").toString(), "0");
  s.endGroup();

  TLattixMainForm& g = Start();
  EXPECT_EQ(g.Grid()->Count(), 1);  // collection 0 holds one problem
}

TEST_F(MainFormTest, ScrollBarFollowsTheGridBothWays) {
  TLattixMainForm& f = Start();
  f.resize(640, 480);
  QCoreApplication::processEvents();
  TGoIndex* grid = f.Grid();
  QScrollBar* bar = f.ScrollBar();
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), std::max(1, grid->RowCount()));
  if (grid->RowCount() < 2) GTEST_SKIP() << "the grid shows every row at this size";
  // The window's own size decided the columns first; the range follows the new ones.
  EXPECT_EQ(bar->pageStep(), grid->Rows());
  bar->setValue(2);
  EXPECT_EQ(grid->TopRow(), 2);
  f.Command("miFirstpage1")->trigger();
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(bar->value(), 1);
  f.Command("miLastpage1")->trigger();
  EXPECT_EQ(grid->TopRow(), grid->RowCount());
  EXPECT_EQ(bar->value(), grid->RowCount());
}

TEST_F(MainFormTest, StatusBarDoubleClickSwitchesTheFirstPanel) {
  TLattixMainForm& f = Start();
  auto* bar = f.findChild<StatusBar2*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->toolTip(), "Double click here to  change the width");
  EXPECT_EQ(bar->LeftWidth(), 60);
  QTest::mouseDClick(bar, Qt::LeftButton);
  EXPECT_EQ(bar->LeftWidth(), bar->width() - 60);
  QTest::mouseDClick(bar, Qt::LeftButton);
  EXPECT_EQ(bar->LeftWidth(), 60);
}

TEST_F(MainFormTest, LaterEntriesArePresentButDisabled) {
  TLattixMainForm& f = Start();
  for (const char* name : {"miStopStudy1", "keyF10"}) {
    ASSERT_NE(f.Command(name), nullptr) << name;
    EXPECT_FALSE(f.Command(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(f.Command("miWhatlevelImat1")->isEnabled());
}

// A problem that keeps its own remark list (the Remarks column) shows its comment in the right
// panel of the status bar as the text it is, Chinese included.
TEST_F(MainFormTest, AProblemsOwnRemarksShowInTheStatusBar) {
  std::string error;
  ASSERT_TRUE(test::WriteRemarkProblemFile(dir.filePath("own.dgo").toStdString(),
                                           std::vector<std::string>{"", "白7绝妙，A、B成见合"},
                                           &error))
      << error;
  TLattixMainForm& f = Start("own.dgo");
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.StatusRight(), QString::fromUtf8("白7绝妙，A、B成见合"));
}

}  // namespace
}  // namespace zendra
