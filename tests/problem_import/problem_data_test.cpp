// Data files from problem sources: manifests and rank folders, the writer/reader round trip,
// the problem check on sound and broken trees, and playing problems through the controller.
#include "problem_import/problem_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "problem_import/play_session.h"

namespace zendra {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zendra-db-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  fs::path Write(const std::string& name, const std::string& text) const {
    const fs::path p = path_ / name;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// ---- Manifest and rank folders ---------------------------------------------------------------

TEST(Manifest, ReadsGroupLevelAndOrder) {
  Manifest m;
  std::string error;
  ASSERT_TRUE(ParseManifest("# Basic\ngroup 0   # collection\nlevel 10\n\nb01.sgf\nb02.sgf 12\n",
                            &m, &error))
      << error;
  EXPECT_EQ(m.group, 0);
  EXPECT_EQ(m.level, 10);
  ASSERT_EQ(m.entries.size(), 2u);
  EXPECT_EQ(m.entries[0].file, "b01.sgf");
  EXPECT_FALSE(m.entries[0].level.has_value());
  EXPECT_EQ(m.entries[1].level, 12);
  EXPECT_EQ(m.entries[1].line, 6);

  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"group x\n", "line 1: 'x' is not a number"},
      {"level 0\n", "line 1: level must be 1 to 60"},
      {"\ngroup 1 2\n", "line 2: group takes one number"},
      {"a.sgf 10 extra\n", "line 1: a problem line holds a file name and at most a level"},
      {"a.sgf ten\n", "line 1: 'ten' is not a level"},
  };
  for (const auto& b : bad) {
    EXPECT_FALSE(ParseManifest(b.text, &m, &error)) << b.text;
    EXPECT_EQ(error, b.error);
  }
}

TEST(Manifest, RankFolderNamesGiveLevels) {
  const struct {
    const char* name;
    int level;  // -1: none
  } cases[] = {{"10_kyu", 30}, {"30_kyu", 10}, {"1_kyu", 39},  {"1_dan", 40},
               {"2_dan", 41},  {"9_dan", 48},  {"31_kyu", -1}, {"10_dan", -1},
               {"easy", -1},   {"_kyu", -1},   {"x_kyu", -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(LevelFromFolderName(c.name).value_or(-1), c.level) << c.name;
  }
}

// ---- Building and the round trip ---------------------------------------------------------------

constexpr const char* kLive =
    "(;FF[4]GM[1]SZ[19]CA[UTF-8]AB[ab][bb][cb][db]AW[ac][bc][cc][dc][ec][eb]PL[B]\n"
    "C[Black to play and live.\nAnswer: lives]\n"
    "(;B[ca];W[ba]C[Wrong. It dies.])\n"
    "(;B[ea];W[da];B[ba]C[Correct. Two eyes.]))\n";
constexpr const char* kKill =
    "(;FF[4]GM[1]SZ[19]AB[ac][bc][cc][dc][ec][eb]AW[ab][bb][cb][db]PL[B]C[Answer: dies]\n"
    ";B[ba]C[Correct])\n";

TEST(DataFile, CollectionFolderBuildsWritesAndReadsBack) {
  TempFolder dir;
  dir.Write("coll/manifest.txt", "group 2\nlevel 15\nlive.sgf\nmissing.sgf\nkill.sgf 20\n");
  dir.Write("coll/live.sgf", kLive);
  dir.Write("coll/kill.sgf", kKill);
  dir.Write("coll/ignored.sgf", "(;B[aa])");
  dir.Write("loose/12_kyu/a.sgf", kKill);
  dir.Write("loose/12_kyu/broken.sgf", "(;SZ[9];B[aa])");

  BuildReport report;
  BuildFromSources({(dir.Path() / "coll").string(), (dir.Path() / "loose").string()}, {}, &report);
  ASSERT_TRUE(report.errors.empty());
  ASSERT_EQ(report.problems.size(), 3u);
  ASSERT_EQ(report.refusals.size(), 2u);
  EXPECT_NE(report.refusals[0].find("manifest.txt:4: refused: problem file missing.sgf not found"),
            std::string::npos)
      << report.refusals[0];
  EXPECT_NE(report.refusals[1].find("broken.sgf:1:3: refused: board size 9 is not 19x19"),
            std::string::npos)
      << report.refusals[1];
  EXPECT_EQ(report.refusedByReason["board not 19x19"], 1);
  EXPECT_EQ(report.files, 4);

  const DataProblem& live = report.problems[0];
  EXPECT_EQ(live.number, 2001);
  EXPECT_EQ(live.group, 2);
  EXPECT_EQ(live.level, 15);
  EXPECT_EQ(live.num, 1);
  EXPECT_EQ(live.result2, 1);
  EXPECT_EQ(live.firstToPlay, "B");
  const DataProblem& kill = report.problems[1];
  EXPECT_EQ(kill.number, 2003);  // Num 3: the missing file keeps its place in the order
  EXPECT_EQ(kill.level, 20);
  EXPECT_EQ(kill.result2, 0);
  const DataProblem& loose = report.problems[2];
  EXPECT_EQ(loose.number, 1);
  EXPECT_EQ(loose.group, 0);
  EXPECT_EQ(loose.level, 28);  // 12 kyu

  // The remark texts of the kept problems; the tree refers to them.
  EXPECT_EQ(report.remarks.Lines(),
            (std::vector<std::string>{"", "Wrong. It dies.", "Correct. Two eyes."}));
  SolutionTree tree;
  ASSERT_EQ(tree.LoadSolution(live.solution), SolutionTree::LoadResult::kLoaded);
  EXPECT_EQ(TreeOutline(tree), "((CA(BA 0#1))(EA(DA(BA 11#2))))");
  // What the writer stores reads back identically, byte for byte.
  EXPECT_EQ(tree.Save(), live.solution);

  const std::string file = (dir.Path() / "out.dgo").string();
  std::string error;
  ASSERT_TRUE(WriteDataFile(report.problems, file, &error)) << error;
  std::vector<DataProblem> back;
  ASSERT_TRUE(ReadDataFile(file, &back, &error)) << error;
  std::vector<DataProblem> expected = report.problems;
  std::sort(expected.begin(), expected.end(),
            [](const DataProblem& a, const DataProblem& b) { return a.number < b.number; });
  EXPECT_EQ(back, expected);

  std::vector<std::string> entries;
  ASSERT_TRUE(CollectionEntries(file, 2, &entries, &error)) << error;
  EXPECT_EQ(entries, (std::vector<std::string>{"07D10 1 ABBBCBDB ACBCCCDCEBEC  B",
                                               "07D30 0 ACBCCCDCEBEC ABBBCBDB  B"}));
  ASSERT_TRUE(CollectionEntries(file, 0, &entries, &error));
  EXPECT_EQ(entries.size(), 1u);

  // An empty build is a valid data file with no problems.
  ASSERT_TRUE(WriteDataFile({}, file, &error)) << error;
  ASSERT_TRUE(CollectionEntries(file, 0, &entries, &error)) << error;
  EXPECT_TRUE(entries.empty());

  // Only manifest folders when asked.
  BuildOptions only;
  only.collectionsOnly = true;
  BuildFromSources({dir.Path().string()}, only, &report);
  EXPECT_EQ(report.problems.size(), 2u);
}

// A folder whose comments do not fit in one shared list of 255: every problem keeps its own
// list in the Remarks column, the data file loads as before, and the comments show.
TEST(DataFile, EveryCommentIsKeptWhenTheSharedListIsFull) {
  TempFolder dir;
  for (int i = 1; i <= 300; ++i) {
    dir.Write(
        "many/p" + std::to_string(1000 + i) + ".sgf",
        "(;FF[4]GM[1]SZ[19]AB[aa]AW[ba]PL[B];B[ca]C[Correct. Remark " + std::to_string(i) + ".])");
  }
  BuildReport report;
  BuildFromSources({(dir.Path() / "many").string()}, {}, &report);
  ASSERT_EQ(report.problems.size(), 300u);
  EXPECT_TRUE(report.perProblemRemarks);
  EXPECT_EQ(report.remarksLeftOut, 0);
  EXPECT_EQ(report.remarks.Lines(), std::vector<std::string>{""});  // Remark.txt is empty
  const DataProblem& last = report.problems.back();
  ASSERT_TRUE(last.remarks.has_value());
  EXPECT_EQ(*last.remarks, (std::vector<std::string>{"", "Correct. Remark 300."}));

  const std::string file = (dir.Path() / "many.dgo").string();
  std::string error;
  ASSERT_TRUE(WriteDataFile(report.problems, file, &error)) << error;
  std::vector<DataProblem> back;
  ASSERT_TRUE(ReadDataFile(file, &back, &error)) << error;
  ASSERT_EQ(back.size(), 300u);
  EXPECT_EQ(back.back(), last);
  std::vector<std::string> entries;
  ASSERT_TRUE(CollectionEntries(file, 0, &entries, &error)) << error;
  EXPECT_EQ(entries.size(), 300u);

  // The problem's own list comes before the shared one.
  PlaySession play(back.back(), {"", "a shared remark"});
  EXPECT_EQ(play.Step("CA").statusRight, "Correct. Remark 300.");
}

// When every comment fits in the shared list the data file is written as it always was: no
// Remarks column, the nodes index Remark.txt.
TEST(DataFile, CommentsThatFitShareOneList) {
  TempFolder dir;
  dir.Write("few/a.sgf", kLive);
  dir.Write("few/b.sgf", "(;AB[ab]AW[ac];B[ca]C[Correct. Two eyes.])");
  BuildReport report;
  BuildFromSources({(dir.Path() / "few").string()}, {}, &report);
  ASSERT_EQ(report.problems.size(), 2u);
  EXPECT_FALSE(report.perProblemRemarks);
  EXPECT_EQ(report.remarks.Lines(),
            (std::vector<std::string>{"", "Wrong. It dies.", "Correct. Two eyes."}));
  SolutionTree tree;
  ASSERT_EQ(tree.LoadSolution(report.problems[1].solution), SolutionTree::LoadResult::kLoaded);
  EXPECT_EQ(TreeOutline(tree), "((CA 1#2))");
  const std::string file = (dir.Path() / "few.dgo").string();
  std::string error;
  ASSERT_TRUE(WriteDataFile(report.problems, file, &error)) << error;
  std::vector<DataProblem> back;
  ASSERT_TRUE(ReadDataFile(file, &back, &error)) << error;
  for (const DataProblem& p : back) EXPECT_FALSE(p.remarks.has_value());
}

// A GB-encoded file without CA: the build says what it assumed, and the remark is Chinese text.
TEST(DataFile, TheBuildSaysWhichEncodingItAssumed) {
  TempFolder dir;
  // "(;AB[aa];B[bb]C[正解，白死])" in GB18030.
  dir.Write("gb/a.sgf", "(;AB[aa];B[bb]C[\xD5\xFD\xBD\xE2\xA3\xAC\xB0\xD7\xCB\xC0])");
  BuildReport report;
  BuildFromSources({(dir.Path() / "gb").string()}, {}, &report);
  ASSERT_EQ(report.problems.size(), 1u);
  ASSERT_EQ(report.notes.size(), 1u);
  EXPECT_NE(report.notes[0].find("a.sgf: no CA, not valid UTF-8: read as GB18030"),
            std::string::npos)
      << report.notes[0];
  EXPECT_EQ(report.encodings["GB18030, assumed"], 1);
  EXPECT_EQ(report.remarks.Lines(), (std::vector<std::string>{"", "正解，白死"}));
}

// The files a build reads are counted beforehand without reading them (the total of a progress
// display), and a build told to stop reads no further file and numbers nothing.
TEST(DataFile, FilesAreCountedAheadAndTheBuildStopsWhenAsked) {
  TempFolder dir;
  dir.Write("coll/manifest.txt", "group 2\nlive.sgf\nmissing.sgf\nkill.sgf\n");
  dir.Write("coll/live.sgf", kLive);
  dir.Write("coll/kill.sgf", kKill);
  dir.Write("coll/ignored.sgf", kKill);
  dir.Write("loose/a.sgf", kKill);
  dir.Write("loose/deeper/b.sgf", kLive);
  dir.Write("loose/deeper/notes.txt", "not a problem");
  const std::vector<std::string> sources = {(dir.Path() / "coll").string(),
                                            (dir.Path() / "loose").string()};

  BuildReport whole;
  std::vector<std::pair<int, std::string>> seen;
  BuildOptions watched;
  watched.onFile = [&](int read, const std::string& file) {
    seen.emplace_back(read, fs::path(file).filename().string());
    return true;
  };
  BuildFromSources(sources, watched, &whole);
  EXPECT_EQ(CountSourceFiles(sources, {}), whole.files);
  EXPECT_EQ(whole.files, 4);
  const std::vector<std::pair<int, std::string>> order = {
      {0, "live.sgf"}, {1, "kill.sgf"}, {2, "a.sgf"}, {3, "b.sgf"}};
  EXPECT_EQ(seen, order);
  EXPECT_FALSE(whole.cancelled);

  for (int stopAt : {0, 1, 3}) {
    BuildOptions stopping;
    std::vector<std::string> read;
    stopping.onFile = [&](int done, const std::string& file) {
      if (done == stopAt) return false;
      read.push_back(file);
      return true;
    };
    BuildReport stopped;
    BuildFromSources(sources, stopping, &stopped);
    EXPECT_TRUE(stopped.cancelled) << stopAt;
    EXPECT_EQ(stopped.files, stopAt);
    EXPECT_EQ(static_cast<int>(read.size()), stopAt);
    EXPECT_LE(static_cast<int>(stopped.problems.size()), stopAt);
  }
  // A single file and a missing source count as the build reads them.
  EXPECT_EQ(CountSourceFiles({(dir.Path() / "loose/a.sgf").string()}, {}), 1);
  EXPECT_EQ(CountSourceFiles({(dir.Path() / "nothing").string()}, {}), 0);
  BuildOptions collections;
  collections.collectionsOnly = true;
  EXPECT_EQ(CountSourceFiles(sources, collections), 2);
}

TEST(DataFile, UnreadableSourcesAreErrors) {
  TempFolder dir;
  dir.Write("c/manifest.txt", "group one\n");
  BuildReport report;
  BuildFromSources({(dir.Path() / "c").string(), (dir.Path() / "nothing").string()}, {}, &report);
  ASSERT_EQ(report.errors.size(), 2u);
  EXPECT_NE(report.errors[0].find("manifest.txt: line 1: 'one' is not a number"),
            std::string::npos);
  EXPECT_NE(report.errors[1].find("no such file or folder"), std::string::npos);
  std::string error;
  std::vector<DataProblem> problems;
  EXPECT_FALSE(ReadDataFile((dir.Path() / "none.dgo").string(), &problems, &error));
  EXPECT_FALSE(error.empty());
}

// ---- Check -----------------------------------------------------------------------------------

DataProblem WithTree(const SolutionTree& tree, std::optional<int> result2 = 1,
                     std::string black = "", std::string white = "") {
  DataProblem p;
  p.number = 7;
  p.firstToPlay = "B";
  p.result2 = result2;
  p.arrangedBlack = std::move(black);
  p.arrangedWhite = std::move(white);
  p.solution = tree.Save();
  return p;
}

// The first fault's text, or "" when none.
std::string FirstFault(const DataProblem& p) {
  const std::vector<CheckFault> faults = CheckProblem(p);
  return faults.empty() ? "" : faults.front().text;
}

// The kind of the first fault, as counted in the build summary.
std::string FirstKind(const DataProblem& p) {
  const std::vector<CheckFault> faults = CheckProblem(p);
  return faults.empty() ? "" : CheckFaultName(faults.front().kind);
}

TEST(Check, SoundTreesPassAndEachFaultIsNamed) {
  {
    SolutionTree t;
    const NodeId u = t.Add(t.Add(kNoNode, ""), "CC");
    t.Add(t.Add(u, "DD"), "EE 11");
    t.Add(u, "TT");
    t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "CC");  // second root: never reached
    EXPECT_EQ(FirstFault(WithTree(t)), "");
  }
  struct Case {
    const char* name;
    SolutionTree tree;
    std::optional<int> result2;
    std::string black;
    std::string white;
    const char* fault;
    const char* kind = "";
  };
  std::vector<Case> cases;
  {
    SolutionTree t;
    t.Add(t.Add(kNoNode, ""), "AA 11");
    cases.push_back({"move on a set-up stone", std::move(t), 1, "AA", "",
                     "move AA is illegal (line AA)", "illegal move"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "CC 11");
    cases.push_back({"reply on the user's stone", std::move(t), 1, "", "",
                     "move CC is illegal (line CC-CC)", "illegal move"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "Cz 11");
    cases.push_back({"reply off the board", std::move(t), 1, "", "",
                     "move Cz is not on the board (line CC-Cz)", "move off the board"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "D");
    cases.push_back({"text without a point", std::move(t), 1, "", "",
                     "node text 'D' holds no point (line CC-D)", "node without a point"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD");
    cases.push_back({"no success", std::move(t), 1, "", "",
                     "no clean success from the start position", "no clean success"});
  }
  {
    SolutionTree t;
    const NodeId root = t.Add(kNoNode, "");
    const NodeId u = t.Add(root, "CC", "1");
    t.Add(t.Add(u, "DD", "4"), "EE 11");
    t.Add(root, "FF 11");
    cases.push_back({"flagged reply below a flagged user move", std::move(t), 1, "", "",
                     "a successful line ends in Data error(1): a flagged reply lies below the "
                     "flagged user move (line CC-DD-EE)",
                     "line ends in Data error(1)"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(kNoNode, ""), "CC 10");
    cases.push_back({"result word disagrees", std::move(t), 1, "", "",
                     "success says 'dies' but Result2 says 'lives' (line CC)",
                     "result word disagrees with Result2"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(kNoNode, ""), "CC 11");
    cases.push_back({"result word without Result2", std::move(t), std::nullopt, "", "",
                     "success says 'lives' but Result2 says 'nothing' (line CC)",
                     "result word disagrees with Result2"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(t.Add(kNoNode, ""), "AA"), "TT 11");
    cases.push_back({"no room for a move elsewhere", std::move(t), 1,
                     "PPPQPRPSQPQQQRQSRPRQRRRSSPSQSRSS", "",
                     "no empty point in the far corner for a move elsewhere (line AA-TT)",
                     "no room for a move elsewhere"});
  }
  {
    SolutionTree t;
    t.Add(t.Add(kNoNode, ""), "CC 11");
    cases.push_back({"set-up on one point twice", std::move(t), 1, "AA", "AA",
                     "the set-up does not stand on the board as written",
                     "set-up not on the board"});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(FirstFault(WithTree(c.tree, c.result2, c.black, c.white)), c.fault) << c.name;
    EXPECT_EQ(FirstKind(WithTree(c.tree, c.result2, c.black, c.white)), c.kind) << c.name;
  }
  // A stream that ends inside a record.
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD 11");
  DataProblem cut = WithTree(t);
  cut.solution.resize(cut.solution.size() - 3);
  EXPECT_EQ(FirstFault(cut), "Data corrupted: the solution stream ends inside a record");
  EXPECT_EQ(FirstKind(cut), "Data corrupted");
  DataProblem none = WithTree(t);
  none.solution.clear();
  EXPECT_EQ(FirstFault(none), "no solution tree");
  EXPECT_EQ(FirstKind(none), "no solution tree");
}

// ---- Play ------------------------------------------------------------------------------------

std::vector<int> Sounds(std::initializer_list<int> s) { return s; }

TEST(Play, SolvedByTheOnlyLine) {
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD 11");
  PlaySession play(WithTree(t), {});
  const PlayStepReport r = play.Step("CC");
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.reply, "DD");
  EXPECT_EQ(r.labelResult, "lives,Success");
  EXPECT_EQ(r.sounds, Sounds({1999, 1999, 2010, 2095}));
  EXPECT_TRUE(r.solved);
  EXPECT_FALSE(r.retryPending);
}

TEST(Play, MoveOutsideTheTreeFailsWithARetry) {
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD 11");
  PlaySession play(WithTree(t), {});
  PlayStepReport r = play.Step("E15");  // (5, 5)
  EXPECT_EQ(r.moves, "EE");
  EXPECT_EQ(r.reply, "");
  EXPECT_EQ(r.labelResult, "Failure");
  EXPECT_EQ(r.sounds, Sounds({1999, 2020}));
  EXPECT_TRUE(r.failure);
  EXPECT_TRUE(r.retryPending);
  EXPECT_EQ(r.alternative, "");
  EXPECT_EQ(r.tips, std::vector<int>{2});
  // The user is not to move now: a click is refused; "next" goes back to the root.
  EXPECT_FALSE(play.Step("CC").accepted);
  r = play.Step("next");
  EXPECT_EQ(r.moves, "");
  r = play.Step("hint");
  EXPECT_EQ(r.greenDots, "CC");
  EXPECT_FALSE(play.Step("jump").accepted);
}

TEST(Play, EveryReplyIsShownBeforeTheProblemIsSolved) {
  SolutionTree t;
  const NodeId u = t.Add(t.Add(kNoNode, ""), "CC");
  t.Add(t.Add(u, "DD"), "EE 11");
  t.Add(t.Add(u, "DE"), "EF 11");
  PlaySession play(WithTree(t), {});
  PlayStepReport r = play.Step("CC");
  EXPECT_EQ(r.reply, "DD");
  r = play.Step("EE");
  EXPECT_EQ(r.labelResult, "lives,Success");
  EXPECT_FALSE(r.solved);
  EXPECT_EQ(r.alternative, "DE");
  EXPECT_EQ(r.tips, std::vector<int>{1});
  EXPECT_EQ(r.sounds, Sounds({1999, 2010}));
  r = play.Step("next");
  EXPECT_EQ(r.moves, "CC DE");
  EXPECT_EQ(r.sounds, Sounds({1999}));
  r = play.Step("EF");
  EXPECT_TRUE(r.solved);
  EXPECT_EQ(r.sounds, Sounds({1999, 2010, 2095}));
}

TEST(Play, FlaggedReplyIsAvoidedAndWeakMovesAreReported) {
  SolutionTree t;
  const NodeId root = t.Add(kNoNode, "");
  const NodeId u = t.Add(root, "CC");
  t.Add(t.Add(u, "DD", "1"), "EE 11");
  t.Add(t.Add(u, "DE"), "EF 11");
  const NodeId weak = t.Add(root, "GG", "5");
  t.Add(t.Add(weak, "TT"), "HH 11");
  PlaySession play(WithTree(t), {});
  PlayStepReport r = play.Step("CC");
  EXPECT_EQ(r.reply, "DE");
  r = play.Step("EF");
  EXPECT_TRUE(r.solved);
  EXPECT_EQ(r.alternative, "");

  play.Step("again");
  r = play.Step("GG");
  EXPECT_EQ(r.messages, (std::vector<std::string>{"Bad move", "Not best"}));
  EXPECT_EQ(r.labelStdResult, "Not best");
  EXPECT_EQ(r.reply, "PP");  // a move elsewhere goes to the far corner
  EXPECT_EQ(r.sounds, Sounds({1999, 2091, 2091, 1999}));
  r = play.Step("HH");
  EXPECT_EQ(r.labelResult, "lives,Success");
  EXPECT_FALSE(r.solved);  // a success through a weak move leaves a retry before it
  EXPECT_TRUE(r.retryPending);
  EXPECT_EQ(r.sounds, Sounds({1999, 2030}));
}

TEST(Play, ResultShowsTheAnswerAndCommentsUseTheRemarkList) {
  SolutionTree t;
  t.Add(t.Add(t.Add(kNoNode, ""), "CC"), "DD 13", "", "1");
  PlaySession play(WithTree(t, 3), {"", "It lives by ko."});
  PlayStepReport r = play.Step("result");
  EXPECT_EQ(r.labelStdResult, "ko");
  r = play.Step("CC");
  EXPECT_EQ(r.statusRight, "It lives by ko.");
  EXPECT_EQ(r.labelResult, "ko,Success");
}

TEST(Play, MoveStepsReadLettersAndBoardCoordinates) {
  const struct {
    const char* step;
    int p;
    int q;  // 0: refused
  } cases[] = {{"CC", 3, 3},   {"SS", 19, 19}, {"C17", 3, 3},  {"A1", 1, 19},
               {"T19", 19, 1}, {"J10", 9, 10}, {"H10", 8, 10}, {"I5", 0, 0},
               {"TT", 0, 0},   {"C20", 0, 0},  {"C0", 0, 0},   {"c", 0, 0}};
  for (const auto& c : cases) {
    int p = 0;
    int q = 0;
    const bool ok = ParseMoveStep(c.step, &p, &q);
    EXPECT_EQ(ok, c.q != 0) << c.step;
    if (ok) {
      EXPECT_EQ(p, c.p) << c.step;
      EXPECT_EQ(q, c.q) << c.step;
    }
  }
}

}  // namespace
}  // namespace zendra
