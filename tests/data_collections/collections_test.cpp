// The problem collections shipped in data/ (one SGF file per problem, a manifest per folder),
// checked on their own terms and read independently by GNU Go.
//
// Form: every file is well-formed SGF on a 19 x 19 board with its set-up, the side to play (PL),
// the group in question marked by MA on one of its stones, the prompt and "Answer: ..." in the
// root comment; moves alternate from the side to play; every line ends in "Correct" (on a move
// of the side to play) or "Wrong" (on a reply, so that the refutation is shown); no inner node
// carries a verdict.
//
// Reading: GNU Go (GTP over pipes) gets the set-up, then the rest of the board is filled so
// that the stones around the problem are safe: every point farther than one line from the
// rectangle that holds the set-up stones gets a stone of the colour that does not own the group
// in question, except single-point eyes on a 4 x 4 lattice, so that the filling is one huge
// living group. The empty band of one line around the problem keeps the filling from touching
// it. Problems about running stones (ladders, driving to the edge) are read on an otherwise
// empty board instead (kOpenBoardProblems). Then, with `owl_does_attack` / `owl_does_defend`
// on the marked stone, every first move is read: a move that leads to "Correct" must reach the
// answer (a kill or a life, or a ko for the ko answers), every other first move must not.
// Deeper moves of the side to play on correct lines are read the same way after the line up to
// them has been played, as long as the marked group is still on the board. Every move of every
// line is played through GTP `play`, which refuses occupied points, suicide and ko.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/gtp_process.h"

#ifndef ZENDRA_DATA_DIR
#error "ZENDRA_DATA_DIR must name the data folder"
#endif

namespace zendra {
namespace {

using test::GtpProcess;
using test::GtpReply;

namespace fs = std::filesystem;

constexpr const char* kGnuGoPath = "/usr/games/gnugo";
constexpr const char* kGtpColumns = "ABCDEFGHJKLMNOPQRST";

// Problems whose point is running stones: read with the rest of the board empty.
const std::set<std::string> kOpenBoardProblems = {
    "b01-atari-to-the-edge.sgf",
    "b08-ladder.sgf",
};

// First moves that GNU Go reads wrongly (the reason for each is in data/GNUGO-DISAGREEMENTS.md):
// problem file -> first move (SGF point) -> GNU Go's verdict on it. For these the check is
// turned around: GNU Go must still give its known verdict, so that an entry that is no longer
// needed is noticed and removed.
const std::map<std::string, std::map<std::string, int>> kKnownMisreads = {
    // Filling the outside liberty leaves a seki, which owl reads as a kill.
    {"e28-eye-beats-no-eye.sgf", {{"ga", 1}}},
    // Kos that owl misses, reading an outright kill: after the atari from the second line
    // White's lone stone is taken in a ko; the throw-in captured, the stone on the first line
    // is taken in a ko; after the placement Black's second eye is a ko; after the cut White's
    // connection on the first line gives a ko; the corner of the second-line row is a ko (in
    // both problems of that shape).
    {"b33-make-the-eye-false.sgf", {{"ib", 1}}},
    {"e30-throw-in-false-eye.sgf", {{"ea", 1}}},
    {"e32-placement-on-the-first-line.sgf", {{"ba", 1}}},
    {"e40-cut-where-white-is-short-of-liberties.sgf", {{"eb", 1}}},
    {"a23-kill-second-line-6.sgf", {{"sr", 1}}},
    {"a26-kill-second-line-6.sgf", {{"ar", 1}}},
    // Black's hane on the second line lets White make a seki, which owl reads as a kill.
    {"i43-placement-wins-the-race.sgf", {{"eb", 1}}},
};

struct Collection {
  const char* folder;
  int group;
  int minLevel;
  int maxLevel;
};

// Test names and failure lines show the folder.
void PrintTo(const Collection& c, std::ostream* os) { *os << c.folder; }

// Levels: L < 40 is (40 - L) kyu, L >= 40 is (L - 39) dan.
constexpr Collection kCollections[] = {
    {"basic", 0, 10, 15},
    {"beginner", 1, 15, 25},
    {"intermediate", 2, 25, 35},
    {"advanced", 3, 35, 41},
};

constexpr int kMinProblemsPerCollection = 25;

// ---- A small SGF reader for our own files -------------------------------------------------------

struct SgfNode {
  std::map<std::string, std::vector<std::string>> props;
  std::vector<std::unique_ptr<SgfNode>> children;

  const std::string* Get(const std::string& name) const {
    auto it = props.find(name);
    return it == props.end() || it->second.empty() ? nullptr : &it->second[0];
  }
};

class SgfReader {
 public:
  explicit SgfReader(std::string text) : text_(std::move(text)) {}

  // The root node of the one game tree in the text; false with a reason when it is malformed.
  bool Read(SgfNode* holder, std::string* error) {
    SkipSpace();
    if (!GameTree(holder, error)) return false;
    SkipSpace();
    if (pos_ != text_.size()) return Fail(error, "text after the game tree");
    if (holder->children.size() != 1) return Fail(error, "expected one game tree");
    return true;
  }

 private:
  bool Fail(std::string* error, const std::string& what) {
    *error = what + " at offset " + std::to_string(pos_);
    return false;
  }
  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  bool GameTree(SgfNode* parent, std::string* error) {
    if (pos_ >= text_.size() || text_[pos_] != '(') return Fail(error, "expected '('");
    ++pos_;
    SkipSpace();
    SgfNode* last = parent;
    bool any = false;
    while (pos_ < text_.size() && text_[pos_] == ';') {
      ++pos_;
      auto node = std::make_unique<SgfNode>();
      if (!Properties(node.get(), error)) return false;
      last->children.push_back(std::move(node));
      last = last->children.back().get();
      any = true;
      SkipSpace();
    }
    if (!any) return Fail(error, "game tree without a node");
    while (pos_ < text_.size() && text_[pos_] == '(') {
      if (!GameTree(last, error)) return false;
      SkipSpace();
    }
    if (pos_ >= text_.size() || text_[pos_] != ')') return Fail(error, "expected ')'");
    ++pos_;
    return true;
  }
  bool Properties(SgfNode* node, std::string* error) {
    SkipSpace();
    while (pos_ < text_.size() && std::isupper(static_cast<unsigned char>(text_[pos_]))) {
      std::string name;
      while (pos_ < text_.size() && std::isupper(static_cast<unsigned char>(text_[pos_])))
        name += text_[pos_++];
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != '[') return Fail(error, name + " without value");
      if (node->props.count(name) != 0) return Fail(error, "property " + name + " repeated");
      auto& values = node->props[name];
      while (pos_ < text_.size() && text_[pos_] == '[') {
        ++pos_;
        std::string value;
        while (pos_ < text_.size() && text_[pos_] != ']') {
          if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) ++pos_;
          value += text_[pos_++];
        }
        if (pos_ >= text_.size()) return Fail(error, "unterminated value of " + name);
        ++pos_;
        values.push_back(value);
        SkipSpace();
      }
    }
    return true;
  }

  std::string text_;
  std::size_t pos_ = 0;
};

// ---- Points -------------------------------------------------------------------------------------

struct Point {
  int x = 0;  // column from the left, 0..18
  int y = 0;  // row from the top, 0..18
  bool operator<(const Point& o) const { return x != o.x ? x < o.x : y < o.y; }
};

bool ParsePoint(const std::string& s, Point* p) {
  if (s.size() != 2 || s[0] < 'a' || s[0] > 's' || s[1] < 'a' || s[1] > 's') return false;
  *p = {s[0] - 'a', s[1] - 'a'};
  return true;
}

std::string Vertex(Point p) { return std::string(1, kGtpColumns[p.x]) + std::to_string(19 - p.y); }

// ---- A problem as read from its file ------------------------------------------------------------

struct Problem {
  std::string file;
  std::map<Point, char> stones;  // 'B' or 'W'
  char toPlay = 0;
  Point target;
  std::string answer;
  std::unique_ptr<SgfNode> holder;  // holder->children[0] is the root
  const SgfNode& Root() const { return *holder->children[0]; }
};

bool HasPrefix(const std::string* comment, const char* prefix) {
  return comment != nullptr && comment->rfind(prefix, 0) == 0;
}

bool LeadsToCorrect(const SgfNode& node) {
  if (node.children.empty()) return HasPrefix(node.Get("C"), "Correct");
  return std::any_of(node.children.begin(), node.children.end(),
                     [](const auto& child) { return LeadsToCorrect(*child); });
}

// Reads the problem file and checks its form; the failures go to `faults`.
bool LoadProblem(const fs::path& path, Problem* problem, std::vector<std::string>* faults) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    faults->push_back("cannot open");
    return false;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  problem->file = path.filename().string();
  problem->holder = std::make_unique<SgfNode>();
  std::string error;
  if (!SgfReader(buffer.str()).Read(problem->holder.get(), &error)) {
    faults->push_back("malformed SGF: " + error);
    return false;
  }
  const SgfNode& root = problem->Root();
  const std::pair<const char*, const char*> fixed[] = {
      {"FF", "4"}, {"GM", "1"}, {"SZ", "19"}, {"CA", "UTF-8"}, {"AP", "Zendra"}};
  for (const auto& [name, value] : fixed) {
    const std::string* got = root.Get(name);
    if (got == nullptr || *got != value)
      faults->push_back(std::string("root property ") + name + " must be " + value);
  }
  for (const char* colour : {"AB", "AW"}) {
    auto it = root.props.find(colour);
    if (it == root.props.end()) continue;
    for (const std::string& value : it->second) {
      Point p;
      if (!ParsePoint(value, &p)) {
        faults->push_back(std::string(colour) + " point '" + value + "' unreadable");
      } else if (!problem->stones.emplace(p, colour[1] == 'B' ? 'B' : 'W').second) {
        faults->push_back("set-up point '" + value + "' listed twice");
      }
    }
  }
  const std::string* pl = root.Get("PL");
  if (pl == nullptr || (*pl != "B" && *pl != "W")) {
    faults->push_back("PL must be B or W");
  } else {
    problem->toPlay = (*pl)[0];
  }
  const std::string* ma = root.Get("MA");
  if (ma == nullptr || !ParsePoint(*ma, &problem->target) ||
      problem->stones.count(problem->target) == 0)
    faults->push_back("MA must mark a set-up stone of the group in question");
  const std::string* comment = root.Get("C");
  static const char* const kAnswers[] = {"dies", "lives", "killed by ko", "lives by ko"};
  if (comment != nullptr) {
    const std::size_t at = comment->find("\nAnswer: ");
    if (at != std::string::npos) problem->answer = comment->substr(at + 9);
  }
  if (std::find(std::begin(kAnswers), std::end(kAnswers), problem->answer) == std::end(kAnswers))
    faults->push_back(
        "root comment must end with a line \"Answer: dies|lives|killed by ko|"
        "lives by ko\"");
  if (root.children.empty()) faults->push_back("no solution tree");
  if (!LeadsToCorrect(root)) faults->push_back("no correct line");
  if (problem->toPlay == 0 || !faults->empty()) return false;

  // Shape of the tree: alternating colours, verdicts exactly on the leaves.
  struct Walker {
    char toPlay;
    std::vector<std::string>* faults;
    void Walk(const SgfNode& node, int depth) {
      for (const auto& child : node.children) {
        const bool userMove = depth % 2 == 0;
        const char colour = userMove ? toPlay : (toPlay == 'B' ? 'W' : 'B');
        const std::string where = "move at depth " + std::to_string(depth + 1);
        const std::string* move = child->Get(std::string(1, colour));
        Point p;
        if (move == nullptr || !ParsePoint(*move, &p) || child->props.count("AB") ||
            child->props.count("AW") || child->props.count(colour == 'B' ? "W" : "B"))
          faults->push_back(where + ": expected one " + colour + " move on the board");
        const std::string* c = child->Get("C");
        const bool correct = HasPrefix(c, "Correct");
        const bool wrong = HasPrefix(c, "Wrong");
        if (child->children.empty()) {
          if (correct && !userMove) faults->push_back(where + ": \"Correct\" on a reply");
          if (wrong && userMove) faults->push_back(where + ": \"Wrong\" without the refutation");
          if (!correct && !wrong) faults->push_back(where + ": line ends without a verdict");
        } else if (correct || wrong) {
          faults->push_back(where + ": verdict on a move that has continuations");
        }
        Walk(*child, depth + 1);
      }
    }
  } walker{problem->toPlay, faults};
  walker.Walk(root, 0);
  return faults->empty();
}

// ---- GNU Go -------------------------------------------------------------------------------------

class GnuGo {
 public:
  bool Start(std::string* error) {
    if (!process_.Start({kGnuGoPath, "--mode", "gtp"}, error)) return false;
    GtpReply reply;
    return Command("boardsize 19", &reply, error) && reply.ok;
  }
  bool Command(const std::string& command, GtpReply* reply, std::string* error) {
    return process_.Command(command, reply, error);
  }
  // Sends the commands in one write; true when every one of them succeeded.
  bool Batch(const std::vector<std::string>& commands, std::string* error) {
    std::string text;
    for (const std::string& c : commands) text += c + '\n';
    std::vector<GtpReply> replies;
    if (!process_.Exchange(text, static_cast<int>(commands.size()), &replies, error)) return false;
    for (std::size_t i = 0; i < replies.size(); ++i)
      if (!replies[i].ok) {
        *error = "'" + commands[i] + "' refused: " + replies[i].text;
        return false;
      }
    return true;
  }

 private:
  GtpProcess process_;
};

char Other(char colour) { return colour == 'B' ? 'W' : 'B'; }

// The stones that fill the board around the problem (see the top of the file).
std::vector<Point> FillPoints(const Problem& problem) {
  int x0 = 18, x1 = 0, y0 = 18, y1 = 0;
  for (const auto& [p, colour] : problem.stones) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  x0 = std::max(0, x0 - 1), y0 = std::max(0, y0 - 1);
  x1 = std::min(18, x1 + 1), y1 = std::min(18, y1 + 1);
  auto inside = [&](int x, int y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
  std::vector<Point> fill;
  for (int x = 0; x < 19; ++x)
    for (int y = 0; y < 19; ++y) {
      if (inside(x, y)) continue;
      const bool eye = x % 4 == 2 && y % 4 == 2 && !inside(x - 1, y) && !inside(x + 1, y) &&
                       !inside(x, y - 1) && !inside(x, y + 1);
      if (!eye) fill.push_back({x, y});
    }
  return fill;
}

// Reads one problem with GNU Go; the disagreements go to `faults`.
class ProblemReader {
 public:
  ProblemReader(GnuGo& gnugo, const Problem& problem, std::vector<std::string>* faults)
      : gnugo_(gnugo), problem_(problem), faults_(faults) {}

  void Run() {
    std::vector<std::string> setup = {"clear_board"};
    for (const auto& [p, colour] : problem_.stones)
      setup.push_back(std::string("play ") + colour + ' ' + Vertex(p));
    const char owner = problem_.stones.at(problem_.target);
    if (kOpenBoardProblems.count(problem_.file) == 0)
      for (Point p : FillPoints(problem_))
        setup.push_back(std::string("play ") + Other(owner) + ' ' + Vertex(p));
    std::string error;
    if (!gnugo_.Batch(setup, &error)) {
      faults_->push_back("set-up: " + error);
      return;
    }
    userAttacks_ = problem_.toPlay != owner;
    koAnswer_ = problem_.answer.find("ko") != std::string::npos;
    Walk(problem_.Root(), 0, "");
  }

 private:
  // The owl verdict on a move of the side to play: 0 fails, 1 succeeds, 2 and 3 succeed by ko.
  int Verdict(const std::string& move, std::string* error) {
    GtpReply reply;
    const std::string command =
        std::string(userAttacks_ ? "owl_does_attack " : "owl_does_defend ") + move + ' ' +
        Vertex(problem_.target);
    if (!gnugo_.Command(command, &reply, error)) return -1;
    if (!reply.ok || reply.text.empty() ||
        !std::isdigit(static_cast<unsigned char>(reply.text[0]))) {
      *error = command + ": " + reply.text;
      return -1;
    }
    return reply.text[0] - '0';
  }

  bool TargetOnBoard() {
    GtpReply reply;
    std::string error;
    return gnugo_.Command("color " + Vertex(problem_.target), &reply, &error) && reply.ok &&
           reply.text != "empty";
  }

  bool Play(char colour, const std::string& vertex, const std::string& line) {
    GtpReply reply;
    std::string error;
    if (!gnugo_.Command(std::string("play ") + colour + ' ' + vertex, &reply, &error) ||
        !reply.ok) {
      faults_->push_back("illegal move " + vertex + " after [" + line + "]: " + error + reply.text);
      return false;
    }
    return true;
  }

  void Undo() {
    GtpReply reply;
    std::string error;
    if (!gnugo_.Command("undo", &reply, &error) || !reply.ok)
      faults_->push_back("GNU Go could not take a move back: " + error + reply.text);
  }

  void Walk(const SgfNode& node, int depth, const std::string& line) {
    const bool userTurn = depth % 2 == 0;
    const char colour = userTurn ? problem_.toPlay : Other(problem_.toPlay);
    for (const auto& child : node.children) {
      const std::string vertex = Vertex(MoveOf(*child, colour));
      if (userTurn && TargetOnBoard()) {
        const bool correct = LeadsToCorrect(*child);
        std::string error;
        const int verdict = Verdict(vertex, &error);
        const std::string where = (line.empty() ? "first move " : "move after [" + line + "] ") +
                                  vertex + " (GNU Go " + std::to_string(verdict) + ")";
        const std::optional<int> misread = depth == 0 ? KnownMisread(*child, colour) : std::nullopt;
        if (verdict < 0) {
          faults_->push_back(where + ": " + error);
        } else if (misread) {
          if (verdict != *misread)
            faults_->push_back(where + " is listed as a known misread of " +
                               std::to_string(*misread) + ", but GNU Go now reads it otherwise");
        } else if (correct) {
          // The first correct move must reach the answer exactly: a ko is not an outright
          // kill or life, and an outright one means the ko answer is wrong.
          const bool ok = !koAnswer_ ? verdict == 1
                                     : (depth == 0 ? verdict == 2 || verdict == 3 : verdict != 0);
          if (!ok) faults_->push_back(where + " is marked correct but does not work");
        } else if (depth == 0) {
          const bool fails = koAnswer_ ? verdict == 0 : verdict != 1;
          if (!fails) faults_->push_back(where + " is marked wrong but works");
        }
      }
      const std::string next = line.empty() ? vertex : line + ' ' + vertex;
      if (!Play(colour, vertex, line)) continue;
      Walk(*child, depth + 1, next);
      Undo();
    }
  }

  // GNU Go's known verdict on the move when it is listed as a misread.
  std::optional<int> KnownMisread(const SgfNode& node, char colour) const {
    const auto it = kKnownMisreads.find(problem_.file);
    const std::string* move = node.Get(std::string(1, colour));
    if (it == kKnownMisreads.end() || move == nullptr) return std::nullopt;
    const auto known = it->second.find(*move);
    if (known == it->second.end()) return std::nullopt;
    return known->second;
  }

  static Point MoveOf(const SgfNode& node, char colour) {
    Point p;
    const std::string* move = node.Get(std::string(1, colour));
    if (move != nullptr) ParsePoint(*move, &p);
    return p;
  }

  GnuGo& gnugo_;
  const Problem& problem_;
  std::vector<std::string>* faults_;
  bool userAttacks_ = false;
  bool koAnswer_ = false;
};

// ---- Manifests ----------------------------------------------------------------------------------

struct Manifest {
  int group = -1;
  int level = -1;
  std::vector<std::pair<std::string, int>> problems;  // file, level
};

bool ReadManifest(const fs::path& path, Manifest* manifest, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "cannot open " + path.string();
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    std::string rest;
    int value = -1;
    if (first == "group" || first == "level") {
      if (!(words >> value) || (words >> rest)) {
        *error = "line " + std::to_string(number) + ": expected one number";
        return false;
      }
      (first == "group" ? manifest->group : manifest->level) = value;
    } else {
      if (manifest->level < 0) {
        *error = "line " + std::to_string(number) + ": problem before the default level";
        return false;
      }
      value = manifest->level;
      if ((words >> rest) && !(std::istringstream(rest) >> value)) {
        *error = "line " + std::to_string(number) + ": unreadable level '" + rest + "'";
        return false;
      }
      manifest->problems.emplace_back(first, value);
    }
  }
  return true;
}

class DataCollections : public ::testing::TestWithParam<Collection> {};

// The manifest lists exactly the folder's SGF files, once each, with levels in the
// collection's range that never go down along the solving order.
TEST_P(DataCollections, ManifestListsEveryProblemInOrder) {
  const Collection& c = GetParam();
  const fs::path folder = fs::path(ZENDRA_DATA_DIR) / c.folder;
  Manifest manifest;
  std::string error;
  ASSERT_TRUE(ReadManifest(folder / "manifest.txt", &manifest, &error)) << error;
  EXPECT_EQ(manifest.group, c.group);
  EXPECT_GE(static_cast<int>(manifest.problems.size()), kMinProblemsPerCollection);
  std::set<std::string> listed;
  int previous = 0;
  for (const auto& [file, level] : manifest.problems) {
    EXPECT_TRUE(listed.insert(file).second) << file << " listed twice";
    EXPECT_TRUE(fs::is_regular_file(folder / file)) << file << " is listed but missing";
    EXPECT_GE(level, c.minLevel) << file;
    EXPECT_LE(level, c.maxLevel) << file;
    EXPECT_GE(level, previous) << file << " is easier than the problem before it";
    previous = level;
  }
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".sgf") continue;
    EXPECT_EQ(listed.count(entry.path().filename().string()), 1u)
        << entry.path().filename() << " is not in the manifest";
  }
}

// Every problem has the expected form, every line is legal, and GNU Go's reading agrees with
// the verdicts of the first moves and of the deeper moves on the correct lines.
TEST_P(DataCollections, EveryProblemIsWellFormedAndReadsRight) {
  const Collection& c = GetParam();
  const fs::path folder = fs::path(ZENDRA_DATA_DIR) / c.folder;
  Manifest manifest;
  std::string error;
  ASSERT_TRUE(ReadManifest(folder / "manifest.txt", &manifest, &error)) << error;
  const bool haveGnuGo = access(kGnuGoPath, X_OK) == 0;
  GnuGo gnugo;
  if (haveGnuGo) {
    ASSERT_TRUE(gnugo.Start(&error)) << error;
  }
  for (const auto& [file, level] : manifest.problems) {
    std::vector<std::string> faults;
    Problem problem;
    if (LoadProblem(folder / file, &problem, &faults) && haveGnuGo)
      ProblemReader(gnugo, problem, &faults).Run();
    for (const std::string& fault : faults)
      ADD_FAILURE() << c.folder << '/' << file << ": " << fault;
  }
  if (!haveGnuGo)
    GTEST_SKIP() << "GNU Go is not installed at " << kGnuGoPath
                 << " (Debian package gnugo); only the form was checked";
}

INSTANTIATE_TEST_SUITE_P(Shipped, DataCollections, ::testing::ValuesIn(kCollections),
                         [](const auto& p) { return std::string(p.param.folder); });

}  // namespace
}  // namespace zendra
