// The chess kinds: board sizes, point letters, the starting tables a new game lays out, the
// moved-piece flags, and every move refused.
#include "board/engine/chess_kinds.h"

#include <gtest/gtest.h>

#include <string>

#include "board/engine/lattix_engine.h"

namespace zendra {
namespace {

// The whole board, one line per row from the top: the positive side's pieces in lower case,
// the negative side's in upper case, '.' for an empty point. `letters` names the piece types
// from 1 on.
std::string Board(const LattixEngine& board, const std::string& letters) {
  std::string out;
  for (int q = 0; q < board.M(); ++q) {
    for (int p = 0; p < board.N(); ++p) {
      const Colour c = board.GetPoint(p, q);
      const int type = chess::PieceType(c);
      if (c == 0) {
        out += '.';
      } else if (type < 1 || type > static_cast<int>(letters.size())) {
        out += '?';
      } else {
        const char letter = letters[static_cast<std::size_t>(type - 1)];
        out += c > 0 ? letter : static_cast<char>(letter - 'a' + 'A');
      }
    }
    out += '\n';
  }
  return out;
}

// Piece letters by type: chess p n b k q r; Chinese chess soldier, horse, elephant, general,
// advisor, chariot, cannon; army chess a..l from the field marshal down (d the flag).
constexpr char kChessLetters[] = "pnbkqr";
constexpr char kChineseChessLetters[] = "shegarc";
constexpr char kArmyChessLetters[] = "abcdefghijkl";

TEST(ChessKinds, StartingTables) {
  struct Case {
    int kind;
    const char* letters;
    const char* board;
  };
  const Case cases[] = {
      {kChess, kChessLetters,
       "rnbqkbnr\n"
       "pppppppp\n"
       "........\n"
       "........\n"
       "........\n"
       "........\n"
       "PPPPPPPP\n"
       "RNBQKBNR\n"},
      {kChineseChess, kChineseChessLetters,
       "rheagaehr\n"
       ".........\n"
       ".c.....c.\n"
       "s.s.s.s.s\n"
       ".........\n"
       ".........\n"
       "S.S.S.S.S\n"
       ".C.....C.\n"
       ".........\n"
       "RHEAGAEHR\n"},
      {kArmyChess, kArmyChessLetters,
       "kdkhi\n"
       "jkgij\n"
       "f.l.g\n"
       "eh.le\n"
       "c.i.c\n"
       "ajhbf\n"
       "AJHBF\n"
       "C.I.C\n"
       "EH.LE\n"
       "F.L.G\n"
       "JKGIJ\n"
       "KDKHI\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    LattixEngine board;
    board.SetGameKind(static_cast<int16_t>(c.kind));
    EXPECT_EQ(Board(board, c.letters), c.board);
    // Nothing stands off the board, on its border or beyond.
    for (int p = 0; p < kGridSize; ++p)
      for (int q = 0; q < kGridSize; ++q)
        if (p >= board.N() || q >= board.M()) {
          EXPECT_EQ(board.GetPoint(p, q), 0);
        }
  }
}

// The rules behind the tables, apart from the diagrams: each half is the other's mirror image
// with the side changed, the positive side on top, and each side has one piece of type 4, the
// one whose capture ends the game.
TEST(ChessKinds, StartingTablesKeepTheirRules) {
  for (int kind : {kChineseChess, kChess, kArmyChess}) {
    SCOPED_TRACE(kind);
    LattixEngine board;
    board.SetGameKind(static_cast<int16_t>(kind));
    int kings[2] = {0, 0};
    for (int p = 0; p < board.N(); ++p)
      for (int q = 0; q < board.M(); ++q) {
        const Colour c = board.GetPoint(p, q);
        // Mirror image across the middle, the other side's piece of the same type.
        const Colour mirror = board.GetPoint(p, board.M() - 1 - q);
        EXPECT_EQ(chess::PieceType(c), chess::PieceType(mirror));
        if (c == 0) continue;
        EXPECT_TRUE(OppositeSides(c, mirror));
        // Positive pieces on the top half, negative ones on the bottom half.
        EXPECT_EQ(c > 0, q < board.M() / 2);
        EXPECT_LE(chess::PieceType(c), chess::PieceTypes(kind));
        if (chess::PieceType(c) == 4) ++kings[c > 0 ? 0 : 1];
      }
    // One piece of type 4 (king, general, flag) per side: the piece that ends the game.
    EXPECT_EQ(kings[0], 1);
    EXPECT_EQ(kings[1], 1);
  }
}

TEST(ChessKinds, ArmyChessSetUpFollowsItsRules) {
  LattixEngine board;
  board.SetGameKind(kArmyChess);
  // Pieces per type from the field marshal to the bomb, per side.
  const int expected[13] = {0, 1, 1, 2, 1, 2, 2, 2, 3, 3, 3, 3, 2};
  int count[2][13] = {};
  for (int p = 0; p < 5; ++p)
    for (int q = 0; q < 12; ++q) {
      const Colour c = board.GetPoint(p, q);
      const int row = q < 6 ? q : 11 - q;  // 0 the back row, 5 the front row
      SCOPED_TRACE(std::to_string(p) + "," + std::to_string(q));
      if (chess::IsArmyChessCamp(p, q)) {
        EXPECT_EQ(c, 0);
      }
      if (c == 0) continue;
      const int type = chess::PieceType(c);
      ++count[c > 0 ? 0 : 1][type];
      if (type == chess::kFlag) {
        EXPECT_TRUE(chess::IsArmyChessHeadquarters(p, q));
      }
      if (type == chess::kLandmine) {
        EXPECT_LE(row, 1);
      }
      if (type == chess::kBomb) {
        EXPECT_NE(row, 5);
      }
    }
  for (int side = 0; side < 2; ++side)
    for (int type = 1; type <= 12; ++type) EXPECT_EQ(count[side][type], expected[type]) << type;
}

TEST(ChessKinds, LettersSizesAndPassPerKind) {
  struct Case {
    int kind, n, m;
    char letterOfZero;
  };
  for (const Case& c :
       {Case{kChineseChess, 9, 10, '!'}, Case{kChess, 8, 8, '!'}, Case{kArmyChess, 5, 12, '@'}}) {
    SCOPED_TRACE(c.kind);
    LattixEngine board;
    board.SetGameKind(static_cast<int16_t>(c.kind));
    EXPECT_EQ(board.N(), c.n);
    EXPECT_EQ(board.M(), c.m);
    EXPECT_EQ(board.FileName(), LattixEngine::DefaultFileName(c.kind));
    // Points count from 0.
    EXPECT_TRUE(board.IsOnBoard(0, 0));
    EXPECT_TRUE(board.IsOnBoard(c.n - 1, c.m - 1));
    EXPECT_FALSE(board.IsOnBoard(c.n, 0));
    EXPECT_FALSE(board.IsOnBoard(0, c.m));
    EXPECT_FALSE(board.IsOnBoard(-1, 0));
    // A move names two point indexes p * M + q, each as one letter.
    const int last = c.n * c.m - 1;
    EXPECT_EQ(board.CoordToLetter(0), c.letterOfZero);
    EXPECT_EQ(board.CoordToLetter(last), static_cast<char>(c.letterOfZero + last));
    EXPECT_EQ(board.LetterToCoord(static_cast<char>(c.letterOfZero + last)), last);
    // The pass has the first value 90.
    EXPECT_TRUE(board.IsPassPoint(90, 0));
    EXPECT_FALSE(board.IsPassPoint(20, 20));
  }
}

TEST(ChessKinds, EveryMoveIsRefused) {
  for (int kind : {kChineseChess, kChess, kArmyChess}) {
    SCOPED_TRACE(kind);
    LattixEngine board;
    board.SetGameKind(static_cast<int16_t>(kind));
    const std::string before = Board(board, kArmyChessLetters);
    const int points = board.N() * board.M();
    for (int from = -1; from <= points; ++from)
      for (int to = -1; to <= points; ++to) {
        EXPECT_EQ(board.CheckMove(from, to), chess::kRefusedMove);
        for (int piece = 0; piece < 4; ++piece)
          ASSERT_FALSE(board.PlayMove(from, to, true, piece > 0, piece)) << from << "-" << to;
      }
    EXPECT_FALSE(board.PlayMove(90, 0, true));  // the pass
    EXPECT_EQ(board.CheckMove(0, 0) & 0x8000, 0x8000);
    EXPECT_EQ(Board(board, kArmyChessLetters), before);
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.NextMove(), 1);
    EXPECT_FALSE(board.Modified());
    // A move list replays to nothing.
    board.SetProcess("!*");
    EXPECT_EQ(board.Process(), "");
  }
}

TEST(ChessKinds, NewGameClearsTheMovedFlagsAndLaysTheTableAgain) {
  LattixEngine board;
  board.SetGameKind(kFiveInARow);
  ASSERT_TRUE(board.PlayMove(8, 8, false));
  board.SetGameKind(kChess);
  // The five-in-a-row stone has gone; the chess pieces stand.
  EXPECT_EQ(board.GetPoint(8, 8), 0);
  EXPECT_EQ(chess::PieceType(board.GetPoint(3, 7)), chess::kQueen);
  for (int side = 0; side < 2; ++side)
    for (int which = 0; which < 3; ++which) EXPECT_FALSE(board.PieceMoved(side, which));
  EXPECT_FALSE(board.PieceMoved(2, 0));  // no such side
  // Whatever a caller wrote over the table, a new game lays it out again.
  board.SetPoint(3, 7, 0);
  board.SetPoint(4, 4, chess::PieceCell(chess::kKnight, false));
  board.NewGame(false);
  EXPECT_EQ(chess::PieceType(board.GetPoint(3, 7)), chess::kQueen);
  EXPECT_EQ(board.GetPoint(4, 4), 0);
  // A record of a chess game starts it with its table.
  LattixEngine loaded;
  ASSERT_TRUE(loaded.SetManualString("02VexGame2 2024/01/01-00:00:00 0   15 0 0 0 0 0 0 0 0 9 "));
  EXPECT_EQ(loaded.GameKind(), kChess);
  EXPECT_EQ(chess::PieceType(loaded.GetPoint(4, 0)), chess::kKing);
}

TEST(ChessKinds, PieceCodes) {
  // The sign is the side, the low four bits the type, for either side.
  for (int type = 1; type <= 12; ++type) {
    const Colour positive = chess::PieceCell(type, false);
    const Colour negative = chess::PieceCell(type, true);
    EXPECT_GT(positive, 0);
    EXPECT_LT(negative, 0);
    EXPECT_EQ(chess::PieceType(positive), type);
    EXPECT_EQ(chess::PieceType(negative), type);
    EXPECT_TRUE(OppositeSides(positive, negative));
  }
  // Go's stones read as pieces of type 1 on either side.
  EXPECT_EQ(chess::PieceCell(1, true), kWhite);
  EXPECT_EQ(chess::PieceCell(1, false), kBlack);
  EXPECT_EQ(chess::StartingPiece(kGo, 0, 0), 0);
  EXPECT_EQ(chess::StartingPiece(kChess, 8, 0), 0);
  EXPECT_EQ(chess::StartingPiece(kChess, 0, -1), 0);
}

}  // namespace
}  // namespace zendra
