// The chess kinds of the board (Chinese chess, chess, army chess): piece codes and the starting
// tables.
//
// A cell of a chess kind holds a piece: the sign gives the side, the low four bits the piece
// type. The positive side (the dark pieces: black in chess and Chinese chess, blue in army
// chess) sets up on the top rows, the negative side (white, red) on the bottom rows; a negative
// piece of type t is the byte 0x80 | t, so its low four bits read the same type. Squares and
// points count from 0 in these kinds: column p = 0..N-1 from the left, row q = 0..M-1 from the
// top. Each starting table gives the positive half; the negative half is its mirror image
// across the middle of the board.
#pragma once

#include <cstdint>

#include "board/engine/points.h"

namespace zendra::chess {

// Piece types of chess, and the Chinese chess pieces of the same roles. Type 4 is the piece
// whose capture ends the game.
enum ChessPiece : int {
  kPawn = 1,
  kKnight = 2,
  kBishop = 3,
  kKing = 4,
  kQueen = 5,
  kRook = 6,
};
enum ChineseChessPiece : int {
  kSoldier = 1,
  kHorse = 2,
  kElephant = 3,
  kGeneral = 4,
  kAdvisor = 5,
  kChariot = 6,
  kCannon = 7,
};
// Army chess, from the highest rank down, with the flag (whose capture ends the game) as 4 and
// the pieces without rank at the end.
enum ArmyChessPiece : int {
  kFieldMarshal = 1,
  kArmyCommander = 2,
  kDivisionCommander = 3,
  kFlag = 4,
  kBrigadeCommander = 5,
  kColonel = 6,
  kBattalionCommander = 7,
  kCaptain = 8,
  kLieutenant = 9,
  kEngineer = 10,
  kLandmine = 11,
  kBomb = 12,
};

inline constexpr int kTypeMask = 0x0F;

// True for the kinds whose cells hold pieces: 1 Chinese chess, 2 chess, 4 army chess.
constexpr bool IsChessKind(int gameKind) { return gameKind == 1 || gameKind == 2 || gameKind == 4; }
// The piece type of a cell (0 for an empty one).
constexpr int PieceType(Colour cell) { return static_cast<unsigned char>(cell) & kTypeMask; }
// The cell value of a piece of `type` for the positive or the negative side.
constexpr Colour PieceCell(int type, bool negative) {
  return static_cast<Colour>(negative ? (0x80 | type) : type);
}
// Number of piece types of a chess kind (7, 6 or 12), 0 for other kinds.
int PieceTypes(int gameKind);

// The piece on (p, q) in the starting position of a chess kind; 0 for an empty point, a point
// off that kind's board, or a kind that is not a chess kind.
Colour StartingPiece(int gameKind, int p, int q);

// Army chess camps: the five points on each side where no piece starts and a piece cannot be
// attacked. The board draws them as circles.
bool IsArmyChessCamp(int p, int q);
// Army chess headquarters: the two points of each side's back row.
bool IsArmyChessHeadquarters(int p, int q);

// The moved-piece flags each side keeps for castling.
enum MovedPiece : int {
  kKingMoved = 0,
  kFirstRookMoved = 1,  // the rook that starts on column 0
  kLastRookMoved = 2,   // the rook that starts on the last column
};

// What CheckMove answers for a chess-kind move the board refuses: bit 15 set, no move kind.
inline constexpr int kRefusedMove = -0x8000;

}  // namespace zendra::chess
