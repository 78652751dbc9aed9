// A large made-up history for the review and statistics benchmarks: 10,000 problems in four
// collections, their history rows, and 100,000 graded attempts spread over a year.
#pragma once

#include <random>
#include <vector>

#include "library/history.h"
#include "library/review_file.h"
#include "library/review_statistics.h"
#include "library/table_store.h"

namespace zendra::bench {

inline constexpr int kProblems = 10000;
inline constexpr int kAttempts = 100000;
inline constexpr int64_t kStart = 1733000000;  // attempts spread over the year from here

struct LargeHistory {
  TableStore problems{"Problems"};
  History history{"/nonexistent/History1.cds", Localizer{}};
  std::vector<Attempt> attempts;
  ReviewSchedule schedule;
  int64_t today = 0;

  LargeHistory() {
    std::mt19937 random(42);
    problems.DefineFields({{"Auto1", FieldType::kInteger},
                           {"Group1", FieldType::kInteger},
                           {"Level1", FieldType::kInteger}});
    problems.CreateDataSet(nullptr);
    history.Open();  // a fresh table: the file does not exist
    TableStore& h = history.Table();
    for (int n = 0; n < kProblems; ++n) {
      problems.Append();
      problems.SetInteger("Auto1", n);
      problems.SetInteger("Group1", n % 4);
      problems.SetInteger("Level1", 20 + static_cast<int>(random() % 26));
      problems.Post(nullptr);
      h.Append();
      h.SetInteger("Auto1", n);
      h.SetInteger("SolvedCount", static_cast<int32_t>(random() % 3));
      h.SetInteger("FailedCount", static_cast<int32_t>(random() % 4));
      h.Post(nullptr);
    }
    problems.AddIndex("ByAuto1", "Auto1", "", nullptr);
    problems.SetOrdering("Auto1", nullptr);
    for (int i = 0; i < kAttempts; ++i) {
      Attempt a;
      a.time = kStart + static_cast<int64_t>(i) * 365 * 86400 / kAttempts;
      a.number = static_cast<int32_t>(random() % kProblems);
      a.level = 30;
      a.outcome = static_cast<AttemptOutcome>(random() % kAttemptOutcomeCount);
      a.millis = 30000;
      attempts.push_back(a);
    }
    schedule.Rebuild(attempts);
    today = schedule.Day(attempts.back().time);
  }
};

inline LargeHistory& Large() {
  static LargeHistory large;
  return large;
}

}  // namespace zendra::bench
