#include "library/review_attempt.h"

#include <algorithm>
#include <limits>

namespace zendra {

void AttemptGrader::Open(int32_t number, int32_t level, int64_t nowMs) {
  attempt_ = Attempt{};
  attempt_.number = number;
  attempt_.level = level;
  openedMs_ = nowMs;
  open_ = true;
  graded_ = false;
}

std::optional<Attempt> AttemptGrader::Grade(AttemptOutcome outcome, int64_t nowMs) {
  if (!Waiting()) return std::nullopt;
  graded_ = true;
  attempt_.outcome = outcome;
  attempt_.millis = static_cast<int32_t>(
      std::clamp<int64_t>(nowMs - openedMs_, 0, std::numeric_limits<int32_t>::max()));
  return attempt_;
}

std::optional<Attempt> AttemptGrader::Solved(int64_t nowMs) {
  AttemptOutcome outcome = AttemptOutcome::kClean;
  if (attempt_.results > 0 || attempt_.hints > 0) {
    outcome = AttemptOutcome::kHint;
  } else if (attempt_.takebacks > 0) {
    outcome = AttemptOutcome::kTakeback;
  }
  return Grade(outcome, nowMs);
}

std::optional<Attempt> AttemptGrader::Failed(int64_t nowMs) {
  return Grade(AttemptOutcome::kFailed, nowMs);
}

void AttemptGrader::Hint(int kind) {
  if (!Waiting()) return;
  if (kind == 0) ++attempt_.results;
  if (kind == 1 || kind == 2) ++attempt_.hints;
}

void AttemptGrader::Takeback() {
  if (Waiting()) ++attempt_.takebacks;
}

ReviewingCounter::ReviewingCounter(HistoryCounter& history, ReviewLog& log,
                                   std::function<int64_t()> nowSeconds,
                                   std::function<int64_t()> nowMs)
    : history_(history), log_(log), nowSeconds_(std::move(nowSeconds)), nowMs_(std::move(nowMs)) {}

void ReviewingCounter::Record(std::optional<Attempt> attempt) {
  if (!attempt) return;
  attempt->time = nowSeconds_();
  const bool written = log_.Record(*attempt);
  if (OnGraded) OnGraded(*attempt, written);
}

void ReviewingCounter::CountSolved() {
  history_.CountSolved();
  Record(grader_.Solved(nowMs_()));
}

void ReviewingCounter::CountFailure() {
  history_.CountFailure();
  Record(grader_.Failed(nowMs_()));
}

void ReviewingCounter::CountTakeback() {
  history_.CountTakeback();
  grader_.Takeback();
}

void ReviewingCounter::CountTryMove() {
  history_.CountTryMove();
  grader_.Takeback();
}

void ReviewingCounter::CountHint(int kind) {
  history_.CountHint(kind);
  grader_.Hint(kind);
}

}  // namespace zendra
