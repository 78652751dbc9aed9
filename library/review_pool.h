// The problems reviews, practice and statistics draw from: every problem of every collection
// the player has, with its collection, level and history counters. Where they come from (the
// open data file, the player's own collections) is the caller's business; each source of
// problems keeps its own history and its own attempts (review_file.h), so a problem is named by
// its source and its number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/history.h"
#include "library/review_schedule.h"
#include "library/table_store.h"

namespace zendra {

struct PoolProblem {
  int32_t source = 0;  // which source of problems holds it (an index the caller gives)
  int32_t number = 0;  // Auto1 within that source
  int32_t group = 0;   // Group1, the collection
  int32_t level = 0;   // Level1
  HistoryCounterValues counters;  // its history row (all 0 without one)
};

// Every problem of `problems` (a problem table: Auto1, Group1, Level1) with its row of
// `history` (counters 0 without one). Both cursors end where they stood.
std::vector<PoolProblem> PoolOf(TableStore& problems, TableStore& history);

// True when the counters show the problem was missed: failed at some time, its answer or a
// hint shown, or moves taken back before it was solved.
bool MissedInHistory(const HistoryCounterValues& c);
// The numbers (Auto1) of the rows of `history` that show a missed problem; the cursor ends
// where it stood.
std::vector<int32_t> MissedProblems(TableStore& history);

// One source of problems with its history and attempts.
class PracticeSource {
 public:
  virtual ~PracticeSource() = default;
  // A name for the source's collections in the statistics ("" for the shipped data file).
  virtual std::string Name() const = 0;
  // Every problem it holds, with its history counters (source left 0: the caller numbers them).
  virtual std::vector<PoolProblem> Problems() = 0;
  // Its attempts and their schedule.
  virtual const std::vector<Attempt>& Attempts() const = 0;
  virtual const ReviewSchedule& Schedule() const = 0;
};

// The attempts and schedule of one source of problems (PoolProblem::source indexes these).
struct SourceAttempts {
  const std::vector<Attempt>* attempts = nullptr;
  const ReviewSchedule* schedule = nullptr;
};

// Every problem of every source, each marked with its source's index, and the sources'
// attempts in the same order: what reviews, practice and statistics take.
struct CombinedPool {
  std::vector<PoolProblem> problems;
  std::vector<SourceAttempts> sources;
};
CombinedPool Combine(const std::vector<PracticeSource*>& sources);

}  // namespace zendra
