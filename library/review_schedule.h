// The review schedule: which problems the player missed and when each comes back.
//
// Every opening of a problem is one attempt, graded at its first solve or first failure and
// kept with a time stamp (review_file.h keeps them durably). The schedule is a pure function of
// those attempts, replayed in time order through SM-2, the SuperMemo 2 algorithm (P. A. Wozniak,
// "Optimization of learning", 1990; the algorithm as published at
// https://super-memory.com/english/ol/sm2.htm):
//   - a grade q from 0 to 5; q < 3 starts the repetitions again (interval 1 day) and leaves the
//     easiness factor as it was;
//   - otherwise EF' = EF + (0.1 - (5 - q) * (0.08 + (5 - q) * 0.02)), never below 1.3, and the
//     interval is 1 day, then 6 days, then the previous interval times EF, rounded up;
//   - items graded below 4 are repeated the same day until they reach 4 (these repeats do not
//     change the schedule).
// SM-2 rather than FSRS: it needs no trained parameters (FSRS's default weights come from
// flashcard reviews, not from problem solving), its rules fit in a table test, and a replay of
// 100,000 attempts costs a few milliseconds.
//
// Only missed problems are scheduled: a problem enters at its first attempt graded below 4 (or
// when its history shows it was missed before attempts were kept); clean solves before that do
// not bring it back.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zendra {

// How an attempt ended.
enum class AttemptOutcome : int32_t {
  kClean = 0,     // solved without failure, hint, take-back or try move
  kTakeback = 1,  // solved after take-backs or try moves only
  kHint = 2,      // solved after the Result or Hint command
  kFailed = 3,    // a failure verdict before any solve
};
inline constexpr int kAttemptOutcomeCount = 4;

// One graded attempt at a problem.
struct Attempt {
  int64_t time = 0;   // when it was graded, seconds since 1970-01-01 UTC
  int32_t number = 0; // the problem number (Auto1)
  int32_t level = 0;  // the problem's Level1 when it was tried
  AttemptOutcome outcome = AttemptOutcome::kClean;
  int32_t results = 0;    // Result uses before the grade
  int32_t hints = 0;      // Hint uses before the grade
  int32_t takebacks = 0;  // take-backs and try moves before the grade
  int32_t millis = 0;     // from the opening to the grade

  bool operator==(const Attempt&) const = default;
};

// The SM-2 quality of an outcome: clean 5, take-backs 3, hints 2, failed 1.
int Sm2Quality(AttemptOutcome outcome);

// The local calendar day of a time, for a UTC offset in seconds (days since 1970-01-01).
int64_t LocalDay(int64_t time, int32_t utcOffsetSeconds);

// The schedule of one problem.
struct ReviewState {
  bool scheduled = false;   // the problem was missed: it takes part in reviews
  int32_t repetitions = 0;  // successful repetitions in a row (SM-2's n)
  double easiness = 2.5;    // SM-2's E-Factor
  int32_t interval = 0;     // days from the last graded day to the next review
  int64_t lastDay = 0;      // the day of the last attempt that moved the schedule
  int64_t dueDay = 0;       // the next review
  bool repeatToday = false; // graded below 4 on lastDay and not yet repeated to 4
  int32_t attempts = 0;      // attempts graded, scheduled or not
  bool graded = false;      // SM-2 has graded it at least once (lastDay is set)

  // Due on `day`: the next review has come, or a same-day repeat is owed.
  bool DueOn(int64_t day) const {
    return scheduled && (dueDay <= day || (repeatToday && lastDay == day));
  }
};

// One SM-2 step: the state after grading an attempt of quality `q` (0..5) on `day`.
ReviewState Sm2Step(ReviewState state, int q, int64_t day);

class ReviewSchedule {
 public:
  explicit ReviewSchedule(int32_t utcOffsetSeconds = 0) : utcOffset_(utcOffsetSeconds) {}

  // Problems the history shows as missed before attempts were kept: they are scheduled from the
  // start and, without attempts, due at once. Call before Add or Rebuild.
  void SeedMissed(const std::vector<int32_t>& numbers);
  // Replays every attempt in time order (equal times keep their order) from a fresh schedule
  // (the seeds kept).
  void Rebuild(const std::vector<Attempt>& attempts);
  // Adds one attempt later than every one added before.
  void Add(const Attempt& attempt);

  // The problem's state; nullptr when it was never tried or seeded.
  const ReviewState* Find(int32_t number) const;
  // The scheduled problems due on `day`, in number order.
  std::vector<int32_t> DueOn(int64_t day) const;
  int64_t Day(int64_t time) const { return LocalDay(time, utcOffset_); }
  const std::unordered_map<int32_t, ReviewState>& States() const { return states_; }

 private:
  int32_t utcOffset_;
  std::vector<int32_t> seeds_;
  std::unordered_map<int32_t, ReviewState> states_;
};

}  // namespace zendra
