#include "library/level_estimate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/history.h"
#include "library/problem_database.h"
#include "tests/library/library_test_util.h"

namespace zendra {
namespace {

using test::TempDir;

const Localizer kEnglish{};
const Localizer kChinese{Language::kSimplifiedChinese, {}};

TEST(LevelEstimateTest, Credit) {
  struct Case {
    HistoryCounterValues counters;
    int credit;
  };
  auto make = [](int failed, int takeback, int study, int hint0, int hint1, int hint2) {
    HistoryCounterValues c;
    c.SolvedCount = 1;
    c.FailedCountBeforeSolve = failed;
    c.TakebackBeforeSolve = takeback;
    c.StudyBeforeSolve = study;
    c.Hint0CountBeforeSolve = hint0;
    c.Hint1CountBeforeSolve = hint1;
    c.Hint2CountBeforeSolve = hint2;
    return c;
  };
  const std::vector<Case> cases = {
      {make(0, 0, 0, 0, 0, 0), 100},        {make(1, 1, 0, 0, 0, 0), 25},
      {make(0, 0, 0, 1, 0, 0), 90},         {make(0, 0, 0, 7, 0, 0), 90},
      {make(0, 0, 0, 0, 2, 0), 0},          {make(0, 0, 3, 0, 0, 0), 70},
      {make(0, 0, 0, 0, 0, 1), 10},         {make(9, 9, 9, 9, 9, 9), 0},
      {make(0, 0, 0, 0, 0, 2000000000), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ProblemCredit(c.counters), c.credit);
}

TEST(LevelEstimateTest, Messages) {
  struct Case {
    int n;
    const char* english;
  };
  const std::vector<Case> cases = {
      {0, "Now I can't tell your level because you solved too few problems yourself."},
      {1, "I can't tell your level because the problems you solved are too easy."},
      {29, "I can't tell your level because the problems you solved are too easy."},
      {30, "Your level is about 11k to 9k."},
      {38, "Your level is about 3k to 1k."},
      {39, "Your level is about 2k to 1d."},
      {40, "Your level is about 1k to 2d."},
      {41, "Your level is about 1d to 3d."},
      {45, "Your level is about 5d to 7d."},
      {46, "You are close to professional players. Your level is higher than 5d."},
  };
  for (const Case& c : cases) EXPECT_EQ(LevelMessage(c.n, kEnglish), c.english) << c.n;

  EXPECT_EQ(LevelMessage(41, kChinese),
            "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA 1d \xB5\xBD 3d "
            "\xD6\xAE\xBC\xE4");  // 你的段位大概在 1d 到 3d 之间
  EXPECT_EQ(LevelMessage(33, kChinese),
            "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA 8k \xB5\xBD 6k "
            "\xD6\xAE\xBC\xE4");  // 你的段位大概在 8k 到 6k 之间
  EXPECT_EQ(LevelMessage(5, kChinese), LevelMessage(0, kChinese));
  EXPECT_EQ(LevelMessage(40, kChinese),
            "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA"
            "1k\xB5\xBD"
            "2d\xD6\xAE\xBC\xE4");
  const Localizer traditional{Language::kTraditionalChinese,
                              [](std::string s) { return "<" + s + ">"; }};
  EXPECT_EQ(LevelMessage(42, traditional),
            "<\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA >2<d \xB5\xBD >4<d "
            "\xD6\xAE\xBC\xE4>")
      << "every Chinese piece converts, the numbers do not";
}

// Problems with levels and before-solve counters, estimated through the real tables.
class LevelEstimateTableTest : public ::testing::Test {
 protected:
  LevelEstimateTableTest() : history_(dir_.Path("History1.cds"), kEnglish), problems_("Problems") {
    history_.Open();
    problems_.DefineFields({{"Auto1", FieldType::kInteger}, {"Level1", FieldType::kInteger}});
    problems_.CreateDataSet(nullptr);
    problems_.SetOrdering("Auto1", nullptr);
  }
  // A problem of `level`, solved `solved` times, with failures before its solve.
  void Add(int number, int level, int solved, int failed = 0) {
    ASSERT_TRUE(problems_.Append());
    problems_.SetInteger("Auto1", number);
    problems_.SetInteger("Level1", level);
    ASSERT_TRUE(problems_.Post(nullptr));
    TableStore& h = history_.Table();
    ASSERT_TRUE(h.Append());
    h.SetInteger("Auto1", number);
    h.SetInteger("SolvedCount", solved);
    h.SetInteger("FailedCountBeforeSolve", failed);
    ASSERT_TRUE(h.Post(nullptr));
  }
  LevelEstimate Estimate() { return EstimateLevel(problems_, history_.Table(), kEnglish); }

  TempDir dir_;
  History history_;
  TableStore problems_;
};

TEST_F(LevelEstimateTableTest, SixCleanSolvesAtOneLevelMakeTheEstimate) {
  for (int i = 0; i < 5; ++i) Add(i, 41, 1);
  EXPECT_EQ(Estimate().sums[41], 500);
  EXPECT_EQ(Estimate().level, 0);
  Add(5, 41, 1);
  const LevelEstimate estimate = Estimate();
  EXPECT_EQ(estimate.sums[41], 600);
  EXPECT_EQ(estimate.level, 41);
  EXPECT_EQ(estimate.message, "Your level is about 1d to 3d.");
}

TEST_F(LevelEstimateTableTest, SkipsUnsolvedOutOfRangeAndRowlessProblems) {
  for (int i = 0; i < 6; ++i) Add(i, 0, 1);
  for (int i = 6; i < 12; ++i) Add(i, 50, 1);
  for (int i = 12; i < 18; ++i) Add(i, 35, 0);
  ASSERT_TRUE(problems_.Append());
  problems_.SetInteger("Auto1", 99);
  problems_.SetInteger("Level1", 35);
  ASSERT_TRUE(problems_.Post(nullptr));
  const LevelEstimate estimate = Estimate();
  for (int sum : estimate.sums) EXPECT_EQ(sum, 0);
  EXPECT_EQ(estimate.level, 0);
}

TEST_F(LevelEstimateTableTest, HighestLevelWinsAndLevelsAbove46AreIgnored) {
  for (int i = 0; i < 12; ++i) Add(i, 30, 1);
  for (int i = 12; i < 18; ++i) Add(i, 46, 1);
  for (int i = 18; i < 30; ++i) Add(i, 48, 1);
  for (int i = 30; i < 32; ++i) Add(i, 47, 2, 1);  // credit 50 each
  const LevelEstimate estimate = Estimate();
  EXPECT_EQ(estimate.sums[30], 1200);
  EXPECT_EQ(estimate.sums[48], 1200);
  EXPECT_EQ(estimate.sums[47], 100);
  EXPECT_EQ(estimate.level, 46);
  EXPECT_EQ(estimate.message,
            "You are close to professional players. Your level is higher than 5d.");
}

TEST_F(LevelEstimateTableTest, RestoresBothCursors) {
  for (int i = 0; i < 6; ++i) Add(i, 33, 1);
  ASSERT_TRUE(problems_.FindKey({FieldValue{int32_t{3}}}));
  ASSERT_TRUE(history_.PlaceOnProblem(3));
  history_.ShowCounters(3);
  EXPECT_EQ(Estimate().level, 33);
  EXPECT_EQ(problems_.AsInteger("Auto1"), 3);
  EXPECT_EQ(history_.Table().AsInteger("Auto1"), 3);
  history_.CountFailure();
  ASSERT_TRUE(history_.PlaceOnProblem(3));
  EXPECT_EQ(history_.Table().AsInteger("FailedCount"), 1) << "later counts go to its row";
  EXPECT_EQ(history_.Counters().FailedCountBeforeSolve, 0);
}

}  // namespace
}  // namespace zendra
