// Geometry, pixels read from the canvas, the redraw protocol and the sample renders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPalette>
#include <QTest>
#include <vector>

#include "tests/board_widget/board_fixture.h"

namespace zendra::test {
namespace {

TEST(BoardGeometry, WorkedNumbersAtRadiusSeven) {
  auto board = MakeBoard(7, 16);
  EXPECT_EQ(board->Spacing(), 17);
  EXPECT_EQ(board->PointX(1), 12);
  EXPECT_EQ(board->PointX(19), 318);
  EXPECT_EQ(board->PointY(19), 318);
  EXPECT_EQ(board->BoardWidth(), 345);
  EXPECT_EQ(board->BoardHeight(), 345);
  EXPECT_EQ(board->DotSize(), 3);
  board->SetDisplayInfo(0);
  EXPECT_EQ(board->RadiusForSize(456, 352), 7);  // r1 = 9, r2 = 7
  EXPECT_EQ(board->RadiusForSize(345, 345), 7);
  EXPECT_EQ(board->RadiusForSize(344, 345), 6);
  EXPECT_EQ(board->RadiusForSize(10, 10), 1);
}

TEST(BoardGeometry, DotSizeFollowsRadius) {
  const struct { int radius, dot; } rows[] = {{1, 1}, {2, 1}, {4, 2}, {5, 2}, {6, 3}, {19, 3}};
  for (const auto& row : rows) {
    auto board = MakeBoard(row.radius, 16);
    EXPECT_EQ(board->DotSize(), row.dot) << "R = " << row.radius;
  }
}

TEST(BoardGeometry, DrawLastPassWidensTheBandAtTheNextRecalculation) {
  auto board = MakeBoard(7, 16);
  board->SetDrawLastPass(true);
  EXPECT_EQ(board->Coordinate(), 16);
  board->RecalcGeometry(false);
  EXPECT_EQ(board->Coordinate(), 18);
  EXPECT_EQ(board->BoardWidth(), 347);
}

TEST(BoardGeometry, ResizeKeepsTheLargestFittingRadius) {
  auto board = MakeBoard(7, 16);
  board->SetDisplayInfo(0);
  board->show();
  board->resize(456, 352);
  QApplication::processEvents();
  EXPECT_EQ(board->Radius(), 7);
  board->resize(600, 600);
  QApplication::processEvents();
  // The turn circles keep their column right of the board: (600 - 32 - 6 - 16 - 19) div 38 - 1.
  EXPECT_EQ(board->Radius(), 12);
  EXPECT_EQ(board->width(), 600);  // the control keeps its size
  board->SetDisplayTurn(false);
  board->resize(600, 601);
  QApplication::processEvents();
  EXPECT_EQ(board->Radius(), 13);  // (600 - 6 - 16 - 19) div 38 - 1
  // From radius 7 up the margins grow with the radius; the board at the radius found fits.
  board->SetRadius(7);
  board->resize(640, 640);
  QApplication::processEvents();
  EXPECT_LE(board->BoardWidth(), 640);
  EXPECT_LE(board->BoardHeight(), 640);
}

TEST(BoardColours, WindowsValuesConvert) {
  EXPECT_EQ(WinColour(255), QColor(255, 0, 0));
  EXPECT_EQ(WinColour(32768), QColor(0, 128, 0));
  EXPECT_EQ(WinColour(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(WinColour(0x2992C6), QColor(0xC6, 0x92, 0x29));
  EXPECT_EQ(WinColour(0xFF00000F), QGuiApplication::palette().color(QPalette::Button));
}

TEST(BoardText, ChineseBytesDecode) {
  EXPECT_EQ(DecodeChinese("\xC8\xC3\xCF\xC8"), QString::fromUtf8("让先"));
  EXPECT_EQ(DecodeChinese("Atone: 3.75"), QStringLiteral("Atone: 3.75"));
  // A cut-off double-byte character does not swallow the text before it.
  EXPECT_TRUE(DecodeChinese("ab\xC8").startsWith(QStringLiteral("ab")));
}

TEST(BoardPixels, StarPointsAndCoordinateLabels) {
  auto board = MakeBoard(7, 16);
  const QImage& canvas = board->Canvas();
  // Beside the crossing (off both lines) a star point is black, an ordinary point is not.
  EXPECT_TRUE(IsDark(canvas.pixelColor(board->PointX(4) + 2, board->PointY(4) + 2)));
  EXPECT_TRUE(IsDark(canvas.pixelColor(board->PointX(16) - 2, board->PointY(10) - 2)));
  EXPECT_FALSE(IsDark(canvas.pixelColor(board->PointX(5) + 2, board->PointY(5) + 2)));
  // Column letters start at y = 330, row numbers at x = 330.
  auto dark = [](QColor c) { return IsDark(c); };
  EXPECT_GT(CountPixels(canvas, QRect(8, 330, 12, 14), dark), 0);
  EXPECT_EQ(CountPixels(canvas, QRect(8, 327, 12, 3), dark), 0);
  EXPECT_GT(CountPixels(canvas, QRect(330, 4, 14, 14), dark), 0);
  EXPECT_EQ(CountPixels(canvas, QRect(327, 4, 3, 14), dark), 0);
}

TEST(BoardPixels, LabelsOnlyAboveTwelvePixels) {
  for (int band : {12, 13}) {
    auto board = MakeBoard(7, band);
    const int below = board->PointY(19) + 7 + 3 + 2;
    const QRect labels(1, below, board->PointX(19), board->BoardHeight() - below - 1);
    const int ink = CountPixels(board->Canvas(), labels, [](QColor c) { return IsDark(c); });
    if (band == 12)
      EXPECT_EQ(ink, 0);
    else
      EXPECT_GT(ink, 0);
  }
}

TEST(BoardPixels, StonesLastMoveAndTurnArrow) {
  auto board = MakeBoard(7, 16);
  ASSERT_TRUE(board->PlayGoMove(3, 3, true));  // black
  ASSERT_TRUE(board->PlayGoMove(5, 3, true));  // white, now the last move
  const int bx = board->PointX(3), by = board->PointY(3);
  const int wx = board->PointX(5), wy = board->PointY(3);
  EXPECT_TRUE(IsDark(Pixel(*board, bx + 2, by + 2)));
  EXPECT_FALSE(IsRed(Pixel(*board, bx, by)));           // its square went with the next move
  EXPECT_TRUE(IsLight(Pixel(*board, wx - 4, wy - 4)));  // outside the square
  EXPECT_TRUE(IsRed(Pixel(*board, wx, wy)));
  EXPECT_TRUE(IsDark(Pixel(*board, wx + 3, wy)));  // the square's black frame, d = 3
  // Black to move: the arrow points at the lower circle.
  const int a = board->BoardWidth() + 5;
  EXPECT_TRUE(IsRed(Pixel(*board, a + 2, 204)));
  EXPECT_FALSE(IsRed(Pixel(*board, a + 2, 124)));
  ASSERT_TRUE(board->PlayGoMove(4, 4, true));
  EXPECT_TRUE(IsRed(Pixel(*board, a + 2, 124)));
  EXPECT_FALSE(IsRed(Pixel(*board, a + 2, 204)));
}

TEST(BoardPixels, NumberColours) {
  auto board = MakeBoard(7, 16);
  ASSERT_TRUE(board->PlayGoMove(3, 3, true));    // black
  ASSERT_TRUE(board->PlayGoMove(9, 9, true));    // white
  ASSERT_TRUE(board->PlayGoMove(15, 15, true));  // black
  ASSERT_TRUE(board->PlayGoMove(12, 12, true));  // white
  board->SetStoneNumber(3, 3, 7);
  board->SetStoneNumber(9, 9, 8);
  board->SetStoneNumber(15, 15, 9);
  board->SetMarkColor(15, 15, 255);  // red mark: the number is red
  board->SetStoneNumber(12, 12, 5);
  board->SetMarkColor(12, 12, 0xFFFFFF);  // white mark: the usual contrast, black on white
  const QImage& canvas = board->Canvas();
  auto inner = [&](int p, int q) {
    return QRect(board->PointX(p) - 4, board->PointY(q) - 4, 9, 9);
  };
  auto white = [](QColor c) { return c.red() > 180 && c.green() > 180 && c.blue() > 180; };
  auto black = [](QColor c) { return IsDark(c); };
  auto red = [](QColor c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; };
  EXPECT_GT(CountPixels(canvas, inner(3, 3), white), 2);
  EXPECT_GT(CountPixels(canvas, inner(9, 9), black), 2);
  EXPECT_GT(CountPixels(canvas, inner(15, 15), red), 2);
  EXPECT_EQ(CountPixels(canvas, inner(15, 15), white), 0);
  EXPECT_GT(CountPixels(canvas, inner(12, 12), black), 2);
}

TEST(BoardPixels, MarkDotsOnPointsAndStones) {
  auto board = MakeBoard(7, 16);
  ASSERT_TRUE(board->PlayGoMove(4, 4, true));
  ASSERT_TRUE(board->PlayGoMove(1, 1, true));
  board->MarkPoints("DDFF", 32768);  // green, on a stone and on an empty point
  const QColor green(0, 128, 0);
  EXPECT_EQ(Pixel(*board, board->PointX(4), board->PointY(4)), green);
  EXPECT_EQ(Pixel(*board, board->PointX(6), board->PointY(6)), green);
  // An unnumbered stone with a white mark gets a white dot.
  board->SetMarkColor(1, 1, 0xFFFFFF);
  EXPECT_EQ(Pixel(*board, board->PointX(1), board->PointY(1)), QColor(255, 255, 255));
  board->ClearMarks();
  EXPECT_NE(Pixel(*board, board->PointX(6), board->PointY(6)), green);
  EXPECT_TRUE(IsDark(Pixel(*board, board->PointX(6), board->PointY(6))));  // the crossing
}

TEST(BoardPixels, DeadCrossComesAndGoes) {
  auto board = MakeBoard(7, 16);
  ASSERT_TRUE(board->PlayGoMove(3, 3, true));
  ASSERT_TRUE(board->PlayGoMove(16, 16, true));
  ASSERT_TRUE(board->PlayGoMove(10, 10, true));
  board->SetStoneNumber(10, 10, 3);
  board->SetGameOver(true);
  ASSERT_TRUE(board->ToggleDead(3, 3));
  ASSERT_TRUE(board->ToggleDead(10, 10));
  const int x = board->PointX(3), y = board->PointY(3);
  EXPECT_TRUE(IsRed(Pixel(*board, x + 3, y + 3)));
  EXPECT_TRUE(IsRed(Pixel(*board, x - 3, y + 3)));
  // The numbered dead stone shows the cross and, over it, the number in white.
  const QRect box(board->PointX(10) - 5, board->PointY(10) - 5, 11, 11);
  EXPECT_GT(CountPixels(board->Canvas(), box, [](QColor c) { return IsRed(c); }), 0);
  EXPECT_GT(CountPixels(board->Canvas(), box, [](QColor c) { return IsLight(c); }), 0);
  ASSERT_TRUE(board->ToggleDead(3, 3));
  EXPECT_FALSE(IsRed(Pixel(*board, x + 3, y + 3)));
  EXPECT_FALSE(IsRed(Pixel(*board, x + 5, y + 5)));  // nothing of the cross outlives it
}

TEST(BoardPixels, SharpAtDoubleDensity) {
  auto board = MakeBoard(7, 16);
  ASSERT_TRUE(board->PlayGoMove(10, 10, true));
  board->SetCanvasPixelRatio(2);
  const QImage& canvas = board->Canvas();
  ASSERT_EQ(canvas.width(), 2 * board->width());
  // A grid line between two points covers exactly two device rows, in pure black.
  const int x = 2 * (board->PointX(5) + 8), y = 2 * board->PointY(5);
  EXPECT_EQ(canvas.pixelColor(x, y), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(x, y + 1), QColor(Qt::black));
  EXPECT_FALSE(IsDark(canvas.pixelColor(x, y - 1)));
  EXPECT_FALSE(IsDark(canvas.pixelColor(x, y + 2)));
  // The stone is drawn at the device resolution: its rim is one device pixel of blend, not a
  // two-pixel blur, and it sits symmetrically on the lines.
  const int cx = 2 * board->PointX(10) + 1, cy = 2 * board->PointY(10) + 1;
  auto darkAt = [&](int dx) { return IsDark(canvas.pixelColor(cx + dx, cy + 20)); };
  EXPECT_TRUE(darkAt(0));
  int left = 0, right = 0;
  while (darkAt(-left - 1)) ++left;
  while (darkAt(right + 1)) ++right;
  EXPECT_LE(std::abs(left - right), 1);
}

TEST(BoardPanel, LinesClockBarAndCornerMark) {
  auto board = MakeBoard(7, 16);
  board->SetLanguage(2);
  const int bw = board->BoardWidth(), x0 = bw + 30;
  auto ink = [&](int top, int bottom) {
    return CountPixels(board->Canvas(), QRect(x0, top, board->width() - x0 - 1, bottom - top),
                       [](QColor c) { return IsDark(c); });
  };
  EXPECT_GT(ink(100, 120), 0);  // the komi line always shows
  EXPECT_EQ(ink(80, 100), 0);   // no handicap, no line
  board->SetHandicap(2);
  EXPECT_GT(ink(80, 100), 0);
  // A full clock: a 60-pixel red bar in the white clock's strip.
  board->SetTimeLimit(3600);
  const int bar =
      CountPixels(board->Canvas(), QRect(bw + 31, 146, 80, 1), [](QColor c) { return IsRed(c); });
  EXPECT_EQ(bar, 60);
  // The corner mark shows even without the panel.
  board->SetDisplayInfo(0);
  board->SetNotBother(true);
  const QRect corner(board->width() - 7, board->height() - 11, 3, 7);
  EXPECT_GT(CountPixels(board->Canvas(), corner, [](QColor c) { return IsDark(c); }), 0);
  EXPECT_EQ(ink(100, 120), 0);
  board->SetNotBother(false);
  EXPECT_EQ(CountPixels(board->Canvas(), corner, [](QColor c) { return IsDark(c); }), 0);
}

// Records what each paint event was asked to repaint.
class RecordingBoard : public TLattix {
 public:
  std::vector<QRegion> painted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    painted.push_back(event->region());
    TLattix::paintEvent(event);
  }
};

TEST(BoardRedraw, CaptureRepaintsOnlyTheTouchedPoints) {
  auto board = MakeBoard<RecordingBoard>(7, 16);
  board->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
  // White on K10 (10, 10) is surrounded on three sides; black's J11 ... takes it.
  for (const auto& [p, q] : {std::pair{10, 9}, {10, 10}, {9, 10}, {1, 1}, {11, 10}, {1, 2}})
    ASSERT_TRUE(board->PlayGoMove(p, q, true));
  QApplication::processEvents();
  const QImage before = board->Canvas().copy();
  board->painted.clear();

  ASSERT_TRUE(board->PlayGoMove(10, 11, true));
  ASSERT_EQ(board->GetPoint(10, 10), 0);
  QApplication::processEvents();

  const int bw = board->BoardWidth();
  QRegion allowed;
  for (const auto& [p, q] : {std::pair{1, 2}, {10, 10}, {10, 11}})
    allowed += PointBox(*board, p, q);
  allowed += QRect(bw + 5, 120, 10, 20);
  allowed += QRect(bw + 5, 200, 10, 20);
  QRegion repainted;
  for (const QRegion& r : board->painted) repainted += r;
  ASSERT_FALSE(repainted.isEmpty());
  EXPECT_TRUE((repainted - allowed).isEmpty());
  // Every changed pixel lies in those rectangles ...
  const QImage after = board->Canvas().copy();
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x)
      if (before.pixel(x, y) != after.pixel(x, y)) {
        ASSERT_TRUE(allowed.contains(QPoint(x, y))) << x << "," << y;
      }
  // ... and the result is exactly what a full repaint draws.
  board->Paint();
  EXPECT_EQ(board->Canvas(), after);
}

// A position with numbers, marks, a dead chain and the last move, written as PNG files next
// to the tests so that they can be looked at.
TEST(BoardRender, SamplePositions) {
  for (int radius : {7, 12, 19}) {
    for (qreal ratio : {1.0, 2.0}) {
      if (ratio == 2.0 && radius != 12) continue;
      auto board = MakeBoard(radius, radius > 6 ? 20 : 16);
      board->SetPainting(true);
      board->SetPlayerName(0, "Black");
      board->SetPlayerName(1, "White");
      board->SetLanguage(2);
      board->SetEvent("Sample");
      board->SetCanvasPixelRatio(ratio);
      board->SetProcess("DDPPDPPDQCQDRDPCFCCFCNJJKKJK");
      board->NumberStones("JJKKJK", 1);
      board->MarkPoints("RRQQ", 32768);
      board->MarkPoints("CC", 255);
      board->SetGameOver(true);
      ASSERT_TRUE(board->ToggleDead(3, 14));  // C14: a lone black stone counted dead
      board->SetGameOver(false);
      const QImage& canvas = board->Canvas();
      ASSERT_FALSE(canvas.isNull());
      const QString name = QStringLiteral(ZENDRA_RENDER_DIR "/board_r%1%2.png")
                               .arg(radius)
                               .arg(ratio == 2.0 ? "@2x" : "");
      EXPECT_TRUE(canvas.save(name)) << name.toStdString();
    }
  }
}

}  // namespace
}  // namespace zendra::test
