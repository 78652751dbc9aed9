// The review schedule (SM-2 over graded attempts), its file, the grading of attempts, the
// practice draw and the statistics.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <vector>

#include "library/review_attempt.h"
#include "library/review_file.h"
#include "library/review_practice.h"
#include "library/history.h"
#include "library/review_statistics.h"
#include "library/review_stored_source.h"
#include "tests/library/library_test_util.h"
#include "tests/library/run_sql.h"

namespace zendra {
namespace {

using test::Sql;
using test::TempDir;
using O = AttemptOutcome;

constexpr int64_t kDay0 = 20000;  // 2024-10-04
// Ten in the morning of day `d` (counted from kDay0), UTC.
int64_t At(int d, int hour = 10) { return (kDay0 + d) * 86400 + hour * 3600; }

Attempt Try(int number, int d, O outcome, int level = 30) {
  Attempt a;
  a.time = At(d);
  a.number = number;
  a.level = level;
  a.outcome = outcome;
  return a;
}

// ---- The schedule's rules ------------------------------------------------------------------

struct ScheduleCase {
  const char* name;
  std::vector<std::pair<int, O>> attempts;  // (day, outcome) of problem 1
  bool scheduled;
  int repetitions;
  int interval;
  double easiness;
  int dueDay;                  // relative to day 0
  std::vector<int> dueOnDays;  // days on which it is due ...
  std::vector<int> notDueOn;   // ... and days on which it is not
};

TEST(ReviewScheduleTest, Sm2RulesOverAttempts) {
  const ScheduleCase cases[] = {
      {"first failure: back the same day, then after one day",
       {{0, O::kFailed}}, true, 0, 1, 2.5, 1, {0, 1, 5}, {-1}},
      {"a clean solve of a problem never missed is not scheduled",
       {{0, O::kClean}, {3, O::kClean}}, false, 0, 0, 2.5, 0, {}, {0, 1, 4, 400}},
      {"a clean solve after a failure the same day clears the repeat only",
       {{0, O::kFailed}, {0, O::kClean}}, true, 0, 1, 2.5, 1, {1}, {0}},
      {"a clean solve the next day starts the repetitions",
       {{0, O::kFailed}, {1, O::kClean}}, true, 1, 1, 2.6, 2, {2}, {1}},
      {"repeated clean solves: 1, 6, then interval x EF rounded up",
       {{0, O::kFailed}, {1, O::kClean}, {2, O::kClean}, {8, O::kClean}},
       true, 3, 17, 2.8, 25, {25}, {9, 24}},
      {"a failure after clean solves starts again and keeps EF",
       {{0, O::kFailed}, {1, O::kClean}, {2, O::kClean}, {8, O::kFailed}},
       true, 0, 1, 2.7, 9, {8, 9}, {7}},
      {"a solve with a hint is a miss (q = 2)",
       {{0, O::kHint}}, true, 0, 1, 2.5, 1, {0, 1}, {}},
      {"a solve with take-backs (q = 3) counts but lowers EF and repeats today",
       {{0, O::kTakeback}}, true, 1, 1, 2.36, 1, {0, 1}, {}},
      {"a missed repeat today does not move the schedule",
       {{0, O::kFailed}, {0, O::kClean}, {0, O::kFailed}}, true, 0, 1, 2.5, 1, {0, 1}, {}},
      {"EF never falls below 1.3",
       {{0, O::kTakeback}, {1, O::kTakeback}, {2, O::kTakeback}, {8, O::kTakeback},
        {20, O::kTakeback}, {40, O::kTakeback}, {80, O::kTakeback}, {150, O::kTakeback},
        {300, O::kTakeback}},
       true, 9, 0, 1.3, 0, {}, {}},
  };
  for (const ScheduleCase& c : cases) {
    SCOPED_TRACE(c.name);
    ReviewSchedule schedule;
    std::vector<Attempt> attempts;
    for (const auto& [day, outcome] : c.attempts) attempts.push_back(Try(1, day, outcome));
    schedule.Rebuild(attempts);
    const ReviewState* s = schedule.Find(1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->scheduled, c.scheduled);
    EXPECT_EQ(s->attempts, static_cast<int>(c.attempts.size()));
    if (c.scheduled) {
      EXPECT_EQ(s->repetitions, c.repetitions);
      EXPECT_NEAR(s->easiness, c.easiness, 1e-9);
    }
    if (c.scheduled && c.interval > 0) {
      EXPECT_EQ(s->interval, c.interval);
      EXPECT_EQ(s->dueDay, kDay0 + c.dueDay);
    }
    for (int d : c.dueOnDays) EXPECT_TRUE(s->DueOn(kDay0 + d)) << "day " << d;
    for (int d : c.notDueOn) EXPECT_FALSE(s->DueOn(kDay0 + d)) << "day " << d;
  }
}

TEST(ReviewScheduleTest, AttemptsAreReplayedInTimeOrderAndDaysAreLocal) {
  // Written out of order (two programs), replayed by time: the failure first.
  ReviewSchedule schedule;
  schedule.Rebuild({Try(1, 1, O::kClean), Try(1, 0, O::kFailed)});
  ASSERT_NE(schedule.Find(1), nullptr);
  EXPECT_EQ(schedule.Find(1)->repetitions, 1);
  EXPECT_EQ(schedule.Find(1)->dueDay, kDay0 + 2);

  // 23:30 UTC is the next day two hours east of Greenwich.
  EXPECT_EQ(LocalDay(At(0, 23) + 1800, 0), kDay0);
  EXPECT_EQ(LocalDay(At(0, 23) + 1800, 7200), kDay0 + 1);
  EXPECT_EQ(LocalDay(-1, 0), -1);
}

TEST(ReviewScheduleTest, ProblemsMissedInTheHistoryAreDueAtOnce) {
  ReviewSchedule schedule;
  schedule.SeedMissed({5});
  schedule.Rebuild({Try(6, 0, O::kClean)});
  EXPECT_EQ(schedule.DueOn(kDay0), std::vector<int32_t>{5});
  // Its first clean solve starts the repetitions like any review.
  schedule.Add(Try(5, 0, O::kClean));
  EXPECT_TRUE(schedule.DueOn(kDay0).empty());
  EXPECT_EQ(schedule.Find(5)->dueDay, kDay0 + 1);
}

TEST(ReviewScheduleTest, AProblemRemovedWithItsCollectionIsNeitherDueNorCounted) {
  ReviewSchedule schedule;
  schedule.Rebuild({Try(1, 0, O::kFailed), Try(2, 0, O::kFailed)});
  std::vector<Attempt> attempts = {Try(1, 0, O::kFailed), Try(2, 0, O::kFailed)};
  // Problem 2's collection is gone: the pool holds problem 1 only.
  const std::vector<PoolProblem> pool = {{0, 1, 0, 30, {}}};
  const std::vector<SourceAttempts> sources = {{&attempts, &schedule}};
  const std::vector<PoolProblem> due = DueProblems(pool, sources, kDay0);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].number, 1);
  const Statistics s = ComputeStatistics(pool, sources, kDay0);
  EXPECT_EQ(s.dueToday, 1);
  ASSERT_EQ(s.days.size(), 1u);
  EXPECT_EQ(s.days[0].attempts, 1);
}

// ---- The file --------------------------------------------------------------------------------

TEST(ReviewFileTest, AttemptsRoundTripInTheOrderWritten) {
  TempDir dir;
  ReviewFile file(dir.Path(kReviewFileName));
  std::vector<Attempt> read;
  std::string error;
  ASSERT_TRUE(file.Read(&read, &error)) << "a missing file reads as none";
  EXPECT_TRUE(read.empty());
  Attempt a = Try(65535, 3, O::kHint, -7);
  a.results = 1;
  a.hints = 2;
  a.takebacks = 3;
  a.millis = 2147483647;
  const std::vector<Attempt> written = {Try(0, 0, O::kFailed), a, Try(9, 1, O::kClean)};
  ASSERT_TRUE(file.Append({written[0]}, &error)) << error;
  ASSERT_TRUE(file.Append({written[1], written[2]}, &error)) << error;
  ASSERT_TRUE(file.Read(&read, &error)) << error;
  EXPECT_EQ(read, written);
}

TEST(ReviewFileTest, GarbageIsRefusedWithItsRowAndColumn) {
  const std::string table =
      "CREATE TABLE Attempts (Time INTEGER, Auto1 INTEGER, Level1 INTEGER, Outcome INTEGER, "
      "Results INTEGER, Hints INTEGER, Takebacks INTEGER, Millis INTEGER);";
  const std::string good = "INSERT INTO Attempts VALUES (1728000000, 1, 30, 0, 0, 0, 0, 10);";
  struct Case {
    const char* sql;
    const char* expected;
  } cases[] = {
      {"CREATE TABLE Other (x INTEGER);", "no such table: Attempts"},
      {"CREATE TABLE Attempts (Time INTEGER, Auto1 INTEGER);", "no such column"},
      {"INSERT INTO Attempts VALUES (1728000000, 1, 30, 7, 0, 0, 0, 10);",
       "row 2: column Outcome holds 7, outside 0 to 3"},
      {"INSERT INTO Attempts VALUES (1728000000, 1, 30, 'x', 0, 0, 0, 10);",
       "row 2: column Outcome holds no whole number"},
      {"INSERT INTO Attempts VALUES (-5, 1, 30, 0, 0, 0, 0, 10);",
       "row 2: column Time holds -5"},
      {"INSERT INTO Attempts VALUES (9223372036854775807, 1, 30, 0, 0, 0, 0, 10);",
       "row 2: column Time holds 9223372036854775807"},
      {"INSERT INTO Attempts VALUES (1728000000, 70000, 30, 0, 0, 0, 0, 10);",
       "row 2: column Auto1 holds 70000"},
      {"INSERT INTO Attempts VALUES (1728000000, 1, 30, 0, NULL, 0, 0, 10);",
       "row 2: column Results holds no whole number"},
      {"INSERT INTO Attempts VALUES (1728000000, 1, 30, 0, 0, 0, 0, 2.5);",
       "row 2: column Millis holds no whole number"},
      {"INSERT INTO Attempts VALUES (1728000000, 1, 30, 0, 0, -1, 0, 10);",
       "row 2: column Hints holds -1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    TempDir dir;
    const std::string path = dir.Path(kReviewFileName);
    const bool ownTable = std::string(c.sql).rfind("CREATE", 0) == 0;
    Sql(path, ownTable ? c.sql : table + good + c.sql);
    std::vector<Attempt> read = {Try(1, 0, O::kClean)};
    std::string error;
    EXPECT_FALSE(ReviewFile(path).Read(&read, &error));
    EXPECT_TRUE(read.empty());
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
  }
  // Bytes that are no database at all.
  TempDir dir;
  const std::string path = dir.Path(kReviewFileName);
  test::WriteFile(path, std::string(3000, 'x'));
  std::vector<Attempt> read;
  std::string error;
  EXPECT_FALSE(ReviewFile(path).Read(&read, &error));
  EXPECT_NE(error.find("not a database"), std::string::npos) << error;
}

TEST(ReviewFileTest, AnUnreadableFileIsSetAsideAndANewLogStarts) {
  TempDir dir;
  const std::string path = dir.Path(kReviewFileName);
  test::WriteFile(path, "garbage that is no database, long enough to be read as one......");
  ReviewLog log(path, 0);
  const std::string message = log.Open();
  EXPECT_NE(message.find("renamed to \"" + path + ".unreadable\""), std::string::npos) << message;
  EXPECT_EQ(test::ReadFile(path + ".unreadable").substr(0, 7), "garbage");
  ASSERT_TRUE(log.Record(Try(3, 0, O::kFailed))) << log.LastError();
  std::vector<Attempt> read;
  std::string error;
  ASSERT_TRUE(ReviewFile(path).Read(&read, &error)) << error;
  EXPECT_EQ(read.size(), 1u);
}

TEST(ReviewFileTest, AFailedWriteWaitsAndIsWrittenLater) {
  TempDir dir;
  const std::string folder = dir.Path("gone");
  const std::string path = folder + "/" + kReviewFileName;
  ReviewLog log(path, 0);
  EXPECT_EQ(log.Open(), "");
  EXPECT_FALSE(log.Record(Try(1, 0, O::kFailed))) << "the folder does not exist yet";
  EXPECT_NE(log.LastError().find(path), std::string::npos) << log.LastError();
  EXPECT_EQ(log.Pending(), 1u);
  EXPECT_TRUE(log.Schedule().Find(1)->DueOn(kDay0)) << "the schedule has it meanwhile";
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  EXPECT_TRUE(log.Record(Try(2, 0, O::kClean))) << log.LastError();
  EXPECT_EQ(log.Pending(), 0u);
  std::vector<Attempt> read;
  std::string error;
  ASSERT_TRUE(ReviewFile(path).Read(&read, &error)) << error;
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].number, 1);
  EXPECT_EQ(read[1].number, 2);
}

// A run killed while recording: the next run reads every attempt recorded, without a gap and
// without a torn row.
TEST(ReviewFileTest, KillWhileRecordingKeepsEveryWholeAttempt) {
  TempDir dir;
  const std::string path = dir.Path(kReviewFileName);
  for (int round = 0; round < 4; ++round) {
    std::vector<Attempt> before;
    std::string error;
    ASSERT_TRUE(ReviewFile(path).Read(&before, &error)) << error;
    int pipes[2];
    ASSERT_EQ(pipe(pipes), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipes[0]);
      ReviewLog log(path, 0);
      log.Open();
      // Numbers go on from the rows already there; each recorded one is told to the parent.
      for (int32_t n = static_cast<int32_t>(before.size());; ++n) {
        if (log.Record(Try(n % 65536, 0, O::kFailed))) (void)!write(pipes[1], &n, sizeof n);
      }
    }
    close(pipes[1]);
    // Killed some time after its first attempt is in the file, in the middle of later ones.
    int32_t told = -1, n = 0;
    if (read(pipes[0], &n, sizeof n) == static_cast<ssize_t>(sizeof n)) told = n;
    usleep(static_cast<useconds_t>(10000 + round * 15000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    while (read(pipes[0], &n, sizeof n) == static_cast<ssize_t>(sizeof n)) told = n;
    close(pipes[0]);

    std::vector<Attempt> after;
    ASSERT_TRUE(ReviewFile(path).Read(&after, &error)) << "round " << round << ": " << error;
    ASSERT_GE(told, static_cast<int32_t>(before.size())) << "the child recorded something";
    EXPECT_GE(static_cast<int32_t>(after.size()), told + 1) << "every acknowledged attempt kept";
    for (size_t i = 0; i < after.size(); ++i) {
      ASSERT_EQ(after[i].number, static_cast<int32_t>(i % 65536)) << "row " << i;
      ASSERT_EQ(after[i].outcome, O::kFailed);
    }
  }
}

// ---- Grading -------------------------------------------------------------------------------

struct CountingHistory : HistoryCounter {
  std::string events;
  void CountSolved() override { events += 'S'; }
  void CountFailure() override { events += 'F'; }
  void CountTakeback() override { events += 'B'; }
  void CountTryMove() override { events += 'T'; }
  void CountHint(int kind) override { events += static_cast<char>('0' + kind); }
};

TEST(AttemptGradingTest, EachOpeningIsGradedOnceAtItsFirstSolveOrFailure) {
  struct Case {
    const char* events;  // S solve, F failure, B take-back, T try move, 0/1 hints
    std::optional<O> outcome;
    int results, hints, takebacks;
  } cases[] = {
      {"S", O::kClean, 0, 0, 0},
      {"BTS", O::kTakeback, 0, 0, 2},
      {"B0S", O::kHint, 1, 0, 1},
      {"11S", O::kHint, 0, 2, 0},
      {"FS", O::kFailed, 0, 0, 0},
      {"1FSF", O::kFailed, 0, 1, 0},
      {"SFS", O::kClean, 0, 0, 0},
      {"B", std::nullopt, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.events);
    TempDir dir;
    CountingHistory history;
    ReviewLog log(dir.Path(kReviewFileName), 0);
    log.Open();
    int64_t ms = 1000;
    ReviewingCounter counter(history, log, [] { return At(0); }, [&ms] { return ms; });
    std::vector<Attempt> graded;
    counter.OnGraded = [&](const Attempt& a, bool written) {
      EXPECT_TRUE(written);
      graded.push_back(a);
    };
    counter.CountSolved();  // before any opening: counted in the history, graded nowhere
    counter.Open(7, 33);
    for (const char* e = c.events; *e; ++e) {
      ms += 500;
      switch (*e) {
        case 'S': counter.CountSolved(); break;
        case 'F': counter.CountFailure(); break;
        case 'B': counter.CountTakeback(); break;
        case 'T': counter.CountTryMove(); break;
        default: counter.CountHint(*e - '0');
      }
    }
    EXPECT_EQ(history.events, std::string("S") + c.events) << "the history counts everything";
    ASSERT_EQ(graded.size(), c.outcome ? 1u : 0u);
    if (!c.outcome) continue;
    const Attempt& a = graded[0];
    EXPECT_EQ(a.outcome, *c.outcome);
    EXPECT_EQ(a.number, 7);
    EXPECT_EQ(a.level, 33);
    EXPECT_EQ(a.time, At(0));
    EXPECT_EQ(a.results, c.results);
    EXPECT_EQ(a.hints, c.hints);
    EXPECT_EQ(a.takebacks, c.takebacks);
    EXPECT_GE(a.millis, 500);
    EXPECT_EQ(log.Attempts().size(), 1u);
  }
}

// ---- Practice at my level --------------------------------------------------------------------

// Two problems per level from 25 to 35: an even number never solved, an odd one solved clean.
std::vector<PoolProblem> LevelledPool() {
  std::vector<PoolProblem> pool;
  for (int level = 25; level <= 35; ++level) {
    for (int k = 0; k < 2; ++k) {
      PoolProblem p;
      p.number = level * 10 + k;
      p.group = level / 10;
      p.level = level;
      p.counters.SolvedCount = k;
      pool.push_back(p);
    }
  }
  return pool;
}

TEST(PracticeDrawTest, DrawsAroundTheEstimateAndFollowsThePlayer) {
  PracticeDraw draw(LevelledPool(), 30, 6, 1);
  // Each step: the problem drawn (nearest level first, never solved before solved clean), the
  // grade given, and the target it leaves.
  struct Step {
    int number;
    O outcome;
    int targetAfter;
  } const steps[] = {
      {300, O::kClean, 31},     // the estimate's level, the problem never solved
      {310, O::kClean, 32},     // harder after a clean solve
      {320, O::kFailed, 31},    // easier after a failure
      {311, O::kHint, 30},      // level 31's other problem, solved clean before
      {301, O::kTakeback, 30},  // take-backs keep the level
      {290, O::kFailed, 29},    // level 30 used up: the nearest, never solved first
  };
  int64_t total = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.number);
    const std::optional<PoolProblem> p = draw.Next();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->number, step.number);
    total += p->number;
    draw.Report(step.outcome, p->number);
    EXPECT_EQ(draw.Target(), step.targetAfter);
  }
  EXPECT_TRUE(draw.Complete());
  EXPECT_FALSE(draw.Next()) << "six problems make the session";
  EXPECT_EQ(draw.Summary().clean, 2);
  EXPECT_EQ(draw.Summary().withHelp, 2);
  EXPECT_EQ(draw.Summary().failed, 2);
  EXPECT_EQ(draw.Summary().millis, total);
}

TEST(PracticeDrawTest, WithoutAnEstimateItStartsLowAndStaysWithinThePool) {
  PracticeDraw draw(LevelledPool(), 0, 10, 7);
  std::optional<PoolProblem> p = draw.Next();
  ASSERT_TRUE(p);
  EXPECT_EQ(p->level, 27) << "a quarter up the pool's 22 levels";
  for (int i = 0; i < 3; ++i) {
    draw.Report(O::kFailed, 0);
    p = draw.Next();
    ASSERT_TRUE(p);
  }
  EXPECT_EQ(draw.Target(), 25) << "never below the easiest problem";
  EXPECT_EQ(p->level, 25);

  // A pool smaller than the session ends the session when it runs out.
  PracticeDraw small({{0, 1, 0, 30, {}}, {0, 2, 0, 40, {}}}, 45, 10, 3);
  ASSERT_TRUE(small.Next());
  small.Report(O::kClean, 5);
  ASSERT_TRUE(small.Next());
  small.Report(O::kClean, 5);
  EXPECT_FALSE(small.Next());
  EXPECT_TRUE(small.Complete());
  EXPECT_EQ(small.Summary().clean, 2);
}

// ---- Statistics ------------------------------------------------------------------------------

TEST(ReviewStatisticsTest, NumbersOfAHistoryMadeHere) {
  // Group 2: problems 1..6 and 8 at level 41; group 1: problems 7 and 9 at level 30.
  std::vector<PoolProblem> pool;
  for (int n : {1, 2, 3, 4, 5, 6, 8}) pool.push_back({0, n, 2, 41, {}});
  pool.push_back({0, 7, 1, 30, {}});
  pool.push_back({0, 9, 1, 30, {}});
  for (PoolProblem& p : pool)
    if (p.number != 9) p.counters.SolvedCount = 1;
  pool[0].counters.FailedCount = 1;
  pool[0].counters.FailedCountBeforeSolve = 1;

  std::vector<Attempt> attempts = {Try(1, 0, O::kFailed, 41), Try(1, 0, O::kClean, 41)};
  for (int n = 2; n <= 6; ++n) attempts.push_back(Try(n, 0, O::kClean, 41));
  attempts.push_back(Try(7, 1, O::kClean, 30));
  attempts.push_back(Try(99, 1, O::kFailed, 41));  // a problem no collection holds any more
  attempts.push_back(Try(8, 2, O::kClean, 41));
  ReviewSchedule schedule;
  schedule.Rebuild(attempts);

  const Statistics s = ComputeStatistics(pool, {{&attempts, &schedule}}, kDay0 + 2);
  ASSERT_EQ(s.collections.size(), 2u);
  const CollectionStatistics& g1 = s.collections[0];
  const CollectionStatistics& g2 = s.collections[1];
  EXPECT_EQ(g1.group, 1);
  EXPECT_EQ((std::vector<int>{g1.problems, g1.attempted, g1.solved, g1.cleanFirstTry}),
            (std::vector<int>{2, 1, 1, 1}));
  EXPECT_EQ(g2.group, 2);
  EXPECT_EQ((std::vector<int>{g2.problems, g2.attempted, g2.solved, g2.cleanFirstTry}),
            (std::vector<int>{7, 7, 7, 6}));
  EXPECT_NEAR(g2.CleanRate(), 6.0 / 7.0, 1e-12);

  ASSERT_EQ(s.days.size(), 3u);
  EXPECT_EQ(s.days[0].day, kDay0);
  EXPECT_EQ(s.days[0].attempts, 7);
  EXPECT_EQ(s.days[0].clean, 6);
  EXPECT_EQ(s.days[1].attempts, 1) << "problem 99's attempt is not counted";
  EXPECT_EQ(s.days[2].clean, 1);

  // Day 0: credit 50 (one failure) + 5 x 100 at level 41: 550, no estimate. Day 1 adds level
  // 30 only. Day 2: problem 8 brings level 41 to 650.
  ASSERT_EQ(s.level.size(), 3u);
  EXPECT_EQ(s.level[0].level, 0);
  EXPECT_EQ(s.level[1].level, 0);
  EXPECT_EQ(s.level[2].day, kDay0 + 2);
  EXPECT_EQ(s.level[2].level, 41);

  // Problem 1 failed and was solved clean on day 0: due on day 1, overdue on day 2.
  EXPECT_EQ(s.dueToday, 1);
  EXPECT_EQ(s.forecast, (std::vector<int>{1, 0, 0, 0, 0, 0, 0}));
  const Statistics earlier = ComputeStatistics(pool, {{&attempts, &schedule}}, kDay0);
  EXPECT_EQ(earlier.forecast, (std::vector<int>{0, 1, 0, 0, 0, 0, 0}));
}

TEST(ReviewStatisticsTest, SourcesShareNumbersAndAttemptsCountInTimeOrder) {
  // Problem 1 of source 0 and problem 1 of source 1 are two problems. Source 0's attempts were
  // written out of time order (the clock set back): in time, its failure and its first solve
  // came on day 0, and the solve written first came on day 1.
  const std::vector<PoolProblem> pool = {{0, 1, 1, 30, {}}, {1, 1, 1, 30, {}}};
  const std::vector<Attempt> first = {Try(1, 1, O::kClean), Try(1, 0, O::kFailed),
                                      Try(1, 0, O::kClean)};
  const std::vector<Attempt> second = {Try(1, 0, O::kClean)};
  ReviewSchedule firstSchedule, secondSchedule;
  firstSchedule.Rebuild(first);
  secondSchedule.Rebuild(second);

  const Statistics s =
      ComputeStatistics(pool, {{&first, &firstSchedule}, {&second, &secondSchedule}}, kDay0 + 1);
  ASSERT_EQ(s.collections.size(), 2u) << "one row per source";
  EXPECT_EQ(s.collections[0].source, 0);
  EXPECT_EQ(s.collections[1].source, 1);
  ASSERT_EQ(s.days.size(), 2u) << "the days of both sources, merged";
  EXPECT_EQ((std::vector<int>{s.days[0].attempts, s.days[0].clean}), (std::vector<int>{3, 2}));
  EXPECT_EQ((std::vector<int>{s.days[1].attempts, s.days[1].clean}), (std::vector<int>{1, 1}));
  ASSERT_EQ(s.level.size(), 1u) << "both first solves fell on day 0";
  EXPECT_EQ(s.level[0].day, kDay0);
}

TEST(ReviewStatisticsTest, ThePoolTakesEachProblemsHistoryRowByNumber) {
  // Neither table is in the order of the numbers; history row 5 has no problem, problem 1 no row.
  TableStore problems("Problems");
  problems.DefineFields({{"Level1", FieldType::kInteger},
                         {"Auto1", FieldType::kInteger},
                         {"Group1", FieldType::kInteger}});
  ASSERT_TRUE(problems.CreateDataSet(nullptr));
  for (const auto& [number, group, level] : {std::tuple{3, 2, 33}, {1, 1, 31}, {2, 1, 32}}) {
    ASSERT_TRUE(problems.Append());
    problems.SetInteger("Auto1", number);
    problems.SetInteger("Group1", group);
    problems.SetInteger("Level1", level);
    ASSERT_TRUE(problems.Post(nullptr));
  }
  TableStore history(kHistoryTableName);
  std::vector<FieldDef> columns;
  for (const char* column : kHistoryColumns) columns.push_back({column, FieldType::kInteger});
  history.DefineFields(columns);
  ASSERT_TRUE(history.CreateDataSet(nullptr));
  for (const auto& [number, failed, solved] : {std::tuple{2, 4, 0}, {5, 9, 9}, {3, 0, 1}}) {
    ASSERT_TRUE(history.Append());
    history.SetInteger("Auto1", number);
    history.SetInteger("FailedCount", failed);
    history.SetInteger("SolvedCount", solved);
    ASSERT_TRUE(history.Post(nullptr));
  }

  const std::vector<PoolProblem> pool = PoolOf(problems, history);
  ASSERT_EQ(pool.size(), 3u);
  std::vector<std::vector<int>> got;
  for (const PoolProblem& p : pool)
    got.push_back({p.number, p.group, p.level, p.counters.FailedCount, p.counters.SolvedCount});
  EXPECT_EQ(got, (std::vector<std::vector<int>>{{3, 2, 33, 0, 1}, {1, 1, 31, 0, 0}, {2, 1, 32, 4, 0}}));
}

// ---- A source that is not open ---------------------------------------------------------------

// A data file of three problems, a history that missed problem 2 and solved problem 3, and one
// attempt kept for problem 3.
struct StoredFiles {
  TempDir dir;
  std::string data = dir.Path("Zendra.dgo");
  std::string history = dir.Path("History1.cds");
  std::string review = ReviewPathFor(history);

  StoredFiles() {
    std::vector<test::ProblemRow> rows(3);
    for (int i = 0; i < 3; ++i) {
      rows[static_cast<size_t>(i)].auto1 = i + 1;
      rows[static_cast<size_t>(i)].level = 20 + i;
    }
    test::WriteFile(data, test::ZipWith("Zendra.cds", test::ProblemImage(rows)));
    History h(history, Localizer{});
    EXPECT_EQ(h.Open(), "");
    for (int number : {1, 2, 3}) {
      h.Table().Append();
      h.Table().SetInteger("Auto1", number);
      h.Table().Post(nullptr);
    }
    EXPECT_TRUE(h.PlaceOnProblem(2));
    h.CountFailure();
    EXPECT_TRUE(h.PlaceOnProblem(3));
    h.CountSolved();
    std::string error;
    EXPECT_TRUE(h.Save(&error)) << error;
    ReviewLog log(review, 0);
    EXPECT_EQ(log.Open(), "");
    EXPECT_TRUE(log.Record(Try(3, 0, O::kClean))) << log.LastError();
  }
};

TEST(StoredSourceTest, ReadsProblemsHistoryAndAttemptsWithoutWriting) {
  StoredFiles files;
  const std::string historyBefore = test::ReadFile(files.history);
  const std::string reviewBefore = test::ReadFile(files.review);
  StoredSource source("Mine", files.data, files.history, 0);
  EXPECT_EQ(source.Load(), "");
  EXPECT_EQ(source.Name(), "Mine");
  const std::vector<PoolProblem> problems = source.Problems();
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[1].number, 2);
  EXPECT_EQ(problems[1].level, 21);
  EXPECT_EQ(problems[1].counters.FailedCount, 1);
  EXPECT_EQ(problems[2].counters.SolvedCount, 1);
  ASSERT_EQ(source.Attempts().size(), 1u);
  EXPECT_EQ(source.Attempts()[0].number, 3);
  // The missed problem is due at once, the solved one later.
  const CombinedPool all = Combine({&source});
  const std::vector<PoolProblem> due = DueProblems(all.problems, all.sources, kDay0);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].number, 2);
  EXPECT_EQ(test::ReadFile(files.history), historyBefore);
  EXPECT_EQ(test::ReadFile(files.review), reviewBefore);
}

TEST(StoredSourceTest, FilesThatCannotBeReadAreLeftAsTheyAre) {
  const struct {
    const char* name;
    bool garbageData, garbageHistory, garbageReview;
    size_t problems;
    bool told;
  } cases[] = {
      {"a data file that is no archive", true, false, false, 0, true},
      {"a history that is no database", false, true, false, 3, false},
      {"a review file that is no database", false, false, true, 3, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StoredFiles files;
    const std::string garbage = "garbage that is no database, long enough to be read as one......";
    if (c.garbageData) test::WriteFile(files.data, garbage);
    if (c.garbageHistory) test::WriteFile(files.history, garbage);
    if (c.garbageReview) test::WriteFile(files.review, garbage);
    StoredSource source("", files.data, files.history, 0);
    const std::string message = source.Load();
    EXPECT_EQ(!message.empty(), c.told) << message;
    EXPECT_EQ(source.Problems().size(), c.problems);
    // Nothing set aside, nothing written.
    struct stat st {};
    EXPECT_NE(::stat((files.history + ".unreadable").c_str(), &st), 0);
    EXPECT_NE(::stat((files.review + ".unreadable").c_str(), &st), 0);
    if (c.garbageHistory) {
      EXPECT_EQ(test::ReadFile(files.history), garbage);
    }
    if (c.garbageReview) {
      EXPECT_EQ(test::ReadFile(files.review), garbage);
    }
  }
}

TEST(StoredSourceTest, MissingFilesMakeAnEmptySourceAndNoFiles) {
  TempDir dir;
  StoredSource source("", dir.Path("Zendra.dgo"), dir.Path("History1.cds"), 0);
  EXPECT_NE(source.Load(), "") << "a missing data file is told";
  EXPECT_TRUE(source.Problems().empty());
  EXPECT_TRUE(source.Attempts().empty());
  struct stat st {};
  EXPECT_NE(::stat(dir.Path("History1.cds").c_str(), &st), 0);
  EXPECT_NE(::stat(dir.Path(kReviewFileName).c_str(), &st), 0);
}

}  // namespace
}  // namespace zendra
