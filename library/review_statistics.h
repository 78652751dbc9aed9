// The player's progress in numbers, for the statistics window: per collection how many
// problems were tried, solved, and solved cleanly at the first try; attempts and clean solves
// per day; the level estimate as it grew; and how many reviews fall due on the coming days.
#pragma once

#include <cstdint>
#include <vector>

#include "library/review_pool.h"

namespace zendra {

struct CollectionStatistics {
  int32_t source = 0;
  int32_t group = 0;
  int problems = 0;
  int attempted = 0;      // a history counter above 0 or an attempt kept
  int solved = 0;         // SolvedCount above 0
  int cleanFirstTry = 0;  // solved with every before-solve counter 0
  // Clean first tries among the problems attempted, 0 when none was.
  double CleanRate() const { return attempted ? double(cleanFirstTry) / attempted : 0.0; }
};

struct DayStatistics {
  int64_t day = 0;  // local day number (LocalDay)
  int attempts = 0;
  int clean = 0;    // attempts graded clean
};

struct LevelPoint {
  int64_t day = 0;
  int level = 0;  // the estimate n (level_estimate.h) at the end of that day
};

struct Statistics {
  std::vector<CollectionStatistics> collections;  // by source, then group
  std::vector<DayStatistics> days;                // days with attempts, in order
  std::vector<LevelPoint> level;                  // one point per day with a first solve
  std::vector<int> forecast;                      // reviews due per day from today
  int dueToday = 0;
};

// The statistics of `pool` (problems that are gone from every source count nowhere). The level
// follows the estimate's rules over the first solves the attempts record, each credited from
// the attempts before it: 50 a failed attempt, 25 a take-back, 10 once for Result uses, 75 a
// Hint use.
Statistics ComputeStatistics(const std::vector<PoolProblem>& pool,
                             const std::vector<SourceAttempts>& sources, int64_t today,
                             int forecastDays = 7);

// The pool's problems due for review on `day`, in pool order.
std::vector<PoolProblem> DueProblems(const std::vector<PoolProblem>& pool,
                                     const std::vector<SourceAttempts>& sources, int64_t day);

}  // namespace zendra
