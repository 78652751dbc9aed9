#include "library/review_statistics.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "library/level_estimate.h"

namespace zendra {
namespace {

bool Attempted(const HistoryCounterValues& c) {
  return c.FailedCount > 0 || c.Hint0Count > 0 || c.Hint1Count > 0 || c.Hint2Count > 0 ||
         c.SolvedCount > 0 || c.TakebackBeforeSolve > 0 || c.StudyBeforeSolve > 0;
}

bool CleanFirstTry(const HistoryCounterValues& c) {
  return c.SolvedCount > 0 && c.FailedCountBeforeSolve == 0 && c.Hint0CountBeforeSolve == 0 &&
         c.Hint1CountBeforeSolve == 0 && c.Hint2CountBeforeSolve == 0 &&
         c.TakebackBeforeSolve == 0 && c.StudyBeforeSolve == 0;
}

// The pool's problems of one source: number -> level.
std::vector<std::unordered_map<int32_t, int32_t>> LevelsBySource(
    const std::vector<PoolProblem>& pool, size_t sources) {
  std::vector<std::unordered_map<int32_t, int32_t>> levels(sources);
  for (const PoolProblem& p : pool)
    if (p.source >= 0 && static_cast<size_t>(p.source) < sources)
      levels[static_cast<size_t>(p.source)][p.number] = p.level;
  return levels;
}

// Indices of `attempts` in time order (equal times in the order written).
std::vector<size_t> TimeOrder(const std::vector<Attempt>& attempts) {
  std::vector<size_t> order(attempts.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  const auto earlier = [&](size_t a, size_t b) { return attempts[a].time < attempts[b].time; };
  if (!std::is_sorted(order.begin(), order.end(), earlier))
    std::stable_sort(order.begin(), order.end(), earlier);
  return order;
}

}  // namespace

std::vector<PoolProblem> PoolOf(TableStore& problems, TableStore& history) {
  std::vector<PoolProblem> pool;
  if (!problems.Active()) return pool;
  const bool placed = problems.RecordCount() > 0 && !problems.Eof();
  const int32_t current = placed ? problems.AsInteger("Auto1") : 0;
  const bool historyPlaced = history.Active() && history.RecordCount() > 0 && !history.Eof();
  const int32_t historyCurrent = historyPlaced ? history.AsInteger("Auto1") : 0;
  pool.reserve(static_cast<size_t>(problems.RecordCount()));
  for (problems.First(); !problems.Eof(); problems.Next()) {
    PoolProblem p;
    p.number = problems.AsInteger("Auto1");
    p.group = problems.AsInteger("Group1");
    p.level = problems.AsInteger("Level1");
    if (history.Active() && history.FindKey({FieldValue{p.number}}))
      p.counters = ReadHistoryRow(history);
    pool.push_back(p);
  }
  if (placed) problems.FindKey({FieldValue{current}});
  if (historyPlaced) history.FindKey({FieldValue{historyCurrent}});
  return pool;
}

CombinedPool Combine(const std::vector<PracticeSource*>& sources) {
  CombinedPool all;
  for (PracticeSource* source : sources) {
    const auto index = static_cast<int32_t>(all.sources.size());
    for (PoolProblem& p : source->Problems()) {
      p.source = index;
      all.problems.push_back(p);
    }
    all.sources.push_back({&source->Attempts(), &source->Schedule()});
  }
  return all;
}

bool MissedInHistory(const HistoryCounterValues& c) {
  return c.FailedCount > 0 || c.Hint0Count > 0 || c.Hint1Count > 0 || c.Hint2Count > 0 ||
         c.TakebackBeforeSolve > 0;
}

std::vector<int32_t> MissedProblems(TableStore& history) {
  std::vector<int32_t> missed;
  if (!history.Active()) return missed;
  const bool placed = history.RecordCount() > 0 && !history.Eof();
  const int32_t current = placed ? history.AsInteger("Auto1") : 0;
  for (history.First(); !history.Eof(); history.Next())
    if (MissedInHistory(ReadHistoryRow(history))) missed.push_back(history.AsInteger("Auto1"));
  if (placed) history.FindKey({FieldValue{current}});
  return missed;
}

Statistics ComputeStatistics(const std::vector<PoolProblem>& pool,
                             const std::vector<SourceAttempts>& sources, int64_t today,
                             int forecastDays) {
  Statistics s;
  const auto levels = LevelsBySource(pool, sources.size());

  // Per collection, from the history counters (and the attempts kept).
  std::map<std::pair<int32_t, int32_t>, CollectionStatistics> collections;
  std::vector<std::unordered_map<int32_t, bool>> tried(sources.size());
  for (size_t i = 0; i < sources.size(); ++i)
    if (sources[i].attempts)
      for (const Attempt& a : *sources[i].attempts) tried[i][a.number] = true;
  for (const PoolProblem& p : pool) {
    CollectionStatistics& c = collections[{p.source, p.group}];
    c.source = p.source;
    c.group = p.group;
    ++c.problems;
    const bool logged = p.source >= 0 && static_cast<size_t>(p.source) < tried.size() &&
                        tried[static_cast<size_t>(p.source)].count(p.number) > 0;
    if (Attempted(p.counters) || logged) ++c.attempted;
    if (p.counters.SolvedCount > 0) ++c.solved;
    if (CleanFirstTry(p.counters)) ++c.cleanFirstTry;
  }
  for (auto& [key, c] : collections) s.collections.push_back(c);

  // Per day, and the first solves with their credit.
  std::map<int64_t, DayStatistics> days;
  std::vector<std::pair<int64_t, std::pair<int32_t, int>>> firstSolves;  // day, (level, credit)
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!sources[i].attempts || !sources[i].schedule) continue;
    const std::vector<Attempt>& attempts = *sources[i].attempts;
    const ReviewSchedule& schedule = *sources[i].schedule;
    struct BeforeSolve {
      HistoryCounterValues counters;
      bool solved = false;
    };
    std::unordered_map<int32_t, BeforeSolve> before;
    for (size_t k : TimeOrder(attempts)) {
      const Attempt& a = attempts[k];
      const auto level = levels[i].find(a.number);
      if (level == levels[i].end()) continue;
      const int64_t day = schedule.Day(a.time);
      DayStatistics& d = days[day];
      d.day = day;
      ++d.attempts;
      if (a.outcome == AttemptOutcome::kClean) ++d.clean;
      BeforeSolve& b = before[a.number];
      if (b.solved) continue;
      b.counters.Hint0CountBeforeSolve += a.results;
      b.counters.Hint1CountBeforeSolve += a.hints;
      b.counters.TakebackBeforeSolve += a.takebacks;
      if (a.outcome == AttemptOutcome::kFailed) {
        ++b.counters.FailedCountBeforeSolve;
        continue;
      }
      b.solved = true;
      firstSolves.push_back({day, {level->second, ProblemCredit(b.counters)}});
    }
  }
  for (auto& [day, d] : days) s.days.push_back(d);

  std::sort(firstSolves.begin(), firstSolves.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::array<int, 51> sums{};
  for (size_t k = 0; k < firstSolves.size(); ++k) {
    const auto& [day, solve] = firstSolves[k];
    if (solve.first >= 1 && solve.first <= 49) sums[static_cast<size_t>(solve.first)] += solve.second;
    if (k + 1 == firstSolves.size() || firstSolves[k + 1].first != day)
      s.level.push_back({day, LevelFromSums(sums)});
  }

  // The forecast over the pool's problems.
  s.forecast.assign(static_cast<size_t>(std::max(forecastDays, 1)), 0);
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!sources[i].schedule) continue;
    for (const auto& [number, state] : sources[i].schedule->States()) {
      if (!state.scheduled || !levels[i].count(number)) continue;
      if (state.DueOn(today)) {
        ++s.forecast[0];
      } else if (state.dueDay - today < static_cast<int64_t>(s.forecast.size())) {
        ++s.forecast[static_cast<size_t>(state.dueDay - today)];
      }
    }
  }
  s.dueToday = s.forecast[0];
  return s;
}

std::vector<PoolProblem> DueProblems(const std::vector<PoolProblem>& pool,
                                     const std::vector<SourceAttempts>& sources, int64_t day) {
  std::vector<PoolProblem> due;
  for (const PoolProblem& p : pool) {
    if (p.source < 0 || static_cast<size_t>(p.source) >= sources.size()) continue;
    const ReviewSchedule* schedule = sources[static_cast<size_t>(p.source)].schedule;
    const ReviewState* state = schedule ? schedule->Find(p.number) : nullptr;
    if (state && state->DueOn(day)) due.push_back(p);
  }
  return due;
}

}  // namespace zendra
