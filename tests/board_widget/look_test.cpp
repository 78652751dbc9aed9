// What the board control and the grid share: the rules of the board look's properties, the
// colour values, the backing canvas, and the reduced-colour mode and the canvas of a board
// laid out to nothing as the board control shows them.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>
#include <string>
#include <vector>

#include "board/widget/backing_canvas.h"
#include "board/widget/board_look.h"
#include "board/widget/colours.h"
#include "board/widget/lattix.h"

namespace zendra {
namespace {

struct SchemeRow {
  const char* name;
  int from;
  int to;
  LookChange change;
  int after;
};

class LookSchemes : public ::testing::TestWithParam<SchemeRow> {};

TEST_P(LookSchemes, SetColorNum) {
  const SchemeRow& row = GetParam();
  BoardLook look;
  look.colorNum = row.from;
  EXPECT_EQ(look.SetColorNum(row.to), row.change);
  EXPECT_EQ(look.colorNum, row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LookSchemes,
    ::testing::Values(SchemeRow{"Unchanged", 1, 1, LookChange::kNone, 1},
                      SchemeRow{"BelowRange", 1, -1, LookChange::kNone, 1},
                      SchemeRow{"AboveRange", 1, 7, LookChange::kNone, 1},
                      // Within {0, 1} and within {2..6} the stone pictures stay.
                      SchemeRow{"PatternToPlain", 1, 0, LookChange::kRepaint, 0},
                      SchemeRow{"WithinColours", 2, 6, LookChange::kRepaint, 6},
                      // Crossing either way clips or unclips the pictures.
                      SchemeRow{"PatternToColour", 1, 2, LookChange::kStones, 2},
                      SchemeRow{"ColourToPattern", 6, 1, LookChange::kStones, 1},
                      SchemeRow{"PlainToColour", 0, 3, LookChange::kStones, 3}),
    [](const ::testing::TestParamInfo<SchemeRow>& row) { return std::string(row.param.name); });

TEST(BoardLookRules, BoardColorRefusesZeroWhiteAndTheSameValue) {
  BoardLook look;
  EXPECT_EQ(look.boardColor, kDefaultBoardColour);
  EXPECT_EQ(look.SetBoardColor(0), LookChange::kNone);
  EXPECT_EQ(look.SetBoardColor(0xFFFFFF), LookChange::kNone);
  EXPECT_EQ(look.SetBoardColor(kDefaultBoardColour), LookChange::kNone);
  EXPECT_EQ(look.boardColor, kDefaultBoardColour);
  EXPECT_EQ(look.SetBoardColor(0x2992C6), LookChange::kRepaint);
  EXPECT_EQ(look.boardColor, 0x2992C6u);
}

TEST(BoardLookRules, ReducedColoursSwitchTheLookOnlyFromThePattern) {
  // From the pattern: flat stones, scheme 6, the button face and no painting.
  BoardLook pattern;
  EXPECT_EQ(pattern.SetPal256(true), LookChange::kStones);
  EXPECT_TRUE(pattern.pal256);
  EXPECT_FALSE(pattern.dim3);
  EXPECT_EQ(pattern.colorNum, 6);
  EXPECT_EQ(pattern.boardColor, kButtonFace);
  EXPECT_FALSE(pattern.painting);
  // Off again: stored, nothing switched back.
  EXPECT_EQ(pattern.SetPal256(false), LookChange::kNone);
  EXPECT_FALSE(pattern.pal256);
  EXPECT_EQ(pattern.colorNum, 6);

  // From another scheme only the flag is stored.
  BoardLook plain;
  plain.colorNum = 2;
  plain.boardColor = 0x2992C6;
  EXPECT_EQ(plain.SetPal256(true), LookChange::kNone);
  EXPECT_TRUE(plain.pal256);
  EXPECT_TRUE(plain.dim3);
  EXPECT_EQ(plain.colorNum, 2);
  EXPECT_EQ(plain.boardColor, 0x2992C6u);
  EXPECT_TRUE(plain.painting);
}

TEST(BoardColours, PaletteRolesByTheirLowByte) {
  const QPalette palette = QGuiApplication::palette();
  EXPECT_EQ(WinColour(kWindowColour), palette.color(QPalette::Base));
  EXPECT_EQ(WinColour(kWindowTextColour), palette.color(QPalette::Text));
  EXPECT_EQ(WinColour(kHighlightColour), palette.color(QPalette::Highlight));
  EXPECT_EQ(WinColour(kButtonFace), palette.color(QPalette::Button));
  EXPECT_EQ(WinColour(kButtonTextColour), palette.color(QPalette::ButtonText));
  // Any top byte names a role; an unknown role is the button face.
  EXPECT_EQ(WinColour(0x80000008), palette.color(QPalette::Text));
  EXPECT_EQ(WinColour(0xFF000001), palette.color(QPalette::Button));
}

TEST(BoardLookOnTheBoard, ReducedColoursPaintTheFaceInTheButtonFace) {
  TLattix board;
  board.SetCanvasPixelRatio(1);
  board.SetProcess("CC");
  const QPoint face(board.PointX(5) + 4, board.PointY(5) + 4);
  const QColor button = WinColour(kButtonFace);
  ASSERT_NE(board.Canvas().pixelColor(face), button);
  board.SetPal256(true);
  EXPECT_EQ(board.BoardColorNum(), 6);
  EXPECT_FALSE(board.Dim3());
  EXPECT_FALSE(board.Painting());
  EXPECT_EQ(board.BoardColor(), kButtonFace);
  EXPECT_EQ(board.Canvas().pixelColor(face), button);
  // The stone is a flat black disc: pure black beside the last-move square.
  EXPECT_EQ(board.Canvas().pixelColor(board.PointX(3) - 4, board.PointY(3) + 2), QColor(Qt::black));
}

struct CanvasRow {
  const char* name;
  QSize widget;
  qreal ratio;
  QSize pixels;
};

class CanvasSizes : public ::testing::TestWithParam<CanvasRow> {};

TEST_P(CanvasSizes, FollowTheWidgetAtTheRatio) {
  const CanvasRow& row = GetParam();
  QWidget widget;
  widget.resize(row.widget);
  BackingCanvas canvas;
  canvas.ForceRatio(row.ratio);
  canvas.FullRepaintDone();
  EXPECT_TRUE(canvas.Ensure(widget));
  EXPECT_TRUE(canvas.FullRepaintPending());  // a new image has no content yet
  EXPECT_EQ(canvas.Image().size(), row.pixels);
  EXPECT_EQ(canvas.Image().devicePixelRatio(), row.ratio);
  // Unchanged size and ratio keep the image and its content.
  canvas.FullRepaintDone();
  EXPECT_FALSE(canvas.Ensure(widget));
  EXPECT_FALSE(canvas.FullRepaintPending());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CanvasSizes,
    ::testing::Values(CanvasRow{"Plain", QSize(120, 80), 1, QSize(120, 80)},
                      CanvasRow{"Double", QSize(120, 80), 2, QSize(240, 160)},
                      // Fractional ratios round each side up.
                      CanvasRow{"OneAndAQuarter", QSize(121, 81), 1.25, QSize(152, 102)},
                      // A widget laid out to nothing still gets a pixel to paint on.
                      CanvasRow{"Empty", QSize(0, 0), 1, QSize(1, 1)},
                      CanvasRow{"NoHeight", QSize(50, 0), 2, QSize(100, 1)}),
    [](const ::testing::TestParamInfo<CanvasRow>& row) { return std::string(row.param.name); });

TEST(BackingCanvasRatio, ForcedOrTheWidgets) {
  QWidget widget;
  BackingCanvas canvas;
  EXPECT_EQ(canvas.Ratio(widget), widget.devicePixelRatioF());
  canvas.ForceRatio(3);
  EXPECT_EQ(canvas.Ratio(widget), 3.0);
  canvas.ForceRatio(0);
  EXPECT_EQ(canvas.Ratio(widget), widget.devicePixelRatioF());
}

// Collects the messages Qt prints while it lives.
class QtMessages {
 public:
  QtMessages() {
    messages_.clear();
    previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&,
                                          const QString& text) { messages_.push_back(text); });
  }
  ~QtMessages() { qInstallMessageHandler(previous_); }
  QtMessages(const QtMessages&) = delete;
  QtMessages& operator=(const QtMessages&) = delete;
  const std::vector<QString>& Messages() const { return messages_; }

 private:
  static inline std::vector<QString> messages_;
  QtMessageHandler previous_;
};

TEST(BoardCanvas, ABoardLaidOutToNothingStillPaints) {
  TLattix board;
  board.SetCanvasPixelRatio(1);
  board.SetProcess("CC");
  {
    QtMessages qt;
    board.resize(0, 0);
    const QImage& canvas = board.Canvas();
    EXPECT_FALSE(canvas.isNull());
    EXPECT_EQ(canvas.size(), QSize(1, 1));
    // No painter was opened on a null image.
    EXPECT_TRUE(qt.Messages().empty()) << qt.Messages().front().toStdString();
  }
  board.resize(board.BoardWidth(), board.BoardHeight());
  EXPECT_EQ(board.Canvas().size(), QSize(board.BoardWidth(), board.BoardHeight()));
  // Laid out again, it draws the whole board: the stone on CC is there.
  EXPECT_LT(board.Canvas().pixelColor(board.PointX(3) - 4, board.PointY(3) + 2).value(), 80);
}

}  // namespace
}  // namespace zendra
