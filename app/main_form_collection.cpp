// The main window's collections: opening one, the grid's pages and the problem navigation.
#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QToolBar>

#include "app/library_session.h"
#include "index/go_index.h"
#include "library/navigation.h"
#include "solving/solving_controller.h"

namespace zendra {

GridState TLattixMainForm::GridNow() const {
  GridState s;
  s.Count = GoIndex1->Count();
  s.Cols = GoIndex1->Cols();
  s.Rows = GoIndex1->Rows();
  s.RowCount = GoIndex1->RowCount();
  s.TopRow = GoIndex1->TopRow();
  s.Selected = GoIndex1->Selected();
  return s;
}

void TLattixMainForm::ReportCollection(const CollectionResult& r) {
  const auto sound = [this] {
    if (!options_.silent && !sounds_.Play(kSoundDataError, true)) QApplication::beep();
  };
  if (r.dataError && r.soundFirst) sound();
  if (!r.message.empty() && !r.loaded) {
    if (r.dataError && !r.soundFirst) sound();
    OfferOtherDataFile(Q(r.message));  // instead of an empty index
    return;
  }
  if (!r.message.empty()) QMessageBox::information(this, windowTitle(), Q(r.message));
  if (r.dataError && !r.soundFirst) sound();
}

void TLattixMainForm::OpenCollection(int group, int topRow) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CollectionResult r = library_->OpenCollection(group);
  EndPractice();
  GoIndex1->SetGames(library_->ProblemList());
  QApplication::restoreOverrideCursor();
  ShowIndexPage();
  if (r.loaded) {
    for (QAction* a : commands_.collections) a->setChecked(false);
    SetTopRow(TopRowAfterLoad(GridNow(), topRow));
  }
  UpdateCommands();
  ShowDueCount();
  ReportCollection(r);
}

void TLattixMainForm::OpenDefaultCollection() {
  // No drop-down entry is marked as the default, so the button reopens the first collection.
  OpenCollection(0);
}

void TLattixMainForm::OpenPosition(int position) {
  controller_->OpenProblem(position);
  ZoomToProblem(position);
  UpdateCommands();
}

void TLattixMainForm::SolveIt() {
  if (ProblemPageShowing() || GoIndex1->Count() < 1) return;
  if (GoIndex1->Selected() < 0) GoIndex1->SetSelected(0);
  OpenPosition(GoIndex1->Selected());
  ToolBarSolveIt->show();
  // The grid's click checked the entry; it stays checked exactly on the problem page.
  commands_.solveIt->setChecked(ProblemPageShowing());
}

void TLattixMainForm::SelectAndOpen(std::optional<int> entry) {
  if (!entry) return;
  GoIndex1->SetSelected(*entry);
  OpenPosition(*entry);
}

void TLattixMainForm::SetTopRow(std::optional<int> row) {
  if (row) GoIndex1->SetTopRow(*row);
}

void TLattixMainForm::SyncScrollBar() {
  const ScrollBarState s = ScrollBarFor(GridNow());
  const QSignalBlocker block(ScrollBar1);
  ScrollBar1->setRange(s.Min, s.Max);
  ScrollBar1->setValue(s.Position);
  ScrollBar1->setPageStep(s.LargeChange);
}

void TLattixMainForm::FirstPage() { SetTopRow(zendra::FirstPage(GridNow())); }
void TLattixMainForm::PriorPage() { SetTopRow(zendra::PriorPage(GridNow())); }
void TLattixMainForm::NextPage() { SetTopRow(zendra::NextPage(GridNow())); }
void TLattixMainForm::LastPage() { SetTopRow(zendra::LastPage(GridNow())); }
void TLattixMainForm::FirstProblem() { SelectAndOpen(zendra::FirstProblem(GridNow())); }
void TLattixMainForm::PriorProblem() { SelectAndOpen(zendra::PriorProblem(GridNow())); }
void TLattixMainForm::NextProblem() { SelectAndOpen(zendra::NextProblem(GridNow())); }
void TLattixMainForm::LastProblem() { SelectAndOpen(zendra::LastProblem(GridNow())); }

}  // namespace zendra
