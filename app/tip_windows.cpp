#include "app/tip_windows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <algorithm>

#include "app/settings.h"
#include "app/window_notices.h"

namespace zendra {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString Key(int which) { return QStringLiteral("DisplaySplashForm%1").arg(which); }

}  // namespace

TSplashForm::TSplashForm(int which, const Localizer& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowDoesNotAcceptFocus),
      which_(which) {
  setObjectName(QStringLiteral("SplashForm%1").arg(which));
  setWindowTitle(Q(text.Say(Text::kTipCaption)));
  setModal(false);
  // The player answers with PgDn in the main window: the tip must not take the keyboard.
  setAttribute(Qt::WA_ShowWithoutActivating);

  Label1_ = new QLabel(Q(text.Say(which == 1 ? Text::kTipNextVariation : Text::kTipRetry)), this);
  Label1_->setObjectName("Label1");
  Label1_->setStyleSheet("color: red;");
  chkDoNotDisplay_ = new QCheckBox(Q(text.Say(Text::kDoNotDisplay)), this);
  chkDoNotDisplay_->setObjectName("chkDoNotDisplay");
  btnClose_ = new QPushButton(Q(text.Say(Text::kTipClose)), this);
  btnClose_->setObjectName("btnClose");

  // The design's places; heights grow where the font needs more, and the window with them.
  const int labelHeight = std::max(13, Label1_->sizeHint().height());
  const int boxHeight = std::max(17, chkDoNotDisplay_->sizeHint().height());
  const int buttonHeight = std::max(25, btnClose_->sizeHint().height());
  Label1_->setGeometry(8, 24, 489, labelHeight);
  chkDoNotDisplay_->setGeometry(
      8, 64, std::max(which == 1 ? 217 : 209, chkDoNotDisplay_->sizeHint().width()), boxHeight);
  const int closeLeft = std::max(232, chkDoNotDisplay_->geometry().right() + 8);
  btnClose_->setGeometry(closeLeft, 64, std::max(75, btnClose_->sizeHint().width()),
                         buttonHeight);
  setFixedSize(510, std::max(95, 64 + buttonHeight + 6));

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName("Timer1");
  Timer1_->setInterval(kShowMs);
  Timer1_->setSingleShot(true);
  connect(Timer1_, &QTimer::timeout, this, &TSplashForm::TimerExpired);
  connect(btnClose_, &QPushButton::clicked, this, &QWidget::close);

  // The stored choice, read without creating the settings; a missing value means on.
  const QSettings settings(kSettingsOrganisation, kSettingsApplication);
  const QString stored =
      settings.value(QStringLiteral("%1/%2").arg(kSettingsGroup, Key(which))).toString();
  enabled_ = stored != QStringLiteral("0");
  chkDoNotDisplay_->setChecked(stored == QStringLiteral("0"));
}

void TSplashForm::ShowTip() {
  CentreOnScreen(*this);
  show();
  Timer1_->start();
}

void TSplashForm::TimerExpired() {
  // A tip the main window has already hidden is closed all the same, which saves its box again.
  if (isVisible()) {
    close();
  } else {
    QCloseEvent e;
    closeEvent(&e);
  }
}

void TSplashForm::closeEvent(QCloseEvent* e) {
  Timer1_->stop();
  enabled_ = !chkDoNotDisplay_->isChecked();
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.setValue(QStringLiteral("%1/%2").arg(kSettingsGroup, Key(which_)),
                    enabled_ ? QStringLiteral("1") : QStringLiteral("0"));
  settings.sync();  // a failure to write is ignored: the switch holds for this run
  QDialog::closeEvent(e);
}

}  // namespace zendra
