#include "app/window_notices.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace zendra {

QList<QRect> AvailableScreenAreas(const QWidget& window) {
  QList<QRect> areas;
  const QScreen* own = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (own) areas << own->availableGeometry();
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != own) areas << screen->availableGeometry();
  }
  return areas;
}

void CentreOnScreen(QWidget& window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
  }
}

void ShowStorageNotice(QWidget* window, const QString& text) {
  auto* box = window->findChild<QMessageBox*>(kStorageNoticeName, Qt::FindDirectChildrenOnly);
  if (!box) {
    box = new QMessageBox(QMessageBox::Warning, kStorageNoticeTitle, text, QMessageBox::Ok, window);
    box->setObjectName(kStorageNoticeName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
  }
  box->setText(text);
  box->show();
}

}  // namespace zendra
