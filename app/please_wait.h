// The please-wait window TSplashForm3, shown while a collection loads: a caption, an hourglass
// cursor and a small clock whose hand sweeps round, drawn by the program itself (48 x 48).
#pragma once

#include <QDialog>

#include "language/language.h"

class QTimer;

namespace zendra {

// The animation: a clock face whose hand goes round in kFrames steps.
class ClockAnimation : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFrames = 12;
  static constexpr int kFrameMs = 100;

  explicit ClockAnimation(QWidget* parent = nullptr);
  void Play();
  void Stop();
  bool Playing() const;
  int Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QTimer* timer_;
  int frame_ = 0;
};

class TSplashForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TSplashForm3(const Localizer& text, QWidget* parent = nullptr);

  // Shows the window centred on the screen with the animation running, and paints it at once:
  // the load that follows holds the window thread.
  void ShowNow();
  // Hides the window and stops the animation.
  void CloseNow();
  // How many times the window has been shown.
  int Shows() const { return shows_; }

  ClockAnimation* Animate1() const { return Animate1_; }

 private:
  ClockAnimation* Animate1_;
  int shows_ = 0;
};

}  // namespace zendra
