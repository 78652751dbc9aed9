// The board's other game kinds on the widget: the chess kinds' boards and pieces as pixels, one
// point redrawn exactly as the full paint drew it, five-in-a-row's clicks (the first move, the
// opening exchange's removal), and the pawn promotion dialog.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "board/engine/chess_kinds.h"
#include "board/widget/chess_promote.h"
#include "board/widget/piece_art.h"
#include "tests/board_widget/board_fixture.h"

namespace zendra::test {
namespace {

std::unique_ptr<TLattix> KindBoard(int kind, int radius) {
  auto board = MakeBoard(radius, 20);
  board->SetGameKind(static_cast<int16_t>(kind));
  board->SetRadius(static_cast<int16_t>(radius));  // the kind change fitted it to the old size
  board->resize(board->BoardWidth() + board->DisplayWidth(), board->BoardHeight());
  return board;
}

// The square a piece of the point covers.
QRect PieceBox(TLattix& board, int p, int q) {
  const int r = board.Radius();
  return QRect(board.PointX(p) - r, board.PointY(q) - r, 2 * r + 1, 2 * r + 1);
}

bool IsReddish(QColor c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; }
bool IsBluish(QColor c) { return c.blue() > 110 && c.red() < 80 && c.green() < 100; }

TEST(KindDrawing, ChessSquaresAndPieces) {
  auto board = KindBoard(kChess, 14);
  const QImage& canvas = board->Canvas();
  // Empty squares alternate, the top-left one light.
  for (int q = 2; q <= 5; ++q)
    for (int p = 0; p < 8; ++p) {
      const QColor c = canvas.pixelColor(board->PointX(p), board->PointY(q));
      SCOPED_TRACE(std::to_string(p) + "," + std::to_string(q));
      EXPECT_EQ((p + q) % 2 == 0, c.lightness() > 180) << c.name().toStdString();
    }
  // The black pieces on top are dark, the white ones at the bottom light: colours no square
  // has.
  auto white = [](QColor c) { return c.lightness() > 235; };
  for (int p = 0; p < 8; ++p) {
    const QRect empty = PieceBox(*board, p, 3);
    EXPECT_EQ(CountPixels(canvas, empty, IsDark) + CountPixels(canvas, empty, white), 0) << p;
    EXPECT_GT(CountPixels(canvas, PieceBox(*board, p, 0), IsDark), 40) << p;
    EXPECT_GT(CountPixels(canvas, PieceBox(*board, p, 1), IsDark), 40) << p;
    EXPECT_GT(CountPixels(canvas, PieceBox(*board, p, 6), white), 40) << p;
    EXPECT_GT(CountPixels(canvas, PieceBox(*board, p, 7), white), 40) << p;
  }
}

TEST(KindDrawing, ChineseChessAndArmyChessWriteTheSides) {
  {
    auto board = KindBoard(kChineseChess, 14);
    const QImage& canvas = board->Canvas();
    for (int p : {0, 4, 8}) {
      // Red writing on the red pieces at the bottom, none on the black ones on top.
      EXPECT_GT(CountPixels(canvas, PieceBox(*board, p, 9), IsReddish), 10) << p;
      EXPECT_EQ(CountPixels(canvas, PieceBox(*board, p, 0), IsReddish), 0) << p;
      EXPECT_GT(CountPixels(canvas, PieceBox(*board, p, 0), IsDark), 10) << p;
    }
    // The river: no lines across the middle of the inner files.
    const int riverY = (board->PointY(4) + board->PointY(5)) / 2;
    EXPECT_FALSE(IsDark(canvas.pixelColor(board->PointX(2), riverY)));
    EXPECT_TRUE(IsDark(canvas.pixelColor(board->PointX(0), riverY)));
  }
  {
    auto board = KindBoard(kArmyChess, 14);
    const QImage& canvas = board->Canvas();
    EXPECT_GT(CountPixels(canvas, PieceBox(*board, 0, 0), IsBluish), 10);
    EXPECT_GT(CountPixels(canvas, PieceBox(*board, 0, 11), IsReddish), 10);
    // A camp is an empty circle: light in the middle.
    ASSERT_TRUE(chess::IsArmyChessCamp(1, 2));
    EXPECT_TRUE(IsLight(canvas.pixelColor(board->PointX(1), board->PointY(2))));
  }
}

TEST(KindDrawing, OnePointRedrawsAsTheFullPaintDrew) {
  for (int kind : {kChineseChess, kChess, kArmyChess}) {
    SCOPED_TRACE(kind);
    auto board = KindBoard(kind, 13);
    const QImage before = board->Canvas().copy();
    for (int p = 0; p < board->N(); ++p)
      for (int q = 0; q < board->M(); ++q) {
        board->DrawEmptyPoint(p, q);  // the chess kinds draw the point with its piece
        board->DrawStone(p, q);
      }
    const QImage after = board->Canvas();
    ASSERT_EQ(before.size(), after.size());
    int differing = 0;
    for (int y = 0; y < before.height(); ++y)
      for (int x = 0; x < before.width(); ++x)
        if (before.pixel(x, y) != after.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
  }
}

TEST(KindDrawing, FiveInARowStarPoints) {
  auto board = KindBoard(kFiveInARow, 9);
  const QImage& canvas = board->Canvas();
  // A star point is a dot: dark a pixel off the line crossing, on the diagonal.
  auto dot = [&](int p, int q) {
    return IsDark(canvas.pixelColor(board->PointX(p) + 2, board->PointY(q) + 2));
  };
  for (const auto& [p, q] : {std::pair{8, 8}, {4, 4}, {4, 12}, {12, 4}, {12, 12}})
    EXPECT_TRUE(dot(p, q)) << p << "," << q;
  for (const auto& [p, q] : {std::pair{8, 4}, {4, 8}, {10, 10}, {15, 15}})
    EXPECT_FALSE(dot(p, q)) << p << "," << q;
}

TEST(KindDrawing, PiecesForEveryTypeAndNoneForOthers) {
  for (int kind : {kChineseChess, kChess, kArmyChess})
    for (int type = 1; type <= chess::PieceTypes(kind); ++type)
      for (bool negative : {false, true}) {
        const QImage piece = PaintPiece(kind, chess::PieceCell(type, negative), 10, 2);
        ASSERT_FALSE(piece.isNull()) << kind << " " << type;
        EXPECT_EQ(piece.width(), 42);
        // Something is drawn, and the corners stay transparent.
        EXPECT_GT(CountPixels(piece, piece.rect(), [](QColor c) { return c.alpha() > 200; }), 60);
        EXPECT_EQ(piece.pixelColor(0, 0).alpha(), 0);
        // The Chinese pieces are named.
        EXPECT_EQ(PieceName(kind, chess::PieceCell(type, negative)).isEmpty(), kind == kChess);
      }
  EXPECT_TRUE(PaintPiece(kChess, 0, 10).isNull());
  EXPECT_TRUE(PaintPiece(kChess, chess::PieceCell(7, false), 10).isNull());  // no such piece
  EXPECT_TRUE(PaintPiece(kGo, kBlack, 10).isNull());
}

// ---- Five-in-a-row clicks ---------------------------------------------------------------------

class FiveClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    board = KindBoard(kFiveInARow, 7);
    board->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
    board->OnLegalMove = [this](LattixEngine*, int16_t p, int16_t q, int16_t kind, int16_t, bool) {
      log.push_back("legal " + std::to_string(p) + "," + std::to_string(q) + " " +
                    std::to_string(kind));
    };
    board->OnFirstMoveNot88 = [this](LattixEngine*, int16_t p, int16_t q, int16_t, int16_t, bool) {
      log.push_back("first " + std::to_string(p) + "," + std::to_string(q));
    };
    board->OnClickAtOpponentsTurn = [this](LattixEngine*, int16_t p, int16_t q) {
      log.push_back("opponent " + std::to_string(p) + "," + std::to_string(q));
    };
  }
  void Click(int p, int q) {
    QTest::mouseClick(board.get(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(board->PointX(p), board->PointY(q)));
  }

  std::unique_ptr<TLattix> board;
  std::vector<std::string> log;
};

TEST_F(FiveClicks, FirstMoveElsewhereIsRefusedThroughItsEvent) {
  Click(3, 3);
  Click(8, 8);
  EXPECT_EQ(log, (std::vector<std::string>{"first 3,3", "legal 8,8 0"}));
  EXPECT_EQ(board->GetPoint(8, 8), kBlack);
}

TEST_F(FiveClicks, WhiteTakesACandidateOffByClickingIt) {
  board->SetHandicap(2);
  board->SetProcess("HHHGHJHK");
  Click(10, 9);   // the first candidate; white's pass follows
  Click(10, 10);  // the second
  log.clear();
  Click(8, 8);  // no candidate: nothing, and no opponent's-turn event either
  Click(10, 9);
  EXPECT_EQ(log, (std::vector<std::string>{"legal 10,9 1"}));
  EXPECT_EQ(board->GetPoint(10, 9), 0);
  EXPECT_EQ(board->NextMove(), 10);
  // After the exchange a click on a stone is the usual opponent's-turn click.
  Click(10, 10);
  EXPECT_EQ(log.back(), "opponent 10,10");
}

TEST(KindClicks, TheChessKindsTakeNoClicks) {
  auto board = KindBoard(kChess, 12);
  board->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
  int events = 0;
  board->OnLegalMove = [&](LattixEngine*, int16_t, int16_t, int16_t, int16_t, bool) { ++events; };
  board->OnClickAtOpponentsTurn = [&](LattixEngine*, int16_t, int16_t) { ++events; };
  for (int p = 0; p < 8; ++p)
    for (int q = 0; q < 8; ++q)
      QTest::mouseClick(board.get(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(board->PointX(p), board->PointY(q)));
  EXPECT_EQ(events, 0);
  EXPECT_EQ(board->HintPos(), -1);
  EXPECT_EQ(board->Process(), "");
}

// ---- The promotion dialog ---------------------------------------------------------------------

TEST(ChessPromote, FourButtonsAnswerZeroToThree) {
  for (int choice = 0; choice < 4; ++choice) {
    TChessPromote dialog(nullptr, choice % 2 == 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Pawn promotion"));
    EXPECT_TRUE(dialog.isModal());
    ASSERT_NE(dialog.Button(choice), nullptr);
    EXPECT_FALSE(dialog.Button(choice)->icon().isNull());
    EXPECT_TRUE(dialog.Button(0)->isDefault());  // the queen is preselected
    QTimer::singleShot(0, dialog.Button(choice), &QPushButton::click);
    EXPECT_EQ(dialog.exec(), choice);
  }
  TChessPromote dialog;
  EXPECT_EQ(dialog.Button(4), nullptr);
  EXPECT_EQ(dialog.Button(0)->text(), QStringLiteral("Queen"));
  EXPECT_EQ(dialog.Button(3)->text(), QStringLiteral("Bishop"));
  // Escape keeps the queen.
  QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
  EXPECT_EQ(dialog.exec(), 0);
}

TEST(KindDrawing, SampleRenders) {
  // Pictures of each kind next to the test program, to be looked at.
  for (int kind : {kChineseChess, kChess, kFiveInARow, kArmyChess}) {
    auto board = KindBoard(kind, 14);
    if (kind == kFiveInARow) board->SetProcess("HHIGJIGG");
    const QString name = QStringLiteral(ZENDRA_RENDER_DIR "/kind%1_r14.png").arg(kind);
    EXPECT_TRUE(board->Canvas().save(name)) << name.toStdString();
  }
}

}  // namespace
}  // namespace zendra::test
