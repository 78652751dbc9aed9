// The history counters as the solving controller sees them. The history of the problem library
// implements this (or an adapter over it does); the controller only reports events.
#pragma once

#include "library/history_counter.h"

namespace zendra {

// The history counters of the open problem: the events of HistoryCounter, each counted on the
// problem's row (which counters change, before or after the first solve, is the history's
// business), and the cursor and labels around them.
class HistoryCounters : public HistoryCounter {
 public:
  // Puts the history cursor on the row of problem `number` (its Auto1).
  virtual void PlaceOnProblem(int number) = 0;
  // Loads the open problem's counters and fills the labels; `position` is its 0-based index in
  // the problem list (written as "No. " + position + 1).
  virtual void ShowCounters(int position) = 0;
};

}  // namespace zendra
