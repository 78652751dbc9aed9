// A "Practice at my level" session in the main window: the draw, the problems it has put in the
// grid so far, and the summary text at its end.
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

  // The problems to list in the grid, in the order drawn.
  const std::vector<int32_t>& Numbers() const { return numbers_; }
  // Grades the problem `number` when it is the one drawn last and still waits for its grade;
  // then draws the next. True when the attempt belonged to the session.
  bool Graded(int32_t number, AttemptOutcome outcome, int64_t millis);
  bool Complete() const { return draw_.Complete(); }
  const PracticeDraw& Draw() const { return draw_; }

  // "Practice: 10 problems in 12 min 5 s. Solved clean: 6, with help: 2, failed: 2."
  std::string SummaryText() const;

 private:
  PracticeDraw draw_;
  std::vector<int32_t> numbers_;
};

}  // namespace zendra
