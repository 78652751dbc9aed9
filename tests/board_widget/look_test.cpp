// The board look the board control and the grid share: the rules of its properties and the
// colour values, and the reduced-colour mode as the board control shows it.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <string>

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

}  // namespace
}  // namespace zendra
