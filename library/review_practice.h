// "Practice at my level": a session of problems drawn from all collections around the level the
// estimate gives, adapting as it goes: a clean solve moves the target one level up, a solve
// with take-backs keeps it, a solve with the answer or a hint and a failure move it one down.
// The summary counts the problems solved clean, with help, and failed, and the time spent.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "library/review_pool.h"

namespace zendra {

// The default number of problems in a session.
inline constexpr int kPracticeSessionSize = 10;

struct PracticeSummary {
  int clean = 0;
  int withHelp = 0;  // solved after take-backs, the answer or a hint
  int failed = 0;
  int64_t millis = 0;
};

class PracticeDraw {
 public:
  // A session of `size` problems drawn from `pool`, starting at level `estimate` (the level
  // estimate's n; 0, when it tells nothing, starts at the lowest quarter of the pool's levels).
  // `seed` makes the choice among equally good problems repeatable.
  PracticeDraw(std::vector<PoolProblem> pool, int estimate, int size, uint32_t seed);

  // The next problem: of those not drawn yet in this session, one whose level lies nearest the
  // target, preferring problems never solved, then those missed, then the rest, at random among
  // equals. Nothing when the session is complete or the pool has no problem left.
  std::optional<PoolProblem> Next();
  // Grades the problem drawn last; moves the target and counts the summary.
  void Report(AttemptOutcome outcome, int64_t millis);

  int Target() const { return target_; }
  int Size() const { return size_; }
  int Drawn() const { return static_cast<int>(drawn_.size()); }
  int Graded() const { return graded_; }
  bool Complete() const { return graded_ >= size_ || (exhausted_ && graded_ >= Drawn()); }
  const PracticeSummary& Summary() const { return summary_; }
  // The problems drawn so far, in order.
  const std::vector<PoolProblem>& DrawnProblems() const { return drawn_; }

 private:
  std::vector<PoolProblem> pool_;
  std::vector<bool> used_;
  std::vector<PoolProblem> drawn_;
  int size_;
  int target_ = 0;
  int lowest_ = 0;
  int highest_ = 0;
  int graded_ = 0;
  bool exhausted_ = false;
  PracticeSummary summary_;
  std::mt19937 random_;
};

}  // namespace zendra
