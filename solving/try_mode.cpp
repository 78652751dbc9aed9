#include "solving/try_mode.h"

namespace zendra {

TryMode::TryMode(LattixEngine& board, SolvingController& controller, TryModeUi& ui)
    : board_(board), controller_(controller), ui_(ui) {}

void TryMode::Try() {
  if (active_ || !ui_.TryPageShowing() || !controller_.ProblemOpen()) return;
  if (studyAtNewWindow_) {
    ui_.OpenStudyWindow(board_);
    return;
  }
  controller_.EnterTryMode();
  ui_.SetProblemCommandsEnabled(false);
  ui_.ShowTryButtons(true);
  active_ = true;

  board_.SetAllowStudy(true);
  board_.SetStudy(true);
  board_.SetSingleMode(true);  // clicks play both colours
  tryMoves_ = board_.Process();
  board_.SetGivenProcess(tryMoves_);
  tryStart_ = static_cast<int>(tryMoves_.size() / 2);

  UpdateTryButtons();
  ui_.ShowTryModeCommands(true);
}

void TryMode::StopTry() {
  ui_.HideStudyWindow();
  if (!active_) return;
  active_ = false;  // first: the window asks while it enables the commands again
  ui_.SetProblemCommandsEnabled(true);

  // The replay line normally begins with the moves of Try; after an Undo below the try start
  // and other moves it may not, and the position of Try must still come back, or the next
  // judged move would meet a tree that stands elsewhere.
  if (board_.GivenProcess().compare(0, tryMoves_.size(), tryMoves_) != 0)
    board_.SetGivenProcess(tryMoves_);
  board_.GoToMove(tryStart_, true);
  board_.View().DrawTurnArrow();

  board_.SetAllowStudy(false);
  board_.SetSingleMode(false);
  board_.SetStudy(false);
  board_.SetNewMoveEnabled(true);
  controller_.LeaveTryMode();

  ui_.ShowTryButtons(false);
  ui_.ShowTryModeCommands(false);
}

void TryMode::Restart() {
  StopTry();
  Try();
}

void TryMode::Undo() {
  if (!active_) return;
  if (board_.NextMove() < 2 || board_.Process().size() <= controller_.Initial().size()) return;
  if (board_.GivenProcess().size() < board_.Process().size())
    board_.SetGivenProcess(board_.Process());
  board_.TakeBack();
  UpdateTryButtons();
}

void TryMode::NextMove() {
  if (!active_) return;
  ui_.SetNextMoveEnabled(false);
  const std::string& line = board_.GivenProcess();
  const int move = board_.NextMove();
  if (move >= 1 && move <= static_cast<int>(line.size() / 2)) {
    const auto at = static_cast<std::size_t>(2 * (move - 1));
    // PlayMove raises no OnLegalMove: the replayed move is not counted.
    board_.PlayMove(board_.LetterToCoord(line[at]), board_.LetterToCoord(line[at + 1]), true);
  }
  UpdateTryButtons();
}

void TryMode::UpdateTryButtons() {
  const int move = board_.NextMove();
  ui_.SetNextMoveEnabled(static_cast<int>(board_.GivenProcess().size() / 2) >= move);
  ui_.SetUndoEnabled(move >= 2 && board_.Process().size() > controller_.Initial().size());
}

}  // namespace zendra
