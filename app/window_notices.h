// Small pieces of the main window kept out of it: the screen areas a window may be placed on,
// the centre a small window opens at, and the notice that progress cannot be saved.
#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QWidget;

namespace zendra {

// The available areas of the screens, the one `window` is on first.
QList<QRect> AvailableScreenAreas(const QWidget& window);

// Moves `window` to the centre of the primary screen's available area (the small windows
// beside the main window open there).
void CentreOnScreen(QWidget& window);

// Tells the player, beside `window` and without stopping the play (the box is not modal), that
// progress cannot be saved; a notice still open takes the new text instead of a second box.
void ShowStorageNotice(QWidget* window, const QString& text);

// The object name and title of that notice.
inline constexpr char kStorageNoticeName[] = "StorageNotice";
inline constexpr char kStorageNoticeTitle[] = "Progress cannot be saved";

}  // namespace zendra
