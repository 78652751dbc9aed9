// The life-and-death solver on real problems.
//
//   BM_VerifyShipped        every shipped problem (data/) against its tree, one second each:
//                           the share decided, the median and slowest time of a decided one,
//                           the disagreements
//   BM_VerifyCorpus/F       the same on a sample of corpus folder F (../shared/corpus, read in
//                           place; skipped when absent): every `kCorpusStride`-th problem
//   BM_JudgeOffTreeMove     the window's judge of a move the tree does not know, on every first
//                           move of every shipped problem: the time per move, the slowest
//
// The verify runs are long and deterministic in what they decide: one iteration each.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "problem_import/problem_data.h"
#include "problem_import/tree_verify.h"
#include "solving/solver_judge.h"
#include "solving/tree/solution_tree.h"

#ifndef ZENDRA_DATA_DIR
#error "ZENDRA_DATA_DIR must name the data folder"
#endif
#ifndef ZENDRA_CORPUS_DIR
#error "ZENDRA_CORPUS_DIR must name the corpus folder"
#endif

namespace zendra {
namespace {

constexpr int kCorpusStride = 20;
const char* const kCorpusFolders[] = {"goproblems", "ggg", "classical"};

std::vector<DataProblem> Imported(const std::string& source, bool collectionsOnly) {
  BuildOptions options;
  options.collectionsOnly = collectionsOnly;
  BuildReport report;
  BuildFromSources({source}, options, &report);
  return report.problems;
}

const std::vector<DataProblem>& Shipped() {
  static const std::vector<DataProblem> problems = Imported(ZENDRA_DATA_DIR, true);
  return problems;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Verify(benchmark::State& state, const std::vector<DataProblem>& problems) {
  int decided = 0, disagreements = 0, withAnswer = 0, enclosed = 0;
  std::vector<double> ms;
  for (auto _ : state) {
    for (const DataProblem& p : problems) {
      const TreeVerdict v = VerifyTree(p, solver::Budget{2'000'000, 1.0});
      if (v.undecidedReason != "no answer") ++withAnswer;
      if (v.decided || v.undecidedReason == "beyond the budget") ++enclosed;
      if (!v.decided) continue;
      ++decided;
      disagreements += static_cast<int>(v.disagreements.size());
      ms.push_back(v.seconds * 1000);
    }
  }
  const double n = static_cast<double>(problems.size());
  state.counters["problems"] = n;
  state.counters["with_answer"] = withAnswer;
  state.counters["enclosed"] = enclosed;
  state.counters["decided"] = decided;
  state.counters["decided_of_enclosed_pct"] = enclosed ? 100.0 * decided / enclosed : 0;
  state.counters["median_ms"] = Median(ms);
  state.counters["slowest_ms"] = ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end());
  state.counters["disagreements"] = disagreements;
}

void BM_VerifyShipped(benchmark::State& state) { Verify(state, Shipped()); }
BENCHMARK(BM_VerifyShipped)->Iterations(1)->Unit(benchmark::kSecond);

void BM_VerifyCorpus(benchmark::State& state) {
  const std::string folder =
      std::string(ZENDRA_CORPUS_DIR) + "/" + kCorpusFolders[state.range(0)];
  if (!std::filesystem::is_directory(folder)) {
    state.SkipWithError("corpus folder absent");
    return;
  }
  const std::vector<DataProblem> all = Imported(folder, false);
  std::vector<DataProblem> sample;
  for (std::size_t i = 0; i < all.size(); i += kCorpusStride) sample.push_back(all[i]);
  state.SetLabel(kCorpusFolders[state.range(0)]);
  Verify(state, sample);
}
BENCHMARK(BM_VerifyCorpus)->DenseRange(0, 2)->Iterations(1)->Unit(benchmark::kSecond);

// Every first move of every shipped problem, played on the board and handed to the judge.
void BM_JudgeOffTreeMove(benchmark::State& state) {
  struct Question {
    LattixEngine board;
    Colour user;
    std::optional<int> result2;
    std::string focus;
  };
  std::vector<std::unique_ptr<Question>> questions;  // the board engine does not move
  for (const DataProblem& p : Shipped()) {
    SolutionTree tree;
    if (tree.LoadSolution(p.solution) != SolutionTree::LoadResult::kLoaded) continue;
    std::string treePoints;
    for (NodeId n = tree.FirstRoot(); n != kNoNode; n = tree.Successor(n))
      if (tree.NodePoint(n).size() == 2) treePoints += tree.NodePoint(n);
    for (NodeId c = tree.FirstChild(tree.FirstRoot()); c != kNoNode; c = tree.NextSibling(c)) {
      auto question = std::make_unique<Question>();
      Question& q = *question;
      q.board.SetFirstToPlay(p.firstToPlay == "W" ? kWhite : kBlack);
      q.board.NewGame(false);
      q.board.SetArrangedSideP(p.arrangedBlack);
      q.board.SetArrangedSideN(p.arrangedWhite);
      q.board.SetProcess(p.initial);
      q.user = q.board.Turn();
      const std::string_view move = tree.NodePoint(c);
      if (!q.board.PlayMove(q.board.LetterToCoord(move[0]), q.board.LetterToCoord(move[1]),
                            false))
        continue;
      q.result2 = p.result2;
      q.focus = std::string(move) + treePoints;
      questions.push_back(std::move(question));
    }
  }
  SolverMoveJudge judge;
  std::vector<double> ms;
  int unknown = 0;
  for (auto _ : state) {
    for (const auto& question : questions) {
      const Question& q = *question;
      const auto start = std::chrono::steady_clock::now();
      const OffTreeJudgement j = judge.Judge(q.board, q.user, q.result2, q.focus);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      unknown += j.verdict == OffTreeVerdict::kUnknown ? 1 : 0;
    }
  }
  state.counters["moves"] = static_cast<double>(questions.size());
  state.counters["median_ms"] = Median(ms);
  state.counters["slowest_ms"] = ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end());
  state.counters["unknown"] = unknown;
}
BENCHMARK(BM_JudgeOffTreeMove)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zendra

BENCHMARK_MAIN();
