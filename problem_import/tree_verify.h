// A problem's answer tree held against the life-and-death solver.
//
// The position after set-up and initial moves is handed to the solver as an enclosed problem
// (solver/enclose.h: the stones in question beside the tree's moves, the area the attacker's
// safe stones close in). The goal comes from the problem's answer (`Result2`): the user kills
// for "dies" / "killed by ko", lives for "lives" / "lives by ko". A problem without an answer
// takes the goal (kill, else life) under which the tree's correct first moves reach an
// unconditional result and none fails, a pass does not reach it, and some wrong first move of
// the tree (if it has any) fails; only wrong and missing moves can then disagree (and a ko
// answer cannot be told). Every first move of the user is
// judged, and the tree's first moves are compared with the judgement:
//   - a correct first move that fails, or works only by ko when the answer is unconditional;
//   - a wrong first move that reaches the best result there is;
//   - a move that reaches the best result and is missing from the tree's first moves;
//   - an answer "by ko" where the problem works unconditionally.
// Seki counts as life: a life problem's best result is unconditional life, then seki, then a
// won ko. A problem that is not enclosed, has no answer, or is beyond the solver's budget is not
// decided and is compared with nothing.
//
// Only first moves are judged: the lines below them are not compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "problem_import/problem_data.h"
#include "solver/solver.h"

namespace zendra {

enum class DisagreementKind {
  kCorrectFails,          // a first move the tree marks correct does not reach the answer
  kWrongWorks,            // a first move the tree marks wrong reaches the best result
  kMissingCorrect,        // a first move that reaches the best result is not in the tree
  kKoIsUnconditional,     // the answer is a ko, the problem works without one
};
inline constexpr int kDisagreementKinds = 4;
// A short phrase naming the kind ("correct line fails"); the JSON key is KindKey.
const char* DisagreementName(DisagreementKind kind);
const char* DisagreementKey(DisagreementKind kind);

struct Disagreement {
  DisagreementKind kind;
  std::string move;    // the first move in point letters ("BA"), empty for the whole problem
  std::string detail;  // what the solver found, with its line in point letters
};

struct TreeVerdict {
  bool decided = false;
  bool goalInferred = false;    // no answer: the goal is the one the tree's correct moves reach
  std::string undecidedReason;  // when not decided: not enclosed, no answer, beyond the budget
  solver::Status status = solver::Status::Unknown;  // the best result for the user
  std::string principalLine;                        // point letters, a space between moves
  std::vector<Disagreement> disagreements;
  uint64_t nodes = 0;
  double seconds = 0;
};

// Judges one problem within `budget` (the whole problem: every first move shares it).
TreeVerdict VerifyTree(const DataProblem& problem, solver::Budget budget);

}  // namespace zendra
