// The game model of the board component: one position on the 21 x 21 grid and the rules of Go.
//
// LattixEngine holds the stones and their chain labels, the move list (`Process`) and the state
// of the move in progress, the set-up strings, the display marks (stone numbers and mark dots),
// the game record and the area count of a finished game. It draws nothing itself: operations
// with Draw on report exactly what they change to a LattixView, whose default does nothing.
//
// The board widget derives from this class, so owners call Lattix1->PlayGoMove(...) directly.
// Everything runs on one thread; nothing blocks.
//
// Refusal is silent everywhere: an illegal move returns false and leaves the position as it was,
// a malformed string is absorbed (odd lengths ignored, points off the board skipped).
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "board/engine/lattix_view.h"
#include "board/engine/points.h"

namespace zendra {

class LattixEngine;

// Event types. Parameter lists follow the component contract: Sender first, 16-bit values.
using TMoveEvent = std::function<void(LattixEngine* Sender, int16_t nFrom, int16_t nTo,
                                      int16_t nKind, int16_t nPromoted, bool bReview)>;
using TClickAtOpponentsTurnEvent = std::function<void(LattixEngine* Sender, int16_t nP, int16_t nQ)>;
using TLastMoveClickEvent = std::function<void(LattixEngine* Sender, int16_t nP, int16_t nQ)>;
using TJudgeEvent = std::function<void(LattixEngine* Sender, int16_t nWinner, int16_t nAreaB,
                                       int16_t nAreaW, int16_t nWin)>;
using TToBig5Event = std::function<void(LattixEngine* Sender, std::string& S)>;
using TWinnerGotEvent =
    std::function<void(LattixEngine* Sender, int16_t iWinner, int16_t iReason, bool bReview)>;
using TWuziEvent = std::function<void(LattixEngine* Sender, bool bReview)>;

// Game kinds the component carries. Go and five-in-a-row have their rules; the chess kinds lay
// out their starting tables, keep their sizes and letter conventions, and refuse every move.
enum GameKindValue : int16_t {
  kGo = 0,
  kChineseChess = 1,
  kChess = 2,
  kFiveInARow = 3,
  kArmyChess = 4,
};

// The winner values of `Winner` and `JudgedWinner`.
inline constexpr int8_t kBlackWon = 0;
inline constexpr int8_t kWhiteWon = 1;
inline constexpr int8_t kDraw = 2;
inline constexpr int8_t kNoWinner = 9;

// `NextMove` is a 16-bit count: a game holds at most this many moves.
inline constexpr int kMaxMoves = 32766;

class LattixEngine {
 public:
  LattixEngine();
  virtual ~LattixEngine() = default;
  LattixEngine(const LattixEngine&) = delete;
  LattixEngine& operator=(const LattixEngine&) = delete;

  // The view that receives the redraw calls; nullptr restores the silent default. Not owned.
  void SetView(LattixView* view);
  LattixView& View() const { return *view_; }

  // ---- Board operations -----------------------------------------------------------------------

  // Rebuilds the initial position: empty grid and marks, empty `Process`, `NextMove` 1, `Turn`
  // from `FirstToPlay` (or white after handicap stones), then handicap and set-up stones.
  void NewGame(bool Draw);
  // The side to move plays (P, Q), or passes at the pass point. False (and no change but
  // `Modified` = false) when off the board, occupied, suicide, an immediate ko retake, when
  // the game already holds kMaxMoves moves, or when the game kind is not Go.
  bool PlayGoMove(int P, int Q, bool Draw);
  // The game-kind dispatcher: for Go the same as PlayGoMove; five-in-a-row plays its own rules
  // (first move on the centre, forbidden points, five wins, the opening exchange; a refusal
  // may show a message or fire an event, see five_in_row_rules.cpp); the chess kinds, where
  // P and Q are point indexes and Promote/Piece choose a promotion, refuse every move.
  bool PlayMove(int P, int Q, bool Draw, bool Promote = false, int Piece = 0);
  // What PlayGoMove would do, with no lasting change: the number of stones the move would
  // capture, or -1 when it is illegal, occupied, off the board or a pass.
  int CheckGoMove(int P, int Q);
  // The kind-independent move check: CheckGoMove for Go; for five-in-a-row -1 (off the board,
  // a pass, or occupied), 1 (a forbidden point for black to move) or 0; for the chess kinds
  // chess::kRefusedMove.
  int CheckMove(int From, int To);
  // Removes the last move by replaying all moves but the last from the initial position. With
  // five-in-a-row's opening exchange it steps back over the exchange: from move 9 or 10 to the
  // first 6 moves, from move 6, 7 or 8 to the first 4.
  void TakeBack();
  // Rebuilds the position after the first N moves of `Process` (or of `GivenProcess` when
  // FromGiven); N outside 1..moves gives the initial position. Illegal moves are skipped.
  // Redraws exactly the points whose stone or marks changed, then the last-move mark.
  void GoToMove(int N, bool FromGiven);
  // Puts the handicap stones of `Handicap` 2..9 on the current position without any check and
  // sets `Turn`; with Draw, redraws all points.
  void PlaceHandicap(bool Draw);
  // Gives the stone of colour x just put on (P, Q) its chain label, merging the chains it joins.
  void AssignLabel(Colour x, int P, int Q);

  // Arranging: puts a set-up stone of `colour` on the empty point (p, q) of the current
  // position, appends its letters to that side's set-up string without replaying it, labels it
  // and draws it. False, with nothing changed, when the point is off the board or not empty.
  bool ArrangeStone(int p, int q, Colour colour);
  // Review-study: takes the move just played on (p, q) into `NumProc` and numbers its stone
  // with the new count of points in `NumProc`.
  void AppendNumberedMove(int p, int q);

  // Raw cell access. GetPoint answers 0 outside the grid. SetPoint stores v only when it
  // differs; it neither redraws nor touches labels (callers tag stones with further bits).
  Colour GetPoint(int P, int Q) const;
  void SetPoint(int P, int Q, Colour v);
  // The chain label of (P, Q): 0 where no stone stands; shared by exactly one chain's stones.
  int Label(int P, int Q) const;

  // 1 <= P <= N and 1 <= Q <= M (Go, five-in-a-row); the chess kinds count from 0.
  bool IsOnBoard(int P, int Q) const;
  // (20, 20) for Go and five-in-a-row; a first value of 90 for the chess kinds.
  bool IsPassPoint(int P, int Q) const;
  // True when the side to move is the user's side (`SelfSide`).
  bool IsSelfSideToMove() const;

  // Five-in-a-row's opening exchange is waiting for white to take one of black's two
  // fifth-move candidates off the board: a move on either candidate's point does it.
  bool AwaitingCandidateRemoval() const;
  // True while the exchange waits so, on the points of the two candidates.
  bool IsRemovableCandidate(int P, int Q) const;
  // Chess kinds: whether the piece `which` (chess::MovedPiece) of side 0 (positive) or 1 has
  // moved since the new game.
  bool PieceMoved(int side, int which) const;

  // Letter conventions of the current game kind.
  int16_t LetterToCoord(char ch) const { return zendra::LetterToCoord(ch, GameKind_); }
  char CoordToLetter(int n) const { return zendra::CoordToLetter(n, GameKind_); }

  // ---- Display marks --------------------------------------------------------------------------

  // Number printed on the stone at (p, q), 0 for none; 0 off the grid.
  int32_t StoneNumber(int p, int q) const;
  // Colour (0x00BBGGRR) of the dot drawn on (p, q), 0 for none; 0 off the grid.
  uint32_t MarkColor(int p, int q) const;
  // Store n (or the colour) when it differs and redraw that point only.
  void SetStoneNumber(int p, int q, int32_t n);
  void SetMarkColor(int p, int q, uint32_t colour);
  // The i-th point (from 0) of the list gets number base + i; points off the board keep their
  // position in the count but get nothing.
  void NumberStones(std::string_view points, int32_t base);
  // Every listed point on the board gets the mark colour.
  void MarkPoints(std::string_view points, uint32_t colour);
  // Clears every mark dot, redrawing each point that had one.
  void ClearMarks();
  // DrawStone where a stone stands, DrawEmptyPoint where none does; nothing off the board.
  void RedrawPoint(int p, int q);

  // ---- Counting a finished game ---------------------------------------------------------------

  // The dead-or-alive toggle on (p, q): while `GameOver` is set, `Winner` is 9, `Mode` 0,
  // `Review` false and the game is Go, marks the whole chain of the stone dead (or alive again
  // when it was dead), redraws it and counts the position. False when those conditions do not
  // hold, or (p, q) is off the board or empty (an empty point changes nothing).
  bool ToggleDead(int p, int q);
  // Counts the position by area, sets `AreaB`, `AreaW`, `JudgedWinner`, `sResult` and fires
  // `OnJudge`. Never fails.
  void CountResult();

  // ---- Game properties ------------------------------------------------------------------------

  int16_t GameKind() const { return GameKind_; }
  // 0..4; ignored when out of range or unchanged. Otherwise resizes, empties the grid, sets the
  // kind's default `FileName` and starts a new game with Draw on.
  void SetGameKind(int16_t v);
  // Playing-area size: N columns by M rows.
  int N() const { return N_; }
  int M() const { return M_; }
  // Default file name of a game kind (empty for a value outside 0..4).
  static std::string DefaultFileName(int gameKind);

  const std::string& Process() const { return Process_; }
  // Odd lengths and an unchanged value are ignored. One move appended to a non-empty value is
  // played with Draw on (and refused as a whole if illegal); anything else is replayed from the
  // initial position, dropping the moves that are illegal at their turn.
  void SetProcess(const std::string& S);
  const std::string& GivenProcess() const { return GivenProcess_; }
  void SetGivenProcess(const std::string& S) { GivenProcess_ = S; }
  const std::string& InitialProc() const { return InitialProc_; }
  // Black list, one space, white list; sets both set-up strings (each draws).
  void SetInitialProc(const std::string& S);
  const std::string& ArrangedSideP() const { return ArrangedSideP_; }
  const std::string& ArrangedSideN() const { return ArrangedSideN_; }
  // Takes the old set-up stones of that side away and puts the new ones on the current position
  // (no new game); always draws.
  void SetArrangedSideP(const std::string& S);
  void SetArrangedSideN(const std::string& S);
  const std::string& NumProc() const { return NumProc_; }
  // The numbered continuation from move `BaseNum` on: shortening, extending or replacing it
  // plays and numbers the moves.
  void SetNumProc(const std::string& S);
  int16_t BaseNum() const { return BaseNum_; }
  void SetBaseNum(int16_t n) { BaseNum_ = n; }

  int16_t NextMove() const { return NextMove_; }
  void SetNextMove(int16_t v) { NextMove_ = v; }  // plain: the position does not change
  Colour Turn() const { return Turn_; }
  void SetTurn(Colour v);
  Colour FirstToPlay() const { return FirstToPlay_; }
  void SetFirstToPlay(Colour v) { FirstToPlay_ = v; }
  bool FirstToPlayByRule() const { return FirstToPlayByRule_; }
  void SetFirstToPlayByRule(bool v) { FirstToPlayByRule_ = v; }
  int8_t Handicap() const { return Handicap_; }
  // When changed: places the handicap stones on the current position, redraws the handicap
  // and komi lines and, for Go, sets `Atone` (2 x handicap above 1, 11 for 0, 0 otherwise).
  void SetHandicap(int8_t v);
  int32_t Atone() const { return Atone_; }
  void SetAtone(int32_t v) { Atone_ = v; }
  int16_t LastP() const { return LastP_; }
  int16_t LastQ() const { return LastQ_; }
  void SetLastP(int16_t v) { LastP_ = v; }
  void SetLastQ(int16_t v) { LastQ_ = v; }
  Colour LastColour() const { return LastColour_; }
  int16_t LastCaptures() const { return LastCaptures_; }
  bool Modified() const { return Modified_; }
  void SetModified(bool v) { Modified_ = v; }

  int8_t Winner() const { return Winner_; }
  // When changed: store and redraw the result line.
  void SetWinner(int8_t v);
  int8_t WinReason() const { return WinReason_; }
  void SetWinReason(int8_t v) { WinReason_ = v; }
  int8_t JudgedWinner() const { return JudgedWinner_; }
  int16_t AreaB() const { return AreaB_; }
  int16_t AreaW() const { return AreaW_; }
  void SetAreaB(int16_t v) { AreaB_ = v; }
  void SetAreaW(int16_t v) { AreaW_ = v; }
  const std::string& sResult() const { return sResult_; }
  void SetsResult(const std::string& v) { sResult_ = v; }
  bool GameOver() const { return GameOver_; }
  void SetGameOver(bool v) { GameOver_ = v; }  // plain: does not count

  // Mode flags (plain stores); see the play states of the component.
  int8_t Mode() const { return Mode_; }
  void SetMode(int8_t v) { Mode_ = v; }
  bool SingleMode() const { return SingleMode_; }
  void SetSingleMode(bool v) { SingleMode_ = v; }
  int8_t SelfSide() const { return SelfSide_; }
  void SetSelfSide(int8_t v) { SelfSide_ = v; }
  bool NewMoveEnabled() const { return NewMoveEnabled_; }
  void SetNewMoveEnabled(bool v) { NewMoveEnabled_ = v; }
  bool Review() const { return Review_; }
  void SetReview(bool v) { Review_ = v; }
  bool Study() const { return Study_; }
  void SetStudy(bool v) { Study_ = v; }
  bool StudyEnabled() const { return StudyEnabled_; }
  void SetStudyEnabled(bool v) { StudyEnabled_ = v; }
  bool AllowStudy() const { return AllowStudy_; }
  void SetAllowStudy(bool v) { AllowStudy_ = v; }
  bool Interactive() const { return Interactive_; }
  void SetInteractive(bool v) { Interactive_ = v; }

  int8_t Language() const { return Language_; }
  // 0 Simplified Chinese, 1 Traditional Chinese, 2 English; others and an unchanged value are
  // ignored. Sets the tooltip `Hint` to Hint0/1/2 and repaints.
  void SetLanguage(int8_t v);
  const std::string& Hint0() const { return Hint0_; }
  const std::string& Hint1() const { return Hint1_; }
  const std::string& Hint2() const { return Hint2_; }
  void SetHint0(const std::string& v) { Hint0_ = v; }
  void SetHint1(const std::string& v) { Hint1_ = v; }
  void SetHint2(const std::string& v) { Hint2_ = v; }
  // The tooltip text chosen by the last `Language` change.
  const std::string& Hint() const { return Hint_; }
  // Passes a Chinese text the component is about to show through `OnToBig5` while `Language`
  // is 1 and the event is assigned; returns it unchanged otherwise.
  std::string ChineseText(std::string text);

  const std::string& FileName() const { return FileName_; }
  void SetFileName(const std::string& v) { FileName_ = v; }
  static std::string LattixVersion() { return "02"; }

  // ---- Game record and information values -----------------------------------------------------

  // The record line of the current game, dated now (see RecordClock).
  std::string ManualString() const;
  // Loads a record; an unreadable one is ignored. Returns whether it was loaded.
  bool SetManualString(const std::string& record);
  // Local time used to date a record; tests replace it.
  std::function<std::tm()> RecordClock;

  const std::string& Event() const { return Event_; }
  void SetEvent(const std::string& v);
  int32_t Fee() const { return Fee_; }
  void SetFee(int32_t v);
  int32_t TimeLimit() const { return TimeLimit_; }
  // Also sets both sides' remaining time.
  void SetTimeLimit(int32_t v);
  int16_t MoveLimit() const { return MoveLimit_; }
  // Also sets both sides' remaining move counts.
  void SetMoveLimit(int16_t v);
  int16_t ByoYomiLimit() const { return ByoYomiLimit_; }
  void SetByoYomiLimit(int16_t v) { ByoYomiLimit_ = v; }
  int8_t ByoYomiCount() const { return ByoYomiCount_; }
  void SetByoYomiCount(int8_t v) { ByoYomiCount_ = v; }
  int8_t Bold() const { return Bold_; }
  void SetBold(int8_t v) { Bold_ = v; }
  bool NotBother() const { return NotBother_; }
  void SetNotBother(bool v);
  // side 0 black, 1 white; other values read as white.
  const std::string& PlayerName(int side) const { return PlayerName_[side == 0 ? 0 : 1]; }
  void SetPlayerName(int side, const std::string& v) { PlayerName_[side == 0 ? 0 : 1] = v; }
  int32_t TimeLeft(int side) const { return TimeLeft_[side == 0 ? 0 : 1]; }
  int16_t MovesLeft(int side) const { return MovesLeft_[side == 0 ? 0 : 1]; }

  int8_t Handicapped() const { return 0; }
  int8_t MovesAtFirst() const { return 0; }
  bool Exchanged() const { return Exchanged_; }
  void SetExchanged(bool v) { Exchanged_ = v; }
  int16_t MoveCount() const { return MoveCount_; }
  void SetMoveCount(int16_t v) { MoveCount_ = v; }
  int16_t TakebackCount() const { return TakebackCount_; }
  void SetTakebackCount(int16_t v) { TakebackCount_ = v; }
  bool bBeep() const { return bBeep_; }
  void SetbBeep(bool v) { bBeep_ = v; }

  // ---- Events (optional; an unassigned one is skipped) ----------------------------------------

  TMoveEvent OnLegalMove;
  TClickAtOpponentsTurnEvent OnClickAtOpponentsTurn;
  TLastMoveClickEvent OnLastMoveClick;
  TJudgeEvent OnJudge;
  TToBig5Event OnToBig5;
  TWinnerGotEvent OnWinnerGot;
  TMoveEvent OnFirstMoveNot88;
  TMoveEvent OnSymmetricalPoint;
  TMoveEvent OnThreeFoldMove;
  TWuziEvent OnFifthMoveDone;
  TWuziEvent OnExtraMoveDone;

  // ---- Testing aid ----------------------------------------------------------------------------

  // Forces every move through the whole-board scan of the rules, as a reference for the fast
  // path that follows chains. Both give identical positions, labels and move lists.
  void SetReferenceRules(bool on) { referenceRules_ = on; }

 private:
  static constexpr int kCells = kGridSize * kGridSize;
  static constexpr int kMaxLabel = 19 * 19;  // labels never exceed N x M

  static constexpr int Idx(int p, int q) { return p * kGridSize + q; }
  static bool InGrid(int p, int q) { return p >= 0 && p < kGridSize && q >= 0 && q < kGridSize; }

  // Move rules: the fast path follows the chains next to the move and is valid while the
  // position is "clean" (see Recheck); the reference path scans the whole board exactly as the
  // rules are written and works on any cell contents.
  bool PlayStoneFast(int P, int Q, bool Draw);
  bool PlayStoneReference(int P, int Q, bool Draw);
  int CheckStoneFast(int P, int Q);
  int CheckStoneReference(int P, int Q);
  // Decides a stone of Turn on (P, Q) against the chains around it; fills the captured chains.
  struct FastVerdict {
    bool legal = false;
    int captures = 0;
    int capturedLabels[4] = {0, 0, 0, 0};
    int capturedCount = 0;
    int lastCaptured = -1;  // grid index of the captured stone found last in scan order
  };
  FastVerdict JudgeFast(int idx) const;
  bool ChainHasLibertyExcept(int label, int except) const;
  void PlacePass(bool Draw);
  void RecordMove(int P, int Q, int captures, bool Draw);
  // Literal label assignment over the label grid.
  void AssignLabelReference(Colour x, int P, int Q);
  // Label assignment on the chain lists (clean positions only); same labels as the reference.
  void AssignLabelFast(Colour x, int idx);
  void RemoveChainFast(int label, bool Draw);
  void ClearLabelBookkeeping();
  // Decides whether the position is clean: every non-empty cell a stone inside the playing
  // area, labels exactly the chains, every chain with a liberty. Rebuilds the chain lists when
  // it is; the fast path is used only then.
  void Recheck();
  // Gives every chain its own label where set-up strings left one label on several chains.
  void SplitSharedLabels();
  int SmallestFreeLabelFast() const;

  void ApplySetup(const std::string& list, Colour side, bool Draw);
  void RemoveSetup(const std::string& list);
  void SetArranged(std::string& field, const std::string& S, Colour side);
  // Five-in-a-row and the chess kinds (lattix_kinds.cpp).
  enum class ExchangeStep : uint8_t { kNone, kWhitePass, kSecondCandidate, kRemoval, kBlackPass };
  bool PlayFiveMove(int P, int Q, bool Draw);
  int CheckFiveMove(int P, int Q) const;
  bool ExchangeOn() const;
  ExchangeStep CurrentExchangeStep() const;
  bool ProcessPoint(int move, int& p, int& q) const;
  bool IsSymmetricalCandidate(int P, int Q) const;
  void RemoveCandidate(int P, int Q, bool Draw);
  void FiveRefusal(const TMoveEvent& event, const char* english, const char* chinese, int P, int Q);
  void FiveWinner(int8_t winner, int8_t reason, bool Draw);
  int TakeBackTarget() const;
  void LayOutStartingTable();

  void ClearNumbering(std::size_t keep);
  void PlayNumbered(const std::string& S, std::size_t from, bool Draw);
  void SetGeometryForKind(int16_t kind);

  LattixView* view_;

  std::array<Colour, kCells> cell_{};
  std::array<int16_t, kCells> label_{};
  std::array<int32_t, kCells> stoneNumber_{};
  std::array<uint32_t, kCells> markColor_{};
  std::array<uint8_t, kCells> onBoard_{};

  // Chain bookkeeping of the fast path: a circular list of each chain's stones, one stone of
  // each label and the number of stones holding it.
  bool clean_ = false;
  bool referenceRules_ = false;
  // Set while GoToMove replays: refused moves stay silent, events and the automatic passes of
  // five-in-a-row's opening exchange wait for live moves.
  bool replaying_ = false;
  // Chess kinds: per side (0 positive, 1 negative) the moved-piece flags.
  std::array<std::array<bool, 3>, 2> piecesMoved_{};
  std::array<int16_t, kCells> nextInChain_{};
  std::array<int16_t, kMaxLabel + 1> labelHead_{};
  std::array<int16_t, kMaxLabel + 1> labelSize_{};

  int16_t GameKind_ = kGo;
  int N_ = 19;
  int M_ = 19;
  std::string Process_;
  std::string GivenProcess_;
  std::string InitialProc_;
  std::string ArrangedSideP_;
  std::string ArrangedSideN_;
  std::string NumProc_;
  int16_t BaseNum_ = 1;
  int16_t NextMove_ = 1;
  Colour Turn_ = kBlack;
  Colour FirstToPlay_ = kBlack;
  bool FirstToPlayByRule_ = true;
  int8_t Handicap_ = 0;
  int32_t Atone_ = 15;
  int16_t LastP_ = 0;
  int16_t LastQ_ = 0;
  Colour LastColour_ = 0;
  int16_t LastCaptures_ = 0;
  bool Modified_ = false;
  int8_t Winner_ = kNoWinner;
  int8_t WinReason_ = 0;
  int8_t JudgedWinner_ = kDraw;
  int16_t AreaB_ = 0;
  int16_t AreaW_ = 0;
  std::string sResult_;
  bool GameOver_ = false;
  int8_t Mode_ = 0;
  bool SingleMode_ = true;
  int8_t SelfSide_ = 0;
  bool NewMoveEnabled_ = true;
  bool Review_ = false;
  bool Study_ = false;
  bool StudyEnabled_ = true;
  bool AllowStudy_ = false;
  bool Interactive_ = false;
  int8_t Language_ = 0;
  std::string Hint0_, Hint1_, Hint2_, Hint_;
  std::string FileName_;
  std::string Event_;
  int32_t Fee_ = 0;
  int32_t TimeLimit_ = 0;
  int16_t MoveLimit_ = 0;
  int16_t ByoYomiLimit_ = 0;
  int8_t ByoYomiCount_ = 0;
  int8_t Bold_ = 2;
  bool NotBother_ = false;
  std::string PlayerName_[2];
  int32_t TimeLeft_[2] = {0, 0};
  int16_t MovesLeft_[2] = {0, 0};
  bool Exchanged_ = false;
  int16_t MoveCount_ = 0;
  int16_t TakebackCount_ = 0;
  bool bBeep_ = false;
};

}  // namespace zendra
