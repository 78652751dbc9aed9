// Import of the third-party problem files kept outside the project (../shared/corpus): every
// file imports and passes the check, or is refused with a reason. Skips when the folder is
// absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <regex>

#include "problem_import/problem_data.h"

namespace zendra {
namespace {

namespace fs = std::filesystem;

class Corpus : public ::testing::TestWithParam<const char*> {};

TEST_P(Corpus, EveryFileImportsAndPassesCheckOrIsRefusedWithAReason) {
  const fs::path folder = fs::path(ZENDRA_CORPUS_DIR) / GetParam();
  if (!fs::is_directory(folder)) {
    GTEST_SKIP() << "no problem corpus at " << folder.string() << ": nothing to import";
  }
  BuildReport report;
  BuildFromSources({folder.string()}, {}, &report);
  ASSERT_TRUE(report.errors.empty()) << report.errors.front();

  std::size_t sgfFiles = 0;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    sgfFiles += e.path().extension() == ".sgf" ? 1 : 0;
  }
  EXPECT_EQ(static_cast<std::size_t>(report.files), sgfFiles);
  EXPECT_GT(report.problems.size(), sgfFiles / 2);

  // Every kept problem passes the check as stored; every refusal names its file, place and
  // reason.
  for (const DataProblem& p : report.problems) {
    const std::vector<CheckFault> faults = CheckProblem(p);
    EXPECT_TRUE(faults.empty()) << p.source << ": " << faults.front().text;
  }
  const std::regex refusal(R"(.+\.sgf:\d+:\d+: refused: .+)");
  for (const std::string& r : report.refusals) {
    EXPECT_TRUE(std::regex_match(r, refusal)) << r;
  }
  int counted = 0;
  for (const auto& [reason, count] : report.refusedByReason) counted += count;
  EXPECT_EQ(counted, static_cast<int>(report.refusals.size()));

  std::cout << "[ corpus   ] " << GetParam() << ": " << report.files << " files, imported "
            << report.problems.size() << ", refused " << report.refusals.size() << "\n";
  for (const auto& [reason, count] : report.refusedByReason) {
    std::cout << "[ corpus   ]   refused " << count << ": " << reason << "\n";
  }
}

INSTANTIATE_TEST_SUITE_P(SharedCorpus, Corpus, ::testing::Values("goproblems", "ggg", "classical"));

}  // namespace
}  // namespace zendra
