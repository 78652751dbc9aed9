// Speed of the board engine: random playouts with Draw off, replaying a 300-move game, and
// taking back the last move of it.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/random_playout.h"
#include "board/engine/lattix_engine.h"

namespace zendra::bench {
namespace {

constexpr uint64_t kSeed = 20240611;
constexpr int kGameLength = 300;

// Whole random games on an empty 19 x 19 board; items are the legal moves played. The argument
// 1 runs the same games through the whole-board reference rules, for comparison.
void BM_RandomPlayout(benchmark::State& state) {
  LattixEngine board;
  board.SetReferenceRules(state.range(0) != 0);
  Rng rng(kSeed);
  int64_t moves = 0;
  for (auto _ : state) {
    moves += RandomPlayout(board, rng);
    benchmark::DoNotOptimize(board.NextMove());
  }
  state.SetItemsProcessed(moves);
  state.counters["moves_per_playout"] =
      benchmark::Counter(static_cast<double>(moves) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_RandomPlayout)->ArgName("reference")->Arg(0)->Arg(1);

// A fixed legal game of kGameLength moves, held as `GivenProcess`.
bool LoadGivenGame(benchmark::State& state, LattixEngine& board) {
  const std::string game = MakeGame(kSeed, kGameLength);
  if (game.size() != 2u * kGameLength) {
    state.SkipWithError("no legal game of the wanted length");
    return false;
  }
  board.SetGivenProcess(game);
  return true;
}

// GoToMove(300, FromGiven): a new game and the replay of all 300 moves; items are moves.
void BM_GoToMove300(benchmark::State& state) {
  LattixEngine board;
  if (!LoadGivenGame(state, board)) return;
  for (auto _ : state) {
    board.GoToMove(kGameLength, true);
    benchmark::DoNotOptimize(board.NextMove());
  }
  if (board.Process() != board.GivenProcess()) state.SkipWithError("replay lost moves");
  state.SetItemsProcessed(state.iterations() * kGameLength);
}
BENCHMARK(BM_GoToMove300)->Unit(benchmark::kMicrosecond);

// TakeBack at move 300: the replay of the first 299 moves. The last move is played again with
// the timer stopped, so every iteration starts from the same position.
void BM_TakeBackAt300(benchmark::State& state) {
  LattixEngine board;
  if (!LoadGivenGame(state, board)) return;
  board.GoToMove(kGameLength, true);
  const std::string& game = board.GivenProcess();
  const int lastP = LetterToCoord(game[game.size() - 2]);
  const int lastQ = LetterToCoord(game[game.size() - 1]);
  for (auto _ : state) {
    board.TakeBack();
    state.PauseTiming();
    if (board.NextMove() != kGameLength || !board.PlayGoMove(lastP, lastQ, false)) {
      state.SkipWithError("the last move did not come back");
      break;
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * (kGameLength - 1));
}
BENCHMARK(BM_TakeBackAt300)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zendra::bench

BENCHMARK_MAIN();
