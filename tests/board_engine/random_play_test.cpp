// Seeded random play with take-backs and replays: after every step the labels are exactly the
// chains, `Process` holds `NextMove` - 1 moves, replaying `Process` on a fresh engine with the
// same set-up gives the same state, and a take-back right after a move restores the state from
// before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "tests/board_engine/board_test_util.h"
#include "tests/board_engine/random_board.h"

namespace zendra {
namespace {

using test::AtariPoints;
using test::Random;

#ifdef ZENDRA_SANITIZED_TESTS
constexpr int kGames = 40;
constexpr int kStepsPerGame = 150;
#else
constexpr int kGames = 300;
constexpr int kStepsPerGame = 200;
#endif
constexpr uint32_t kBaseSeed = 777001;

// Handicap points in placement order.
constexpr int kHandicapPoints[9][2] = {{4, 4},   {16, 16}, {4, 16},  {16, 4}, {4, 10},
                                       {16, 10}, {10, 4},  {10, 16}, {10, 10}};

// ---- State snapshots ----------------------------------------------------------------------------

struct State {
  std::array<std::array<Colour, kGridSize>, kGridSize> cells{};
  std::array<std::array<int, kGridSize>, kGridSize> labels{};
  std::string process;
  int nextMove = 0;
  Colour turn = 0;
  int lastP = 0, lastQ = 0, lastCaptures = 0;
  Colour lastColour = 0;

  bool operator==(const State&) const = default;
};

State Capture(const LattixEngine& b) {
  State s;
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q) {
      s.cells[p][q] = b.GetPoint(p, q);
      s.labels[p][q] = b.Label(p, q);
    }
  s.process = b.Process();
  s.nextMove = b.NextMove();
  s.turn = b.Turn();
  s.lastP = b.LastP();
  s.lastQ = b.LastQ();
  s.lastCaptures = b.LastCaptures();
  s.lastColour = b.LastColour();
  return s;
}

std::string Describe(const State& s) {
  std::ostringstream out;
  out << "Process '" << s.process << "' NextMove " << s.nextMove << " Turn " << int(s.turn)
      << " Last (" << s.lastP << "," << s.lastQ << ") captures " << s.lastCaptures << " colour "
      << int(s.lastColour) << "\n";
  for (int q = 1; q <= 19; ++q) {
    for (int p = 1; p <= 19; ++p) {
      const Colour c = s.cells[p][q];
      out << (c == 0 ? '.' : (c > 0 ? 'X' : 'O'));
    }
    out << "   ";
    for (int p = 1; p <= 19; ++p) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%4d", s.labels[p][q]);
      out << buf;
    }
    out << "\n";
  }
  return out.str();
}

std::string Difference(const State& want, const State& got) {
  std::ostringstream out;
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q) {
      if (want.cells[p][q] != got.cells[p][q])
        out << "  cell (" << p << "," << q << "): " << int(want.cells[p][q]) << " vs "
            << int(got.cells[p][q]) << "\n";
      if (want.labels[p][q] != got.labels[p][q])
        out << "  label (" << p << "," << q << "): " << want.labels[p][q] << " vs "
            << got.labels[p][q] << "\n";
    }
  out << "expected: " << Describe(want) << "got: " << Describe(got);
  return out.str();
}

// ---- Invariants ---------------------------------------------------------------------------------

// Labels are exactly the chains: every chain's stones share one positive label, empty points
// and the border hold label 0, and no two chains share a label (also after a set-up stone of
// one colour has overwritten one in the middle of a chain of the other).
std::string CheckLabels(const LattixEngine& b) {
  std::ostringstream err;
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q) {
      const bool inside = p >= 1 && p <= 19 && q >= 1 && q <= 19;
      if (!inside && (b.GetPoint(p, q) != 0 || b.Label(p, q) != 0))
        err << "border cell (" << p << "," << q << ") holds " << int(b.GetPoint(p, q)) << " label "
            << b.Label(p, q) << "\n";
      if (inside && b.GetPoint(p, q) == 0 && b.Label(p, q) != 0)
        err << "empty (" << p << "," << q << ") has label " << b.Label(p, q) << "\n";
      if (inside && b.GetPoint(p, q) != 0 && (b.GetPoint(p, q) & kStoneBit) == 0)
        err << "cell (" << p << "," << q << ") holds a non-stone " << int(b.GetPoint(p, q)) << "\n";
    }
  std::array<std::array<int, kGridSize>, kGridSize> chain{};
  for (auto& row : chain) row.fill(-1);
  std::map<int, std::pair<int, Colour>> owner;  // label -> (chain, colour)
  int chains = 0;
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) {
      const Colour c = b.GetPoint(p, q);
      if (c == 0 || chain[p][q] >= 0) continue;
      const int id = chains++;
      const int label = b.Label(p, q);
      std::vector<std::pair<int, int>> stack{{p, q}};
      chain[p][q] = id;
      while (!stack.empty()) {
        const auto [sp, sq] = stack.back();
        stack.pop_back();
        if (b.Label(sp, sq) != label)
          err << "chain of (" << p << "," << q << ") has labels " << label << " and "
              << b.Label(sp, sq) << " at (" << sp << "," << sq << ")\n";
        const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        for (const auto& dd : d) {
          const int np = sp + dd[0], nq = sq + dd[1];
          if (np < 1 || np > 19 || nq < 1 || nq > 19) continue;
          if (SameSide(b.GetPoint(np, nq), c) && chain[np][nq] < 0) {
            chain[np][nq] = id;
            stack.emplace_back(np, nq);
          }
        }
      }
      if (label <= 0 || label > 361)
        err << "chain of (" << p << "," << q << ") has label " << label << "\n";
      const auto it = owner.find(label);
      if (it == owner.end()) {
        owner[label] = {id, c};
      } else {
        err << "label " << label << " is held by two chains, one of them at (" << p << "," << q
            << ")\n";
      }
    }
  return err.str();
}

// True when some chain on the board has no liberty (possible only through set-up stones).
bool HasChainWithoutLiberty(const LattixEngine& b) {
  std::array<std::array<bool, kGridSize>, kGridSize> seen{};
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) {
      if (b.GetPoint(p, q) == 0 || seen[p][q]) continue;
      bool liberty = false;
      std::vector<std::pair<int, int>> stack{{p, q}};
      seen[p][q] = true;
      while (!stack.empty()) {
        const auto [sp, sq] = stack.back();
        stack.pop_back();
        const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        for (const auto& dd : d) {
          const int np = sp + dd[0], nq = sq + dd[1];
          if (np < 1 || np > 19 || nq < 1 || nq > 19) continue;
          if (b.GetPoint(np, nq) == 0) liberty = true;
          if (SameSide(b.GetPoint(np, nq), b.GetPoint(p, q)) && !seen[np][nq]) {
            seen[np][nq] = true;
            stack.emplace_back(np, nq);
          }
        }
      }
      if (!liberty) return true;
    }
  return false;
}

// ---- Set-ups ------------------------------------------------------------------------------------

struct Setup {
  std::string black, white;
  Colour first = kBlack;
  bool byRule = true;
  int8_t handicap = 0;
  bool overwrites = false;  // a stone of one colour overwrites one of the other

  void Apply(LattixEngine& b) const {
    b.SetFirstToPlay(first);
    b.SetFirstToPlayByRule(byRule);
    b.SetHandicap(handicap);
    b.SetArrangedSideP(black);
    b.SetArrangedSideN(white);
    b.NewGame(false);
  }
};

std::set<std::pair<int, int>> OnBoardPoints(const std::string& list) {
  std::set<std::pair<int, int>> out;
  if (list.size() % 2 != 0) return out;  // an odd-length list places nothing
  for (std::size_t i = 0; i + 1 < list.size(); i += 2) {
    const int p = LetterToCoord(list[i]), q = LetterToCoord(list[i + 1]);
    if (p >= 1 && p <= 19 && q >= 1 && q <= 19) out.emplace(p, q);
  }
  return out;
}


std::string RandomJunkPoint(Random& r) {
  static const char kJunk[] = "@TUZaz s`";
  std::string s;
  s += r.Chance(0.5) ? kJunk[r.Int(0, 8)] : CoordToLetter(r.Int(1, 19));
  s += r.Chance(0.5) ? kJunk[r.Int(0, 8)] : CoordToLetter(r.Int(1, 19));
  return s;
}

Setup RandomSetup(Random& r, int p0, int q0, int size) {
  Setup s;
  s.first = r.Chance(0.5) ? kBlack : kWhite;
  s.byRule = r.Chance(0.8);
  if (r.Chance(0.15)) {
    static const int8_t kHandicaps[] = {2, 3, 4, 5, 6, 7, 8, 9, 1, -1, 10};
    s.handicap = kHandicaps[r.Int(0, 10)];
  }
  if (r.Chance(0.25)) return s;  // empty board (perhaps with handicap)
  const int count = r.Int(1, std::min(200, size * size + 20));
  const double density = r.Chance(0.5) ? 0.5 : r.Int(10, 90) / 100.0;
  // Most set-ups keep the colours apart (repeated points within a colour are harmless); the
  // others let a white stone overwrite a black one.
  const bool overlap = r.Chance(0.3);
  std::vector<std::string> whites;
  std::set<std::string> blacks;
  for (int i = 0; i < count; ++i) {
    const std::string pt = r.Chance(0.05)
                               ? RandomJunkPoint(r)
                               : PointLetters(r.Int(p0, p0 + size - 1), r.Int(q0, q0 + size - 1));
    if (r.Chance(density)) {
      s.black += pt;
      blacks.insert(pt);
    } else {
      whites.push_back(pt);
    }
  }
  for (const std::string& pt : whites)
    if (overlap || !blacks.count(pt)) s.white += pt;
  // Deliberate repeats (and, when overlapping, overwrites): copy some black points again.
  if (r.Chance(0.4) && s.black.size() >= 2) {
    for (int k = r.Int(1, 5); k > 0; --k) {
      const std::size_t i = 2 * r.Int(0, static_cast<int>(s.black.size() / 2) - 1);
      (overlap && r.Chance(0.5) ? s.white : s.black) += s.black.substr(i, 2);
    }
  }
  if (r.Chance(0.04)) s.white += 'C';  // odd length: the whole list is inert
  std::set<std::pair<int, int>> blackPoints = OnBoardPoints(s.black);
  if (s.handicap >= 2 && s.handicap <= 9)
    for (int k = 0; k < 9; ++k) blackPoints.emplace(kHandicapPoints[k][0], kHandicapPoints[k][1]);
  for (const auto& pt : OnBoardPoints(s.white))
    if (blackPoints.count(pt)) s.overwrites = true;
  return s;
}

// ---- Choosing a move attempt --------------------------------------------------------------------


struct Attempt {
  int p = 0, q = 0;
  const char* kind = "";
};

Attempt ChooseAttempt(Random& r, const LattixEngine& b, int p0, int q0, int size,
                      const std::vector<std::pair<int, int>>& recentCaptures) {
  Attempt a;
  const double u = r.Int(0, 999) / 1000.0;
  const Colour enemy = Opponent(b.Turn());
  auto onBoard = [](int p, int q) { return p >= 1 && p <= 19 && q >= 1 && q <= 19; };
  if (u < 0.05) {
    a = {kPassCoord, kPassCoord, "pass"};
  } else if (u < 0.08) {
    static const int kOff[][2] = {{0, 5}, {20, 3}, {5, 20}, {21, 21}, {-1, 4}, {19, 0}, {33, 35}};
    const int k = r.Int(0, 6);
    a = {kOff[k][0], kOff[k][1], "off-board"};
  } else if (u < 0.20 && !recentCaptures.empty()) {
    const auto& c = r.Chance(0.7) ? recentCaptures.back() : r.Pick(recentCaptures);
    a = {c.first, c.second, "retake"};
  } else if (u < 0.32) {
    std::vector<std::pair<int, int>> pool, surrounded;
    for (int p = 1; p <= 19; ++p)
      for (int q = 1; q <= 19; ++q) {
        if (b.GetPoint(p, q) != 0) continue;
        bool anyEmpty = false, allEnemy = true;
        const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        for (const auto& dd : d) {
          const int np = p + dd[0], nq = q + dd[1];
          if (!onBoard(np, nq)) continue;
          if (b.GetPoint(np, nq) == 0) anyEmpty = true;
          if (!SameSide(b.GetPoint(np, nq), enemy)) allEnemy = false;
        }
        if (anyEmpty) continue;
        pool.emplace_back(p, q);
        if (allEnemy) surrounded.emplace_back(p, q);
      }
    const auto& from = !surrounded.empty() && r.Chance(0.6) ? surrounded : pool;
    if (!from.empty()) {
      const auto& c = r.Pick(from);
      a = {c.first, c.second, "surrounded"};
    }
  } else if (u < 0.52) {
    // The last liberty of a chain in atari: a capture, or a self-atari / suicide.
    std::vector<std::pair<int, int>> theirs, mine;
    AtariPoints(b, b.Turn(), &theirs, &mine);
    const auto& from = !theirs.empty() && (mine.empty() || r.Chance(0.7)) ? theirs : mine;
    if (!from.empty()) {
      const auto& c = r.Pick(from);
      a = {c.first, c.second, "atari"};
    }
  } else if (u < 0.57) {
    std::vector<std::pair<int, int>> stones;
    for (int p = 1; p <= 19; ++p)
      for (int q = 1; q <= 19; ++q)
        if (b.GetPoint(p, q) != 0) stones.emplace_back(p, q);
    if (!stones.empty()) {
      const auto& c = r.Pick(stones);
      a = {c.first, c.second, "occupied"};
    }
  }
  if (a.kind[0] == '\0') {
    std::vector<std::pair<int, int>> empty;
    for (int p = p0; p < p0 + size; ++p)
      for (int q = q0; q < q0 + size; ++q)
        if (b.GetPoint(p, q) == 0) empty.emplace_back(p, q);
    if (!empty.empty() && r.Chance(0.9)) {
      const auto& c = r.Pick(empty);
      a = {c.first, c.second, "random"};
    } else {
      a = {r.Int(1, 19), r.Int(1, 19), "anywhere"};
    }
  }
  return a;
}

// A random move list for GivenProcess / SetProcess: board points of the region, passes and
// a few points that name nothing.
std::string RandomMoveList(Random& r, int p0, int q0, int size, int moves) {
  std::string s;
  for (int i = 0; i < moves; ++i) {
    if (r.Chance(0.05))
      s += "TT";
    else if (r.Chance(0.04))
      s += RandomJunkPoint(r);
    else
      s += PointLetters(r.Int(p0, p0 + size - 1), r.Int(q0, q0 + size - 1));
  }
  return s;
}

// True when `sub` is, move by move, a subsequence of the first `n` moves of `list`.
bool IsMoveSubsequence(const std::string& sub, const std::string& list, int n) {
  std::size_t j = 0;
  for (int i = 0; i < n && 2 * i + 1 < static_cast<int>(list.size()) && j < sub.size(); ++i)
    if (list.compare(2 * i, 2, sub, j, 2) == 0) j += 2;
  return j == sub.size();
}

// ---- The game loop ------------------------------------------------------------------------------

struct Stats {
  int steps = 0, legalMoves = 0, refused = 0, captures = 0, takeBacks = 0, goTo = 0, goToGiven = 0,
      setProcess = 0, undoRedo = 0, setupGames = 0, overwriteGames = 0, deadSetups = 0;
};

// Plays one game; returns "" or a description of the first broken invariant.
std::string RunGame(uint32_t seed, int game, Stats& stats) {
  Random r(seed);
  static constexpr int kRegionSizes[] = {4, 5, 7, 9, 13, 19};
  const int size = kRegionSizes[r.Int(0, 5)];
  const int p0 = r.Chance(0.5) ? (r.Chance(0.5) ? 1 : 20 - size) : r.Int(1, 20 - size);
  const int q0 = r.Chance(0.5) ? (r.Chance(0.5) ? 1 : 20 - size) : r.Int(1, 20 - size);
  const Setup setup = game % 5 == 0 ? Setup{} : RandomSetup(r, p0, q0, size);
  if (!setup.black.empty() || !setup.white.empty() || setup.handicap != 0) ++stats.setupGames;
  if (setup.overwrites) ++stats.overwriteGames;

  LattixEngine board;
  setup.Apply(board);
  if (HasChainWithoutLiberty(board)) ++stats.deadSetups;

  std::vector<std::string> savedProcesses{""};
  std::vector<std::pair<int, int>> recentCaptures;
  std::string log;  // the operations so far, for the failure message

  auto fail = [&](int step, const std::string& what) {
    std::ostringstream out;
    out << "seed " << seed << ", game " << game << ", step " << step << ": " << what
        << "\n  set-up: black '" << setup.black << "' white '" << setup.white << "' first "
        << int(setup.first) << " handicap " << int(setup.handicap) << " byRule " << setup.byRule
        << "\n  operations: " << log << "\n  state now: " << Describe(Capture(board));
    return out.str();
  };

  auto checkInvariants = [&](int step) -> std::string {
    const std::string labels = CheckLabels(board);
    if (!labels.empty()) return fail(step, "labels are not the chains:\n" + labels);
    if (board.Process().size() != 2u * static_cast<unsigned>(board.NextMove() - 1))
      return fail(step, "Process holds " + std::to_string(board.Process().size() / 2) +
                            " moves but NextMove is " + std::to_string(board.NextMove()));
    LattixEngine fresh;
    setup.Apply(fresh);
    fresh.SetProcess(board.Process());
    const State want = Capture(fresh), got = Capture(board);
    if (!(want == got))
      return fail(step, "replaying Process on a fresh engine differs (fresh vs board):\n" +
                            Difference(want, got));
    return "";
  };

  if (std::string e = checkInvariants(0); !e.empty()) return e;

  for (int step = 1; step <= kStepsPerGame; ++step) {
    ++stats.steps;
    const double u = r.Int(0, 999) / 1000.0;
    const State before = Capture(board);
    const int moves = board.NextMove() - 1;
    if (u < 0.80) {
      const Attempt a = ChooseAttempt(r, board, p0, q0, size, recentCaptures);
      log += std::string(a.kind) + " " + PointLetters(a.p, a.q);
      const bool legal = board.PlayGoMove(a.p, a.q, r.Chance(0.1));
      log += legal ? "+, " : "-, ";
      if (!legal) {
        ++stats.refused;
        State now = Capture(board);
        if (!(now == before))
          return fail(step, "a refused move changed the state:\n" + Difference(before, now));
      } else {
        ++stats.legalMoves;
        const State after = Capture(board);
        for (int p = 1; p <= 19; ++p)
          for (int q = 1; q <= 19; ++q)
            if (before.cells[p][q] != 0 && after.cells[p][q] == 0)
              recentCaptures.emplace_back(p, q);
        if (board.LastCaptures() > 0) ++stats.captures;
        if (recentCaptures.size() > 12) recentCaptures.erase(recentCaptures.begin());
        if (r.Chance(0.25)) {
          // Take it back: exactly the state before; then play it again: exactly the state after.
          ++stats.undoRedo;
          log += "undo-redo, ";
          board.TakeBack();
          const State undone = Capture(board);
          if (!(undone == before))
            return fail(step, "TakeBack after the move did not restore the state before it:\n" +
                                  Difference(before, undone));
          if (!board.PlayGoMove(a.p, a.q, false))
            return fail(step, "the move was refused when played again after TakeBack");
          const State redone = Capture(board);
          if (!(redone == after))
            return fail(step, "the move played again after TakeBack differs:\n" +
                                  Difference(after, redone));
        }
      }
    } else if (u < 0.85) {
      ++stats.takeBacks;
      log += "takeback, ";
      board.TakeBack();
      const std::string want =
          moves >= 2 ? before.process.substr(0, 2 * (moves - 1)) : std::string();
      if (board.Process() != want)
        return fail(step,
                    "TakeBack left Process '" + board.Process() + "', expected '" + want + "'");
    } else if (u < 0.90) {
      ++stats.goTo;
      const int k = r.Int(-1, moves + 2);
      log += "goto " + std::to_string(k) + ", ";
      board.GoToMove(k, false);
      const std::string want =
          k >= 1 && k <= moves ? before.process.substr(0, 2 * k) : std::string();
      if (board.Process() != want)
        return fail(step,
                    "GoToMove left Process '" + board.Process() + "', expected '" + want + "'");
    } else if (u < 0.95) {
      ++stats.goToGiven;
      std::string given;
      const int pick = r.Int(0, 2);
      if (pick == 0) {
        given = r.Pick(savedProcesses);
      } else if (pick == 1) {
        given = RandomMoveList(r, p0, q0, size, r.Int(0, 60));
      } else {
        given = r.Pick(savedProcesses);
        const std::size_t at = 2 * r.Int(0, static_cast<int>(given.size() / 2));
        given.insert(at, RandomMoveList(r, p0, q0, size, r.Int(1, 3)));
      }
      board.SetGivenProcess(given);
      const int n = static_cast<int>(given.size() / 2);
      const int k = r.Chance(0.8) ? n - r.Int(0, std::min(n, 5)) : r.Int(-1, n + 2);
      log += "given '" + given + "' goto " + std::to_string(k) + ", ";
      board.GoToMove(k, true);
      if (k < 1 || k > n) {
        if (!board.Process().empty())
          return fail(step, "GoToMove outside 1..moves left Process '" + board.Process() + "'");
      } else if (!IsMoveSubsequence(board.Process(), given, k)) {
        return fail(step, "GoToMove from GivenProcess left Process '" + board.Process() +
                              "', not a subsequence of the first moves of the source");
      }
    } else {
      ++stats.setProcess;
      std::string s;
      const int pick = r.Int(0, 4);
      if (pick == 0)
        s = before.process.substr(0, 2 * r.Int(0, moves));
      else if (pick == 1)
        s = r.Pick(savedProcesses);
      else if (pick == 2)
        s = before.process + RandomMoveList(r, p0, q0, size, 1);  // one move appended
      else if (pick == 3)
        s = RandomMoveList(r, p0, q0, size, r.Int(0, 40));
      else
        s = before.process + "D";  // odd length: ignored
      log += "process '" + s + "', ";
      board.SetProcess(s);
      if (s.size() % 2 != 0 && !(Capture(board) == before))
        return fail(step, "an odd-length Process changed the state");
    }
    if (savedProcesses.size() < 16 && r.Chance(0.2)) savedProcesses.push_back(board.Process());
    if (std::string e = checkInvariants(step); !e.empty()) return e;
  }
  return "";
}

TEST(RandomPlay, InvariantsHoldAfterEveryStep) {
  Stats stats;
  for (int game = 0; game < kGames; ++game) {
    const uint32_t seed = kBaseSeed + static_cast<uint32_t>(game);
    const std::string failure = RunGame(seed, game, stats);
    ASSERT_EQ(failure, "") << "random play broke an invariant (re-run with this seed)";
  }
  std::ostringstream summary;
  summary << kGames << " games (" << stats.setupGames << " with set-ups, " << stats.overwriteGames
          << " with overwritten set-up stones, " << stats.deadSetups
          << " with chains without liberties), " << stats.steps << " steps: " << stats.legalMoves
          << " legal moves (" << stats.captures << " capturing), " << stats.refused << " refused, "
          << stats.undoRedo << " undo-redo, " << stats.takeBacks << " take-backs, " << stats.goTo
          << " go-to, " << stats.goToGiven << " go-to from GivenProcess, " << stats.setProcess
          << " Process sets";
  std::cout << "[ random   ] " << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
  EXPECT_GT(stats.captures, kGames);
  EXPECT_GT(stats.undoRedo, kGames);
  EXPECT_GT(stats.deadSetups, kGames / 20);
  EXPECT_GT(stats.setupGames - stats.overwriteGames, kGames / 4);
  EXPECT_GT(stats.overwriteGames, kGames / 20);
}

// A trial move through the whole-board rules (CheckGoMove with the reference rules) leaves the
// whole move state as it was, the fast path's chain lists included: the moves played after it
// agree with an engine that never checked.
TEST(ReferenceCheck, LeavesTheMoveStateForTheFastPath) {
  // Black DC, CD and ED around white DD; black to move, DE captures it.
  const std::string game = "DCDDCDSSEDSR";
  LattixEngine checked, plain;
  checked.SetProcess(game);
  plain.SetProcess(game);
  ASSERT_EQ(Capture(checked), Capture(plain));

  // Every empty point of the corner tried through the whole-board rules: the same answers as
  // the fast path, and nothing changed.
  checked.SetReferenceRules(true);
  const State before = Capture(checked);
  for (int p = 1; p <= 8; ++p)
    for (int q = 1; q <= 8; ++q) {
      if (checked.GetPoint(p, q) != kEmpty) continue;
      EXPECT_EQ(checked.CheckGoMove(p, q), plain.CheckGoMove(p, q)) << p << "," << q;
      ASSERT_EQ(Capture(checked), before) << "after checking " << p << "," << q;
    }
  EXPECT_EQ(checked.CheckGoMove(4, 5), 1);
  checked.SetReferenceRules(false);

  // The capture, then black filling DD (joining four chains), a white stone beside them and a
  // pass: the fast path works on the chain lists the checks left behind.
  const std::vector<std::pair<int, int>> moves = {{4, 5},   {19, 17}, {4, 4},   {5, 4},
                                                  {19, 16}, {6, 4},   {20, 20}, {5, 5}};
  for (const auto& [p, q] : moves) {
    EXPECT_EQ(checked.PlayGoMove(p, q, false), plain.PlayGoMove(p, q, false)) << p << "," << q;
    ASSERT_EQ(Capture(checked), Capture(plain)) << "after " << p << "," << q;
  }
  EXPECT_EQ(checked.GetPoint(4, 4), kBlack);
  EXPECT_EQ(checked.Label(4, 4), checked.Label(4, 3));  // one chain from DC to DE
}

}  // namespace
}  // namespace zendra
