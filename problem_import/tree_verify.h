// A problem's answer tree held against the life-and-death solver.
//
// The position after set-up and initial moves is handed to the solver as an enclosed problem
// (solver/enclose.h: the stones in question beside the tree's moves, the area the attacker's
// safe stones close in). The goal comes from the problem's answer (`Result2`): the user kills
// for "dies" / "killed by ko", lives for "lives" / "lives by ko". A problem without an answer
// takes the goal (kill, else life) under which the tree's correct first moves reach the best
// result there is (unconditional, or a ko when no move does better) and none falls short of
// the goal, a pass does not reach that best result, and some wrong first move of the tree (if
// it has any) falls short of it (fails, or gets only a ko or a seki where more exists); the
// pass and that wrong move must be judged within the budget, or the goal is not known and the
// problem is beyond it. Only wrong and missing moves can then disagree (and whether the author
// meant a ko cannot be told).
// Where no move kills at all and neither goal fits, a third is tried: a kill whose best result
// is a seki (the correct moves leave the stones only a seki, the wrong ones let them live
// outright; the solver tells the two apart for it, solver::Analyse's tellSeki).
// When no goal fits for the stones enclose.h takes as the ones in question, the other
// chains beside the tree's moves are tried in its order of preference (a few of them), and
// the first chain and goal that fit are taken. When none fits outright, the first that fits
// but for correct first moves winning only a ko where another correct move needs none is
// taken (the author took a ko for success): those moves are correct lines that fail.
//
// A user move is correct when a line below it ends in a success that the computer's replies
// let the user reach: a line through a reply the computer never plays (barred from its replies
// by default, beside other replies) is the author's lesson about an opponent's mistake, and
// makes no move correct.
//
// Whole lines are compared. Every position of the tree where the user is to move (the start,
// and the position after each of the computer's replies) is judged by the solver within the
// same region and against the same stones, and the tree's moves there are held against the
// judgement:
//   - on a correct line (some line below the position ends in a success): a user move the tree
//     marks correct that does not reach the answer, or works only by ko when the answer is
//     unconditional (after a computer reply this means the reply refutes the tree's line); a
//     move the tree marks wrong that reaches the best result there is; a move reaching the best
//     result that the tree lacks (below the first move, only where none of the tree's correct
//     moves there works: beside a working one, another working move is an alternative the
//     tree need not show, and is only counted);
//   - on a wrong line (the position follows a wrong user move and the computer's refutation):
//     a user move there that reaches a result as good as the problem's best, i.e. the tree's
//     refutation does not refute;
//   - at the start, an answer "by ko" where the problem works unconditionally.
// A line is not followed below a user move found to disagree (a correct move that fails, a
// wrong one that works): one fault is reported once, where it starts.
// Below the first move, a position where a pass reaches the best result too needs no move, and
// other moves there are not compared (any move would do). A move the ko ban forbids right after
// the computer's reply is not compared either (the solver takes the position without its ban).
// Seki counts as life: a life problem's best result is unconditional life, then seki, then a
// won ko. A problem that is not enclosed, has no answer, whose stones are settled before any
// move, or whose start is beyond the solver's budget is not decided and is compared with
// nothing.
//
// Budget: one per problem, shared by its positions. The start takes what it needs of it first
// (for a problem without an answer, each goal whose stones are enclosed an equal share of what
// the goals before it left); the positions deeper in the tree then share what is left,
// shallower ones first, each given all that remains. Positions left when it runs out, or where
// the solver does not finish, are counted as not judged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "problem_import/problem_data.h"
#include "solver/solver.h"

namespace zendra {

enum class DisagreementKind {
  kCorrectFails,       // a user move the tree marks correct does not reach the answer
  kWrongWorks,         // a user move the tree marks wrong reaches the best result
  kMissingCorrect,     // a user move that reaches the best result is not in the tree
  kKoIsUnconditional,  // the answer is a ko, the problem works without one
  kRefutationFails,    // after the tree's refutation of a wrong move, the user still succeeds
};
inline constexpr int kDisagreementKinds = 5;
// A short phrase naming the kind ("correct line fails"); the JSON key is KindKey.
const char* DisagreementName(DisagreementKind kind);
const char* DisagreementKey(DisagreementKind kind);

struct Disagreement {
  DisagreementKind kind;
  std::string move;    // the user move in point letters ("BA"), empty for the whole problem
  std::string detail;  // what the solver found, with its line in point letters
  // The moves from the start up to and including `move`, in point letters with a space between
  // them ("CA BA DA"); the first move alone when depth is 1, empty for the whole problem.
  std::string path;
  int depth = 0;  // the number of moves in `path`
};

struct TreeVerdict {
  bool decided = false;
  bool goalInferred = false;    // no answer: the goal is the one the tree's correct moves reach
  std::string undecidedReason;  // when not decided: not enclosed, no answer, beyond the budget
  solver::Status status = solver::Status::Unknown;  // the best result for the user
  std::string principalLine;                        // point letters, a space between moves
  std::vector<Disagreement> disagreements;
  int positionsJudged = 0;    // positions with the user to move that were compared
  int positionsUnjudged = 0;  // beyond the budget, or a line the solver cannot follow
  // Moves below the first that work as well as a working correct move the tree has there, and
  // that the tree lacks: alternatives, not disagreements.
  int alternatives = 0;
  uint64_t nodes = 0;
  double seconds = 0;
  // When decided: what was solved, for tools that look further (the comparison with GNU Go).
  bool userKills = true;                   // the goal: the user kills, else the user lives
  std::optional<solver::Problem> problem;  // the enclosed problem at the start
  solver::Analysis start;                  // the solver's judgement of every first move there
};

// Judges one problem within `budget` (the whole problem: every position shares it).
TreeVerdict VerifyTree(const DataProblem& problem, solver::Budget budget);

}  // namespace zendra
