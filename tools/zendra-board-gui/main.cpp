// zendra-board-gui: the board control in a window, on a sample problem position or on any of
// the board's game kinds; clicks play both sides. A look at the drawing and the mouse without
// the rest of the program.
//
//   zendra-board-gui [--kind K] [--rules H] [--radius R] [--setup "BLACK WHITE"] [--moves LIST]
//                    [--wood]
//
// --kind picks the game: 0 Go (the default, on the sample problem), 1 Chinese chess, 2 chess,
// 3 five-in-a-row, 4 army chess; the toolbar switches it too. --rules sets five-in-a-row's rule
// switches (`Handicap`: 0 free, 1 to 3 forbidden points lose, 4 played, 5 refused; add 2 for the
// opening exchange). --setup and --moves give the position of the kind started first.
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/widget/lattix.h"

namespace {

using zendra::LattixEngine;
using zendra::TLattix;

// The kinds in the order of their `GameKind` values.
constexpr const char* kKindNames[5] = {"Go", "Chinese chess", "Chess", "Five-in-a-row",
                                       "Army chess"};
// A radius per kind that gives boards of about the same size.
constexpr int kKindRadius[5] = {12, 22, 26, 16, 18};

// Five-in-a-row's rule switches offered in the toolbar.
struct Rules {
  const char* name;
  int handicap;
};
constexpr Rules kRules[] = {
    {"Free play", 0},
    {"Forbidden points lose", 1},
    {"Forbidden points lose, opening exchange", 3},
    {"Forbidden points refused", 5},
    {"Forbidden points refused, opening exchange", 7},
};

struct Position {
  std::string setup;  // black list, a space, white list
  std::string moves;
};

class Demo {
 public:
  Demo(int radius, bool wood) : radius_(radius) {
    board_ = new TLattix(&window_);
    board_->SetCoordinate(20);
    board_->SetDisplayWidth(170);  // room for the result line in English
    board_->SetWood(wood);
    board_->SetLanguage(2);
    board_->SetInteractive(true);
    board_->SetPlayerName(0, "Black");
    board_->SetPlayerName(1, "White");
    Connect();

    auto* bar = window_.addToolBar(QStringLiteral("Game"));
    kinds_ = new QComboBox(bar);
    for (const char* name : kKindNames) kinds_->addItem(QString::fromLatin1(name));
    bar->addWidget(kinds_);
    rules_ = new QComboBox(bar);
    for (const Rules& r : kRules) rules_->addItem(QString::fromLatin1(r.name), r.handicap);
    bar->addWidget(rules_);
    bar->addAction(QStringLiteral("New game"), [this] { Start(board_->GameKind(), {}); });
    bar->addAction(QStringLiteral("Take back"), [this] { board_->TakeBack(); });
    QObject::connect(kinds_, &QComboBox::activated, [this](int kind) { Start(kind, {}); });
    QObject::connect(rules_, &QComboBox::activated, [this](int) {
      if (board_->GameKind() == zendra::kFiveInARow) Start(zendra::kFiveInARow, {});
    });

    window_.setCentralWidget(board_);
    window_.setWindowTitle(QStringLiteral("Zendra board"));
  }

  // Starts a game of `kind` on `position` (Go falls back to the sample problem).
  void Start(int kind, Position position) {
    kinds_->setCurrentIndex(kind);
    rules_->setEnabled(kind == zendra::kFiveInARow);
    board_->SetGameKind(static_cast<int16_t>(kind));
    if (kind == zendra::kGo && position.setup.empty() && position.moves.empty())
      position = {"CCDCECFDGE EDFEGFHFCE", "DDEEDE"};
    const std::size_t space = position.setup.find(' ');
    board_->SetArrangedSideP(position.setup.substr(0, space));
    board_->SetArrangedSideN(space == std::string::npos ? "" : position.setup.substr(space + 1));
    // Black moves first in Go and five-in-a-row; white (the negative side) in the chess kinds.
    board_->SetFirstToPlay(kind == zendra::kGo || kind == zendra::kFiveInARow ? zendra::kBlack
                                                                              : zendra::kWhite);
    board_->SetHandicap(
        static_cast<int8_t>(kind == zendra::kFiveInARow ? rules_->currentData().toInt() : 0));
    board_->SetAtone(15);
    board_->SetEvent(kind == zendra::kGo ? "Sample problem" : kKindNames[kind]);
    board_->NewGame(true);
    board_->SetProcess(position.moves);
    board_->SetRadius(static_cast<int16_t>(radius_ > 0 ? radius_ : kKindRadius[kind]));
    board_->setFixedSize(board_->BoardWidth() + board_->DisplayWidth() * board_->DisplayInfo(),
                         board_->BoardHeight());
    window_.adjustSize();
    window_.statusBar()->showMessage(QString::fromLatin1(kKindNames[kind]));
  }

  void SetRules(int handicap) {
    int index = rules_->findData(handicap);
    if (index < 0) {
      rules_->addItem(QStringLiteral("Handicap %1").arg(handicap), handicap);
      index = rules_->count() - 1;
    }
    rules_->setCurrentIndex(index);
  }

  void Show() { window_.show(); }

 private:
  void Say(const QString& text) { window_.statusBar()->showMessage(text); }

  // The rules' own events come while the move is being made, before OnLegalMove: what they
  // say is kept and shown after the move.
  void Connect() {
    board_->OnLegalMove = [this](LattixEngine* sender, int16_t p, int16_t q, int16_t kind, int16_t,
                                 bool) {
      const QString point = QString::fromStdString(zendra::PointLetters(p, q));
      QString text = kind == 1 ? QStringLiteral("White took the candidate at %1 off").arg(point)
                               : QStringLiteral("%1 at %2")
                                     .arg(sender->GetPoint(p, q) > 0 ? "Black" : "White")
                                     .arg(point);
      if (!notice_.isEmpty()) text += QStringLiteral(". ") + notice_;
      notice_.clear();
      Say(text);
    };
    board_->OnClickAtOpponentsTurn = [this](LattixEngine*, int16_t, int16_t) {
      Say(QStringLiteral("That point is taken"));
    };
    board_->OnWinnerGot = [this](LattixEngine*, int16_t winner, int16_t reason, bool) {
      const QString side =
          winner == zendra::kBlackWon ? QStringLiteral("Black") : QStringLiteral("White");
      notice_ = reason == 4 ? QStringLiteral("Black played a forbidden point: %1 wins").arg(side)
                            : QStringLiteral("Five in a row: %1 wins").arg(side);
    };
    board_->OnFifthMoveDone = [this](LattixEngine*, bool) {
      notice_ = QStringLiteral("Black: put down a second candidate for the fifth move");
    };
    board_->OnExtraMoveDone = [this](LattixEngine*, bool) {
      notice_ = QStringLiteral("White: take one of the two candidates off");
    };
  }

  QMainWindow window_;
  TLattix* board_ = nullptr;
  QComboBox* kinds_ = nullptr;
  QComboBox* rules_ = nullptr;
  int radius_ = 0;
  QString notice_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Position position;
  int radius = 0, kind = 0, rules = 5;
  bool wood = false;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--radius") == 0 && hasValue)
      radius = std::clamp(std::atoi(argv[++i]), 3, 40);
    else if (std::strcmp(argv[i], "--kind") == 0 && hasValue)
      kind = std::clamp(std::atoi(argv[++i]), 0, 4);
    else if (std::strcmp(argv[i], "--rules") == 0 && hasValue)
      rules = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--setup") == 0 && hasValue)
      position.setup = argv[++i];
    else if (std::strcmp(argv[i], "--moves") == 0 && hasValue)
      position.moves = argv[++i];
    else if (std::strcmp(argv[i], "--wood") == 0)
      wood = true;
  }
  Demo demo(radius, wood);
  demo.SetRules(rules);
  demo.Start(kind, position);
  demo.Show();
  return QApplication::exec();
}
