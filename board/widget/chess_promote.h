// The pawn promotion dialog of the chess board: which piece a pawn becomes on the last row.
#pragma once

#include <QDialog>
#include <array>

class QPushButton;

namespace zendra {

// A modal dialog captioned "Pawn promotion" with four buttons, queen, rook, knight and bishop,
// the queen preselected. Its result is the choice, 0 queen, 1 rook, 2 knight, 3 bishop: the
// Piece argument of PlayMove. Closing it otherwise (Escape, the window's close button) keeps
// the queen.
class TChessPromote : public QDialog {
  Q_OBJECT

 public:
  // `negativeSide` chooses the pictures on the buttons: the negative (white) side's pieces or
  // the positive (black) side's.
  explicit TChessPromote(QWidget* parent = nullptr, bool negativeSide = true);

  // Shows the dialog, waits for the choice and answers it (0 to 3).
  static int Ask(QWidget* parent, bool negativeSide);

  // The button of choice 0..3 (nullptr for other values).
  QPushButton* Button(int choice) const;

 private:
  std::array<QPushButton*, 4> buttons_{};
};

}  // namespace zendra
