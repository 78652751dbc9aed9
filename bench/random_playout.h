// Seeded random games for the engine benchmarks and the instruction counter.
//
// A playout starts a new game and lets the side to move pick random empty points (and now and
// then a pass) until a move limit or two passes in a row. Every point is tried through
// PlayGoMove with Draw off, so the measurement covers the whole move path: the legality test,
// captures, labels and the move list.
#pragma once

#include <cstdint>
#include <string>

#include "board/engine/lattix_engine.h"

namespace zendra::bench {

// SplitMix64: a few instructions per number, so the playout measures the engine, not the
// generator. The same seed always gives the same games.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in 0..n-1 (n >= 1), by multiplying the top 32 bits instead of a division.
  int Below(int n) { return static_cast<int>(((Next() >> 32) * static_cast<uint64_t>(n)) >> 32); }

 private:
  uint64_t state_;
};

struct PlayoutRules {
  int maxMoves = 300;  // legal moves (stones and passes) before the playout stops
  int passOneIn = 64;  // a pass about once in this many moves; 0 never passes by choice
  // Random empty points tried before the side to move gives up and passes: on a crowded board
  // most empty points may be suicide or ko for it.
  int triesPerMove = 64;
};

// Plays one random game from a new game; returns the number of legal moves played (stones and
// passes, each a PlayGoMove call that returned true).
inline int RandomPlayout(LattixEngine& board, Rng& rng, const PlayoutRules& rules = {}) {
  board.NewGame(false);
  const int n = board.N(), m = board.M();
  int legal = 0;
  int passesInRow = 0;
  while (legal < rules.maxMoves && passesInRow < 2) {
    bool played = false;
    if (rules.passOneIn == 0 || rng.Below(rules.passOneIn) != 0) {
      for (int attempt = 0; attempt < rules.triesPerMove && !played; ++attempt) {
        const int p = 1 + rng.Below(n), q = 1 + rng.Below(m);
        if (board.GetPoint(p, q) != kEmpty) continue;
        played = board.PlayGoMove(p, q, false);
      }
    }
    if (played) {
      passesInRow = 0;
    } else {
      board.PlayGoMove(kPassCoord, kPassCoord, false);
      ++passesInRow;
    }
    ++legal;
  }
  return legal;
}

// The move list (`Process`) of a legal game of exactly `moves` moves from a seeded playout that
// passes only when it finds no stone to play; empty if no such game turned up.
inline std::string MakeGame(uint64_t seed, int moves) {
  LattixEngine board;
  Rng rng(seed);
  PlayoutRules rules;
  rules.maxMoves = moves;
  rules.passOneIn = 0;
  rules.triesPerMove = 1000;
  // Two passes in a row end a playout early; the next one from the same generator is another
  // game.
  for (int game = 0; game < 100; ++game)
    if (RandomPlayout(board, rng, rules) == moves) return board.Process();
  return {};
}

}  // namespace zendra::bench
