#include "app/please_wait.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <numbers>

#include "app/window_notices.h"

namespace zendra {

ClockAnimation::ClockAnimation(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
  setFixedSize(48, 48);
  timer_->setInterval(kFrameMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
}

void ClockAnimation::Play() {
  frame_ = 0;
  timer_->start();
  update();
}

void ClockAnimation::Stop() { timer_->stop(); }
bool ClockAnimation::Playing() const { return timer_->isActive(); }

void ClockAnimation::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF centre(24, 24);
  // The face: a light disc with a dark rim and twelve ticks.
  p.setPen(QPen(QColor(0x3a, 0x3a, 0x3a), 2.5));
  p.setBrush(QColor(0xfb, 0xf7, 0xea));
  p.drawEllipse(centre, 21, 21);
  for (int i = 0; i < kFrames; ++i) {
    const double a = 2 * std::numbers::pi * i / kFrames;
    const QPointF dir(std::sin(a), -std::cos(a));
    p.setPen(QPen(QColor(0x3a, 0x3a, 0x3a), i % 3 == 0 ? 2.5 : 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + dir * 15, centre + dir * 18);
  }
  // The swept part of the round, then the hand at this frame.
  const double sweep = 360.0 * frame_ / kFrames;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xdc, 0xb3, 0x5c, 150));
  p.drawPie(QRectF(centre.x() - 13, centre.y() - 13, 26, 26), 90 * 16,
            -static_cast<int>(sweep * 16));
  const double a = 2 * std::numbers::pi * frame_ / kFrames;
  p.setPen(QPen(QColor(0x1a, 0x1a, 0x1a), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * 14);
  p.setBrush(QColor(0x1a, 0x1a, 0x1a));
  p.drawEllipse(centre, 2.5, 2.5);
}

TSplashForm3::TSplashForm3(const Localizer& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint), Animate1_(new ClockAnimation(this)) {
  setObjectName("SplashForm3");
  setWindowTitle(QString::fromStdString(text.Say(Text::kPleaseWait)));
  setCursor(Qt::WaitCursor);
  setModal(false);
  Animate1_->setObjectName("Animate1");
  Animate1_->move(80, 16);
  setFixedSize(215, 83);
}

void TSplashForm3::ShowNow() {
  CentreOnScreen(*this);
  show();
  ++shows_;
  Animate1_->Play();
  // Map and paint the window before the load holds the thread.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
}

void TSplashForm3::CloseNow() {
  Animate1_->Stop();
  hide();
}

}  // namespace zendra
