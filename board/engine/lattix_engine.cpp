#include "board/engine/lattix_engine.h"

#include <algorithm>
#include <bit>

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

bool LattixEngine::IsSelfSideToMove() const { return SameSide(Turn_, SideColour(SelfSide_)); }

Colour LattixEngine::GetPoint(int P, int Q) const { return InGrid(P, Q) ? cell_[Idx(P, Q)] : 0; }

void LattixEngine::SetPoint(int P, int Q, Colour v) {
  if (!InGrid(P, Q)) return;
  Colour& c = cell_[Idx(P, Q)];
  if (c == v) return;
  // Further bits on a stone leave the rules untouched; anything that adds, removes or recolours
  // a stone leaves the chain bookkeeping behind until the next check.
  const bool sameStone = c != 0 && v != 0 && SameSide(c, v) && (c & kStoneBit) == (v & kStoneBit);
  c = v;
  if (!sameStone) clean_ = false;
}

int LattixEngine::Label(int P, int Q) const { return InGrid(P, Q) ? label_[Idx(P, Q)] : 0; }

// ---- New game and handicap ----------------------------------------------------------------------

void LattixEngine::NewGame(bool Draw) {
  Modified_ = false;
  if (!Review_) {
    Winner_ = kNoWinner;
    GameOver_ = false;
  }
  AreaB_ = AreaW_ = 0;
  sResult_.clear();
  NextMove_ = 1;
  LastColour_ = 0;
  LastP_ = LastQ_ = 0;
  LastCaptures_ = 0;
  cell_.fill(0);
  label_.fill(0);
  stoneNumber_.fill(0);
  markColor_.fill(0);
  Process_.clear();
  LayOutStartingTable();
  Turn_ = FirstToPlay_;
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
    Turn_ = FirstToPlayByRule_ ? kWhite : FirstToPlay_;
    const bool odd = Handicap_ == 5 || Handicap_ == 7 || Handicap_ == 9;
    const int fromTable = odd ? Handicap_ - 1 : Handicap_;
    for (int k = 0; k < fromTable; ++k) {
      const int i = Idx(kHandicapPoints[k][0], kHandicapPoints[k][1]);
      cell_[i] = kBlack;
      label_[i] = static_cast<int16_t>(k + 1);
    }
    if (odd) {
      const int i = Idx(10, 10);
      cell_[i] = kBlack;
      label_[i] = Handicap_;
    }
    clean_ = false;
  } else {
    Turn_ = FirstToPlay_;
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
  if (GameKind_ != kGo || NextMove_ > kMaxMoves) {
    result = false;  // the Go rules hold only for Go; the move counter is full
  } else if (IsPassPoint(P, Q)) {
    PlacePass(Draw);
    result = true;
  } else if (IsOnBoard(P, Q) && (cell_[Idx(P, Q)] & kStoneBit) == 0) {
    const bool fast = clean_ && !referenceRules_ && (Turn_ & kStoneBit) != 0 &&
                      cell_[Idx(P, Q)] == 0;
    result = fast ? PlayStoneFast(P, Q, Draw) : PlayStoneReference(P, Q, Draw);
  }
  Modified_ = result && Draw;
  return result;
}

void LattixEngine::PlacePass(bool Draw) {
  if (Draw && (IsOnBoard(LastP_, LastQ_) || IsPassPoint(LastP_, LastQ_)))
    view_->DrawStone(LastP_, LastQ_);
  const std::size_t at = std::min<std::size_t>(2u * static_cast<unsigned>(NextMove_ - 1),
                                               Process_.size());
  Process_.insert(at, kPassLetters);
  ++NextMove_;
  LastColour_ = Turn_;
  LastP_ = LastQ_ = kPassCoord;
  LastCaptures_ = 0;
  Turn_ = Opponent(Turn_);
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
    if (IsOnBoard(LastP_, LastQ_))
      view_->DrawStone(LastP_, LastQ_);
    else if (IsPassPoint(LastP_, LastQ_))
      view_->DrawEmptyPoint(kPassCoord, kPassCoord);
  }
  const std::size_t at = std::min<std::size_t>(2u * static_cast<unsigned>(NextMove_ - 1),
                                               Process_.size());
  const char letters[2] = {CoordToLetter(P), CoordToLetter(Q)};
  Process_.insert(at, letters, 2);
  ++NextMove_;
  LastColour_ = Turn_;
  LastP_ = static_cast<int16_t>(P);
  LastQ_ = static_cast<int16_t>(Q);
  LastCaptures_ = static_cast<int16_t>(captures);
}

// Reference rules, step by step over the whole board.
bool LattixEngine::PlayStoneReference(int P, int Q, bool Draw) {
  const int idx = Idx(P, Q);
  const Colour turn = Turn_;
  // 1. Try the stone.
  cell_[idx] = turn;
  const std::array<int16_t, kCells> savedLabels = label_;
  AssignLabelReference(turn, P, Q);
  // 2. Count liberties per label. The border reads as occupied during the count so the edge
  //    is never a liberty; the count only needs to tell zero from non-zero.
  std::array<int, kCells> liberties{};
  auto isLiberty = [&](int n) { return onBoard_[n] && cell_[n] == 0; };
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (cell_[i] == 0) continue;
      for (int d : kNeighbour)
        if (isLiberty(i + d)) ++liberties[label_[i]];
    }
  // The border holds no stone: whatever a caller stored there is gone after the count.
  for (int k = 0; k < kGridSize; ++k)
    for (int i : {Idx(0, k), Idx(kGridSize - 1, k), Idx(k, 0), Idx(k, kGridSize - 1)})
      if (!onBoard_[i]) cell_[i] = 0;
  // 3. Opponent stones left without liberties, in scan order (columns outer, rows inner).
  const Colour enemy = Opponent(turn);
  int n = 0;
  int lastCaptured = -1;
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (SameSide(cell_[i], enemy) && liberties[label_[i]] == 0) {
        ++n;
        lastCaptured = i;
      }
    }
  // 4. Decide: suicide, simple ko, or legal.
  const bool suicide = n == 0 && liberties[label_[idx]] == 0;
  const bool ko = n == 1 && LastCaptures_ == 1 && lastCaptured == Idx(LastP_, LastQ_) &&
                  InGrid(LastP_, LastQ_);
  if (suicide || ko) {
    cell_[idx] = 0;
    label_ = savedLabels;
    return false;
  }
  // 5. Legal: record it, take the captured stones off, draw the new stone.
  RecordMove(P, Q, n, Draw);
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const int i = Idx(p, q);
      if (SameSide(cell_[i], enemy) && liberties[label_[i]] == 0) {
        cell_[i] = 0;
        label_[i] = 0;
        if (Draw) view_->DrawEmptyPoint(p, q);
      }
    }
  if (Draw) {
    view_->DrawStone(P, Q);
    view_->DrawLastMoveMark(P, Q);
  }
  Turn_ = Opponent(turn);
  if (Draw) view_->DrawTurnArrow();
  // Set-up positions may have held chains without liberties; see whether this move left the
  // board in a shape the fast path can take over.
  Recheck();
  return true;
}

bool LattixEngine::ChainHasLibertyExcept(int label, int except) const {
  const int head = labelHead_[label];
  int s = head;
  do {
    for (int d : kNeighbour) {
      const int n = s + d;
      if (n != except && cell_[n] == 0 && onBoard_[n]) return true;
    }
    s = nextInChain_[s];
  } while (s != head);
  return false;
}

LattixEngine::FastVerdict LattixEngine::JudgeFast(int idx) const {
  FastVerdict v;
  const Colour turn = Turn_;
  bool ownLiberty = false;
  int seen[4] = {0, 0, 0, 0};
  int seenCount = 0;
  for (int d : kNeighbour) {
    const int n = idx + d;
    const Colour c = cell_[n];
    if (c == 0) {
      if (onBoard_[n]) ownLiberty = true;
      continue;
    }
    const int label = label_[n];
    if (std::find(seen, seen + seenCount, label) != seen + seenCount) continue;
    seen[seenCount++] = label;
    const bool hasLiberty = ChainHasLibertyExcept(label, idx);
    if (SameSide(c, turn)) {
      ownLiberty = ownLiberty || hasLiberty;
    } else if (!hasLiberty) {
      v.capturedLabels[v.capturedCount++] = label;
      v.captures += labelSize_[label];
      // The captured stone found last in a column-major scan is the one with the largest index.
      int s = labelHead_[label];
      const int head = s;
      do {
        v.lastCaptured = std::max(v.lastCaptured, s);
        s = nextInChain_[s];
      } while (s != head);
    }
  }
  const bool suicide = v.captures == 0 && !ownLiberty;
  const bool ko = v.captures == 1 && LastCaptures_ == 1 && InGrid(LastP_, LastQ_) &&
                  v.lastCaptured == Idx(LastP_, LastQ_);
  v.legal = !suicide && !ko;
  return v;
}

bool LattixEngine::PlayStoneFast(int P, int Q, bool Draw) {
  const int idx = Idx(P, Q);
  const FastVerdict v = JudgeFast(idx);
  if (!v.legal) return false;
  const Colour turn = Turn_;
  cell_[idx] = turn;
  AssignLabelFast(turn, idx);
  RecordMove(P, Q, v.captures, Draw);
  if (!Draw) {
    for (int k = 0; k < v.capturedCount; ++k) RemoveChainFast(v.capturedLabels[k], false);
  } else {
    // Captured stones are redrawn in scan order, as the whole-board removal does.
    int removed[kMaxLabel];
    int count = 0;
    for (int k = 0; k < v.capturedCount; ++k) {
      const int head = labelHead_[v.capturedLabels[k]];
      int s = head;
      do {
        removed[count++] = s;
        s = nextInChain_[s];
      } while (s != head);
    }
    for (int k = 0; k < v.capturedCount; ++k) RemoveChainFast(v.capturedLabels[k], false);
    std::sort(removed, removed + count);
    for (int k = 0; k < count; ++k)
      view_->DrawEmptyPoint(removed[k] / kGridSize, removed[k] % kGridSize);
    view_->DrawStone(P, Q);
    view_->DrawLastMoveMark(P, Q);
  }
  Turn_ = Opponent(turn);
  if (Draw) view_->DrawTurnArrow();
  return true;
}

int LattixEngine::CheckGoMove(int P, int Q) {
  if (GameKind_ != kGo || !IsOnBoard(P, Q) || cell_[Idx(P, Q)] != 0) return -1;
  const bool fast = clean_ && !referenceRules_ && (Turn_ & kStoneBit) != 0;
  return fast ? CheckStoneFast(P, Q) : CheckStoneReference(P, Q);
}

int LattixEngine::CheckStoneFast(int P, int Q) {
  const FastVerdict v = JudgeFast(Idx(P, Q));
  return v.legal ? v.captures : -1;
}

int LattixEngine::CheckStoneReference(int P, int Q) {
  // Play the stone on a scratch copy of everything it may touch, then put it all back.
  const auto cells = cell_;
  const auto labels = label_;
  const std::string process = Process_;
  const int16_t nextMove = NextMove_, lastP = LastP_, lastQ = LastQ_, lastCaptures = LastCaptures_;
  const Colour turn = Turn_, lastColour = LastColour_;
  const bool clean = clean_;
  LattixView* view = view_;
  view_ = &SilentView();
  const bool legal = PlayStoneReference(P, Q, false);
  const int captures = LastCaptures_;
  view_ = view;
  cell_ = cells;
  label_ = labels;
  Process_ = process;
  NextMove_ = nextMove;
  LastP_ = lastP;
  LastQ_ = lastQ;
  LastCaptures_ = lastCaptures;
  Turn_ = turn;
  LastColour_ = lastColour;
  if (clean) Recheck(); else clean_ = false;
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
  auto ownStone = [&](int n) { return n >= 0 && SameSide(cell_[n], x); };
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
        const int l = label_[Idx(p, q)];
        if (l >= 0 && l <= kCells) held[l] = true;
      }
    int L = 1;
    while (L <= N_ * M_ && held[L]) ++L;
    label_[idx] = static_cast<int16_t>(L <= N_ * M_ ? L : 1);
    return;
  }
  const int16_t mine = label_[found];
  label_[idx] = mine;
  for (int n : around) {
    if (!ownStone(n) || label_[n] == mine) continue;
    const int16_t other = label_[n];
    for (int p = 1; p <= N_; ++p)
      for (int q = 1; q <= M_; ++q)
        if (label_[Idx(p, q)] == other) label_[Idx(p, q)] = mine;
  }
}

int LattixEngine::SmallestFreeLabelFast() const {
  for (int L = 1; L <= N_ * M_; ++L)
    if (labelSize_[L] == 0) return L;
  return 1;
}

void LattixEngine::AssignLabelFast(Colour x, int idx) {
  int found = -1;
  for (int d : kNeighbour)
    if (SameSide(cell_[idx + d], x)) {
      found = idx + d;
      break;
    }
  if (found < 0) {
    const int L = SmallestFreeLabelFast();
    label_[idx] = static_cast<int16_t>(L);
    labelHead_[L] = static_cast<int16_t>(idx);
    labelSize_[L] = 1;
    nextInChain_[idx] = static_cast<int16_t>(idx);
    return;
  }
  const int16_t mine = label_[found];
  label_[idx] = mine;
  // Splice the new stone into its chain's ring.
  nextInChain_[idx] = nextInChain_[found];
  nextInChain_[found] = static_cast<int16_t>(idx);
  ++labelSize_[mine];
  for (int d : kNeighbour) {
    const int n = idx + d;
    if (!SameSide(cell_[n], x) || label_[n] == mine) continue;
    const int16_t other = label_[n];
    // Relabel the joined chain and splice its ring into ours.
    int s = labelHead_[other];
    const int head = s;
    do {
      label_[s] = mine;
      s = nextInChain_[s];
    } while (s != head);
    std::swap(nextInChain_[idx], nextInChain_[head]);
    labelSize_[mine] = static_cast<int16_t>(labelSize_[mine] + labelSize_[other]);
    labelSize_[other] = 0;
  }
}

void LattixEngine::RemoveChainFast(int label, bool Draw) {
  int s = labelHead_[label];
  const int head = s;
  do {
    const int next = nextInChain_[s];
    cell_[s] = 0;
    label_[s] = 0;
    if (Draw) view_->DrawEmptyPoint(s / kGridSize, s % kGridSize);
    s = next;
  } while (s != head);
  labelSize_[label] = 0;
}

void LattixEngine::ClearLabelBookkeeping() {
  labelSize_.fill(0);
  labelHead_.fill(-1);
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
    if (label_[i] > 0 && label_[i] <= kMaxLabel) held[label_[i]] = 1;
  std::array<uint8_t, kCells> visited{};
  std::array<int16_t, kCells> chain{};
  for (int i = 0; i < kCells; ++i) {
    if (cell_[i] == 0 || visited[i] || !onBoard_[i]) continue;
    // Collect the chain through i.
    int size = 0;
    chain[size++] = static_cast<int16_t>(i);
    visited[i] = 1;
    for (int k = 0; k < size; ++k)
      for (int d : kNeighbour) {
        const int n = chain[k] + d;
        if (n < 0 || n >= kCells || visited[n] || !onBoard_[n] || !SameSide(cell_[n], cell_[i]))
          continue;
        visited[n] = 1;
        chain[size++] = static_cast<int16_t>(n);
      }
    int label = label_[i];
    if (label <= 0 || label > N_ * M_ || claimed[label]) {
      label = 1;
      while (label <= N_ * M_ && (held[label] || claimed[label])) ++label;
      if (label > N_ * M_) continue;  // no free label: leave it (cannot happen on a real board)
      held[label] = 1;
    }
    claimed[label] = 1;
    for (int k = 0; k < size; ++k) label_[chain[k]] = static_cast<int16_t>(label);
  }
}

void LattixEngine::Recheck() {
  clean_ = false;
  if (GameKind_ != kGo) return;
  ClearLabelBookkeeping();
  // Every non-empty cell must be a stone on the playing area with a label in range; the border
  // and everything outside the playing area must be empty and unlabelled.
  for (int i = 0; i < kCells; ++i) {
    const Colour c = cell_[i];
    const int l = label_[i];
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
    if (cell_[i] == 0 || visited[i]) continue;
    const int l = label_[i];
    if (labelSize_[l] != 0) return;  // a second chain with the same label
    int top = 0;
    stack[top++] = static_cast<int16_t>(i);
    visited[i] = 1;
    bool liberty = false;
    int prev = i;
    int size = 0;
    labelHead_[l] = static_cast<int16_t>(i);
    while (top > 0) {
      const int s = stack[--top];
      ++size;
      if (s != i) {
        nextInChain_[prev] = static_cast<int16_t>(s);
        prev = s;
      }
      for (int d : kNeighbour) {
        const int n = s + d;
        const Colour c = cell_[n];
        if (c == 0) {
          if (onBoard_[n]) liberty = true;
        } else if (SameSide(c, cell_[i])) {
          if (label_[n] != l) return;  // one chain, two labels
          if (!visited[n]) {
            visited[n] = 1;
            stack[top++] = static_cast<int16_t>(n);
          }
        } else if (label_[n] == l) {
          return;  // the label is shared with the other colour
        }
      }
    }
    nextInChain_[prev] = static_cast<int16_t>(i);
    labelSize_[l] = static_cast<int16_t>(size);
    if (!liberty) return;
  }
  clean_ = true;
}

// ---- Take back and replay -----------------------------------------------------------------------

void LattixEngine::GoToMove(int N, bool FromGiven) {
  const std::string source = FromGiven ? GivenProcess_ : Process_;
  const auto oldCells = cell_;
  const auto oldNumbers = stoneNumber_;
  const auto oldMarks = markColor_;
  const int oldLastP = LastP_, oldLastQ = LastQ_;
  const int8_t oldWinner = Winner_;
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
      if (cell_[i] != oldCells[i] || stoneNumber_[i] != oldNumbers[i] ||
          markColor_[i] != oldMarks[i]) {
        if (cell_[i] != 0)
          view_->DrawStone(p, q);
        else
          view_->DrawEmptyPoint(p, q);
      }
    }
  if (IsOnBoard(oldLastP, oldLastQ) && cell_[Idx(oldLastP, oldLastQ)] != 0)
    view_->DrawStone(oldLastP, oldLastQ);
  if (IsOnBoard(LastP_, LastQ_) && cell_[Idx(LastP_, LastQ_)] != 0) {
    view_->DrawStone(LastP_, LastQ_);
    view_->DrawLastMoveMark(LastP_, LastQ_);
  }
}

void LattixEngine::TakeBack() {
  GoToMove(TakeBackTarget(), false);
  view_->DrawTurnArrow();
}

// ---- Display marks ------------------------------------------------------------------------------

int32_t LattixEngine::StoneNumber(int p, int q) const {
  return InGrid(p, q) ? stoneNumber_[Idx(p, q)] : 0;
}

uint32_t LattixEngine::MarkColor(int p, int q) const {
  return InGrid(p, q) ? markColor_[Idx(p, q)] : 0;
}

void LattixEngine::RedrawPoint(int p, int q) {
  if (!IsOnBoard(p, q)) return;
  if (cell_[Idx(p, q)] != 0)
    view_->DrawStone(p, q);
  else
    view_->DrawEmptyPoint(p, q);
}

void LattixEngine::SetStoneNumber(int p, int q, int32_t n) {
  if (!InGrid(p, q) || stoneNumber_[Idx(p, q)] == n) return;
  stoneNumber_[Idx(p, q)] = n;
  RedrawPoint(p, q);
}

void LattixEngine::SetMarkColor(int p, int q, uint32_t colour) {
  if (!InGrid(p, q) || markColor_[Idx(p, q)] == colour) return;
  markColor_[Idx(p, q)] = colour;
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
      if (markColor_[Idx(p, q)] != 0) SetMarkColor(p, q, 0);
}

// ---- Set-up strings and move lists --------------------------------------------------------------

void LattixEngine::RemoveSetup(const std::string& list) {
  if (!IsNonEmptyPointList(list)) return;
  for (std::size_t i = 0; i < PointCount(list); ++i) {
    const int p = LetterToCoord(list[2 * i]), q = LetterToCoord(list[2 * i + 1]);
    if (!IsOnBoard(p, q)) continue;
    cell_[Idx(p, q)] = 0;
    label_[Idx(p, q)] = 0;
  }
}

void LattixEngine::ApplySetup(const std::string& list, Colour side, bool Draw) {
  if (IsNonEmptyPointList(list)) {
    for (std::size_t i = 0; i < PointCount(list); ++i) {
      const int p = LetterToCoord(list[2 * i]), q = LetterToCoord(list[2 * i + 1]);
      if (!IsOnBoard(p, q)) continue;
      cell_[Idx(p, q)] = side;
      AssignLabelReference(side, p, q);
    }
    clean_ = false;
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
  if (S == Process_) return;
  if (S.size() % 2 != 0) return;
  if (!Process_.empty() && S.size() == Process_.size() + 2 && S.compare(0, Process_.size(), Process_) == 0) {
    const int P = LetterToCoord(S[S.size() - 2]), Q = LetterToCoord(S[S.size() - 1]);
    if (IsOnBoard(P, Q) || IsPassPoint(P, Q)) PlayMove(P, Q, true);
    return;
  }
  Process_ = S;
  GoToMove(static_cast<int>(S.size() / 2), false);
}

bool LattixEngine::ArrangeStone(int p, int q, Colour colour) {
  if (!IsOnBoard(p, q) || cell_[Idx(p, q)] != 0) return false;
  (colour > 0 ? ArrangedSideP_ : ArrangedSideN_) += PointLetters(p, q);
  cell_[Idx(p, q)] = colour;
  AssignLabel(colour, p, q);
  view_->DrawStone(p, q);
  return true;
}

void LattixEngine::AppendNumberedMove(int p, int q) {
  NumProc_ += PointLetters(p, q);
  if (!IsOnBoard(p, q)) return;
  stoneNumber_[Idx(p, q)] = static_cast<int32_t>(NumProc_.size() / 2);
  RedrawPoint(p, q);
}

void LattixEngine::ClearNumbering(std::size_t keep) {
  for (std::size_t i = PointCount(NumProc_); i > keep; --i) {
    const int p = LetterToCoord(NumProc_[2 * i - 2]), q = LetterToCoord(NumProc_[2 * i - 1]);
    if (!IsOnBoard(p, q)) continue;
    stoneNumber_[Idx(p, q)] = 0;
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
    if (PointCount(S) >= 1 && static_cast<int>(PointCount(Process_)) >= before) {
      if (static_cast<int>(PointCount(Process_)) > before) {
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
  cell_.fill(0);
  label_.fill(0);
  view_->GeometryChanged();
  NewGame(true);
}

void LattixEngine::SetTurn(Colour v) {
  if (v == Turn_) return;
  Turn_ = v;
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
