// The life-and-death solver behind the solving controller's MoveJudge, and what the solver and
// the problems share: the solver's board of an engine position, point letters, the goal a
// problem's answer sets.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "board/engine/lattix_engine.h"
#include "solver/solver.h"
#include "solving/move_judge.h"

namespace zendra {

// The solver's 19 x 19 board holding the engine's Go stones.
solver::Board SolverBoard(const LattixEngine& board);
// Point letters ("CC", column then row, A = 1) on a solver board; kNoPoint for anything else
// (a pass "TT" included).
solver::Point SolverPoint(const solver::Board& board, std::string_view letters);
// The letters of a solver point; "TT" for a pass.
std::string PointLetters(const solver::Board& board, solver::Point p);
// Every point named in a string of point letters, two letters a point, passes left out.
std::vector<solver::Point> SolverPoints(const solver::Board& board, std::string_view letters);

// What a problem's answer (`Result2`) asks of the user.
struct ProblemGoal {
  bool userKills = true;  // "dies" / "killed by ko"; else "lives" / "lives by ko"
  bool byKo = false;      // the answer is a ko
  // A kill whose best is a seki: the stones in question must not live outright (no answer
  // says so; a tree without an answer can show it).
  bool seki = false;
};
std::optional<ProblemGoal> GoalOf(std::optional<int> result2);

// Whether a verdict of the side with the goal reaches an answer: a ko answer is reached by a ko
// or better, an unconditional one only unconditionally (for life: seki counts; a kill's seki
// goal is reached by a seki or better).
bool Reaches(solver::Status status, const ProblemGoal& goal);

class SolverMoveJudge : public MoveJudge {
 public:
  explicit SolverMoveJudge(solver::Budget budget = {400'000, 0.15}) : budget_(budget) {}
  OffTreeJudgement Judge(const LattixEngine& board, Colour user, std::optional<int> result2,
                         const std::string& focus) override;

 private:
  solver::Budget budget_;
};

}  // namespace zendra
