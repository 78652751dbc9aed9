// The window's reviews and practice: missed problems coming back through "Review", a practice
// session to its summary, the board zoomed to the problem, and the statistics window; with
// screenshots of each beside the test program, to be looked at.
#include <gtest/gtest.h>

#include <QAction>
#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QChartView>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/library_session.h"
#include "app/practice_session.h"
#include "app/statistics_window.h"
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

// The dates under the charts: every day while they are few; a month of days has a label every
// few days (the last day among them) rather than thirty cut to "..."; a level line of more than
// a year names months, so that no date shows twice.
TEST(StatisticsWindowTest, DatesUnderTheChartsStayReadable) {
  QString error;
  const StatisticsWindowFactory make =
      LoadStatisticsWindow(QStringLiteral(ZENDRA_STATISTICS_MODULE_PATH), &error);
  ASSERT_NE(make, nullptr) << error.toStdString();
  const int64_t today = 20430;  // 2025-12-08
  struct Case {
    int days;             // days with attempts, up to today
    int firstLevelDay;    // the level line's first day, before today
    int labels;           // day labels under the attempts chart
    const char* format;   // of the level chart's dates
  };
  for (const Case& c : {Case{3, 3, 3, "MM-dd"}, Case{30, 200, 6, "MM-dd"},
                        Case{30, 400, 6, "yyyy-MM"}}) {
    SCOPED_TRACE(c.days);
    StatisticsContent content;
    content.today = today;
    for (int d = c.days - 1; d >= 0; --d) content.numbers.days.push_back({today - d, 5, 2});
    content.numbers.level = {{today - c.firstLevelDay, 30}, {today, 31}};
    content.numbers.forecast.assign(7, 1);
    std::unique_ptr<QWidget> window(make(content, nullptr));
    auto* attempts = window->findChild<QChartView*>("chartAttempts");
    auto* level = window->findChild<QChartView*>("chartLevel");
    ASSERT_TRUE(attempts && level);
    const QList<QAbstractAxis*> x = attempts->chart()->axes(Qt::Horizontal);
    ASSERT_EQ(x.size(), 1);
    QStringList labels;
    if (auto* each = qobject_cast<QBarCategoryAxis*>(x[0])) labels = each->categories();
    if (auto* some = qobject_cast<QCategoryAxis*>(x[0])) labels = some->categoriesLabels();
    EXPECT_EQ(labels.size(), c.labels) << labels.join(' ').toStdString();
    EXPECT_EQ(labels.value(labels.size() - 1),
              QDate(1970, 1, 1).addDays(today).toString("MM-dd"));
    const QList<QAbstractAxis*> dates = level->chart()->axes(Qt::Horizontal);
    ASSERT_EQ(dates.size(), 1);
    auto* time = qobject_cast<QDateTimeAxis*>(dates[0]);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->format(), c.format);
  }
}

}  // namespace
}  // namespace zendra
