// Shared pieces of the seeded random-play tests: a small random source and the points where
// chains stand in atari.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "board/engine/lattix_engine.h"

namespace zendra::test {

class Random {
 public:
  explicit Random(uint32_t seed) : rng_(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[Int(0, static_cast<int>(v.size()) - 1)];
  }

 private:
  std::mt19937 rng_;
};

// The single liberty of every chain in atari (chains by SameSide, any non-zero cell occupies a
// point): `enemy` gets those of the chains of side `side`'s opponent, `own` those of its own.
inline void AtariPoints(const LattixEngine& b, Colour side, std::vector<std::pair<int, int>>* enemy,
                        std::vector<std::pair<int, int>>* own) {
  std::array<std::array<bool, kGridSize>, kGridSize> seen{};
  for (int p = 1; p <= 19; ++p)
    for (int q = 1; q <= 19; ++q) {
      const Colour c = b.GetPoint(p, q);
      if (c == 0 || seen[p][q]) continue;
      std::vector<std::pair<int, int>> stack{{p, q}}, liberties;
      seen[p][q] = true;
      while (!stack.empty() && liberties.size() < 2) {
        const auto [sp, sq] = stack.back();
        stack.pop_back();
        const int d[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
        for (const auto& dd : d) {
          const int np = sp + dd[0], nq = sq + dd[1];
          if (np < 1 || np > 19 || nq < 1 || nq > 19) continue;
          const Colour n = b.GetPoint(np, nq);
          if (n == 0) {
            if (std::find(liberties.begin(), liberties.end(), std::make_pair(np, nq)) ==
                liberties.end())
              liberties.emplace_back(np, nq);
          } else if (SameSide(n, c) && !seen[np][nq]) {
            seen[np][nq] = true;
            stack.emplace_back(np, nq);
          }
        }
      }
      if (liberties.size() == 1) (SameSide(c, side) ? own : enemy)->push_back(liberties[0]);
    }
}

}  // namespace zendra::test
