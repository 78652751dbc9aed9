// TStudyForm: the study window. A second board, opened by Try when the option "study at a new
// window" is on, on which the player replays the line of the problem board with a scroll bar
// and buttons, and explores variations of it with clicks that play both colours.
//
// The window keeps the line it was given (its board's `GivenProcess`), the handicap of the board
// it came from and the study start: the move at which the study button went down. While the
// button is down clicks add moves and the scroll bar hides; putting it up (a click on "Restore")
// takes the explored moves away again. The board shows the problem's set-up stones as well as
// the moves of the line.
//
// Its size and position are kept per machine (the "Common" group of the system-wide settings):
// read when the window is made, written when it goes, only for a normal window on a screen.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "language/language.h"

class QPushButton;
class QScrollBar;
class QSettings;

namespace zendra {

class LattixEngine;
class TLattix;

class TStudyForm : public QWidget {
  Q_OBJECT

 public:
  // A hidden window with its texts in the language of `text`; `parent` (the main window) keeps
  // it above itself and deletes it.
  explicit TStudyForm(const Localizer& text, QWidget* parent = nullptr);
  ~TStudyForm() override;

  // Opens the window on board `b`: its set-up stones, handicap and first player, the line of
  // its moves, at the move `b` stands on; shows the window in front and starts studying there.
  void Open(const LattixEngine& b);
  // Goes to move `a` of the given line (0: no move): one step forward or back is played or
  // taken back, anything else replays the line from the start. Points off the board are
  // skipped. Unless `fromScrollBar`, the scroll bar follows.
  void GoToMove(int a, bool fromScrollBar = false);

  // The buttons' commands.
  void TakeBack();    // btnTakeBack
  void NextMove();    // btnNext
  void BeginFrom1();  // btn1
  // The study button was put down or up; `byUser` when the player clicked it. Up by the user
  // returns to the study start.
  void StudyToggled(bool byUser);

  TLattix* Board() const { return Lattix1; }
  QScrollBar* ScrollBar() const { return sb1; }
  int StudyStart() const { return studyStart_; }

  // The per-machine settings of the window: organisation and application as the main
  // settings, system scope, in the group "Common".
  static std::unique_ptr<QSettings> CommonSettings();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void UpdateStudyButtons();
  // A text of the window in its language.
  QString Say(Text id) const;
  // The scroll bar at `value` without it moving the board.
  void SetScrollBar(int value);
  int GivenMoves() const;
  void LayoutBoard();
  void ReadPlacement();
  void WritePlacement();

  Localizer text_;
  int8_t handicap_ = 0;
  int studyStart_ = 0;

  QWidget* Panel1 = nullptr;  // the board panel
  TLattix* Lattix1 = nullptr;
  QScrollBar* sb1 = nullptr;
  QPushButton* btnTakeBack = nullptr;
  QPushButton* btnNext = nullptr;
  QPushButton* btn1 = nullptr;
  QPushButton* btnStudy = nullptr;
  QPushButton* btnClose = nullptr;
};

}  // namespace zendra
