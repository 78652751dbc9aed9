// The tip windows TSplashForm1 and TSplashForm2: small windows that appear without blocking
// after a refuted answer (or a correct one that leaves another reply of the computer to meet)
// and say which key goes on: tip 1 that PgDn tries the next variation, tip 2 that PgDn retries.
// Each closes itself 10 seconds after it is shown; its "Do not display this window" box keeps
// it from appearing again, stored as DisplaySplashForm1 / DisplaySplashForm2.
#pragma once

#include <QDialog>

#include "language/language.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace zendra {

class TSplashForm : public QDialog {
  Q_OBJECT

 public:
  // How long a tip stays when left alone.
  static constexpr int kShowMs = 10000;

  // Tip `which` (1 or 2). Reads its stored value (the settings are not created for it): the
  // window's switch is on unless the text is exactly "0", and the box is ticked exactly then.
  TSplashForm(int which, const Localizer& text, QWidget* parent = nullptr);

  int Which() const { return which_; }
  // The window's switch: the tip may appear.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  // Shows the window centred on the screen, without taking the keyboard from the main window,
  // and starts its timer.
  void ShowTip();

  QCheckBox* DoNotDisplay() const { return chkDoNotDisplay_; }
  QPushButton* CloseButton() const { return btnClose_; }
  QTimer* Timer1() const { return Timer1_; }

 protected:
  // The close by the timer, the button or the window's close box: the switch becomes the
  // opposite of the box, and is written ("1" / "0"). Hiding the window does not come here.
  void closeEvent(QCloseEvent* e) override;

 private:
  void TimerExpired();

  int which_;
  bool enabled_ = true;
  QLabel* Label1_;
  QCheckBox* chkDoNotDisplay_;
  QPushButton* btnClose_;
  QTimer* Timer1_;
};

}  // namespace zendra
