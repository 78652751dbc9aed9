// Try mode on the problem board: the player leaves the solution tree and plays both colours in
// turn from the current position, takes moves back (Undo) and replays them (Next move), and Stop
// try puts the board back where Try found it. Nothing played in try mode is judged; each move
// the player places counts one try move in the history (the solving controller does that).
//
// The moves of Try are kept on the board as its `GivenProcess`, the replay line: Next move
// replays it after Undo, and Stop try returns to its first moves. With the option "study at a
// new window" on, Try leaves the board alone and opens the study window on it instead.
//
// Plain C++ over the board engine and the solving controller; the window's side goes through
// TryModeUi. Every call runs on the window thread.
#pragma once

#include <string>

#include "board/engine/lattix_engine.h"
#include "solving/solving_controller.h"

namespace zendra {

// The window around try mode.
class TryModeUi {
 public:
  virtual ~TryModeUi() = default;
  // True while the problem page (the board) is the current page.
  virtual bool TryPageShowing() const = 0;
  // Disables (false) or enables again (true) the commands try mode keeps away: the four problem
  // entries, Index and Solve it, the collection entries and Open, Solve again, Back and Hint,
  // with their buttons and keys, except the keys Home and Backspace, which stay.
  virtual void SetProblemCommandsEnabled(bool enabled) = 0;
  // Shows or hides the try buttons of the problem page (Undo, Next move, Stop, Restart).
  virtual void ShowTryButtons(bool shown) = 0;
  virtual void SetUndoEnabled(bool enabled) = 0;
  virtual void SetNextMoveEnabled(bool enabled) = 0;
  // Try mode on: "&Try" disabled and its button hidden, "Sto&p try" enabled and its button
  // shown; off: the reverse.
  virtual void ShowTryModeCommands(bool on) = 0;
  // Opens the study window on `board`'s position and moves, or hides it.
  virtual void OpenStudyWindow(const LattixEngine& board) = 0;
  virtual void HideStudyWindow() = 0;
};

class TryMode {
 public:
  // None of the references is owned; all must outlive this object.
  TryMode(LattixEngine& board, SolvingController& controller, TryModeUi& ui);

  // The option "study at a new window": Try opens the study window instead.
  void SetStudyAtNewWindow(bool on) { studyAtNewWindow_ = on; }
  bool StudyAtNewWindow() const { return studyAtNewWindow_; }

  // Try: only while the problem page shows, a problem is open and try mode is off. Opens the
  // study window (when that option is on), or enters try mode on the board.
  void Try();
  // Stop try: hides the study window; in try mode, enables the commands again, puts back the
  // position of Try (its first `TryStart()` moves) and the controller's current node, and
  // leaves try mode. Nothing else outside try mode.
  void StopTry();
  // Restart: Stop try, then Try (a new replay line from the position Stop try put back).
  void Restart();
  // Undo: takes the last move back, keeping the moves taken back on the replay line. Refused
  // (nothing) outside try mode, before the first move, or with no move beyond the initial ones.
  void Undo();
  // Next move: replays the replay line's move of the board's `NextMove`; beyond the line (or
  // on a point the board refuses) it only disables the button.
  void NextMove();
  // Enables Undo and Next move from the board: Next move while the replay line holds the move
  // `NextMove`, Undo while a move beyond the initial ones is on the board.
  void UpdateTryButtons();

  bool Active() const { return active_; }
  // The moves on the board when Try began, the initial moves included.
  int TryStart() const { return tryStart_; }

 private:
  LattixEngine& board_;
  SolvingController& controller_;
  TryModeUi& ui_;
  bool studyAtNewWindow_ = false;
  bool active_ = false;
  int tryStart_ = 0;
  // The moves of Try: Stop try returns to them even when the replay line was replaced by
  // moves played after an Undo below the try start.
  std::string tryMoves_;
};

}  // namespace zendra
