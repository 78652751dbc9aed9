#include "board/engine/lattix_engine.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "board/engine/chess_kinds.h"

namespace zendra {

namespace {

LattixView& SilentView() {
  static LattixView view;
  return view;
}

// Handicap points in placement order; the centre (10, 10) is the ninth.
constexpr int kHandicapPoints[9][2] = {{4, 4},  {16, 16}, {4, 16}, {16, 4}, {4, 10},
                                       {16, 10}, {10, 4},  {10, 16}, {10, 10}};

struct KindGeometry {
  int columns;
  int rows;
};
constexpr KindGeometry kKindGeometry[5] = {{19, 19}, {9, 10}, {8, 8}, {15, 15}, {5, 12}};

// Neighbour offsets in the grid's index space (index = p * 21 + q), in the fixed order the
// labelling rule uses: (P, Q - 1), (P, Q + 1), (P - 1, Q), (P + 1, Q).
constexpr int kNeighbour[4] = {-1, +1, -kGridSize, +kGridSize};
// The same four neighbours as (p, q) steps.
constexpr int kNeighbourStep[4][2] = {{0, -1}, {0, +1}, {-1, 0}, {+1, 0}};

}  // namespace

LattixEngine::LattixEngine() : view_(&SilentView()) {
  RecordClock = [] {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
  };
  SetGeometryForKind(kGo);
  FileName_ = DefaultFileName(kGo);
  PlaceHandicap(false);
  NewGame(false);
}

void LattixEngine::SetView(LattixView* view) { view_ = view ? view : &SilentView(); }

std::string LattixEngine::DefaultFileName(int gameKind) {
  static const char* const kNames[5] = {"NewGame.lgo", "NewGame.lxq", "NewGame.lch",
                                        "NewGame.lwz", "NewGame.ljq"};
  return gameKind >= 0 && gameKind <= 4 ? kNames[gameKind] : std::string();
}

void LattixEngine::SetGeometryForKind(int16_t kind) {
  GameKind_ = kind;
  N_ = kKindGeometry[kind].columns;
  M_ = kKindGeometry[kind].rows;
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q) onBoard_[Idx(p, q)] = IsOnBoard(p, q) ? 1 : 0;
}

// ---- Queries ------------------------------------------------------------------------------------

bool LattixEngine::IsOnBoard(int P, int Q) const {
  if (GameKind_ == kGo || GameKind_ == kFiveInARow) return P >= 1 && P <= N_ && Q >= 1 && Q <= M_;
  return P >= 0 && P < N_ && Q >= 0 && Q < M_;
}

bool LattixEngine::IsPassPoint(int P, int Q) const {
  if (GameKind_ == kGo || GameKind_ == kFiveInARow) return P == kPassCoord && Q == kPassCoord;
  return P == 90;
}

bool LattixEngine::IsSelfSideToMove() const { return SameSide(state_.turn, SideColour(SelfSide_)); }

Colour LattixEngine::GetPoint(int P, int Q) const {
  return InGrid(P, Q) ? state_.cell[Idx(P, Q)] : 0;
}

void LattixEngine::SetPoint(int P, int Q, Colour v) {
  if (!InGrid(P, Q)) return;
  Colour& c = state_.cell[Idx(P, Q)];
  if (c == v) return;
  // Further bits on a stone leave the rules untouched; anything that adds, removes or recolours
  // a stone leaves the chain bookkeeping behind until the next check.
  const bool sameStone = c != 0 && v != 0 && SameSide(c, v) && (c & kStoneBit) == (v & kStoneBit);
  c = v;
  if (!sameStone) state_.clean = false;
}

int LattixEngine::Label(int P, int Q) const { return InGrid(P, Q) ? state_.label[Idx(P, Q)] : 0; }

// ---- New game and handicap ----------------------------------------------------------------------

void LattixEngine::NewGame(bool Draw) {
  Modified_ = false;
  if (!Review_) {
    Winner_ = kNoWinner;
    GameOver_ = false;
  }
  AreaB_ = AreaW_ = 0;
  sResult_.clear();
  state_.nextMove = 1;
  state_.lastColour = 0;
  state_.lastP = state_.lastQ = 0;
  state_.lastCaptures = 0;
  state_.cell.fill(0);
  state_.label.fill(0);
  state_.stoneNumber.fill(0);
  state_.markColor.fill(0);
  state_.process.clear();
  LayOutStartingTable();
  state_.turn = FirstToPlay_;
  PlaceHandicap(Draw);
  if (GameKind_ == kGo || GameKind_ == kFiveInARow) {
    ApplySetup(ArrangedSideP_, kBlack, Draw);
    ApplySetup(ArrangedSideN_, kWhite, Draw);
  }
  // The numbers are already gone with the marks above; the view repaints through DrawPoints
  // or, in a replay, through the changed-marks diff of GoToMove.
  NumProc_.clear();
  BaseNum_ = 1;
  SplitSharedLabels();
  Recheck();
}

void LattixEngine::PlaceHandicap(bool Draw) {
  if (GameKind_ == kGo && Handicap_ >= 2 && Handicap_ <= 9) {
    state_.turn = FirstToPlayByRule_ ? kWhite : FirstToPlay_;
    const bool odd = Handicap_ == 5 || Handicap_ == 7 || Handicap_ == 9;
    const int fromTable = odd ? Handicap_ - 1 : Handicap_;
    for (int k = 0; k < fromTable; ++k) {
      const int i = Idx(kHandicapPoints[k][0], kHandicapPoints[k][1]);
      state_.cell[i] = kBlack;
      state_.label[i] = static_cast<int16_t>(k + 1);
    }
    if (odd) {
      const int i = Idx(10, 10);
      state_.cell[i] = kBlack;
      state_.label[i] = Handicap_;
    }
    state_.clean = false;
  } else {
    state_.turn = FirstToPlay_;
  }
  if (Draw) view_->DrawPoints();
}

// ---- Moves --------------------------------------------------------------------------------------

bool LattixEngine::PlayMove(int P, int Q, bool Draw, bool /*Promote*/, int /*Piece*/) {
  if (GameKind_ == kGo) return PlayGoMove(P, Q, Draw);
  // The chess kinds refuse every move.
  const bool result = GameKind_ == kFiveInARow && PlayFiveMove(P, Q, Draw);
  Modified_ = result && Draw;
  return result;
}

int LattixEngine::CheckMove(int From, int To) {
  if (GameKind_ == kGo) return CheckGoMove(From, To);
  return GameKind_ == kFiveInARow ? CheckFiveMove(From, To) : chess::kRefusedMove;
}

bool LattixEngine::PlayGoMove(int P, int Q, bool Draw) {
  bool result = false;
  if (GameKind_ != kGo || state_.nextMove > kMaxMoves) {
    result = false;  // the Go rules hold only for Go; the move counter is full
  } else if (IsPassPoint(P, Q)) {
    PlacePass(Draw);
    result = true;
  } else if (IsOnBoard(P, Q) && (state_.cell[Idx(P, Q)] & kStoneBit) == 0) {
    const bool fast = state_.clean && !referenceRules_ && (state_.turn & kStoneBit) != 0 &&
                      state_.cell[Idx(P, Q)] == 0;
    result = fast ? PlayStoneFast(P, Q, Draw) : PlayStoneReference(P, Q, Draw);
  }
  Modified_ = result && Draw;
  return result;
}

void LattixEngine::PlacePass(bool Draw) {
  if (Draw && (IsOnBoard(state_.lastP, state_.lastQ) || IsPassPoint(state_.lastP, state_.lastQ)))
    view_->DrawStone(state_.lastP, state_.lastQ);
  const std::size_t at =
      std::min<std::size_t>(2u * static_cast<unsigned>(state_.nextMove - 1), state_.process.size());
  state_.process.insert(at, kPassLetters);
  ++state_.nextMove;
  state_.lastColour = state_.turn;
  state_.lastP = state_.lastQ = kPassCoord;
  state_.lastCaptures = 0;
  state_.turn = Opponent(state_.turn);
  if (Draw) {
    view_->DrawStone(kPassCoord, kPassCoord);
    view_->DrawLastMoveMark(kPassCoord, kPassCoord);
    view_->DrawTurnArrow();
  }
}

// The part of a legal stone move that both paths share once captures have been taken off:
// the old last-move mark goes, the letters enter `Process`, the last-move state is updated.
// Called before the captured stones are removed so the redraws come in protocol order.
void LattixEngine::RecordMove(int P, int Q, int captures, bool Draw) {
  if (Draw) {
    if (IsOnBoard(state_.lastP, state_.lastQ))
      view_->DrawStone(state_.lastP, state_.lastQ);
    else if (IsPassPoint(state_.lastP, state_.lastQ))
      view_->DrawEmptyPoint(kPassCoord, kPassCoord);
  }
  const std::size_t at =
      std::min<std::size_t>(2u * static_cast<unsigned>(state_.nextMove - 1), state_.process.size());
  const char letters[2] = {CoordToLetter(P), CoordToLetter(Q)};
  state_.process.insert(at, letters, 2);
  ++state_.nextMove;
  state_.lastColour = state_.turn;
  state_.lastP = static_cast<int16_t>(P);
  state_.lastQ = static_cast<int16_t>(Q);
  state_.lastCaptures = static_cast<int16_t>(captures);
}

// Reference rules, step by step over the whole board.
bool LattixEngine::PlayStoneReference(int P, int Q, bool Draw) {
  const int idx = Idx(P, Q);
  const Colour turn = state_.turn;
  // 1. Try the stone.
  state_.cell[idx] = turn;
  const std::array<int16_t, kCells> savedLabels = state_.label;
  AssignLabelReference(turn, P, Q);
  // 2. Count liberties per label. The border reads as occupied during the count so the edge
  //    is never a liberty; the count only needs to tell zero from non-zero.
  std::array<int, kCells> liberties{};
  auto isLiberty = [&](int n) { return onBoard_[n] && state_.cell[n] == 0; };
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (state_.cell[i] == 0) continue;
      for (int d : kNeighbour)
        if (isLiberty(i + d)) ++liberties[state_.label[i]];
    }
  // The border holds no stone: whatever a caller stored there is gone after the count.
  for (int k = 0; k < kGridSize; ++k)
    for (int i : {Idx(0, k), Idx(kGridSize - 1, k), Idx(k, 0), Idx(k, kGridSize - 1)})
      if (!onBoard_[i]) state_.cell[i] = 0;
  // 3. Opponent stones left without liberties, in scan order (columns outer, rows inner).
  const Colour enemy = Opponent(turn);
  int n = 0;
  int lastCaptured = -1;
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (SameSide(state_.cell[i], enemy) && liberties[state_.label[i]] == 0) {
        ++n;
        lastCaptured = i;
      }
    }
  // 4. Decide: suicide, simple ko, or legal.
  const bool suicide = n == 0 && liberties[state_.label[idx]] == 0;
  const bool ko = n == 1 && state_.lastCaptures == 1 &&
                  lastCaptured == Idx(state_.lastP, state_.lastQ) &&
                  InGrid(state_.lastP, state_.lastQ);
  if (suicide || ko) {
    state_.cell[idx] = 0;
    state_.label = savedLabels;
    return false;
  }
  // 5. Legal: record it, take the captured stones off, draw the new stone.
  RecordMove(P, Q, n, Draw);
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (SameSide(state_.cell[i], enemy) && liberties[state_.label[i]] == 0) {
        state_.cell[i] = 0;
        state_.label[i] = 0;
        if (Draw) view_->DrawEmptyPoint(p, q);
      }
    }
  if (Draw) {
    view_->DrawStone(P, Q);
    view_->DrawLastMoveMark(P, Q);
  }
  state_.turn = Opponent(turn);
  if (Draw) view_->DrawTurnArrow();
  // Set-up positions may have held chains without liberties; see whether this move left the
  // board in a shape the fast path can take over.
  Recheck();
  return true;
}

bool LattixEngine::ChainHasLibertyExcept(int label, int except) const {
  const int head = state_.labelHead[label];
  int s = head;
  do {
    for (int d : kNeighbour) {
      const int n = s + d;
      if (n != except && state_.cell[n] == 0 && onBoard_[n]) return true;
    }
    s = state_.nextInChain[s];
  } while (s != head);
  return false;
}

LattixEngine::FastVerdict LattixEngine::JudgeFast(int idx) const {
  FastVerdict v;
  const Colour turn = state_.turn;
  bool ownLiberty = false;
  int seen[4] = {0, 0, 0, 0};
  int seenCount = 0;
  for (int d : kNeighbour) {
    const int n = idx + d;
    const Colour c = state_.cell[n];
    if (c == 0) {
      if (onBoard_[n]) ownLiberty = true;
      continue;
    }
    const int label = state_.label[n];
    if (std::find(seen, seen + seenCount, label) != seen + seenCount) continue;
    seen[seenCount++] = label;
    const bool hasLiberty = ChainHasLibertyExcept(label, idx);
    if (SameSide(c, turn)) {
      ownLiberty = ownLiberty || hasLiberty;
    } else if (!hasLiberty) {
      v.capturedLabels[v.capturedCount++] = label;
      v.captures += state_.labelSize[label];
      // The captured stone found last in a column-major scan is the one with the largest index.
      int s = state_.labelHead[label];
      const int head = s;
      do {
        v.lastCaptured = std::max(v.lastCaptured, s);
        s = state_.nextInChain[s];
      } while (s != head);
    }
  }
  const bool suicide = v.captures == 0 && !ownLiberty;
  const bool ko = v.captures == 1 && state_.lastCaptures == 1 &&
                  InGrid(state_.lastP, state_.lastQ) &&
                  v.lastCaptured == Idx(state_.lastP, state_.lastQ);
  v.legal = !suicide && !ko;
  return v;
}

bool LattixEngine::PlayStoneFast(int P, int Q, bool Draw) {
  const int idx = Idx(P, Q);
  const FastVerdict v = JudgeFast(idx);
  if (!v.legal) return false;
  const Colour turn = state_.turn;
  state_.cell[idx] = turn;
  AssignLabelFast(turn, idx);
  RecordMove(P, Q, v.captures, Draw);
  if (!Draw) {
    for (int k = 0; k < v.capturedCount; ++k) RemoveChainFast(v.capturedLabels[k], false);
  } else {
    // Captured stones are redrawn in scan order, as the whole-board removal does.
    int removed[kMaxLabel];
    int count = 0;
    for (int k = 0; k < v.capturedCount; ++k) {
      const int head = state_.labelHead[v.capturedLabels[k]];
      int s = head;
      do {
        removed[count++] = s;
        s = state_.nextInChain[s];
      } while (s != head);
    }
    for (int k = 0; k < v.capturedCount; ++k) RemoveChainFast(v.capturedLabels[k], false);
    std::sort(removed, removed + count);
    for (int k = 0; k < count; ++k)
      view_->DrawEmptyPoint(removed[k] / kGridSize, removed[k] % kGridSize);
    view_->DrawStone(P, Q);
    view_->DrawLastMoveMark(P, Q);
  }
  state_.turn = Opponent(turn);
  if (Draw) view_->DrawTurnArrow();
  return true;
}

int LattixEngine::CheckGoMove(int P, int Q) {
  if (GameKind_ != kGo || !IsOnBoard(P, Q) || state_.cell[Idx(P, Q)] != 0) return -1;
  const bool fast = state_.clean && !referenceRules_ && (state_.turn & kStoneBit) != 0;
  return fast ? CheckStoneFast(P, Q) : CheckStoneReference(P, Q);
}

int LattixEngine::CheckStoneFast(int P, int Q) {
  const FastVerdict v = JudgeFast(Idx(P, Q));
  return v.legal ? v.captures : -1;
}

int LattixEngine::CheckStoneReference(int P, int Q) {
  // Play the stone silently on the real state, then put the copy of the old one back.
  const MoveState saved = state_;
  LattixView* view = std::exchange(view_, &SilentView());
  const bool legal = PlayStoneReference(P, Q, false);
  const int captures = state_.lastCaptures;
  view_ = view;
  state_ = saved;
  return legal ? captures : -1;
}

// ---- Labels -------------------------------------------------------------------------------------

void LattixEngine::AssignLabel(Colour x, int P, int Q) {
  if (!InGrid(P, Q) || P == 0 || Q == 0 || P == kGridSize - 1 || Q == kGridSize - 1) return;
  AssignLabelReference(x, P, Q);
  Recheck();
}

void LattixEngine::AssignLabelReference(Colour x, int P, int Q) {
  const int idx = Idx(P, Q);
  // The neighbours in the labelling order. In Go and five-in-a-row the border keeps all four
  // inside the grid; the chess kinds count from 0, so a stone put on their first row or column
  // (through the set-up strings or PlayGoMove) lacks some, and a missing one holds no stone.
  int around[4];
  for (int k = 0; k < 4; ++k) {
    const int p = P + kNeighbourStep[k][0], q = Q + kNeighbourStep[k][1];
    around[k] = InGrid(p, q) ? Idx(p, q) : -1;
  }
  auto ownStone = [&](int n) { return n >= 0 && SameSide(state_.cell[n], x); };
  int found = -1;
  for (int n : around)
    if (ownStone(n)) {
      found = n;
      break;
    }
  if (found < 0) {
    // The smallest label no cell of the playing area holds; 1 when every value is taken.
    std::array<bool, kCells + 1> held{};
    for (int p = 1; p <= N_; ++p)
      for (int q = 1; q <= M_; ++q) {
        const int l = state_.label[Idx(p, q)];
        if (l >= 0 && l <= kCells) held[l] = true;
      }
    int L = 1;
    while (L <= N_ * M_ && held[L]) ++L;
    state_.label[idx] = static_cast<int16_t>(L <= N_ * M_ ? L : 1);
    return;
  }
  const int16_t mine = state_.label[found];
  state_.label[idx] = mine;
  for (int n : around) {
    if (!ownStone(n) || state_.label[n] == mine) continue;
    const int16_t other = state_.label[n];
    for (int p = 1; p <= N_; ++p)
      for (int q = 1; q <= M_; ++q)
        if (state_.label[Idx(p, q)] == other) state_.label[Idx(p, q)] = mine;
  }
}

int LattixEngine::SmallestFreeLabelFast() const {
  for (int L = 1; L <= N_ * M_; ++L)
    if (state_.labelSize[L] == 0) return L;
  return 1;
}

void LattixEngine::AssignLabelFast(Colour x, int idx) {
  int found = -1;
  for (int d : kNeighbour)
    if (SameSide(state_.cell[idx + d], x)) {
      found = idx + d;
      break;
    }
  if (found < 0) {
    const int L = SmallestFreeLabelFast();
    state_.label[idx] = static_cast<int16_t>(L);
    state_.labelHead[L] = static_cast<int16_t>(idx);
    state_.labelSize[L] = 1;
    state_.nextInChain[idx] = static_cast<int16_t>(idx);
    return;
  }
  const int16_t mine = state_.label[found];
  state_.label[idx] = mine;
  // Splice the new stone into its chain's ring.
  state_.nextInChain[idx] = state_.nextInChain[found];
  state_.nextInChain[found] = static_cast<int16_t>(idx);
  ++state_.labelSize[mine];
  for (int d : kNeighbour) {
    const int n = idx + d;
    if (!SameSide(state_.cell[n], x) || state_.label[n] == mine) continue;
    const int16_t other = state_.label[n];
    // Relabel the joined chain and splice its ring into ours.
    int s = state_.labelHead[other];
    const int head = s;
    do {
      state_.label[s] = mine;
      s = state_.nextInChain[s];
    } while (s != head);
    std::swap(state_.nextInChain[idx], state_.nextInChain[head]);
    state_.labelSize[mine] = static_cast<int16_t>(state_.labelSize[mine] + state_.labelSize[other]);
    state_.labelSize[other] = 0;
  }
}

void LattixEngine::RemoveChainFast(int label, bool Draw) {
  int s = state_.labelHead[label];
  const int head = s;
  do {
    const int next = state_.nextInChain[s];
    state_.cell[s] = 0;
    state_.label[s] = 0;
    if (Draw) view_->DrawEmptyPoint(s / kGridSize, s % kGridSize);
    s = next;
  } while (s != head);
  state_.labelSize[label] = 0;
}

void LattixEngine::ClearLabelBookkeeping() {
  state_.labelSize.fill(0);
  state_.labelHead.fill(-1);
}

void LattixEngine::SplitSharedLabels() {
  if (GameKind_ != kGo && GameKind_ != kFiveInARow) return;
  // Set-up stones overwrite whatever stands on their points and taking them away does not
  // split the chain they joined, so one label can end up on several chains. Liberties are
  // counted per label, so such a chain would live on its twin's liberties: give every chain
  // after the first that holds a label (in scan order) the smallest label nobody holds.
  std::array<uint8_t, kMaxLabel + 1> claimed{};
  std::array<uint8_t, kMaxLabel + 1> held{};
  for (int i = 0; i < kCells; ++i)
    if (state_.label[i] > 0 && state_.label[i] <= kMaxLabel) held[state_.label[i]] = 1;
  std::array<uint8_t, kCells> visited{};
  std::array<int16_t, kCells> chain{};
  for (int i = 0; i < kCells; ++i) {
    if (state_.cell[i] == 0 || visited[i] || !onBoard_[i]) continue;
    // Collect the chain through i.
    int size = 0;
    chain[size++] = static_cast<int16_t>(i);
    visited[i] = 1;
    for (int k = 0; k < size; ++k)
      for (int d : kNeighbour) {
        const int n = chain[k] + d;
        if (n < 0 || n >= kCells || visited[n] || !onBoard_[n] ||
            !SameSide(state_.cell[n], state_.cell[i]))
          continue;
        visited[n] = 1;
        chain[size++] = static_cast<int16_t>(n);
      }
    int label = state_.label[i];
    if (label <= 0 || label > N_ * M_ || claimed[label]) {
      label = 1;
      while (label <= N_ * M_ && (held[label] || claimed[label])) ++label;
      if (label > N_ * M_) continue;  // no free label: leave it (cannot happen on a real board)
      held[label] = 1;
    }
    claimed[label] = 1;
    for (int k = 0; k < size; ++k) state_.label[chain[k]] = static_cast<int16_t>(label);
  }
}

void LattixEngine::Recheck() {
  state_.clean = false;
  if (GameKind_ != kGo) return;
  ClearLabelBookkeeping();
  // Every non-empty cell must be a stone on the playing area with a label in range; the border
  // and everything outside the playing area must be empty and unlabelled.
  for (int i = 0; i < kCells; ++i) {
    const Colour c = state_.cell[i];
    const int l = state_.label[i];
    if (c == 0) {
      if (l != 0) return;
      continue;
    }
    if (!onBoard_[i] || (c & kStoneBit) == 0 || l < 1 || l > N_ * M_) return;
  }
  // Each label must be exactly one connected chain of one colour, with a liberty.
  std::array<uint8_t, kCells> visited{};
  std::array<int16_t, kCells> stack{};
  for (int i = 0; i < kCells; ++i) {
    if (state_.cell[i] == 0 || visited[i]) continue;
    const int l = state_.label[i];
    if (state_.labelSize[l] != 0) return;  // a second chain with the same label
    int top = 0;
    stack[top++] = static_cast<int16_t>(i);
    visited[i] = 1;
    bool liberty = false;
    int prev = i;
    int size = 0;
    state_.labelHead[l] = static_cast<int16_t>(i);
    while (top > 0) {
      const int s = stack[--top];
      ++size;
      if (s != i) {
        state_.nextInChain[prev] = static_cast<int16_t>(s);
        prev = s;
      }
      for (int d : kNeighbour) {
        const int n = s + d;
        const Colour c = state_.cell[n];
        if (c == 0) {
          if (onBoard_[n]) liberty = true;
        } else if (SameSide(c, state_.cell[i])) {
          if (state_.label[n] != l) return;  // one chain, two labels
          if (!visited[n]) {
            visited[n] = 1;
            stack[top++] = static_cast<int16_t>(n);
          }
        } else if (state_.label[n] == l) {
          return;  // the label is shared with the other colour
        }
      }
    }
    state_.nextInChain[prev] = static_cast<int16_t>(i);
    state_.labelSize[l] = static_cast<int16_t>(size);
    if (!liberty) return;
  }
  state_.clean = true;
}

// ---- Take back and replay -----------------------------------------------------------------------

void LattixEngine::GoToMove(int N, bool FromGiven) {
  const MoveState old = state_;
  const int8_t oldWinner = Winner_;
  const std::string& source = FromGiven ? GivenProcess_ : old.process;
  NewGame(false);
  const int moves = static_cast<int>(source.size() / 2);
  if (N >= 1 && N <= moves) {
    replaying_ = true;
    for (int i = 0; i < N; ++i)
      PlayMove(LetterToCoord(source[2 * i]), LetterToCoord(source[2 * i + 1]), false);
    replaying_ = false;
  }
  if (Winner_ != oldWinner) view_->DrawInfoLine(InfoLine::Result);
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (state_.cell[i] != old.cell[i] || state_.stoneNumber[i] != old.stoneNumber[i] ||
          state_.markColor[i] != old.markColor[i]) {
        if (state_.cell[i] != 0)
          view_->DrawStone(p, q);
        else
          view_->DrawEmptyPoint(p, q);
      }
    }
  if (IsOnBoard(old.lastP, old.lastQ) && state_.cell[Idx(old.lastP, old.lastQ)] != 0)
    view_->DrawStone(old.lastP, old.lastQ);
  if (IsOnBoard(state_.lastP, state_.lastQ) && state_.cell[Idx(state_.lastP, state_.lastQ)] != 0) {
    view_->DrawStone(state_.lastP, state_.lastQ);
    view_->DrawLastMoveMark(state_.lastP, state_.lastQ);
  }
}

void LattixEngine::TakeBack() {
  GoToMove(TakeBackTarget(), false);
  view_->DrawTurnArrow();
}

// ---- Display marks ------------------------------------------------------------------------------

int32_t LattixEngine::StoneNumber(int p, int q) const {
  return InGrid(p, q) ? state_.stoneNumber[Idx(p, q)] : 0;
}

uint32_t LattixEngine::MarkColor(int p, int q) const {
  return InGrid(p, q) ? state_.markColor[Idx(p, q)] : 0;
}

void LattixEngine::RedrawPoint(int p, int q) {
  if (!IsOnBoard(p, q)) return;
  if (state_.cell[Idx(p, q)] != 0)
    view_->DrawStone(p, q);
  else
    view_->DrawEmptyPoint(p, q);
}

void LattixEngine::SetStoneNumber(int p, int q, int32_t n) {
  if (!InGrid(p, q) || state_.stoneNumber[Idx(p, q)] == n) return;
  state_.stoneNumber[Idx(p, q)] = n;
  RedrawPoint(p, q);
}

void LattixEngine::SetMarkColor(int p, int q, uint32_t colour) {
  if (!InGrid(p, q) || state_.markColor[Idx(p, q)] == colour) return;
  state_.markColor[Idx(p, q)] = colour;
  RedrawPoint(p, q);
}

void LattixEngine::NumberStones(std::string_view points, int32_t base) {
  for (std::size_t i = 0; i < PointCount(points); ++i) {
    const int p = LetterToCoord(points[2 * i]), q = LetterToCoord(points[2 * i + 1]);
    if (IsOnBoard(p, q)) SetStoneNumber(p, q, base + static_cast<int32_t>(i));
  }
}

void LattixEngine::MarkPoints(std::string_view points, uint32_t colour) {
  for (std::size_t i = 0; i < PointCount(points); ++i) {
    const int p = LetterToCoord(points[2 * i]), q = LetterToCoord(points[2 * i + 1]);
    if (IsOnBoard(p, q)) SetMarkColor(p, q, colour);
  }
}

void LattixEngine::ClearMarks() {
  for (int p = 0; p < kGridSize; ++p)
    for (int q = 0; q < kGridSize; ++q)
      if (state_.markColor[Idx(p, q)] != 0) SetMarkColor(p, q, 0);
}

// ---- Set-up strings and move lists --------------------------------------------------------------

void LattixEngine::RemoveSetup(const std::string& list) {
  if (!IsNonEmptyPointList(list)) return;
  for (std::size_t i = 0; i < PointCount(list); ++i) {
    const int p = LetterToCoord(list[2 * i]), q = LetterToCoord(list[2 * i + 1]);
    if (!IsOnBoard(p, q)) continue;
    state_.cell[Idx(p, q)] = 0;
    state_.label[Idx(p, q)] = 0;
  }
}

void LattixEngine::ApplySetup(const std::string& list, Colour side, bool Draw) {
  if (IsNonEmptyPointList(list)) {
    for (std::size_t i = 0; i < PointCount(list); ++i) {
      const int p = LetterToCoord(list[2 * i]), q = LetterToCoord(list[2 * i + 1]);
      if (!IsOnBoard(p, q)) continue;
      state_.cell[Idx(p, q)] = side;
      AssignLabelReference(side, p, q);
    }
    state_.clean = false;
  }
  if (Draw) view_->DrawPoints();
}

void LattixEngine::SetArranged(std::string& field, const std::string& S, Colour side) {
  RemoveSetup(field);
  field = S;
  ApplySetup(S, side, true);
  SplitSharedLabels();
  Recheck();
}

void LattixEngine::SetArrangedSideP(const std::string& S) { SetArranged(ArrangedSideP_, S, kBlack); }
void LattixEngine::SetArrangedSideN(const std::string& S) { SetArranged(ArrangedSideN_, S, kWhite); }

void LattixEngine::SetInitialProc(const std::string& S) {
  if (S == InitialProc_) return;
  InitialProc_ = S;
  const std::size_t space = S.find(' ');
  const std::string black = space == std::string::npos ? S : S.substr(0, space);
  const std::string white = space == std::string::npos ? std::string() : S.substr(space + 1);
  SetArrangedSideP(black);
  SetArrangedSideN(white);
}

void LattixEngine::SetProcess(const std::string& S) {
  if (S == state_.process) return;
  if (S.size() % 2 != 0) return;
  if (!state_.process.empty() && S.size() == state_.process.size() + 2 &&
      S.compare(0, state_.process.size(), state_.process) == 0) {
    const int P = LetterToCoord(S[S.size() - 2]), Q = LetterToCoord(S[S.size() - 1]);
    if (IsOnBoard(P, Q) || IsPassPoint(P, Q)) PlayMove(P, Q, true);
    return;
  }
  state_.process = S;
  GoToMove(static_cast<int>(S.size() / 2), false);
}

bool LattixEngine::ArrangeStone(int p, int q, Colour colour) {
  if (!IsOnBoard(p, q) || state_.cell[Idx(p, q)] != 0) return false;
  (colour > 0 ? ArrangedSideP_ : ArrangedSideN_) += PointLetters(p, q);
  state_.cell[Idx(p, q)] = colour;
  AssignLabel(colour, p, q);
  view_->DrawStone(p, q);
  return true;
}

void LattixEngine::AppendNumberedMove(int p, int q) {
  NumProc_ += PointLetters(p, q);
  if (!IsOnBoard(p, q)) return;
  state_.stoneNumber[Idx(p, q)] = static_cast<int32_t>(NumProc_.size() / 2);
  RedrawPoint(p, q);
}

void LattixEngine::ClearNumbering(std::size_t keep) {
  for (std::size_t i = PointCount(NumProc_); i > keep; --i) {
    const int p = LetterToCoord(NumProc_[2 * i - 2]), q = LetterToCoord(NumProc_[2 * i - 1]);
    if (!IsOnBoard(p, q)) continue;
    state_.stoneNumber[Idx(p, q)] = 0;
    RedrawPoint(p, q);
  }
  NumProc_.resize(std::min(NumProc_.size(), 2 * keep));
}

// Plays the moves of S from position `from` (0-based) on, numbering each legal one with its
// 1-based position in S.
void LattixEngine::PlayNumbered(const std::string& S, std::size_t from, bool Draw) {
  for (std::size_t i = from; i < PointCount(S); ++i) {
    const int p = LetterToCoord(S[2 * i]), q = LetterToCoord(S[2 * i + 1]);
    if (PlayMove(p, q, Draw) && IsOnBoard(p, q))
      SetStoneNumber(p, q, static_cast<int32_t>(i + 1));
  }
}

void LattixEngine::SetNumProc(const std::string& S) {
  if (S == NumProc_) return;
  if (S.empty()) {
    ClearNumbering(0);
    NumProc_.clear();
    return;
  }
  const std::string old = NumProc_;
  if (!old.empty() && old.compare(0, S.size(), S) == 0 && S.size() < old.size()) {
    // Shortened: back to the start of the numbering, then the kept moves again. The replay
    // resets the numbering base; it is put back so that a later change still starts there.
    const int16_t base = BaseNum_;
    GoToMove(base - 1, false);
    BaseNum_ = base;
    PlayNumbered(S, 0, true);
  } else if (!old.empty() && S.size() > old.size() && S.compare(0, old.size(), old) == 0) {
    PlayNumbered(S, PointCount(old), true);
  } else {
    if (!old.empty()) ClearNumbering(0);
    const int base = BaseNum_;
    const int before = base - 1;
    if (PointCount(S) >= 1 && static_cast<int>(PointCount(state_.process)) >= before) {
      if (static_cast<int>(PointCount(state_.process)) > before) {
        // Cut the game back to move `BaseNum` - 1 by replay, so `Process` and the position
        // stay in step; the replay resets the numbering base, which is put back.
        GoToMove(before, false);
        BaseNum_ = static_cast<int16_t>(base);
      }
      PlayNumbered(S, 0, false);
    }
  }
  NumProc_ = S;
}

// ---- Properties with effects --------------------------------------------------------------------

void LattixEngine::SetGameKind(int16_t v) {
  if (v < 0 || v > 4 || v == GameKind_) return;
  SetGeometryForKind(v);
  FileName_ = DefaultFileName(v);
  state_.cell.fill(0);
  state_.label.fill(0);
  view_->GeometryChanged();
  NewGame(true);
}

void LattixEngine::SetTurn(Colour v) {
  if (v == state_.turn) return;
  state_.turn = v;
  view_->DrawTurnArrow();
}

void LattixEngine::SetHandicap(int8_t v) {
  if (v == Handicap_) return;
  Handicap_ = v;
  PlaceHandicap(true);
  Recheck();
  view_->DrawInfoLine(InfoLine::Handicap);
  view_->DrawInfoLine(InfoLine::Komi);
  if (GameKind_ == kGo) Atone_ = v > 1 ? 2 * v : (v == 0 ? 11 : 0);
}

void LattixEngine::SetWinner(int8_t v) {
  if (v == Winner_) return;
  Winner_ = v;
  view_->DrawInfoLine(InfoLine::Result);
}

void LattixEngine::SetLanguage(int8_t v) {
  if (v < 0 || v > 2 || v == Language_) return;
  Language_ = v;
  Hint_ = v == 0 ? Hint0_ : (v == 1 ? Hint1_ : Hint2_);
  view_->Invalidate();
}

std::string LattixEngine::ChineseText(std::string text) {
  if (Language_ == 1 && OnToBig5) OnToBig5(this, text);
  return text;
}

void LattixEngine::SetEvent(const std::string& v) {
  Event_ = v;
  view_->DrawInfoLine(InfoLine::Event);
}

void LattixEngine::SetFee(int32_t v) {
  Fee_ = v;
  view_->DrawInfoLine(InfoLine::Event);
}

void LattixEngine::SetTimeLimit(int32_t v) {
  TimeLimit_ = v;
  TimeLeft_[0] = TimeLeft_[1] = v;
  view_->DrawInfoLine(InfoLine::BlackClock);
  view_->DrawInfoLine(InfoLine::WhiteClock);
}

void LattixEngine::SetMoveLimit(int16_t v) {
  MoveLimit_ = v;
  MovesLeft_[0] = MovesLeft_[1] = v;
  view_->DrawInfoLine(InfoLine::BlackClock);
  view_->DrawInfoLine(InfoLine::WhiteClock);
}

void LattixEngine::SetNotBother(bool v) {
  NotBother_ = v;
  view_->DrawInfoLine(InfoLine::CornerMark);
}

}  // namespace zendra
