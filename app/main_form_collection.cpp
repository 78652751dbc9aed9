// The main window's collections: opening one, the grid's pages and the problem navigation.
#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QToolBar>

#include "app/library_session.h"
#include "app/please_wait.h"
#include "app/status_bar.h"
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
  if (!r.message.empty()) QMessageBox::information(this, BoxCaption(), Q(r.message));
  if (r.dataError && !r.soundFirst) sound();
}

void TLattixMainForm::OpenCollection(int group, int topRow) {
  if (TryModeActive()) tryMode_->StopTry();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // A large data file takes a while: the please-wait window shows meanwhile.
  const QFileInfo dataFile(QString::fromStdString(paths_.dataFile));
  const bool wait = dataFile.isFile() && dataFile.size() >= paths_.pleaseWaitBytes;
  if (wait) {
    if (pleaseWait_ == nullptr) pleaseWait_ = new TSplashForm3(text_, this);
    pleaseWait_->ShowNow();
  }
  const CollectionResult r = library_->OpenCollection(group);
  if (wait) pleaseWait_->CloseNow();
  if (!keepPractice_) {
    EndPractice();
    StatusBar1->SetSession(QString());  // a review or practice ends with another collection
  }
  GoIndex1->SetGames(library_->ProblemList());
  QApplication::restoreOverrideCursor();
  ShowIndexPage();
  if (r.loaded) {
    MarkDefaultCollection(library_->OpenCollectionNumber());
    SetTopRow(TopRowAfterLoad(GridNow(), topRow));
  }
  UpdateCommands();
  ShowCollectionState();
  ShowDueCount();
  ReportCollection(r);
}

void TLattixMainForm::MarkDefaultCollection(int group) {
  QMenu* const menus[] = {menuBar()->findChild<QMenu*>("miFile1"), OpenMenu};
  for (QMenu* menu : menus) {
    if (menu == nullptr) continue;
    menu->setDefaultAction(nullptr);
    const QList<QAction*> entries = menu->actions();
    for (int tag = 0; tag < static_cast<int>(commands_.collections.size()); ++tag) {
      // The File menu's collection entries come first, as the drop-down's do.
      if (tag >= entries.size()) break;
      QAction* entry = entries[tag];
      QFont f = entry->font();
      f.setBold(tag == group);
      entry->setFont(f);
      if (tag == group) menu->setDefaultAction(entry);
    }
  }
}

void TLattixMainForm::OpenDefaultCollection() {
  // The drop-down's default entry is the collection loaded last; none (nothing loaded yet, or a
  // collection without an entry) opens the first.
  const QAction* entry = OpenMenu->defaultAction();
  OpenCollection(entry ? static_cast<int>(OpenMenu->actions().indexOf(entry)) : 0);
}

void TLattixMainForm::OpenPosition(int position) {
  controller_->OpenProblem(position);
  TellMissingRemarks(position);
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
void TLattixMainForm::NextProblem() {
  // In practice the next problem may wait in another data file.
  if (practice_ && GoIndex1->Selected() == GoIndex1->Count() - 1 && OpenPracticeProblem()) return;
  SelectAndOpen(zendra::NextProblem(GridNow()));
}
void TLattixMainForm::LastProblem() { SelectAndOpen(zendra::LastProblem(GridNow())); }

}  // namespace zendra
