// The history file under trouble: another program holding it, writes that fail and work again,
// two writers on one file, counters at their limit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "library/history.h"
#include "library/history_file.h"
#include "tests/library/library_test_util.h"
#include "tests/library/run_sql.h"

namespace zendra {
namespace {

using test::Sql;
using test::TempDir;
using test::WriteFile;

const Localizer kEnglish{};

// One value of the file, read with plain SQLite; -1 when the row or the value is missing.
int64_t Stored(const std::string& path, const std::string& column, int number) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return -1;
  }
  sqlite3_stmt* statement = nullptr;
  int64_t value = -1;
  const std::string sql = "SELECT " + column + " FROM History WHERE Auto1 = ?";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
    sqlite3_bind_int(statement, 1, number);
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL) {
      value = sqlite3_column_int64(statement, 0);
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

int64_t RowCount(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  int64_t count = -1;
  if (sqlite3_prepare_v2(db, "SELECT count(*) FROM History", -1, &statement, nullptr) ==
          SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    count = sqlite3_column_int64(statement, 0);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return count;
}

// A history file in its plain documented form (the History table, no index), made by an
// outside tool: problems 1 to 3, and problem 2 failed five times and solved.
void WriteHistoryFile(const std::string& path) {
  Sql(path,
      "CREATE TABLE History (Auto1 INTEGER, FailedCount INTEGER, Hint0Count INTEGER,"
      " Hint1Count INTEGER, Hint2Count INTEGER, SolvedCount INTEGER,"
      " FailedCountBeforeSolve INTEGER, Hint0CountBeforeSolve INTEGER,"
      " Hint1CountBeforeSolve INTEGER, Hint2CountBeforeSolve INTEGER,"
      " TakebackBeforeSolve INTEGER, StudyBeforeSolve INTEGER);"
      "INSERT INTO History (Auto1) VALUES (1), (3);"
      "INSERT INTO History (Auto1, FailedCount, SolvedCount) VALUES (2, 5, 1);");
}

// Another process holding an exclusive lock on the file (as `sqlite3` with BEGIN EXCLUSIVE
// does) until Release, or until the object goes.
class LockHolder {
 public:
  explicit LockHolder(const std::string& path) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(release[1]);
      sqlite3* db = nullptr;
      sqlite3_open(path.c_str(), &db);
      const bool locked = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == 0;
      char c = locked ? 'y' : 'n';
      (void)!write(ready[1], &c, 1);
      (void)!read(release[0], &c, 1);
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    release_ = release[1];
    char c = 'n';
    locked_ = read(ready[0], &c, 1) == 1 && c == 'y';
    close(ready[0]);
  }
  ~LockHolder() { Release(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool Locked() const { return locked_; }
  void Release() {
    if (pid_ <= 0) return;
    const char c = 'r';
    (void)!write(release_, &c, 1);
    close(release_);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int release_ = -1;
  bool locked_ = false;
};

void AddRow(History& history, int number) {
  TableStore& table = history.Table();
  if (history.PlaceOnProblem(number)) return;
  ASSERT_TRUE(table.Append());
  table.SetInteger("Auto1", number);
  ASSERT_TRUE(table.Post(nullptr));
}

void OpenProblem(History& history, int number) {
  AddRow(history, number);
  ASSERT_TRUE(history.PlaceOnProblem(number));
  history.ShowCounters(0);
}

// Another program holding the file for a moment at start-up: the history waits, reads the
// file and keeps it where it is.
TEST(HistoryStorageTest, AHeldLockAtOpenIsWaitedFor) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  LockHolder holder(path);
  ASSERT_TRUE(holder.Locked());
  std::thread release([&holder] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    holder.Release();
  });
  History history(path, kEnglish);
  const std::string message = history.Open();
  release.join();
  EXPECT_EQ(message, "");
  EXPECT_FALSE(std::filesystem::exists(path + ".unreadable")) << "a busy file is not set aside";
  ASSERT_TRUE(history.PlaceOnProblem(2));
  history.ShowCounters(0);
  EXPECT_EQ(history.Counters().FailedCount, 5);
  EXPECT_EQ(history.Counters().SolvedCount, 1);
  history.CountFailure();
  EXPECT_EQ(Stored(path, "FailedCount", 2), 6);
}

// Held past the wait: the file stays as it is, the run starts with an empty table, and its
// counts are added to the file's rows once the other program lets go; the player hears of the
// failed writes once.
TEST(HistoryStorageTest, ALockHeldPastTheWaitKeepsTheFileAndAddsTheCounts) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  LockHolder holder(path);
  ASSERT_TRUE(holder.Locked());
  History history(path, kEnglish);
  history.SetBusyWaitMs(100, 100);
  std::vector<std::string> told;
  history.OnStorageProblem = [&told](const std::string& text) { told.push_back(text); };
  const std::string message = history.Open();
  EXPECT_NE(message.find("could not be read now"), std::string::npos) << message;
  EXPECT_NE(message.find(path), std::string::npos) << "the message names the file: " << message;
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(path + ".unreadable"));

  OpenProblem(history, 2);
  history.CountFailure();
  history.CountFailure();
  ASSERT_EQ(told.size(), 1u) << "told once";
  EXPECT_NE(told[0].find("cannot be saved"), std::string::npos) << told[0];
  EXPECT_NE(told[0].find(path), std::string::npos) << told[0];
  EXPECT_EQ(history.PendingChanges(), 2u);
  EXPECT_EQ(history.Counters().FailedCount, 2) << "counting goes on in memory";

  holder.Release();
  history.CountHint(0);
  EXPECT_EQ(history.PendingChanges(), 0u);
  EXPECT_EQ(history.LastStorageError(), "");
  EXPECT_EQ(Stored(path, "FailedCount", 2), 7) << "5 from before, 2 of this run";
  EXPECT_EQ(Stored(path, "SolvedCount", 2), 1) << "the file's own values are kept";
  EXPECT_EQ(Stored(path, "Hint0Count", 2), 1);
  EXPECT_EQ(RowCount(path), 3);
}

// Writing fails (the folder the file belongs in cannot be made: a file stands in its way, which
// stops root too): the player is told once, counting goes on, and everything waiting is written
// with the first count after the way is clear; the save at close reports its failure.
TEST(HistoryStorageTest, WriteFailuresAreToldOnceAndWrittenLater) {
  TempDir dir;
  const std::string folder = dir.Path("data");
  WriteFile(folder, "in the way");
  const std::string path = folder + "/History1.cds";
  History history(path, kEnglish);
  std::vector<std::string> told;
  history.OnStorageProblem = [&told](const std::string& text) { told.push_back(text); };
  ASSERT_EQ(history.Open(), "");
  for (int number : {1, 2, 3}) AddRow(history, number);
  OpenProblem(history, 2);

  history.CountFailure();
  history.CountSolved();
  history.CountTakeback();  // after solving: nothing
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(path), std::string::npos) << told[0];
  EXPECT_NE(history.LastStorageError(), "");
  EXPECT_EQ(history.PendingChanges(), 2u);
  std::string error;
  EXPECT_FALSE(history.Save(&error)) << "the save at close says it failed";
  EXPECT_NE(error.find(path), std::string::npos) << error;

  std::filesystem::remove(folder);
  std::filesystem::create_directory(folder);
  history.CountHint(1);
  EXPECT_EQ(history.PendingChanges(), 0u);
  EXPECT_EQ(Stored(path, "FailedCount", 2), 1);
  EXPECT_EQ(Stored(path, "SolvedCount", 2), 1);
  EXPECT_EQ(Stored(path, "Hint1Count", 2), 1);
  EXPECT_EQ(Stored(path, "Hint1CountBeforeSolve", 2), 0);
  EXPECT_EQ(RowCount(path), 3) << "the rows the load added came along";

  // Failing again after it worked is told again.
  std::filesystem::remove_all(folder);
  WriteFile(folder, "in the way again");
  history.CountFailure();
  EXPECT_EQ(told.size(), 2u);
}

// A full disk, made with a file-size limit of one byte (SIGXFSZ ignored, as the program does):
// the writes fail, nothing is lost, and they are made once there is room again.
TEST(HistoryStorageTest, AFullDiskLosesNothing) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    History history(path, kEnglish);
    int told = 0;
    history.OnStorageProblem = [&told](const std::string&) { ++told; };
    if (history.Open() != "") _exit(10);
    if (!history.PlaceOnProblem(2)) _exit(11);
    history.ShowCounters(0);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t unlimited = limit.rlim_cur;
    limit.rlim_cur = 1;
    setrlimit(RLIMIT_FSIZE, &limit);
    history.CountFailure();
    history.CountHint(0);
    if (told != 1) _exit(12);
    if (history.PendingChanges() != 2) _exit(13);
    limit.rlim_cur = unlimited;
    setrlimit(RLIMIT_FSIZE, &limit);
    history.CountHint(0);
    if (history.PendingChanges() != 0) _exit(14);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Stored(path, "FailedCount", 2), 6);
  EXPECT_EQ(Stored(path, "Hint0Count", 2), 2);
}

// Two programs on one file, each with the rows it read at its start: every count of both is in
// the file, and the rows each one added are there once.
TEST(HistoryStorageTest, TwoWritersKeepEveryCount) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  History first(path, kEnglish);
  History second(path, kEnglish);
  ASSERT_EQ(first.Open(), "");
  ASSERT_EQ(second.Open(), "");
  OpenProblem(first, 2);
  OpenProblem(second, 2);
  for (int i = 0; i < 10; ++i) {
    first.CountFailure();
    second.CountFailure();
    second.CountHint(1);
  }
  first.CountSolved();
  // Each run's collection load adds rows of its own; one of them both.
  AddRow(first, 7);
  AddRow(first, 8);
  AddRow(second, 8);
  AddRow(second, 9);
  std::string error;
  ASSERT_TRUE(first.Save(&error)) << error;
  ASSERT_TRUE(second.Save(&error)) << error;

  EXPECT_EQ(Stored(path, "FailedCount", 2), 25);
  EXPECT_EQ(Stored(path, "Hint1Count", 2), 10);
  EXPECT_EQ(Stored(path, "SolvedCount", 2), 2);
  EXPECT_EQ(RowCount(path), 6) << "problems 1, 2, 3, 7, 8, 9, once each";
  History next_run(path, kEnglish);
  ASSERT_EQ(next_run.Open(), "");
  EXPECT_EQ(next_run.Table().RecordCount(), 6);
}

// The same with two processes counting at the same time.
TEST(HistoryStorageTest, TwoProcessesCountingAtOnce) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  constexpr int kCounts = 40;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    History history(path, kEnglish);
    if (history.Open() != "" || !history.PlaceOnProblem(1)) _exit(10);
    history.ShowCounters(0);
    for (int i = 0; i < kCounts; ++i) history.CountFailure();
    _exit(history.PendingChanges() == 0 ? 0 : 11);
  }
  History history(path, kEnglish);
  ASSERT_EQ(history.Open(), "");
  ASSERT_TRUE(history.PlaceOnProblem(1));
  history.ShowCounters(0);
  for (int i = 0; i < kCounts; ++i) history.CountFailure();
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(history.PendingChanges(), 0u);
  EXPECT_EQ(Stored(path, "FailedCount", 1), 2 * kCounts);
}

// The file keeps the table and columns a history file has, with the problem number as a
// unique key; a file made anew by counting is read back by the next run.
TEST(HistoryStorageTest, TheWrittenFileIsAPlainHistoryTable) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  History history(path, kEnglish);
  ASSERT_EQ(history.Open(), "");
  OpenProblem(history, 4);
  history.CountFailure();
  EXPECT_EQ(Stored(path, "FailedCountBeforeSolve", 4), 1);
  Sql(path, "INSERT INTO History (Auto1) VALUES (5)");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_NE(sqlite3_exec(db, "INSERT INTO History (Auto1) VALUES (4)", nullptr, nullptr, nullptr),
            SQLITE_OK)
      << "one row per problem";
  sqlite3_stmt* statement = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name, type FROM pragma_table_info('History')", -1,
                               &statement, nullptr),
            SQLITE_OK);
  std::vector<std::string> columns;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    columns.push_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)), "INTEGER");
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  EXPECT_EQ(columns,
            std::vector<std::string>(std::begin(kHistoryColumns), std::end(kHistoryColumns)));
  History next_run(path, kEnglish);
  ASSERT_EQ(next_run.Open(), "");
  EXPECT_TRUE(next_run.PlaceOnProblem(5));
}

// A counter at the largest value it can hold stays there, in memory and in the file, and the
// file stays readable.
TEST(HistoryStorageTest, CountersStopAtTheirLargestValue) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  Sql(path,
      "UPDATE History SET FailedCount = 2147483647, Hint0Count = 2147483647,"
      " SolvedCount = 2147483647 WHERE Auto1 = 2");
  History history(path, kEnglish);
  ASSERT_EQ(history.Open(), "");
  ASSERT_TRUE(history.PlaceOnProblem(2));
  history.ShowCounters(0);
  history.CountFailure();
  history.CountHint(0);
  history.CountSolved();
  EXPECT_EQ(history.Counters().FailedCount, 2147483647);
  EXPECT_EQ(history.Counters().Hint0Count, 2147483647);
  EXPECT_EQ(history.Counters().SolvedCount, 2147483647);
  EXPECT_EQ(Stored(path, "FailedCount", 2), 2147483647);
  EXPECT_EQ(Stored(path, "SolvedCount", 2), 2147483647);
  History next_run(path, kEnglish);
  EXPECT_EQ(next_run.Open(), "");
}

// A run that must not write (the program could not make sure it is the only copy) says so,
// counts in memory and leaves the file as it was.
TEST(HistoryStorageTest, ARunKeptFromWritingLeavesTheFile) {
  TempDir dir;
  const std::string path = dir.Path("History1.cds");
  WriteHistoryFile(path);
  const std::string before = test::ReadFile(path);
  History history(path, kEnglish);
  history.KeepFromWriting("the lock file cannot be made");
  const std::string message = history.Open();
  EXPECT_NE(message.find("cannot be saved"), std::string::npos) << message;
  EXPECT_NE(message.find("the lock file cannot be made"), std::string::npos) << message;
  ASSERT_TRUE(history.PlaceOnProblem(2));
  history.ShowCounters(0);
  history.CountFailure();
  EXPECT_EQ(history.Counters().FailedCount, 6);
  std::string error;
  EXPECT_FALSE(history.Save(&error));
  EXPECT_NE(error, "");
  EXPECT_EQ(test::ReadFile(path), before);
}

}  // namespace
}  // namespace zendra
