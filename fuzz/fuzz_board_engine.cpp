// Arbitrary bytes against the board engine: the string setters (`Process`, `InitialProc`,
// `NumProc`, the set-up lists, the game record) and a mixed sequence of board operations with
// any coordinates and values, in every game kind (five-in-a-row's rules and opening exchange,
// the chess kinds' refusals).
//
// Two engines take every operation: one on the normal rules, one forced through the
// whole-board reference rules. After each operation both must agree on every return value,
// every redraw and the whole visible state, and cheap invariants must hold; any violation
// traps.
//
// Input: a sequence of operations, each an opcode byte followed by its operands. Small integers
// are single bytes; a coordinate byte of 0xF0 and above is followed by a full 32-bit value, so
// far-off points (negative, huge) are reachable. Strings are a length byte and that many bytes,
// either raw or mapped onto the point letters '@'..'T' (0 to 20) so lists of real points come
// up often.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "board/engine/chess_kinds.h"
#include "board/engine/lattix_engine.h"

namespace zendra {
namespace {

// Trap in every build type: the fuzzer reports it as a crash with the input that caused it.
#define FUZZ_CHECK(cond)           \
  do {                             \
    if (!(cond)) __builtin_trap(); \
  } while (false)

class Bytes {
 public:
  Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool Bool() { return (Byte() & 1) != 0; }
  int32_t Int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int32_t>(v);
  }
  int16_t Int16() {
    const int high = Byte();
    return static_cast<int16_t>((high << 8) | Byte());
  }
  // -1..21 mostly (the grid and one step beyond it), any 32-bit value now and then.
  int Coordinate() {
    const uint8_t b = Byte();
    return b < 0xF0 ? b % 23 - 1 : Int32();
  }
  // 0..239 mostly, any 32-bit value now and then.
  int32_t Count() {
    const uint8_t b = Byte();
    return b < 0xF0 ? b : Int32();
  }
  std::string Raw() {
    std::string s;
    const std::size_t n = Byte();
    for (std::size_t i = 0; i < n && !Empty(); ++i) s += static_cast<char>(Byte());
    return s;
  }
  // Letters '@'..'T' and now and then a space (the separator of `InitialProc`).
  std::string Letters() {
    std::string s;
    const std::size_t n = Byte();
    for (std::size_t i = 0; i < n && !Empty(); ++i) {
      const uint8_t b = Byte();
      s += b == 0xFF ? ' ' : static_cast<char>('@' + b % 21);
    }
    return s;
  }
  std::string String(bool letters) { return letters ? Letters() : Raw(); }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A small deterministic generator (xorshift) for the move sequences the input seeds.
class XorShift {
 public:
  explicit XorShift(uint32_t seed) : x_(seed * 2654435761u + 1) {}
  uint32_t Next() {
    x_ ^= x_ << 13;
    x_ ^= x_ >> 17;
    x_ ^= x_ << 5;
    return x_;
  }

 private:
  uint32_t x_;
};

// Every redraw call as a number, so the two engines' redraws can be compared in order.
class LogView : public LattixView {
 public:
  std::vector<int32_t> calls;
  void DrawStone(int p, int q) override { Add(1, p, q); }
  void DrawEmptyPoint(int p, int q) override { Add(2, p, q); }
  void DrawLastMoveMark(int p, int q) override { Add(3, p, q); }
  void DrawTurnArrow() override { Add(4, 0, 0); }
  void DrawPoints() override { Add(5, 0, 0); }
  void DrawBoard() override { Add(6, 0, 0); }
  void Invalidate() override { Add(7, 0, 0); }
  void GeometryChanged() override { Add(8, 0, 0); }
  void DrawInfoLine(InfoLine line) override { Add(9, static_cast<int>(line), 0); }

 private:
  void Add(int kind, int p, int q) {
    // The engine only ever draws points of the grid.
    FUZZ_CHECK(p >= 0 && p < kGridSize && q >= 0 && q < kGridSize);
    calls.push_back(kind * 10000 + p * 100 + q);
  }
};

// Everything an owner can read back from the engine.
struct Snapshot {
  std::array<Colour, kGridSize * kGridSize> cells{};
  std::array<int, kGridSize * kGridSize> labels{};
  std::array<int32_t, kGridSize * kGridSize> numbers{};
  std::array<uint32_t, kGridSize * kGridSize> marks{};
  std::string process, given, initial, arrangedP, arrangedN, numProc, result;
  int nextMove = 0, turn = 0, lastP = 0, lastQ = 0, lastColour = 0, lastCaptures = 0;
  int kind = 0, n = 0, m = 0, handicap = 0, atone = 0, winner = 0, judged = 0;
  int areaB = 0, areaW = 0, baseNum = 0, firstToPlay = 0;
  bool modified = false, gameOver = false;

  bool operator==(const Snapshot&) const = default;

  static Snapshot Of(const LattixEngine& e) {
    Snapshot s;
    for (int p = 0; p < kGridSize; ++p)
      for (int q = 0; q < kGridSize; ++q) {
        const int i = p * kGridSize + q;
        s.cells[i] = e.GetPoint(p, q);
        s.labels[i] = e.Label(p, q);
        s.numbers[i] = e.StoneNumber(p, q);
        s.marks[i] = e.MarkColor(p, q);
      }
    s.process = e.Process();
    s.given = e.GivenProcess();
    s.initial = e.InitialProc();
    s.arrangedP = e.ArrangedSideP();
    s.arrangedN = e.ArrangedSideN();
    s.numProc = e.NumProc();
    s.result = e.sResult();
    s.nextMove = e.NextMove();
    s.turn = e.Turn();
    s.lastP = e.LastP();
    s.lastQ = e.LastQ();
    s.lastColour = e.LastColour();
    s.lastCaptures = e.LastCaptures();
    s.kind = e.GameKind();
    s.n = e.N();
    s.m = e.M();
    s.handicap = e.Handicap();
    s.atone = e.Atone();
    s.winner = e.Winner();
    s.judged = e.JudgedWinner();
    s.areaB = e.AreaB();
    s.areaW = e.AreaW();
    s.baseNum = e.BaseNum();
    s.firstToPlay = e.FirstToPlay();
    s.modified = e.Modified();
    s.gameOver = e.GameOver();
    return s;
  }
};

bool IsBorder(int p, int q) { return p == 0 || q == 0 || p == kGridSize - 1 || q == kGridSize - 1; }

// The pass point of a game kind: (20, 20) in Go and five-in-a-row, a first value of 90 in the
// chess kinds.
bool IsPass(int kind, int p, int q) {
  return (kind == kGo || kind == kFiveInARow) ? p == kPassCoord && q == kPassCoord : p == 90;
}

// A record line with the field layout the loader accepts, its values taken from the input, so
// that loading gets past the field checks often.
std::string StructuredRecord(Bytes& in) {
  std::string r = "02VexGame" + std::to_string(in.Byte() % 6);
  r += " 2024/01/01-00:00:00 " + std::to_string(in.Byte() % 12);
  r += " " + in.Letters() + " " + in.Letters();
  for (int f = 5; f <= 13; ++f) r += " " + std::to_string(in.Byte());
  r += " " + std::to_string(in.Byte() % 10) + " " + in.Letters();
  return r;
}

enum Op : uint8_t {
  kPlayGoMove,
  kPlayMove,
  kCheckGoMove,
  kPass,
  kTakeBack,
  kGoToMove,
  kNewGame,
  kSetPoint,
  kSetTurn,
  kSetFirstToPlay,
  kSetHandicap,
  kSetGameKind,
  kSetGameOver,
  kSetWinner,
  kSetReview,
  kToggleDead,
  kCountResult,
  kSetLanguage,
  kNumberStones,
  kMarkPoints,
  kClearMarks,
  kSetArrangedSideP,
  kSetArrangedSideN,
  kSetInitialProc,
  kSetProcess,
  kSetGivenProcess,
  kSetNumProc,
  kSetManualString,
  kSetStructuredRecord,
  kRandomMoves,
  kFiveInRowGame,
  kOpCount
};

class Harness {
 public:
  Harness() {
    fast_.SetView(&fastView_);
    ref_.SetView(&refView_);
    ref_.SetReferenceRules(true);
    // Both engines date records alike.
    fast_.RecordClock = ref_.RecordClock = [] { return std::tm{}; };
    // Five-in-a-row's events, counted: replays must stay silent.
    for (LattixEngine* e : {&fast_, &ref_}) {
      int& count = e == &fast_ ? fastEvents_ : refEvents_;
      auto move = [&count](LattixEngine*, int16_t, int16_t, int16_t, int16_t, bool) { ++count; };
      e->OnFirstMoveNot88 = move;
      e->OnSymmetricalPoint = move;
      e->OnWinnerGot = [&count](LattixEngine*, int16_t, int16_t, bool) { ++count; };
      e->OnFifthMoveDone = [&count](LattixEngine*, bool) { ++count; };
      e->OnExtraMoveDone = [&count](LattixEngine*, bool) { ++count; };
    }
  }

  void Run(Bytes& in) {
    // Operations per input are bounded so that a long input cannot replay for ever.
    for (int ops = 0; ops < 512 && !in.Empty(); ++ops) Step(in);
  }

 private:
  // Applies f to both engines; the results must agree.
  template <typename F>
  auto Both(F f) {
    const auto a = f(fast_);
    const auto b = f(ref_);
    FUZZ_CHECK(a == b);
    return a;
  }
  template <typename F>
  void BothVoid(F f) {
    f(fast_);
    f(ref_);
  }

  // The position was rebuilt from the initial one: `Process` and `NextMove` agree again and
  // nothing a raw cell write left behind survives.
  void Rebuilt() {
    inStep_ = true;
    rawBorder_ = false;
    rawOutside_ = false;
  }

  void Step(Bytes& in) {
    const uint8_t code = in.Byte();
    const Op op = static_cast<Op>(code % kOpCount);
    const bool letters = (code & 0x80) == 0;  // strings mostly as point letters
    const Snapshot before = Snapshot::Of(fast_);
    fastView_.calls.clear();
    refView_.calls.clear();

    switch (op) {
      case kPlayGoMove:
      case kPlayMove: {
        const int p = in.Coordinate(), q = in.Coordinate();
        const bool draw = in.Bool();
        if (op == kPlayMove && before.kind != kGo) {
          KindMove(before, p, q, draw);
          break;
        }
        const int check = Both([&](LattixEngine& e) { return e.CheckGoMove(p, q); });
        FUZZ_CHECK(Snapshot::Of(fast_) == before);  // the check changes nothing
        FUZZ_CHECK(fastView_.calls.empty());
        FUZZ_CHECK(check >= -1 && check <= fast_.N() * fast_.M());
        const bool played = Both([&](LattixEngine& e) {
          return op == kPlayGoMove ? e.PlayGoMove(p, q, draw) : e.PlayMove(p, q, draw);
        });
        CheckMove(before, p, q, draw, played, check, op == kPlayGoMove || before.kind == kGo);
        break;
      }
      case kCheckGoMove: {
        const int p = in.Coordinate(), q = in.Coordinate();
        const int check = Both([&](LattixEngine& e) { return e.CheckGoMove(p, q); });
        FUZZ_CHECK(check >= -1);
        FUZZ_CHECK(Snapshot::Of(fast_) == before);
        FUZZ_CHECK(fastView_.calls.empty());
        break;
      }
      case kPass: {
        const bool draw = in.Bool();
        const bool played =
            Both([&](LattixEngine& e) { return e.PlayGoMove(kPassCoord, kPassCoord, draw); });
        CheckMove(before, kPassCoord, kPassCoord, draw, played, -1, true);
        break;
      }
      case kTakeBack:
        BothVoid([](LattixEngine& e) { e.TakeBack(); });
        Rebuilt();
        break;
      case kGoToMove: {
        const int n = in.Count();
        const bool fromGiven = in.Bool();
        BothVoid([&](LattixEngine& e) { e.GoToMove(n, fromGiven); });
        Rebuilt();
        break;
      }
      case kNewGame: {
        const bool draw = in.Bool();
        BothVoid([&](LattixEngine& e) { e.NewGame(draw); });
        Rebuilt();
        FUZZ_CHECK(fast_.Process().empty() && fast_.NextMove() == 1);
        break;
      }
      case kSetPoint: {
        const int p = in.Coordinate(), q = in.Coordinate();
        const Colour v = static_cast<Colour>(in.Byte());
        BothVoid([&](LattixEngine& e) { e.SetPoint(p, q, v); });
        if (p >= 0 && p < kGridSize && q >= 0 && q < kGridSize) {
          FUZZ_CHECK(fast_.GetPoint(p, q) == v);
          if (IsBorder(p, q) && v != 0) rawBorder_ = true;
          if (!fast_.IsOnBoard(p, q) && v != 0) rawOutside_ = true;
        }
        break;
      }
      case kSetTurn: {
        const Colour v = static_cast<Colour>(in.Byte());
        BothVoid([&](LattixEngine& e) { e.SetTurn(v); });
        FUZZ_CHECK(fast_.Turn() == v);
        break;
      }
      case kSetFirstToPlay: {
        const Colour v = static_cast<Colour>(in.Byte());
        const bool byRule = in.Bool();
        BothVoid([&](LattixEngine& e) {
          e.SetFirstToPlay(v);
          e.SetFirstToPlayByRule(byRule);
        });
        break;
      }
      case kSetHandicap: {
        const int8_t v = static_cast<int8_t>(in.Byte());
        BothVoid([&](LattixEngine& e) { e.SetHandicap(v); });
        FUZZ_CHECK(fast_.Handicap() == v);
        break;
      }
      case kSetGameKind: {
        const int16_t v = in.Int16();
        BothVoid([&](LattixEngine& e) { e.SetGameKind(v); });
        if (fast_.GameKind() != before.kind) {
          Rebuilt();  // a new game
        }
        FUZZ_CHECK(fast_.GameKind() >= 0 && fast_.GameKind() <= 4);
        break;
      }
      case kSetGameOver: {
        const bool v = in.Bool();
        BothVoid([&](LattixEngine& e) { e.SetGameOver(v); });
        break;
      }
      case kSetWinner: {
        const int8_t v = static_cast<int8_t>(in.Byte());
        BothVoid([&](LattixEngine& e) { e.SetWinner(v); });
        break;
      }
      case kSetReview: {
        const bool v = in.Bool();
        BothVoid([&](LattixEngine& e) { e.SetReview(v); });
        break;
      }
      case kToggleDead: {
        const int p = in.Coordinate(), q = in.Coordinate();
        const bool toggled = Both([&](LattixEngine& e) { return e.ToggleDead(p, q); });
        if (toggled)
          CheckCount();
        else
          FUZZ_CHECK(Snapshot::Of(fast_) == before);
        break;
      }
      case kCountResult:
        BothVoid([](LattixEngine& e) { e.CountResult(); });
        CheckCount();
        break;
      case kSetLanguage: {
        const int8_t v = static_cast<int8_t>(in.Byte());
        BothVoid([&](LattixEngine& e) { e.SetLanguage(v); });
        break;
      }
      case kNumberStones: {
        const std::string list = in.String(letters);
        const int32_t base = in.Int32();
        BothVoid([&](LattixEngine& e) { e.NumberStones(list, base); });
        break;
      }
      case kMarkPoints: {
        const std::string list = in.String(letters);
        const uint32_t colour = static_cast<uint32_t>(in.Int32());
        BothVoid([&](LattixEngine& e) { e.MarkPoints(list, colour); });
        break;
      }
      case kClearMarks:
        BothVoid([](LattixEngine& e) { e.ClearMarks(); });
        for (int p = 0; p < kGridSize; ++p)
          for (int q = 0; q < kGridSize; ++q) FUZZ_CHECK(fast_.MarkColor(p, q) == 0);
        break;
      case kSetArrangedSideP: {
        const std::string s = in.String(letters);
        BothVoid([&](LattixEngine& e) { e.SetArrangedSideP(s); });
        FUZZ_CHECK(fast_.ArrangedSideP() == s);
        break;
      }
      case kSetArrangedSideN: {
        const std::string s = in.String(letters);
        BothVoid([&](LattixEngine& e) { e.SetArrangedSideN(s); });
        FUZZ_CHECK(fast_.ArrangedSideN() == s);
        break;
      }
      case kSetInitialProc: {
        const std::string s = in.String(letters);
        BothVoid([&](LattixEngine& e) { e.SetInitialProc(s); });
        FUZZ_CHECK(fast_.InitialProc() == s);
        break;
      }
      case kSetProcess: {
        const std::string s = in.String(letters);
        BothVoid([&](LattixEngine& e) { e.SetProcess(s); });
        const std::string& old = before.process;
        const bool appended =
            !old.empty() && s.size() == old.size() + 2 && s.compare(0, old.size(), old) == 0;
        if (s == old || s.size() % 2 != 0) {
          FUZZ_CHECK(Snapshot::Of(fast_) == before);
        } else if (!appended) {
          // A replay from the initial position: every move kept was legal at its turn.
          Rebuilt();
          FUZZ_CHECK(fast_.Process().size() <= s.size());
        }
        break;
      }
      case kSetGivenProcess: {
        const std::string s = in.String(letters);
        BothVoid([&](LattixEngine& e) { e.SetGivenProcess(s); });
        break;
      }
      case kSetNumProc: {
        const int16_t base = static_cast<int16_t>(in.Count());
        const std::string s = in.String(letters);
        BothVoid([&](LattixEngine& e) {
          e.SetBaseNum(base);
          e.SetNumProc(s);
        });
        break;
      }
      case kSetManualString:
      case kSetStructuredRecord: {
        const std::string record = op == kSetManualString ? in.Raw() : StructuredRecord(in);
        const bool loaded = Both([&](LattixEngine& e) { return e.SetManualString(record); });
        if (loaded) {
          // The moves are stored without a replay: `Process` and `NextMove` part until the
          // next rebuild.
          inStep_ = false;
          FUZZ_CHECK(fast_.Process() == fast_.GivenProcess());
          FUZZ_CHECK(!fast_.Modified());
          // The fields of a loaded record hold no spaces and no signs, so the record written
          // now loads again and changes nothing.
          const Snapshot loadedState = Snapshot::Of(fast_);
          FUZZ_CHECK(Both([](LattixEngine& e) { return e.SetManualString(e.ManualString()); }));
          FUZZ_CHECK(Snapshot::Of(fast_) == loadedState);
        } else {
          FUZZ_CHECK(Snapshot::Of(fast_) == before);
        }
        break;
      }
      case kRandomMoves:
        RandomMoves(in.Byte(), in.Byte());
        break;
      case kFiveInRowGame: {
        const int8_t handicap = static_cast<int8_t>(in.Byte());
        const bool interactive = in.Bool();
        const int count = in.Byte();
        const uint32_t seed = in.Byte();
        BothVoid([&](LattixEngine& e) {
          e.SetGameKind(kFiveInARow);
          e.SetHandicap(handicap);
          e.SetInteractive(interactive);
          e.NewGame(false);
        });
        Rebuilt();
        FiveInRowGame(count, seed);
        break;
      }
      case kOpCount:
        break;
    }
    CheckInvariants();
  }

  // `count` move attempts at random points of the playing area (now and then a pass) from a
  // generator seeded by `seed`: a cheap way into crowded positions with captures, merges and
  // kos. Each attempt is compared between the engines; the whole state after the last one.
  void RandomMoves(int count, uint32_t seed) {
    XorShift random(seed);
    for (int i = 0; i < count; ++i) {
      const uint32_t r = random.Next();
      const bool pass = r % 50 == 0;
      const int p = pass ? kPassCoord : 1 + static_cast<int>((r >> 8) % 19);
      const int q = pass ? kPassCoord : 1 + static_cast<int>((r >> 16) % 19);
      const int nextMove = fast_.NextMove();
      const int check = Both([&](LattixEngine& e) { return e.CheckGoMove(p, q); });
      const bool played = Both([&](LattixEngine& e) { return e.PlayGoMove(p, q, false); });
      FUZZ_CHECK(fast_.NextMove() == nextMove + (played ? 1 : 0));
      if (played) {
        FUZZ_CHECK(Both([](LattixEngine& e) { return e.LastCaptures(); }) >= 0);
        if (check >= 0) FUZZ_CHECK(fast_.LastCaptures() == check);
      }
      FUZZ_CHECK(Both([](LattixEngine& e) { return e.Turn(); }) == fast_.Turn());
    }
  }

  // A move attempt by `PlayMove` in a game kind other than Go: the chess kinds refuse every
  // move; five-in-a-row plays a stone on a free point (refused only by its rules), a pass, or
  // the removal of an exchange candidate, and answers CheckMove consistently with that.
  void KindMove(const Snapshot& before, int p, int q, bool draw) {
    const int check = Both([&](LattixEngine& e) { return e.CheckMove(p, q); });
    const bool removal = Both([&](LattixEngine& e) { return e.IsRemovableCandidate(p, q); });
    FUZZ_CHECK(Snapshot::Of(fast_) == before);  // the questions change nothing
    FUZZ_CHECK(fastView_.calls.empty());
    const bool played = Both([&](LattixEngine& e) { return e.PlayMove(p, q, draw, true, 1); });
    FUZZ_CHECK(fast_.Modified() == (played && draw));
    Snapshot after = Snapshot::Of(fast_);
    Snapshot unchanged = before;
    unchanged.modified = after.modified;
    if (before.kind != kFiveInARow) {
      FUZZ_CHECK(check == chess::kRefusedMove && !played && after == unchanged);
      return;
    }
    FUZZ_CHECK(check >= -1 && check <= 1);
    if (!played) {
      FUZZ_CHECK(after == unchanged);
      return;
    }
    FUZZ_CHECK(after.nextMove == before.nextMove + 1 || after.nextMove == before.nextMove + 2);
    const bool pass = IsPass(kFiveInARow, p, q);
    const int idx = pass ? -1 : p * kGridSize + q;
    if (removal) {
      // The candidate leaves the board, and black's pass is recorded with it.
      FUZZ_CHECK(before.cells[idx] != 0 && after.cells[idx] == 0);
      FUZZ_CHECK(after.nextMove == before.nextMove + 2);
      after.cells[idx] = before.cells[idx];
      FUZZ_CHECK(after.cells == before.cells);
      return;
    }
    if (!pass) {
      // A stone of the side to move on a free point of the board, and nothing else changed.
      FUZZ_CHECK(check != -1 && before.cells[idx] == 0);
      FUZZ_CHECK(after.cells[idx] == (before.turn > 0 ? kBlack : kWhite));
      after.cells[idx] = 0;
      // A forbidden point is played only below the refusing threshold, and loses up to 3.
      if (check == 1) {
        FUZZ_CHECK(before.handicap < 5);
        if (before.handicap <= 3) FUZZ_CHECK(after.winner == kWhiteWon && fast_.WinReason() == 4);
      }
    }
    FUZZ_CHECK(after.cells == before.cells);
  }

  // `count` five-in-a-row move attempts from a generator seeded by `seed`, mostly near the
  // centre (so rows, threes and fours form), now and then a pass or a point anywhere, the first
  // mostly on the centre. Then the game is replayed from its move list: the replay must give
  // the very position the live moves made, silently.
  void FiveInRowGame(int count, uint32_t seed) {
    XorShift random(seed);
    for (int i = 0; i < count; ++i) {
      const uint32_t r = random.Next();
      int p = 4 + static_cast<int>((r >> 8) % 9), q = 4 + static_cast<int>((r >> 16) % 9);
      if (r % 40 == 0) p = q = kPassCoord;
      if (r % 40 == 1) p = 1 + static_cast<int>((r >> 4) % 15), q = 1 + static_cast<int>(r % 15);
      if (fast_.NextMove() == 1 && r % 8 != 0) p = q = 8;
      const Snapshot before = Snapshot::Of(fast_);
      fastView_.calls.clear();
      refView_.calls.clear();
      KindMove(before, p, q, (r & 0x80) != 0);
      CheckInvariants();
    }
    if (fast_.Review()) return;  // a review keeps `Winner` across the replay's new game
    Snapshot live = Snapshot::Of(fast_);
    live.modified = false;
    const int events = fastEvents_;
    BothVoid([&](LattixEngine& e) { e.GoToMove(e.NextMove() - 1, false); });
    FUZZ_CHECK(Snapshot::Of(fast_) == live);
    FUZZ_CHECK(fastEvents_ == events);
  }

  // A move attempt at (p, q) by `PlayGoMove` (or `PlayMove` when goRules is false and the game
  // is not Go); check is CheckGoMove's answer just before it.
  void CheckMove(const Snapshot& before, int p, int q, bool draw, bool played, int check,
                 bool goRules) {
    FUZZ_CHECK(fast_.Modified() == (played && draw));
    const Snapshot after = Snapshot::Of(fast_);
    // The whole-board rules clear the grid's border while they count liberties, legal move or
    // not: whatever a caller stored there may be gone, and nothing else appears there.
    Snapshot expected = before;
    expected.modified = false;
    for (int i = 0; i < kGridSize * kGridSize; ++i)
      if (IsBorder(i / kGridSize, i % kGridSize)) {
        FUZZ_CHECK(after.cells[i] == before.cells[i] || after.cells[i] == 0);
        expected.cells[i] = after.cells[i];
      }
    if (!played) {
      FUZZ_CHECK(after == expected);
      // Only a full move counter refuses a legal stone.
      if (check >= 0) FUZZ_CHECK(before.nextMove > kMaxMoves || !goRules);
      return;
    }
    FUZZ_CHECK(goRules);
    FUZZ_CHECK(after.nextMove == before.nextMove + 1);
    FUZZ_CHECK(after.process.size() == before.process.size() + 2);
    FUZZ_CHECK(after.turn == Opponent(static_cast<Colour>(before.turn)));
    FUZZ_CHECK(after.lastColour == before.turn);
    if (inStep_) FUZZ_CHECK(after.process.compare(0, before.process.size(), before.process) == 0);
    if (IsPass(before.kind, p, q)) {
      FUZZ_CHECK(after.lastP == kPassCoord && after.lastQ == kPassCoord);
      FUZZ_CHECK(after.lastCaptures == 0);
      FUZZ_CHECK(after.cells == before.cells);
      if (inStep_) FUZZ_CHECK(after.process.substr(before.process.size()) == kPassLetters);
      return;
    }
    FUZZ_CHECK(after.lastP == p && after.lastQ == q);
    if (inStep_)
      FUZZ_CHECK(after.process.substr(before.process.size()) ==
                 std::string({CoordToLetter(p, before.kind), CoordToLetter(q, before.kind)}));
    // A stone: it stands on (p, q), and exactly the captured stones left the board. (The chess
    // kinds count from 0, so their first row and column lie on the border, and the border
    // clearing takes a stone played there away at once.)
    const int idx = p * kGridSize + q;
    if (!IsBorder(p, q)) FUZZ_CHECK(after.cells[idx] == before.turn);
    int removed = 0;
    for (int i = 0; i < kGridSize * kGridSize; ++i) {
      if (i == idx || after.cells[i] == expected.cells[i]) continue;
      FUZZ_CHECK(after.cells[i] == 0 && OppositeSides(before.cells[i], before.turn));
      ++removed;
    }
    FUZZ_CHECK(after.lastCaptures == removed);
    if (check >= 0) FUZZ_CHECK(check == removed);
  }

  void CheckCount() {
    FUZZ_CHECK(fast_.AreaB() + fast_.AreaW() == fast_.N() * fast_.M());
    FUZZ_CHECK(fast_.JudgedWinner() >= kBlackWon && fast_.JudgedWinner() <= kDraw);
    FUZZ_CHECK(!fast_.sResult().empty());
  }

  void CheckInvariants() {
    // The reference rules see the same game and drew the same.
    FUZZ_CHECK(Snapshot::Of(fast_) == Snapshot::Of(ref_));
    FUZZ_CHECK(fastView_.calls == refView_.calls);
    FUZZ_CHECK(fastEvents_ == refEvents_);

    FUZZ_CHECK(fast_.NextMove() >= 1 && fast_.NextMove() <= kMaxMoves + 1);
    if (inStep_)
      FUZZ_CHECK(fast_.Process().size() == 2u * static_cast<unsigned>(fast_.NextMove() - 1));

    // Off the grid there is nothing to read.
    static constexpr int kFar[][2] = {{-1, 0},        {0, -1},        {kGridSize, 3},
                                      {3, kGridSize}, {INT32_MIN, 0}, {0, INT32_MAX}};
    for (const auto& f : kFar) {
      FUZZ_CHECK(fast_.GetPoint(f[0], f[1]) == 0 && fast_.Label(f[0], f[1]) == 0);
      FUZZ_CHECK(fast_.StoneNumber(f[0], f[1]) == 0 && fast_.MarkColor(f[0], f[1]) == 0);
    }
    // No rule of any kind puts anything outside its board; only raw cell writes can.
    if (!rawOutside_) {
      for (int p = 0; p < kGridSize; ++p)
        for (int q = 0; q < kGridSize; ++q)
          if (!fast_.IsOnBoard(p, q)) FUZZ_CHECK(fast_.GetPoint(p, q) == 0);
    }
    // In Go no rule ever puts anything on the border; only raw cell writes can.
    if (fast_.GameKind() == kGo && !rawBorder_) {
      for (int i = 0; i < kGridSize; ++i) {
        FUZZ_CHECK(fast_.GetPoint(0, i) == 0 && fast_.GetPoint(kGridSize - 1, i) == 0);
        FUZZ_CHECK(fast_.GetPoint(i, 0) == 0 && fast_.GetPoint(i, kGridSize - 1) == 0);
      }
    }
  }

  LattixEngine fast_, ref_;
  LogView fastView_, refView_;
  bool inStep_ = true;      // `Process` holds exactly `NextMove` - 1 moves
  bool rawBorder_ = false;  // SetPoint wrote a border cell since the last rebuild
  bool rawOutside_ = false;  // SetPoint wrote a cell off the board since the last rebuild
  int fastEvents_ = 0, refEvents_ = 0;
};

}  // namespace
}  // namespace zendra

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zendra::Bytes in(data, size);
  zendra::Harness harness;
  harness.Run(in);
  return 0;
}
