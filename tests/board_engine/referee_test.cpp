// Rules referee: seeded random games played move by move on our engine and on GNU Go (GTP over
// two pipes). After every attempt both must agree on whether the move was accepted, on the whole
// position (GNU Go's `printsgf` dump through a FIFO, cross-checked by `list_stones` at the end of
// each game) and on the side to move. GNU Go runs with simple ko and suicide forbidden (its
// defaults, passed explicitly as --simple-ko --forbid-suicide), which are our engine's rules.
//
// Coordinates: our (p, q) has q = 1 at the TOP; GTP has row 1 at the BOTTOM and skips the
// column letter I. So (p, q) is GTP column kGtpColumns[p - 1], row 20 - q. SGF letters count
// like ours: "dp" is (4, 16), GTP D4.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "tests/common/gtp_process.h"

extern char** environ;

namespace zendra {
namespace {

using test::GtpProcess;
using test::GtpReply;

constexpr const char* kGnuGoPath = "/usr/games/gnugo";
constexpr const char* kGtpColumns = "ABCDEFGHJKLMNOPQRST";

constexpr int kGames = 200;  // also under the sanitizers: the cost is the pipe I/O
constexpr int kAttemptsPerGame = 300;
constexpr uint32_t kBaseSeed = 20240611;

// ---- Coordinates and positions ------------------------------------------------------------------

std::string GtpVertex(int p, int q) {
  if (p == kPassCoord && q == kPassCoord) return "pass";
  return std::string(1, kGtpColumns[p - 1]) + std::to_string(20 - q);
}

const char* GtpColour(Colour turn) { return turn > 0 ? "B" : "W"; }

// A 19 x 19 position: 'X', 'O' or '.', indexed [q - 1][p - 1] (rows from the top as ours).
using Position = std::array<std::array<char, 19>, 19>;

Position EmptyPosition() {
  Position pos;
  for (auto& row : pos) row.fill('.');
  return pos;
}

Position EnginePosition(const LattixEngine& board) {
  Position pos = EmptyPosition();
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) {
      const Colour c = board.GetPoint(p, q);
      pos[q - 1][p - 1] = c == 0 ? '.' : (c > 0 ? 'X' : 'O');
    }
  return pos;
}

// Fills one colour of a GTP `list_stones` reply ("A2 C19 ...") into pos; false when a vertex
// cannot be read.
bool AddGtpStones(const std::string& list, char stone, Position* pos) {
  std::istringstream in(list);
  std::string vertex;
  while (in >> vertex) {
    if (vertex.size() < 2) return false;
    const char* col = std::strchr(kGtpColumns, std::toupper(static_cast<unsigned char>(vertex[0])));
    if (col == nullptr || *col == '\0') return false;
    const int row = std::atoi(vertex.c_str() + 1);
    if (row < 1 || row > 19) return false;
    const int p = static_cast<int>(col - kGtpColumns) + 1;
    const int q = 20 - row;
    if ((*pos)[q - 1][p - 1] != '.') return false;
    (*pos)[q - 1][p - 1] = stone;
  }
  return true;
}

std::string Show(const Position& pos) {
  std::string out = "   ";
  for (int p = 0; p < 19; ++p) out += kGtpColumns[p];
  out += '\n';
  for (int q = 0; q < 19; ++q) {
    const int row = 19 - q;
    out += (row < 10 ? " " : "") + std::to_string(row) + ' ';
    for (int p = 0; p < 19; ++p) out += pos[q][p];
    out += '\n';
  }
  return out;
}

// Reads the position GNU Go's `printsgf FILE` wrote: the set-up properties AB and AW (single
// points "[dp]" or rectangles "[aa:cc]"; SGF letters count columns from the left and rows from
// the top, as ours do) and PL, the side to move ('B', 'W', or 0 when absent).
bool ParseSgfPosition(const std::string& sgf, Position* pos, char* toMove, std::string* error) {
  *pos = EmptyPosition();
  *toMove = 0;
  std::size_t i = 0;
  while (i < sgf.size()) {
    if (!std::isupper(static_cast<unsigned char>(sgf[i]))) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < sgf.size() && std::isupper(static_cast<unsigned char>(sgf[j]))) ++j;
    const std::string name = sgf.substr(i, j - i);
    i = j;
    while (i < sgf.size() && (sgf[i] == '[' || std::isspace(static_cast<unsigned char>(sgf[i])))) {
      if (sgf[i] != '[') {
        ++i;
        continue;
      }
      const std::size_t close = sgf.find(']', i);
      if (close == std::string::npos) {
        *error = "unterminated SGF value";
        return false;
      }
      const std::string value = sgf.substr(i + 1, close - i - 1);
      i = close + 1;
      if (name == "PL") *toMove = value.empty() ? 0 : value[0];
      if (name != "AB" && name != "AW") continue;
      auto coord = [](char c) { return c - 'a' + 1; };
      int p1, q1, p2, q2;
      if (value.size() == 2) {
        p1 = p2 = coord(value[0]);
        q1 = q2 = coord(value[1]);
      } else if (value.size() == 5 && value[2] == ':') {
        p1 = coord(value[0]), q1 = coord(value[1]), p2 = coord(value[3]), q2 = coord(value[4]);
      } else {
        *error = "unreadable SGF point '" + value + "'";
        return false;
      }
      for (int p = std::min(p1, p2); p <= std::max(p1, p2); ++p)
        for (int q = std::min(q1, q2); q <= std::max(q1, q2); ++q) {
          if (p < 1 || p > 19 || q < 1 || q > 19 || (*pos)[q - 1][p - 1] != '.') {
            *error = "SGF point '" + value + "' off the board or listed twice";
            return false;
          }
          (*pos)[q - 1][p - 1] = name == "AB" ? 'X' : 'O';
        }
    }
  }
  return true;
}

// GNU Go's position dumps go to a FIFO in a private directory: `printsgf FILE` opens FILE with
// O_TRUNC, which on a disk file system can take milliseconds; through a FIFO that we hold open
// for reading, the dump is one write into a pipe. Removed with the directory at the end.
class DumpFifo {
 public:
  DumpFifo() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string base =
        tmp != nullptr && *tmp != '\0' && std::strchr(tmp, ' ') == nullptr ? tmp : "/tmp";
    std::string pattern = base + "/zendra-referee-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return;
    dir_ = pattern;
    if (mkfifo(Path().c_str(), 0600) != 0) return;
    fd_ = open(Path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  ~DumpFifo() {
    if (fd_ >= 0) close(fd_);
    if (dir_.empty()) return;
    unlink(Path().c_str());
    rmdir(dir_.c_str());
  }
  DumpFifo(const DumpFifo&) = delete;
  DumpFifo& operator=(const DumpFifo&) = delete;

  bool ok() const { return fd_ >= 0; }
  std::string Path() const { return dir_ + "/position.sgf"; }

  // Everything written since the last call; GNU Go has closed its end before it answers.
  std::string Take() {
    std::string text;
    char chunk[4096];
    for (;;) {
      const ssize_t n = read(fd_, chunk, sizeof chunk);
      if (n > 0) {
        text.append(chunk, static_cast<std::size_t>(n));
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        break;  // 0: no writer and nothing left; -1/EAGAIN: nothing left
      }
    }
    return text;
  }

 private:
  std::string dir_;
  int fd_ = -1;
};

// ---- The referee --------------------------------------------------------------------------------

class GnuGoReferee : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access(kGnuGoPath, X_OK) != 0)
      GTEST_SKIP() << "GNU Go is not installed at " << kGnuGoPath
                   << " (Debian package gnugo); the rules referee cannot run";
    std::string error;
    ASSERT_TRUE(gnugo_.Start(
        {kGnuGoPath, "--mode", "gtp", "--simple-ko", "--forbid-suicide", "--komi", "6.5"}, &error))
        << error;
    GtpReply reply;
    ASSERT_TRUE(gnugo_.Command("protocol_version", &reply, &error)) << error;
    ASSERT_TRUE(reply.ok);
    ASSERT_TRUE(gnugo_.Command("boardsize 19", &reply, &error)) << error;
    ASSERT_TRUE(reply.ok);
  }

  void NewGtpGame() {
    GtpReply reply;
    std::string error;
    ASSERT_TRUE(gnugo_.Command("clear_board", &reply, &error)) << error;
    ASSERT_TRUE(reply.ok);
    ASSERT_TRUE(gnugo_.Command("komi 6.5", &reply, &error)) << error;
    ASSERT_TRUE(reply.ok);
  }

  // "play <colour> <vertex>" for a list of "B D4"-style moves; returns the ok flags.
  std::vector<bool> PlayGtp(const std::vector<std::string>& moves) {
    std::vector<bool> result;
    for (const std::string& m : moves) {
      GtpReply reply;
      std::string error;
      EXPECT_TRUE(gnugo_.Command("play " + m, &reply, &error)) << error;
      result.push_back(reply.ok);
    }
    return result;
  }

  // Both colours' stones as GNU Go sees them.
  bool GtpPosition(Position* pos, std::string* error) {
    std::vector<GtpReply> replies;
    if (!gnugo_.Exchange("list_stones black\nlist_stones white\n", 2, &replies, error))
      return false;
    *pos = EmptyPosition();
    if (!replies[0].ok || !replies[1].ok || !AddGtpStones(replies[0].text, 'X', pos) ||
        !AddGtpStones(replies[1].text, 'O', pos)) {
      *error =
          "unreadable list_stones replies: '" + replies[0].text + "' / '" + replies[1].text + "'";
      return false;
    }
    return true;
  }

  GtpProcess gnugo_;
};

// GNU Go must refuse suicide (of one stone and of a chain) and an immediate ko retake, and
// allow the retake after a pass or another pair of moves: the simple ko rule.
TEST_F(GnuGoReferee, ProbesConfirmSimpleKoAndNoSuicide) {
  // Single-stone suicide in the corner: black A2 and B1, white A1.
  NewGtpGame();
  EXPECT_EQ(PlayGtp({"B A2", "B B1", "W A1"}), (std::vector<bool>{true, true, false}));

  // Chain suicide: white A1-B1 plays A2 against black C1, B2, A3 with no capture.
  NewGtpGame();
  EXPECT_EQ(PlayGtp({"B C1", "B B2", "B A3", "W A1", "W B1", "W A2"}),
            (std::vector<bool>{true, true, true, true, true, false}));

  // A stone with no liberty of its own that captures is legal: black A1 takes white B1 and A2.
  NewGtpGame();
  EXPECT_EQ(PlayGtp({"B C1", "B B2", "B A3", "W B1", "W A2", "B A1"}),
            (std::vector<bool>(6, true)));

  // Ko around C4/D4: black C5 B4 C3, white D5 E4 D3; white C4, black D4 captures it.
  for (const char* between : {"", "pass", "pair"}) {
    SCOPED_TRACE(std::string("between: ") + between);
    NewGtpGame();
    EXPECT_EQ(PlayGtp({"B C5", "B B4", "B C3", "W D5", "W E4", "W D3", "W C4", "B D4"}),
              (std::vector<bool>(8, true)));
    Position pos;
    std::string error;
    ASSERT_TRUE(GtpPosition(&pos, &error)) << error;
    EXPECT_EQ(pos[20 - 4 - 1][2], '.') << "black D4 should have taken C4\n" << Show(pos);
    const std::string b(between);
    if (b.empty()) {
      EXPECT_EQ(PlayGtp({"W C4"}), std::vector<bool>{false}) << "immediate ko retake";
    } else if (b == "pass") {
      EXPECT_EQ(PlayGtp({"W pass", "B pass", "W C4"}), (std::vector<bool>{true, true, true}));
    } else {
      EXPECT_EQ(PlayGtp({"W Q16", "B Q4", "W C4"}), (std::vector<bool>{true, true, true}));
    }
  }

  // The same ko on our engine: GTP C4 is our (3, 16), D4 is (4, 16).
  LattixEngine board;
  board.SetArrangedSideP("COBPCQ");  // C5 B4 C3
  board.SetArrangedSideN("DOEPDQ");  // D5 E4 D3
  board.SetFirstToPlay(kWhite);
  board.NewGame(false);
  ASSERT_TRUE(board.PlayGoMove(3, 16, false));   // W C4
  ASSERT_TRUE(board.PlayGoMove(4, 16, false));   // B D4 takes C4
  EXPECT_FALSE(board.PlayGoMove(3, 16, false));  // W C4 retake refused
}

// What the random games exercised, so that a change of the generator cannot silently stop
// testing the interesting cases.
struct RefereeStats {
  int attempts = 0;
  int stonesPlayed = 0;
  int passes = 0;
  int capturingMoves = 0;
  int multiStoneCaptures = 0;
  int refusedOccupied = 0;
  int refusedKo = 0;       // refused on the point of a single stone just captured
  int refusedSuicide = 0;  // every other refusal of an empty point
  int legalRetakes = 0;    // accepted on the point of an earlier capture
};

// One referee game; returns a failure message or an empty string.
std::string PlayRefereeGame(GtpProcess& gnugo, DumpFifo& dump, uint32_t seed, int game,
                            RefereeStats& stats) {
  std::mt19937 rng(seed);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };

  LattixEngine board;
  board.NewGame(false);
  std::string error;
  std::vector<GtpReply> replies;
  if (!gnugo.Exchange("clear_board\nkomi 6.5\n", 2, &replies, &error)) return error;

  // Most games play in a small region so that fights, captures and kos come up quickly.
  static constexpr int kRegionSizes[] = {4, 5, 6, 7, 9, 11, 19};
  int size = kRegionSizes[uniform(0, 6)];
  int p0 = uniform(1, 20 - size), q0 = uniform(1, 20 - size);
  if (chance(0.5)) {  // snap to an edge or corner
    p0 = chance(0.5) ? 1 : 20 - size;
    if (chance(0.6)) q0 = chance(0.5) ? 1 : 20 - size;
  }

  std::vector<std::pair<int, int>> recentCaptures;  // newest last
  std::string history;                              // the GTP moves so far, for the failure message

  for (int attempt = 1; attempt <= kAttemptsPerGame; ++attempt) {
    const Colour turn = board.Turn();
    const Position before = EnginePosition(board);
    auto cell = [&](int p, int q) { return before[q - 1][p - 1]; };
    const char theirs = turn > 0 ? 'O' : 'X';

    // Choose the attempt.
    int p = 0, q = 0;
    const char* kind = "random";
    const double u = std::uniform_real_distribution<double>(0, 1)(rng);
    std::vector<std::pair<int, int>> candidates;
    if (u < 0.04) {
      p = q = kPassCoord;
      kind = "pass";
    } else if (u < 0.20 && !recentCaptures.empty()) {
      // Retake: the point of the last capture (an immediate ko retake when it was one stone),
      // or of an older one.
      const auto& c = chance(0.7)
                          ? recentCaptures.back()
                          : recentCaptures[uniform(0, static_cast<int>(recentCaptures.size()) - 1)];
      p = c.first;
      q = c.second;
      kind = "retake";
    } else if (u < 0.34) {
      // Suicide candidates: empty points with no empty neighbour, preferring those whose
      // neighbours are all the opponent's.
      std::vector<std::pair<int, int>> surrounded;
      for (int pp = 1; pp <= 19; ++pp)
        for (int qq = 1; qq <= 19; ++qq) {
          if (cell(pp, qq) != '.') continue;
          bool anyEmpty = false, allTheirs = true;
          const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
          for (const auto& dd : d) {
            const int np = pp + dd[0], nq = qq + dd[1];
            if (np < 1 || np > 19 || nq < 1 || nq > 19) continue;
            if (cell(np, nq) == '.') anyEmpty = true;
            if (cell(np, nq) != theirs) allTheirs = false;
          }
          if (anyEmpty) continue;
          candidates.emplace_back(pp, qq);
          if (allTheirs) surrounded.emplace_back(pp, qq);
        }
      const auto& pool = !surrounded.empty() && chance(0.6) ? surrounded : candidates;
      if (!pool.empty()) {
        const auto& c = pool[uniform(0, static_cast<int>(pool.size()) - 1)];
        p = c.first;
        q = c.second;
        kind = "surrounded";
      }
    } else if (u < 0.42) {
      for (int pp = 1; pp <= 19; ++pp)
        for (int qq = 1; qq <= 19; ++qq)
          if (cell(pp, qq) != '.') candidates.emplace_back(pp, qq);
      if (!candidates.empty()) {
        const auto& c = candidates[uniform(0, static_cast<int>(candidates.size()) - 1)];
        p = c.first;
        q = c.second;
        kind = "occupied";
      }
    }
    if (p == 0) {
      // A random point of the region, mostly an empty one; a region that has filled up grows.
      std::vector<std::pair<int, int>> empty;
      for (int grow = 0; grow < 19 && empty.size() < 3; ++grow) {
        empty.clear();
        for (int pp = p0; pp < p0 + size; ++pp)
          for (int qq = q0; qq < q0 + size; ++qq)
            if (cell(pp, qq) == '.') empty.emplace_back(pp, qq);
        if (empty.size() < 3 && size < 19) {
          ++size;
          p0 = std::max(1, std::min(p0 - uniform(0, 1), 20 - size));
          q0 = std::max(1, std::min(q0 - uniform(0, 1), 20 - size));
        }
      }
      if (!empty.empty() && chance(0.9)) {
        const auto& c = empty[uniform(0, static_cast<int>(empty.size()) - 1)];
        p = c.first;
        q = c.second;
      } else {
        p = uniform(p0, p0 + size - 1);
        q = uniform(q0, q0 + size - 1);
      }
    }

    const std::string vertex = GtpVertex(p, q);
    const std::string move = std::string(GtpColour(turn)) + " " + vertex;

    // Our engine first: what it predicts, then what it does.
    const bool isPass = p == kPassCoord && q == kPassCoord;
    const int moveNumber = board.NextMove();
    const int check = isPass ? -1 : board.CheckGoMove(p, q);
    const bool ours = board.PlayGoMove(p, q, false);

    // GNU Go: the move, then its whole position, one exchange per attempt. `printsgf FILE`
    // writes the position as SGF set-up stones in one buffered write; `list_stones` would cost
    // GNU Go two unbuffered writes per stone (it is used as a cross-check at the end of a game).
    if (!gnugo.Exchange("play " + move + "\nprintsgf " + dump.Path() + "\n", 2, &replies, &error))
      return error;
    const bool theirsAccepted = replies[0].ok;
    const std::string sgf = dump.Take();
    if (!replies[1].ok || sgf.find(')') == std::string::npos)
      return "GNU Go could not dump its position to " + dump.Path() + ": '" + replies[1].text +
             "', read '" + sgf + "'";
    Position gtp;
    char gtpToMove;
    if (!ParseSgfPosition(sgf, &gtp, &gtpToMove, &error)) return error + " in:\n" + sgf;
    const Position after = EnginePosition(board);
    const char ourToMove = board.Turn() > 0 ? 'B' : 'W';

    std::ostringstream where;
    where << "seed " << seed << ", game " << game << ", attempt " << attempt << " (" << kind
          << "), move " << moveNumber << ": play " << move << " [our point " << PointLetters(p, q)
          << "]";
    if (ours != theirsAccepted || after != gtp || (gtpToMove != 0 && gtpToMove != ourToMove)) {
      std::ostringstream msg;
      msg << where.str() << "\n  engine " << (ours ? "accepted" : "refused") << ", GNU Go "
          << (theirsAccepted ? "accepted" : "refused ('" + replies[0].text + "')")
          << "; to move: engine " << ourToMove << ", GNU Go " << (gtpToMove ? gtpToMove : '-')
          << "\n  moves so far: " << history << "\n  position before (engine):\n"
          << Show(before) << "  engine after:\n"
          << Show(after) << "  GNU Go after:\n"
          << Show(gtp);
      return msg.str();
    }
    if (!isPass && (check >= 0) != ours)
      return where.str() + ": CheckGoMove said " + std::to_string(check) + " but PlayGoMove " +
             (ours ? "accepted" : "refused");
    ++stats.attempts;
    const bool koPoint = board.LastCaptures() == 1 && !recentCaptures.empty() &&
                         recentCaptures.back() == std::make_pair(p, q);
    if (!ours) {
      if (cell(p, q) != '.')
        ++stats.refusedOccupied;
      else if (koPoint)
        ++stats.refusedKo;
      else
        ++stats.refusedSuicide;
    } else if (isPass) {
      ++stats.passes;
    } else {
      ++stats.stonesPlayed;
      if (std::string(kind) == "retake") ++stats.legalRetakes;
    }
    if (ours) {
      history += move + ", ";
      int taken = 0;
      for (int pp = 1; pp <= 19; ++pp)
        for (int qq = 1; qq <= 19; ++qq)
          if (before[qq - 1][pp - 1] == theirs && after[qq - 1][pp - 1] == '.') {
            recentCaptures.emplace_back(pp, qq);
            ++taken;
          }
      if (taken > 0) ++stats.capturingMoves;
      if (taken > 1) ++stats.multiStoneCaptures;
      if (!isPass && (check != taken || board.LastCaptures() != taken))
        return where.str() + ": captured " + std::to_string(taken) + " stones, CheckGoMove said " +
               std::to_string(check) + ", LastCaptures " + std::to_string(board.LastCaptures());
      if (recentCaptures.size() > 12)
        recentCaptures.erase(recentCaptures.begin(),
                             recentCaptures.begin() + (recentCaptures.size() - 12));
    }
  }
  // Cross-check of the SGF reading: the final position once more through `list_stones`.
  if (!gnugo.Exchange("list_stones black\nlist_stones white\n", 2, &replies, &error)) return error;
  Position listed = EmptyPosition();
  if (!replies[0].ok || !replies[1].ok || !AddGtpStones(replies[0].text, 'X', &listed) ||
      !AddGtpStones(replies[1].text, 'O', &listed))
    return "unreadable list_stones replies";
  if (listed != EnginePosition(board))
    return "seed " + std::to_string(seed) + ", game " + std::to_string(game) +
           ": final position differs from GNU Go's list_stones:\n" + Show(EnginePosition(board)) +
           "GNU Go:\n" + Show(listed);
  return "";
}

TEST_F(GnuGoReferee, RandomGamesAgreeMoveByMove) {
  DumpFifo dump;
  ASSERT_TRUE(dump.ok()) << "cannot create a FIFO for GNU Go's position dumps: "
                         << std::strerror(errno);
  RefereeStats stats;
  for (int game = 0; game < kGames; ++game) {
    const uint32_t seed = kBaseSeed + static_cast<uint32_t>(game);
    const std::string failure = PlayRefereeGame(gnugo_, dump, seed, game, stats);
    ASSERT_EQ(failure, "") << "rules referee mismatch (re-run with this seed)";
  }
  std::ostringstream summary;
  summary << kGames << " games, " << stats.attempts << " attempts: " << stats.stonesPlayed
          << " stones, " << stats.passes << " passes, " << stats.capturingMoves
          << " capturing moves (" << stats.multiStoneCaptures << " taking several stones), "
          << stats.legalRetakes << " legal retakes; refused: " << stats.refusedOccupied
          << " occupied, " << stats.refusedKo << " ko, " << stats.refusedSuicide << " suicide";
  std::cout << "[ referee  ] " << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
  // The generator must keep reaching every kind of refusal and capture.
  EXPECT_GT(stats.refusedKo, 100);
  EXPECT_GT(stats.refusedSuicide, 500);
  EXPECT_GT(stats.refusedOccupied, 1000);
  EXPECT_GT(stats.multiStoneCaptures, 200);
  EXPECT_GT(stats.legalRetakes, 200);
}

}  // namespace
}  // namespace zendra
