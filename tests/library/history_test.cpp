#include "library/history.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/library/library_test_util.h"

namespace zendra {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const Localizer kEnglish{};

// A history with rows for problems 1 to 3, the cursor on problem 2 with its counters shown.
class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() : path_(dir_.Path("History1.cds")), history_(path_, kEnglish) {
    EXPECT_EQ(history_.Open(), "");
    for (int number : {1, 2, 3}) AddRow(history_, number);
    history_.OnLabelChanged = [this](CounterLabel label, const std::string& text) {
      written_[label] = text;
    };
    history_.OnSolvedCountChanged = [this](int32_t value) { marks_.push_back(value); };
    OpenProblem(2, 4);
  }

  static void AddRow(History& history, int number) {
    TableStore& table = history.Table();
    ASSERT_TRUE(table.Append());
    table.SetInteger("Auto1", number);
    ASSERT_TRUE(table.Post(nullptr));
  }
  void OpenProblem(int number, int position) {
    ASSERT_TRUE(history_.PlaceOnProblem(number));
    history_.ShowCounters(position);
    written_.clear();
  }
  int32_t Stored(const char* column) { return history_.Table().AsInteger(column); }

  TempDir dir_;
  std::string path_;
  History history_;
  std::map<CounterLabel, std::string> written_;
  std::vector<int32_t> marks_;
};

TEST_F(HistoryTest, ShowCountersOfAFreshProblem) {
  EXPECT_EQ(history_.Label(CounterLabel::kStdResult), "No. 5");
  for (CounterLabel label : {CounterLabel::kSuccess, CounterLabel::kFailure, CounterLabel::kHint0,
                             CounterLabel::kHint1, CounterLabel::kTakeback, CounterLabel::kStudy}) {
    EXPECT_EQ(history_.Label(label), "");
  }
  EXPECT_EQ(marks_, std::vector<int32_t>{0});
}

TEST_F(HistoryTest, ShowCountersFromAStoredRow) {
  TableStore& table = history_.Table();
  ASSERT_TRUE(history_.PlaceOnProblem(3));
  ASSERT_TRUE(table.Edit());
  for (const char* column : kHistoryColumns) {
    if (std::string(column) != "Auto1") table.SetInteger(column, 2);
  }
  table.SetInteger("Hint1Count", 0);
  ASSERT_TRUE(table.Post(nullptr));
  history_.ShowCounters(0);
  EXPECT_EQ(history_.Label(CounterLabel::kStdResult), "No. 1");
  EXPECT_EQ(history_.Label(CounterLabel::kSuccess), "Solved");
  EXPECT_EQ(history_.Label(CounterLabel::kFailure), "Failure count: 2");
  EXPECT_EQ(history_.Label(CounterLabel::kHint0), "Hint(result) count: 2");
  EXPECT_EQ(history_.Label(CounterLabel::kHint1), "") << "0 shows nothing";
  EXPECT_EQ(history_.Label(CounterLabel::kTakeback), "Takeback count: 2");
  EXPECT_EQ(history_.Label(CounterLabel::kStudy), "trial count: 2");
  EXPECT_EQ(history_.Counters().Hint2CountBeforeSolve, 2);
}

// Every counter comes from its own column: the columns hold 101, 102, ... in their order; a
// row of nulls reads as zeros.
TEST_F(HistoryTest, RowReaderReadsEveryCounterByName) {
  TableStore& table = history_.Table();
  ASSERT_TRUE(history_.PlaceOnProblem(3));
  ASSERT_TRUE(table.Edit());
  int32_t value = 100;
  for (const char* column : kHistoryColumns) {
    if (std::string(column) != "Auto1") table.SetInteger(column, ++value);
  }
  ASSERT_TRUE(table.Post(nullptr));
  const HistoryCounterValues c = ReadHistoryRow(table);
  const std::vector<int32_t> read = {c.FailedCount,
                                     c.Hint0Count,
                                     c.Hint1Count,
                                     c.Hint2Count,
                                     c.SolvedCount,
                                     c.FailedCountBeforeSolve,
                                     c.Hint0CountBeforeSolve,
                                     c.Hint1CountBeforeSolve,
                                     c.Hint2CountBeforeSolve,
                                     c.TakebackBeforeSolve,
                                     c.StudyBeforeSolve};
  EXPECT_EQ(read, (std::vector<int32_t>{101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111}));

  ASSERT_TRUE(history_.PlaceOnProblem(1));
  const HistoryCounterValues fresh = ReadHistoryRow(table);
  EXPECT_EQ(fresh.SolvedCount, 0);
  EXPECT_EQ(fresh.StudyBeforeSolve, 0);
}

TEST_F(HistoryTest, FailureBeforeAndAfterSolving) {
  history_.CountFailure();
  EXPECT_EQ(Stored("FailedCount"), 1);
  EXPECT_EQ(Stored("FailedCountBeforeSolve"), 1);
  EXPECT_EQ(written_[CounterLabel::kFailure], "Failure count: 1");

  history_.CountSolved();
  EXPECT_EQ(Stored("SolvedCount"), 1);
  EXPECT_EQ(written_[CounterLabel::kSuccess], "Solved");
  EXPECT_EQ(marks_.back(), 1);

  history_.CountFailure();
  EXPECT_EQ(Stored("FailedCount"), 2);
  EXPECT_EQ(Stored("FailedCountBeforeSolve"), 1);
  EXPECT_EQ(written_[CounterLabel::kFailure], "Failure count: 2");
}

TEST_F(HistoryTest, TakebackAndTryMoveCountOnlyBeforeSolving) {
  history_.CountTakeback();
  history_.CountTryMove();
  history_.CountTryMove();
  EXPECT_EQ(Stored("TakebackBeforeSolve"), 1);
  EXPECT_EQ(Stored("StudyBeforeSolve"), 2);
  EXPECT_EQ(written_[CounterLabel::kTakeback], "Takeback count: 1");
  EXPECT_EQ(written_[CounterLabel::kStudy], "trial count: 2");

  history_.CountSolved();
  written_.clear();
  const int changes = history_.Table().ChangeCount();
  history_.CountTakeback();
  history_.CountTryMove();
  EXPECT_TRUE(written_.empty()) << "not even the label";
  EXPECT_EQ(history_.Table().ChangeCount(), changes);
  EXPECT_EQ(Stored("TakebackBeforeSolve"), 1);
  EXPECT_EQ(Stored("StudyBeforeSolve"), 2);
}

TEST_F(HistoryTest, HintsOfEachKind) {
  history_.CountHint(0);
  EXPECT_EQ(written_[CounterLabel::kHint0], "Hint(result) count: 1");
  EXPECT_EQ(written_[CounterLabel::kHint1], "Hint count: 0") << "shown even when 0";
  history_.CountHint(1);
  history_.CountHint(2);
  history_.CountSolved();
  history_.CountHint(1);
  history_.CountHint(5);  // no such kind
  const HistoryCounterValues& c = history_.Counters();
  EXPECT_EQ(c.Hint0Count, 1);
  EXPECT_EQ(c.Hint1Count, 2);
  EXPECT_EQ(c.Hint2Count, 1);
  EXPECT_EQ(c.Hint0CountBeforeSolve, 1);
  EXPECT_EQ(c.Hint1CountBeforeSolve, 1);
  EXPECT_EQ(c.Hint2CountBeforeSolve, 1);
  EXPECT_EQ(Stored("Hint1Count"), 2);
  EXPECT_EQ(Stored("Hint2Count"), 1);
  EXPECT_EQ(Stored("Hint1CountBeforeSolve"), 1);
  EXPECT_EQ(Stored("Hint2CountBeforeSolve"), 1);
  EXPECT_EQ(written_[CounterLabel::kHint1], "Hint count: 2");
}

TEST_F(HistoryTest, ResetSolvedFlagKeepsTheBeforeSolveCounters) {
  history_.CountFailure();
  history_.CountSolved();
  ASSERT_TRUE(history_.ResetSolvedFlag());
  EXPECT_EQ(Stored("SolvedCount"), 0);
  EXPECT_EQ(Stored("FailedCountBeforeSolve"), 1);
  EXPECT_EQ(written_[CounterLabel::kSuccess], "");
  EXPECT_EQ(marks_.back(), 0);
  history_.CountFailure();
  EXPECT_EQ(Stored("FailedCountBeforeSolve"), 2) << "unsolved again";

  History closed(dir_.Path("other.cds"), kEnglish);
  EXPECT_FALSE(closed.ResetSolvedFlag());
}

TEST_F(HistoryTest, ClearAllSolvedFlagsWithAProblemOpen) {
  history_.CountSolved();
  OpenProblem(3, 2);
  history_.CountSolved();
  ASSERT_TRUE(history_.ClearAllSolvedFlags(3));
  EXPECT_EQ(written_[CounterLabel::kSuccess], "");
  for (int number : {1, 2, 3}) {
    ASSERT_TRUE(history_.PlaceOnProblem(number));
    EXPECT_EQ(Stored("SolvedCount"), 0) << number;
  }
  ASSERT_TRUE(history_.ClearAllSolvedFlags(3));
  EXPECT_EQ(history_.Table().AsInteger("Auto1"), 3) << "the cursor is back";

  // In memory the problem is still solved: failures and hints count as after solving, while
  // takebacks and try moves (judged by the row) count as before.
  EXPECT_EQ(history_.Counters().SolvedCount, 1);
  history_.CountFailure();
  history_.CountHint(1);
  history_.CountTakeback();
  history_.CountTryMove();
  EXPECT_EQ(Stored("FailedCountBeforeSolve"), 0);
  EXPECT_EQ(Stored("Hint1CountBeforeSolve"), 0);
  EXPECT_EQ(Stored("TakebackBeforeSolve"), 1);
  EXPECT_EQ(Stored("StudyBeforeSolve"), 1);
}

TEST_F(HistoryTest, ChineseLabelsConvertThePrefixOnly) {
  History chinese(dir_.Path("zh.cds"), Localizer{Language::kTraditionalChinese,
                                                 [](std::string s) { return "<" + s + ">"; }});
  chinese.Open();
  AddRow(chinese, 9);
  ASSERT_TRUE(chinese.PlaceOnProblem(9));
  chinese.ShowCounters(11);
  chinese.CountFailure();
  chinese.CountSolved();
  EXPECT_EQ(chinese.Label(CounterLabel::kStdResult), "<\xCC\xE2\xBA\xC5: 12>")
      << "the number line converts whole";
  EXPECT_EQ(chinese.Label(CounterLabel::kFailure), "<\xCA\xA7\xB0\xDC\xB4\xCE\xCA\xFD: >1");
  EXPECT_EQ(chinese.Label(CounterLabel::kSuccess), "<\xD2\xD1\xBD\xE2\xB4\xF0>");
}

TEST_F(HistoryTest, EveryCountIsInTheFileAtOnce) {
  history_.CountFailure();
  history_.CountHint(0);
  // Without saving, another reader of the file (the next run after a crash) sees the counts.
  History after_crash(path_, kEnglish);
  ASSERT_EQ(after_crash.Open(), "");
  ASSERT_TRUE(after_crash.PlaceOnProblem(2));
  EXPECT_EQ(after_crash.Table().AsInteger("FailedCount"), 1);
  EXPECT_EQ(after_crash.Table().AsInteger("Hint0Count"), 1);
  EXPECT_EQ(history_.LastStorageError(), "");

  history_.CountTakeback();
  History again(path_, kEnglish);
  ASSERT_EQ(again.Open(), "");
  ASSERT_TRUE(again.PlaceOnProblem(2));
  EXPECT_EQ(again.Table().AsInteger("TakebackBeforeSolve"), 1);
}

// A run killed while counting: the next run reads every count that was made, and the two
// columns of one failure never disagree.
TEST_F(HistoryTest, KillWhileCountingKeepsWholeCounts) {
  history_.CountFailure();  // the file exists from here on
  for (int round = 0; round < 4; ++round) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) history_.CountFailure();
    }
    usleep(static_cast<useconds_t>(20000 + round * 15000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    History next_run(path_, kEnglish);
    ASSERT_EQ(next_run.Open(), "") << "round " << round;
    ASSERT_TRUE(next_run.PlaceOnProblem(2));
    const int32_t failed = next_run.Table().AsInteger("FailedCount");
    EXPECT_GE(failed, 1);
    EXPECT_EQ(next_run.Table().AsInteger("FailedCountBeforeSolve"), failed);
    EXPECT_EQ(next_run.Table().RecordCount(), 3);
  }
}

TEST_F(HistoryTest, SaveRoundTripsAndIsSkippedWithoutChanges) {
  history_.CountSolved();
  std::string error;
  ASSERT_TRUE(history_.Save(&error)) << error;
  EXPECT_EQ(history_.Table().ChangeCount(), 0);

  History reopened(path_, kEnglish);
  ASSERT_EQ(reopened.Open(), "");
  EXPECT_EQ(reopened.Table().RecordCount(), 3);
  ASSERT_TRUE(reopened.PlaceOnProblem(2));
  reopened.ShowCounters(0);
  EXPECT_EQ(reopened.Counters().SolvedCount, 1);

  // A run without changes leaves the file as it was, to the inode.
  struct stat before {};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  const std::string bytes = ReadFile(path_);
  ASSERT_TRUE(reopened.Save(&error)) << error;
  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(ReadFile(path_), bytes);
}

TEST_F(HistoryTest, FirstRunWritesTheRowsItAdded) {
  History fresh(dir_.Path("fresh.cds"), kEnglish);
  ASSERT_EQ(fresh.Open(), "");
  std::string error;
  ASSERT_TRUE(fresh.Save(&error));
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("fresh.cds"))) << "nothing to write";
  AddRow(fresh, 5);
  ASSERT_TRUE(fresh.Save(&error)) << error;
  History reread(dir_.Path("fresh.cds"), kEnglish);
  ASSERT_EQ(reread.Open(), "");
  EXPECT_TRUE(reread.PlaceOnProblem(5));
}

// A history file that cannot be read is kept under a new name and a fresh table starts.
TEST(HistoryUnreadableTest, FileIsSetAsideNeverOverwritten) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"garbage", std::string(3000, 'g')},
      {"empty file", ""},
      {"missing column",
       test::DatabaseImage("CREATE TABLE History(Auto1 INTEGER, FailedCount INTEGER)")},
      {"duplicate problem",
       test::DatabaseImage(
           "CREATE TABLE History(Auto1 INTEGER, FailedCount INTEGER, Hint0Count INTEGER,"
           " Hint1Count INTEGER, Hint2Count INTEGER, SolvedCount INTEGER,"
           " FailedCountBeforeSolve INTEGER, Hint0CountBeforeSolve INTEGER,"
           " Hint1CountBeforeSolve INTEGER, Hint2CountBeforeSolve INTEGER,"
           " TakebackBeforeSolve INTEGER, StudyBeforeSolve INTEGER);"
           "INSERT INTO History(Auto1) VALUES (4), (4)")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.Path("History1.cds");
    WriteFile(path, c.bytes);
    History history(path, kEnglish);
    const std::string message = history.Open();
    EXPECT_NE(message.find("could not be read"), std::string::npos) << message;
    EXPECT_NE(message.find(path + ".unreadable\""), std::string::npos) << message;
    EXPECT_EQ(ReadFile(path + ".unreadable"), c.bytes) << "kept byte for byte";
    EXPECT_TRUE(history.Table().Active());
    EXPECT_EQ(history.Table().RecordCount(), 0);

    // The fresh table works and is saved under the old name.
    ASSERT_TRUE(history.Table().Append());
    history.Table().SetInteger("Auto1", 8);
    ASSERT_TRUE(history.Table().Post(nullptr));
    std::string error;
    ASSERT_TRUE(history.Save(&error)) << error;
    History reread(path, kEnglish);
    EXPECT_EQ(reread.Open(), "");
    EXPECT_TRUE(reread.PlaceOnProblem(8));

    // A second unreadable file takes the next free name.
    WriteFile(path, "broken again");
    History third(path, Localizer{Language::kSimplifiedChinese, {}});
    const std::string chinese = third.Open();
    EXPECT_NE(chinese.find(path + ".unreadable-2"), std::string::npos);
    EXPECT_EQ(chinese.rfind("\xC0\xFA\xCA\xB7", 0), 0u) << "the Chinese text";
    EXPECT_EQ(ReadFile(path + ".unreadable-2"), "broken again");
    EXPECT_EQ(ReadFile(path + ".unreadable"), c.bytes);
  }
}

}  // namespace
}  // namespace zendra
