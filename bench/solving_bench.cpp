// Solving hot paths: reading a large solution stream, and one judged user move with the
// computer's reply on the board (no sounds).
#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>

#include "board/engine/lattix_engine.h"
#include "solving/headless_ports.h"
#include "solving/solving_controller.h"
#include "solving/tree/solution_tree.h"

namespace zendra {
namespace {

// A tree of `count` nodes: each new node hangs under a random earlier one, texts are points
// with or without codes, some nodes carry flags and remarks.
std::string GeneratedStream(int count) {
  std::mt19937 rng(2024);
  SolutionTree tree;
  const char* codes[] = {"", " 11", " 00", " 10", "", ""};
  const char* flags[] = {"", "", "", "1", "4", "40"};
  tree.Add(kNoNode, "");
  for (int i = 1; i < count; ++i) {
    const auto parent = static_cast<NodeId>(rng() % static_cast<unsigned>(i));
    std::string text{static_cast<char>('A' + rng() % 19), static_cast<char>('A' + rng() % 19)};
    text += codes[rng() % 6];
    tree.Add(parent, text, flags[rng() % 6], rng() % 10 == 0 ? "3" : "");
  }
  return tree.Save();
}

void BM_LoadSolution(benchmark::State& state) {
  const std::string stream = GeneratedStream(static_cast<int>(state.range(0)));
  SolutionTree tree;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tree.LoadSolution(stream));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(stream.size()));
  state.counters["nodes"] = static_cast<double>(tree.Size());
  state.counters["stream_bytes"] = static_cast<double>(stream.size());
}
BENCHMARK(BM_LoadSolution)->Arg(50000)->Unit(benchmark::kMillisecond);

// A corner problem: black to live. The first user move has several replies; the judged move
// is matched among ten siblings and answered with a reply two levels above a success.
void BM_JudgedMoveWithReply(benchmark::State& state) {
  SolutionTree tree;
  const NodeId root = tree.Add(kNoNode, "");
  for (char c = 'A'; c < 'J'; ++c) tree.Add(tree.Add(root, std::string{'R', c}), "SS 00");
  const NodeId u = tree.Add(root, "CC");
  for (const char* reply : {"DD", "DC", "CD"}) {
    const NodeId r = tree.Add(u, reply, reply[1] == 'C' ? "1" : "");
    tree.Add(tree.Add(r, "EE"), "FF 11");
  }
  ProblemRecord record;
  record.number = 1;
  record.arrangedBlack = "ABBBCBDBEB";
  record.arrangedWhite = "ACBCDCEC";
  record.firstToPlay.assign(1, 'B');  // (a literal trips a false -Wrestrict of GCC 12 at -O3)
  record.result2 = 1;
  record.solution = tree.Save();
  OneProblemSource problems(record);

  LattixEngine board;
  NullUi ui;
  SilentSounds sounds;
  NullHistory history;
  ManualTimer timer1, timer2;
  SteadyClock clock;
  SolvingController controller(board, ui, sounds, history, problems, timer1, timer2, clock);
  controller.SetSilent(true);
  controller.OpenProblem(0);
  for (auto _ : state) {
    state.PauseTiming();
    controller.SolveAgain();
    state.ResumeTiming();
    board.PlayMove(3, 3, true);  // the click: the board plays the stone, then the judge runs
    controller.Lattix1LegalMove(3, 3);
  }
  if (board.NextMove() != 3) state.SkipWithError("the computer did not reply");
}
BENCHMARK(BM_JudgedMoveWithReply)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zendra

BENCHMARK_MAIN();
