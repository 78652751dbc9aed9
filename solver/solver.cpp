#include "solver/solver.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <exception>
#include <iterator>
#include <memory>
#include <random>
#include <thread>

#include "solver/proof_table.h"

namespace zendra::solver {

namespace {

// Zobrist keys (A. Zobrist, "A new hashing method with application for game playing", 1970):
// one random word per cell and colour, plus words for the side to move, the ko ban, a pending
// pass and two passes (the game's end). Fixed seed, so keys are the same from run to run.
constexpr int kMaxCells = Board::kMaxCells;

struct ZobristTable {
  uint64_t stone[kMaxCells][2];
  uint64_t ko[kMaxCells];
  uint64_t whiteToMove;
  uint64_t passed;
  uint64_t passedTwice;  // the game is over: never the same position as after one pass
  ZobristTable() {
    std::mt19937_64 random(0x5eed2002u);
    for (auto& cell : stone) {
      cell[0] = random();
      cell[1] = random();
    }
    for (auto& k : ko) k = random();
    whiteToMove = random();
    passed = random();
    passedTwice = random();
  }
};

const ZobristTable& Zobrist() {
  static const ZobristTable table;
  return table;
}

uint64_t StoneKey(Point p, Stone colour) {
  return Zobrist().stone[p][colour == Stone::Black ? 0 : 1];
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Board

Board::Board(int width, int height)
    : width_(std::clamp(width, 1, kMaxSide)), height_(std::clamp(height, 1, kMaxSide)) {
  cells_.fill(static_cast<uint8_t>(Stone::Border));
  for (int row = 0; row < height_; ++row)
    for (int column = 0; column < width_; ++column)
      cells_[static_cast<size_t>(At(column, row))] = static_cast<uint8_t>(Stone::Empty);
}

std::optional<Board> Board::FromDiagram(std::string_view diagram) {
  std::vector<std::string> rows;
  std::string current;
  for (size_t i = 0; i <= diagram.size(); ++i) {
    const char c = i < diagram.size() ? diagram[i] : '\n';
    if (c == '\n') {
      if (!current.empty()) rows.push_back(current);
      current.clear();
    } else if (c != ' ' && c != '\r' && c != '\t') {
      if (c != 'X' && c != 'O' && c != '.' && c != '+') return std::nullopt;
      current.push_back(c);
    }
  }
  if (rows.empty() || rows.size() > static_cast<size_t>(kMaxSide)) return std::nullopt;
  const size_t width = rows.front().size();
  if (width > static_cast<size_t>(kMaxSide)) return std::nullopt;
  for (const auto& row : rows)
    if (row.size() != width) return std::nullopt;
  Board board(static_cast<int>(width), static_cast<int>(rows.size()));
  for (int row = 0; row < board.height_; ++row)
    for (int column = 0; column < board.width_; ++column) {
      const char c = rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
      if (c == 'X') board.Set(board.At(column, row), Stone::Black);
      if (c == 'O') board.Set(board.At(column, row), Stone::White);
    }
  return board;
}

void Board::Set(Point p, Stone colour) {
  const Stone old = Get(p);
  if (old == Stone::Border || colour == Stone::Border) return;
  if (old != Stone::Empty) key_ ^= StoneKey(p, old);
  cells_[static_cast<size_t>(p)] = static_cast<uint8_t>(colour);
  if (colour != Stone::Empty) key_ ^= StoneKey(p, colour);
}

namespace {

// The marks of the latest chain walk, one per cell: a cell is marked when it holds the walk's
// stamp, so a new walk starts by taking a new stamp instead of clearing the cells.
struct WalkMarks {
  std::array<uint32_t, kMaxCells> mark{};
  uint32_t stamp = 0;
};
thread_local WalkMarks tWalkMarks;

// Scratch space for walking a chain without touching the heap: the points found so far. What
// the walk marked (the chain's stones and the liberties it counted) can be asked until the next
// walk starts.
struct ChainWalk {
  std::array<int16_t, kMaxCells> points;
  int size = 0;
  uint32_t stamp = 0;
  bool Seen(Point p) const { return tWalkMarks.mark[static_cast<size_t>(p)] == stamp; }
};

// Walks the chain through p (a stone of colour `colour`) and counts its liberties, stopping once
// `limit` are found. Leaves the chain's stones in walk.points when it did not stop early.
int WalkChain(const Board& board, Point p, int limit, ChainWalk& walk) {
  const Stone colour = board.Get(p);
  const int stride = board.Stride();
  int liberties = 0;
  WalkMarks& marks = tWalkMarks;
  if (++marks.stamp == 0) {  // the stamps went round: start again from clear marks
    marks.mark.fill(0);
    marks.stamp = 1;
  }
  const uint32_t stamp = marks.stamp;
  walk.stamp = stamp;
  walk.size = 0;
  walk.points[static_cast<size_t>(walk.size++)] = static_cast<int16_t>(p);
  marks.mark[static_cast<size_t>(p)] = stamp;
  for (int i = 0; i < walk.size; ++i) {
    const Point s = walk.points[static_cast<size_t>(i)];
    for (const Point n : {s - 1, s + 1, s - stride, s + stride}) {
      if (marks.mark[static_cast<size_t>(n)] == stamp) continue;
      const Stone c = board.Get(n);
      if (c == Stone::Empty) {
        marks.mark[static_cast<size_t>(n)] = stamp;
        if (++liberties >= limit) return liberties;
      } else if (c == colour) {
        marks.mark[static_cast<size_t>(n)] = stamp;
        walk.points[static_cast<size_t>(walk.size++)] = static_cast<int16_t>(n);
      }
    }
  }
  return liberties;
}

}  // namespace

std::vector<Point> Board::Chain(Point p) const {
  std::vector<Point> chain;
  const Stone colour = Get(p);
  if (colour != Stone::Black && colour != Stone::White) return chain;
  ChainWalk walk;
  WalkChain(*this, p, kMaxCells, walk);
  chain.assign(walk.points.begin(), walk.points.begin() + walk.size);
  return chain;
}

int Board::Liberties(Point p) const { return LibertiesUpTo(p, kMaxCells); }

int Board::LibertiesUpTo(Point p, int limit) const {
  const Stone colour = Get(p);
  if (colour != Stone::Black && colour != Stone::White) return 0;
  // Enough empty points beside the stone itself answer without a walk of the chain (the
  // usual case of a capture or suicide test, which asks for one).
  int beside = 0;
  for (Point n : Neighbours(p)) beside += Get(n) == Stone::Empty ? 1 : 0;
  if (limit > 0 && beside >= limit) return limit;
  ChainWalk walk;
  return WalkChain(*this, p, limit, walk);
}

int Board::RemoveChain(Point p) {
  const Stone colour = Get(p);
  const int stride = Stride();
  std::array<int16_t, kMaxCells> stack;
  int size = 0, removed = 0;
  stack[static_cast<size_t>(size++)] = static_cast<int16_t>(p);
  Set(p, Stone::Empty);
  while (size > 0) {
    const Point s = stack[static_cast<size_t>(--size)];
    ++removed;
    for (const Point n : {s - 1, s + 1, s - stride, s + stride})
      if (Get(n) == colour) {
        Set(n, Stone::Empty);
        stack[static_cast<size_t>(size++)] = static_cast<int16_t>(n);
      }
  }
  return removed;
}

bool Board::Play(Point p, Stone colour, Point* koBan) {
  if (p < 0 || p >= Cells() || Get(p) != Stone::Empty) return false;
  const Stone other = Opponent(colour);
  Set(p, colour);
  int captured = 0;
  Point lastCaptured = kNoPoint;
  for (Point n : Neighbours(p))
    if (Get(n) == other && LibertiesUpTo(n, 1) == 0) {
      captured += RemoveChain(n);
      lastCaptured = n;
    }
  if (captured == 0 && LibertiesUpTo(p, 1) == 0) {  // suicide
    Set(p, Stone::Empty);
    return false;
  }
  Point ban = kNoPoint;
  // Simple ko: one stone taken by a lone stone that now has that point as its only liberty.
  if (captured == 1) {
    bool lone = true;
    int liberties = 0;
    for (Point n : Neighbours(p)) {
      if (Get(n) == colour) lone = false;
      if (Get(n) == Stone::Empty) ++liberties;
    }
    if (lone && liberties == 1) ban = lastCaptured;
  }
  if (koBan) *koBan = ban;
  return true;
}

std::string Board::ToDiagram() const {
  std::string text;
  for (int row = 0; row < height_; ++row) {
    for (int column = 0; column < width_; ++column) {
      const Stone s = Get(At(column, row));
      text.push_back(s == Stone::Black ? 'X' : s == Stone::White ? 'O' : '.');
    }
    text.push_back('\n');
  }
  return text;
}

std::string Board::Name(Point p) const {
  if (p == kPass) return "pass";
  if (p < 0 || p >= Cells()) return "?";
  std::string name(1, static_cast<char>('A' + Column(p)));
  name += std::to_string(Row(p) + 1);
  return name;
}

// ---------------------------------------------------------------------------------------------
// Benson's unconditional life
//
// 1. The chains of the colour, and the regions: maximal connected sets of points not holding the
//    colour (empty points and enemy stones), bounded by the colour's chains and the edge.
// 2. A region is vital to a chain when every empty point of the region is a liberty of the chain.
// 3. Repeat until nothing changes: drop every chain with fewer than two vital regions among the
//    regions left; drop every region that touches a dropped chain.
// The chains left can never be captured, even if their owner always passes.

namespace {

// One step of Benson's fixed point: drops the chains with fewer than two vital regions left
// (`vitalCount`, per chain) and then the regions beside a dropped chain (`border` holds the
// chains beside region r from borderStart[r] to borderStart[r + 1]). True when it dropped any.
bool DropStep(int chains, const std::array<int16_t, kMaxCells>& vitalCount, int regions,
              const std::array<int16_t, kMaxCells + 1>& borderStart,
              const std::array<int16_t, 4 * kMaxCells>& border,
              std::array<uint8_t, kMaxCells>& chainAlive,
              std::array<uint8_t, kMaxCells>& regionAlive) {
  bool changed = false;
  for (int c = 0; c < chains; ++c)
    if (chainAlive[static_cast<size_t>(c)] && vitalCount[static_cast<size_t>(c)] < 2) {
      chainAlive[static_cast<size_t>(c)] = 0;
      changed = true;
    }
  for (int r = 0; r < regions; ++r) {
    if (!regionAlive[static_cast<size_t>(r)]) continue;
    for (int b = borderStart[static_cast<size_t>(r)]; b < borderStart[static_cast<size_t>(r) + 1];
         ++b)
      if (!chainAlive[static_cast<size_t>(border[static_cast<size_t>(b)])]) {
        regionAlive[static_cast<size_t>(r)] = 0;
        changed = true;
        break;
      }
  }
  return changed;
}

// Marks in `alive` (one entry per cell, all zero on entry) the stones of colour's chains that are
// unconditionally alive. Fixed arrays only: the search runs this on most positions it sees.
void MarkBensonAlive(const Board& board, Stone colour, std::array<uint8_t, kMaxCells>& alive) {
  const int cells = board.Cells();
  const int stride = board.Stride();
  std::array<int16_t, kMaxCells> chainOf;
  std::array<int16_t, kMaxCells> regionOf;
  chainOf.fill(-1);
  regionOf.fill(-1);
  std::array<int16_t, kMaxCells> stack;
  // 1. Chains.
  int chains = 0;
  for (Point p = 0; p < cells; ++p) {
    if (board.Get(p) != colour || chainOf[static_cast<size_t>(p)] >= 0) continue;
    int size = 0;
    stack[static_cast<size_t>(size++)] = static_cast<int16_t>(p);
    chainOf[static_cast<size_t>(p)] = static_cast<int16_t>(chains);
    while (size > 0) {
      const Point s = stack[static_cast<size_t>(--size)];
      for (const Point n : {s - 1, s + 1, s - stride, s + stride})
        if (board.Get(n) == colour && chainOf[static_cast<size_t>(n)] < 0) {
          chainOf[static_cast<size_t>(n)] = static_cast<int16_t>(chains);
          stack[static_cast<size_t>(size++)] = static_cast<int16_t>(n);
        }
    }
    ++chains;
  }
  if (chains == 0) return;
  // 2. Regions, each with the chains bordering it (a flat list) and the chains it is vital to
  //    (at most four: a vital region's empty points are liberties of each of them, and an empty
  //    point has four neighbours). A region without an empty point (only enemy stones without a
  //    liberty: not a legal position, but the rule covers it) is vital to every chain beside it.
  constexpr uint8_t kVitalToAllBorder = 255;
  std::array<int16_t, kMaxCells + 1> borderStart;
  std::array<int16_t, 4 * kMaxCells> border;
  std::array<std::array<int16_t, 4>, kMaxCells> vital;
  std::array<uint8_t, kMaxCells> vitalCount;
  std::array<int16_t, kMaxCells> chainStamp;
  chainStamp.fill(-1);
  std::array<int16_t, kMaxCells> members;
  int regions = 0, borderSize = 0;
  for (Point p = 0; p < cells; ++p) {
    const Stone c = board.Get(p);
    if (c == Stone::Border || c == colour || regionOf[static_cast<size_t>(p)] >= 0) continue;
    const auto r = static_cast<int16_t>(regions);
    int count = 0;
    members[static_cast<size_t>(count++)] = static_cast<int16_t>(p);
    regionOf[static_cast<size_t>(p)] = r;
    for (int i = 0; i < count; ++i) {
      const Point s = members[static_cast<size_t>(i)];
      for (const Point n : {s - 1, s + 1, s - stride, s + stride}) {
        const Stone t = board.Get(n);
        if (t != Stone::Border && t != colour && regionOf[static_cast<size_t>(n)] < 0) {
          regionOf[static_cast<size_t>(n)] = r;
          members[static_cast<size_t>(count++)] = static_cast<int16_t>(n);
        }
      }
    }
    borderStart[static_cast<size_t>(r)] = static_cast<int16_t>(borderSize);
    bool first = true;
    uint8_t nv = 0;
    std::array<int16_t, 4> v{};
    for (int i = 0; i < count; ++i) {
      const Point s = members[static_cast<size_t>(i)];
      std::array<int16_t, 4> around{};
      int na = 0;
      for (const Point n : {s - 1, s + 1, s - stride, s + stride}) {
        const int16_t ch = chainOf[static_cast<size_t>(n)];
        if (ch < 0) continue;
        if (chainStamp[static_cast<size_t>(ch)] != r) {
          chainStamp[static_cast<size_t>(ch)] = r;
          border[static_cast<size_t>(borderSize++)] = ch;
        }
        if (std::find(around.begin(), around.begin() + na, ch) == around.begin() + na)
          around[static_cast<size_t>(na++)] = ch;
      }
      if (board.Get(s) != Stone::Empty) continue;
      if (first) {
        first = false;
        v = around;
        nv = static_cast<uint8_t>(na);
      } else {
        uint8_t kept = 0;
        for (uint8_t k = 0; k < nv; ++k)
          if (std::find(around.begin(), around.begin() + na, v[k]) != around.begin() + na)
            v[kept++] = v[k];
        nv = kept;
      }
    }
    vital[static_cast<size_t>(r)] = v;
    vitalCount[static_cast<size_t>(r)] = first ? kVitalToAllBorder : nv;
    ++regions;
  }
  borderStart[static_cast<size_t>(regions)] = static_cast<int16_t>(borderSize);
  // 3. Drop chains with fewer than two vital regions left and regions beside dropped chains,
  //    until nothing changes.
  std::array<uint8_t, kMaxCells> chainAlive;
  std::array<uint8_t, kMaxCells> regionAlive;
  chainAlive.fill(1);
  regionAlive.fill(1);
  std::array<int16_t, kMaxCells> vitalRegions;
  for (bool changed = true; changed;) {
    std::fill(vitalRegions.begin(), vitalRegions.begin() + chains, 0);
    for (int r = 0; r < regions; ++r) {
      if (!regionAlive[static_cast<size_t>(r)]) continue;
      if (vitalCount[static_cast<size_t>(r)] == kVitalToAllBorder) {
        for (int b = borderStart[static_cast<size_t>(r)];
             b < borderStart[static_cast<size_t>(r) + 1]; ++b)
          ++vitalRegions[static_cast<size_t>(border[static_cast<size_t>(b)])];
      } else {
        for (uint8_t k = 0; k < vitalCount[static_cast<size_t>(r)]; ++k)
          ++vitalRegions[static_cast<size_t>(vital[static_cast<size_t>(r)][k])];
      }
    }
    changed = DropStep(chains, vitalRegions, regions, borderStart, border, chainAlive, regionAlive);
  }
  for (Point p = 0; p < cells; ++p) {
    const int16_t c = chainOf[static_cast<size_t>(p)];
    if (c >= 0 && chainAlive[static_cast<size_t>(c)]) alive[static_cast<size_t>(p)] = 1;
  }
}

// LocalBensonAlive's marks by point: the chain and the vital region of the point (a stamp in
// the high half tells this call's marks from older ones) and the region search that last saw it.
struct BensonMarks {
  std::array<uint32_t, kMaxCells> chainOf{};
  std::array<uint32_t, kMaxCells> regionOf{};
  std::array<uint32_t, kMaxCells> floodMark{};
  uint32_t stamp = 0;
  uint32_t floods = 1;
};
thread_local BensonMarks tBensonMarks;

// Benson's test for one chain, without looking at the whole board. A chain's fate depends only
// on the regions vital to it and, through those regions, on the chains around them: the chains
// reachable from it that way, with their vital regions, are closed under that dependence, and
// the fixed point of the algorithm restricted to them is the same as on the whole board (a set of
// chains that keeps two vital regions each, with every chain beside those regions in the set, is
// what both find). A region is searched from a liberty of the chain and given up at the first
// empty point that is not a liberty, so the open board around a group is hardly visited.
// Assumes a legal position (every chain has a liberty).
bool LocalBensonAlive(const Board& board, Point target) {
  const Stone colour = board.Get(target);
  const int stride = board.Stride();
  // The marks by point live from call to call and are told apart by a stamp rather than
  // cleared: the search runs this test on most positions it looks at.
  BensonMarks& marks = tBensonMarks;
  if (++marks.stamp > 0xFFFF || marks.floods > 0xF0000000u) {
    marks.chainOf.fill(0);
    marks.regionOf.fill(0);
    marks.floodMark.fill(0);
    marks.stamp = 1;
    marks.floods = 1;
  }
  const uint32_t stamp = marks.stamp << 16;
  auto chainOf = [&](Point p) -> int {
    const uint32_t m = marks.chainOf[static_cast<size_t>(p)];
    return (m & 0xFFFF0000u) == stamp ? static_cast<int>(m & 0xFFFF) : -1;
  };
  auto regionOf = [&](Point p) -> int {
    const uint32_t m = marks.regionOf[static_cast<size_t>(p)];
    return (m & 0xFFFF0000u) == stamp ? static_cast<int>(m & 0xFFFF) : -1;
  };
  auto setChain = [&](Point p, int id) {
    marks.chainOf[static_cast<size_t>(p)] = stamp | static_cast<uint32_t>(id);
  };
  // The region searches are numbered on from call to call, so a mark of an earlier call is
  // below every number of this one.
  std::array<uint32_t, kMaxCells>& floodMark = marks.floodMark;
  // Chains: their stones, in one flat list.
  std::array<int16_t, kMaxCells + 1> chainStart;
  std::array<int16_t, kMaxCells> chainStones;
  int chains = 0, stones = 0;
  std::array<int16_t, kMaxCells> borderStamp;  // the last region that counted the chain beside it
  auto addChain = [&](Point p) {
    if (chainOf(p) >= 0) return;
    const auto id = static_cast<int16_t>(chains++);
    chainStart[static_cast<size_t>(id)] = static_cast<int16_t>(stones);
    borderStamp[static_cast<size_t>(id)] = -1;
    setChain(p, id);
    chainStones[static_cast<size_t>(stones++)] = static_cast<int16_t>(p);
    for (int i = chainStart[static_cast<size_t>(id)]; i < stones; ++i) {
      const Point q = chainStones[static_cast<size_t>(i)];
      for (const Point n : {q - 1, q + 1, q - stride, q + stride})
        if (board.Get(n) == colour && chainOf(n) < 0) {
          setChain(n, id);
          chainStones[static_cast<size_t>(stones++)] = static_cast<int16_t>(n);
        }
    }
    chainStart[static_cast<size_t>(chains)] = static_cast<int16_t>(stones);
  };
  auto libertyOf = [&](Point p, int chain) {
    for (const Point n : {p - 1, p + 1, p - stride, p + stride})
      if (chainOf(n) == chain) return true;
    return false;
  };
  // Regions vital to some chain: their points, the chains beside them; and the pairs
  // (chain, region vital to it).
  std::array<int16_t, kMaxCells + 1> regionStart;
  std::array<int16_t, kMaxCells> regionPoints;
  std::array<int16_t, kMaxCells + 1> borderStart;
  std::array<int16_t, 4 * kMaxCells> border;
  std::array<int16_t, kMaxCells> testedFor;  // the chain a region was last tested against
  std::array<int16_t, 4 * kMaxCells> vitalChain;
  std::array<int16_t, 4 * kMaxCells> vitalRegion;
  std::array<int16_t, kMaxCells> flood;
  int regions = 0, points = 0, borders = 0, pairs = 0;
  regionStart[0] = 0;
  borderStart[0] = 0;
  addChain(target);
  uint32_t& floods = marks.floods;
  for (int c = 0; c < chains; ++c) {
    const uint32_t firstFlood = floods;  // searches from this chain are numbered from here
    for (int i = chainStart[static_cast<size_t>(c)]; i < chainStart[static_cast<size_t>(c) + 1];
         ++i) {
      const Point s = chainStones[static_cast<size_t>(i)];
      for (const Point l : {s - 1, s + 1, s - stride, s + stride}) {
        if (board.Get(l) != Stone::Empty) continue;
        const int known = regionOf(l);
        if (known >= 0) {
          // A region already found vital to another chain: is it vital to this one too?
          if (testedFor[static_cast<size_t>(known)] == c) continue;
          testedFor[static_cast<size_t>(known)] = static_cast<int16_t>(c);
          bool vital = true;
          for (int k = regionStart[static_cast<size_t>(known)];
               k < regionStart[static_cast<size_t>(known) + 1] && vital; ++k) {
            const Point q = regionPoints[static_cast<size_t>(k)];
            if (board.Get(q) == Stone::Empty && !libertyOf(q, c)) vital = false;
          }
          if (vital) {
            vitalChain[static_cast<size_t>(pairs)] = static_cast<int16_t>(c);
            vitalRegion[static_cast<size_t>(pairs++)] = static_cast<int16_t>(known);
          }
          continue;
        }
        // Seen by an earlier search from this chain: a region already given up.
        if (floodMark[static_cast<size_t>(l)] >= firstFlood) continue;
        const uint32_t mark = floods++;
        int size = 0;
        flood[static_cast<size_t>(size++)] = static_cast<int16_t>(l);
        floodMark[static_cast<size_t>(l)] = mark;
        bool vital = true;
        for (int k = 0; k < size && vital; ++k) {
          const Point q = flood[static_cast<size_t>(k)];
          for (const Point n : {q - 1, q + 1, q - stride, q + stride}) {
            const Stone t = board.Get(n);
            if (t == Stone::Border || t == colour || floodMark[static_cast<size_t>(n)] == mark)
              continue;
            // A point an earlier search from this chain gave up on, or an empty point that is
            // not a liberty: the region is not vital to this chain.
            if (floodMark[static_cast<size_t>(n)] >= firstFlood ||
                (t == Stone::Empty && !libertyOf(n, c))) {
              vital = false;
              break;
            }
            floodMark[static_cast<size_t>(n)] = mark;
            flood[static_cast<size_t>(size++)] = static_cast<int16_t>(n);
          }
        }
        if (!vital) continue;
        // A new vital region: keep it, and every chain beside it joins the chains to examine.
        const auto r = static_cast<int16_t>(regions++);
        testedFor[static_cast<size_t>(r)] = static_cast<int16_t>(c);
        for (int k = 0; k < size; ++k) {
          const Point q = flood[static_cast<size_t>(k)];
          marks.regionOf[static_cast<size_t>(q)] = stamp | static_cast<uint32_t>(r);
          regionPoints[static_cast<size_t>(points++)] = static_cast<int16_t>(q);
          for (const Point n : {q - 1, q + 1, q - stride, q + stride}) {
            if (board.Get(n) != colour) continue;
            addChain(n);
            const auto beside = static_cast<int16_t>(chainOf(n));
            if (borderStamp[static_cast<size_t>(beside)] == r) continue;
            borderStamp[static_cast<size_t>(beside)] = r;
            border[static_cast<size_t>(borders++)] = beside;
          }
        }
        regionStart[static_cast<size_t>(regions)] = static_cast<int16_t>(points);
        borderStart[static_cast<size_t>(regions)] = static_cast<int16_t>(borders);
        vitalChain[static_cast<size_t>(pairs)] = static_cast<int16_t>(c);
        vitalRegion[static_cast<size_t>(pairs++)] = r;
      }
    }
    // A target with fewer than two vital regions is not alive, whatever the chains beside them
    // (most positions of a search end here).
    if (c == 0 && pairs < 2) return false;
  }
  // The algorithm's fixed point over these chains and regions.
  std::array<uint8_t, kMaxCells> chainAlive;
  std::array<uint8_t, kMaxCells> regionAlive;
  std::array<int16_t, kMaxCells> count;
  std::fill(chainAlive.begin(), chainAlive.begin() + chains, 1);
  std::fill(regionAlive.begin(), regionAlive.begin() + regions, 1);
  for (bool changed = true; changed;) {
    std::fill(count.begin(), count.begin() + chains, 0);
    for (int k = 0; k < pairs; ++k)
      if (regionAlive[static_cast<size_t>(vitalRegion[static_cast<size_t>(k)])])
        ++count[static_cast<size_t>(vitalChain[static_cast<size_t>(k)])];
    changed = DropStep(chains, count, regions, borderStart, border, chainAlive, regionAlive);
    if (!chainAlive[0]) return false;
  }
  return chainAlive[0] != 0;
}

}  // namespace

std::vector<bool> BensonAlive(const Board& board, Stone colour) {
  std::array<uint8_t, kMaxCells> alive{};
  MarkBensonAlive(board, colour, alive);
  std::vector<bool> result(static_cast<size_t>(board.Cells()), false);
  for (size_t p = 0; p < result.size(); ++p) result[p] = alive[p] != 0;
  return result;
}

bool ChainBensonAlive(const Board& board, Point p) {
  if (p < 0 || p >= board.Cells()) return false;
  const Stone colour = board.Get(p);
  if (colour != Stone::Black && colour != Stone::White) return false;
  return LocalBensonAlive(board, p);
}

std::vector<Point> RegionAround(const Board& board, const std::vector<Point>& targets,
                                const std::vector<Point>& walls) {
  std::vector<bool> wall(static_cast<size_t>(board.Cells()), false);
  for (Point w : walls)
    if (w >= 0 && w < board.Cells()) wall[static_cast<size_t>(w)] = true;
  std::vector<bool> seen(static_cast<size_t>(board.Cells()), false);
  std::vector<Point> found;
  for (Point t : targets)
    if (t >= 0 && t < board.Cells() && board.Get(t) != Stone::Border &&
        !wall[static_cast<size_t>(t)] && !seen[static_cast<size_t>(t)]) {
      seen[static_cast<size_t>(t)] = true;
      found.push_back(t);
    }
  for (size_t i = 0; i < found.size(); ++i)
    for (Point n : board.Neighbours(found[i]))
      if (board.Get(n) != Stone::Border && !wall[static_cast<size_t>(n)] &&
          !seen[static_cast<size_t>(n)]) {
        seen[static_cast<size_t>(n)] = true;
        found.push_back(n);
      }
  std::sort(found.begin(), found.end());
  return found;
}

int StatusRank(Status status, bool kill) {
  switch (status) {
    case Status::Works:
      return 4;
    case Status::Seki:
      return kill ? 2 : 3;
    case Status::WorksByKo:
      return kill ? 3 : 2;
    case Status::Fails:
      return 1;
    case Status::Unknown:
      return 0;
  }
  return 0;
}

const char* StatusName(Status status) {
  switch (status) {
    case Status::Works:
      return "works";
    case Status::WorksByKo:
      return "ko";
    case Status::Seki:
      return "seki";
    case Status::Fails:
      return "fails";
    case Status::Unknown:
      return "unknown";
  }
  return "unknown";
}

// ---------------------------------------------------------------------------------------------
// The search game and df-pn

namespace {

constexpr uint32_t kInfinity = 1u << 30;

// Saturating sum. Only a proven child may make a sum infinite: a sum of large unproven numbers
// stops just below, or a node could look decided when it is not.
uint32_t Add(uint32_t a, uint32_t b) {
  if (a >= kInfinity || b >= kInfinity) return kInfinity;
  return std::min(kInfinity - 1, a + b);
}

// The second-best number grown by epsilon = 1/4, at least by one.
uint32_t Loosened(uint32_t second) { return Add(second, std::max<uint32_t>(1, second / 4)); }

// Liberties beyond this many tell the estimate nothing more.
constexpr int kLibertyCap = 6;

struct State {
  Board board;
  Stone toMove;
  Point koBan;
  int passes;  // passes in a row just before this position (0 or 1; 2 ends the game)
  uint64_t Key() const {
    uint64_t key = board.Key();
    if (toMove == Stone::White) key ^= Zobrist().whiteToMove;
    if (koBan >= 0) key ^= Zobrist().ko[koBan];
    if (passes == 1) key ^= Zobrist().passed;
    if (passes >= 2) key ^= Zobrist().passedTwice;
    return key;
  }
};

// The depth on the current line of the shallowest position a proof relies on repeating;
// kNoLoop when it relies on none.
constexpr uint16_t kNoLoop = 0xFFFF;

// pn: proof number for "the attacker wins"; dn: disproof number. `loop`: for a proven value, the
// depth of the shallowest position on the line whose repetition the proof needs. A proof that
// needs only positions at the node's own depth or below holds however the node is reached (the
// repetitions happen inside its own subtree) and is stored; one that needs a position above it
// holds only on this line, so it is given to the parent but never stored.
struct Value {
  uint32_t pn = 1;
  uint32_t dn = 1;
  uint16_t loop = kNoLoop;
  // For a proven value: no position of the proof has a ko ban pending and none is a repetition,
  // so the proof holds whoever is ko master (the rules differ nowhere else).
  bool koFree = true;
  bool Proven() const { return pn == 0 || dn == 0; }
};

// The table keeps a proof's koFree in the top bit of its infinite number.
constexpr uint32_t kKoFreeBit = 1u << 31;

// The positions on the current line, with their depth. Most lookups are of positions not on
// it, so a count of the line's keys by a few of their bits answers those without a search; the
// line is short, and the rest is a scan of it.
class LinePath {
 public:
  uint16_t Find(uint64_t key) const {
    if (count_[Bucket(key)] == 0) return kNoLoop;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
      if (it->first == key) return it->second;
    return kNoLoop;
  }
  // Adds the position unless it is on the line already.
  void Insert(uint64_t key, uint16_t depth) {
    if (Find(key) != kNoLoop) return;
    entries_.emplace_back(key, depth);
    ++count_[Bucket(key)];
  }
  void Erase(uint64_t key) {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
      if (it->first == key) {
        entries_.erase(std::next(it).base());
        --count_[Bucket(key)];
        return;
      }
  }
  void Clear() {
    entries_.clear();
    count_.fill(0);
  }

 private:
  static size_t Bucket(uint64_t key) { return static_cast<size_t>(key >> 40) & 1023; }
  std::vector<std::pair<uint64_t, uint16_t>> entries_;
  std::array<uint16_t, 1024> count_{};
};

class Search {
 public:
  Search(const Problem& problem, SearchRules rules, std::chrono::steady_clock::time_point deadline,
         uint64_t* nodes, uint64_t nodeLimit)
      : problem_(problem),
        rules_(rules),
        deadline_(deadline),
        nodes_(nodes),
        nodeLimit_(nodeLimit) {}

  // The winner from `state`, with `line` the positions (keys) already on the line before it.
  Winner Solve(const State& state, const std::vector<uint64_t>& line) {
    path_.Clear();
    depth_ = 0;
    for (uint64_t key : line) path_.Insert(key, depth_++);
    const Value v = Mid(state, kInfinity, kInfinity);
    if (v.pn == 0) return Winner::Attacker;
    if (v.dn == 0) return Winner::Defender;
    return Winner::Unknown;
  }

  bool Aborted() const { return aborted_; }

  // Lets the search run on until `deadline` or `nodeLimit` (positions over all searches), after
  // it stopped at an earlier limit; what its table holds is kept.
  void Allow(std::chrono::steady_clock::time_point deadline, uint64_t nodeLimit) {
    deadline_ = deadline;
    nodeLimit_ = nodeLimit;
    aborted_ = *nodes_ >= nodeLimit_ || std::chrono::steady_clock::now() >= deadline_;
  }

  // The terminal value of a position, if it is decided without search.
  // `knowledge`: also end the game where the eye-shape rule below decides it (not at the root
  // of an analysis, whose moves are still to be judged). `life`: also test the targets for
  // unconditional life (the costliest test). `liberties`: TargetLiberties(s) when the caller
  // has it (-1: not known).
  std::optional<Value> Terminal(const State& s, bool knowledge = true, bool life = true,
                                int liberties = -1) const {
    const Stone defender = Opponent(problem_.attacker);
    // With a ko ban pending the answer may depend on who is ko master (the capture rule).
    const bool koFree = s.koBan == kNoPoint;
    for (Point t : problem_.targets)
      if (s.board.Get(t) != defender) return Value{0, kInfinity, kNoLoop, koFree};
    if (s.passes >= 2 || PassEnds(s))
      return rules_.strict ? Value{0, kInfinity, kNoLoop, koFree}
                           : Value{kInfinity, 0, kNoLoop, koFree};
    if (knowledge && ((liberties < 0 || liberties == 1) && Capture(s) != kNoPoint))
      return Value{0, kInfinity, kNoLoop, koFree};
    if (knowledge && SmallEyeSpaceDies(s)) return Value{0, kInfinity, kNoLoop, koFree};
    if (!life) return std::nullopt;
    for (Point t : problem_.targets)
      if (!LocalBensonAlive(s.board, t)) return std::nullopt;
    return Value{kInfinity, 0, kNoLoop, koFree};
  }

  // After a pass, the side that two passes favour passes too and wins: the defender when the
  // target only has to survive, the attacker under the strict rules.
  bool PassEnds(const State& s) const {
    return s.passes == 1 && (s.toMove == problem_.attacker) == rules_.strict;
  }

  // The attacker to move takes a target in atari at once (the capture is always legal, unless
  // the ko ban forbids it): the point, else kNoPoint.
  Point Capture(const State& s) const {
    if (s.toMove != problem_.attacker) return kNoPoint;
    const Stone defender = Opponent(problem_.attacker);
    for (Point t : problem_.targets) {
      if (s.board.Get(t) != defender) continue;
      ChainWalk walk;
      if (WalkChain(s.board, t, 2, walk) != 1) continue;
      for (int i = 0; i < walk.size; ++i)
        for (Point n : s.board.Neighbours(walk.points[static_cast<size_t>(i)]))
          if (s.board.Get(n) == Stone::Empty) {
            if (n == s.koBan && rules_.koMaster != problem_.attacker) return kNoPoint;
            return n;
          }
    }
    return kNoPoint;
  }

  // The move that ends the game at a position decided by the rule of two passes or by a
  // capture in one move: the answering pass or the capture (kNoPoint for any other position).
  Point EndingMove(const State& s) const {
    const Stone defender = Opponent(problem_.attacker);
    for (Point t : problem_.targets)
      if (s.board.Get(t) != defender) return kNoPoint;
    if (s.passes >= 2) return kNoPoint;
    if (PassEnds(s)) return kPass;
    return Capture(s);
  }

  // Eye-shape knowledge: a target that is the only defender chain of the region, with no attacker
  // stone inside, whose whole eye space is a single small enclosed space, is dead when the space
  // is a killing shape (T. Wolf's GoTools and Kishimoto & Müller, AAAI 2005, recognise such
  // spaces statically instead of searching them out; the shapes are the classical nakade shapes,
  // classified as giving one eye only by R. Vilà and T. Cazenave, "When one eye is sufficient: a
  // static classification", Advances in Computer Games 10, 2003).
  // With the attacker to move: one point, two, a straight or bent three, the square and the
  // pyramid four, the bulky and the crossed five, the rabbity six. The attacker plays the vital
  // point and fills the space from there, always leaving a killing shape to be captured; the
  // defender can neither split the space into two eyes nor capture without filling its own last
  // liberties. With the defender to move: two points or fewer (whatever it plays fills its own
  // eye), or the square four (whatever it plays leaves a bent three with the attacker to move).
  // The conditions keep the proof simple and exact: every empty point of the region is a
  // liberty of the target and touches nothing but the target, the space itself and the board's
  // edge (so no wall can be taken, a defender stone played inside joins the target, and no ko
  // can arise: a capture by the defender is made by a stone that joins the target), no ko ban
  // is pending, and the defender to move cannot end the game by answering a pass with a pass.
  // The attacker never needs to pass, so the rule of two passes never saves the target.
  bool SmallEyeSpaceDies(const State& s) const {
    if (problem_.targets.size() != 1 || s.koBan != kNoPoint) return false;
    const bool attackerMoves = s.toMove == problem_.attacker;
    if (!attackerMoves && s.passes != 0) return false;
    const size_t most = attackerMoves ? 6 : 4;
    const Point target = problem_.targets.front();
    const Stone defender = Opponent(problem_.attacker);
    // The cheap tests first: no attacker stone inside, and a space small enough.
    size_t empty = 0;
    for (Point p : problem_.region) {
      const Stone c = s.board.Get(p);
      if (c == problem_.attacker) return false;
      if (c == Stone::Empty && ++empty > most) return false;
    }
    ChainWalk walk;
    WalkChain(s.board, target, kMaxCells, walk);  // marks the chain's stones and liberties
    std::array<Point, 6> space{};
    size_t size = 0;
    for (Point p : problem_.region) {
      const Stone c = s.board.Get(p);
      if (!walk.Seen(p)) return false;  // another chain, or not a liberty
      if (c != Stone::Empty) continue;
      if (size == most) return false;
      space[size++] = p;
      for (Point n : s.board.Neighbours(p)) {
        const Stone t = s.board.Get(n);
        if (t != Stone::Border && t != defender && t != Stone::Empty) return false;
      }
    }
    if (size == 0) return false;  // no liberty: the target is already gone
    // The space's shape from its adjacencies: the number of edges, the largest degree, and
    // whether it is connected (a space of separate parts is more than one eye space).
    auto adjacent = [&](Point a, Point b) {
      const int d = a > b ? a - b : b - a;
      return d == 1 || d == s.board.Stride();
    };
    std::array<int, 6> degree{};
    int edges = 0;
    for (size_t a = 0; a < size; ++a)
      for (size_t b = a + 1; b < size; ++b)
        if (adjacent(space[a], space[b])) {
          ++edges;
          ++degree[a];
          ++degree[b];
        }
    std::array<bool, 6> reached{};
    reached[0] = true;
    for (bool grew = true; grew;) {
      grew = false;
      for (size_t a = 0; a < size; ++a)
        for (size_t b = 0; b < size; ++b)
          if (reached[a] && !reached[b] && adjacent(space[a], space[b])) reached[b] = grew = true;
    }
    for (size_t a = 0; a < size; ++a)
      if (!reached[a]) return false;
    const int maxDegree = *std::max_element(degree.begin(), degree.begin() + size);
    switch (size) {
      case 1:
      case 2:
        return true;
      case 3:
        return attackerMoves;  // straight or bent: both die with the attacker to move
      case 4:
        // The square (four edges, a cycle) dies whoever moves; the pyramid (a point beside the
        // other three) with the attacker to move.
        return edges == 4 || (attackerMoves && maxDegree == 3);
      case 5:
        // The bulky five (the one five with a cycle: a square and a point) and the crossed five.
        return edges == 5 || maxDegree == 4;
      case 6:
        // The rabbity six: a point beside four others, and a cycle (the square it closes).
        return maxDegree == 4 && edges == 6;
    }
    return false;
  }

  // The fewest liberties of a target chain, counted up to kLibertyCap.
  int TargetLiberties(const State& s) const {
    int liberties = kLibertyCap;
    for (Point t : problem_.targets)
      liberties = std::min(liberties, s.board.LibertiesUpTo(t, kLibertyCap));
    return liberties;
  }

  // The first proof and disproof numbers of a position not searched yet (the df-pn+ idea of
  // Nagai's thesis: a cheap estimate of the effort instead of 1 and 1). The attacker's effort
  // grows with the liberties of the weakest target chain: each liberty is a move to fill.
  // `liberties`: TargetLiberties(s) when the caller has it.
  Value Estimate(const State& s, int liberties = -1) const {
    if (liberties < 0) liberties = TargetLiberties(s);
    const bool attackerMoves = s.toMove == problem_.attacker;
    const int pn = std::max(1, liberties - (attackerMoves ? 1 : 0));
    return Value{static_cast<uint32_t>(pn), 1, kNoLoop};
  }

  // The positions after every legal move of the side to move (a pass last).
  std::vector<std::pair<Point, State>> Children(const State& s) const {
    std::vector<std::pair<Point, State>> children;
    ChildrenInto(s, children);
    return children;
  }
  void ChildrenInto(const State& s, std::vector<std::pair<Point, State>>& children) const {
    children.clear();
    children.reserve(problem_.region.size() + 1);
    // Each child is made in its place in the list (a board is a few hundred bytes: one copy
    // each, not a copy and a move), and taken back off when the move is not legal.
    for (Point p : problem_.region) {
      if (s.board.Get(p) != Stone::Empty) continue;
      if (p == s.koBan && s.toMove != rules_.koMaster) continue;
      State& next = children.emplace_back(p, s).second;
      next.toMove = Opponent(s.toMove);
      next.passes = 0;
      if (!next.board.Play(p, s.toMove, &next.koBan)) children.pop_back();
    }
    State& pass = children.emplace_back(kPass, s).second;
    pass.toMove = Opponent(s.toMove);
    pass.koBan = kNoPoint;
    pass.passes = s.passes + 1;
  }

  // A repetition of the position at `depth` on the line: the ko master wins.
  Value Repetition(uint16_t depth) const {
    return rules_.koMaster == problem_.attacker ? Value{0, kInfinity, depth, false}
                                                : Value{kInfinity, 0, depth, false};
  }

  std::optional<Value> Lookup(uint64_t key) const {
    const ProofTable::Entry* entry = table_.Find(key);
    if (!entry) return std::nullopt;
    return Value{entry->pn & ~kKoFreeBit, entry->dn & ~kKoFreeBit, kNoLoop,
                 ((entry->pn | entry->dn) & kKoFreeBit) != 0};
  }

  // A proof the other search (the other side as ko master) holds that needs no ko, if it has
  // one for the position.
  std::optional<Value> Borrow(uint64_t key) const {
    if (!other_) return std::nullopt;
    const std::optional<Value> v = other_->Lookup(key);
    if (!v || !v->Proven() || !v->koFree) return std::nullopt;
    return v;
  }

  // Lets this search borrow the ko-free proofs of `other`, a search of the same problem with
  // the other side as ko master and the same rule of two passes.
  void Pair(const Search* other) { other_ = other; }

  // The depth of the position on the current line, kNoLoop when it is not on it.
  uint16_t DepthOnPath(uint64_t key) const { return path_.Find(key); }

 private:
  bool OutOfBudget() {
    if (aborted_) return true;
    ++*nodes_;
    if (*nodes_ >= nodeLimit_) aborted_ = true;
    if ((*nodes_ & 1023) == 0 && std::chrono::steady_clock::now() >= deadline_) aborted_ = true;
    return aborted_;
  }

  void Store(uint64_t key, const Value& v) {
    if (v.Proven() && v.loop != kNoLoop) {
      table_.Erase(key);
      return;
    }
    const uint32_t mark = v.Proven() && v.koFree ? kKoFreeBit : 0;
    table_.Put(key, v.pn == 0 ? v.pn : v.pn | mark, v.dn == 0 ? v.dn : v.dn | mark);
  }

  // Multiple iterative deepening at one node (Nagai's MID): search below `state` until its proof
  // number reaches thresholdPn or its disproof number thresholdDn.
  // `checked`: the caller already knows the position is not terminal.
  Value Mid(const State& state, uint32_t thresholdPn, uint32_t thresholdDn, bool checked = false) {
    const uint64_t key = state.Key();
    if (!checked) {
      const std::optional<Value> t = Terminal(state);
      Tested(key, t);
      if (t) return *t;
    }
    if (OutOfBudget()) return Lookup(key).value_or(Estimate(state));
    const bool orNode = state.toMove == problem_.attacker;
    // The node's lists live in a frame of its depth, kept from one visit to the next so that
    // entering a node allocates nothing once the search has been that deep.
    if (frames_.size() <= depth_) frames_.resize(depth_ + size_t{1});
    Frame& frame = frames_[depth_];
    auto& children = frame.children;
    ChildrenInto(state, children);
    auto& values = frame.values;
    values.assign(children.size(), Value{});
    auto& keys = frame.keys;
    keys.assign(children.size(), 0);
    // Children not yet tested for the defender's life: the positions after the attacker's moves,
    // which seldom give it (a move filling an eye space's inner point can). They are tested
    // when the search enters them, so most are never tested at all.
    auto& untested = frame.untested;
    untested.assign(children.size(), 0);
    const bool deferLife = orNode;
    // The children's slots are fetched all at once: each lookup is mostly a cache miss.
    for (size_t i = 0; i < children.size(); ++i) {
      keys[i] = children[i].second.Key();
      table_.Prefetch(keys[i]);
      if (other_) other_->table_.Prefetch(keys[i]);
      if (!leaves_.empty()) __builtin_prefetch(&leaves_[keys[i] & (leaves_.size() - 1)]);
    }
    for (size_t i = 0; i < children.size(); ++i) {
      // Only positions that are not terminal are ever stored, so a stored one needs no test;
      // nor does one the other search proved without a ko (with no ban pending, the test is
      // the same under both ko masters).
      std::optional<Value> stored = Lookup(keys[i]);
      if (!stored || !stored->Proven())
        if (std::optional<Value> borrowed = Borrow(keys[i])) stored = borrowed;
      Value leaf;
      bool terminal = false, lifeUntested = false;
      if (!stored) leaf = Leaf(children[i].second, keys[i], deferLife, &terminal, &lifeUntested);
      untested[i] = lifeUntested ? 1 : 0;
      const uint16_t repeats = keys[i] == key ? depth_ : DepthOnPath(keys[i]);
      if (terminal)
        values[i] = leaf;
      else if (repeats != kNoLoop)
        values[i] = Repetition(repeats);
      else
        values[i] = stored ? *stored : leaf;
    }
    const uint16_t depth = depth_++;
    path_.Insert(key, depth);
    Value v;
    for (;;) {
      // This node's numbers from its children's.
      uint32_t best = kInfinity, second = kInfinity, sum = 0;
      size_t bestIndex = 0;
      for (size_t i = 0; i < values.size(); ++i) {
        const uint32_t mine = orNode ? values[i].pn : values[i].dn;
        const uint32_t other = orNode ? values[i].dn : values[i].pn;
        sum = Add(sum, other);
        if (mine < best) {
          second = best;
          best = mine;
          bestIndex = i;
        } else if (mine < second) {
          second = mine;
        }
      }
      v.pn = orNode ? best : sum;
      v.dn = orNode ? sum : best;
      if (v.pn >= thresholdPn || v.dn >= thresholdDn || aborted_) break;
      // Child thresholds (Nagai 2002, df-pn): the best child is searched until it is no longer
      // the best, or the parent's other threshold is reached.
      // The threshold of the best child uses the 1+epsilon trick (J. Pawlewicz and L. Lew,
      // "Improving depth-first PN-search: 1+epsilon trick", Computers and Games 2006, LNCS 4630,
      // 2007): the child may run until it is a quarter worse than the second best, not merely
      // one worse, so the search does not keep jumping between siblings of nearly equal cost.
      Value& child = values[bestIndex];
      uint32_t childPn, childDn;
      if (orNode) {
        childPn = std::min(thresholdPn, Loosened(second));
        childDn = thresholdDn - v.dn + child.dn;
      } else {
        childDn = std::min(thresholdDn, Loosened(second));
        childPn = thresholdPn - v.pn + child.pn;
      }
      if (child.loop != kNoLoop) break;  // a repetition: a fixed value, never unproven
      child = Mid(children[bestIndex].second, std::min(childPn, kInfinity),
                  std::min(childDn, kInfinity), untested[bestIndex] == 0);
      untested[bestIndex] = 0;
    }
    path_.Erase(key);
    --depth_;
    // What a proven value relies on: at the winner's move, the winning child that relies on the
    // least (the deepest loop, or none); at the loser's move, every child, so the shallowest loop
    // among them. Loops back to this node or below it are the node's own.
    if (v.Proven()) {
      const bool attackerWon = v.pn == 0;
      const bool winnerMoves = orNode == attackerWon;
      uint16_t loop = winnerMoves ? 0 : kNoLoop;
      // Ko-free: with no ban pending here, a winning child that needs no ko, or every child.
      bool koFree = !winnerMoves;
      for (const Value& c : values) {
        if (winnerMoves && (attackerWon ? c.pn == 0 : c.dn == 0)) {
          loop = std::max(loop, c.loop);
          koFree = koFree || c.koFree;
        }
        if (!winnerMoves) {
          loop = std::min(loop, c.loop);
          koFree = koFree && c.koFree;
        }
      }
      v.loop = loop >= depth ? kNoLoop : loop;
      v.koFree = koFree && state.koBan == kNoPoint;
    }
    Store(key, v);
    return v;
  }

  // A position not searched yet: its terminal value (*terminal set), else its first estimate.
  // Both are remembered by key, because a parent re-entered by the search looks at all its
  // children again, and the terminal test (Benson's algorithm) is the costliest step there.
  // `deferLife`: leave out the test for the defender's life (*lifeUntested set when it was left
  // out, here or before).
  Value Leaf(const State& s, uint64_t key, bool deferLife, bool* terminal, bool* lifeUntested) {
    // The table grows with the search (a small one is cheap to set up, and most searches are
    // small); growing forgets what it held, which costs only repeated tests.
    if (leaves_.size() < kMaxLeafSlots && leafTests_ >= leaves_.size()) {
      leaves_.assign(std::max(kMinLeafSlots, 4 * leaves_.size()), LeafSlot{});
      leafTests_ = 0;
    }
    LeafSlot& slot = leaves_[key & (leaves_.size() - 1)];
    if (slot.kind == LeafKind::kNone || slot.key != key ||
        (slot.kind == LeafKind::kLifeUntested && !deferLife)) {
      ++leafTests_;
      slot.key = key;
      // The target's liberties once, for both the capture rule and the estimate.
      const int liberties = TargetLiberties(s);
      if (const std::optional<Value> t = Terminal(s, true, !deferLife, liberties)) {
        slot.kind = t->pn == 0 ? LeafKind::kAttackerWins : LeafKind::kDefenderWins;
      } else {
        slot.kind = deferLife ? LeafKind::kLifeUntested : LeafKind::kOpen;
        slot.estimate = static_cast<uint8_t>(Estimate(s, liberties).pn);
      }
    }
    *lifeUntested = slot.kind == LeafKind::kLifeUntested;
    *terminal = slot.kind != LeafKind::kOpen && !*lifeUntested;
    switch (slot.kind) {
      case LeafKind::kAttackerWins:
        return Value{0, kInfinity, kNoLoop, s.koBan == kNoPoint};
      case LeafKind::kDefenderWins:
        return Value{kInfinity, 0, kNoLoop, s.koBan == kNoPoint};
      default:
        return Value{slot.estimate, 1, kNoLoop};
    }
  }

  // What the full test found at a position the search entered: remembered as a leaf's, so that
  // a parent re-entered does not enter a decided child again.
  void Tested(uint64_t key, const std::optional<Value>& terminal) {
    if (leaves_.empty()) return;
    LeafSlot& slot = leaves_[key & (leaves_.size() - 1)];
    if (slot.key != key || slot.kind == LeafKind::kNone) return;  // only a leaf already known
    if (terminal)
      slot.kind = terminal->pn == 0 ? LeafKind::kAttackerWins : LeafKind::kDefenderWins;
    else if (slot.kind == LeafKind::kLifeUntested)
      slot.kind = LeafKind::kOpen;
  }

  enum class LeafKind : uint8_t { kNone, kOpen, kLifeUntested, kAttackerWins, kDefenderWins };
  struct LeafSlot {
    uint64_t key = 0;
    LeafKind kind = LeafKind::kNone;
    uint8_t estimate = 0;
  };
  // Direct-mapped, a newer position takes the slot of an older one: at most 2^17 slots (2 MB)
  // hold the children of the nodes a search keeps returning to.
  static constexpr size_t kMinLeafSlots = size_t{1} << 10;
  static constexpr size_t kMaxLeafSlots = size_t{1} << 17;

  const Problem& problem_;
  SearchRules rules_;
  std::chrono::steady_clock::time_point deadline_;
  uint64_t* nodes_;
  uint64_t nodeLimit_;
  bool aborted_ = false;
  std::vector<LeafSlot, LargePageAllocator<LeafSlot>> leaves_;
  size_t leafTests_ = 0;  // tests since the table last grew
  ProofTable table_;
  const Search* other_ = nullptr;  // the search whose ko-free proofs this one borrows
  LinePath path_;                  // the positions on the line, with their depth
  // Mid's lists by depth on the line (a deque: a frame stays where it is while deeper ones are
  // added).
  struct Frame {
    std::vector<std::pair<Point, State>> children;
    std::vector<Value> values;
    std::vector<uint64_t> keys;
    std::vector<uint8_t> untested;
  };
  std::deque<Frame> frames_;
  uint16_t depth_ = 0;  // the depth of the next position on the line
};

State RootState(const Problem& problem) {
  return State{problem.board, problem.toMove, kNoPoint, 0};
}

// Everything one Analyse call needs: one search (and table) per rule set, a shared budget.
class Analyser {
 public:
  Analyser(const Problem& problem, Budget budget)
      : problem_(problem),
        deadline_(std::chrono::steady_clock::now() +
                  std::chrono::microseconds(static_cast<int64_t>(budget.seconds * 1e6))),
        cap_(deadline_),
        nodeLimit_(budget.nodes) {}

  Search& For(SearchRules rules) {
    const int index = (rules.koMaster == problem_.attacker ? 0 : 2) + (rules.strict ? 1 : 0);
    if (!searches_[index]) {
      searches_[index] = std::make_unique<Search>(problem_, rules, cap_, &nodes_, nodeLimit_);
      // The searches with either side as ko master (and the same rule of two passes) lend
      // each other the proofs that need no ko.
      if (const auto& other = searches_[index ^ 2]) {
        searches_[index]->Pair(other.get());
        other->Pair(searches_[index].get());
      }
    }
    return *searches_[index];
  }

  // Every search stops at `cap` (no later than the budget's deadline) from now on.
  void Cap(std::chrono::steady_clock::time_point cap) {
    cap_ = std::min(cap, deadline_);
    for (auto& search : searches_)
      if (search) search->Allow(cap_, nodeLimit_);
  }
  std::chrono::steady_clock::time_point Deadline() const { return deadline_; }

  Winner Solve(SearchRules rules, const State& s, const std::vector<uint64_t>& line) {
    Search& search = For(rules);
    if (search.Aborted()) return Winner::Unknown;
    return search.Solve(s, line);
  }

  // The line that proves `winner` from s (as far as the searches can follow it; stops at a
  // decided position, a repetition or 40 moves).
  std::vector<Point> Line(SearchRules rules, State s, Winner winner, std::vector<uint64_t> line) {
    std::vector<Point> moves;
    Search& search = For(rules);
    const Stone winnerColour =
        winner == Winner::Attacker ? problem_.attacker : Opponent(problem_.attacker);
    while (moves.size() < 40 && !search.Terminal(s)) {
      line.push_back(s.Key());
      auto children = search.Children(s);
      const State* next = nullptr;
      Point move = kPass;
      // The winner plays the first move that keeps the win; the loser its first move in board
      // order (a real move before a pass). The loser's other moves are not solved again: the
      // search proved them already, and solving each afresh on a longer line (where results
      // that rely on repetitions are not stored) cost as much as the search itself.
      // The winner's moves the table already holds as wins come first: the search found them,
      // and a move tried before them that does not win may cost a whole search to refute.
      if (s.toMove == winnerColour)
        std::stable_partition(children.begin(), children.end(), [&](const auto& c) {
          const std::optional<Value> v = search.Lookup(c.second.Key());
          return v && (winner == Winner::Attacker ? v->pn == 0 : v->dn == 0);
        });
      for (auto& [p, child] : children) {
        if (std::find(line.begin(), line.end(), child.Key()) != line.end()) continue;
        if (Solve(rules, child, line) != winner) {
          if (s.toMove == winnerColour) continue;
          return moves;  // the loser has an escape the search cannot see: stop here
        }
        next = &child;
        move = p;
        break;
      }
      if (!next) break;
      moves.push_back(move);
      s = *next;
    }
    // A game that one more move ends (an answering pass, a capture) shows that move.
    if (const Point last = search.EndingMove(s);
        moves.size() < 40 && last != kNoPoint && search.Terminal(s))
      moves.push_back(last);
    return moves;
  }

  uint64_t Nodes() const { return nodes_; }
  // The positions every search may reach from now on, over all of them.
  void Limit(uint64_t nodes) {
    nodeLimit_ = nodes;
    Cap(cap_);
  }

 private:
  const Problem& problem_;
  std::chrono::steady_clock::time_point deadline_;
  std::chrono::steady_clock::time_point cap_;  // the searches' deadline for now
  uint64_t nodeLimit_;
  uint64_t nodes_ = 0;
  std::unique_ptr<Search> searches_[4];
};

}  // namespace

Winner SolveGame(const Problem& problem, SearchRules rules, Budget budget, uint64_t* nodes) {
  Analyser analyser(problem, budget);
  const Winner w = analyser.Solve(rules, RootState(problem), {});
  if (nodes) *nodes = analyser.Nodes();
  return w;
}

namespace {

// Judges one first move: the searches under the rules that decide it, in order (see Analyse).
MoveVerdict JudgeMove(Analyser& analyser, const Problem& problem, Point move, const State& child,
                      const std::vector<uint64_t>& rootLine, bool tellSeki) {
  const Stone attacker = problem.attacker;
  const Stone defender = Opponent(attacker);
  const bool kill = problem.toMove == attacker;
  const SearchRules attackerMaster{attacker, false};
  const SearchRules defenderMaster{defender, false};
  const SearchRules strict{attacker, true};
  const Winner mine = kill ? Winner::Attacker : Winner::Defender;
  const Winner theirs = kill ? Winner::Defender : Winner::Attacker;
  MoveVerdict verdict;
  verdict.move = move;
  // Which rules decide, in order: for a kill, first with the attacker as ko master (failing
  // there fails whatever the kos), then with the defender as ko master (working there works
  // unconditionally). For life, first survival with the attacker as ko master, then either
  // the strict rules (unconditional life, else seki) or the defender as ko master (a ko,
  // else a failure).
  auto decide = [&](SearchRules rules) { return analyser.Solve(rules, child, rootLine); };
  // The verdict, with the line that shows it: the search under `rules` proved `w` the winner.
  auto settle = [&](Status status, SearchRules rules, Winner w) {
    verdict.status = status;
    verdict.line = analyser.Line(rules, child, w, rootLine);
  };
  if (kill) {
    const Winner a = decide(attackerMaster);
    if (a == theirs) {
      // The target survives; under the strict rules it may still be short of living outright
      // (a seki), which only tellSeki asks.
      const Winner s = tellSeki ? decide(strict) : theirs;
      if (s != Winner::Unknown)
        settle(s == mine ? Status::Seki : Status::Fails, attackerMaster, theirs);
    } else if (a == mine) {
      const Winner d = decide(defenderMaster);
      if (d == mine) settle(Status::Works, defenderMaster, mine);
      if (d == theirs) settle(Status::WorksByKo, attackerMaster, mine);
    }
  } else {
    // Surviving with the attacker as ko master first: failing there fails under the strict
    // rules too, so most moves of a life problem, which fail, need no search for
    // unconditional life (the costliest, as the defender must reach Benson's life).
    const Winner l = decide(attackerMaster);
    if (l == mine) {
      const Winner s = decide(strict);
      if (s == mine) settle(Status::Works, strict, mine);
      if (s == theirs) settle(Status::Seki, attackerMaster, mine);
    } else if (l == theirs) {
      const Winner d = decide(defenderMaster);
      if (d == mine) settle(Status::WorksByKo, defenderMaster, mine);
      if (d == theirs) settle(Status::Fails, defenderMaster, theirs);
    }
  }
  return verdict;
}

// A `first` move is handed to a second thread once it has had this long undecided (most
// problems are decided sooner, and never start one), when at least kParallelSeconds are left.
constexpr auto kHandOverAfter = std::chrono::milliseconds(5);
constexpr double kParallelSeconds = 0.05;

}  // namespace

Analysis Analyse(const Problem& problem, Budget budget, const std::vector<Point>& first,
                 bool tellSeki) {
  Analysis analysis;
  const auto start = std::chrono::steady_clock::now();
  Analyser analyser(problem, budget);
  const State root = RootState(problem);
  const std::vector<uint64_t> rootLine{root.Key()};
  Search& any = analyser.For(SearchRules{problem.attacker, false});
  if (any.Terminal(root, false)) return analysis;  // already decided: nothing to judge
  const std::vector<std::pair<Point, State>> children = any.Children(root);
  analysis.moves.resize(children.size());  // every move is judged below, by one thread or the other
  // The caller's `first` moves in its order, then the others in board order.
  std::vector<size_t> order;
  for (const Point p : first)
    for (size_t i = 0; i < children.size(); ++i)
      if (children[i].first == p && std::find(order.begin(), order.end(), i) == order.end())
        order.push_back(i);
  const size_t firstCount = order.size();
  for (size_t i = 0; i < children.size(); ++i)
    if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);

  // The moves are judged in two rounds: first each gets an equal part of half the time, so that
  // a move hard to judge does not spend the time of the easy ones after it; then the moves left
  // undecided share what remains, the caller's `first` moves before the others, each with all
  // of it. The tables are kept between the rounds, so the second goes on from where the first
  // stopped.
  // A `first` move still undecided after a short try in the first round is handed to a second
  // thread, with the `first` moves after it: that thread judges them one after the other with
  // searches of its own, each with all of the time left, while this one goes on with the other
  // moves and then takes the handed moves the second has not begun. The positions left in the
  // budget are shared between the two. (A search split across threads would need a shared
  // table; separate moves need nothing shared, and the hard part of a problem is mostly its
  // correct move, which the caller names first.)
  std::vector<size_t> handed;
  std::vector<char> isHanded(children.size(), 0);
  std::vector<std::atomic<char>> taken(children.size());  // claimed by one thread or the other
  uint64_t secondNodes = 0;
  std::exception_ptr secondFailure;  // what the second thread threw (out of memory)
  std::thread second;
  // The second thread is waited for however this one leaves (it stops at the deadline).
  struct Joiner {
    std::thread& thread;
    ~Joiner() {
      if (thread.joinable()) thread.join();
    }
  } joiner{second};
  const bool parallel = budget.threads >= 2 && std::thread::hardware_concurrency() >= 2 &&
                        budget.seconds >= kParallelSeconds;
  // Judges the moves of `list` that neither thread has claimed, in its order; with
  // `undecidedOnly`, only those the first round left undecided.
  auto judgeFrom = [&](Analyser& judge, const std::vector<size_t>& list, bool undecidedOnly) {
    for (const size_t i : list) {
      if (undecidedOnly && (isHanded[i] || analysis.moves[i].status != Status::Unknown)) continue;
      if (taken[i].exchange(1) != 0) continue;
      judge.Cap(judge.Deadline());
      analysis.moves[i] =
          JudgeMove(judge, problem, children[i].first, children[i].second, rootLine, tellSeki);
    }
  };
  auto handOver = [&](size_t from) {
    const double left =
        budget.seconds -
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (left < kParallelSeconds || analyser.Nodes() >= budget.nodes) return;
    handed.assign(order.begin() + static_cast<std::ptrdiff_t>(from),
                  order.begin() + static_cast<std::ptrdiff_t>(firstCount));
    for (const size_t i : handed) isHanded[i] = 1;
    const uint64_t spare = budget.nodes - std::min(budget.nodes, analyser.Nodes());
    analyser.Limit(analyser.Nodes() + spare - spare / 2);
    second = std::thread([&, own = Budget{spare / 2, left, 1}]() {
      try {
        Analyser judge(problem, own);
        judgeFrom(judge, handed, false);
        secondNodes = judge.Nodes();
      } catch (...) {
        secondFailure = std::current_exception();
      }
    });
  };
  const auto slice = (analyser.Deadline() - start) / (2 * static_cast<int64_t>(children.size()));
  for (size_t k = 0; k < order.size(); ++k) {
    const size_t i = order[k];
    if (isHanded[i]) continue;
    const bool mayHand = parallel && k < firstCount && !second.joinable();
    analyser.Cap(
        std::chrono::steady_clock::now() +
        (mayHand ? std::min<std::chrono::steady_clock::duration>(slice, kHandOverAfter) : slice));
    analysis.moves[i] =
        JudgeMove(analyser, problem, children[i].first, children[i].second, rootLine, tellSeki);
    if (mayHand && analysis.moves[i].status == Status::Unknown) handOver(k);
  }
  judgeFrom(analyser, order, true);
  if (second.joinable()) {
    judgeFrom(analyser, handed, false);
    second.join();
    if (secondFailure) std::rethrow_exception(secondFailure);
  }
  // The problem's status: the best verdict, if no undecided move could still beat it.
  const bool kill = problem.toMove == problem.attacker;
  auto rank = [kill](Status s) { return StatusRank(s, kill); };
  const MoveVerdict* best = nullptr;
  bool undecided = false;
  for (const MoveVerdict& m : analysis.moves) {
    if (m.status == Status::Unknown) undecided = true;
    if (!best || rank(m.status) > rank(best->status)) best = &m;
  }
  if (best && (best->status == Status::Works || !undecided)) {
    analysis.status = best->status;
    analysis.principalLine.push_back(best->move);
    analysis.principalLine.insert(analysis.principalLine.end(), best->line.begin(),
                                  best->line.end());
  }
  analysis.nodes = analyser.Nodes() + secondNodes;
  return analysis;
}

}  // namespace zendra::solver
