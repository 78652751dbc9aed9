#include "problem_import/tree_verify.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "board/engine/lattix_engine.h"
#include "solver/enclose.h"
#include "solving/solver_judge.h"
#include "solving/solving_controller.h"
#include "solving/tree/solution_tree.h"

namespace zendra {

const char* DisagreementName(DisagreementKind kind) {
  switch (kind) {
    case DisagreementKind::kCorrectFails:
      return "correct line fails";
    case DisagreementKind::kWrongWorks:
      return "wrong line works";
    case DisagreementKind::kMissingCorrect:
      return "correct move missing";
    case DisagreementKind::kKoIsUnconditional:
      return "ko answer is unconditional";
    case DisagreementKind::kRefutationFails:
      return "refutation fails";
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
    case DisagreementKind::kRefutationFails:
      return "refutationFails";
  }
  return "";
}

namespace {

// Better results rank higher, in the solver's order for the goal.
int Rank(solver::Status s, const ProblemGoal& goal) {
  return solver::StatusRank(s, goal.userKills);
}

// A computer reply below the node in question that the computer never plays: one barred from
// the replies under the solving controller's default (a bad move, not the best, or marked not
// to be chosen), beside other replies; the controller plays an only reply whatever its flags.
// Such a reply is the opponent's mistake the author shows, not an answer the user must meet.
bool NeverPlayed(const SolutionTree& tree, NodeId n) {
  return tree.Level(n) % 2 == 0 && tree.IsBarredFromReply(n, kReplyMaskAvoidBadMoves) &&
         tree.ChildCount(tree.Parent(n)) > 1;
}

// True when some line end below `id` (itself included) is a success that the computer's replies
// below `id` let the user reach: a success only after a reply the computer never plays does
// not make the line correct.
bool LeadsToSuccess(const SolutionTree& tree, NodeId id) {
  const int level = tree.Level(id);
  for (NodeId n = id; n != kNoNode; n = tree.Successor(n)) {
    if (n != id && tree.Level(n) <= level) break;
    if (tree.HasChildren(n) || !IsSuccess(tree.NodeCode(n))) continue;
    bool reachable = true;
    for (NodeId k = n; k != id && reachable; k = tree.Parent(k)) reachable = !NeverPlayed(tree, k);
    if (reachable) return true;
  }
  return false;
}

std::string Letters(const solver::Board& board, const std::vector<solver::Point>& line) {
  std::string text;
  for (solver::Point p : line) {
    if (!text.empty()) text += ' ';
    text += PointLetters(board, p);
  }
  return text;
}

// A tree move in the solver's terms: a move elsewhere ("TT"), or anything that names no point of
// the board, is a pass.
solver::Point TreePoint(const solver::Board& board, std::string_view letters) {
  const solver::Point p = SolverPoint(board, letters);
  return p == solver::kNoPoint ? solver::kPass : p;
}

// The user's moves the tree has at a node: point -> the tree marks it correct.
std::map<solver::Point, bool> UserMoves(const SolutionTree& tree, const solver::Board& board,
                                        NodeId node) {
  std::map<solver::Point, bool> moves;
  for (NodeId c = tree.FirstChild(node); c != kNoNode; c = tree.NextSibling(c)) {
    const solver::Point p = TreePoint(board, tree.NodePoint(c));
    moves[p] = moves[p] || LeadsToSuccess(tree, c);
  }
  return moves;
}

// Holds the tree's moves at one position against the solver's judgement of it.
class PositionComparer {
 public:
  PositionComparer(const solver::Board& board, const ProblemGoal& goal, TreeVerdict* verdict)
      : board_(board), goal_(goal), verdict_(verdict) {}

  // `path`: the moves that led to the position (point letters, a space between them); `depth`
  // their number; `banned`: the point the user may not take back at once (kNoPoint for none).
  // Returns the tree's moves found to disagree: marked wrong and working, or marked correct and
  // failing.
  std::vector<solver::Point> Compare(const solver::Analysis& analysis,
                                     const std::map<solver::Point, bool>& treeMoves,
                                     bool correctLine, const std::string& path, int depth,
                                     solver::Point banned, solver::Status problemBest) {
    // The best result over the moves the user may play; unknown when an undecided move could
    // still beat it.
    solver::Status best = analysis.status;
    if (banned != solver::kNoPoint) {
      int rank = 0;
      bool undecided = false;
      for (const solver::MoveVerdict& m : analysis.moves) {
        if (m.move == banned) continue;
        undecided = undecided || m.status == solver::Status::Unknown;
        if (Rank(m.status, goal_) > rank) rank = Rank(m.status, goal_), best = m.status;
      }
      if (undecided || analysis.status == solver::Status::Unknown) best = solver::Status::Unknown;
    }
    if (!correctLine) {
      // The tree's refutation must leave the user short of the problem's best result.
      if (best == solver::Status::Unknown || problemBest == solver::Status::Fails ||
          !Reaches(best, goal_) || Rank(best, goal_) < Rank(problemBest, goal_))
        return {};
      for (const solver::MoveVerdict& m : analysis.moves) {
        if (m.move == banned || m.status != best) continue;
        Add(DisagreementKind::kRefutationFails, m, path, depth);
        break;
      }
      return {};
    }
    std::vector<solver::Point> faulty;
    bool passReaches = false;
    for (const solver::MoveVerdict& m : analysis.moves)
      if (m.move == solver::kPass && best != solver::Status::Unknown)
        passReaches = Reaches(m.status, goal_) && Rank(m.status, goal_) >= Rank(best, goal_);
    // Below the first move, a position the user wins without a move needs no particular one.
    const bool compareOthers = best != solver::Status::Unknown && best != solver::Status::Fails &&
                               (depth == 0 || !passReaches);
    // Below the first move, a move the tree lacks is missing only when every one of the tree's
    // correct moves there is judged and fails; beside a working one (or one the budget left
    // undecided) it is an alternative, counted apart.
    bool treeWorks = false;
    for (const solver::MoveVerdict& m : analysis.moves) {
      const auto inTree = treeMoves.find(m.move);
      if (inTree != treeMoves.end() && inTree->second &&
          (m.status == solver::Status::Unknown || Reaches(m.status, goal_)))
        treeWorks = true;
    }
    for (const solver::MoveVerdict& m : analysis.moves) {
      if (m.status == solver::Status::Unknown || m.move == banned) continue;
      const auto inTree = treeMoves.find(m.move);
      if (inTree != treeMoves.end() && inTree->second) {
        if (!Reaches(m.status, goal_)) {
          Add(DisagreementKind::kCorrectFails, m, path, depth);
          faulty.push_back(m.move);
        }
      } else if (compareOthers && m.move != solver::kPass &&
                 Rank(m.status, goal_) >= Rank(best, goal_) && Reaches(m.status, goal_)) {
        if (inTree != treeMoves.end()) {
          Add(DisagreementKind::kWrongWorks, m, path, depth);
          faulty.push_back(m.move);
        } else if (depth == 0 || !treeWorks) {
          Add(DisagreementKind::kMissingCorrect, m, path, depth);
        } else {
          ++verdict_->alternatives;
        }
      }
    }
    return faulty;
  }

  // A position already decided before the user moves: the correct moves there cannot help when
  // the decision went against the user. Returns those moves.
  std::vector<solver::Point> Settled(bool userWon, const std::map<solver::Point, bool>& treeMoves,
                                     bool correctLine, const std::string& path, int depth) {
    std::vector<solver::Point> faulty;
    if (userWon || !correctLine) return faulty;
    for (const auto& [move, correct] : treeMoves) {
      if (!correct) continue;
      faulty.push_back(move);
      Add(DisagreementKind::kCorrectFails, solver::MoveVerdict{move, solver::Status::Fails, {}},
          path, depth,
          goal_.userKills ? "the stones in question already live"
                          : "the stones in question are already captured");
    }
    return faulty;
  }

  void AddWhole(DisagreementKind kind, std::string detail) {
    verdict_->disagreements.push_back({kind, "", std::move(detail), "", 0});
  }

 private:
  void Add(DisagreementKind kind, const solver::MoveVerdict& m, const std::string& path, int depth,
           std::string detail = "") {
    if (detail.empty()) {
      const std::string line = Letters(board_, m.line);
      detail = std::string(solver::StatusName(m.status)) + (line.empty() ? "" : ": " + line);
    }
    const std::string move = PointLetters(board_, m.move);
    verdict_->disagreements.push_back(
        {kind, move, std::move(detail), path.empty() ? move : path + " " + move, depth + 1});
  }

  const solver::Board& board_;
  ProblemGoal goal_;
  TreeVerdict* verdict_;
};

constexpr const char* kNoGoalFits = "no answer, and neither goal fits the tree";
// The most chains beside the moves tried as the stones in question of a tree without an answer.
constexpr size_t kMostTargets = 4;

// The tree's moves at a position: the ones the solver judges first, the correct before the
// wrong (a correct move that works decides the position whatever the others do).
std::vector<solver::Point> Keys(const std::map<solver::Point, bool>& moves) {
  std::vector<solver::Point> points;
  for (const bool correct : {true, false})
    for (const auto& [point, isCorrect] : moves)
      if (isCorrect == correct) points.push_back(point);
  return points;
}

// The budget left of `total` after `nodes` positions and since `start`.
solver::Budget Remaining(const solver::Budget& total, uint64_t nodes,
                         std::chrono::steady_clock::time_point start) {
  const double spent =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {nodes >= total.nodes ? 0 : total.nodes - nodes, total.seconds - spent, total.threads};
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
  const solver::Stone user = engine.Turn() < 0 ? solver::Stone::White : solver::Stone::Black;

  // The tree's first moves and every point its lines touch.
  const NodeId root = tree.FirstRoot();
  const std::map<solver::Point, bool> firstMoves = UserMoves(tree, board, root);
  std::string focus;
  for (NodeId n = tree.FirstChild(root); n != kNoNode; n = tree.Successor(n)) {
    if (tree.Level(n) == 0) break;
    focus += tree.NodePoint(n);
  }
  // Without an answer the goal is the one under which the tree's correct first moves reach the
  // best result there is, a pass does not, and a wrong first move (if the tree has one) falls
  // short of it (tree_verify.h): a kill tried first, then life.
  const bool inferred = !goal;
  const std::vector<ProblemGoal> goals =
      goal ? std::vector<ProblemGoal>{*goal}
           : std::vector<ProblemGoal>{{true, false}, {false, false}, {true, false, true}};
  // The third goal, a kill whose best is a seki (the author's right answer makes a seki where
  // every other move lets the stones live outright), is posed only where no move kills at all,
  // once neither of the others fits, with the whole of what they left of the budget.
  // The stones in question are the largest chain beside the moves that is not alive already
  // (solver/enclose.h). Without an answer, when neither goal fits the tree for them, the tree
  // may be about other stones beside its moves (a few stones to save or take beside a group
  // already dead or alive): the other chains are tried in turn, in the same order, and the
  // first chain and goal the tree fits are taken.
  const std::vector<solver::Point> points = SolverPoints(board, focus);
  std::vector<std::vector<solver::Point>> candidates;
  size_t rounds = 1;
  for (const ProblemGoal& g : goals) {
    const solver::Stone attacker = g.userKills ? user : solver::Opponent(user);
    // The seki goal is about the kill's stones (the first goal's).
    candidates.push_back(g.seki ? candidates.front()
                                : solver::TargetCandidates(board, attacker, points));
    if (inferred) rounds = std::max(rounds, std::min(candidates.back().size(), kMostTargets));
  }
  std::optional<solver::Analysis> found;
  std::optional<solver::Problem> local;
  // The first goal and chain that fit once correct moves winning only a ko are allowed.
  struct KoFit {
    ProblemGoal goal;
    solver::Analysis analysis;
    std::optional<solver::Problem> problem;
  };
  std::optional<KoFit> koFit;
  std::string firstReason;  // why the main chain was not decided
  for (size_t round = 0; round < rounds && !found; ++round) {
    if (round > 0) {
      // Only a tree that fits neither goal for the main chain is tried with others.
      if (firstReason != kNoGoalFits) break;
      verdict.undecidedReason.clear();
    }
    // The budget is shared by the goals whose stones are enclosed: a goal the solver cannot
    // pose leaves its share to the other, and so does one decided early.
    std::vector<solver::EncloseResult> enclosures;
    size_t posed = 0;
    for (size_t i = 0; i < goals.size(); ++i) {
      const solver::Stone attacker = goals[i].userKills ? user : solver::Opponent(user);
      if (goals[i].seki) {
        enclosures.push_back(enclosures.front());  // the kill's area, not posed on its own
        continue;
      }
      if (round < candidates[i].size()) {
        enclosures.push_back(solver::Enclose(board, attacker, user, points,
                                             solver::kMostEmptyPoints, candidates[i][round]));
      } else {
        enclosures.push_back({std::nullopt, solver::kNoTargetReason});
      }
      posed += enclosures.back().problem ? 1 : 0;
    }
    size_t unposed = posed;  // goals posed and not yet tried
    bool killFails = false;  // the kill was judged, and no move kills
    for (size_t i = 0; i < goals.size(); ++i) {
      const ProblemGoal& g = goals[i];
      solver::EncloseResult& enclosed = enclosures[i];
      if (g.seki && !killFails) continue;
      // A seki goal the budget leaves open does not change why the tree fits no goal.
      const std::string reasonBefore = verdict.undecidedReason;
      if (!enclosed.problem) {
        // Why a goal the solver did pose failed says more than why another was not posed.
        if (verdict.undecidedReason.empty() || posed == 0)
          verdict.undecidedReason = enclosed.reason;
        continue;
      }
      // An equal share of what is left: a goal settled quickly leaves the rest to the next.
      const solver::Budget left = Remaining(budget, verdict.nodes, start);
      const auto shares = g.seki ? 1.0 : static_cast<double>(unposed--);
      const solver::Budget share{static_cast<uint64_t>(static_cast<double>(left.nodes) / shares),
                                 left.seconds / shares, left.threads};
      // Without an answer a pass is judged right after the tree's moves: the goal holds only
      // if a pass falls short of it.
      std::vector<solver::Point> named = Keys(firstMoves);
      if (inferred) named.push_back(solver::kPass);
      solver::Analysis analysis = solver::Analyse(*enclosed.problem, share, named, g.seki);
      if (g.userKills && !g.seki) killFails = analysis.status == solver::Status::Fails;
      verdict.nodes += analysis.nodes;
      if (analysis.moves.empty()) {
        // Nothing to judge: the stones in question live unconditionally before any move.
        verdict.undecidedReason = "the stones in question are settled before any move";
        continue;
      }
      const std::string beyond = g.seki ? reasonBefore : "beyond the budget";
      if (analysis.status == solver::Status::Unknown) {
        verdict.undecidedReason = beyond;
        continue;
      }
      ProblemGoal reached = g;
      if (inferred) {
        // The result the goal asks for is the best there is: a ko when nothing better exists.
        reached.byKo = analysis.status == solver::Status::WorksByKo;
        const int bestRank = Rank(analysis.status, g);
        bool correctReach = false, correctFail = false, passReaches = false;
        // Correct moves that win only a ko where the best result needs none: a tree that takes
        // such a ko for success beside a move that needs none still fits, and they are
        // reported as correct lines that fail.
        bool correctOnlyKo = false;
        bool wrongInTree = false, wrongShort = false;
        // Tree moves, and a pass, left undecided: a best result of working outright is known
        // before every move is judged, but the goal is not until they are.
        bool correctUnknown = false, wrongUnknown = false, passUnknown = false;
        for (const solver::MoveVerdict& m : analysis.moves) {
          if (m.status == solver::Status::Unknown) {
            passUnknown = passUnknown || m.move == solver::kPass;
            const auto inTree = firstMoves.find(m.move);
            if (inTree != firstMoves.end()) (inTree->second ? correctUnknown : wrongUnknown) = true;
            continue;
          }
          const bool reaches = Reaches(m.status, reached);
          // Short of the best: not reaching the goal, or a seki where life without one exists.
          const bool short_ = !reaches || Rank(m.status, g) < bestRank;
          if (m.move == solver::kPass) passReaches = !short_;
          const auto inTree = firstMoves.find(m.move);
          if (inTree == firstMoves.end()) continue;
          if (inTree->second) {
            const bool onlyKo = !reaches && m.status == solver::Status::WorksByKo;
            (reaches ? correctReach : onlyKo ? correctOnlyKo : correctFail) = true;
          } else {
            wrongInTree = true;
            wrongShort = wrongShort || short_;
          }
        }
        // The tree's wrong moves must include one short of the best, judged.
        const bool noCorrectReach = !correctReach,
                   noWrongShort = (wrongInTree || wrongUnknown) && !wrongShort;
        if (analysis.status == solver::Status::Fails || noCorrectReach || correctFail ||
            passReaches || passUnknown || noWrongShort) {
          // Not fitting for certain, or only for want of the judgement of a tree move.
          const bool certain = analysis.status == solver::Status::Fails || correctFail ||
                               passReaches || (noCorrectReach && !correctUnknown) ||
                               (noWrongShort && !wrongUnknown);
          verdict.undecidedReason = certain ? kNoGoalFits : beyond;
          continue;
        }
        if (correctOnlyKo) {
          // Fits only if the tree's kos are taken for success: kept in case nothing fits
          // outright (another goal or chain may fit the tree as it stands).
          if (!koFit)
            koFit.emplace(KoFit{reached, std::move(analysis), std::move(enclosed.problem)});
          verdict.undecidedReason = kNoGoalFits;
          continue;
        }
      }
      goal = reached;
      found = std::move(analysis);
      local = std::move(enclosed.problem);
      break;
    }
    if (round == 0) firstReason = verdict.undecidedReason;
  }
  if (!found && koFit) {
    goal = koFit->goal;
    found = std::move(koFit->analysis);
    local = std::move(koFit->problem);
  }
  // Other chains that decide nothing leave the main chain's reason.
  if (!found) verdict.undecidedReason = firstReason;
  if (!found) return finish();
  const solver::Analysis& analysis = *found;
  verdict.undecidedReason.clear();
  verdict.goalInferred = inferred;
  verdict.decided = true;
  // The best result over the moves judged (Analyse ranks the same way).
  verdict.status = analysis.status;
  verdict.principalLine = Letters(board, analysis.principalLine);
  verdict.userKills = goal->userKills;
  verdict.problem = local;
  verdict.start = analysis;

  PositionComparer comparer(board, *goal, &verdict);
  const solver::Status best = analysis.status;
  if (goal->byKo && best == solver::Status::Works) {
    comparer.AddWhole(DisagreementKind::kKoIsUnconditional,
                      "works without a ko: " + verdict.principalLine);
  }
  // User moves found to disagree with the tree's mark: the lines below them are not compared
  // (below a wrong move that works no refutation can hold, below a correct move that fails the
  // line fails already).
  std::set<NodeId> working;
  auto remember = [&](NodeId node, const std::vector<solver::Point>& moves) {
    for (NodeId c = tree.FirstChild(node); c != kNoNode; c = tree.NextSibling(c))
      if (std::find(moves.begin(), moves.end(), TreePoint(board, tree.NodePoint(c))) != moves.end())
        working.insert(c);
  };
  remember(root, comparer.Compare(analysis, firstMoves, true, "", 0, solver::kNoPoint, best));
  ++verdict.positionsJudged;

  // The positions after the computer's replies, shallower ones first.
  std::vector<NodeId> replies;
  for (NodeId n = tree.FirstChild(root); n != kNoNode; n = tree.Successor(n)) {
    if (tree.Level(n) == 0) break;
    if (tree.Level(n) % 2 == 0) replies.push_back(n);
  }
  std::stable_sort(replies.begin(), replies.end(),
                   [&](NodeId a, NodeId b) { return tree.Level(a) < tree.Level(b); });
  const solver::Stone defender = solver::Opponent(local->attacker);
  for (const NodeId reply : replies) {
    const solver::Budget left = Remaining(budget, verdict.nodes, start);
    if (left.nodes == 0 || left.seconds <= 0) {
      ++verdict.positionsUnjudged;
      continue;
    }
    // The line from the start, played on the solver's board of the problem.
    std::vector<NodeId> line;
    for (NodeId n = reply; tree.Level(n) > 0; n = tree.Parent(n)) line.push_back(n);
    std::reverse(line.begin(), line.end());
    if (std::any_of(line.begin(), line.end(), [&](NodeId n) { return working.count(n) > 0; }))
      continue;
    solver::Problem position = *local;
    solver::Point banned = solver::kNoPoint;
    std::string path;
    bool playable = true;
    for (const NodeId n : line) {
      const solver::Point p = TreePoint(position.board, tree.NodePoint(n));
      path += (path.empty() ? "" : " ") + PointLetters(position.board, p);
      banned = solver::kNoPoint;
      if (p == solver::kPass) continue;
      const solver::Stone colour = tree.Level(n) % 2 == 1 ? user : solver::Opponent(user);
      if (!playable || !position.board.Play(p, colour, &banned)) playable = false;
    }
    if (!playable) {
      ++verdict.positionsUnjudged;
      continue;
    }
    const std::map<solver::Point, bool> treeMoves = UserMoves(tree, board, reply);
    const bool correctLine = LeadsToSuccess(tree, reply);
    const int depth = static_cast<int>(line.size());
    const bool targetTaken =
        std::any_of(position.targets.begin(), position.targets.end(),
                    [&](solver::Point t) { return position.board.Get(t) != defender; });
    if (targetTaken) {
      remember(reply, comparer.Settled(goal->userKills, treeMoves, correctLine, path, depth));
      ++verdict.positionsJudged;
      continue;
    }
    position.toMove = user;
    const solver::Analysis judged = solver::Analyse(position, left, Keys(treeMoves), goal->seki);
    verdict.nodes += judged.nodes;
    if (judged.moves.empty()) {
      // Decided before any move: the stones in question live unconditionally.
      remember(reply, comparer.Settled(!goal->userKills, treeMoves, correctLine, path, depth));
      ++verdict.positionsJudged;
      continue;
    }
    remember(reply, comparer.Compare(judged, treeMoves, correctLine, path, depth, banned, best));
    ++(judged.status == solver::Status::Unknown ? verdict.positionsUnjudged
                                                : verdict.positionsJudged);
  }
  return finish();
}

}  // namespace zendra
