// A "Practice at my level" session in the main window: the draw, the problems it has put in the
// grid so far, and the summary text at its end. Its problems may come from several sources (the
// shipped data file, the player's own collections); a problem is named by its source's index
// and its number in that source.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "library/review_practice.h"

namespace zendra {

class PracticeSession {
 public:
  // A session of `size` problems from `pool` around level `estimate`; the first is drawn at
  // once (none when the pool is empty).
  PracticeSession(std::vector<PoolProblem> pool, int estimate, int size, uint32_t seed);

  // The problems drawn so far, in order.
  const std::vector<PoolProblem>& Drawn() const { return draw_.DrawnProblems(); }
  // The numbers of the problems drawn so far from `source`, in the order drawn: what the grid
  // lists while that source is open.
  std::vector<int32_t> NumbersIn(int32_t source) const;
  // The problem drawn last while it waits for its grade.
  std::optional<PoolProblem> Waiting() const;
  // Grades problem `number` of `source` when it is the one waiting; then draws the next. True
  // when the attempt belonged to the session.
  bool Graded(int32_t source, int32_t number, AttemptOutcome outcome, int64_t millis);
  bool Complete() const { return draw_.Complete(); }
  const PracticeDraw& Draw() const { return draw_; }

  // "Practice: 10 problems in 12 min 5 s. Solved clean: 6, with help: 2, failed: 2."
  std::string SummaryText() const;

 private:
  PracticeDraw draw_;
};

}  // namespace zendra
