// zendra-db and the import on hostile input: folders holding FIFOs and links to themselves,
// numbers on the command line, and trees whose lines are very long or full of faults.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "problem_import/problem_data.h"
#include "solving/tree/solution_tree.h"
#include "tools/zendra-db/zendra_db.h"

namespace zendra {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "zendra-hostile-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

constexpr const char* kProblem = "(;FF[4]GM[1]SZ[19]AB[aa]AW[ba]PL[B];B[ca]C[Correct.])";

// A FIFO named like a problem file and a link from the folder to itself: the build reads the
// one regular file once and comes back. A reader that opens the FIFO is let go at once (a
// writer opens and closes it), so a build that tries shows up as a second file, not a hang.
TEST(HostileFolders, FifoAndLinkLoopAreSkipped) {
  Folder dir;
  const fs::path src = dir.Path() / "src";
  fs::create_directories(src / "deeper");
  std::ofstream(src / "a.sgf") << kProblem;
  const fs::path fifo = src / "deeper" / "x.sgf";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory_symlink("..", src / "deeper" / "up");
  fs::create_directory_symlink(".", src / "self");

  std::atomic<bool> done{false};
  std::thread unblock([&] {
    while (!done) {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  BuildReport report;
  BuildFromSources({src.string()}, BuildOptions{}, &report);
  done = true;
  unblock.join();
  EXPECT_EQ(report.files, 1) << "a.sgf once; the FIFO is no problem file";
  EXPECT_EQ(report.problems.size(), 1u);
  EXPECT_TRUE(report.refusals.empty()) << report.refusals.front();
  EXPECT_TRUE(report.errors.empty()) << report.errors.front();
}

TEST(HostileCommandLines, NumbersAreParsedWithErrorsReported) {
  const struct {
    const char* text;
    std::optional<int> value;
  } cases[] = {
      {"-", std::nullopt},
      {"", std::nullopt},
      {"1x", std::nullopt},
      {"+5", std::nullopt},
      {" 5", std::nullopt},
      {"99999999999", std::nullopt},
      {"2147483648", std::nullopt},
      {"--", std::nullopt},
      {"0", 0},
      {"-3", -3},
      {"1001", 1001},
      {"2147483647", 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(db::ParseNumber(c.text), c.value) << "'" << c.text << "'";

  db::Args args;
  std::string error;
  EXPECT_FALSE(db::ParseArgs({"list", "x.dgo", "--group", "-"}, &args, &error));
  EXPECT_NE(error.find("--group takes a whole number, not '-'"), std::string::npos) << error;
  EXPECT_FALSE(db::ParseArgs({"list", "x.dgo", "--level"}, &args, &error));
  EXPECT_NE(error.find("--level needs a value"), std::string::npos) << error;
  EXPECT_FALSE(db::ParseArgs({}, &args, &error));
  args = {};
  ASSERT_TRUE(db::ParseArgs({"show", "x.dgo", "-", "--json"}, &args, &error)) << error;
  EXPECT_EQ(args.positional, (std::vector<std::string>{"x.dgo", "-"}));
  EXPECT_TRUE(args.json);
}

DataProblem WithTree(const SolutionTree& tree) {
  DataProblem p;
  p.number = 7;
  p.firstToPlay = "B";
  p.result2 = 1;
  p.solution = tree.Save();
  return p;
}

// One line of 200,000 moves: its third move is illegal, and its last node claims a success
// whose word disagrees with Result2. Both faults are found and the line is named whole; the
// check walks the tree a fixed number of times (bench/ measures it: BM_CheckLongLine).
TEST(HostileTrees, AVeryLongLineIsChecked) {
  SolutionTree t;
  constexpr int kMoves = 200000;
  NodeId n = t.Add(kNoNode, "");
  n = t.Add(n, "CC");
  n = t.Add(n, "DD");
  n = t.Add(n, "CC");
  for (int i = 4; i < kMoves; ++i) n = t.Add(n, "EE");
  t.Add(n, "EE 10");
  const std::vector<CheckFault> faults = CheckProblem(WithTree(t));
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].text, "move CC is illegal (line CC-DD-CC)");
  std::string expected = "success says 'dies' but Result2 says 'lives' (line CC-DD-CC";
  for (int i = 3; i < kMoves; ++i) expected += "-EE";
  expected += ")";
  EXPECT_EQ(faults[1].kind, CheckFaultKind::kResultWord);
  EXPECT_TRUE(faults[1].text == expected)
      << "every move named: " << faults[1].text.substr(0, 100) << "...";
}

// A tree of a thousand refused moves: the first hundred faults are described, the rest counted
// by the last.
TEST(HostileTrees, FaultsBeyondAHundredAreCounted) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  for (int i = 0; i < 1000; ++i) t.Add(root, "Zz");
  t.Add(root, "CC 11");
  const std::vector<CheckFault> faults = CheckProblem(WithTree(t));
  ASSERT_EQ(faults.size(), 100u);
  EXPECT_EQ(faults[0].text, "move Zz is not on the board (line Zz)");
  EXPECT_EQ(faults[99].text, "move Zz is not on the board (line Zz); and 900 more faults");
}

}  // namespace
}  // namespace zendra
