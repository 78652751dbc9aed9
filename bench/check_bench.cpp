// The problem check (zendra-db check, and every problem the build imports) on one very long
// line: its cost must grow with the number of moves, not with its square.
#include <benchmark/benchmark.h>

#include <string>

#include "problem_import/problem_data.h"
#include "solving/tree/solution_tree.h"

namespace zendra {
namespace {

// One line of `moves` moves whose third is illegal, ending in a success.
DataProblem LongLine(int moves) {
  SolutionTree tree;
  NodeId n = tree.Add(kNoNode, "");
  n = tree.Add(n, "CC");
  n = tree.Add(n, "DD");
  n = tree.Add(n, "CC");
  for (int i = 4; i < moves; ++i) n = tree.Add(n, "EE");
  tree.Add(n, "EE 11");
  DataProblem problem;
  problem.number = 1;
  problem.firstToPlay = "B";
  problem.result2 = 1;
  problem.solution = tree.Save();
  return problem;
}

void BM_CheckLongLine(benchmark::State& state) {
  const DataProblem problem = LongLine(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(CheckProblem(problem));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CheckLongLine)->RangeMultiplier(4)->Range(1 << 12, 1 << 18)->Complexity();

}  // namespace
}  // namespace zendra

BENCHMARK_MAIN();
