// The main window's reviews and practice: the review of missed problems, practice at the
// player's level, zoom to the problem and the statistics window.
#include <QAction>
#include <QDateTime>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/library_session.h"
#include "app/main_form.h"
#include "app/practice_session.h"
#include "app/statistics_window.h"
#include "app/status_bar.h"
#include "board/widget/board_zoom.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "library/review_statistics.h"
#include "solving/tree/solution_tree.h"

namespace zendra {
namespace {

// Today's local day in the days of `source`'s schedule.
int64_t Today(const PracticeSource& source) {
  return source.Schedule().Day(QDateTime::currentSecsSinceEpoch());
}

// Every point a problem's position and solution lines touch, as one point list.
std::string ProblemPoints(const ProblemRecord& problem) {
  std::string points = problem.arrangedBlack + problem.arrangedWhite + problem.initial;
  SolutionTree tree;
  tree.LoadSolution(problem.solution);
  for (NodeId id = 0; static_cast<size_t>(id) < tree.Size(); ++id) {
    const std::string_view point = tree.NodePoint(id);
    if (point.size() == 2) points += point;
  }
  return points;
}

}  // namespace

void TLattixMainForm::CreateReviewCommands() {
  QStyle* st = style();
  miReview1 = MakeAction("miReview1", T(Text::kMiReviewDue), T(Text::kBtnReview));
  miReview1->setIcon(st->standardIcon(QStyle::SP_FileDialogInfoView));
  connect(miReview1, &QAction::triggered, this, &TLattixMainForm::Review);
  miPractice1 = MakeAction("miPractice1", T(Text::kMiPractice), T(Text::kBtnPractice));
  connect(miPractice1, &QAction::triggered, this, &TLattixMainForm::PracticeAtMyLevel);
  miStatistics1 = MakeAction("miStatistics1", T(Text::kMiStatistics), T(Text::kBtnStatistics));
  connect(miStatistics1, &QAction::triggered, this, &TLattixMainForm::ShowStatistics);
  for (QAction* a : {miReview1, miPractice1, miStatistics1}) a->setEnabled(false);
  if (QMenu* solve = menuBar()->findChild<QMenu*>("miSolve1")) {
    solve->addSeparator();
    solve->addActions({miReview1, miPractice1, miStatistics1});
  }
  miZoomToProblem1 = MakeAction("miZoomToProblem1", T(Text::kMiZoomToProblem));
  miZoomToProblem1->setCheckable(true);
  connect(miZoomToProblem1, &QAction::toggled, this, &TLattixMainForm::SetZoomToProblem);
  if (QMenu* view = menuBar()->findChild<QMenu*>("miView1")) {
    // Beside Zoom in and Zoom out.
    const QList<QAction*> entries = view->actions();
    view->insertAction(entries.value(2), miZoomToProblem1);
  }
  AddButton(ToolBarView, miReview1, "btnReview");
  if (auto* button = qobject_cast<QToolButton*>(ToolBarView->widgetForAction(miReview1)))
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  library_->OnGraded = [this](const Attempt& attempt) { Graded(attempt); };
}

std::vector<PracticeSource*> TLattixMainForm::PracticeSources() { return {&library_->Source()}; }

int TLattixMainForm::DueToday() {
  const CombinedPool all = Combine(PracticeSources());
  return static_cast<int>(
      DueProblems(all.problems, all.sources, Today(library_->Source())).size());
}

void TLattixMainForm::ShowDueCount() {
  const int due = historyOpen_ ? DueToday() : 0;
  miReview1->setText(Q(text_.Say(Text::kMiReviewDue, {std::to_string(due)})));
  miReview1->setToolTip(due == 1 ? QString("1 problem is due for review today")
                                 : QString("%1 problems are due for review today").arg(due));
  for (QAction* a : {miReview1, miPractice1, miStatistics1}) a->setEnabled(historyOpen_);
}

void TLattixMainForm::Review() {
  const CombinedPool all = Combine(PracticeSources());
  std::vector<int32_t> numbers;
  // The grid shows the open data file's problems (source 0).
  for (const PoolProblem& p : DueProblems(all.problems, all.sources, Today(library_->Source())))
    if (p.source == 0) numbers.push_back(p.number);
  if (numbers.empty()) {
    QMessageBox::information(this, "Review", "No problem is due for review today.");
    return;
  }
  EndPractice();
  library_->OpenSelection(numbers);
  GoIndex1->SetGames(library_->ProblemList());
  for (QAction* a : commands_.collections) a->setChecked(false);
  ShowIndexPage();
  UpdateCommands();
  StatusBar1->SetLeft(QString("Review: %1 due today").arg(numbers.size()));
}

void TLattixMainForm::PracticeAtMyLevel() {
  CombinedPool all = Combine(PracticeSources());
  std::vector<PoolProblem> pool;
  for (const PoolProblem& p : all.problems)
    if (p.source == 0) pool.push_back(p);
  practice_ = std::make_unique<PracticeSession>(
      std::move(pool), library_->LevelEstimateNumber(), kPracticeSessionSize,
      QRandomGenerator::global()->generate());
  if (practice_->Numbers().empty()) {
    practice_.reset();
    QMessageBox::information(this, "Practice at my level", "There are no problems to practise.");
    return;
  }
  ShowIndexPage();
  ShowPracticeList();
  for (QAction* a : commands_.collections) a->setChecked(false);
  GoIndex1->SetSelected(0);
  SolveIt();
}

void TLattixMainForm::ShowPracticeList() {
  const int selected = GoIndex1->Selected();
  library_->OpenSelection(practice_->Numbers());
  GoIndex1->SetGames(library_->ProblemList());
  GoIndex1->SetSelected(selected);
  const PracticeDraw& d = practice_->Draw();
  StatusBar1->SetLeft(QString("Practice: %1 of %2").arg(d.Graded()).arg(d.Size()));
  UpdateCommands();
}

void TLattixMainForm::EndPractice() { practice_.reset(); }

void TLattixMainForm::Graded(const Attempt& attempt) {
  if (practice_ && practice_->Graded(attempt.number, attempt.outcome, attempt.millis)) {
    if (practice_->Complete()) {
      const QString summary = QString::fromStdString(practice_->SummaryText());
      StatusBar1->SetLeft("Practice done");
      // After the verdict's own handling is over.
      QTimer::singleShot(0, this, [this, summary] {
        QMessageBox::information(this, "Practice at my level", summary);
      });
    } else {
      ShowPracticeList();
    }
  }
  ShowDueCount();
}

void TLattixMainForm::SetZoomToProblem(bool on) {
  if (miZoomToProblem1->isChecked() != on) miZoomToProblem1->setChecked(on);
  if (ProblemPageShowing() && GoIndex1->Selected() >= 0) {
    ZoomToProblem(GoIndex1->Selected());
  } else if (!on) {
    Lattix1->SetViewRegion(BoardRegion{});
  }
}

void TLattixMainForm::ZoomToProblem(int position) {
  const std::optional<ProblemRecord> problem =
      miZoomToProblem1->isChecked() ? library_->ProblemAt(position) : std::nullopt;
  Lattix1->SetViewRegion(problem ? ProblemRegion(ProblemPoints(*problem)) : BoardRegion{});
  LayoutBoard();
}

void TLattixMainForm::ShowStatistics() {
  QString error;
  const StatisticsWindowFactory make = LoadStatisticsWindow(paths_.statisticsModule, &error);
  if (!make) {
    QMessageBox::information(this, "Statistics", "The statistics window cannot be opened: " + error);
    return;
  }
  const CombinedPool all = Combine(PracticeSources());
  StatisticsContent content;
  content.today = Today(library_->Source());
  content.numbers = ComputeStatistics(all.problems, all.sources, content.today);
  const std::vector<PracticeSource*> sources = PracticeSources();
  for (const CollectionStatistics& c : content.numbers.collections) {
    const std::string source = sources[static_cast<size_t>(c.source)]->Name();
    const std::string caption = CollectionCaption(c.group, text_);
    QString name = caption.empty() ? QString("Collection %1").arg(c.group) : Q(caption);
    name.remove('&');
    content.collectionNames << (source.empty() ? name : Q(source) + ": " + name);
  }
  QWidget* window = make(content, this);
  window->show();
}

}  // namespace zendra
