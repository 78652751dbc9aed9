#include "app/main_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTextStream>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/library_session.h"
#include "app/qt_ports.h"
#include "app/settings.h"
#include "app/status_bar.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "library/navigation.h"
#include "solving/solving_controller.h"

namespace zendra {
namespace {

constexpr int kLabelPanelWidth = 153;
constexpr int kBoardPanelMin = 100;
constexpr int kBoardPanelMax = 800;
constexpr int kMaxZoomRadius = 18;
constexpr int kMinZoomRadius = 6;

// The status labels of the problem page, top to bottom; the history writes the first and the
// last six in this order.
const char* const kLabelNames[] = {"LabelStdResult",     "LabelResult",     "LabelSuccessCount",
                                   "LabelFailureCount",  "LabelHint0Count", "LabelHint1Count",
                                   "LabelTakebackCount", "LabelStudyCount"};
// History label index (0..6) to label name.
const char* HistoryLabelName(int label) {
  static const char* const names[] = {"LabelStdResult",  "LabelSuccessCount", "LabelFailureCount",
                                      "LabelHint0Count", "LabelHint1Count",   "LabelTakebackCount",
                                      "LabelStudyCount"};
  return label >= 0 && label < 7 ? names[label] : nullptr;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

GridState StateOf(const TGoIndex& g) {
  GridState s;
  s.Count = g.Count();
  s.Cols = g.Cols();
  s.Rows = g.Rows();
  s.RowCount = g.RowCount();
  s.TopRow = g.TopRow();
  s.Selected = g.Selected();
  return s;
}

}  // namespace


namespace {

// The values the problem board keeps with the window, applied in their stored order: the record
// (no moves, komi 15), then the display values, then the play flags. The board fills its panel,
// so its radius follows the panel; the information column starts hidden (zoom brings it back)
// and is only as wide as the turn circles.
void ApplyStoredBoardValues(TLattix& board) {
  board.SetNoBoard(false);
  board.SetPal256(false);
  board.SetManualString("02VexGame0 2010/09/12-23:32:26 0   15 0 0 0 0 0 0 0 0 9 ");
  board.SetBaseNum(1);
  board.SetRadius(7);
  board.SetCoordinate(16);
  board.SetsgfCoordinate(true);
  board.SetBoardColor(2724550);
  board.SetBoardColorNum(2);
  board.SetDim3(true);
  board.SetWood(false);
  board.SetPainting(false);
  board.SetDisplayTurn(true);
  board.SetDisplayInfo(0);
  board.SetDisplayWidth(32);
  board.SetDrawLastPass(false);
  board.SetFirstToPlayByRule(true);
  board.SetFirstToPlay(kBlack);
  board.SetTurn(kBlack);
  board.SetWinner(kNoWinner);
  board.SetSingleMode(false);
  board.SetStudy(false);
}

}  // namespace

TLattixMainForm::TLattixMainForm(MainFormPaths paths, SolvingSounds& sounds, QWidget* parent)
    : QMainWindow(parent), paths_(std::move(paths)), sounds_(sounds) {
  setObjectName("LattixMainForm");
  setWindowTitle("Zendra");
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setMinimumWidth(600);
  resize(640, 480);

  library_ = std::make_unique<LibrarySession>(paths_.dataFile, paths_.historyFile, text_);
  CreateWidgets();
  CreateSolving();  // the reply mask starts at 29
  CreateCommands();
  LoadRemarks();

  // Empty labels, hidden solving toolbar, no collection, the index page with the grid focused,
  // no problem buttons.
  for (auto& [name, label] : labels_) label->clear();
  ToolBarSolveIt->hide();
  ShowIndexPage();
  GoIndex1->setFocus();
  for (QPushButton* b : tryButtons_) b->hide();
  UpdateCommands();
}

TLattixMainForm::~TLattixMainForm() {
  // The board's events call into the controller: unhook them before it goes.
  Lattix1->OnLegalMove = nullptr;
  Lattix1->OnMouseUp = nullptr;
}

// ---- Construction ---------------------------------------------------------------------------

void TLattixMainForm::CreateWidgets() {
  ToolBarView = new QToolBar("View", this);
  ToolBarView->setObjectName("ToolBarView");
  ToolBarSolveIt = new QToolBar("Solve", this);
  ToolBarSolveIt->setObjectName("ToolBarSolveIt");
  for (QToolBar* bar : {ToolBarView, ToolBarSolveIt}) {
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, bar);
  }
  setContextMenuPolicy(Qt::NoContextMenu);

  PageControl1 = new QStackedWidget(this);
  PageControl1->setObjectName("PageControl1");
  setCentralWidget(PageControl1);

  // Index page: the grid and its vertical scroll bar.
  tsIndex = new QWidget(PageControl1);
  tsIndex->setObjectName("tsIndex");
  auto* indexLayout = new QHBoxLayout(tsIndex);
  indexLayout->setContentsMargins(0, 0, 0, 0);
  indexLayout->setSpacing(0);
  GoIndex1 = new TGoIndex(tsIndex);
  GoIndex1->setObjectName("GoIndex1");
  GoIndex1->setFocusPolicy(Qt::StrongFocus);
  ScrollBar1 = new QScrollBar(Qt::Vertical, tsIndex);
  ScrollBar1->setObjectName("ScrollBar1");
  ScrollBar1->setRange(1, 1);
  indexLayout->addWidget(GoIndex1, 1);
  indexLayout->addWidget(ScrollBar1);
  PageControl1->addWidget(tsIndex);

  // Problem page: the label panel, a splitter, the board panel.
  tsProblem = new QWidget(PageControl1);
  tsProblem->setObjectName("tsProblem");
  auto* problemLayout = new QHBoxLayout(tsProblem);
  problemLayout->setContentsMargins(0, 0, 0, 0);
  Splitter1 = new QSplitter(Qt::Horizontal, tsProblem);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setChildrenCollapsible(false);
  problemLayout->addWidget(Splitter1);

  Panel1 = new QWidget(Splitter1);
  Panel1->setObjectName("Panel1");
  Panel1->setMinimumWidth(kLabelPanelWidth / 2);
  auto* labelLayout = new QVBoxLayout(Panel1);
  labelLayout->setContentsMargins(6, 8, 4, 8);
  labelLayout->setSpacing(6);
  for (const char* name : kLabelNames) {
    auto* label = new QLabel(Panel1);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    labelLayout->addWidget(label);
    labels_[name] = label;
  }
  labelLayout->addStretch(1);
  // The try-mode buttons, shown only while try mode runs.
  const std::pair<const char*, const char*> tryButtons[] = {{"btnUndo", "&Undo"},
                                                            {"btnNextMove", "&Next move"},
                                                            {"btn1", "&Restart"},
                                                            {"btnStopStudy2", "&Stop"}};
  for (const auto& [name, caption] : tryButtons) {
    auto* b = new QPushButton(caption, Panel1);
    b->setObjectName(name);
    b->setEnabled(false);
    labelLayout->addWidget(b);
    tryButtons_.push_back(b);
  }
  Splitter1->addWidget(Panel1);

  Panel2 = new QWidget(Splitter1);
  Panel2->setObjectName("Panel2");
  Panel2->setMinimumWidth(kBoardPanelMin);
  Panel2->setMaximumSize(kBoardPanelMax, kBoardPanelMax);
  Panel2->installEventFilter(this);
  Lattix1 = new TLattix(Panel2);
  Lattix1->setObjectName("Lattix1");
  ApplyStoredBoardValues(*Lattix1);
  Splitter1->addWidget(Panel2);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({kLabelPanelWidth, 487});
  PageControl1->addWidget(tsProblem);

  StatusBar1 = new StatusBar2(this);
  StatusBar1->setObjectName("StatusBar1");
  setStatusBar(StatusBar1);

  // The grid's events.
  GoIndex1->OnSelectedChanged = [this](TGoIndex*, int nNewNo, int, int) {
    if (nNewNo >= 0) SolveIt();
  };
  GoIndex1->OnTopRowChanged = [this](TGoIndex*, int nNewNo, int, int) {
    if (ScrollBar1->value() != nNewNo) ScrollBar1->setValue(nNewNo);
  };
  GoIndex1->OnGamesChanged = [this](TGoIndex*, int, int, int) { SyncScrollBar(); };
  connect(ScrollBar1, &QScrollBar::valueChanged, this,
          [this](int position) { SetTopRow(TopRowFromScrollBar(StateOf(*GoIndex1), position)); });
  GoIndex1->installEventFilter(this);

  // The history's labels and the selected entry's solved mark.
  library_->OnLabelChanged = [this](int label, const std::string& text) {
    if (const char* name = HistoryLabelName(label)) SetLabel(labels_[name], text);
  };
  library_->OnSolvedCountChanged = [this](int solved) { GoIndex1->SetSolvedCount(solved); };
}

void TLattixMainForm::CreateSolving() {
  problemSource_ = std::make_unique<SessionProblemSource>(*library_);
  historyPort_ = std::make_unique<SessionHistoryCounters>(*library_);
  timer1_ = std::make_unique<QtSolvingTimer>([this] { controller_->Timer1Timer(); });
  timer2_ = std::make_unique<QtSolvingTimer>([this] { controller_->Timer2Timer(); });
  clock_ = std::make_unique<SteadyMillisecondClock>();
  controller_ = std::make_unique<SolvingController>(*Lattix1, static_cast<SolvingUi&>(*this),
                                                    sounds_, *historyPort_, *problemSource_,
                                                    *timer1_, *timer2_, *clock_);
  controller_->SetLanguage(text_);
  controller_->SetComputerDoNotPlayBadMove(true);

  Lattix1->OnLegalMove = [this](LattixEngine*, int16_t p, int16_t q, int16_t, int16_t, bool) {
    controller_->Lattix1LegalMove(p, q);
  };
  // Releasing the right button on the board starts the problem again.
  Lattix1->OnMouseUp = [this](TLattix*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    if (button == Qt::RightButton && !Lattix1->Process().empty() &&
        Command("miSolveAgain1")->isEnabled())
      controller_->SolveAgain();
  };
}

QAction* TLattixMainForm::MakeAction(const char* name, const QString& caption,
                                     const QString& hint) {
  auto* a = new QAction(caption, this);
  a->setObjectName(name);
  if (!hint.isEmpty()) {
    a->setToolTip(hint);
    a->setStatusTip(hint);
  }
  commands_[name] = a;
  return a;
}

void TLattixMainForm::AddKeys(QAction* command, std::initializer_list<const char*> names,
                              std::initializer_list<QKeySequence> keys) {
  // Window-wide actions that are never in a menu, so they stay visible (and their keys live)
  // whatever the page hides; SetCommandEnabled keeps them enabled exactly when their command is.
  // (A hidden QAction reads as disabled, so they cannot simply follow its enabled state.)
  auto name = names.begin();
  for (const QKeySequence& key : keys) {
    auto* k = new QAction(this);
    k->setObjectName(*name++);
    k->setShortcut(key);
    k->setShortcutContext(Qt::WindowShortcut);
    k->setEnabled(command->isEnabled());
    addAction(k);
    connect(k, &QAction::triggered, command, &QAction::trigger);
    keys_[command].push_back(k);
    commands_[k->objectName()] = k;
  }
  QStringList texts;
  for (const QKeySequence& key : keys) texts << key.toString(QKeySequence::NativeText);
  // The menu shows the first key as the entry's shortcut.
  if (keys.size() > 0) command->setText(command->text() + "\t" + texts.first());
}

void TLattixMainForm::CreateCommands() {
  QStyle* st = style();
  const auto icon = [st](QStyle::StandardPixmap p) { return st->standardIcon(p); };

  // File.
  QMenu* miFile1 = menuBar()->addMenu("&File");
  miFile1->setObjectName("miFile1");
  const char* const collectionNames[] = {"miBasic1", "miBeginner1", "miIntermediate1",
                                         "miAdvanced1"};
  OpenMenu = new QMenu(this);
  OpenMenu->setObjectName("OpenMenu");
  for (int tag = 0; tag < 4; ++tag) {
    const QString caption = Q(CollectionCaption(tag, text_));
    QAction* a = MakeAction(collectionNames[tag], caption);
    connect(a, &QAction::triggered, this, [this, tag] { OpenCollection(tag); });
    miFile1->addAction(a);
    collectionEntries_.push_back(a);
    // The drop-down of "Open" carries the same captions.
    QAction* d = OpenMenu->addAction(caption);
    d->setObjectName(QString("Open") + collectionNames[tag]);
    connect(d, &QAction::triggered, this, [this, tag] { OpenCollection(tag); });
  }
  miFile1->addSeparator();
  QAction* clearAll = MakeAction("miClearallsolvedflags1", Q(text_.Say(Text::kClearAllCaption)));
  connect(clearAll, &QAction::triggered, this, &TLattixMainForm::ClearAllSolvedFlags);
  miFile1->addAction(clearAll);
  QAction* exitAction = MakeAction("miExit1", "Exit");
  connect(exitAction, &QAction::triggered, this, &QWidget::close);
  miFile1->addAction(exitAction);

  // View.
  QMenu* miView1 = menuBar()->addMenu("&View");
  miView1->setObjectName("miView1");
  QAction* zoomIn = MakeAction("miZoomin1", "Zoom &In");
  QAction* zoomOut = MakeAction("miZoomout1", "Zoom &Out");
  zoomIn->setIcon(icon(QStyle::SP_ArrowUp));
  zoomOut->setIcon(icon(QStyle::SP_ArrowDown));
  connect(zoomIn, &QAction::triggered, this, &TLattixMainForm::ZoomIn);
  connect(zoomOut, &QAction::triggered, this, &TLattixMainForm::ZoomOut);
  miView1->addActions({zoomIn, zoomOut});
  miView1->addSeparator();
  QAction* index = MakeAction("miProblemIndex1", "&Index", "Index");
  index->setCheckable(true);
  index->setIcon(icon(QStyle::SP_FileDialogListView));
  connect(index, &QAction::triggered, this, &TLattixMainForm::ShowIndexPage);
  QAction* solveIt = MakeAction("miSolveIt1", "S&olve it", "Solve it");
  solveIt->setCheckable(true);
  solveIt->setIcon(icon(QStyle::SP_DialogApplyButton));
  connect(solveIt, &QAction::triggered, this, &TLattixMainForm::SolveIt);
  miView1->addActions({index, solveIt});
  miView1->addSeparator();

  struct Nav {
    const char* name;
    const char* caption;
    const char* hint;
    QStyle::StandardPixmap pixmap;
    void (TLattixMainForm::*run)();
  };
  const Nav pages[] = {
      {"miFirstpage1", "&First page", "First page", QStyle::SP_MediaSkipBackward,
       &TLattixMainForm::FirstPage},
      {"miPriorpage1", "&Prior page", "Prior page", QStyle::SP_MediaSeekBackward,
       &TLattixMainForm::PriorPage},
      {"miNextpage1", "&Next page", "Next page", QStyle::SP_MediaSeekForward,
       &TLattixMainForm::NextPage},
      {"miLastpage1", "&Last page", "Last page", QStyle::SP_MediaSkipForward,
       &TLattixMainForm::LastPage},
  };
  const Nav problems[] = {
      {"miFirstproblem1", "&First problem", "First problem", QStyle::SP_ArrowUp,
       &TLattixMainForm::FirstProblem},
      {"miPriorproblem1", "&Prior problem", "Prior problem (UP)", QStyle::SP_ArrowBack,
       &TLattixMainForm::PriorProblem},
      {"miNextproblem1", "&Next problem", "Next problem (DOWN)", QStyle::SP_ArrowForward,
       &TLattixMainForm::NextProblem},
      {"miLastproblem1", "&Last problem", "Last problem", QStyle::SP_ArrowDown,
       &TLattixMainForm::LastProblem},
  };
  for (const Nav& n : pages) {
    QAction* a = MakeAction(n.name, n.caption, n.hint);
    a->setIcon(icon(n.pixmap));
    connect(a, &QAction::triggered, this, n.run);
    miView1->addAction(a);
    pageCommands_.push_back(a);
  }
  for (const Nav& n : problems) {
    QAction* a = MakeAction(n.name, n.caption, n.hint);
    a->setIcon(icon(n.pixmap));
    connect(a, &QAction::triggered, this, n.run);
    miView1->addAction(a);
    problemCommands_.push_back(a);
  }
  AddKeys(commands_["miPriorproblem1"], {"keyUp"}, {QKeySequence(Qt::Key_Up)});
  AddKeys(commands_["miNextproblem1"], {"keyDown"}, {QKeySequence(Qt::Key_Down)});

  // Solve.
  QMenu* miSolve1 = menuBar()->addMenu("&Solve");
  miSolve1->setObjectName("miSolve1");
  QAction* solveAgain = MakeAction("miSolveAgain1", "Solve &again", "Solve again (Esc,Home)");
  solveAgain->setIcon(icon(QStyle::SP_BrowserReload));
  connect(solveAgain, &QAction::triggered, this, [this] { controller_->SolveAgain(); });
  AddKeys(solveAgain, {"keyEscape", "keyHome"},
          {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Home)});
  QAction* back = MakeAction("miBack1", "&Back", "Back (Left)");
  back->setIcon(icon(QStyle::SP_MediaSeekBackward));
  connect(back, &QAction::triggered, this, [this] { controller_->Back(); });
  AddKeys(back, {"keyLeft", "keyBackspace"},
          {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Backspace)});
  QAction* nextV = MakeAction("miNextVOfComputer1", "&Next variation or retry after fail",
                              "Next variation or retry (PgDn)");
  connect(nextV, &QAction::triggered, this, [this] { controller_->NextVariationOrRetry(); });
  AddKeys(nextV, {"keyPgDn", "keyPgUp", "keyF8"},
          {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_F8)});
  // The button has its own action: the judge enables it only while something is pending, while
  // the menu entry and its keys always work.
  QAction* btnNextV =
      MakeAction("btnNextVofComputer", "Next variation or retry", "Next variation or retry (PgDn)");
  btnNextV->setIcon(icon(QStyle::SP_MediaSeekForward));
  btnNextV->setEnabled(false);
  connect(btnNextV, &QAction::triggered, nextV, &QAction::trigger);
  QAction* result = MakeAction("miResult1", "&Result(Life,Death,Ko?)", "Life,Death,Ko? (End)");
  result->setIcon(icon(QStyle::SP_MessageBoxQuestion));
  connect(result, &QAction::triggered, this, [this] { controller_->Result(); });
  AddKeys(result, {"keyEnd"}, {QKeySequence(Qt::Key_End)});
  QAction* hint = MakeAction("miHint1", "&Hint", "Hint (Right)");
  hint->setIcon(icon(QStyle::SP_DialogHelpButton));
  connect(hint, &QAction::triggered, this, [this] { controller_->Hint(); });
  AddKeys(hint, {"keyRight"}, {QKeySequence(Qt::Key_Right)});
  // Try mode comes with the study window; until then its entries stay disabled.
  QAction* tryAction = MakeAction("miStudy1", "&Try", "Try (F9)");
  tryAction->setIcon(icon(QStyle::SP_FileDialogContentsView));
  tryAction->setEnabled(false);
  AddKeys(tryAction, {"keyF9"}, {QKeySequence(Qt::Key_F9)});
  QAction* stopTry = MakeAction("miStopStudy1", "Sto&p try", "Stop try (F10)");
  stopTry->setEnabled(false);
  AddKeys(stopTry, {"keyF10"}, {QKeySequence(Qt::Key_F10)});
  QAction* btnStopTry = MakeAction("btnStopStudy1", "Stop try", "Stop try (F10)");
  btnStopTry->setIcon(icon(QStyle::SP_BrowserStop));
  btnStopTry->setEnabled(false);
  btnStopTry->setVisible(false);
  QAction* resetSolved = MakeAction("Resetsolvedflag1", "Reset solved flag");
  connect(resetSolved, &QAction::triggered, this, &TLattixMainForm::ResetSolvedFlag);
  QAction* level = MakeAction("miWhatlevelImat1", "What level I'm at");
  connect(level, &QAction::triggered, this, &TLattixMainForm::WhatLevelImAt);
  miSolve1->addActions({solveAgain, back, nextV});
  miSolve1->addSeparator();
  miSolve1->addActions({result, hint});
  miSolve1->addSeparator();
  miSolve1->addActions({tryAction, stopTry});
  miSolve1->addSeparator();
  miSolve1->addActions({resetSolved, level});

  // Options.
  QMenu* miOptions1 = menuBar()->addMenu("&Options");
  miOptions1->setObjectName("miOptions1");
  QAction* badMove =
      MakeAction("miComputerdonotplaybadmove1", "Computer do not play bad move(marked with ?)");
  badMove->setCheckable(true);
  badMove->setChecked(true);
  connect(badMove, &QAction::toggled, this,
          [this](bool on) { controller_->SetComputerDoNotPlayBadMove(on); });
  QAction* numbers = MakeAction("miDisplaynumbers1", "Display numbers if possible");
  numbers->setCheckable(true);
  numbers->setChecked(true);
  connect(numbers, &QAction::triggered, this, [this] { controller_->ToggleDisplayNumbers(); });
  QAction* nextAuto =
      MakeAction("NextproblemAutomaticallyWhenSolved1", "Next Problem &Automatically when solved");
  nextAuto->setCheckable(true);
  connect(nextAuto, &QAction::toggled, this,
          [this](bool on) { controller_->SetNextProblemAutomatically(on); });
  // The hint lock comes later; hints stay allowed and the entry cannot be changed yet.
  QAction* hintAllowed = MakeAction("miHintallowed1", "Hint allowed");
  hintAllowed->setCheckable(true);
  hintAllowed->setChecked(true);
  hintAllowed->setEnabled(false);
  QAction* silent = MakeAction("miSilent1", "&Silent");
  silent->setIcon(icon(QStyle::SP_MediaVolume));
  connect(silent, &QAction::triggered, this, &TLattixMainForm::ToggleSilent);
  QAction* takeback = MakeAction("miTakebackautomatically1", "Takeback automatically ");
  takeback->setCheckable(true);
  connect(takeback, &QAction::toggled, this,
          [this](bool on) { controller_->SetTakebackAutomatically(on); });
  QAction* delay = MakeAction("miDelaybeforetakebackautomatically1",
                              "Delay time (seconds) before takeback automatically");
  connect(delay, &QAction::triggered, this, [this] {
    controller_->DelayDialog();
    TrackBar1->setValue(controller_->Delay());
  });
  miOptions1->addActions({badMove, numbers, nextAuto, hintAllowed, silent, takeback, delay});

  // Help.
  QMenu* miHelp1 = menuBar()->addMenu("&Help");
  miHelp1->setObjectName("miHelp1");
  QAction* guide = MakeAction("miGuide1", "Guide");
  connect(guide, &QAction::triggered, this, &TLattixMainForm::Guide);
  QAction* about = MakeAction("miAbout1", "About...");
  connect(about, &QAction::triggered, this, &TLattixMainForm::About);
  miHelp1->addAction(guide);
  miHelp1->addSeparator();
  miHelp1->addAction(about);

  // The view toolbar: Open | Index, Solve it | problems, pages |
  btnOpen = new QToolButton(ToolBarView);
  btnOpen->setObjectName("btnOpen");
  btnOpen->setText("Open");
  btnOpen->setToolTip("Open");
  btnOpen->setIcon(icon(QStyle::SP_DialogOpenButton));
  btnOpen->setMenu(OpenMenu);
  btnOpen->setPopupMode(QToolButton::MenuButtonPopup);
  connect(btnOpen, &QToolButton::clicked, this, &TLattixMainForm::OpenDefaultCollection);
  ToolBarView->addWidget(btnOpen);
  ToolBarView->addSeparator();
  const auto button = [](QToolBar* bar, QAction* a, const char* name) {
    bar->addAction(a);
    if (QWidget* w = bar->widgetForAction(a)) w->setObjectName(name);
  };
  button(ToolBarView, index, "btnProblemIndex");
  button(ToolBarView, solveIt, "btnSolveIt");
  ToolBarView->addSeparator();
  const char* const problemButtons[] = {"btnFirstProblem", "btnPriorProblem", "btnNextProblem",
                                        "btnLastProblem"};
  const char* const pageButtons[] = {"btnFirstPage", "btnPriorPage", "btnNextPage", "btnLastPage"};
  for (int i = 0; i < 4; ++i) button(ToolBarView, problemCommands_[i], problemButtons[i]);
  for (int i = 0; i < 4; ++i) button(ToolBarView, pageCommands_[i], pageButtons[i]);
  ToolBarView->addSeparator();

  // The solving toolbar: Solve again, Back, Next variation | Result, Hint | Try, Stop try | delay
  button(ToolBarSolveIt, solveAgain, "btnSolveAgain1");
  button(ToolBarSolveIt, back, "btnBack1");
  button(ToolBarSolveIt, btnNextV, "btnNextVofComputer");
  ToolBarSolveIt->addSeparator();
  button(ToolBarSolveIt, result, "btnResult1");
  button(ToolBarSolveIt, hint, "btnHint1");
  ToolBarSolveIt->addSeparator();
  button(ToolBarSolveIt, tryAction, "btnStudy1");
  button(ToolBarSolveIt, btnStopTry, "btnStopStudy1");
  ToolBarSolveIt->addSeparator();
  TrackBar1 = new QSlider(Qt::Horizontal, ToolBarSolveIt);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setRange(0, 30);
  TrackBar1->setValue(10);
  TrackBar1->setPageStep(5);
  TrackBar1->setFixedWidth(80);
  TrackBar1->setToolTip("Delay time (seconds) before takeback automatically");
  TrackBar1->setFocusPolicy(Qt::NoFocus);
  connect(TrackBar1, &QSlider::valueChanged, this, [this](int v) { controller_->SetDelay(v); });
  ToolBarSolveIt->addWidget(TrackBar1);
}

void TLattixMainForm::LoadRemarks() {
  QFile file(QDir::current().filePath("Remark.txt"));
  if (!file.open(QIODevice::ReadOnly)) return;
  while (!file.atEnd()) {
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    remarks_.push_back(line.toStdString());
  }
  controller_->SetRemarks(remarks_);
}

// ---- Activation and close -------------------------------------------------------------------

bool TLattixMainForm::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FirstActivation();
  return QMainWindow::event(e);
}

void TLattixMainForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // The window is painted first; the library is read right after.
  if (!activated_)
    QMetaObject::invokeMethod(this, &TLattixMainForm::FirstActivation, Qt::QueuedConnection);
}

void TLattixMainForm::FirstActivation() {
  if (activated_) return;
  activated_ = true;

  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.beginGroup(kSettingsGroup);
  const MainSettings m = ReadMainSettings(settings);
  settings.endGroup();

  displaySplashForm1_ = m.displaySplashForm1;
  displaySplashForm2_ = m.displaySplashForm2;
  silent_ = !m.silent;
  ToggleSilent();  // applies m.silent and the entry's icon
  if (m.hintAllowed) Command("miHintallowed1")->setChecked(*m.hintAllowed);
  controller_->SetHintAllowed(Command("miHintallowed1")->isChecked());
  Command("miDisplaynumbers1")->setChecked(m.displayNumbers);
  controller_->SetDisplayNumbers(m.displayNumbers);
  Command("NextproblemAutomaticallyWhenSolved1")->setChecked(m.nextProblemAutomatically);
  controller_->SetNextProblemAutomatically(m.nextProblemAutomatically);
  Command("miTakebackautomatically1")->setChecked(m.takebackAutomatically);
  controller_->SetTakebackAutomatically(m.takebackAutomatically);
  studyAtNewWindow_ = m.studyAtNewWindow;
  bestCounterMoveOnly_ = m.bestCounterMoveOnly;
  // Without stored values the reply mask keeps the 29 it was given at creation.
  if (m.stored) Command("miComputerdonotplaybadmove1")->setChecked(m.computerDoNotPlayBadMove);
  controller_->SetComputerDoNotPlayBadMove(Command("miComputerdonotplaybadmove1")->isChecked());
  if (m.delay) TrackBar1->setValue(*m.delay);
  controller_->SetDelay(TrackBar1->value());

  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
  const QSize fallback = DefaultWindowSize(available.size());
  const QSize size(m.width.value_or(fallback.width()), m.height.value_or(fallback.height()));
  resize(size.expandedTo(minimumSize()));
  if (m.top || m.left) {
    move(m.left.value_or(x()), m.top.value_or(y()));
  } else {
    const QRect frame = frameGeometry();
    move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
  }

  const std::string historyMessage = library_->OpenHistory();
  historyOpen_ = true;
  if (!historyMessage.empty()) QMessageBox::information(this, windowTitle(), Q(historyMessage));
  OpenCollection(m.database, m.topRow);
  savedRadius_ = Lattix1->Radius();
  UpdateCommands();
}

void TLattixMainForm::closeEvent(QCloseEvent* e) {
  SaveOnClose();
  QMainWindow::closeEvent(e);
}

void TLattixMainForm::SaveOnClose() {
  if (!activated_) return;
  ClosingState c;
  c.bestCounterMoveOnly = bestCounterMoveOnly_;
  c.computerDoNotPlayBadMove = Command("miComputerdonotplaybadmove1")->isChecked();
  c.studyAtNewWindow = studyAtNewWindow_;
  if (library_->OpenCollectionNumber() >= 0) c.database = library_->OpenCollectionNumber();
  c.topRow = GoIndex1->TopRow();
  c.selected = GoIndex1->Selected();
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
    c.height = height();
    c.width = width();
    c.top = y();
    c.left = x();
  }
  c.silent = silent_;
  c.displayNumbers = Command("miDisplaynumbers1")->isChecked();
  c.nextProblemAutomatically = Command("NextproblemAutomaticallyWhenSolved1")->isChecked();
  c.takebackAutomatically = Command("miTakebackautomatically1")->isChecked();
  c.delay = TrackBar1->value();
  c.installDir = paths_.programDir.endsWith('/') ? paths_.programDir : paths_.programDir + '/';
  {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    WriteMainSettings(settings, c);
    settings.endGroup();
    settings.sync();  // a failure to write is not the close's business
  }
  if (historyOpen_) {
    std::string error;
    library_->SaveHistory(&error);
  }
}

// ---- Pages ----------------------------------------------------------------------------------

void TLattixMainForm::SetPageCommandsVisible(bool pages) {
  for (QAction* a : pageCommands_) a->setVisible(pages);
  for (QAction* a : problemCommands_) a->setVisible(!pages);
  Command("miZoomin1")->setVisible(!pages);
  Command("miZoomout1")->setVisible(!pages);
}

void TLattixMainForm::ShowIndexPage() {
  PageControl1->setCurrentWidget(tsIndex);
  QAction* solveIt = Command("miSolveIt1");
  solveIt->setVisible(true);
  solveIt->setChecked(false);
  QAction* index = Command("miProblemIndex1");
  index->setChecked(true);
  index->setVisible(false);
  SetPageCommandsVisible(true);
  ToolBarSolveIt->hide();
  if (isVisible()) GoIndex1->setFocus();
}

void TLattixMainForm::ShowProblemPage() {
  PageControl1->setCurrentWidget(tsProblem);
  QAction* index = Command("miProblemIndex1");
  index->setVisible(true);
  index->setChecked(false);
  QAction* solveIt = Command("miSolveIt1");
  solveIt->setChecked(true);
  solveIt->setVisible(false);
  SetPageCommandsVisible(false);
  LayoutBoard();
}

bool TLattixMainForm::ProblemPageShowing() const {
  return PageControl1->currentWidget() == tsProblem;
}

// ---- Collection and problems ----------------------------------------------------------------

void TLattixMainForm::ReportCollection(const CollectionResult& r) {
  const auto sound = [this] {
    if (!silent_ && !sounds_.Play(kSoundDataError, true)) QApplication::beep();
  };
  if (r.dataError && r.soundFirst) sound();
  if (!r.message.empty()) QMessageBox::information(this, windowTitle(), Q(r.message));
  if (r.dataError && !r.soundFirst) sound();
}

void TLattixMainForm::OpenCollection(int group, int topRow) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CollectionResult r = library_->OpenCollection(group);
  GoIndex1->SetGames(library_->ProblemList());
  QApplication::restoreOverrideCursor();
  ShowIndexPage();
  if (r.loaded) {
    for (QAction* a : collectionEntries_) a->setChecked(false);
    SetTopRow(TopRowAfterLoad(StateOf(*GoIndex1), topRow));
  }
  UpdateCommands();
  ReportCollection(r);
}

void TLattixMainForm::OpenDefaultCollection() {
  // No drop-down entry is marked as the default, so the button reopens the first collection.
  OpenCollection(0);
}

void TLattixMainForm::OpenPosition(int position) {
  controller_->OpenProblem(position);
  UpdateCommands();
}

void TLattixMainForm::SolveIt() {
  if (ProblemPageShowing() || GoIndex1->Count() < 1) return;
  if (GoIndex1->Selected() < 0) GoIndex1->SetSelected(0);
  OpenPosition(GoIndex1->Selected());
  ToolBarSolveIt->show();
  // The grid's click checked the entry; it stays checked exactly on the problem page.
  Command("miSolveIt1")->setChecked(ProblemPageShowing());
}

void TLattixMainForm::SelectAndOpen(std::optional<int> entry) {
  if (!entry) return;
  GoIndex1->SetSelected(*entry);
  OpenPosition(*entry);
}

void TLattixMainForm::SetTopRow(std::optional<int> row) {
  if (row) GoIndex1->SetTopRow(*row);
}

void TLattixMainForm::SyncScrollBar() {
  const ScrollBarState s = ScrollBarFor(StateOf(*GoIndex1));
  const QSignalBlocker block(ScrollBar1);
  ScrollBar1->setRange(s.Min, s.Max);
  ScrollBar1->setValue(s.Position);
  ScrollBar1->setPageStep(s.LargeChange);
}

void TLattixMainForm::FirstPage() { SetTopRow(zendra::FirstPage(StateOf(*GoIndex1))); }
void TLattixMainForm::PriorPage() { SetTopRow(zendra::PriorPage(StateOf(*GoIndex1))); }
void TLattixMainForm::NextPage() { SetTopRow(zendra::NextPage(StateOf(*GoIndex1))); }
void TLattixMainForm::LastPage() { SetTopRow(zendra::LastPage(StateOf(*GoIndex1))); }
void TLattixMainForm::FirstProblem() { SelectAndOpen(zendra::FirstProblem(StateOf(*GoIndex1))); }
void TLattixMainForm::PriorProblem() { SelectAndOpen(zendra::PriorProblem(StateOf(*GoIndex1))); }
void TLattixMainForm::NextProblem() { SelectAndOpen(zendra::NextProblem(StateOf(*GoIndex1))); }
void TLattixMainForm::LastProblem() { SelectAndOpen(zendra::LastProblem(StateOf(*GoIndex1))); }

// ---- Board panel and zoom -------------------------------------------------------------------

bool TLattixMainForm::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Resize) {
    if (watched == Panel2) LayoutBoard();
    // A resize changes the grid's Cols and Rows, and with them its RowCount: the scroll bar
    // takes the new range once the grid has handled the resize, or a later top row beyond the
    // old range would be clamped by the bar and sent back to the grid.
    if (watched == GoIndex1)
      QMetaObject::invokeMethod(this, &TLattixMainForm::SyncScrollBar, Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, e);
}

void TLattixMainForm::LayoutBoard() {
  if (boardFills_) {
    Lattix1->setGeometry(1, 1, std::max(1, Panel2->width() - 2), std::max(1, Panel2->height() - 2));
  } else {
    Lattix1->setGeometry(1, 1,
                         Lattix1->BoardWidth() + Lattix1->DisplayWidth() * Lattix1->DisplayInfo(),
                         Lattix1->BoardHeight());
  }
}

void TLattixMainForm::ZoomIn() {
  if (boardFills_) {
    savedRadius_ = Lattix1->Radius();
    boardFills_ = false;
    Lattix1->SetDisplayInfo(0);
  }
  const int r = std::min(Lattix1->Radius() * 3 / 2, kMaxZoomRadius);
  if (r > Lattix1->Radius()) {
    Lattix1->SetRadius(static_cast<int16_t>(r));
    SetCommandEnabled(Command("miZoomout1"), true);
  }
  LayoutBoard();
}

void TLattixMainForm::ZoomOut() {
  const int r = std::max({Lattix1->Radius() * 2 / 3, kMinZoomRadius, savedRadius_});
  if (r < Lattix1->Radius()) Lattix1->SetRadius(static_cast<int16_t>(r));
  if (Lattix1->Radius() == savedRadius_ && !boardFills_) {
    boardFills_ = true;
    Lattix1->SetDisplayInfo(1);
  }
  LayoutBoard();
}

// ---- Statistics, level, options, help -------------------------------------------------------

void TLattixMainForm::ResetSolvedFlag() {
  if (historyOpen_) library_->ResetSolvedFlag();
}

void TLattixMainForm::ClearAllSolvedFlags() {
  const auto answer = QMessageBox::question(this, Q(text_.Say(Text::kClearAllCaption)),
                                            Q(text_.Say(Text::kClearAllQuestion)),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  library_->ClearAllSolvedFlags();
  SetLabel(labels_["LabelSuccessCount"], "");
}

void TLattixMainForm::WhatLevelImAt() {
  QMessageBox::information(this, windowTitle(), Q(library_->LevelMessage()));
}

void TLattixMainForm::ToggleSilent() {
  silent_ = !silent_;
  controller_->SetSilent(silent_);
  QAction* a = Command("miSilent1");
  a->setIcon(style()->standardIcon(silent_ ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
  a->setToolTip(silent_ ? "Sounds are off" : "Sounds are on");
}

void TLattixMainForm::Guide() {
  const QDir dir(paths_.programDir);
  for (const char* name : {"index.html", "html/index.html"}) {
    if (QFileInfo::exists(dir.filePath(name))) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(dir.filePath(name)));
      return;
    }
  }
  QMessageBox::information(this, "Guide",
                           "The guide is not installed. Browse the problems on the index page, "
                           "click one to open it and place stones on the board to solve it.");
}

void TLattixMainForm::About() {
  QMessageBox box(this);
  box.setWindowTitle("About Zendra");
  box.setIconPixmap(windowIcon().pixmap(48, 48));
  box.setText("<b>Zendra</b>");
  box.setInformativeText("A trainer for Go life-and-death problems.\nVersion " +
                         QCoreApplication::applicationVersion());
  box.exec();
}

// ---- Commands' state ------------------------------------------------------------------------

QAction* TLattixMainForm::Command(const QString& name) const {
  const auto it = commands_.find(name);
  return it == commands_.end() ? nullptr : it->second;
}

void TLattixMainForm::SetCommandEnabled(QAction* command, bool enabled) {
  command->setEnabled(enabled);
  const auto it = keys_.find(command);
  if (it != keys_.end())
    for (QAction* k : it->second) k->setEnabled(enabled);
}

void TLattixMainForm::UpdateCommands() {
  const bool any = GoIndex1->Count() > 0;
  SetCommandEnabled(Command("miSolveIt1"), any);
  for (QAction* a : pageCommands_) SetCommandEnabled(a, any);
  for (QAction* a : problemCommands_) SetCommandEnabled(a, any);
  SetCommandEnabled(Command("miClearallsolvedflags1"), historyOpen_);
  SetCommandEnabled(Command("Resetsolvedflag1"), historyOpen_);
  SetCommandEnabled(Command("miWhatlevelImat1"), historyOpen_);
  SetCommandEnabled(Command("miZoomout1"), !boardFills_);
}

// ---- SolvingUi ------------------------------------------------------------------------------

void TLattixMainForm::SetLabel(QLabel* label, const std::string& text) { label->setText(Q(text)); }

void TLattixMainForm::SetLabelResult(const std::string& text) {
  SetLabel(labels_["LabelResult"], text);
}

void TLattixMainForm::SetLabelStdResult(const std::string& text, uint32_t colour) {
  QLabel* label = labels_["LabelStdResult"];
  label->setStyleSheet(colour == kRedText ? "color: red;" : "");
  SetLabel(label, text);
}

void TLattixMainForm::SetStatusLeft(const std::string& text) { StatusBar1->SetLeft(Q(text)); }
void TLattixMainForm::SetStatusRight(const std::string& text) { StatusBar1->SetRight(Q(text)); }
QString TLattixMainForm::StatusLeft() const { return StatusBar1->Left(); }
QString TLattixMainForm::StatusRight() const { return StatusBar1->Right(); }

void TLattixMainForm::SetNextVariationEnabled(bool enabled) {
  Command("btnNextVofComputer")->setEnabled(enabled);
}

// The tip windows are not part of this window yet: nothing to show or hide.
void TLattixMainForm::ShowTip(int) {}
void TLattixMainForm::HideTips() {}

void TLattixMainForm::Beep() { QApplication::beep(); }

bool TLattixMainForm::ProblemSelected() const {
  return GoIndex1->Count() > 0 && GoIndex1->Selected() >= 0;
}

void TLattixMainForm::ProcessPendingRepaints() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TLattixMainForm::RunNextProblem() { NextProblem(); }

std::optional<std::string> TLattixMainForm::InputQuery(const std::string& caption,
                                                       const std::string& prompt,
                                                       const std::string& text) {
  bool ok = false;
  const QString value =
      QInputDialog::getText(this, Q(caption), Q(prompt), QLineEdit::Normal, Q(text), &ok);
  if (!ok) return std::nullopt;
  return value.toStdString();
}

QString TLattixMainForm::LabelText(const QString& name) const {
  const auto it = labels_.find(name);
  return it == labels_.end() ? QString() : it->second->text();
}

}  // namespace zendra
