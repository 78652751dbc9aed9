#include "app/status_bar.h"

#include <QLabel>

namespace zendra {

StatusBar2::StatusBar2(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(true);
  setToolTip("Double click here to  change the width");
  left_ = new QLabel(this);
  left_->setObjectName("StatusPanel0");
  right_ = new QLabel(this);
  right_->setObjectName("StatusPanel1");
  for (QLabel* l : {left_, right_}) {
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setContentsMargins(3, 0, 3, 0);
  }
  left_->setFixedWidth(60);
  right_->setMinimumWidth(50);
  addWidget(left_);
  addWidget(right_, 1);
}

void StatusBar2::SetLeft(const QString& text) {
  left_->setText(text);
  left_->setToolTip(text);
}
void StatusBar2::SetRight(const QString& text) { right_->setText(text); }
QString StatusBar2::Left() const { return left_->text(); }
QString StatusBar2::Right() const { return right_->text(); }
int StatusBar2::LeftWidth() const { return left_->minimumWidth(); }

void StatusBar2::ToggleLeftWidth() {
  left_->setFixedWidth(left_->minimumWidth() >= 100 ? 60 : std::max(60, width() - 60));
}

void StatusBar2::mouseDoubleClickEvent(QMouseEvent* e) {
  ToggleLeftWidth();
  QStatusBar::mouseDoubleClickEvent(e);
}

}  // namespace zendra
