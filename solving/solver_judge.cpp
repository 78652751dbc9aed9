#include "solving/solver_judge.h"

#include "solver/enclose.h"

namespace zendra {

solver::Board SolverBoard(const LattixEngine& board) {
  solver::Board out(19, 19);
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) {
      const Colour c = board.GetPoint(p, q);
      if ((c & kStoneBit) == 0) continue;
      out.Set(out.At(p - 1, q - 1), c < 0 ? solver::Stone::White : solver::Stone::Black);
    }
  return out;
}

solver::Point SolverPoint(const solver::Board& board, std::string_view letters) {
  if (letters.size() < 2) return solver::kNoPoint;
  auto coordinate = [](char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return c - 'A';
  };
  const int column = coordinate(letters[0]);
  const int row = coordinate(letters[1]);
  if (column < 0 || row < 0 || column >= board.Width() || row >= board.Height())
    return solver::kNoPoint;
  return board.At(column, row);
}

std::string PointLetters(const solver::Board& board, solver::Point p) {
  if (p < 0 || p >= board.Cells() || board.Get(p) == solver::Stone::Border) return "TT";
  return {static_cast<char>('A' + board.Column(p)), static_cast<char>('A' + board.Row(p))};
}

std::vector<solver::Point> SolverPoints(const solver::Board& board, std::string_view letters) {
  std::vector<solver::Point> points;
  for (std::size_t i = 0; i + 1 < letters.size(); i += 2) {
    const solver::Point p = SolverPoint(board, letters.substr(i, 2));
    if (p != solver::kNoPoint) points.push_back(p);
  }
  return points;
}

std::optional<ProblemGoal> GoalOf(std::optional<int> result2) {
  if (!result2 || *result2 < 0 || *result2 > 3) return std::nullopt;
  return ProblemGoal{*result2 == 0 || *result2 == 2, *result2 >= 2};
}

bool Reaches(solver::Status status, const ProblemGoal& goal) {
  switch (status) {
    case solver::Status::Works:
      return true;
    case solver::Status::Seki:
      return !goal.userKills || goal.seki;
    case solver::Status::WorksByKo:
      return goal.byKo || goal.seki;
    case solver::Status::Fails:
    case solver::Status::Unknown:
      return false;
  }
  return false;
}

OffTreeJudgement SolverMoveJudge::Judge(const LattixEngine& board, Colour user,
                                        std::optional<int> result2, const std::string& focus) {
  OffTreeJudgement judgement;
  const std::optional<ProblemGoal> goal = GoalOf(result2);
  if (!goal) return judgement;
  const solver::Board position = SolverBoard(board);
  const solver::Stone userStone = user < 0 ? solver::Stone::White : solver::Stone::Black;
  const solver::Stone attacker = goal->userKills ? userStone : solver::Opponent(userStone);
  const solver::EncloseResult enclosed =
      solver::Enclose(position, attacker, solver::Opponent(userStone), SolverPoints(position, focus));
  if (!enclosed.problem) {
    // The stones to kill are gone: the move decided the problem.
    if (goal->userKills && enclosed.reason == solver::kNoTargetReason)
      judgement.verdict = OffTreeVerdict::kWorks;
    return judgement;
  }
  const solver::Problem& problem = *enclosed.problem;
  if (!goal->userKills &&
      solver::BensonAlive(position, userStone)[static_cast<size_t>(problem.targets.front())]) {
    judgement.verdict = OffTreeVerdict::kWorks;  // alive whatever the computer does
    return judgement;
  }
  const solver::Analysis analysis = solver::Analyse(problem, budget_);
  // The computer's best result turned into the user's.
  solver::Status userStatus = solver::Status::Unknown;
  switch (analysis.status) {
    case solver::Status::Works:
    case solver::Status::Seki:
      userStatus = solver::Status::Fails;
      break;
    case solver::Status::WorksByKo:
      userStatus = solver::Status::WorksByKo;
      break;
    case solver::Status::Fails:
      userStatus = solver::Status::Works;
      break;
    case solver::Status::Unknown:
      return judgement;
  }
  judgement.verdict = Reaches(userStatus, *goal) ? OffTreeVerdict::kWorks : OffTreeVerdict::kFails;
  if (!analysis.principalLine.empty() && analysis.principalLine.front() != solver::kPass)
    judgement.reply = PointLetters(position, analysis.principalLine.front());
  return judgement;
}

}  // namespace zendra
