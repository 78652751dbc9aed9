// The board's other game kinds: five-in-a-row's rules, and the chess kinds' new game.
//
// Five-in-a-row is played on a 15 x 15 board with Go's stones and point letters. Black's first
// move goes on the centre (H8). `Handicap` holds the rule switches:
//
//   1 or more   black's forbidden points (overline, double four, double three) are on, and
//               black wins only with exactly five;
//   5 or more   a forbidden point is refused; from 1 to 3 it is played and black loses at
//               once (`WinReason` 4); at 4 it is played and nothing follows;
//   bit 2       the opening exchange: after black's fifth move a pass is recorded for white,
//               black puts down a second candidate for the fifth move (not symmetrical to the
//               first one with respect to the first four moves), and white takes one of the
//               two off, which records that point and a pass for black.
//
// The move list keeps the exchange as it happened: move 5 the first candidate, 6 white's pass,
// 7 the second candidate, 8 the point white took off, 9 black's pass. A replay reads those
// passes from the list, so the automatic ones, like the events and the refusal messages, are
// only for live moves.
#include <array>

#include "board/engine/chess_kinds.h"
#include "board/engine/five_in_row.h"
#include "board/engine/lattix_engine.h"

namespace zendra {

namespace {

// The centre point, (8, 8) = H8 on the 15 x 15 board.
constexpr int kCentre = 8;

// The rule switches of `Handicap` (see above).
constexpr int kForbiddenFrom = 1;
constexpr int kRefusedFrom = 5;
constexpr int kLosesUpTo = 3;
constexpr int kExchangeBit = 2;

// `WinReason` values of five-in-a-row.
constexpr int8_t kWonByFive = 2;
constexpr int8_t kWonByForbiddenPoint = 4;

// Refusal messages; the Chinese ones in GB bytes, as the board's other Chinese texts are.
constexpr char kFirstMoveEnglish[] = "Please drop it to point H8";
constexpr char kFirstMoveChinese[] =  // 第一手必须走天元(中心位置H8)
    "\xB5\xDA\xD2\xBB\xCA\xD6\xB1\xD8\xD0\xEB\xD7\xDF\xCC\xEC\xD4\xAA("
    "\xD6\xD0\xD0\xC4\xCE\xBB\xD6\xC3H8)";
constexpr char kSymmetricalEnglish[] = "Symmetrical point not allowed";
constexpr char kSymmetricalChinese[] =  // 对称点不允许走
    "\xB6\xD4\xB3\xC6\xB5\xE3\xB2\xBB\xD4\xCA\xD0\xED\xD7\xDF";

// The eight symmetries of the square grid but the identity, as matrices (a b; c d) acting on
// (x, y): the two mirror images along the axes, the half turn, the two diagonal mirror images
// and the two quarter turns.
constexpr int kSymmetries[7][4] = {{-1, 0, 0, 1},  {1, 0, 0, -1}, {-1, 0, 0, -1}, {0, 1, 1, 0},
                                   {0, -1, -1, 0}, {0, -1, 1, 0}, {0, 1, -1, 0}};

five::Position PositionOf(const LattixEngine& board) {
  five::Position position(board.N(), board.M());
  for (int p = 1; p <= board.N(); ++p)
    for (int q = 1; q <= board.M(); ++q) position.Set(p, q, board.GetPoint(p, q));
  return position;
}

}  // namespace

// ---- Five-in-a-row ------------------------------------------------------------------------------

bool LattixEngine::ExchangeOn() const {
  return GameKind_ == kFiveInARow && (Handicap_ & kExchangeBit) != 0;
}

bool LattixEngine::ProcessPoint(int move, int& p, int& q) const {
  const std::size_t at = 2 * static_cast<std::size_t>(move - 1);
  if (move < 1 || at + 2 > Process_.size()) return false;
  p = LetterToCoord(Process_[at]);
  q = LetterToCoord(Process_[at + 1]);
  return IsOnBoard(p, q);
}

LattixEngine::ExchangeStep LattixEngine::CurrentExchangeStep() const {
  int p = 0, q = 0;
  // The exchange needs a first candidate: a stone as move 5.
  if (!ExchangeOn() || !ProcessPoint(5, p, q)) return ExchangeStep::kNone;
  switch (NextMove_) {
    case 6:
      return ExchangeStep::kWhitePass;
    case 7:
      return ExchangeStep::kSecondCandidate;
    case 8:
      return ProcessPoint(7, p, q) ? ExchangeStep::kRemoval : ExchangeStep::kNone;
    case 9:
      return ProcessPoint(7, p, q) ? ExchangeStep::kBlackPass : ExchangeStep::kNone;
    default:
      return ExchangeStep::kNone;
  }
}

bool LattixEngine::AwaitingCandidateRemoval() const {
  return CurrentExchangeStep() == ExchangeStep::kRemoval;
}

bool LattixEngine::IsRemovableCandidate(int P, int Q) const {
  if (!AwaitingCandidateRemoval() || !IsOnBoard(P, Q) || cell_[Idx(P, Q)] == 0) return false;
  int p5 = 0, q5 = 0, p7 = 0, q7 = 0;
  ProcessPoint(5, p5, q5);
  ProcessPoint(7, p7, q7);
  return (P == p5 && Q == q5) || (P == p7 && Q == q7);
}

// The second candidate is symmetrical to the first when some symmetry of the grid maps the
// stones of the first four moves onto themselves, each onto a stone of its own colour, and the
// first candidate onto (P, Q): the two fifth moves then make the same position.
bool LattixEngine::IsSymmetricalCandidate(int P, int Q) const {
  int p5 = 0, q5 = 0;
  if (!ProcessPoint(5, p5, q5)) return false;
  struct Stone {
    int p, q;
    Colour side;
  };
  std::array<Stone, 4> stones{};
  int count = 0;
  for (int move = 1; move <= 4; ++move) {
    int p = 0, q = 0;
    if (ProcessPoint(move, p, q) && GetPoint(p, q) != 0)
      stones[count++] = {p, q, GetPoint(p, q) > 0 ? kBlack : kWhite};
  }
  if (count == 0) return false;
  auto holds = [&](int p, int q, Colour side) {
    for (int k = 0; k < count; ++k)
      if (stones[k].p == p && stones[k].q == q && stones[k].side == side) return true;
    return false;
  };
  for (const auto& m : kSymmetries) {
    // The symmetry must take the first stone to a stone of its colour; each choice fixes the
    // translation that goes with the matrix.
    const Stone& first = stones[0];
    for (int k = 0; k < count; ++k) {
      if (stones[k].side != first.side) continue;
      const int tx = stones[k].p - (m[0] * first.p + m[1] * first.q);
      const int ty = stones[k].q - (m[2] * first.p + m[3] * first.q);
      bool maps = true;
      for (int j = 0; j < count && maps; ++j)
        maps = holds(m[0] * stones[j].p + m[1] * stones[j].q + tx,
                     m[2] * stones[j].p + m[3] * stones[j].q + ty, stones[j].side);
      if (maps && m[0] * p5 + m[1] * q5 + tx == P && m[2] * p5 + m[3] * q5 + ty == Q) return true;
    }
  }
  return false;
}

void LattixEngine::FiveRefusal(const TMoveEvent& event, const char* english, const char* chinese,
                               int P, int Q) {
  if (replaying_) return;
  if (Interactive_)
    view_->ShowMessage(Language_ != 0 ? std::string(english) : ChineseText(chinese));
  else if (event)
    event(this, static_cast<int16_t>(P), static_cast<int16_t>(Q), 0, 0, Review_);
}

void LattixEngine::FiveWinner(int8_t winner, int8_t reason, bool Draw) {
  WinReason_ = reason;
  if (Draw)
    SetWinner(winner);
  else
    Winner_ = winner;
  if (!replaying_ && OnWinnerGot) OnWinnerGot(this, winner, reason, Review_);
}

void LattixEngine::RemoveCandidate(int P, int Q, bool Draw) {
  RecordMove(P, Q, 0, Draw);
  const int i = Idx(P, Q);
  cell_[i] = 0;
  label_[i] = 0;
  SplitSharedLabels();  // the stone may have joined two rows of stones into one chain
  if (Draw) view_->DrawEmptyPoint(P, Q);
  Turn_ = Opponent(Turn_);
  if (replaying_) return;  // black's pass is the next move of the list
  PlacePass(false);
  if (Draw) {
    view_->DrawStone(kPassCoord, kPassCoord);
    view_->DrawLastMoveMark(kPassCoord, kPassCoord);
    view_->DrawTurnArrow();
  }
}

bool LattixEngine::PlayFiveMove(int P, int Q, bool Draw) {
  if (NextMove_ > kMaxMoves || Turn_ == 0) return false;
  const bool pass = IsPassPoint(P, Q);
  if (NextMove_ == 1 && (P != kCentre || Q != kCentre)) {
    FiveRefusal(OnFirstMoveNot88, kFirstMoveEnglish, kFirstMoveChinese, P, Q);
    return false;
  }
  const ExchangeStep step = CurrentExchangeStep();
  if (step == ExchangeStep::kWhitePass || step == ExchangeStep::kBlackPass) {
    if (!pass) return false;
    PlacePass(Draw);
    return true;
  }
  if (step == ExchangeStep::kRemoval) {
    if (!IsRemovableCandidate(P, Q)) return false;
    RemoveCandidate(P, Q, Draw);
    return true;
  }
  if (pass) {
    if (step == ExchangeStep::kSecondCandidate) return false;  // black owes a candidate
    PlacePass(Draw);
    return true;
  }
  if (!IsOnBoard(P, Q) || cell_[Idx(P, Q)] != 0) return false;
  if (step == ExchangeStep::kSecondCandidate && IsSymmetricalCandidate(P, Q)) {
    FiveRefusal(OnSymmetricalPoint, kSymmetricalEnglish, kSymmetricalChinese, P, Q);
    return false;
  }

  // Forbidden points, judged on the position before the stone.
  const Colour mover = Turn_ > 0 ? kBlack : kWhite;
  const bool rules = mover == kBlack && Handicap_ >= kForbiddenFrom;
  five::Position position = PositionOf(*this);
  const bool forbidden = rules && position.BlackForbidden(P, Q) != five::Forbidden::kNone;
  if (forbidden && Handicap_ >= kRefusedFrom) return false;

  // The stone, drawn as a Go stone is.
  cell_[Idx(P, Q)] = mover;
  AssignLabelReference(mover, P, Q);
  RecordMove(P, Q, 0, Draw);
  if (Draw) {
    view_->DrawStone(P, Q);
    view_->DrawLastMoveMark(P, Q);
  }
  Turn_ = Opponent(mover);
  if (Draw) view_->DrawTurnArrow();

  // The result: five wins (only exactly five for black under the forbidden-point rules); a
  // forbidden point played under the lower thresholds loses.
  if (position.MakesFive(P, Q, mover == kBlack ? five::kBlack : five::kWhite, rules))
    FiveWinner(mover == kBlack ? kBlackWon : kWhiteWon, kWonByFive, Draw);
  else if (forbidden && Handicap_ <= kLosesUpTo)
    FiveWinner(kWhiteWon, kWonByForbiddenPoint, Draw);

  // The opening exchange: white's pass after the fifth move, then the second candidate.
  if (!replaying_ && ExchangeOn()) {
    if (NextMove_ == 6) {
      PlacePass(Draw);
      if (OnFifthMoveDone) OnFifthMoveDone(this, Review_);
    } else if (step == ExchangeStep::kSecondCandidate && OnExtraMoveDone) {
      OnExtraMoveDone(this, Review_);
    }
  }
  return true;
}

int LattixEngine::CheckFiveMove(int P, int Q) const {
  if (!IsOnBoard(P, Q) || cell_[Idx(P, Q)] != 0) return -1;
  if (Turn_ <= 0 || Handicap_ < kForbiddenFrom) return 0;
  five::Position position = PositionOf(*this);
  return position.BlackForbidden(P, Q) == five::Forbidden::kNone ? 0 : 1;
}

int LattixEngine::TakeBackTarget() const {
  if (ExchangeOn()) {
    if (NextMove_ == 9 || NextMove_ == 10) return 6;
    if (NextMove_ >= 6 && NextMove_ <= 8) return 4;
  }
  return NextMove_ - 2;
}

// ---- Chess kinds --------------------------------------------------------------------------------

void LattixEngine::LayOutStartingTable() {
  piecesMoved_ = {};
  if (!chess::IsChessKind(GameKind_)) return;
  for (int p = 0; p < N_; ++p)
    for (int q = 0; q < M_; ++q) cell_[Idx(p, q)] = chess::StartingPiece(GameKind_, p, q);
}

bool LattixEngine::PieceMoved(int side, int which) const {
  if (side < 0 || side > 1 || which < 0 || which > 2) return false;
  return piecesMoved_[side][which];
}

}  // namespace zendra
