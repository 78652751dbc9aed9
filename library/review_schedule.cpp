#include "library/review_schedule.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace zendra {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr double kLowestEasiness = 1.3;
// Intervals stop at ten years: beyond that the day numbers would only grow without meaning.
constexpr int32_t kLongestInterval = 3650;

}  // namespace

int Sm2Quality(AttemptOutcome outcome) {
  switch (outcome) {
    case AttemptOutcome::kClean:
      return 5;
    case AttemptOutcome::kTakeback:
      return 3;
    case AttemptOutcome::kHint:
      return 2;
    case AttemptOutcome::kFailed:
      break;
  }
  return 1;
}

int64_t LocalDay(int64_t time, int32_t utcOffsetSeconds) {
  const int64_t local = time + utcOffsetSeconds;
  // Floor division, so times before 1970 fall on the day before.
  return local >= 0 ? local / kSecondsPerDay : -((-local + kSecondsPerDay - 1) / kSecondsPerDay);
}

ReviewState Sm2Step(ReviewState s, int q, int64_t day) {
  q = std::clamp(q, 0, 5);
  s.scheduled = s.scheduled || q < 4;
  ++s.attempts;
  if (s.graded && s.lastDay == day) {
    // A repeat on the day of the last grade: it only settles the same-day repetition.
    s.repeatToday = q < 4;
    return s;
  }
  if (q < 3) {
    s.repetitions = 0;
    s.interval = 1;
  } else {
    const double d = 5 - q;
    s.easiness = std::max(kLowestEasiness, s.easiness + (0.1 - d * (0.08 + d * 0.02)));
    ++s.repetitions;
    if (s.repetitions == 1) {
      s.interval = 1;
    } else if (s.repetitions == 2) {
      s.interval = 6;
    } else {
      s.interval = static_cast<int32_t>(
          std::min<double>(kLongestInterval, std::ceil(s.interval * s.easiness)));
    }
  }
  s.graded = true;
  s.lastDay = day;
  s.dueDay = day + s.interval;
  s.repeatToday = q < 4;
  return s;
}

void ReviewSchedule::SeedMissed(const std::vector<int32_t>& numbers) {
  seeds_ = numbers;
  for (int32_t n : numbers) {
    ReviewState& s = states_[n];
    s.scheduled = true;
    s.dueDay = std::numeric_limits<int64_t>::min() / 2;  // due whatever the day
  }
}

void ReviewSchedule::Rebuild(const std::vector<Attempt>& attempts) {
  states_.clear();
  SeedMissed(std::vector<int32_t>(seeds_));
  std::vector<size_t> order(attempts.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return attempts[a].time < attempts[b].time; });
  for (size_t i : order) Add(attempts[i]);
}

void ReviewSchedule::Add(const Attempt& a) {
  ReviewState& s = states_[a.number];
  const int q = Sm2Quality(a.outcome);
  if (!s.scheduled && q >= 4) {
    // Clean solves of a problem never missed keep it out of the reviews; only the count moves.
    ++s.attempts;
    return;
  }
  // A seeded problem or the first miss starts from SM-2's initial state.
  s = Sm2Step(s, q, Day(a.time));
}

const ReviewState* ReviewSchedule::Find(int32_t number) const {
  const auto it = states_.find(number);
  return it == states_.end() ? nullptr : &it->second;
}

std::vector<int32_t> ReviewSchedule::DueOn(int64_t day) const {
  std::vector<int32_t> due;
  for (const auto& [number, s] : states_)
    if (s.DueOn(day)) due.push_back(number);
  std::sort(due.begin(), due.end());
  return due;
}

}  // namespace zendra
