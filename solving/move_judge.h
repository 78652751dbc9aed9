// The judge of moves the solution tree does not know: asked by the solving controller when the
// option "Check moves the answer does not know" is on and the user plays off the tree. The
// application fills it with the life-and-death solver (solving/solver_judge.h); tests with fakes.
#pragma once

#include <optional>
#include <string>

#include "board/engine/lattix_engine.h"

namespace zendra {

enum class OffTreeVerdict {
  kWorks,    // the move reaches the problem's answer
  kFails,    // it does not: `reply` refutes it
  kUnknown,  // the judge could not tell (not enclosed, beyond its budget, no answer known)
};

struct OffTreeJudgement {
  OffTreeVerdict verdict = OffTreeVerdict::kUnknown;
  // The computer's answer in point letters ("CC"): the strongest defence after a move that
  // works, the refutation after one that fails. Empty after a move that works when the problem
  // is decided (nothing left to defend).
  std::string reply;
};

class MoveJudge {
 public:
  virtual ~MoveJudge() = default;
  // `board` holds the position just after the user's move, the computer to move; `user` is the
  // user's colour and `result2` the problem's answer (0 dies, 1 lives, 2 killed by ko, 3 lives by
  // ko). `focus` lists, in point letters, the points the problem is about: the move just played
  // and the tree's moves.
  virtual OffTreeJudgement Judge(const LattixEngine& board, Colour user,
                                 std::optional<int> result2, const std::string& focus) = 0;
};

}  // namespace zendra
