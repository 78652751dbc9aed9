#include "library/review_practice.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace zendra {
namespace {

// 0 never solved, 1 solved after a miss, 2 solved clean: lower is drawn first.
int Preference(const PoolProblem& p) {
  if (p.counters.SolvedCount <= 0) return 0;
  return MissedInHistory(p.counters) ? 1 : 2;
}

}  // namespace

PracticeDraw::PracticeDraw(std::vector<PoolProblem> pool, int estimate, int size, uint32_t seed)
    : pool_(std::move(pool)), used_(pool_.size(), false), size_(std::max(size, 1)), random_(seed) {
  if (pool_.empty()) return;
  std::vector<int> levels;
  for (const PoolProblem& p : pool_) levels.push_back(p.level);
  std::sort(levels.begin(), levels.end());
  lowest_ = levels.front();
  highest_ = levels.back();
  target_ = estimate > 0 ? estimate : levels[levels.size() / 4];
  target_ = std::clamp(target_, lowest_, highest_);
}

std::optional<PoolProblem> PracticeDraw::Next() {
  if (Drawn() >= size_ || exhausted_) return std::nullopt;
  // The best key (distance from the target, preference); every unused problem with it.
  std::pair<int, int> best{std::numeric_limits<int>::max(), 0};
  std::vector<size_t> equals;
  for (size_t i = 0; i < pool_.size(); ++i) {
    if (used_[i]) continue;
    const std::pair<int, int> key{std::abs(pool_[i].level - target_), Preference(pool_[i])};
    if (key < best) {
      best = key;
      equals.clear();
    }
    if (key == best) equals.push_back(i);
  }
  if (equals.empty()) {
    exhausted_ = true;
    return std::nullopt;
  }
  const size_t pick = equals[std::uniform_int_distribution<size_t>(0, equals.size() - 1)(random_)];
  used_[pick] = true;
  drawn_.push_back(pool_[pick]);
  return pool_[pick];
}

void PracticeDraw::Report(AttemptOutcome outcome, int64_t millis) {
  if (graded_ >= Drawn()) return;  // nothing drawn waits for its grade
  ++graded_;
  summary_.millis += millis;
  switch (outcome) {
    case AttemptOutcome::kClean:
      ++summary_.clean;
      ++target_;
      break;
    case AttemptOutcome::kTakeback:
      ++summary_.withHelp;
      break;
    case AttemptOutcome::kHint:
      ++summary_.withHelp;
      --target_;
      break;
    case AttemptOutcome::kFailed:
      ++summary_.failed;
      --target_;
      break;
  }
  target_ = std::clamp(target_, lowest_, highest_);
}

}  // namespace zendra
