// The deferred standard icons: nothing is read until an icon is drawn, what is drawn is the
// wrapped style's picture, and commands sharing an icon read it once.
#include "app/style_icons.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QPixmap>
#include <QStyleFactory>
#include <QStyleOption>
#include <memory>
#include <vector>

namespace zendra {
namespace {

QImage Picture(const QIcon& icon, int size) {
  return icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(DeferredIconStyle, ReadsAnIconOnlyWhenItIsDrawnAndThenOnce) {
  DeferredIconStyle style(QStyleFactory::create("Fusion"));
  QAction first("first");
  QAction second("second");
  first.setIcon(style.standardIcon(QStyle::SP_ArrowUp));
  second.setIcon(style.standardIcon(QStyle::SP_ArrowUp));
  QAction other("other");
  other.setIcon(style.standardIcon(QStyle::SP_MediaVolume));
  EXPECT_FALSE(first.icon().isNull());  // set, yet nothing read
  EXPECT_EQ(style.LoadedCount(), 0);

  const QImage drawn = Picture(first.icon(), 20);
  EXPECT_EQ(style.LoadedCount(), 1);
  Picture(second.icon(), 20);
  Picture(first.icon(), 32);
  EXPECT_EQ(style.LoadedCount(), 1);  // the same icon is not read again
  Picture(other.icon(), 20);
  EXPECT_EQ(style.LoadedCount(), 2);

  // The picture is the wrapped style's own.
  std::unique_ptr<QStyle> plain(QStyleFactory::create("Fusion"));
  EXPECT_EQ(drawn, Picture(plain->standardIcon(QStyle::SP_ArrowUp), 20));
  EXPECT_NE(drawn, Picture(plain->standardIcon(QStyle::SP_ArrowDown), 20));
}

TEST(DeferredIconStyle, KeepsTheOptionsDirection) {
  DeferredIconStyle style(QStyleFactory::create("Fusion"));
  std::unique_ptr<QStyle> plain(QStyleFactory::create("Fusion"));
  std::vector<QImage> pictures;
  for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
    QStyleOption option;
    option.direction = direction;
    const QIcon deferred = style.standardIcon(QStyle::SP_ArrowBack, &option);
    pictures.push_back(Picture(deferred, 16));
    EXPECT_EQ(pictures.back(), Picture(plain->standardIcon(QStyle::SP_ArrowBack, &option), 16))
        << "direction " << direction;
  }
  EXPECT_NE(pictures[0], pictures[1]);  // "back" points the other way right to left
}

TEST(DeferredIconStyle, AnIconThatOutlivesItsStyleIsEmpty) {
  QIcon icon;
  {
    DeferredIconStyle style(QStyleFactory::create("Fusion"));
    icon = style.standardIcon(QStyle::SP_ArrowUp);
  }
  EXPECT_TRUE(icon.pixmap(QSize(16, 16)).isNull());
}

}  // namespace
}  // namespace zendra
