// Differential test of the two rule paths: one engine forced onto the whole-board reference scan
// (SetReferenceRules(true), the whole-board scan step by step), one on the fast chain-following path.
// Both get the same seeded random operations, odd ones included (tagged and recoloured cells,
// non-stone cell values, set-ups with chains without liberties, unusual `Turn` values), and must
// stay identical after every step: cells, labels, move state, return values and view calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <random>
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
constexpr int kGames = 160;
constexpr int kStepsPerGame = 150;
#else
constexpr int kGames = 1000;
constexpr int kStepsPerGame = 200;
#endif
constexpr uint32_t kBaseSeed = 424242;


// Everything the two engines must agree on.
std::string Compare(const LattixEngine& ref, const LattixEngine& fast) {
  std::ostringstream out;
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q) {
      if (ref.GetPoint(p, q) != fast.GetPoint(p, q))
        out << "  cell (" << p << "," << q << "): reference " << int(ref.GetPoint(p, q))
            << ", fast " << int(fast.GetPoint(p, q)) << "\n";
      if (ref.Label(p, q) != fast.Label(p, q))
        out << "  label (" << p << "," << q << "): reference " << ref.Label(p, q) << ", fast "
            << fast.Label(p, q) << "\n";
    }
  auto field = [&](const char* name, auto a, auto b) {
    if (a != b) out << "  " << name << ": reference " << +a << ", fast " << +b << "\n";
  };
  if (ref.Process() != fast.Process())
    out << "  Process: reference '" << ref.Process() << "', fast '" << fast.Process() << "'\n";
  field("NextMove", ref.NextMove(), fast.NextMove());
  field("Turn", ref.Turn(), fast.Turn());
  field("LastP", ref.LastP(), fast.LastP());
  field("LastQ", ref.LastQ(), fast.LastQ());
  field("LastCaptures", ref.LastCaptures(), fast.LastCaptures());
  field("LastColour", ref.LastColour(), fast.LastColour());
  field("Modified", ref.Modified(), fast.Modified());
  field("AreaB", ref.AreaB(), fast.AreaB());
  field("AreaW", ref.AreaW(), fast.AreaW());
  field("JudgedWinner", ref.JudgedWinner(), fast.JudgedWinner());
  return out.str();
}

std::string Board(const LattixEngine& b) {
  std::ostringstream out;
  for (int q = 0; q <= 20; ++q) {
    for (int p = 0; p <= 20; ++p) {
      const Colour c = b.GetPoint(p, q);
      char ch = '.';
      if (c != 0) {
        ch = (c & kStoneBit) == 0 ? '?' : (c > 0 ? 'X' : 'O');
        if ((c & ~(kStoneBit | static_cast<Colour>(0x80))) != 0 && (c & kStoneBit) != 0)
          ch = c > 0 ? 'x' : 'o';  // a stone with further bits
      }
      out << ch;
    }
    out << "\n";
  }
  return out.str();
}

// Whether the position is one the fast path takes: every non-empty cell a stone on the playing
// area, labels exactly the chains, every chain with a liberty (the engine's own `Recheck`).
bool LooksClean(const LattixEngine& b) {
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q) {
      const Colour c = b.GetPoint(p, q);
      const bool inside = p >= 1 && p <= 19 && q >= 1 && q <= 19;
      if (c == 0 ? b.Label(p, q) != 0 : (!inside || (c & kStoneBit) == 0 || b.Label(p, q) < 1))
        return false;
    }
  std::array<std::array<bool, kGridSize>, kGridSize> seen{};
  std::vector<bool> labelUsed(400, false);
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) {
      if (b.GetPoint(p, q) == 0 || seen[p][q]) continue;
      const int label = b.Label(p, q);
      if (label >= 400 || labelUsed[label]) return false;
      labelUsed[label] = true;
      bool liberty = false;
      std::vector<std::pair<int, int>> stack{{p, q}};
      seen[p][q] = true;
      while (!stack.empty()) {
        const auto [sp, sq] = stack.back();
        stack.pop_back();
        if (b.Label(sp, sq) != label) return false;
        const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        for (const auto& dd : d) {
          const int np = sp + dd[0], nq = sq + dd[1];
          if (np < 1 || np > 19 || nq < 1 || nq > 19) continue;
          const Colour n = b.GetPoint(np, nq);
          if (n == 0) liberty = true;
          if (SameSide(n, b.GetPoint(p, q)) && !seen[np][nq]) {
            seen[np][nq] = true;
            stack.emplace_back(np, nq);
          }
        }
      }
      if (!liberty) return false;
    }
  return true;
}


std::string RandomPointList(Random& r, int p0, int q0, int size, int count) {
  static const char kJunk[] = "@TUZaz `";
  std::string s;
  for (int i = 0; i < count; ++i) {
    if (r.Chance(0.04)) {
      s += kJunk[r.Int(0, 7)];
      s += CoordToLetter(r.Int(1, 19));
    } else {
      s += PointLetters(r.Int(p0, p0 + size - 1), r.Int(q0, q0 + size - 1));
    }
  }
  return s;
}

std::string RandomMoveList(Random& r, int p0, int q0, int size, int moves) {
  std::string s;
  for (int i = 0; i < moves; ++i)
    s += r.Chance(0.06) ? std::string("TT") : RandomPointList(r, p0, q0, size, 1);
  return s;
}

Colour RandomTurnValue(Random& r) {
  static const Colour kValues[] = {kBlack, kWhite, 0, 3, -1, 2, -125, 127, -128, 5, 4, -3};
  return r.Chance(0.5) ? (r.Chance(0.5) ? kBlack : kWhite) : kValues[r.Int(0, 11)];
}

// ---- Operations ---------------------------------------------------------------------------------

// One step applied to both engines, kept as data so that a divergence can be replayed and shrunk.
struct Op {
  enum Kind {
    kSetup,
    kPlay,
    kCheck,
    kSetPoint,
    kSetTurn,
    kTakeBack,
    kGoTo,
    kSetProcess,
    kArranged,
    kAssignLabel,
    kSetLast,
    kToggleDead,
    kHandicap
  } kind = kPlay;
  int a = 0, b = 0, c = 0, d = 0;  // meaning per kind, see Apply
  std::string s, t;

  // The step as C++ for an engine `b`.
  std::string Code() const {
    std::ostringstream o;
    auto str = [](const std::string& x) { return "\"" + x + "\""; };
    switch (kind) {
      case kSetup:
        o << "b.SetFirstToPlay(" << a << "); b.SetFirstToPlayByRule(" << b << "); b.SetHandicap("
          << c << "); b.SetArrangedSideP(" << str(s) << "); b.SetArrangedSideN(" << str(t)
          << "); b.NewGame(" << d << ");";
        break;
      case kPlay:
        o << "b.PlayGoMove(" << a << ", " << b << ", " << c << ");";
        break;
      case kCheck:
        o << "b.CheckGoMove(" << a << ", " << b << ");";
        break;
      case kSetPoint:
        o << "b.SetPoint(" << a << ", " << b << ", " << c << ");";
        break;
      case kSetTurn:
        o << "b.SetTurn(" << a << ");";
        break;
      case kTakeBack:
        o << "b.TakeBack();";
        break;
      case kGoTo:
        if (b) o << "b.SetGivenProcess(" << str(s) << "); ";
        o << "b.GoToMove(" << a << ", " << b << ");";
        break;
      case kSetProcess:
        o << "b.SetProcess(" << str(s) << ");";
        break;
      case kArranged:
        o << "b.SetArrangedSide" << (a ? 'P' : 'N') << "(" << str(s) << ");";
        break;
      case kAssignLabel:
        o << "b.AssignLabel(" << a << ", " << b << ", " << c << ");";
        break;
      case kSetLast:
        o << "b.SetLastP(" << a << "); b.SetLastQ(" << b << ");";
        break;
      case kToggleDead:
        o << "b.SetGameOver(true); b.ToggleDead(" << a << ", " << b << "); b.SetGameOver(false);";
        break;
      case kHandicap:
        o << "b.SetHandicap(" << a << ");";
        break;
    }
    return o.str();
  }

  // Applies the step to one engine; the return value of the call (0 for calls without one).
  int Apply(LattixEngine& e) const {
    switch (kind) {
      case kSetup:
        e.SetFirstToPlay(static_cast<Colour>(a));
        e.SetFirstToPlayByRule(b != 0);
        e.SetHandicap(static_cast<int8_t>(c));
        e.SetArrangedSideP(s);
        e.SetArrangedSideN(t);
        e.NewGame(d != 0);
        return 0;
      case kPlay:
        return e.PlayGoMove(a, b, c != 0) ? 1 : 0;
      case kCheck:
        return e.CheckGoMove(a, b);
      case kSetPoint:
        e.SetPoint(a, b, static_cast<Colour>(c));
        return 0;
      case kSetTurn:
        e.SetTurn(static_cast<Colour>(a));
        return 0;
      case kTakeBack:
        e.TakeBack();
        return 0;
      case kGoTo:
        if (b) e.SetGivenProcess(s);
        e.GoToMove(a, b != 0);
        return 0;
      case kSetProcess:
        e.SetProcess(s);
        return 0;
      case kArranged:
        if (a)
          e.SetArrangedSideP(s);
        else
          e.SetArrangedSideN(s);
        return 0;
      case kAssignLabel:
        e.AssignLabel(static_cast<Colour>(a), b, c);
        return 0;
      case kSetLast:
        e.SetLastP(static_cast<int16_t>(a));
        e.SetLastQ(static_cast<int16_t>(b));
        return 0;
      case kToggleDead: {
        e.SetGameOver(true);
        const bool r = e.ToggleDead(a, b);
        e.SetGameOver(false);
        return r ? 1 : 0;
      }
      case kHandicap:
        e.SetHandicap(static_cast<int8_t>(a));
        return 0;
    }
    return 0;
  }
};

// The two engines side by side.
struct Pair {
  LattixEngine ref, fast;
  test::RecordingView refView, fastView;
  Pair() {
    ref.SetReferenceRules(true);
    ref.SetView(&refView);
    fast.SetView(&fastView);
  }
  // Applies op to both and returns "" or how they differ afterwards.
  std::string Step(const Op& op) {
    refView.calls.clear();
    fastView.calls.clear();
    const int a = op.Apply(ref), f = op.Apply(fast);
    std::string diff;
    if (a != f)
      diff +=
          "  return value: reference " + std::to_string(a) + ", fast " + std::to_string(f) + "\n";
    diff += Compare(ref, fast);
    if (refView.calls != fastView.calls) {
      diff += "  view calls differ:\n    reference:";
      for (const auto& c : refView.calls) diff += " [" + c + "]";
      diff += "\n    fast:     ";
      for (const auto& c : fastView.calls) diff += " [" + c + "]";
      diff += "\n";
    }
    return diff;
  }
};

// Replays ops on a fresh pair; true when they diverge at some step.
bool Diverges(const std::vector<Op>& ops) {
  Pair pair;
  for (const Op& op : ops)
    if (!pair.Step(op).empty()) return true;
  return false;
}

// Greedy shrinking (delta debugging): drops runs of operations, then single ones, while the
// divergence stays.
std::vector<Op> Shrink(std::vector<Op> ops) {
  for (std::size_t chunk = ops.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t at = 0; at + chunk <= ops.size();) {
      std::vector<Op> fewer(ops.begin(), ops.begin() + at);
      fewer.insert(fewer.end(), ops.begin() + at + chunk, ops.end());
      if (Diverges(fewer))
        ops = std::move(fewer);
      else
        at += chunk;
    }
    if (chunk == 1) break;
  }
  // Then the point lists inside the remaining steps, one point at a time.
  for (std::size_t i = 0; i < ops.size(); ++i)
    for (std::string Op::*field : {&Op::s, &Op::t})
      for (std::size_t at = 0; at + 2 <= (ops[i].*field).size();) {
        std::vector<Op> fewer = ops;
        (fewer[i].*field).erase(at, 2);
        if (Diverges(fewer))
          ops = std::move(fewer);
        else
          at += 2;
      }
  return ops;
}

struct Stats {
  int steps = 0, plays = 0, legal = 0, captures = 0, checks = 0, setPoints = 0, turns = 0,
      replays = 0, setups = 0, fastSteps = 0;
};

// Draws the next operation from the generator, looking at the current position of `b`.
class OpGenerator {
 public:
  OpGenerator(Random& r, Stats& stats) : r_(r), stats_(stats) {
    static constexpr int kRegionSizes[] = {3, 4, 5, 7, 9, 19};
    size_ = kRegionSizes[r.Int(0, 5)];
    p0_ = r.Chance(0.5) ? (r.Chance(0.5) ? 1 : 20 - size_) : r.Int(1, 20 - size_);
    q0_ = r.Chance(0.5) ? (r.Chance(0.5) ? 1 : 20 - size_) : r.Int(1, 20 - size_);
  }

  Op Setup() {
    ++stats_.setups;
    Op op;
    op.kind = Op::kSetup;
    op.a = r_.Chance(0.85) ? (r_.Chance(0.5) ? kBlack : kWhite) : RandomTurnValue(r_);
    op.b = r_.Chance(0.8);
    op.c = r_.Chance(0.15) ? r_.Int(-1, 10) : 0;
    const double density = r_.Int(10, 90) / 100.0;
    if (r_.Chance(0.8)) {
      const int count = r_.Int(1, std::min(180, size_ * size_ + 10));
      for (int i = 0; i < count; ++i)
        (r_.Chance(density) ? op.s : op.t) += RandomPointList(r_, p0_, q0_, size_, 1);
    }
    if (r_.Chance(0.03)) op.s += 'Q';  // odd length: inert
    op.d = r_.Chance(0.3);
    return op;
  }

  Op Next(const LattixEngine& b) {
    ++stats_.steps;
    const double u = r_.Int(0, 999) / 1000.0;
    Op op;  // a move unless chosen otherwise
    if (u < 0.45) {
      ++stats_.plays;
      std::tie(op.a, op.b) = ChoosePoint(b);
      op.c = r_.Chance(0.5);
      if (LooksClean(b) && (b.Turn() & kStoneBit) != 0) ++stats_.fastSteps;
    } else if (u < 0.57) {
      ++stats_.checks;
      op.kind = Op::kCheck;
      std::tie(op.a, op.b) = ChoosePoint(b);
    } else if (u < 0.69) {
      ++stats_.setPoints;
      op.kind = Op::kSetPoint;
      const auto stones = StonePoints(b);
      const int kind = r_.Int(0, 9);
      Colour v;
      if (kind <= 5 && !stones.empty()) {
        std::tie(op.a, op.b) = r_.Pick(stones);
        const Colour c = b.GetPoint(op.a, op.b);
        switch (kind) {
          case 0:
            v = static_cast<Colour>(c | 4);
            break;  // a caller's tag
          case 1:
            v = static_cast<Colour>(c | kDeadBit);
            break;  // marked dead
          case 2:
            v = static_cast<Colour>(c & ~(kDeadBit | 4));
            break;  // back to plain
          case 3:
            v = 0;
            break;  // emptied
          case 4:
            v = Opponent(c);
            break;  // recoloured
          default:
            v = static_cast<Colour>(c & ~kStoneBit);
            break;  // no longer a stone
        }
      } else if (kind <= 8) {
        op.a = r_.Int(p0_, p0_ + size_ - 1);
        op.b = r_.Int(q0_, q0_ + size_ - 1);
        static const Colour kValues[] = {kBlack, kWhite, 4, kDeadBit, -128, 7, -125, 0};
        v = kValues[r_.Int(0, 7)];
      } else {
        // The border (rows and columns 0 and 20), which never holds a stone in play.
        const int k = r_.Int(1, 19);
        static const int kSide[4][2] = {{0, -1}, {20, -1}, {-1, 0}, {-1, 20}};
        const auto& side = kSide[r_.Int(0, 3)];
        op.a = side[0] >= 0 ? side[0] : k;
        op.b = side[1] >= 0 ? side[1] : k;
        v = r_.Chance(0.3) ? 0 : (r_.Chance(0.5) ? kBlack : kWhite);
      }
      op.c = v;
    } else if (u < 0.74) {
      ++stats_.turns;
      op.kind = Op::kSetTurn;
      op.a = RandomTurnValue(r_);
    } else if (u < 0.78) {
      ++stats_.replays;
      op.kind = Op::kTakeBack;
    } else if (u < 0.83) {
      ++stats_.replays;
      op.kind = Op::kGoTo;
      op.b = r_.Chance(0.5);
      if (op.b)
        op.s =
            r_.Chance(0.5) ? r_.Pick(saved_) : RandomMoveList(r_, p0_, q0_, size_, r_.Int(0, 40));
      const int n = static_cast<int>((op.b ? op.s : b.Process()).size() / 2);
      op.a = r_.Int(-1, n + 1);
    } else if (u < 0.87) {
      ++stats_.replays;
      op.kind = Op::kSetProcess;
      const std::string now = b.Process();
      switch (r_.Int(0, 3)) {
        case 0:
          op.s = now.substr(0, 2 * r_.Int(0, static_cast<int>(now.size() / 2)));
          break;
        case 1:
          op.s = r_.Pick(saved_);
          break;
        case 2:
          op.s = now + RandomMoveList(r_, p0_, q0_, size_, 1);
          break;  // one move more
        default:
          op.s = RandomMoveList(r_, p0_, q0_, size_, r_.Int(0, 30));
          break;
      }
    } else if (u < 0.90) {
      // Set-up stones changed in the middle of a game: they land on the current position.
      op.kind = Op::kArranged;
      op.a = r_.Chance(0.5);
      op.s = RandomPointList(r_, p0_, q0_, size_, r_.Int(0, 12));
    } else if (u < 0.92) {
      op = Setup();
    } else if (u < 0.93) {
      op.kind = Op::kAssignLabel;
      op.a = RandomTurnValue(r_);
      op.b = r_.Int(p0_, p0_ + size_ - 1);
      op.c = r_.Int(q0_, q0_ + size_ - 1);
    } else if (u < 0.94) {
      static const int kValues[] = {0, 1, 5, 19, 20, 21, -1, 22, 40};
      op.kind = Op::kSetLast;
      op.a = kValues[r_.Int(0, 8)];
      op.b = kValues[r_.Int(0, 8)];
    } else if (u < 0.95 && !StonePoints(b).empty()) {
      op.kind = Op::kToggleDead;
      std::tie(op.a, op.b) = r_.Pick(StonePoints(b));
    } else if (u < 0.96) {
      op.kind = Op::kHandicap;
      op.a = r_.Int(0, 9);
    } else {
      op.a = op.b = kPassCoord;
    }
    return op;
  }

  // Remembers move lists to come back to.
  void Saw(const LattixEngine& b) {
    if (saved_.size() < 12 && r_.Chance(0.2)) saved_.push_back(b.Process());
  }

 private:
  static std::vector<std::pair<int, int>> StonePoints(const LattixEngine& b) {
    std::vector<std::pair<int, int>> v;
    for (int p = 1; p <= 19; ++p)
      for (int q = 1; q <= 19; ++q)
        if (b.GetPoint(p, q) != 0) v.emplace_back(p, q);
    return v;
  }

  // A point for a move or a check: mostly the region, often a surrounded point or the last
  // liberty of a chain, sometimes a non-stone cell, a ko point, off the board or the pass.
  std::pair<int, int> ChoosePoint(const LattixEngine& b) {
    const double u = r_.Int(0, 999) / 1000.0;
    if (u < 0.05) return {kPassCoord, kPassCoord};
    if (u < 0.08) {
      static const int kOff[][2] = {{0, 5}, {20, 3}, {5, 20}, {21, 21}, {-1, 4}, {19, 0}, {0, 0}};
      const int k = r_.Int(0, 6);
      return {kOff[k][0], kOff[k][1]};
    }
    if (u < 0.35) {
      std::vector<std::pair<int, int>> surrounded, odd;
      for (int p = 1; p <= 19; ++p)
        for (int q = 1; q <= 19; ++q) {
          const Colour c = b.GetPoint(p, q);
          if (c != 0 && (c & kStoneBit) == 0) odd.emplace_back(p, q);
          if (c != 0) continue;
          bool anyEmpty = false;
          const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
          for (const auto& dd : d) {
            const int np = p + dd[0], nq = q + dd[1];
            if (np >= 1 && np <= 19 && nq >= 1 && nq <= 19 && b.GetPoint(np, nq) == 0)
              anyEmpty = true;
          }
          if (!anyEmpty) surrounded.emplace_back(p, q);
        }
      if (!odd.empty() && r_.Chance(0.3)) return r_.Pick(odd);
      if (!surrounded.empty()) return r_.Pick(surrounded);
    }
    if (u < 0.55) {
      std::vector<std::pair<int, int>> theirs, mine;
      AtariPoints(b, b.Turn(), &theirs, &mine);
      const auto& from = !theirs.empty() && (mine.empty() || r_.Chance(0.7)) ? theirs : mine;
      if (!from.empty()) return r_.Pick(from);
    }
    if (u < 0.62 && b.LastCaptures() > 0 && r_.Chance(0.8)) {
      // Next to the last move: where a ko retake would be.
      const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
      const auto& dd = d[r_.Int(0, 3)];
      return {b.LastP() + dd[0], b.LastQ() + dd[1]};
    }
    return {r_.Int(p0_, p0_ + size_ - 1), r_.Int(q0_, q0_ + size_ - 1)};
  }

  Random& r_;
  Stats& stats_;
  int size_, p0_, q0_;
  std::vector<std::string> saved_{""};
};

// Runs one game on both engines; returns "" or the first divergence with a shrunk reproduction.
std::string RunGame(uint32_t seed, int game, Stats& stats) {
  Random r(seed);
  OpGenerator gen(r, stats);
  Pair pair;
  std::vector<Op> ops{gen.Setup()};
  std::string diff = pair.Step(ops.back());
  for (int step = 1; step <= kStepsPerGame && diff.empty(); ++step) {
    ops.push_back(gen.Next(pair.ref));
    const int before = pair.ref.NextMove();
    diff = pair.Step(ops.back());
    if (ops.back().kind == Op::kPlay && pair.ref.NextMove() != before) {
      ++stats.legal;
      if (pair.ref.LastCaptures() > 0) ++stats.captures;
    }
    gen.Saw(pair.ref);
  }
  if (diff.empty()) return "";
  std::ostringstream out;
  out << "seed " << seed << ", game " << game << ", step " << ops.size() - 1
      << ": the reference and fast paths diverge\n"
      << diff << "reference engine (rows 0..20, '?' a non-stone value, x/o a tagged stone):\n"
      << Board(pair.ref) << "fast engine:\n"
      << Board(pair.fast);
  const std::vector<Op> small = Shrink(ops);
  out << "shrunk reproduction (" << small.size() << " of " << ops.size()
      << " steps; run on an engine b, once with b.SetReferenceRules(true)):\n";
  for (const Op& op : small) out << "  " << op.Code() << "\n";
  Pair replay;
  std::string last;
  for (const Op& op : small) last = replay.Step(op);
  out << "last step there:\n" << last;
  return out.str();
}

TEST(ReferenceRules, FastPathMatchesTheWholeBoardScan) {
  Stats stats;
  for (int game = 0; game < kGames; ++game) {
    const uint32_t seed = kBaseSeed + static_cast<uint32_t>(game);
    const std::string failure = RunGame(seed, game, stats);
    ASSERT_EQ(failure, "") << "differential rules test (re-run with this seed)";
  }
  std::ostringstream summary;
  summary << kGames << " games, " << stats.steps << " steps: " << stats.plays << " plays ("
          << stats.legal << " legal, " << stats.captures << " capturing, " << stats.fastSteps
          << " from positions the fast path takes), " << stats.checks << " checks, "
          << stats.setPoints << " SetPoint, " << stats.turns << " SetTurn, " << stats.replays
          << " replays, " << stats.setups << " set-ups";
  std::cout << "[ differ   ] " << summary.str() << std::endl;
  RecordProperty("summary", summary.str());
  EXPECT_GT(stats.captures, kGames);
  EXPECT_GT(stats.fastSteps, stats.plays / 4);
}

}  // namespace
}  // namespace zendra
