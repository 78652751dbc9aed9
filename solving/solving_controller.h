// The open problem and everything done to it: judging the user's moves against the solution
// tree, the computer's replies, the pending continuation (retry point and alternative reply),
// and the solving commands Solve again, Back, Next variation or retry, Result and Hint, with
// the automatic takeback timer and the message timer.
//
// Plain C++: it drives the board engine and reports through the ports of solving_ports.h, so
// tests run it headless with fakes. Every method runs on the window thread and returns only
// when its sounds have ended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "language/language.h"
#include "solving/move_judge.h"
#include "solving/solving_ports.h"
#include "solving/tree/solution_tree.h"

namespace zendra {

// Reply masks: node-flag bits that keep a node from being chosen as the computer's reply.
inline constexpr int kReplyMaskAvoidBadMoves = 29;  // 1, 4, 8, 16
inline constexpr int kReplyMaskDefault = 24;        // 8, 16

// Sound numbers.
inline constexpr int kSoundClick = 1999;
inline constexpr int kSoundWeakMove = 2091;
inline constexpr int kSoundSuccess = 2010;
inline constexpr int kSoundSuccessFlagged = 2030;
inline constexpr int kSoundSolved = 2095;
inline constexpr int kSoundFailure = 2020;
inline constexpr int kSoundDataError = 2094;

// The bound on the return to the retry point.
inline constexpr int64_t kRetryTimeLimitMs = 30000;

class SolvingController {
 public:
  // Starts the message timer (Timer2, 5000 ms) and sets Timer1's interval from the default
  // delay of 10 s. None of the references is owned; all must outlive the controller.
  SolvingController(LattixEngine& board, SolvingUi& ui, SolvingSounds& sounds,
                    HistoryCounters& history, ProblemSource& problems, SolvingTimer& timer1,
                    SolvingTimer& timer2, MillisecondClock& clock);

  // ---- Language -------------------------------------------------------------------------------

  // The interface language of the messages, verdicts and node comments.
  void SetLanguage(Localizer text) { text_ = std::move(text); }
  // The remark list of the node comments (line k is remark k), loaded for that language.
  void SetRemarks(std::vector<std::string> remarks) { remarks_ = std::move(remarks); }

  // ---- Opening a problem ----------------------------------------------------------------------

  // Opens the problem of the list entry at `position`: loads its tree (a broken stream beeps and
  // shows "Data corrupted", opening goes on), keeps its set-up, shows its counters, starts it and
  // shows the problem page. A position without an entry, or whose problem is not in the table,
  // changes nothing at all.
  void OpenProblem(int position);
  // Sets the board up for the open problem and puts the current node on the first root; clears
  // the pending continuation. The shown marks stay.
  void StartProblem();
  // After the board took one move back: the current node follows when its level is one more
  // than the moves played.
  void FollowTakeBack();

  // ---- Judging --------------------------------------------------------------------------------

  // The board's legal-move handler: (p, q) has just been played by the user. Judges it, plays
  // the computer's reply and sets the verdict and the pending continuation.
  void Lattix1LegalMove(int p, int q);
  // The computer's choice among u's children; kNoNode when none may be played.
  NodeId ChooseReply(NodeId u);
  // The nearest position from x upward (computer reply or root) with a clean success below;
  // kNoNode (with "#2091") when there is none.
  NodeId RetryAfterFailure(NodeId x);
  // The position before the weak user move at `level` above `node`.
  NodeId RetryBefore(NodeId node, int level) const;

  // ---- Commands -------------------------------------------------------------------------------

  // Solve again: only while the problem page shows. Restarts the problem; counts a takeback
  // when the user stopped inside a line.
  void SolveAgain();
  // Back: only while the problem page shows. Takes back to the last position with the user to
  // move; nothing when only the initial moves are on the board.
  void Back();
  // Next variation or retry: returns to the retry point and plays the pending alternative reply.
  // Without a retry point: "#2094" and Solve again. The return stops after 30 000 ms, or at once
  // when taking back no longer makes progress, with "Error".
  void NextVariationOrRetry();
  // Result: only while the problem page shows and a problem is selected. Shows the answer text.
  void Result();
  // Hint: only while the problem page shows and a problem is selected; beeps when hints are not
  // allowed. Backs up to the user's move if needed, then dots the current node's children.
  void Hint();
  // The delay dialog: a whole number 0..30 becomes the delay; anything else beeps; Cancel
  // changes nothing.
  void DelayDialog();

  // ---- Timers ---------------------------------------------------------------------------------

  // Automatic takeback: stops itself and runs Next variation or retry.
  void Timer1Timer();
  // Message timer: stops itself and empties LabelStdResult in the normal colour.
  void Timer2Timer();

  // ---- Options --------------------------------------------------------------------------------

  // The takeback delay in seconds (the track bar), 0..30; out-of-range values are ignored.
  // Timer1's interval follows: delay x 1000 ms, or 50 ms for 0.
  void SetDelay(int seconds);
  int Delay() const { return delay_; }
  // "Computer do not play bad move(marked with ?)": sets the reply mask (29 on, 24 off).
  void SetComputerDoNotPlayBadMove(bool on);
  bool ComputerDoNotPlayBadMove() const { return replyMask_ == kReplyMaskAvoidBadMoves; }
  void miComputerdonotplaybadmove1Click() {
    SetComputerDoNotPlayBadMove(!ComputerDoNotPlayBadMove());
  }
  int ReplyMask() const { return replyMask_; }
  // "Display numbers if possible": the toggle flips it and runs Solve again.
  void SetDisplayNumbers(bool on) { displayNumbers_ = on; }
  bool DisplayNumbers() const { return displayNumbers_; }
  void ToggleDisplayNumbers();
  // "Next Problem &Automatically when solved".
  void SetNextProblemAutomatically(bool on) { nextProblemAutomatically_ = on; }
  bool NextProblemAutomatically() const { return nextProblemAutomatically_; }
  void ToggleNextProblemAutomatically() { nextProblemAutomatically_ = !nextProblemAutomatically_; }
  // "Takeback automatically ": switching it off does not stop a running Timer1.
  void SetTakebackAutomatically(bool on) { takebackAutomatically_ = on; }
  bool TakebackAutomatically() const { return takebackAutomatically_; }
  void ToggleTakebackAutomatically() { takebackAutomatically_ = !takebackAutomatically_; }
  // "&Silent": no sound at all, the click included.
  void SetSilent(bool on) { silent_ = on; }
  bool Silent() const { return silent_; }
  // "Hint allowed" (the hint lock).
  void SetHintAllowed(bool on) { hintAllowed_ = on; }
  bool HintAllowed() const { return hintAllowed_; }
  // "&Back" enabled (try mode disables it).
  void SetBackEnabled(bool on) { backEnabled_ = on; }
  // Try mode on the main board: judged moves are only counted as try moves.
  void SetTryMode(bool on) { tryMode_ = on; }
  bool TryMode() const { return tryMode_; }

  // ---- Try mode (the commands themselves are TryMode's, try_mode.h) ----------------------------

  // Enters try mode: disables "Next variation or retry", stops the automatic takeback, disables
  // "&Back" for Hint, and keeps the current node and the pending continuation for LeaveTryMode.
  void EnterTryMode();
  // Leaves try mode. The current node and the pending continuation come back as EnterTryMode
  // kept them, so that they match the position Stop try puts back whatever the commands that
  // stay available in try mode (Solve again, Back and Next variation by their keys) did to
  // them; nothing comes back when another problem was opened meanwhile. "Next variation or
  // retry" stays disabled until the next judged move.
  void LeaveTryMode();
  // The problem's initial moves, as the set-up put them on the board.
  const std::string& Initial() const { return initial_; }
  // "Check moves the answer does not know": a user move the tree does not hold goes to the
  // judge (not owned; nullptr for none). One that works is told correct and the computer
  // defends with the judge's replies until the problem is decided; one that fails gets the
  // judge's refutation and counts as a failure; one the judge cannot tell is a failure as
  // without the option.
  void SetMoveJudge(MoveJudge* judge) { judge_ = judge; }
  void SetCheckOffTreeMoves(bool on) { checkOffTreeMoves_ = on; }
  bool CheckOffTreeMoves() const { return checkOffTreeMoves_; }

  // ---- State ----------------------------------------------------------------------------------

  const SolutionTree& Tree() const { return tree_; }
  bool ProblemOpen() const { return problemOpen_; }
  int ProblemNumber() const { return problemNumber_; }
  NodeId RetryPoint() const { return retryPoint_; }
  NodeId AlternativeReply() const { return alternativeReply_; }
  // True while the moves on the board have left the tree through moves the judge found correct.
  bool OffTree() const { return offTree_; }
  // The colour that moves when the problem starts.
  Colour UserColour() const;
  // (length of Process - length of Initial) / 2.
  int MovesPlayed() const;

 private:
  void PlaySound(int number);
  void ShowWeakMove(Text warning);
  void ShowDataError(int which);
  void ClearPending();
  // Plays reply r as the computer: false (nothing played, current unchanged) when its point is
  // shorter than two letters or off the board; otherwise r becomes the current node.
  bool PlayReply(NodeId r);
  void JudgedFailure(NodeId from);
  // Judges the user's move (p, q) that the tree does not hold; false, with nothing done, when
  // the judge cannot tell.
  bool JudgeOffTree(int p, int q);
  void Succeeded(int cf, int uf, int us);
  void Finish();
  // The right status panel's text for a node: NodeComment with the open problem's own remark
  // list when it has one.
  std::string Comment(NodeId id) const;

  LattixEngine& board_;
  SolvingUi& ui_;
  SolvingSounds& sounds_;
  HistoryCounters& history_;
  ProblemSource& problems_;
  SolvingTimer& timer1_;
  SolvingTimer& timer2_;
  MillisecondClock& clock_;

  Localizer text_;
  std::vector<std::string> remarks_;
  SolutionTree tree_;

  bool problemOpen_ = false;
  int problemNumber_ = 0;
  std::string arrangedBlack_;
  std::string arrangedWhite_;
  std::string initial_;
  char firstPlayer_ = 'B';
  std::string answerText_;
  std::optional<std::vector<std::string>> problemRemarks_;
  std::optional<int> result2_;
  std::string treePoints_;  // every point the tree's moves name, for the judge

  int replyMask_ = kReplyMaskAvoidBadMoves;
  NodeId retryPoint_ = kNoNode;
  NodeId alternativeReply_ = kNoNode;

  int delay_ = 10;
  bool displayNumbers_ = true;
  bool nextProblemAutomatically_ = false;
  bool takebackAutomatically_ = false;
  bool silent_ = false;
  bool hintAllowed_ = true;
  bool backEnabled_ = true;
  bool tryMode_ = false;
  // What EnterTryMode kept, and the opening it belongs to (OpenProblem counts openings).
  int openings_ = 0;
  int tryOpening_ = 0;
  NodeId tryCurrent_ = kNoNode;
  NodeId tryRetryPoint_ = kNoNode;
  NodeId tryAlternativeReply_ = kNoNode;
  MoveJudge* judge_ = nullptr;
  bool checkOffTreeMoves_ = false;
  bool offTree_ = false;
};

}  // namespace zendra
