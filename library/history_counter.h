// What the solving controller reports to the per-problem history: the events it detects while
// the user works on the open problem. Each call counts one event on the open problem's row.
#pragma once

namespace zendra {

class HistoryCounter {
 public:
  virtual ~HistoryCounter() = default;

  // The user's line reached a successful end and the problem counts as solved.
  virtual void CountSolved() = 0;
  // A failure verdict (a move outside the tree or a refuted line).
  virtual void CountFailure() = 0;
  // Back or Solve again took back moves the user played; counted only while not yet solved.
  virtual void CountTakeback() = 0;
  // A legal move played in try mode on the main board; counted only while not yet solved.
  virtual void CountTryMove() = 0;
  // A hint: kind 0 the Result command (answer shown), kind 1 the Hint command, kind 2 a third
  // kind nothing raises yet. Other kinds are ignored.
  virtual void CountHint(int kind) = 0;
};

}  // namespace zendra
