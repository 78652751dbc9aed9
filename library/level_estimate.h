// The estimate of the user's playing level from the problems solved so far.
//
// Every solved problem earns a credit from 0 to 100 by how cleanly it was solved before its
// first solve; the credits are summed per difficulty level, and the estimate is the highest
// level from 46 down whose sum reaches 600.
#pragma once

#include <array>
#include <string>

#include "library/history.h"
#include "language/language.h"
#include "library/table_store.h"

namespace zendra {

// The credit of a solved problem from its before-solve counters: 100 less 50 a failure, 25 a
// takeback, 10 a try move, 10 once for any Result use, 75 a Hint use and 90 a third-kind hint;
// never below 0.
int ProblemCredit(const HistoryCounterValues& counters);

// The message for estimate level `n` (0 to 46) in the interface language.
std::string LevelMessage(int n, const Localizer& text);

struct LevelEstimate {
  std::array<int, 51> sums{};  // credit per level 1 to 50 (index 0 unused)
  int level = 0;               // the estimate n, 0 when none
  std::string message;
};

// The estimate n for credit sums per level: the highest level from 46 down whose sum reaches
// 600, 0 when none does.
int LevelFromSums(const std::array<int, 51>& sums);

// Walks `problems` in its current ordering and sums the credit of every solved problem of
// level 1 to 49 with a history row. Afterwards the problem table's cursor is back on the
// problem it stood on, and the history cursor on that problem's row. Reads both tables and
// changes neither; inactive tables give level 0.
LevelEstimate EstimateLevel(TableStore& problems, TableStore& history, const Localizer& text);

}  // namespace zendra
