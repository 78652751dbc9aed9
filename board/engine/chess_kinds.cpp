#include "board/engine/chess_kinds.h"

namespace zendra::chess {

namespace {

// The positive half of each starting table, rows from the top; 0 is an empty point.
constexpr int kChineseChessHalf[5][9] = {
    {kChariot, kHorse, kElephant, kAdvisor, kGeneral, kAdvisor, kElephant, kHorse, kChariot},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, kCannon, 0, 0, 0, 0, 0, kCannon, 0},
    {kSoldier, 0, kSoldier, 0, kSoldier, 0, kSoldier, 0, kSoldier},
    {0, 0, 0, 0, 0, 0, 0, 0, 0},
};

constexpr int kChessHalf[4][8] = {
    {kRook, kKnight, kBishop, kQueen, kKing, kBishop, kKnight, kRook},
    {kPawn, kPawn, kPawn, kPawn, kPawn, kPawn, kPawn, kPawn},
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0},
};

// Army chess has no fixed set-up; this one keeps its rules: the flag in a headquarters, the
// landmines on the two back rows, no bomb on the front row, the camps empty. Twenty-five
// pieces: one each of the two highest ranks and the flag, three captains, lieutenants,
// engineers and landmines, two of every other piece.
constexpr int kArmyChessHalf[6][5] = {
    {kLandmine, kFlag, kLandmine, kCaptain, kLieutenant},
    {kEngineer, kLandmine, kBattalionCommander, kLieutenant, kEngineer},
    {kColonel, 0, kBomb, 0, kBattalionCommander},
    {kBrigadeCommander, kCaptain, 0, kBomb, kBrigadeCommander},
    {kDivisionCommander, 0, kLieutenant, 0, kDivisionCommander},
    {kFieldMarshal, kEngineer, kCaptain, kArmyCommander, kColonel},
};

// A half table with its size; the board is as wide as the table and twice as tall.
struct Half {
  const int* cells = nullptr;
  int columns = 0;
  int rows = 0;
};
template <int Rows, int Columns>
constexpr Half HalfOf(const int (&table)[Rows][Columns]) {
  return {&table[0][0], Columns, Rows};
}

Half HalfTable(int gameKind) {
  switch (gameKind) {
    case 1:
      return HalfOf(kChineseChessHalf);
    case 2:
      return HalfOf(kChessHalf);
    case 4:
      return HalfOf(kArmyChessHalf);
    default:
      return {};
  }
}

}  // namespace

int PieceTypes(int gameKind) {
  switch (gameKind) {
    case 1:
      return 7;
    case 2:
      return 6;
    case 4:
      return 12;
    default:
      return 0;
  }
}

Colour StartingPiece(int gameKind, int p, int q) {
  const Half half = HalfTable(gameKind);
  const int rows = 2 * half.rows;
  if (half.cells == nullptr || p < 0 || p >= half.columns || q < 0 || q >= rows) return 0;
  // The top half is the table; the bottom half mirrors it with the other side's pieces.
  const bool negative = q >= half.rows;
  const int row = negative ? rows - 1 - q : q;
  const int type = half.cells[row * half.columns + p];
  return type == 0 ? Colour{0} : PieceCell(type, negative);
}

bool IsArmyChessCamp(int p, int q) {
  if (p < 0 || p >= 5 || q < 0 || q >= 12) return false;
  const int row = q < 6 ? q : 11 - q;  // counted from the side's back row
  return ((row == 2 || row == 4) && (p == 1 || p == 3)) || (row == 3 && p == 2);
}

bool IsArmyChessHeadquarters(int p, int q) { return (q == 0 || q == 11) && (p == 1 || p == 3); }

}  // namespace zendra::chess
