#include "app/password_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <algorithm>

#include "app/window_notices.h"

namespace zendra {

std::string EncodeHintPassword(std::string_view password) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(password.size() * 2);
  for (const char c : password) {
    const auto b = static_cast<unsigned char>(c);
    // 195 is odd, so the product modulo 256 keeps every byte apart.
    const auto e = static_cast<unsigned char>((b * 195u) & 0xFFu);
    out += kHex[e >> 4];
    out += kHex[e & 0x0F];
  }
  return out;
}

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The dialog's design size and places.
constexpr int kWidth = 313;
constexpr int kHeight = 137;

}  // namespace

TSetPasswordDlg::TSetPasswordDlg(const Localizer& text, QWidget* parent)
    : QDialog(parent), text_(text) {
  setObjectName("SetPasswordDlg");
  setModal(true);
  label_ = new QLabel(this);
  label_->setObjectName("Label1");
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Password");
  label2_ = new QLabel(this);
  label2_->setObjectName("Label2");
  forgot_ = new QPushButton(Q(text_.Say(Text::kForgot)), this);
  forgot_->setObjectName("btnForgot");
  forgot_->setAutoDefault(false);
  ok_ = new QPushButton(Q(text_.Say(Text::kOk)), this);
  ok_->setObjectName("OKBtn");
  ok_->setDefault(true);
  cancel_ = new QPushButton(Q(text_.Say(Text::kCancel)), this);
  cancel_->setObjectName("CancelBtn");
  cancel_->setAutoDefault(false);

  // Fixed places, grown to the font where the design's heights are too small for it.
  const int editHeight = std::max(21, edit_->sizeHint().height());
  const int buttonHeight = std::max(25, ok_->sizeHint().height());
  const int forgotWidth = std::max(60, forgot_->sizeHint().width());
  label_->setGeometry(8, 9, kWidth - 16, std::max(13, label_->sizeHint().height()));
  edit_->setGeometry(8, 29, kWidth - 24 - forgotWidth, editHeight);
  forgot_->setGeometry(kWidth - 8 - forgotWidth, 29, forgotWidth, editHeight);
  label2_->setGeometry(8, 29 + editHeight + 4, kWidth - 16, 13);
  const int buttonsTop = std::max(kHeight - 8 - buttonHeight, 29 + editHeight + 21);
  ok_->setGeometry(kWidth - 2 * (75 + 8), buttonsTop, 75, buttonHeight);
  cancel_->setGeometry(kWidth - 75 - 8, buttonsTop, 75, buttonHeight);
  setFixedSize(kWidth, buttonsTop + buttonHeight + 8);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);  // Esc too (QDialog)
  connect(forgot_, &QPushButton::clicked, this, &TSetPasswordDlg::AskForgot);
}

bool TSetPasswordDlg::Run(Mode mode) {
  const bool enter = mode == Mode::kEnter;
  setWindowTitle(Q(text_.Say(enter ? Text::kPasswordCaption : Text::kSetPasswordCaption)));
  label_->setText(Q(text_.Say(enter ? Text::kEnterPasswordLabel : Text::kSetPasswordLabel)));
  forgot_->setVisible(enter);
  // A password typed before must not wait in the box for the next person who opens it.
  edit_->clear();
  forgotten_ = false;
  CentreOnScreen(*this);
  return exec() == QDialog::Accepted;
}

std::string TSetPasswordDlg::Password() const { return edit_->text().toUtf8().toStdString(); }

void TSetPasswordDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  forgotten_ = false;
  edit_->setFocus();
}

void TSetPasswordDlg::AskForgot() {
  const auto answer = QMessageBox::question(this, Q(text_.Say(Text::kForgotCaption)),
                                            Q(text_.Say(Text::kForgotQuestion)),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  forgotten_ = true;
  accept();
}

bool ClickHintAllowed(TSetPasswordDlg& dialog, QSettings& settings, bool allowed,
                      const std::function<void()>& beep) {
  if (allowed) {
    if (!dialog.Run(TSetPasswordDlg::Mode::kSet)) return true;
    settings.setValue("HintAllowed", QStringLiteral("0"));
    settings.setValue("HintPassword", Q(EncodeHintPassword(dialog.Password())));
    settings.sync();  // a failed write keeps the stored state; the option changes all the same
    return false;
  }
  if (!dialog.Run(TSetPasswordDlg::Mode::kEnter)) return false;
  if (dialog.Forgotten()) {
    settings.setValue("HintPassword", QString());
    settings.setValue("HintAllowed", QStringLiteral("1"));
    settings.sync();
    return true;
  }
  const QString stored = settings.value("HintPassword").toString();
  if (stored != Q(EncodeHintPassword(dialog.Password()))) {
    if (beep) beep();
    return false;
  }
  settings.setValue("HintAllowed", QStringLiteral("1"));
  settings.sync();
  return true;
}

}  // namespace zendra
