#include "solver/enclose.h"

#include <algorithm>

namespace zendra::solver {

std::vector<Point> TargetCandidates(const Board& board, Stone attacker,
                                    const std::vector<Point>& focus) {
  const Stone defender = Opponent(attacker);
  const auto cells = static_cast<size_t>(board.Cells());
  // A chain with two eyes beside the moves is not what a problem asks about: those come last.
  const std::vector<bool> alive = BensonAlive(board, defender);
  struct Candidate {
    Point stone;
    size_t size;
    bool alive;
  };
  std::vector<Candidate> found;
  std::vector<bool> tried(cells, false);
  for (Point f : focus) {
    if (f < 0 || static_cast<size_t>(f) >= cells || board.Get(f) == Stone::Border) continue;
    std::vector<Point> near{f};
    for (Point n : board.Neighbours(f)) near.push_back(n);
    for (Point p : near) {
      if (board.Get(p) != defender || tried[static_cast<size_t>(p)]) continue;
      const std::vector<Point> chain = board.Chain(p);
      for (Point q : chain) tried[static_cast<size_t>(q)] = true;
      found.push_back({chain.front(), chain.size(), alive[static_cast<size_t>(p)]});
    }
  }
  std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    if (a.alive != b.alive) return !a.alive;
    return a.size > b.size;
  });
  std::vector<Point> stones;
  for (const Candidate& c : found) stones.push_back(c.stone);
  return stones;
}

namespace {

// Whether the empty point p is closed in by stones of `colour` and the board's edge alone.
bool ClosedPoint(const Board& board, Point p, Stone colour) {
  for (Point n : board.Neighbours(p))
    if (board.Get(n) != colour && board.Get(n) != Stone::Border) return false;
  return true;
}

}  // namespace

EncloseResult Enclose(const Board& board, Stone attacker, Stone toMove,
                      const std::vector<Point>& focus, int maxEmpty, Point targetStone) {
  EncloseResult result;
  const Stone defender = Opponent(attacker);
  const auto cells = static_cast<size_t>(board.Cells());
  auto inside = [&](Point p) { return p >= 0 && static_cast<size_t>(p) < cells; };

  if (targetStone == kNoPoint) {
    const std::vector<Point> candidates = TargetCandidates(board, attacker, focus);
    if (!candidates.empty()) targetStone = candidates.front();
  }
  if (targetStone == kNoPoint || !inside(targetStone) || board.Get(targetStone) != defender) {
    result.reason = kNoTargetReason;
    return result;
  }
  const std::vector<Point> target = board.Chain(targetStone);

  // Walls: every attacker chain the region meets, except those lying wholly inside it.
  std::vector<Point> walls;
  for (Point p = 0; p < board.Cells(); ++p)
    if (board.Get(p) == attacker) walls.push_back(p);
  std::vector<Point> region = RegionAround(board, target, walls);
  std::vector<bool> inRegion(cells, false);
  for (Point p : region) inRegion[static_cast<size_t>(p)] = true;
  std::vector<bool> wallChecked(cells, false);
  std::vector<bool> interior(cells, false);
  bool anyInterior = false;
  for (Point p : region)
    for (Point n : board.Neighbours(p)) {
      if (board.Get(n) != attacker || wallChecked[static_cast<size_t>(n)]) continue;
      const std::vector<Point> chain = board.Chain(n);
      // A wall is safe only if it keeps a liberty outside the region: one whose liberties all
      // lie inside can be captured in the local game, and is part of it. So is one whose only
      // liberty outside is a single point closed in by the attacker's stones (and the edge):
      // one eye, which the defender can fill once the liberties inside are gone.
      bool outsideLiberty = false;
      std::vector<Point> pockets;
      for (Point s : chain) {
        wallChecked[static_cast<size_t>(s)] = true;
        for (Point m : board.Neighbours(s)) {
          if (board.Get(m) != Stone::Empty || inRegion[static_cast<size_t>(m)]) continue;
          if (!ClosedPoint(board, m, attacker)) {
            outsideLiberty = true;
          } else if (std::find(pockets.begin(), pockets.end(), m) == pockets.end()) {
            pockets.push_back(m);
          }
        }
      }
      if (outsideLiberty || pockets.size() > 1) continue;
      if (pockets.size() == 1 && ChainBensonAlive(board, n)) continue;
      for (Point s : chain) interior[static_cast<size_t>(s)] = true;
      anyInterior = true;
    }
  if (anyInterior) {
    walls.erase(std::remove_if(walls.begin(), walls.end(),
                               [&](Point w) { return interior[static_cast<size_t>(w)]; }),
                walls.end());
    region = RegionAround(board, target, walls);
    std::fill(inRegion.begin(), inRegion.end(), false);
    for (Point p : region) inRegion[static_cast<size_t>(p)] = true;
  }

  int empty = 0;
  for (Point p : region) empty += board.Get(p) == Stone::Empty ? 1 : 0;
  if (empty > maxEmpty) {
    result.reason = "not enclosed: " + std::to_string(empty) + " empty points around the stones";
    return result;
  }
  for (Point f : focus)
    if (inside(f) && board.Get(f) != Stone::Border && !inRegion[static_cast<size_t>(f)]) {
      result.reason = "not enclosed: the move " + board.Name(f) + " lies outside the stones' area";
      return result;
    }
  // Only moves inside the region are played, so a wall keeping a liberty outside is never taken
  // in the local game. In the real game the defender's stones outside may fill those outside
  // liberties too: a wall with fewer than kSafeWallLiberties of them that such a stone touches
  // (the wall or one of those liberties; and the wall not unconditionally alive) may fall, and
  // the local game would answer another question than the problem's. So may a wall with no
  // more than kShortWallLiberties liberties in all that touches a stone of the defender's
  // anywhere: one move puts it in atari and the capture is a move outside the region, which the
  // local game cannot play. A wall with none outside is taken in the local game itself, as the
  // rules of play allow.
  const std::vector<bool> wallAlive = BensonAlive(board, attacker);
  std::fill(wallChecked.begin(), wallChecked.end(), false);
  const auto defenderOutside = [&](Point m) {
    return board.Get(m) == defender && !inRegion[static_cast<size_t>(m)];
  };
  for (Point p : region)
    for (Point n : board.Neighbours(p)) {
      if (board.Get(n) != attacker || inRegion[static_cast<size_t>(n)] ||
          wallChecked[static_cast<size_t>(n)])
        continue;
      std::vector<bool> counted(cells, false);
      int outside = 0;
      bool besieged = false;
      bool touchesDefender = false;
      for (Point s : board.Chain(n)) {
        wallChecked[static_cast<size_t>(s)] = true;
        for (Point m : board.Neighbours(s)) {
          besieged = besieged || defenderOutside(m);
          touchesDefender = touchesDefender || board.Get(m) == defender;
          if (board.Get(m) != Stone::Empty || inRegion[static_cast<size_t>(m)] ||
              counted[static_cast<size_t>(m)])
            continue;
          counted[static_cast<size_t>(m)] = true;
          ++outside;
          for (Point k : board.Neighbours(m)) besieged = besieged || defenderOutside(k);
        }
      }
      const bool shortOfLiberties = touchesDefender && board.Liberties(n) <= kShortWallLiberties;
      if (outside > 0 && outside < kSafeWallLiberties && (besieged || shortOfLiberties) &&
          !wallAlive[static_cast<size_t>(n)]) {
        result.reason = "not enclosed: the stones closing the area in at " + board.Name(n) +
                        " have " + std::to_string(outside) +
                        " liberties outside it, next to stones in question";
        return result;
      }
    }
  Problem problem;
  problem.board = board;
  problem.region = std::move(region);
  problem.targets = {target.front()};
  problem.attacker = attacker;
  problem.toMove = toMove;
  result.problem = std::move(problem);
  return result;
}

}  // namespace zendra::solver
