#include "app/practice_session.h"

namespace zendra {

PracticeSession::PracticeSession(std::vector<PoolProblem> pool, int estimate, int size,
                                 uint32_t seed)
    : draw_(std::move(pool), estimate, size, seed) {
  draw_.Next();
}

std::vector<int32_t> PracticeSession::NumbersIn(int32_t source) const {
  std::vector<int32_t> numbers;
  for (const PoolProblem& p : Drawn())
    if (p.source == source) numbers.push_back(p.number);
  return numbers;
}

std::optional<PoolProblem> PracticeSession::Waiting() const {
  if (Drawn().empty() || draw_.Graded() >= draw_.Drawn()) return std::nullopt;
  return Drawn().back();
}

bool PracticeSession::Graded(int32_t source, int32_t number, AttemptOutcome outcome,
                             int64_t millis) {
  const std::optional<PoolProblem> waiting = Waiting();
  if (!waiting || waiting->source != source || waiting->number != number) return false;
  draw_.Report(outcome, millis);
  draw_.Next();
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
