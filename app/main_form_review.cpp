// The main window's reviews and practice: the review of missed problems, practice at the
// player's level, zoom to the problem and the statistics window.
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "app/library_session.h"
#include "app/main_form.h"
#include "app/own_collections.h"
#include "app/practice_session.h"
#include "app/statistics_window.h"
#include "app/status_bar.h"
#include "board/widget/board_zoom.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "library/review_statistics.h"
#include "library/review_stored_source.h"
#include "solving/tree/solution_tree.h"

namespace zendra {
namespace {

// How long after a count of the open data file's reviews the other data files are read.
constexpr int kReadOtherSourcesMs = 300;

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

std::vector<TLattixMainForm::SourceFile> TLattixMainForm::SourceFiles() const {
  std::vector<SourceFile> files;
  files.push_back({QString(), QString(), own_->shippedDataFile, own_->shippedHistoryFile});
  for (const OwnCollection& c : ListOwnCollections(own_->userDataDir))
    files.push_back({c.folder, c.name, c.dataFile.toStdString(), c.historyFile.toStdString()});
  return files;
}

int32_t TLattixMainForm::OpenSource(const std::vector<SourceFile>& files) const {
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i].folder == own_->open) return static_cast<int32_t>(i);
  return 0;
}

std::vector<PracticeSource*> TLattixMainForm::PracticeSources(
    const std::vector<SourceFile>& files) {
  std::vector<PracticeSource*> sources;
  const int32_t open = OpenSource(files);
  for (size_t i = 0; i < files.size(); ++i) {
    if (static_cast<int32_t>(i) == open) {
      sources.push_back(&library_->Source());
      continue;
    }
    const SourceFile& f = files[i];
    std::unique_ptr<StoredSource>& stored = storedSources_[f.dataFile];
    if (!stored) {
      stored = std::make_unique<StoredSource>(f.name.toStdString(), f.dataFile, f.historyFile,
                                              QDateTime::currentDateTime().offsetFromUtc());
      // One that cannot be read adds nothing; opening it tells the player why.
      stored->Load();
    }
    sources.push_back(stored.get());
  }
  return sources;
}

void TLattixMainForm::OpenSourceFile(const SourceFile& file) {
  const bool keep = std::exchange(keepPractice_, true);
  if (file.folder.isEmpty()) {
    OpenShippedCollection(own_->lastShipped.value_or(0));
  } else {
    OpenOwnCollection(file.folder);
  }
  keepPractice_ = keep;
}

int TLattixMainForm::DueToday() { return DueTodayIn(PracticeSources(SourceFiles())); }

int TLattixMainForm::DueTodayIn(const std::vector<PracticeSource*>& sources) {
  const CombinedPool all = Combine(sources);
  return static_cast<int>(
      DueProblems(all.problems, all.sources, Today(library_->Source())).size());
}

void TLattixMainForm::ShowDueCount() {
  int due = 0;
  if (historyOpen_) {
    const std::vector<SourceFile> files = SourceFiles();
    const int32_t open = OpenSource(files);
    bool read = true;
    for (size_t i = 0; i < files.size(); ++i)
      read = read && (static_cast<int32_t>(i) == open || storedSources_.count(files[i].dataFile));
    const bool first = std::exchange(firstDueCount_, false);
    if (read || !first) {
      due = DueToday();
    } else {
      // At the start the other data files are read a moment later, off the way to the first
      // window; the open one counts meanwhile.
      due = DueTodayIn({&library_->Source()});
      QTimer::singleShot(kReadOtherSourcesMs, this, [this] {
        PracticeSources(SourceFiles());
        ShowDueCount();
      });
    }
  }
  miReview1->setText(Q(text_.Say(Text::kMiReviewDue, {std::to_string(due)})));
  miReview1->setToolTip(due == 1 ? QString("1 problem is due for review today")
                                 : QString("%1 problems are due for review today").arg(due));
  for (QAction* a : {miReview1, miPractice1, miStatistics1}) a->setEnabled(historyOpen_);
}

void TLattixMainForm::Review() {
  const std::vector<SourceFile> files = SourceFiles();
  const CombinedPool all = Combine(PracticeSources(files));
  const std::vector<PoolProblem> due =
      DueProblems(all.problems, all.sources, Today(library_->Source()));
  if (due.empty()) {
    QMessageBox::information(this, "Review", "No problem is due for review today.");
    return;
  }
  // The grid lists the problems of one data file: the open one's first, then the next that
  // has problems due.
  std::vector<int> count(files.size());
  for (const PoolProblem& p : due) ++count[static_cast<size_t>(p.source)];
  int32_t source = OpenSource(files);
  if (count[static_cast<size_t>(source)] == 0) {
    source = static_cast<int32_t>(std::find_if(count.begin(), count.end(),
                                               [](int n) { return n > 0; }) -
                                  count.begin());
  }
  std::vector<int32_t> numbers;
  for (const PoolProblem& p : due)
    if (p.source == source) numbers.push_back(p.number);
  EndPractice();
  if (source != OpenSource(files)) OpenSourceFile(files[static_cast<size_t>(source)]);
  library_->OpenSelection(numbers);
  GoIndex1->SetGames(library_->ProblemList());
  for (QAction* a : commands_.collections) a->setChecked(false);
  ShowIndexPage();
  UpdateCommands();
  const size_t elsewhere = due.size() - numbers.size();
  QString where = files[static_cast<size_t>(source)].name;
  StatusBar1->SetSession(
      QString("Review: %1 due today").arg(numbers.size()) +
      (where.isEmpty() ? QString() : " in " + where) +
      (elsewhere == 0 ? QString()
                      : QString(", %1 more in other collections")
                            .arg(elsewhere)));
}

void TLattixMainForm::PracticeAtMyLevel() {
  practiceFiles_ = SourceFiles();
  CombinedPool all = Combine(PracticeSources(practiceFiles_));
  practice_ = std::make_unique<PracticeSession>(
      std::move(all.problems), library_->LevelEstimateNumber(), kPracticeSessionSize,
      QRandomGenerator::global()->generate());
  if (practice_->Drawn().empty()) {
    practice_.reset();
    QMessageBox::information(this, "Practice at my level", "There are no problems to practise.");
    return;
  }
  ShowIndexPage();
  OpenPracticeProblem();
}

bool TLattixMainForm::OpenPracticeProblem() {
  const std::optional<PoolProblem> waiting = practice_ ? practice_->Waiting() : std::nullopt;
  if (!waiting) return false;
  const SourceFile& file = practiceFiles_[static_cast<size_t>(waiting->source)];
  if (waiting->source != OpenSource(practiceFiles_)) {
    if (!QFileInfo::exists(QString::fromStdString(file.dataFile))) {
      // Removed meanwhile: the session ends with it.
      EndPractice();
      QMessageBox::information(this, "Practice at my level",
                               "The collection of the next problem is gone; the practice ends.");
      return false;
    }
    OpenSourceFile(file);
  }
  ShowIndexPage();
  ShowPracticeList();
  for (QAction* a : commands_.collections) a->setChecked(false);
  GoIndex1->SetSelected(GoIndex1->Count() - 1);
  SolveIt();
  return true;
}

void TLattixMainForm::ShowPracticeList() {
  const int selected = GoIndex1->Selected();
  library_->OpenSelection(practice_->NumbersIn(OpenSource(practiceFiles_)));
  GoIndex1->SetGames(library_->ProblemList());
  GoIndex1->SetSelected(selected);
  const PracticeDraw& d = practice_->Draw();
  StatusBar1->SetSession(QString("Practice: %1 of %2").arg(d.Graded()).arg(d.Size()));
  UpdateCommands();
}

void TLattixMainForm::EndPractice() {
  practice_.reset();
  practiceFiles_.clear();
}

void TLattixMainForm::Graded(const Attempt& attempt) {
  if (practice_ && practice_->Graded(OpenSource(practiceFiles_), attempt.number,
                                     attempt.outcome, attempt.millis)) {
    if (practice_->Complete()) {
      const QString summary = QString::fromStdString(practice_->SummaryText());
      StatusBar1->SetSession("Practice done");
      // After the verdict's own handling is over.
      QTimer::singleShot(0, this, [this, summary] {
        QMessageBox::information(this, "Practice at my level", summary);
      });
    } else {
      ShowPracticeList();
      const std::optional<PoolProblem> next = practice_->Waiting();
      if (next && next->source != OpenSource(practiceFiles_)) {
        const QString name = practiceFiles_[static_cast<size_t>(next->source)].name;
        StatusBar1->SetSession(StatusBar1->Session() + ", the next one in " +
                            (name.isEmpty() ? QString("the shipped collections") : name));
      }
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
  const std::vector<SourceFile> files = SourceFiles();
  const CombinedPool all = Combine(PracticeSources(files));
  StatisticsContent content;
  content.today = Today(library_->Source());
  content.numbers = ComputeStatistics(all.problems, all.sources, content.today);
  for (const CollectionStatistics& c : content.numbers.collections) {
    const QString& source = files[static_cast<size_t>(c.source)].name;
    if (!source.isEmpty()) {
      // An own collection holds one collection of problems: its name says it.
      content.collectionNames << source;
      continue;
    }
    const std::string caption = CollectionCaption(c.group, text_);
    QString name = caption.empty() ? QString("Collection %1").arg(c.group) : Q(caption);
    name.remove('&');
    content.collectionNames << name;
  }
  QWidget* window = make(content, this);
  window->show();
}

}  // namespace zendra
