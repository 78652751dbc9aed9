// The board look on the grid: the reduced-colour mode switches every thumbnail at once.
#include <gtest/gtest.h>

#include "board/widget/colours.h"
#include "index/go_index.h"

namespace zendra {
namespace {

TEST(GridLook, ReducedColoursPaintEveryFaceInTheButtonFace) {
  TGoIndex grid;
  grid.SetCanvasPixelRatio(1);
  grid.SetGames({"00010 1 CC DD  B", "00020 1 CC DD  B"});
  grid.SetSelected(1);
  const QPoint face = grid.PointCentre(1, 1, 7, 7) + QPoint(5, 5);
  const QPoint stone = grid.PointCentre(1, 1, 3, 3) + QPoint(3, 2);
  const QColor button = WinColour(kButtonFace);
  ASSERT_NE(grid.Canvas().pixelColor(face), button);
  grid.SetPal256(true);
  EXPECT_EQ(grid.BoardColorNum(), 6);
  EXPECT_FALSE(grid.Dim3());
  EXPECT_EQ(grid.BoardColor(), kButtonFace);
  // The unselected picture too, and its black stone is a flat disc.
  EXPECT_EQ(grid.Canvas().pixelColor(face), button);
  EXPECT_EQ(grid.Canvas().pixelColor(stone), QColor(Qt::black));
  // Off again: the look stays as it was switched.
  grid.SetPal256(false);
  EXPECT_FALSE(grid.Pal256());
  EXPECT_EQ(grid.Canvas().pixelColor(face), button);
}

}  // namespace
}  // namespace zendra
