// Reviews and statistics on a large history: 10,000 problems in four collections and 100,000
// graded attempts over a year. Due today and the statistics' numbers are computed as the
// window computes them (the pool walked from the problem and history tables); the schedule is
// replayed and the review file read as at the start of a session.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "library/history.h"
#include "library/review_file.h"
#include "library/review_statistics.h"
#include "library/table_store.h"

namespace zendra::bench {
namespace {

constexpr int kProblems = 10000;
constexpr int kAttempts = 100000;
constexpr int64_t kStart = 1733000000;  // attempts spread over the year from here

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

LargeHistory& Large() {
  static LargeHistory large;
  return large;
}

void BM_DueToday(benchmark::State& state) {
  LargeHistory& l = Large();
  size_t due = 0;
  for (auto _ : state) {
    const std::vector<PoolProblem> pool = PoolOf(l.problems, l.history.Table());
    due = DueProblems(pool, {{&l.attempts, &l.schedule}}, l.today).size();
    benchmark::DoNotOptimize(due);
  }
  state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_DueToday)->Unit(benchmark::kMillisecond);

void BM_StatisticsNumbers(benchmark::State& state) {
  LargeHistory& l = Large();
  for (auto _ : state) {
    const std::vector<PoolProblem> pool = PoolOf(l.problems, l.history.Table());
    const Statistics s = ComputeStatistics(pool, {{&l.attempts, &l.schedule}}, l.today);
    benchmark::DoNotOptimize(s.days.data());
  }
}
BENCHMARK(BM_StatisticsNumbers)->Unit(benchmark::kMillisecond);

void BM_ReplaySchedule(benchmark::State& state) {
  LargeHistory& l = Large();
  for (auto _ : state) {
    ReviewSchedule schedule;
    schedule.Rebuild(l.attempts);
    benchmark::DoNotOptimize(schedule.States().size());
  }
}
BENCHMARK(BM_ReplaySchedule)->Unit(benchmark::kMillisecond);

void BM_ReadReviewFile(benchmark::State& state) {
  LargeHistory& l = Large();
  char dir[] = "/tmp/zendra-review-bench-XXXXXX";
  if (!mkdtemp(dir)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string path = std::string(dir) + "/" + kReviewFileName;
  std::string error;
  if (!ReviewFile(path).Append(l.attempts, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::vector<Attempt> read;
  for (auto _ : state) {
    ReviewFile(path).Read(&read, &error);
    benchmark::DoNotOptimize(read.data());
  }
  std::remove(path.c_str());
  rmdir(dir);
}
BENCHMARK(BM_ReadReviewFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zendra::bench

BENCHMARK_MAIN();
