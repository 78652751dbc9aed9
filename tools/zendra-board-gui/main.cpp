// zendra-board-gui: the board control in a window, on a sample problem position; clicks play
// both sides. A look at the drawing and the mouse without the rest of the program.
//
//   zendra-board-gui [--radius R] [--setup "BLACK WHITE"] [--moves LIST] [--wood]
#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/widget/lattix.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::string setup = "CCDCECFDGE EDFEGFHFCE", moves = "DDEEDE";
  int radius = 12;
  bool wood = false;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--radius") == 0 && hasValue)
      radius = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--setup") == 0 && hasValue)
      setup = argv[++i];
    else if (std::strcmp(argv[i], "--moves") == 0 && hasValue)
      moves = argv[++i];
    else if (std::strcmp(argv[i], "--wood") == 0)
      wood = true;
  }

  QMainWindow window;
  auto* board = new zendra::TLattix(&window);
  board->SetCoordinate(20);
  board->SetRadius(static_cast<int16_t>(std::clamp(radius, 3, 40)));
  board->SetWood(wood);
  board->SetLanguage(2);
  board->SetPlayerName(0, "Black");
  board->SetPlayerName(1, "White");
  board->SetEvent("Sample problem");
  board->SetInitialProc(setup);
  board->SetProcess(moves);
  board->OnLegalMove = [&window](zendra::LattixEngine* sender, int16_t p, int16_t q, int16_t,
                                 int16_t, bool) {
    window.statusBar()->showMessage(QStringLiteral("Move %1: %2")
                                        .arg(sender->NextMove() - 1)
                                        .arg(QString::fromStdString(zendra::PointLetters(p, q))));
  };
  board->OnClickAtOpponentsTurn = [&window](zendra::LattixEngine*, int16_t, int16_t) {
    window.statusBar()->showMessage(QStringLiteral("That point is taken"));
  };
  window.setCentralWidget(board);
  window.setWindowTitle(QStringLiteral("Zendra board"));
  window.resize(board->BoardWidth() + board->DisplayWidth(), board->BoardHeight() + 24);
  window.show();
  return QApplication::exec();
}
