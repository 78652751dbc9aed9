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

// Where each problem of one source stands in the pool, by its number: a table indexed by the
// number while the numbers are dense (Auto1 counts up from 1), a hash map otherwise.
class PoolPositions {
 public:
  static constexpr int64_t kNone = -1;

  void Build(const std::vector<std::pair<int32_t, uint32_t>>& entries) {
    int32_t most = 0;
    bool dense = true;
    for (const auto& [number, position] : entries) {
      if (number < 0) dense = false;
      most = std::max(most, number);
    }
    dense_ = dense && static_cast<size_t>(most) <= 4 * entries.size() + 1024;
    if (dense_) {
      table_.assign(static_cast<size_t>(most) + 1, kNone);
      // The first problem of a number counts, as a look-up would find it.
      for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        table_[static_cast<size_t>(it->first)] = it->second;
    } else {
      map_.reserve(entries.size());
      for (const auto& [number, position] : entries) map_.emplace(number, position);
    }
  }

  int64_t Find(int32_t number) const {
    if (dense_) {
      return number >= 0 && static_cast<size_t>(number) < table_.size()
                 ? table_[static_cast<size_t>(number)]
                 : kNone;
    }
    const auto it = map_.find(number);
    return it == map_.end() ? kNone : static_cast<int64_t>(it->second);
  }

 private:
  bool dense_ = false;
  std::vector<int64_t> table_;
  std::unordered_map<int32_t, uint32_t> map_;
};

std::vector<PoolPositions> PositionsBySource(const std::vector<PoolProblem>& pool,
                                             size_t sources) {
  std::vector<std::vector<std::pair<int32_t, uint32_t>>> entries(sources);
  for (size_t k = 0; k < pool.size(); ++k) {
    const PoolProblem& p = pool[k];
    if (p.source >= 0 && static_cast<size_t>(p.source) < sources)
      entries[static_cast<size_t>(p.source)].emplace_back(p.number, static_cast<uint32_t>(k));
  }
  std::vector<PoolPositions> positions(sources);
  for (size_t i = 0; i < sources; ++i) positions[i].Build(entries[i]);
  return positions;
}

// Calls `visit` with each of `attempts` in time order (equal times in the order written). The
// attempts are kept as written, in time order unless the clock was set back, so the order is
// made only when needed.
template <typename Visit>
void InTimeOrder(const std::vector<Attempt>& attempts, Visit visit) {
  const auto earlier = [](const Attempt& a, const Attempt& b) { return a.time < b.time; };
  if (std::is_sorted(attempts.begin(), attempts.end(), earlier)) {
    for (const Attempt& a : attempts) visit(a);
    return;
  }
  std::vector<uint32_t> order(attempts.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return earlier(attempts[a], attempts[b]); });
  for (uint32_t i : order) visit(attempts[i]);
}

}  // namespace

std::vector<PoolProblem> PoolOf(TableStore& problems, TableStore& history) {
  std::vector<PoolProblem> pool;
  if (!problems.Active()) return pool;
  const bool placed = problems.RecordCount() > 0 && !problems.Eof();
  const int32_t current = placed ? problems.AsInteger("Auto1") : 0;
  const bool historyPlaced = history.Active() && history.RecordCount() > 0 && !history.Eof();
  const int32_t historyCurrent = historyPlaced ? history.AsInteger("Auto1") : 0;

  const int number = problems.FieldPosition("Auto1");
  const int group = problems.FieldPosition("Group1");
  const int level = problems.FieldPosition("Level1");
  pool.reserve(static_cast<size_t>(problems.RecordCount()));
  for (problems.First(); !problems.Eof(); problems.Next()) {
    PoolProblem p;
    p.number = problems.AsIntegerAt(number);
    p.group = problems.AsIntegerAt(group);
    p.level = problems.AsIntegerAt(level);
    pool.push_back(p);
  }

  // Each history row's counters go to the problems of its number, in one walk of the history
  // rather than a look-up per problem; a number's first row counts, as a look-up finds it.
  if (history.Active() && !pool.empty()) {
    std::vector<uint32_t> byNumber(pool.size());
    for (size_t k = 0; k < byNumber.size(); ++k) byNumber[k] = static_cast<uint32_t>(k);
    std::stable_sort(byNumber.begin(), byNumber.end(),
                     [&](uint32_t a, uint32_t b) { return pool[a].number < pool[b].number; });
    std::vector<char> done(pool.size(), 0);
    const HistoryColumns columns(history);
    for (history.First(); !history.Eof(); history.Next()) {
      const int32_t n = history.AsIntegerAt(columns.number);
      auto k = std::lower_bound(byNumber.begin(), byNumber.end(), n,
                                [&](uint32_t a, int32_t value) { return pool[a].number < value; });
      if (k == byNumber.end() || pool[*k].number != n || done[*k]) continue;
      const HistoryCounterValues counters = ReadHistoryRow(history, columns);
      for (; k != byNumber.end() && pool[*k].number == n; ++k) {
        pool[*k].counters = counters;
        done[*k] = 1;
      }
    }
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
  const HistoryColumns columns(history);
  for (history.First(); !history.Eof(); history.Next())
    if (MissedInHistory(ReadHistoryRow(history, columns)))
      missed.push_back(history.AsIntegerAt(columns.number));
  if (placed) history.FindKey({FieldValue{current}});
  return missed;
}

Statistics ComputeStatistics(const std::vector<PoolProblem>& pool,
                             const std::vector<SourceAttempts>& sources, int64_t today,
                             int forecastDays) {
  Statistics s;
  const std::vector<PoolPositions> positions = PositionsBySource(pool, sources.size());

  // Per day, and the first solves with their credit, from the attempts kept. Attempts in time
  // order fall on the days in order, so each source's days come as runs; the runs of all sources
  // are merged below.
  std::vector<DayStatistics> runs;
  std::vector<std::pair<int64_t, std::pair<int32_t, int>>> firstSolves;  // day, (level, credit)
  // What the attempts kept of a problem record up to its first solve.
  struct Kept {
    bool any = false;  // an attempt of it is kept
    int32_t failed = 0, results = 0, hints = 0, takebacks = 0;
    bool solved = false;
  };
  std::vector<Kept> kept(pool.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!sources[i].attempts) continue;
    const ReviewSchedule* schedule = sources[i].schedule;
    InTimeOrder(*sources[i].attempts, [&](const Attempt& a) {
      const int64_t k = positions[i].Find(a.number);
      if (k == PoolPositions::kNone) return;
      Kept& b = kept[static_cast<size_t>(k)];
      b.any = true;
      if (!schedule) return;  // no days without the schedule's clock
      const int64_t day = schedule->Day(a.time);
      if (runs.empty() || runs.back().day != day) runs.push_back({day, 0, 0});
      DayStatistics& d = runs.back();
      ++d.attempts;
      if (a.outcome == AttemptOutcome::kClean) ++d.clean;
      if (b.solved) return;
      b.results += a.results;
      b.hints += a.hints;
      b.takebacks += a.takebacks;
      if (a.outcome == AttemptOutcome::kFailed) {
        ++b.failed;
        return;
      }
      b.solved = true;
      HistoryCounterValues counters;
      counters.FailedCountBeforeSolve = b.failed;
      counters.Hint0CountBeforeSolve = b.results;
      counters.Hint1CountBeforeSolve = b.hints;
      counters.TakebackBeforeSolve = b.takebacks;
      firstSolves.push_back({day, {pool[static_cast<size_t>(k)].level, ProblemCredit(counters)}});
    });
  }

  // Per collection, from the history counters (and the attempts kept).
  std::map<std::pair<int32_t, int32_t>, CollectionStatistics> collections;
  for (size_t k = 0; k < pool.size(); ++k) {
    const PoolProblem& p = pool[k];
    CollectionStatistics& c = collections[{p.source, p.group}];
    c.source = p.source;
    c.group = p.group;
    ++c.problems;
    if (Attempted(p.counters) || kept[k].any) ++c.attempted;
    if (p.counters.SolvedCount > 0) ++c.solved;
    if (CleanFirstTry(p.counters)) ++c.cleanFirstTry;
  }
  for (auto& [key, c] : collections) s.collections.push_back(c);

  std::stable_sort(runs.begin(), runs.end(),
                   [](const DayStatistics& a, const DayStatistics& b) { return a.day < b.day; });
  for (const DayStatistics& run : runs) {
    if (!s.days.empty() && s.days.back().day == run.day) {
      s.days.back().attempts += run.attempts;
      s.days.back().clean += run.clean;
    } else {
      s.days.push_back(run);
    }
  }

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
      if (!state.scheduled || positions[i].Find(number) == PoolPositions::kNone) continue;
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
