// The enclosed problem around a position: which stones are in question and which points the
// local game is played on, found from the position and the points a problem's moves touch.
//
// The target is the largest chain of the defender that stands on or beside one of those points
// and is not unconditionally alive already (the largest of all when every one is).
// The region grows from it through empty points and the defender's stones; the attacker's chains
// it meets are walls, except a chain without a liberty outside the region (a stone played into
// the eye space, or stones hemmed in against the defender), which the local game could capture:
// it belongs to the region. A problem is enclosed when the region holds every
// point its moves touch and no more than `maxEmpty` empty points: beyond that the area is open
// and the local game is not the problem.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "solver/solver.h"

namespace zendra::solver {

// The reason Enclose gives when no stone of the defender stands on or beside the focus.
inline constexpr const char* kNoTargetReason = "no stones in question beside the moves";

struct EncloseResult {
  std::optional<Problem> problem;
  std::string reason;  // why there is no enclosed problem
};

// `focus`: the points the problem's moves are played on (the first moves at least).
EncloseResult Enclose(const Board& board, Stone attacker, Stone toMove,
                      const std::vector<Point>& focus, int maxEmpty = 40);

}  // namespace zendra::solver
