// The main window's try mode: the try buttons of the problem page, the commands try mode keeps
// away and gives back, and the study window that Try opens when that option is on.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <cstddef>

#include "app/main_form.h"
#include "app/study_form.h"
#include "board/widget/lattix.h"
#include "solving/solving_controller.h"

namespace zendra {
namespace {

// The try buttons in the order CreateLabels makes them.
enum TryButton : std::size_t { kUndo, kNextMove, kRestart, kStop };

}  // namespace

void TLattixMainForm::CreateTryMode() {
  tryMode_ = std::make_unique<TryMode>(*Lattix1, *controller_, static_cast<TryModeUi&>(*this));
  connect(tryButtons_[kUndo], &QPushButton::clicked, this, [this] { tryMode_->Undo(); });
  connect(tryButtons_[kNextMove], &QPushButton::clicked, this, [this] { tryMode_->NextMove(); });
  connect(tryButtons_[kRestart], &QPushButton::clicked, this, [this] { tryMode_->Restart(); });
  connect(tryButtons_[kStop], &QPushButton::clicked, this, [this] { tryMode_->StopTry(); });
  tryButtons_[kStop]->setToolTip(Q(text_.Say(Text::kTryStopHint)));
  tryButtons_[kUndo]->setEnabled(false);
  tryButtons_[kNextMove]->setEnabled(false);
}

// ---- TryModeUi ------------------------------------------------------------------------------

void TLattixMainForm::SetProblemCommandsEnabled(bool enabled) {
  for (QAction* a : commands_.problems) SetCommandEnabled(a, enabled);
  for (QAction* a : commands_.collections) SetCommandEnabled(a, enabled);
  for (QAction* a : OpenMenu->actions()) a->setEnabled(enabled);
  btnOpen->setEnabled(enabled);
  for (QAction* a : {commands_.problemIndex, commands_.solveIt, commands_.solveAgain,
                     commands_.back, commands_.hint})
    SetCommandEnabled(a, enabled);
  if (enabled) {
    // What depends on the grid and the zoom follows it again.
    UpdateCommands();
  } else {
    // Solve again and Back keep these two keys in try mode.
    for (const char* key : {"keyHome", "keyBackspace"}) Command(key)->setEnabled(true);
  }
}

void TLattixMainForm::ShowTryButtons(bool shown) {
  for (QPushButton* b : tryButtons_) b->setVisible(shown);
}

void TLattixMainForm::SetUndoEnabled(bool enabled) { tryButtons_[kUndo]->setEnabled(enabled); }

void TLattixMainForm::EnableUndo() { SetUndoEnabled(true); }

void TLattixMainForm::SetNextMoveEnabled(bool enabled) {
  tryButtons_[kNextMove]->setEnabled(enabled);
}

void TLattixMainForm::ShowTryModeCommands(bool on) {
  SetCommandEnabled(commands_.tryCommand, !on);
  commands_.tryButton->setVisible(!on);
  SetCommandEnabled(commands_.stopTry, on);
  commands_.stopTryButton->setEnabled(on);
  commands_.stopTryButton->setVisible(on);
}

void TLattixMainForm::OpenStudyWindow(const LattixEngine& board) {
  // Made at the first Try that needs it, so nothing of it lies on the way to the first window;
  // from then on it is shown and hidden, and its place is kept when it goes with this window.
  if (studyForm_ == nullptr) studyForm_ = new TStudyForm(text_, this);
  studyForm_->Open(board);
}

void TLattixMainForm::HideStudyWindow() {
  if (studyForm_ != nullptr) studyForm_->hide();
}

}  // namespace zendra
