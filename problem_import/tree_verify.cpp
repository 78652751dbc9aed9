#include "problem_import/tree_verify.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "board/engine/lattix_engine.h"
#include "solver/enclose.h"
#include "solving/solver_judge.h"
#include "solving/tree/solution_tree.h"

namespace zendra {

const char* DisagreementName(DisagreementKind kind) {
  switch (kind) {
    case DisagreementKind::kCorrectFails:
      return "correct line fails";
    case DisagreementKind::kWrongWorks:
      return "wrong line works";
    case DisagreementKind::kMissingCorrect:
      return "correct first move missing";
    case DisagreementKind::kKoIsUnconditional:
      return "ko answer is unconditional";
  }
  return "";
}

const char* DisagreementKey(DisagreementKind kind) {
  switch (kind) {
    case DisagreementKind::kCorrectFails:
      return "correctFails";
    case DisagreementKind::kWrongWorks:
      return "wrongWorks";
    case DisagreementKind::kMissingCorrect:
      return "missingCorrect";
    case DisagreementKind::kKoIsUnconditional:
      return "koIsUnconditional";
  }
  return "";
}

namespace {

// Better results rank higher; a life problem's seki is life without a ko.
int Rank(solver::Status s) {
  switch (s) {
    case solver::Status::Works:
      return 4;
    case solver::Status::Seki:
      return 3;
    case solver::Status::WorksByKo:
      return 2;
    case solver::Status::Fails:
      return 1;
    case solver::Status::Unknown:
      return 0;
  }
  return 0;
}

// True when some line end below `id` (itself included) is a success.
bool LeadsToSuccess(const SolutionTree& tree, NodeId id) {
  const int level = tree.Level(id);
  for (NodeId n = id; n != kNoNode; n = tree.Successor(n)) {
    if (n != id && tree.Level(n) <= level) break;
    if (!tree.HasChildren(n) && IsSuccess(tree.NodeCode(n))) return true;
  }
  return false;
}

std::string Letters(const solver::Board& board, const std::vector<solver::Point>& line) {
  std::string text;
  for (solver::Point p : line) text += (text.empty() ? "" : " ") + PointLetters(board, p);
  return text;
}

}  // namespace

TreeVerdict VerifyTree(const DataProblem& problem, solver::Budget budget) {
  TreeVerdict verdict;
  const auto start = std::chrono::steady_clock::now();
  auto finish = [&]() {
    verdict.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return verdict;
  };
  SolutionTree tree;
  if (tree.LoadSolution(problem.solution) != SolutionTree::LoadResult::kLoaded ||
      tree.FirstRoot() == kNoNode) {
    verdict.undecidedReason = "no readable tree";
    return finish();
  }
  std::optional<ProblemGoal> goal = GoalOf(problem.result2);

  LattixEngine engine;
  const char first = problem.firstToPlay.empty() ? 'B' : problem.firstToPlay[0];
  engine.SetFirstToPlay(first == 'W' ? kWhite : kBlack);
  engine.NewGame(false);
  engine.SetArrangedSideP(problem.arrangedBlack);
  engine.SetArrangedSideN(problem.arrangedWhite);
  engine.SetProcess(problem.initial);
  const solver::Board board = SolverBoard(engine);
  const solver::Stone user =
      engine.Turn() < 0 ? solver::Stone::White : solver::Stone::Black;

  // The tree's first moves and every point its lines touch.
  const NodeId root = tree.FirstRoot();
  std::map<solver::Point, bool> firstMoves;  // point -> the tree marks it correct
  std::string focus;
  for (NodeId c = tree.FirstChild(root); c != kNoNode; c = tree.NextSibling(c)) {
    const solver::Point p = SolverPoint(board, tree.NodePoint(c));
    if (p == solver::kNoPoint) continue;
    firstMoves[p] = firstMoves[p] || LeadsToSuccess(tree, c);
  }
  for (NodeId n = tree.FirstChild(root); n != kNoNode; n = tree.Successor(n)) {
    if (tree.Level(n) == 0) break;
    focus += tree.NodePoint(n);
  }
  // Without an answer the goal is the one under which the tree's correct first moves reach
  // an unconditional result, a pass does not, and a wrong first move (if the tree has one)
  // fails: a kill tried first, then life, each with half the budget.
  const bool inferred = !goal;
  const std::vector<ProblemGoal> goals =
      goal ? std::vector<ProblemGoal>{*goal}
           : std::vector<ProblemGoal>{{true, false}, {false, false}};
  const solver::Budget share{budget.nodes / goals.size(), budget.seconds / goals.size()};
  std::optional<solver::Analysis> found;
  for (const ProblemGoal& g : goals) {
    const solver::Stone attacker = g.userKills ? user : solver::Opponent(user);
    const solver::EncloseResult enclosed =
        solver::Enclose(board, attacker, user, SolverPoints(board, focus));
    if (!enclosed.problem) {
      verdict.undecidedReason = enclosed.reason;
      continue;
    }
    solver::Analysis analysis = solver::Analyse(*enclosed.problem, share);
    verdict.nodes += analysis.nodes;
    if (analysis.status == solver::Status::Unknown) {
      verdict.undecidedReason = "beyond the budget";
      continue;
    }
    if (inferred) {
      bool correctReach = false, correctFail = false, passReaches = false;
      bool wrongInTree = false, wrongFails = false;
      for (const solver::MoveVerdict& m : analysis.moves) {
        if (m.status == solver::Status::Unknown) continue;
        if (m.move == solver::kPass) passReaches = Reaches(m.status, g);
        const auto inTree = firstMoves.find(m.move);
        if (inTree == firstMoves.end()) continue;
        if (inTree->second) {
          (Reaches(m.status, g) ? correctReach : correctFail) = true;
        } else {
          wrongInTree = true;
          wrongFails = wrongFails || !Reaches(m.status, g);
        }
      }
      if (!correctReach || correctFail || passReaches || (wrongInTree && !wrongFails)) {
        verdict.undecidedReason = "no answer, and neither goal fits the tree";
        continue;
      }
    }
    goal = g;
    found = std::move(analysis);
    break;
  }
  if (!found) return finish();
  const solver::Analysis& analysis = *found;
  verdict.undecidedReason.clear();
  verdict.goalInferred = inferred;
  verdict.decided = true;
  // The best result over the moves judged (Analyse ranks the same way).
  verdict.status = analysis.status;
  verdict.principalLine = Letters(board, analysis.principalLine);

  auto add = [&](DisagreementKind kind, solver::Point move, std::string detail) {
    verdict.disagreements.push_back(
        {kind, move == solver::kNoPoint ? std::string() : PointLetters(board, move),
         std::move(detail)});
  };
  const solver::Status best = analysis.status;
  if (goal->byKo && best == solver::Status::Works) {
    add(DisagreementKind::kKoIsUnconditional, solver::kNoPoint,
        "works without a ko: " + verdict.principalLine);
  }
  for (const solver::MoveVerdict& m : analysis.moves) {
    if (m.status == solver::Status::Unknown) continue;
    const std::string line = Letters(board, m.line);
    const auto inTree = firstMoves.find(m.move);
    if (inTree != firstMoves.end() && inTree->second) {
      if (!Reaches(m.status, *goal)) {
        add(DisagreementKind::kCorrectFails, m.move,
            std::string(solver::StatusName(m.status)) + (line.empty() ? "" : ": " + line));
      }
    } else if (m.move != solver::kPass && best != solver::Status::Fails &&
               Rank(m.status) >= Rank(best) && Reaches(m.status, *goal)) {
      add(inTree != firstMoves.end() ? DisagreementKind::kWrongWorks
                                     : DisagreementKind::kMissingCorrect,
          m.move, std::string(solver::StatusName(m.status)) + (line.empty() ? "" : ": " + line));
    }
  }
  return finish();
}

}  // namespace zendra
