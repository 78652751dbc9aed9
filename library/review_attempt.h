// The grading of attempts: each opening of a problem is one attempt, graded at its first solve
// (clean, after take-backs or try moves, or after the answer or a hint) or at its first failure,
// whichever comes first; what follows in the same opening is not graded again.
//
// ReviewingCounter sits between the solving controller and the history: it passes every count
// on to the history unchanged and records each graded attempt in the review log.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "library/history_counter.h"
#include "library/review_file.h"

namespace zendra {

class AttemptGrader {
 public:
  // Problem `number` of level `level` was opened at `nowMs` (any millisecond clock).
  void Open(int32_t number, int32_t level, int64_t nowMs);
  // The events of the open problem; Solved and Failed return the attempt when they grade it
  // (its time left 0 for the caller). Nothing is graded before an Open or twice per opening.
  std::optional<Attempt> Solved(int64_t nowMs);
  std::optional<Attempt> Failed(int64_t nowMs);
  void Hint(int kind);
  void Takeback();
  bool Waiting() const { return open_ && !graded_; }

 private:
  std::optional<Attempt> Grade(AttemptOutcome outcome, int64_t nowMs);
  Attempt attempt_;
  int64_t openedMs_ = 0;
  bool open_ = false;
  bool graded_ = false;
};

class ReviewingCounter : public HistoryCounter {
 public:
  // Counts into `history` and records into `log`; `nowSeconds` and `nowMs` are the clocks
  // (seconds since 1970 for the time stamps, any milliseconds for the durations).
  ReviewingCounter(HistoryCounter& history, ReviewLog& log, std::function<int64_t()> nowSeconds,
                   std::function<int64_t()> nowMs);

  // A problem was opened.
  void Open(int32_t number, int32_t level) { grader_.Open(number, level, nowMs_()); }

  void CountSolved() override;
  void CountFailure() override;
  void CountTakeback() override;
  void CountTryMove() override;
  void CountHint(int kind) override;

  // Called with each attempt after it was recorded (and whether it reached the file).
  std::function<void(const Attempt&, bool written)> OnGraded;

 private:
  void Record(std::optional<Attempt> attempt);
  HistoryCounter& history_;
  ReviewLog& log_;
  std::function<int64_t()> nowSeconds_;
  std::function<int64_t()> nowMs_;
  AttemptGrader grader_;
};

}  // namespace zendra
