// The window's reviews and practice: missed problems coming back through "Review", a practice
// session to its summary, the board zoomed to the problem, and the statistics window; with
// screenshots of each beside the test program, to be looked at.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/library_session.h"
#include "app/practice_session.h"
#include "index/go_index.h"
#include "library/review_file.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

class ReviewWindowTest : public test::MainWindowTest {
 protected:
  TLattixMainForm& StartWithModule() {
    MainFormPaths paths;
    paths.dataFile = dir.filePath("Zendra.dgo").toStdString();
    paths.historyFile = dir.filePath("History1.cds").toStdString();
    paths.programDir = dir.path();
    paths.statisticsModule = ZENDRA_STATISTICS_MODULE_PATH;
    form = std::make_unique<TLattixMainForm>(paths, sounds);
    form->resize(900, 640);
    form->show();
    form->FirstActivation();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return *form;
  }
  std::vector<Attempt> FileAttempts() {
    std::vector<Attempt> read;
    std::string error;
    EXPECT_TRUE(ReviewFile(dir.filePath(kReviewFileName).toStdString()).Read(&read, &error))
        << error;
    return read;
  }
  void Shot(QWidget* w, const char* name) {
    w->grab().save(QString(ZENDRA_SCREENSHOT_DIR "/") + name);
  }
};

TEST_F(ReviewWindowTest, MissedProblemsComeBackThroughReview) {
  TLattixMainForm& f = StartWithModule();
  ASSERT_EQ(f.Grid()->Count(), 7);
  EXPECT_EQ(f.DueToday(), 0);
  EXPECT_EQ(f.Command("miReview1")->text(), "&Review (0)");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(kReviewFileName))) << "nothing tried, nothing kept";

  f.Command("miSolveIt1")->trigger();  // problem 1: a wrong move, then the right one
  Click(1, 1);
  f.Command("miSolveAgain1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  f.NextProblem();  // problem 2: solved clean
  Click(test::kSolvingP, test::kSolvingQ);
  f.NextProblem();  // problem 3: the answer shown, then solved
  f.Command("miResult1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);

  const std::vector<Attempt> attempts = FileAttempts();
  ASSERT_EQ(attempts.size(), 3u) << "one graded attempt per opening, in the file at once";
  EXPECT_EQ(attempts[0].outcome, AttemptOutcome::kFailed);
  EXPECT_EQ(attempts[1].outcome, AttemptOutcome::kClean);
  EXPECT_EQ(attempts[2].outcome, AttemptOutcome::kHint);
  EXPECT_EQ(f.DueToday(), 2);
  EXPECT_EQ(f.Command("miReview1")->text(), "&Review (2)");

  f.Command("miReview1")->trigger();
  EXPECT_FALSE(f.ProblemPageShowing());
  ASSERT_EQ(f.Grid()->Count(), 2);
  EXPECT_EQ(f.Library().ProblemAt(0)->number, attempts[0].number);
  EXPECT_EQ(f.Library().ProblemAt(1)->number, attempts[2].number);
  QCoreApplication::processEvents();
  Shot(&f, "review_grid.png");

  // A clean solve in the review: due again tomorrow, no longer today.
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.DueToday(), 1);
  EXPECT_EQ(f.Command("miReview1")->text(), "&Review (1)");
}

TEST_F(ReviewWindowTest, APracticeSessionRunsToItsSummary) {
  TLattixMainForm& f = StartWithModule();
  f.Command("miPractice1")->trigger();
  ASSERT_NE(f.Practice(), nullptr);
  ASSERT_TRUE(f.ProblemPageShowing());
  // The data file has eight problems: the session ends when they run out.
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(f.Grid()->Count(), i + 1);
    ASSERT_EQ(f.Grid()->Selected(), i);
    if (i % 3 == 2) {
      Click(1, 1);  // a failure
    } else {
      Click(test::kSolvingP, test::kSolvingQ);
    }
    if (i < 7) f.NextProblem();
  }
  EXPECT_TRUE(f.Practice()->Complete());
  EXPECT_EQ(f.Practice()->Draw().Summary().clean, 6);
  EXPECT_EQ(f.Practice()->Draw().Summary().failed, 2);
  QTest::qWait(100);  // the summary box opens after the verdict and is answered
  ASSERT_FALSE(boxes.texts.empty());
  EXPECT_TRUE(boxes.texts.back().startsWith("Practice: 8 problems in")) << boxes.texts.back().toStdString();
  EXPECT_TRUE(boxes.texts.back().contains("Solved clean: 6"));
  EXPECT_TRUE(boxes.texts.back().contains("Failed: 2"));

  // Opening a collection ends the session.
  f.OpenCollection(2);
  EXPECT_EQ(f.Practice(), nullptr);
  EXPECT_EQ(f.Grid()->Count(), 7);
}

TEST_F(ReviewWindowTest, TheBoardZoomsToTheProblem) {
  TLattixMainForm& f = StartWithModule();
  f.Command("miSolveIt1")->trigger();
  const int radius = f.Board()->Radius();
  EXPECT_FALSE(f.Board()->Zoomed());
  f.Command("miZoomToProblem1")->trigger();
  ASSERT_TRUE(f.Board()->Zoomed());
  EXPECT_GT(f.Board()->Radius(), radius);
  EXPECT_EQ(f.Board()->ViewRegion().left, 1) << "the test problems lie in the top-left corner";
  EXPECT_EQ(f.Board()->ViewRegion().top, 1);
  QCoreApplication::processEvents();
  Shot(&f, "zoomed_board.png");
  // The solving move is played by a click in the zoomed view.
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.LabelText("LabelSuccessCount"), "Solved");
  // The next problem opens zoomed too; off, the board is whole again.
  f.NextProblem();
  EXPECT_TRUE(f.Board()->Zoomed());
  f.Command("miZoomToProblem1")->trigger();
  EXPECT_FALSE(f.Board()->Zoomed());
  EXPECT_EQ(f.Board()->Radius(), radius);
}

TEST_F(ReviewWindowTest, TheStatisticsWindowShowsTheNumbers) {
  TLattixMainForm& f = StartWithModule();
  f.Command("miSolveIt1")->trigger();
  Click(1, 1);  // problem 1 failed
  f.NextProblem();
  Click(test::kSolvingP, test::kSolvingQ);  // problem 2 solved clean
  QWidget* window = test::OpenStatisticsWindow(f);
  ASSERT_NE(window, nullptr);
  auto* table = window->findChild<QTableWidget*>("tblCollections");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rowCount(), 2);
  // Collection 0 holds one problem, collection 2 seven: two tried, one solved clean.
  EXPECT_EQ(table->item(1, 0)->text(), "Intermediate");
  EXPECT_EQ(table->item(1, 1)->text(), "7");
  EXPECT_EQ(table->item(1, 2)->text(), "2");
  EXPECT_EQ(table->item(1, 3)->text(), "1");
  EXPECT_EQ(table->item(1, 4)->text(), "1 (50 %)");
  EXPECT_EQ(table->item(0, 2)->text(), "0");
  for (const char* chart : {"chartAttempts", "chartLevel", "chartForecast"})
    EXPECT_NE(window->findChild<QWidget*>(chart), nullptr) << chart;
  QTest::qWait(50);
  Shot(window, "statistics_window.png");
  window->close();
}

}  // namespace
}  // namespace zendra
