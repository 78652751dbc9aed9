#include "app/practice_session.h"

namespace zendra {

PracticeSession::PracticeSession(std::vector<PoolProblem> pool, int estimate, int size,
                                 uint32_t seed)
    : draw_(std::move(pool), estimate, size, seed) {
  if (const std::optional<PoolProblem> first = draw_.Next()) numbers_.push_back(first->number);
}

bool PracticeSession::Graded(int32_t number, AttemptOutcome outcome, int64_t millis) {
  if (numbers_.empty() || number != numbers_.back() || draw_.Graded() >= draw_.Drawn())
    return false;
  draw_.Report(outcome, millis);
  if (const std::optional<PoolProblem> next = draw_.Next()) numbers_.push_back(next->number);
  return true;
}

std::string PracticeSession::SummaryText() const {
  const PracticeSummary& s = draw_.Summary();
  const int64_t seconds = (s.millis + 500) / 1000;
  const std::string time = seconds >= 60 ? std::to_string(seconds / 60) + " min " +
                                               std::to_string(seconds % 60) + " s"
                                         : std::to_string(seconds) + " s";
  return "Practice: " + std::to_string(draw_.Graded()) + " problems in " + time +
         ".\nSolved clean: " + std::to_string(s.clean) +
         "\nSolved with help: " + std::to_string(s.withHelp) +
         "\nFailed: " + std::to_string(s.failed);
}

}  // namespace zendra
