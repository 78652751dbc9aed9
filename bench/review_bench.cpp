// Reviews and statistics on a large history: 10,000 problems in four collections and 100,000
// graded attempts over a year. Due today and the statistics' numbers are computed as the
// window computes them (the pool walked from the problem and history tables); the schedule is
// replayed and the review file read as at the start of a session.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/large_history.h"

namespace zendra::bench {
namespace {

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
