// The history counters as the solving controller sees them. The history of the problem library
// implements this (or an adapter over it does); the controller only reports events.
#pragma once

namespace zendra {

// The history counters of the open problem: each call counts one event on the problem's row
// and updates the counter labels. Which counters change (before or after the first solve) is
// the history's business.
class HistoryCounters {
 public:
  virtual ~HistoryCounters() = default;
  // Puts the history cursor on the row of problem `number` (its Auto1).
  virtual void PlaceOnProblem(int number) = 0;
  // Loads the open problem's counters and fills the labels; `position` is its 0-based index in
  // the problem list (written as "No. " + position + 1).
  virtual void ShowCounters(int position) = 0;
  // The user's line reached a successful end with every computer reply shown.
  virtual void CountSolved() = 0;
  // Every failure verdict.
  virtual void CountFailure() = 0;
  // Back or Solve again took back moves inside a line.
  virtual void CountTakeback() = 0;
  // A legal move in try mode on the main board.
  virtual void CountTryMove() = 0;
  // kind 0: the Result command; kind 1: the Hint command.
  virtual void CountHint(int kind) = 0;
};

}  // namespace zendra
