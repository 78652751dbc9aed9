// An exact solver for enclosed life-and-death problems.
//
// The problem is a local game inside a region of points: the attacker tries to capture the target
// stones, the defender tries to keep them. Moves are played only on the region's points (the
// stones around the region are taken as safe walls); either side may pass. The attacker wins as
// soon as a target stone is taken off; the defender wins as soon as every target stone belongs to
// a chain that is unconditionally alive by Benson's algorithm (D. Benson, "Life in the game of
// Go", Information Sciences 10, 1976). Two passes in a row end the game; what they mean is a rule
// of the search (see SearchRules): the target survived (life or seki), or, in the strict rules,
// the defender failed to make unconditional life.
//
// Ko is modelled the way life-and-death programs since Wolf's GoTools have done it: one side is
// the "ko master" with unlimited ko threats, so it may retake a ko at once; the other side obeys
// the simple ko ban. A position that repeats on the current line of play counts as a win for the
// ko master (the game would go on for ever). A result for the other side therefore holds whatever
// happens in kos, and comparing the two ko masters tells an unconditional result from one that
// needs a won ko.
//
// The search is depth-first proof-number search (df-pn, A. Nagai, "Df-pn algorithm for searching
// AND/OR trees and its applications", PhD thesis, University of Tokyo, 2002) with a transposition
// table on Zobrist keys, as in Kishimoto & Müller, "Search versus knowledge for solving
// life and death problems in Go", AAAI 2005. The graph-history interaction (Kishimoto & Müller,
// "A general solution to the graph history interaction problem", AAAI 2004) is handled
// conservatively rather than with their full scheme: a proven result that relied on repeating a
// position above it on the current line is never stored in the table, only used by its parent;
// results proven without a repetition, or with repetitions only of the position itself and
// positions below it (which any line reaching it repeats the same way), are stored.
//
// For speed, and without giving up exactness: first proof numbers from the target's liberties
// (Nagai's df-pn+), the 1+epsilon trick for child thresholds (Pawlewicz & Lew, Computers and
// Games 2006), Benson's test worked out from the target chain outward, and eye-shape knowledge
// of enclosed eye spaces of up to six points in the killing (nakade) shapes, which die without
// search; and the game's own ends one move early: a target in atari with the attacker to move
// is taken, and after a pass the side that two passes favour passes too (solver.cpp says what
// each proves). The two searches that differ only in the ko master lend each other the proofs
// that need no ko (no ko ban pending anywhere in the proof, no repetition in it): the rules
// differ nowhere else, so such a proof holds in both.
//
// Beyond the node or time budget the answer is Status::Unknown, never a guess.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zendra::solver {

enum class Stone : uint8_t { Empty = 0, Black = 1, White = 2, Border = 3 };

inline Stone Opponent(Stone colour) { return colour == Stone::Black ? Stone::White : Stone::Black; }

// Index of a point on the padded grid of a Board; kPass is a pass, kNoPoint no point at all.
using Point = int;
inline constexpr Point kPass = -1;
inline constexpr Point kNoPoint = -2;

// A compact Go board of up to 19 x 19 points inside a frame of border cells, so that neighbour
// loops need no bounds checks. Keeps a Zobrist key of its stones.
class Board {
 public:
  static constexpr int kMaxSide = 19;
  // Cells of the largest board with its frame.
  static constexpr int kMaxCells = (kMaxSide + 2) * (kMaxSide + 2);

  // An empty board; sides outside 1..kMaxSide are clamped into that range.
  Board(int width, int height);

  // Parses rows of 'X' (black), 'O' (white) and '.' or '+' (empty), one row per line; blank lines
  // and spaces are skipped. Returns nothing when rows differ in length, a character is unknown or
  // the board is larger than kMaxSide.
  static std::optional<Board> FromDiagram(std::string_view diagram);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Point At(int column, int row) const { return (row + 1) * Stride() + column + 1; }
  int Column(Point p) const { return p % Stride() - 1; }
  int Row(Point p) const { return p / Stride() - 1; }
  Stone Get(Point p) const { return static_cast<Stone>(cells_[static_cast<size_t>(p)]); }
  // Puts or removes a stone without any rule (set-up).
  void Set(Point p, Stone colour);
  uint64_t Key() const { return key_; }
  int Cells() const { return (width_ + 2) * (height_ + 2); }
  int Stride() const { return width_ + 2; }
  // The four neighbours of p (border cells included).
  std::array<Point, 4> Neighbours(Point p) const {
    return {p - 1, p + 1, p - Stride(), p + Stride()};
  }

  // Plays colour at the empty point p under Go rules (captures, no suicide). Returns false and
  // leaves the board unchanged when p is not empty or the move would be suicide. On success
  // *koBan is the point the opponent may not retake at once (kNoPoint when none).
  bool Play(Point p, Stone colour, Point* koBan);

  // The stones of the chain through p and its liberty count.
  std::vector<Point> Chain(Point p) const;
  int Liberties(Point p) const;
  // The liberties of the chain through p, counted no further than `limit` (a cheap "in atari?"
  // or "at least two?"); 0 for an empty point.
  int LibertiesUpTo(Point p, int limit) const;

  // The board as rows of 'X', 'O' and '.'.
  std::string ToDiagram() const;

  // The move name used in lines and reports: column letter from 'A' and row from 1 at the top.
  std::string Name(Point p) const;

 private:
  // Takes the chain through p off the board; returns the number of stones taken.
  int RemoveChain(Point p);

  int width_;
  int height_;
  // A fixed array rather than a heap buffer: the search copies a board for every position it
  // looks at, and a copy without an allocation is what makes that cheap.
  std::array<uint8_t, kMaxCells> cells_{};
  uint64_t key_ = 0;
};

// Chains of `colour` that are unconditionally alive by Benson's algorithm: for every point of the
// board true when it holds such a chain's stone.
std::vector<bool> BensonAlive(const Board& board, Stone colour);

// Whether the chain through p is unconditionally alive: BensonAlive's answer for that chain
// (false for a point without a stone), found from the chain outward through the regions vital
// to it instead of over the whole board. Assumes a legal position (every chain has a liberty).
bool ChainBensonAlive(const Board& board, Point p);

struct Problem {
  Board board{1, 1};
  std::vector<Point> region;  // the points moves may be played on
  std::vector<Point>
      targets;  // stones of the defender; taking any of them decides for the attacker
  Stone attacker = Stone::Black;
  Stone toMove = Stone::Black;
};

// The region found from the target: every point reachable from the target stones through empty
// points and stones other than `walls` (the attacker's safe stones are usually the walls).
std::vector<Point> RegionAround(const Board& board, const std::vector<Point>& targets,
                                const std::vector<Point>& walls);

struct Budget {
  uint64_t nodes = 2'000'000;  // searched positions over all searches of one call
  double seconds = 1.0;        // wall-clock time over all searches of one call
  int threads = 2;             // the most threads one call may use (see Analyse)
};

// The rules of one search game.
struct SearchRules {
  Stone koMaster = Stone::Black;  // may retake a ko at once; repetitions count for it
  bool strict = false;            // two passes: false = the target survived; true = attacker wins
};

enum class Winner { Attacker, Defender, Unknown };

// The verdict of the side to move, with the goal that side has (kill for the attacker, life for
// the defender).
enum class Status {
  Works,      // unconditionally: whoever wins kos
  WorksByKo,  // only if the side to move wins a ko
  Seki,       // the target lives in seki, not independently (for a kill: only with tellSeki)
  Fails,      // even if the side to move wins every ko
  Unknown     // beyond the budget
};

const char* StatusName(Status status);

// Verdicts from worse to better for the side with the goal (Unknown lowest). For life a seki is
// life that needs no ko, so it ranks above a won ko; for a kill a won ko kills and ranks above
// a seki.
int StatusRank(Status status, bool kill);

struct MoveVerdict {
  Point move = kPass;
  Status status = Status::Unknown;
  // For a move that works: the line after it; for one that fails: the refutation, starting with
  // the opponent's answer.
  std::vector<Point> line;
};

struct Analysis {
  Status status = Status::Unknown;   // the best verdict over the moves of the side to move
  std::vector<Point> principalLine;  // a best first move and the line after it
  std::vector<MoveVerdict> moves;    // every legal first move (pass included)
  uint64_t nodes = 0;
};

// Solves one search game from the problem's position. Sets *nodes to the positions searched.
Winner SolveGame(const Problem& problem, SearchRules rules, Budget budget,
                 uint64_t* nodes = nullptr);

// Judges every first move of the side to move and the problem as a whole. A status holds only
// under the search's model: moves inside the region, walls safe, ko threats unlimited for one side.
// `first`: moves whose judgement matters most to the caller; once every move has had an equal
// part of half the budget, these go on before the others, in the order given. With two threads
// allowed (and cores for them), a `first` move still undecided after a few milliseconds is
// judged on a second thread, with the `first` moves after it, each with all the time left,
// while the calling thread judges the others: the verdicts are the same, only sooner.
// `tellSeki`: for a kill, tell a move after which the target can live only in seki
// (Status::Seki) from one after which it lives outright (Status::Fails), at the cost of a search
// under the strict rules for every move that fails to kill. For a kill a ko ranks above a seki.
Analysis Analyse(const Problem& problem, Budget budget, const std::vector<Point>& first = {},
                 bool tellSeki = false);

}  // namespace zendra::solver
