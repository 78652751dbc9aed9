// The enclosed problem around a position: which stones are in question and which points the
// local game is played on, found from the position and the points a problem's moves touch.
//
// The target is the largest chain of the defender that stands on or beside one of those points
// and is not unconditionally alive already (the largest of all when every one is).
// The region grows from it through empty points and the defender's stones; the attacker's chains
// it meets are walls, except a chain without a liberty outside the region (a stone played into
// the eye space, or stones hemmed in against the defender), which the local game could capture:
// it belongs to the region. A problem is enclosed when the region holds every point its moves
// touch and no more than `maxEmpty` empty points (beyond that the area is open and the local
// game is not the problem), and no wall is short of liberties outside it where the defender's
// stones outside could take them (see kSafeWallLiberties), or short of liberties in all beside
// the defender's stones (see kShortWallLiberties).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "solver/solver.h"

namespace zendra::solver {

// The fewest liberties outside the region a wall (an attacker chain closing the region in, not
// unconditionally alive) must keep for the problem to be enclosed when a defender's stone
// outside the region touches it or those liberties: with fewer it may be taken by moves outside
// the region, which the local game does not play. A wall with no liberty outside is captured,
// or not, in the local game itself.
inline constexpr int kSafeWallLiberties = 3;
// The most liberties in all (inside and outside the region) of a wall that the defender can take
// whatever stands outside: when it touches a stone of the defender's (inside the region or out),
// one move of his puts it in atari and the capture lies outside the region. Such a wall with a
// liberty outside makes the problem not enclosed.
inline constexpr int kShortWallLiberties = 2;

// The reason Enclose gives when no stone of the defender stands on or beside the focus.
inline constexpr const char* kNoTargetReason = "no stones in question beside the moves";

struct EncloseResult {
  std::optional<Problem> problem;
  std::string reason;  // why there is no enclosed problem
};

// The defender's chains on or beside a focus point, one stone of each, in the order a target is
// chosen from them: those not unconditionally alive first, then the larger before the smaller,
// then in the order of the focus.
std::vector<Point> TargetCandidates(const Board& board, Stone attacker,
                                    const std::vector<Point>& focus);

// The most empty points an enclosed area may hold; beyond them the area is open.
inline constexpr int kMostEmptyPoints = 40;

// `focus`: the points the problem's moves are played on (the first moves at least).
// `targetStone`: a stone of the chain in question, when the caller knows it (kNoPoint: the first
// of TargetCandidates).
EncloseResult Enclose(const Board& board, Stone attacker, Stone toMove,
                      const std::vector<Point>& focus, int maxEmpty = kMostEmptyPoints,
                      Point targetStone = kNoPoint);

}  // namespace zendra::solver
