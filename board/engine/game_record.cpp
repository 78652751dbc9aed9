// The game record line (`ManualString`) and the area count of a finished Go game.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"

namespace zendra {

namespace {

constexpr int kRecordFields = 16;

// Chinese result texts, stored in GB encoding as the rest of the interface texts are.
constexpr const char* kGbBlackWon = "\xBD\xE1\xCA\xF8, \xBA\xDA\xB7\xBD\xBB\xF1\xCA\xA4";  // 结束, 黑方获胜
constexpr const char* kGbWhiteWon = "\xBD\xE1\xCA\xF8, \xB0\xD7\xB7\xBD\xBB\xF1\xCA\xA4";  // 结束, 白方获胜
constexpr const char* kGbDraw = "\xBD\xE1\xCA\xF8, \xBA\xCD\xC6\xE5    ";                 // 结束, 和棋
// Margins below one stone: 1/4子, 半子, 3/4子.
constexpr const char* kGbQuarters[4] = {"", "1/4\xD7\xD3", "\xB0\xEB\xD7\xD3", "3/4\xD7\xD3"};
// After a whole number of stones: 子, 又1/4子, 子半, 又3/4子.
constexpr const char* kGbAfterStones[4] = {"\xD7\xD3", "\xD3\xD6" "1/4\xD7\xD3",
                                           "\xD7\xD3\xB0\xEB", "\xD3\xD6" "3/4\xD7\xD3"};

// Splits a record into its 16 fields: each field runs to the next space; the last field runs
// to a sixteenth space, and whatever follows that is dropped.
std::array<std::string, kRecordFields> SplitRecord(const std::string& record) {
  std::array<std::string, kRecordFields> fields;
  std::size_t pos = 0;
  for (int f = 0; f < kRecordFields && pos <= record.size(); ++f) {
    const std::size_t space = record.find(' ', pos);
    if (space == std::string::npos) {
      fields[f] = record.substr(pos);
      break;
    }
    fields[f] = record.substr(pos, space - pos);
    pos = space + 1;
  }
  return fields;
}

bool IsDigits(const std::string& s, std::size_t minLen, std::size_t maxLen) {
  if (s.size() < minLen || s.size() > maxLen) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::string LattixEngine::ManualString() const {
  const std::tm t = RecordClock ? RecordClock() : std::tm{};
  char date[64];
  std::snprintf(date, sizeof date, "%4.4d/%2.2d/%2.2d-%2.2d:%2.2d:%2.2d", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  const std::vector<std::string> fields = {
      LattixVersion() + "VexGame" + std::to_string(GameKind_),
      date,
      std::to_string(Handicap_),
      PlayerName_[0],
      PlayerName_[1],
      std::to_string(Atone_),
      std::to_string(TimeLimit_),
      std::to_string(MoveLimit_),
      std::to_string(ByoYomiLimit_),
      std::to_string(ByoYomiCount_),
      std::to_string(TimeLeft_[0]),
      std::to_string(TimeLeft_[1]),
      std::to_string(MovesLeft_[0]),
      std::to_string(MovesLeft_[1]),
      std::to_string(Winner_),
      state_.process,
  };
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ' ';
    line += fields[i];
  }
  return line;
}

bool LattixEngine::SetManualString(const std::string& record) {
  const auto f = SplitRecord(record);

  // Check every numeric field before anything changes.
  int kind = 0;
  if (f[0].size() > 2 && f[0].back() >= '0' && f[0].back() <= '9') kind = f[0].back() - '0';
  struct DigitRule {
    int field;
    std::size_t minLen, maxLen;
  };
  static constexpr DigitRule kRules[] = {{2, 1, 2},  {5, 1, 2},  {6, 1, 5},  {7, 1, 3},
                                         {8, 1, 4},  {9, 1, 2},  {10, 1, 5}, {11, 1, 5},
                                         {12, 1, 3}, {13, 1, 3}, {14, 1, 1}};
  for (const DigitRule& r : kRules)
    if (!IsDigits(f[r.field], r.minLen, r.maxLen)) return false;
  auto num = [&](int i) { return std::stoi(f[i]); };  // digits only, at most 5: never throws

  SetGameKind(static_cast<int16_t>(kind));
  const int handicap = num(2);
  if (handicap != Handicap_) {
    view_->DrawBoard();
    Handicap_ = static_cast<int8_t>(handicap);
    NewGame(true);
  }
  PlayerName_[0] = f[3];
  PlayerName_[1] = f[4];
  Atone_ = num(5);
  TimeLimit_ = num(6);
  MoveLimit_ = static_cast<int16_t>(num(7));
  ByoYomiLimit_ = static_cast<int16_t>(num(8));
  ByoYomiCount_ = static_cast<int8_t>(num(9));
  TimeLeft_[0] = num(10);
  TimeLeft_[1] = num(11);
  MovesLeft_[0] = static_cast<int16_t>(num(12));
  MovesLeft_[1] = static_cast<int16_t>(num(13));
  Winner_ = static_cast<int8_t>(num(14));
  // The moves are stored, not replayed: an owner that wants to show them calls GoToMove.
  GivenProcess_ = f[15];
  state_.process = f[15];
  view_->Invalidate();
  Modified_ = false;
  return true;
}

bool LattixEngine::ToggleDead(int p, int q) {
  if (!GameOver_ || Winner_ != kNoWinner || Mode_ != 0 || Review_ || GameKind_ != kGo) return false;
  if (!IsOnBoard(p, q)) return false;
  const int g = state_.label[Idx(p, q)];
  if (g <= 0 || state_.cell[Idx(p, q)] == 0) return false;
  const bool wasDead = (state_.cell[Idx(p, q)] & kDeadBit) != 0;
  for (int pp = 1; pp <= N_; ++pp)
    for (int qq = 1; qq <= M_; ++qq) {
      const int i = Idx(pp, qq);
      if (state_.label[i] != g || state_.cell[i] == 0) continue;
      state_.cell[i] = wasDead ? static_cast<Colour>(state_.cell[i] & kWhite)
                               : static_cast<Colour>(state_.cell[i] | kDeadBit);
      view_->DrawStone(pp, qq);
    }
  CountResult();
  return true;
}

void LattixEngine::CountResult() {
  // 1. Working grid: live stones only (+1 black, -1 white); empty and dead points are 0.
  int B[kGridSize][kGridSize] = {};
  int T[kGridSize][kGridSize] = {};
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      const Colour c = state_.cell[Idx(p, q)];
      if (c != 0 && (c & kDeadBit) == 0) B[p][q] = c > 0 ? 1 : -1;
    }
  // Looks from (p, q) along the four straight lines (rows down, columns right, rows up,
  // columns left) for the first point where value() is not 0; reports which signs it saw.
  auto look = [&](int p, int q, auto value) {
    static constexpr int kDir[4][2] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    bool plus = false, minus = false;
    for (const auto& d : kDir) {
      for (int pp = p + d[0], qq = q + d[1]; pp >= 1 && pp <= N_ && qq >= 1 && qq <= M_;
           pp += d[0], qq += d[1]) {
        const int v = value(pp, qq);
        if (v == 0) continue;
        (v > 0 ? plus : minus) = true;
        break;
      }
    }
    return plus == minus ? 0 : (plus ? 1 : -1);
  };
  // 2. First pass: empty points that see only one colour of stones.
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q)
      if (B[p][q] == 0) T[p][q] = look(p, q, [&](int a, int b) { return B[a][b]; });
  // 3. Second pass: undecided points look at stones and decided territory, including points
  //    decided earlier in this same pass.
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q)
      if (B[p][q] == 0 && T[p][q] == 0)
        T[p][q] = look(p, q, [&](int a, int b) { return B[a][b] + T[a][b]; });
  // 4. Stones and territory per side; the rest is neutral.
  int bs = 0, ws = 0, bt = 0, wt = 0;
  for (int p = 1; p <= N_; ++p)
    for (int q = 1; q <= M_; ++q) {
      bs += B[p][q] == 1;
      ws += B[p][q] == -1;
      bt += T[p][q] == 1;
      wt += T[p][q] == -1;
    }
  const int points = N_ * M_;
  const int d = points - bs - ws - bt - wt;
  // 5. An odd neutral point goes to the side to move.
  int extraB = 0, extraW = 0;
  if (d % 2 != 0) {
    const bool nextOdd = state_.nextMove % 2 != 0;
    const bool toBlack = Handicap_ == 0 ? nextOdd : !nextOdd;
    (toBlack ? extraB : extraW) = 1;
  }
  // 6. Areas.
  const int areaB = bs + bt + d / 2 + extraB;
  const int areaW = ws + wt + d / 2 + extraW;
  // 7.-8. Margin in quarter stones and the winner.
  // 64-bit: `Atone` is a free 32-bit value and must not overflow the margin.
  long long m = 4LL * areaB - 2LL * points;
  if (Handicap_ == 0)
    m -= Atone_;
  else if (Handicap_ >= 2)
    m -= 2LL * Handicap_;
  int8_t winner = kDraw;
  if (m > 0) {
    winner = kBlackWon;
  } else if (m < 0) {
    winner = kWhiteWon;
    m = -m;
  }
  // 9.-10. The result text.
  char head[48];
  std::snprintf(head, sizeof head, "%d vs %d ", areaB, areaW);
  std::string text = head;
  const bool english = Language_ == 2;
  if (english)
    text += winner == kBlackWon ? "Over,Black win" : (winner == kWhiteWon ? "Over,White win" : "Over, Peace   ");
  else
    text += winner == kBlackWon ? kGbBlackWon : (winner == kWhiteWon ? kGbWhiteWon : kGbDraw);
  if (m != 0) {
    const long long w = m / 4;
    const int r = static_cast<int>(m % 4);
    if (Language_ == 0) {
      text += w == 0 ? std::string(kGbQuarters[r]) : std::to_string(w) + kGbAfterStones[r];
    } else {
      if (w > 0) text += std::to_string(w) + "+";
      static constexpr const char* kQuarter[4] = {"", "1/4", "1/2", "3/4"};
      text += kQuarter[r];
    }
  }
  // 11. Traditional Chinese through the owner's converter.
  if (Language_ == 1) text = ChineseText(text);
  // 12. Store and report.
  AreaB_ = static_cast<int16_t>(areaB);
  AreaW_ = static_cast<int16_t>(areaW);
  JudgedWinner_ = winner;
  sResult_ = text;
  if (OnJudge)
    OnJudge(this, JudgedWinner_, AreaB_, AreaW_, static_cast<int16_t>(std::min<long long>(m, INT16_MAX)));
}

}  // namespace zendra
