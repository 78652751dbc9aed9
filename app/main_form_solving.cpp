// The main window's solving: the controller and its ports, the history's labels, the remark
// list, and the window's side of the SolvingUi.
#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>

#include "app/data_paths.h"
#include "app/library_session.h"
#include "app/qt_ports.h"
#include "app/status_bar.h"
#include "app/tip_windows.h"
#include "app/window_notices.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "library/remark_file.h"
#include "solving/solver_judge.h"
#include "solving/solving_controller.h"

namespace zendra {

void TLattixMainForm::CreateSolving() {
  problemSource_ = std::make_unique<SessionProblemSource>(*library_);
  historyPort_ = std::make_unique<SessionHistoryCounters>(*library_);
  timer1_ = std::make_unique<QtSolvingTimer>([this] { controller_->Timer1Timer(); });
  timer2_ = std::make_unique<QtSolvingTimer>([this] { controller_->Timer2Timer(); });
  clock_ = std::make_unique<SteadyMillisecondClock>();
  controller_ = std::make_unique<SolvingController>(*Lattix1, static_cast<SolvingUi&>(*this),
                                                    sounds_, *historyPort_, *problemSource_,
                                                    *timer1_, *timer2_, *clock_);
  controller_->SetLanguage(text_);
  controller_->SetComputerDoNotPlayBadMove(options_.computerDoNotPlayBadMove);
  moveJudge_ = std::make_unique<SolverMoveJudge>();
  controller_->SetMoveJudge(moveJudge_.get());
  controller_->SetCheckOffTreeMoves(options_.checkOffTreeMoves);

  Lattix1->OnLegalMove = [this](LattixEngine*, int16_t p, int16_t q, int16_t, int16_t, bool) {
    controller_->Lattix1LegalMove(p, q);
  };
  // Releasing the right button on the board starts the problem again.
  Lattix1->OnMouseUp = [this](TLattix*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    if (button == Qt::RightButton && !Lattix1->Process().empty() &&
        commands_.solveAgain->isEnabled())
      controller_->SolveAgain();
  };

  // The history's labels, in its order (0 LabelStdResult .. 6 LabelStudyCount), and the
  // selected entry's solved mark.
  library_->OnLabelChanged = [this](int label, const std::string& text) {
    QLabel* const byHistoryOrder[] = {labels_.stdResult,  labels_.successCount,
                                      labels_.failureCount, labels_.hint0Count,
                                      labels_.hint1Count,   labels_.takebackCount,
                                      labels_.studyCount};
    if (label >= 0 && label < static_cast<int>(std::size(byHistoryOrder)))
      SetLabel(byHistoryOrder[label], text);
  };
  library_->OnSolvedCountChanged = [this](int solved) { GoIndex1->SetSolvedCount(solved); };
  library_->OnStorageProblem = [this](const std::string& text) { ShowStorageProblem(text); };
}

// A Chinese interface shows the Chinese list RemarkGB.txt, its GB lines through the interface's
// conversion, when the data file has one; otherwise, and in English, Remark.txt. A data file
// without either has no remarks (none of an earlier data file's are kept).
void TLattixMainForm::LoadRemarks() {
  const QString dataFile = QString::fromStdString(paths_.dataFile);
  missingRemarkFile_.clear();
  if (text_.Chinese() &&
      LoadRemarkFile(RemarkFileFor(dataFile, "RemarkGB.txt").toStdString(), &remarks_, nullptr)) {
    for (std::string& line : remarks_) line = text_.Convert(std::move(line));
  } else if (const QString file = RemarkFileFor(dataFile);
             !LoadRemarkFile(file.toStdString(), &remarks_, nullptr)) {
    remarks_.clear();
    missingRemarkFile_ = file;
  }
  controller_->SetRemarks(remarks_);
}

void TLattixMainForm::TellMissingRemarks(int position) {
  if (missingRemarkFile_.isEmpty()) return;
  // A problem with its own remark list needs no shared one.
  const std::optional<ProblemRecord> problem = library_->ProblemAt(position);
  if (problem && problem->remarks) return;
  SetStatusRight(text_.Say(Text::kRemarksMissing, {missingRemarkFile_.toStdString()}));
}

// ---- SolvingUi ------------------------------------------------------------------------------

void TLattixMainForm::SetLabelResult(const std::string& text) { SetLabel(labels_.result, text); }

void TLattixMainForm::SetLabelStdResult(const std::string& text, uint32_t colour) {
  labels_.stdResult->setStyleSheet(colour == kRedText ? "color: red;" : "");
  SetLabel(labels_.stdResult, text);
}

void TLattixMainForm::SetStatusLeft(const std::string& text) { StatusBar1->SetLeft(Q(text)); }
void TLattixMainForm::SetStatusRight(const std::string& text) {
  StatusBar1->SetRight(Q(text));
  Comment1->setText(Q(text));
  Comment1->setToolTip(Q(text));
}

QString TLattixMainForm::CommentText() const { return Comment1->text(); }

void TLattixMainForm::SetNextVariationEnabled(bool enabled) {
  commands_.nextVariationButton->setEnabled(enabled);
}

TSplashForm* TLattixMainForm::TipWindow(int which) const {
  return which == 1 || which == 2 ? tips_[which - 1] : nullptr;
}

void TLattixMainForm::ShowTip(int which) {
  if (which != 1 && which != 2) return;
  TSplashForm*& tip = tips_[which - 1];
  if (tip == nullptr) {
    // Made at its first use, off the way to the first window; it reads its own stored switch.
    if (!(which == 1 ? displaySplashForm1_ : displaySplashForm2_)) return;
    tip = new TSplashForm(which, text_, this);
  }
  if (tip->Enabled()) tip->ShowTip();
}

// Hides both; their timers run on and close them (saving their boxes) when they expire.
void TLattixMainForm::HideTips() {
  for (TSplashForm* tip : tips_)
    if (tip) tip->hide();
}

void TLattixMainForm::Beep() { QApplication::beep(); }

void TLattixMainForm::ShowStorageProblem(const std::string& text) {
  ShowStorageNotice(this, Q(text));
}

bool TLattixMainForm::ProblemSelected() const {
  return GoIndex1->Count() > 0 && GoIndex1->Selected() >= 0;
}

void TLattixMainForm::ProcessPendingRepaints() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The solved position stays on the board a moment before the next problem replaces it; the
// player who moves on, or starts the problem again, first keeps the window where it is.
void TLattixMainForm::RunNextProblem() {
  if (nextProblemTimer_ == nullptr) {
    nextProblemTimer_ = new QTimer(this);
    nextProblemTimer_->setSingleShot(true);
    nextProblemTimer_->setInterval(kSolvedPauseMs);
  }
  nextProblemTimer_->disconnect();
  const int selected = GoIndex1->Selected();
  const std::string process = Lattix1->Process();
  connect(nextProblemTimer_, &QTimer::timeout, this, [this, selected, process] {
    if (ProblemPageShowing() && GoIndex1->Selected() == selected && Lattix1->Process() == process)
      NextProblem();
  });
  nextProblemTimer_->start();
}

std::optional<std::string> TLattixMainForm::InputQuery(const std::string& caption,
                                                       const std::string& prompt,
                                                       const std::string& text) {
  bool ok = false;
  const QString value =
      QInputDialog::getText(this, Q(caption), Q(prompt), QLineEdit::Normal, Q(text), &ok);
  if (!ok) return std::nullopt;
  return value.toStdString();
}

}  // namespace zendra
