// The hint lock: the password dialog TSetPasswordDlg, the encoding of the stored password, and
// the flow of the "Hint allowed" entry that locks and unlocks the Hint command.
//
// The stored password only hides the text from a casual look at the settings file; anyone who
// can read that file can undo the encoding. It keeps a player from peeking at hints, nothing
// more.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>

#include "language/language.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSettings;

namespace zendra {

// Each byte b of `password` becomes (b * 195) mod 256 as two upper-case hexadecimal digits:
// "abc" gives "E3A669", the empty password the empty text.
std::string EncodeHintPassword(std::string_view password);

// A fixed-size modal dialog: a label over a one-line edit box, a "forgot" button beside it (in
// enter mode), OK (the default) and Cancel. Esc closes it with Cancel.
class TSetPasswordDlg : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { kSet, kEnter };

  explicit TSetPasswordDlg(const Localizer& text, QWidget* parent = nullptr);

  // Shows the dialog in `mode` with an empty edit box and the "forgot" state cleared, centred
  // on the screen; true when it closed with OK.
  bool Run(Mode mode);
  // The text typed (as bytes of the local 8-bit form the encoding works on).
  std::string Password() const;
  // True when the player confirmed "forgot" before the dialog closed with OK.
  bool Forgotten() const { return forgotten_; }

  // The parts, for tests.
  QLineEdit* Edit() const { return edit_; }
  QPushButton* ForgotButton() const { return forgot_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void AskForgot();

  Localizer text_;
  QLabel* label_;
  QLineEdit* edit_;
  QLabel* label2_;  // stays empty
  QPushButton* forgot_;
  QPushButton* ok_;
  QPushButton* cancel_;
  bool forgotten_ = false;
};

// The click on "Hint allowed": locks when `allowed` (a password is set, HintAllowed "0" and the
// encoded HintPassword written), unlocks otherwise (the password asked for; "forgot" erases it).
// `settings` stands in the group of the per-user values. A wrong password calls `beep`. Returns
// the option's new state; Cancel leaves it as it was and writes nothing.
bool ClickHintAllowed(TSetPasswordDlg& dialog, QSettings& settings, bool allowed,
                      const std::function<void()>& beep);

}  // namespace zendra
