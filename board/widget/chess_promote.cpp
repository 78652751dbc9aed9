#include "board/widget/chess_promote.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

#include "board/engine/chess_kinds.h"
#include "board/engine/lattix_engine.h"
#include "board/widget/piece_art.h"

namespace zendra {

namespace {

// The choices in the order of their answers.
struct Choice {
  const char* label;
  int piece;
};
constexpr Choice kChoices[4] = {{"Queen", chess::kQueen},
                                {"Rook", chess::kRook},
                                {"Knight", chess::kKnight},
                                {"Bishop", chess::kBishop}};

// Radius of the pieces on the buttons.
constexpr int kIconRadius = 16;

}  // namespace

TChessPromote::TChessPromote(QWidget* parent, bool negativeSide) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Pawn promotion"));
  setModal(true);
  auto* row = new QHBoxLayout(this);
  for (int i = 0; i < 4; ++i) {
    auto* button = new QPushButton(QString::fromLatin1(kChoices[i].label), this);
    const QImage piece = PaintPiece(kChess, chess::PieceCell(kChoices[i].piece, negativeSide),
                                    kIconRadius, devicePixelRatioF());
    button->setIcon(QIcon(QPixmap::fromImage(piece)));
    button->setIconSize(QSize(2 * kIconRadius + 1, 2 * kIconRadius + 1));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { done(i); });
    row->addWidget(button);
    buttons_[static_cast<std::size_t>(i)] = button;
  }
  // The queen is preselected: Enter takes it, and rejecting the dialog answers 0 as well.
  buttons_[0]->setDefault(true);
  buttons_[0]->setFocus();
}

int TChessPromote::Ask(QWidget* parent, bool negativeSide) {
  TChessPromote dialog(parent, negativeSide);
  const int answer = dialog.exec();
  return answer >= 0 && answer <= 3 ? answer : 0;
}

QPushButton* TChessPromote::Button(int choice) const {
  return choice >= 0 && choice <= 3 ? buttons_[static_cast<std::size_t>(choice)] : nullptr;
}

}  // namespace zendra
