// zendra-owl-compare: the life-and-death solver's verdicts held against GNU Go's owl reading.
//
//   zendra-owl-compare SOURCE... [--collections-only] [--stride N] [--seconds S]
//                      [--gnugo PATH] [--list] [--only TEXT] [--diagrams] [--known FILE]
//
// Imports the problems of the SOURCEs (folders or SGF files, as `zendra-db build` reads them;
// every N-th problem with --stride), and solves each as `zendra-db verify` does (S seconds, default
// 1). For every problem the solver decides, every first move of the user that it judged is put to
// GNU Go (GTP over pipes): the set-up, the rest of the board filled with the attacker's stones so
// that the stones closing the area in are safe (as the data collection test fills it: every point
// farther than one line from the rectangle holding the set-up stones, but for single-point eyes
// on a 4 x 4 lattice), then `owl_does_attack MOVE TARGET` (the user kills) or `owl_does_defend
// MOVE TARGET` (the user lives) on a stone of the target chain. Owl answers 0 (fails), 1 (works)
// or 2 / 3 (works by ko).
//
// A move is counted as agreeing when the solver says "works" and owl 1, or the solver "fails" and
// owl 0. Owl is not reliable on seki (it does not count a seki as life) nor on kos, so every move
// where either side sees a ko or the solver a seki is counted apart, whatever the two say (a kill
// the solver finds failing is looked at again from the defender's side: when he lives only in
// seki, it counts there too); the rest that differ are the disagreements, listed with the
// solver's line, and marked when a chain of the attacker's closing the area in has fewer than three
// liberties outside it (the solver takes the walls as safe; such a chain may not be). Passes are
// not asked.
//
// --only TEXT compares only the problems whose source (file:line:column) contains TEXT;
// --diagrams draws, under the list, the position of each problem with a disagreement: the
// area the solver plays in and its walls, for following the lines by hand.
//
// Every disagreement is followed down the line (FollowUp: owl's moves for its side, the solver's
// for the other): where owl then contradicts its own first answer, the list gives the moves after
// which it does. --known FILE names the disagreements that were checked by hand and found to be
// owl's misreads, one a line:
//   PATH MOVE REASON...
// PATH the end of the problem's file name ("16_kyu/16_kyu_18618.sgf"), MOVE the user's first move
// in point letters; '#' starts a comment. Those are counted apart, and an entry that no longer
// matches a disagreement is listed (it is stale); the rest are the unexplained disagreements.
//
// Exit status: 0 no unexplained disagreement, 1 an unexplained one or a stale entry, 2 wrong
// usage or a malformed --known file, 3 GNU Go cannot be started.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "problem_import/problem_data.h"
#include "problem_import/tree_verify.h"
#include "solving/solver_judge.h"
#include "solving/tree/solution_tree.h"
#include "tests/common/gtp_process.h"

namespace {

using zendra::DataProblem;
using zendra::TreeVerdict;
namespace solver = zendra::solver;

constexpr const char* kGtpColumns = "ABCDEFGHJKLMNOPQRST";
// The exit status when GNU Go cannot be started (a test skips on it).
constexpr int kNoGnuGo = 3;

struct Options {
  std::vector<std::string> sources;
  bool collectionsOnly = false;
  int stride = 1;
  double seconds = 1.0;
  std::string gnugo = "/usr/games/gnugo";
  bool list = false;
  bool diagrams = false;
  std::string only;
  std::string known;  // the file of hand-checked owl misreads
};

int Usage() {
  std::cerr << "usage: zendra-owl-compare SOURCE... [--collections-only] [--stride N] "
               "[--seconds S] [--gnugo PATH] [--list] [--only TEXT] [--diagrams] "
               "[--known FILE]\n";
  return 2;
}

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--collections-only") {
      o->collectionsOnly = true;
    } else if (a == "--list") {
      o->list = true;
    } else if (a == "--stride") {
      if (!value(&v)) return false;
      char* end = nullptr;
      const long n = std::strtol(v.c_str(), &end, 10);
      if (*end != '\0' || n < 1 || n > 1'000'000) return false;
      o->stride = static_cast<int>(n);
    } else if (a == "--seconds") {
      if (!value(&v)) return false;
      char* end = nullptr;
      const double s = std::strtod(v.c_str(), &end);
      if (*end != '\0' || !(s > 0 && s <= 3600)) return false;
      o->seconds = s;
    } else if (a == "--diagrams") {
      o->diagrams = true;
      o->list = true;
    } else if (a == "--known") {
      if (!value(&o->known) || o->known.empty()) return false;
    } else if (a == "--only") {
      if (!value(&o->only) || o->only.empty()) return false;
    } else if (a == "--gnugo") {
      if (!value(&o->gnugo)) return false;
    } else if (!a.empty() && a[0] == '-') {
      return false;
    } else {
      o->sources.push_back(a);
    }
  }
  return !o->sources.empty();
}

std::string Vertex(const solver::Board& board, solver::Point p) {
  std::string vertex = std::to_string(19 - board.Row(p));
  vertex.insert(vertex.begin(), kGtpColumns[board.Column(p)]);
  return vertex;
}

// The set-up commands: every stone of the board, then the filling around the problem.
std::vector<std::string> SetUp(const solver::Board& board, solver::Stone attacker) {
  std::vector<std::string> commands = {"clear_board"};
  int x0 = 18, x1 = 0, y0 = 18, y1 = 0;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 19; ++x) {
      const solver::Stone s = board.Get(board.At(x, y));
      if (s != solver::Stone::Black && s != solver::Stone::White) continue;
      commands.push_back(std::string("play ") + (s == solver::Stone::Black ? "B " : "W ") +
                         Vertex(board, board.At(x, y)));
      x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
  x0 = std::max(0, x0 - 1), y0 = std::max(0, y0 - 1);
  x1 = std::min(18, x1 + 1), y1 = std::min(18, y1 + 1);
  auto inside = [&](int x, int y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
  const std::string colour = attacker == solver::Stone::Black ? "B " : "W ";
  for (int x = 0; x < 19; ++x)
    for (int y = 0; y < 19; ++y) {
      if (inside(x, y)) continue;
      const bool eye = x % 4 == 2 && y % 4 == 2 && !inside(x - 1, y) && !inside(x + 1, y) &&
                       !inside(x, y - 1) && !inside(x, y + 1);
      if (!eye) commands.push_back("play " + colour + Vertex(board, board.At(x, y)));
    }
  return commands;
}

// The defender's best after the attacker's `move`: Seki when the stones live only in seki.
solver::Status DefenderBest(const solver::Problem& problem, solver::Point move,
                            const solver::Budget& budget) {
  solver::Problem after = problem;
  solver::Point ban = solver::kNoPoint;
  if (!after.board.Play(move, problem.attacker, &ban)) return solver::Status::Unknown;
  after.toMove = solver::Opponent(problem.attacker);
  return solver::Analyse(after, budget).status;
}

// The point a GTP vertex ("D17") names on the board, kNoPoint when none.
solver::Point FromVertex(const solver::Board& board, const std::string& vertex) {
  if (vertex.size() < 2) return solver::kNoPoint;
  const char* column =
      std::strchr(kGtpColumns, std::toupper(static_cast<unsigned char>(vertex[0])));
  if (column == nullptr || *column == '\0') return solver::kNoPoint;
  char* end = nullptr;
  const long number = std::strtol(vertex.c_str() + 1, &end, 10);
  const int x = static_cast<int>(column - kGtpColumns);
  const int y = 19 - static_cast<int>(number);
  if (*end != '\0' || x >= board.Width() || y < 0 || y >= board.Height()) return solver::kNoPoint;
  return board.At(x, y);
}

// GNU Go over GTP, started again whenever it ends (owl has been seen to end on a question).
class GnuGo {
 public:
  explicit GnuGo(std::string path) : path_(std::move(path)) {}

  bool Start(std::string* error) {
    process_ = std::make_unique<zendra::test::GtpProcess>();
    zendra::test::GtpReply reply;
    return process_->Start({path_, "--mode", "gtp"}, error) &&
           process_->Command("boardsize 19", &reply, error) && reply.ok;
  }
  // Sends the commands in one write; true when every one succeeded. *crashed: GNU Go gave no
  // answer and was started again.
  bool Batch(const std::vector<std::string>& commands, std::string* error, bool* crashed) {
    std::string text;
    for (const std::string& c : commands) text += c + '\n';
    std::vector<zendra::test::GtpReply> replies;
    *crashed = !process_->Exchange(text, static_cast<int>(commands.size()), &replies, error);
    if (*crashed) {
      Restart(error);
      return false;
    }
    for (const auto& r : replies)
      if (!r.ok) return false;
    return true;
  }
  bool Ask(const std::string& command, zendra::test::GtpReply* reply, std::string* error,
           bool* crashed) {
    *crashed = !process_->Command(command, reply, error);
    if (*crashed) {
      Restart(error);
      return false;
    }
    return true;
  }

 private:
  void Restart(std::string* error) {
    std::string why;
    if (!Start(&why)) *error += "; starting GNU Go again failed: " + why;
  }

  std::string path_;
  std::unique_ptr<zendra::test::GtpProcess> process_;
};

// True when a chain of the attacker's that closes the area in has fewer than three liberties
// outside it: the solver takes the walls as safe, which such a chain may well not be.
bool HasWeakWall(const solver::Problem& problem) {
  const solver::Board& board = problem.board;
  std::vector<bool> inRegion(static_cast<std::size_t>(board.Cells()), false);
  for (solver::Point p : problem.region) inRegion[static_cast<std::size_t>(p)] = true;
  std::vector<bool> seen(inRegion.size(), false);
  for (solver::Point p : problem.region)
    for (solver::Point n : board.Neighbours(p)) {
      if (board.Get(n) != problem.attacker || inRegion[static_cast<std::size_t>(n)] ||
          seen[static_cast<std::size_t>(n)])
        continue;
      std::vector<bool> liberty(inRegion.size(), false);
      int outside = 0;
      for (solver::Point q : board.Chain(n)) {
        seen[static_cast<std::size_t>(q)] = true;
        for (solver::Point l : board.Neighbours(q)) {
          const auto i = static_cast<std::size_t>(l);
          if (board.Get(l) != solver::Stone::Empty || inRegion[i] || liberty[i]) continue;
          liberty[i] = true;
          ++outside;
        }
      }
      if (outside < 3) return true;
    }
  return false;
}

// What the problem's own tree says of a first move of the user: "correct" when some line below
// it ends in a success, "wrong" when none does, "not in the tree" when the tree lacks it.
const char* TreeSays(const DataProblem& p, const solver::Board& board, solver::Point move) {
  zendra::SolutionTree tree;
  if (tree.LoadSolution(p.solution) != zendra::SolutionTree::LoadResult::kLoaded ||
      tree.FirstRoot() == zendra::kNoNode)
    return "not in the tree";
  bool found = false;
  for (zendra::NodeId c = tree.FirstChild(tree.FirstRoot()); c != zendra::kNoNode;
       c = tree.NextSibling(c)) {
    if (zendra::SolverPoint(board, tree.NodePoint(c)) != move) continue;
    found = true;
    const int level = tree.Level(c);
    for (zendra::NodeId n = c; n != zendra::kNoNode; n = tree.Successor(n)) {
      if (n != c && tree.Level(n) <= level) break;
      if (!tree.HasChildren(n) && zendra::IsSuccess(tree.NodeCode(n))) return "correct";
    }
  }
  return found ? "wrong" : "not in the tree";
}

// The position around the area, in point letters along the top and the left: X and O are the
// stones outside the area, x and o those inside it (the target chain's as '#'), ',' the empty
// points of the area and '.' the others; two lines beyond the area are shown.
std::string Diagram(const solver::Problem& problem) {
  const solver::Board& board = problem.board;
  std::vector<bool> inRegion(static_cast<std::size_t>(board.Cells()), false);
  int x0 = board.Width(), x1 = -1, y0 = board.Height(), y1 = -1;
  for (solver::Point p : problem.region) {
    inRegion[static_cast<std::size_t>(p)] = true;
    x0 = std::min(x0, board.Column(p)), x1 = std::max(x1, board.Column(p));
    y0 = std::min(y0, board.Row(p)), y1 = std::max(y1, board.Row(p));
  }
  if (x1 < 0) return "";
  x0 = std::max(0, x0 - 2), y0 = std::max(0, y0 - 2);
  x1 = std::min(board.Width() - 1, x1 + 2), y1 = std::min(board.Height() - 1, y1 + 2);
  std::vector<bool> target(inRegion.size(), false);
  if (!problem.targets.empty())
    for (solver::Point p : board.Chain(problem.targets.front()))
      target[static_cast<std::size_t>(p)] = true;
  std::string text = std::string("  target ") +
                     (problem.attacker == solver::Stone::Black ? 'O' : 'X') + " ('#'), " +
                     (problem.toMove == problem.attacker ? "the attacker" : "the defender") +
                     " to move\n    ";
  for (int x = x0; x <= x1; ++x) text += static_cast<char>('A' + x);
  text += '\n';
  for (int y = y0; y <= y1; ++y) {
    text += "  ";
    text += static_cast<char>('A' + y);
    text += ' ';
    for (int x = x0; x <= x1; ++x) {
      const solver::Point p = board.At(x, y);
      const auto i = static_cast<std::size_t>(p);
      switch (board.Get(p)) {
        case solver::Stone::Black:
          text += target[i] ? '#' : inRegion[i] ? 'x' : 'X';
          break;
        case solver::Stone::White:
          text += target[i] ? '#' : inRegion[i] ? 'o' : 'O';
          break;
        default:
          text += inRegion[i] ? ',' : '.';
          break;
      }
    }
    text += '\n';
  }
  return text;
}

// Whether owl holds to its verdict further down the line, where the solver says it is wrong.
// From the position after the move, the side owl lets win names its move (owl's own answer to
// its question) and the other side plays the solver's best move, for up to kFollowMoves of owl's
// moves. When owl, asked again, no longer finds a way for its side, it contradicts its first
// reading: the note gives the moves after which it does ("owl agrees after EA", or right after
// the move when its two questions disagree on the same position). A move of owl's outside the
// area is noted too (the solver does not play there). Empty when owl holds to its verdict, a ko
// comes in, or the question cannot be put.
constexpr int kFollowMoves = 4;

std::string FollowUp(GnuGo& gnugo, const std::vector<std::string>& setup,
                     const solver::Problem& problem, bool userKills, const solver::MoveVerdict& m,
                     const std::string& target, const solver::Budget& budget, std::string* error) {
  const solver::Board& board = problem.board;
  const solver::Stone user = problem.toMove;
  // The side owl lets win, and the owl question for each side (the side to move succeeds).
  const solver::Stone owlSide = m.status == solver::Status::Works ? solver::Opponent(user) : user;
  auto question = [&](solver::Stone side) {
    return std::string((side == user) == userKills ? "owl_attack " : "owl_defend ");
  };
  auto gtpColour = [](solver::Stone s) { return s == solver::Stone::Black ? "B " : "W "; };
  const solver::Point targetPoint = problem.targets.front();
  const std::vector<solver::Point>& region = problem.region;
  bool crashed = false;
  zendra::test::GtpReply reply;
  std::vector<std::string> commands = setup;
  solver::Problem position = problem;
  solver::Point ban = solver::kNoPoint;
  std::string line;  // the moves after the user's, in point letters
  auto play = [&](solver::Point p) {
    const solver::Stone side = position.toMove;
    if (p == solver::kPass) {
      commands.push_back(std::string("play ") + gtpColour(side) + "pass");
    } else {
      if (!position.board.Play(p, side, &ban)) return false;
      commands.push_back(std::string("play ") + gtpColour(side) + Vertex(board, p));
    }
    position.toMove = solver::Opponent(side);
    return position.board.Get(targetPoint) == problem.board.Get(targetPoint);
  };
  if (!play(m.move)) return "";
  for (int owlMoves = 0; owlMoves <= kFollowMoves;) {
    const solver::Stone side = position.toMove;
    if (side == owlSide) {
      if (!gnugo.Batch(commands, error, &crashed) ||
          !gnugo.Ask(question(side) + target, &reply, error, &crashed) || !reply.ok ||
          reply.text.empty() || !std::isdigit(static_cast<unsigned char>(reply.text[0])))
        return "";
      const int owl = reply.text[0] - '0';
      if (owl == 0)
        return line.empty() ? "owl agrees right after the move" : "owl agrees after" + line;
      if (owl != 1 || owlMoves == kFollowMoves) return "";
      const solver::Point p = FromVertex(board, reply.text.size() > 2 ? reply.text.substr(2) : "");
      if (p == solver::kNoPoint) return "";
      line += ' ' + zendra::PointLetters(board, p);
      if (std::find(region.begin(), region.end(), p) == region.end())
        return "owl's move outside the area after" + line;
      if (!play(p)) return "";
      ++owlMoves;
    } else {
      const solver::Analysis a = solver::Analyse(position, budget);
      if (a.status != solver::Status::Works || a.principalLine.empty()) return "";
      line += ' ' + zendra::PointLetters(board, a.principalLine.front());
      if (!play(a.principalLine.front())) return "";
    }
  }
  return "";
}

struct KnownMisread {
  std::string path;  // the end of the problem's file name
  std::string move;  // point letters
  std::string reason;
  bool seen = false;  // the problem was among those compared
  bool met = false;   // and the move disagreed
};

// Reads the file of hand-checked misreads; false with the line at fault.
bool ReadKnown(const std::string& file, std::vector<KnownMisread>* known, std::string* error) {
  std::ifstream in(file);
  if (!in) {
    *error = "cannot read " + file;
    return false;
  }
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    const std::size_t hash = text.find('#');
    if (hash != std::string::npos) text.erase(hash);
    std::istringstream words(text);
    KnownMisread k;
    if (!(words >> k.path)) continue;
    std::getline(words >> k.move >> std::ws, k.reason);
    if (k.move.size() != 2 || !std::isupper(static_cast<unsigned char>(k.move[0])) ||
        !std::isupper(static_cast<unsigned char>(k.move[1])) || k.reason.empty()) {
      *error = file + ":" + std::to_string(number) + ": expected PATH MOVE REASON";
      return false;
    }
    known->push_back(std::move(k));
  }
  return true;
}

// Whether the entry names the problem from `source` ("file:line:column").
bool Names(const KnownMisread& k, const std::string& source) {
  const std::string file = source.substr(0, source.rfind(':', source.rfind(':') - 1));
  return file.size() >= k.path.size() &&
         file.compare(file.size() - k.path.size(), k.path.size(), k.path) == 0 &&
         (file.size() == k.path.size() || file[file.size() - k.path.size() - 1] == '/');
}

struct Counts {
  int problems = 0;
  int decided = 0;
  int compared = 0;        // decided problems whose position GNU Go accepted
  int moves = 0;           // moves put to owl
  int agree = 0;           // works / 1, fails / 0
  int koOrSeki = 0;        // a ko on either side or a seki: owl is not reliable there
  int koAgree = 0;         // of those, the solver's ko and owl's ko
  int sekiFound = 0;       // of those, a kill that fails to a seki (owl reads a kill)
  int disagree = 0;        // the rest
  int known = 0;           // of those, hand-checked owl misreads
  int contradicts = 0;     // of the others, where owl contradicts itself further down the line
  int leavesArea = 0;      // of the others, where owl's line plays outside the area
  int treeWithSolver = 0;  // of the others, where the problem's tree sides with the solver
  std::map<std::string, int> disagreeBy;  // "solver works, owl 0"
  int problemsWithDisagreement = 0;
  int problemsWeakWall = 0;  // of those, problems with a wall short of liberties
  int refused = 0;           // positions GNU Go would not set up
  int unanswered = 0;        // owl questions GNU Go did not answer (it ended on them)
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return Usage();
  zendra::BuildOptions build;
  build.collectionsOnly = options.collectionsOnly;
  zendra::BuildReport report;
  zendra::BuildFromSources(options.sources, build, &report);
  for (const std::string& e : report.errors) std::cerr << e << "\n";

  std::vector<KnownMisread> known;
  std::string error;
  if (!options.known.empty() && !ReadKnown(options.known, &known, &error)) {
    std::cerr << error << "\n";
    return 2;
  }
  if (access(options.gnugo.c_str(), X_OK) != 0) {
    std::cerr << "GNU Go is not installed at " << options.gnugo << " (Debian package gnugo)\n";
    return kNoGnuGo;
  }
  GnuGo gnugo{options.gnugo};
  if (!gnugo.Start(&error)) {
    std::cerr << "cannot start GNU Go (" << options.gnugo << "): " << error << "\n";
    return kNoGnuGo;
  }
  zendra::test::GtpReply reply;

  Counts counts;
  const solver::Budget budget{static_cast<uint64_t>(2'000'000 * options.seconds), options.seconds};
  for (std::size_t i = 0; i < report.problems.size();
       i += static_cast<std::size_t>(options.stride)) {
    const DataProblem& p = report.problems[i];
    if (!options.only.empty() && p.source.find(options.only) == std::string::npos) continue;
    ++counts.problems;
    for (KnownMisread& k : known) k.seen = k.seen || Names(k, p.source);
    const TreeVerdict v = zendra::VerifyTree(p, budget);
    if (!v.decided || !v.problem || v.problem->targets.empty()) continue;
    ++counts.decided;
    const solver::Problem& problem = *v.problem;
    const solver::Board& board = problem.board;
    const std::vector<std::string> setup = SetUp(board, problem.attacker);
    bool crashed = false;
    bool accepted = gnugo.Batch(setup, &error, &crashed);
    if (!accepted && crashed) accepted = gnugo.Batch(setup, &error, &crashed);
    if (!accepted) {
      ++counts.refused;
      if (options.list) std::cout << p.source << ": GNU Go refused the position\n";
      continue;
    }
    ++counts.compared;
    const std::string target = Vertex(board, problem.targets.front());
    bool problemDisagrees = false;
    for (const solver::MoveVerdict& m : v.start.moves) {
      if (m.move == solver::kPass || m.status == solver::Status::Unknown) continue;
      const std::string command =
          std::string(v.userKills ? "owl_does_attack " : "owl_does_defend ") +
          Vertex(board, m.move) + " " + target;
      if (!gnugo.Ask(command, &reply, &error, &crashed) || !reply.ok || reply.text.empty() ||
          !std::isdigit(static_cast<unsigned char>(reply.text[0]))) {
        std::cerr << p.source << ": " << command << ": " << error << reply.text << "\n";
        ++counts.unanswered;
        // GNU Go ended on the question: the next ones need it started and set up again.
        if (crashed && !gnugo.Batch(setup, &error, &crashed)) break;
        continue;
      }
      const int owl = reply.text[0] - '0';
      ++counts.moves;
      const bool owlKo = owl == 2 || owl == 3;
      const bool solverKo =
          m.status == solver::Status::WorksByKo || m.status == solver::Status::Seki;
      if (owlKo || solverKo) {
        ++counts.koOrSeki;
        if (owlKo && m.status == solver::Status::WorksByKo) ++counts.koAgree;
        continue;
      }
      const bool solverWorks = m.status == solver::Status::Works;
      if ((solverWorks && owl == 1) || (!solverWorks && owl == 0)) {
        ++counts.agree;
        continue;
      }
      // A kill that fails may fail to a seki, which owl reads as a kill.
      if (v.userKills && m.status == solver::Status::Fails &&
          DefenderBest(problem, m.move, budget) == solver::Status::Seki) {
        ++counts.koOrSeki;
        ++counts.sekiFound;
        continue;
      }
      ++counts.disagree;
      problemDisagrees = true;
      const bool weakWall = HasWeakWall(problem);
      ++counts.disagreeBy[std::string("solver ") + solver::StatusName(m.status) + ", owl " +
                          std::to_string(owl)];
      const std::string letters = zendra::PointLetters(board, m.move);
      KnownMisread* checked = nullptr;
      for (KnownMisread& k : known)
        if (k.move == letters && Names(k, p.source)) checked = &k;
      std::string note;
      const char* tree = TreeSays(p, board, m.move);
      if (checked != nullptr) {
        checked->met = true;
        ++counts.known;
        note = "checked by hand: " + checked->reason;
      } else {
        note = FollowUp(gnugo, setup, problem, v.userKills, m, target, budget, &error);
        // The follow-up played moves: the next questions need the position set up again.
        if (!gnugo.Batch(setup, &error, &crashed) && !gnugo.Batch(setup, &error, &crashed)) break;
        counts.contradicts += note.rfind("owl agrees", 0) == 0 ? 1 : 0;
        counts.leavesArea += note.rfind("owl's move outside", 0) == 0 ? 1 : 0;
        counts.treeWithSolver += std::string(tree) == (solverWorks ? "correct" : "wrong") ? 1 : 0;
      }
      if (options.list) {
        std::string line;
        for (solver::Point q : m.line) {
          line += ' ';
          line += zendra::PointLetters(board, q);
        }
        std::cout << p.source << " (problem " << p.number
                  << "): " << (v.userKills ? "kill" : "live") << ", move "
                  << zendra::PointLetters(board, m.move) << ": solver "
                  << solver::StatusName(m.status) << (line.empty() ? "" : ":" + line) << "; owl "
                  << owl << (weakWall ? " (a wall short of liberties)" : "") << "; tree: " << tree
                  << (note.empty() ? "" : "; " + note) << "\n";
      }
    }
    if (problemDisagrees && options.diagrams) std::cout << Diagram(problem);
    counts.problemsWithDisagreement += problemDisagrees ? 1 : 0;
    counts.problemsWeakWall += problemDisagrees && HasWeakWall(problem) ? 1 : 0;
  }
  std::cout << "problems " << counts.problems << ", decided by the solver " << counts.decided
            << ", set up in GNU Go " << counts.compared << " (refused " << counts.refused << ")\n"
            << "first moves compared " << counts.moves << ": agree " << counts.agree
            << ", ko or seki (owl unreliable) " << counts.koOrSeki
            << " (both a ko: " << counts.koAgree
            << "; a failed kill that leaves a seki: " << counts.sekiFound << "), unanswered by owl "
            << counts.unanswered << ", disagree " << counts.disagree << " in "
            << counts.problemsWithDisagreement << " problems (" << counts.problemsWeakWall
            << " of them with a wall that has fewer than three liberties outside the area)\n";
  for (const auto& [kind, n] : counts.disagreeBy) std::cout << "  " << kind << ": " << n << "\n";
  const int unexplained = counts.disagree - counts.known;
  if (!options.known.empty())
    std::cout << "  owl misreads checked by hand (" << options.known << "): " << counts.known
              << "\n";
  std::cout << "  unexplained: " << unexplained
            << " (owl contradicts itself further down the line: " << counts.contradicts
            << "; owl's line leaves the area: " << counts.leavesArea
            << "; the problem's tree sides with the solver: " << counts.treeWithSolver << ")\n";
  int stale = 0;
  for (const KnownMisread& k : known)
    if (k.seen && !k.met) {
      ++stale;
      std::cout << "stale entry (no such disagreement): " << k.path << " " << k.move << "\n";
    }
  return unexplained == 0 && stale == 0 ? 0 : 1;
}
