// Plays a fixed number of seeded random playouts and prints the moves played, for counting
// instructions per move under callgrind:
//
//   valgrind --tool=callgrind --toggle-collect='zendra::bench::PlayPlayouts*'
//            build/bench/bench/playout_count 200
//
// The count covers PlayPlayouts only (program start-up excluded); divide it by the moves printed.
#include <cstdio>
#include <cstdlib>

#include "bench/random_playout.h"
#include "board/engine/lattix_engine.h"

namespace zendra::bench {

[[gnu::noinline]] long PlayPlayouts(LattixEngine& board, int playouts) {
  Rng rng(20240611);
  long moves = 0;
  for (int i = 0; i < playouts; ++i) moves += RandomPlayout(board, rng);
  return moves;
}

}  // namespace zendra::bench

int main(int argc, char** argv) {
  const int playouts = argc > 1 ? std::atoi(argv[1]) : 100;
  if (playouts < 0) {
    std::fprintf(stderr, "usage: playout_count [PLAYOUTS]\n");
    return 2;
  }
  zendra::LattixEngine board;
  const long moves = zendra::bench::PlayPlayouts(board, playouts);
  std::printf("playouts %d moves %ld next_move %d\n", playouts, moves, board.NextMove());
  return 0;
}
