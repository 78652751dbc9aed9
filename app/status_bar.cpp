#include "app/status_bar.h"

#include <QLabel>
#include <QEvent>
#include <algorithm>

namespace zendra {

StatusBar2::StatusBar2(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  setToolTip("Double click here to  change the width");
  left_ = new QLabel(this);
  left_->setObjectName("StatusPanel0");
  right_ = new QLabel(this);
  right_->setObjectName("StatusPanel1");
  session_ = new QLabel(this);
  session_->setObjectName("StatusPanelSession");
  for (QLabel* l : {left_, right_, session_}) {
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setContentsMargins(3, 0, 3, 0);
  }
  left_->setFixedWidth(60);
  right_->setMinimumWidth(50);
  // The panel takes the room the bar gives it; its text never widens it.
  right_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  addWidget(left_);
  addWidget(right_, 1);
  addPermanentWidget(session_);
  session_->hide();
  right_->installEventFilter(this);
}

void StatusBar2::SetLeft(const QString& text) {
  left_->setText(text);
  left_->setToolTip(text);
}

void StatusBar2::SetRight(const QString& text) {
  rightText_ = text;
  right_->setToolTip(text);
  ShowRight();
}

void StatusBar2::ShowRight() {
  const int room = right_->contentsRect().width();
  right_->setText(right_->fontMetrics().elidedText(rightText_, Qt::ElideRight, std::max(0, room)));
}

void StatusBar2::SetSession(const QString& text) {
  session_->setText(text);
  session_->setVisible(!text.isEmpty());
}

QString StatusBar2::Session() const { return session_->text(); }

QString StatusBar2::Left() const { return left_->text(); }
QString StatusBar2::Right() const { return rightText_; }
QString StatusBar2::RightShown() const { return right_->text(); }
int StatusBar2::LeftWidth() const { return left_->minimumWidth(); }

void StatusBar2::ToggleLeftWidth() {
  if (left_->minimumWidth() >= 100) {
    left_->setFixedWidth(60);
  } else {
    const int comment = right_->fontMetrics().horizontalAdvance(rightText_) + 12;
    const int keep = std::max(60, std::min(comment, width() / 2));
    left_->setFixedWidth(std::max(60, width() - keep));
  }
}

void StatusBar2::mouseDoubleClickEvent(QMouseEvent* e) {
  ToggleLeftWidth();
  QStatusBar::mouseDoubleClickEvent(e);
}

bool StatusBar2::eventFilter(QObject* watched, QEvent* e) {
  if (watched == right_ && e->type() == QEvent::Resize) ShowRight();
  return QStatusBar::eventFilter(watched, e);
}

}  // namespace zendra
