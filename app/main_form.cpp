#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/library_session.h"
#include "app/qt_ports.h"
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

  // Hidden solving toolbar, no collection, the index page with the grid focused, no problem
  // buttons.
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
  CreateLabels(Panel1);
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
          [this](int position) { SetTopRow(TopRowFromScrollBar(GridNow(), position)); });
  GoIndex1->installEventFilter(this);
}

void TLattixMainForm::CreateLabels(QWidget* panel) {
  auto* labelLayout = new QVBoxLayout(panel);
  labelLayout->setContentsMargins(6, 8, 4, 8);
  labelLayout->setSpacing(6);
  const std::pair<const char*, QLabel* Labels::*> labels[] = {
      {"LabelStdResult", &Labels::stdResult},
      {"LabelResult", &Labels::result},
      {"LabelSuccessCount", &Labels::successCount},
      {"LabelFailureCount", &Labels::failureCount},
      {"LabelHint0Count", &Labels::hint0Count},
      {"LabelHint1Count", &Labels::hint1Count},
      {"LabelTakebackCount", &Labels::takebackCount},
      {"LabelStudyCount", &Labels::studyCount},
  };
  for (const auto& [name, member] : labels) {
    auto* label = new QLabel(panel);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    labelLayout->addWidget(label);
    labels_.*member = label;
  }
  labelLayout->addStretch(1);
  // The try-mode buttons, shown only while try mode runs.
  const std::pair<const char*, const char*> tryButtons[] = {{"btnUndo", "&Undo"},
                                                            {"btnNextMove", "&Next move"},
                                                            {"btn1", "&Restart"},
                                                            {"btnStopStudy2", "&Stop"}};
  for (const auto& [name, caption] : tryButtons) {
    auto* b = new QPushButton(caption, panel);
    b->setObjectName(name);
    b->setEnabled(false);
    labelLayout->addWidget(b);
    tryButtons_.push_back(b);
  }
}

// ---- Pages ----------------------------------------------------------------------------------

void TLattixMainForm::SetPageCommandsVisible(bool pages) {
  for (QAction* a : commands_.pages) a->setVisible(pages);
  for (QAction* a : commands_.problems) a->setVisible(!pages);
  commands_.zoomIn->setVisible(!pages);
  commands_.zoomOut->setVisible(!pages);
}

void TLattixMainForm::ShowIndexPage() {
  PageControl1->setCurrentWidget(tsIndex);
  commands_.solveIt->setVisible(true);
  commands_.solveIt->setChecked(false);
  commands_.problemIndex->setChecked(true);
  commands_.problemIndex->setVisible(false);
  SetPageCommandsVisible(true);
  ToolBarSolveIt->hide();
  if (isVisible()) GoIndex1->setFocus();
}

void TLattixMainForm::ShowProblemPage() {
  PageControl1->setCurrentWidget(tsProblem);
  commands_.problemIndex->setVisible(true);
  commands_.problemIndex->setChecked(false);
  commands_.solveIt->setChecked(true);
  commands_.solveIt->setVisible(false);
  SetPageCommandsVisible(false);
  LayoutBoard();
}

bool TLattixMainForm::ProblemPageShowing() const {
  return PageControl1->currentWidget() == tsProblem;
}

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
    SetCommandEnabled(commands_.zoomOut, true);
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

// ---- Parts and texts ------------------------------------------------------------------------

QAction* TLattixMainForm::Command(const QString& name) const {
  // Every command and key action is a direct child of the window (an empty name would match
  // any of them).
  if (name.isEmpty()) return nullptr;
  return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

QString TLattixMainForm::LabelText(const QString& name) const {
  const QLabel* label =
      name.isEmpty() ? nullptr : Panel1->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
  return label ? label->text() : QString();
}

QString TLattixMainForm::StatusLeft() const { return StatusBar1->Left(); }
QString TLattixMainForm::StatusRight() const { return StatusBar1->Right(); }

QString TLattixMainForm::Q(const std::string& text) { return QString::fromStdString(text); }

void TLattixMainForm::SetLabel(QLabel* label, const std::string& text) { label->setText(Q(text)); }

QAction* TLattixMainForm::MakeAction(const char* name, const QString& caption,
                                     const QString& hint) {
  auto* a = new QAction(caption, this);
  a->setObjectName(name);
  if (!hint.isEmpty()) {
    a->setToolTip(hint);
    a->setStatusTip(hint);
  }
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
  }
  QStringList texts;
  for (const QKeySequence& key : keys) texts << key.toString(QKeySequence::NativeText);
  // The menu shows the first key as the entry's shortcut.
  if (keys.size() > 0) command->setText(command->text() + "\t" + texts.first());
}

void TLattixMainForm::AddButton(QToolBar* bar, QAction* command, const char* name) {
  bar->addAction(command);
  if (QWidget* w = bar->widgetForAction(command)) w->setObjectName(name);
}

// The menus in their order; each adds its buttons to the toolbars, which fill in the same order:
// view toolbar Open | Index, Solve it | problems, pages |; solving toolbar Solve again, Back,
// Next variation | Result, Hint | Try, Stop try | delay.
void TLattixMainForm::CreateCommands() {
  CreateFileCommands();
  CreateViewCommands();
  CreateSolveCommands();
  CreateOptionCommands();
  CreateHelpCommands();
}

void TLattixMainForm::CreateFileCommands() {
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
    commands_.collections[static_cast<size_t>(tag)] = a;
    // The drop-down of "Open" carries the same captions.
    QAction* d = OpenMenu->addAction(caption);
    d->setObjectName(QString("Open") + collectionNames[tag]);
    connect(d, &QAction::triggered, this, [this, tag] { OpenCollection(tag); });
  }
  miFile1->addSeparator();
  QAction* clearAll = MakeAction("miClearallsolvedflags1", Q(text_.Say(Text::kClearAllCaption)));
  connect(clearAll, &QAction::triggered, this, &TLattixMainForm::ClearAllSolvedFlags);
  miFile1->addAction(clearAll);
  commands_.clearAllSolvedFlags = clearAll;
  QAction* exitAction = MakeAction("miExit1", "Exit");
  connect(exitAction, &QAction::triggered, this, &QWidget::close);
  miFile1->addAction(exitAction);

  btnOpen = new QToolButton(ToolBarView);
  btnOpen->setObjectName("btnOpen");
  btnOpen->setText("Open");
  btnOpen->setToolTip("Open");
  btnOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  btnOpen->setMenu(OpenMenu);
  btnOpen->setPopupMode(QToolButton::MenuButtonPopup);
  connect(btnOpen, &QToolButton::clicked, this, &TLattixMainForm::OpenDefaultCollection);
  ToolBarView->addWidget(btnOpen);
  ToolBarView->addSeparator();
}

void TLattixMainForm::CreateViewCommands() {
  QStyle* st = style();
  QMenu* miView1 = menuBar()->addMenu("&View");
  miView1->setObjectName("miView1");
  QAction* zoomIn = MakeAction("miZoomin1", "Zoom &In");
  QAction* zoomOut = MakeAction("miZoomout1", "Zoom &Out");
  zoomIn->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
  zoomOut->setIcon(st->standardIcon(QStyle::SP_ArrowDown));
  connect(zoomIn, &QAction::triggered, this, &TLattixMainForm::ZoomIn);
  connect(zoomOut, &QAction::triggered, this, &TLattixMainForm::ZoomOut);
  miView1->addActions({zoomIn, zoomOut});
  miView1->addSeparator();
  commands_.zoomIn = zoomIn;
  commands_.zoomOut = zoomOut;
  QAction* index = MakeAction("miProblemIndex1", "&Index", "Index");
  index->setCheckable(true);
  index->setIcon(st->standardIcon(QStyle::SP_FileDialogListView));
  connect(index, &QAction::triggered, this, &TLattixMainForm::ShowIndexPage);
  QAction* solveIt = MakeAction("miSolveIt1", "S&olve it", "Solve it");
  solveIt->setCheckable(true);
  solveIt->setIcon(st->standardIcon(QStyle::SP_DialogApplyButton));
  connect(solveIt, &QAction::triggered, this, &TLattixMainForm::SolveIt);
  miView1->addActions({index, solveIt});
  miView1->addSeparator();
  commands_.problemIndex = index;
  commands_.solveIt = solveIt;

  struct Nav {
    const char* name;
    const char* caption;
    const char* hint;
    QStyle::StandardPixmap pixmap;
    void (TLattixMainForm::*run)();
    const char* button;
  };
  const Nav pages[] = {
      {"miFirstpage1", "&First page", "First page", QStyle::SP_MediaSkipBackward,
       &TLattixMainForm::FirstPage, "btnFirstPage"},
      {"miPriorpage1", "&Prior page", "Prior page", QStyle::SP_MediaSeekBackward,
       &TLattixMainForm::PriorPage, "btnPriorPage"},
      {"miNextpage1", "&Next page", "Next page", QStyle::SP_MediaSeekForward,
       &TLattixMainForm::NextPage, "btnNextPage"},
      {"miLastpage1", "&Last page", "Last page", QStyle::SP_MediaSkipForward,
       &TLattixMainForm::LastPage, "btnLastPage"},
  };
  const Nav problems[] = {
      {"miFirstproblem1", "&First problem", "First problem", QStyle::SP_ArrowUp,
       &TLattixMainForm::FirstProblem, "btnFirstProblem"},
      {"miPriorproblem1", "&Prior problem", "Prior problem (UP)", QStyle::SP_ArrowBack,
       &TLattixMainForm::PriorProblem, "btnPriorProblem"},
      {"miNextproblem1", "&Next problem", "Next problem (DOWN)", QStyle::SP_ArrowForward,
       &TLattixMainForm::NextProblem, "btnNextProblem"},
      {"miLastproblem1", "&Last problem", "Last problem", QStyle::SP_ArrowDown,
       &TLattixMainForm::LastProblem, "btnLastProblem"},
  };
  const auto make = [&](const Nav (&navs)[4], std::array<QAction*, 4>& into) {
    for (size_t i = 0; i < 4; ++i) {
      const Nav& n = navs[i];
      QAction* a = MakeAction(n.name, n.caption, n.hint);
      a->setIcon(st->standardIcon(n.pixmap));
      connect(a, &QAction::triggered, this, n.run);
      miView1->addAction(a);
      into[i] = a;
    }
  };
  make(pages, commands_.pages);
  make(problems, commands_.problems);
  AddKeys(commands_.problems[1], {"keyUp"}, {QKeySequence(Qt::Key_Up)});
  AddKeys(commands_.problems[2], {"keyDown"}, {QKeySequence(Qt::Key_Down)});

  AddButton(ToolBarView, index, "btnProblemIndex");
  AddButton(ToolBarView, solveIt, "btnSolveIt");
  ToolBarView->addSeparator();
  for (size_t i = 0; i < 4; ++i) AddButton(ToolBarView, commands_.problems[i], problems[i].button);
  for (size_t i = 0; i < 4; ++i) AddButton(ToolBarView, commands_.pages[i], pages[i].button);
  ToolBarView->addSeparator();
}

void TLattixMainForm::CreateSolveCommands() {
  QStyle* st = style();
  QMenu* miSolve1 = menuBar()->addMenu("&Solve");
  miSolve1->setObjectName("miSolve1");
  QAction* solveAgain = MakeAction("miSolveAgain1", "Solve &again", "Solve again (Esc,Home)");
  solveAgain->setIcon(st->standardIcon(QStyle::SP_BrowserReload));
  connect(solveAgain, &QAction::triggered, this, [this] { controller_->SolveAgain(); });
  AddKeys(solveAgain, {"keyEscape", "keyHome"},
          {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Home)});
  commands_.solveAgain = solveAgain;
  QAction* back = MakeAction("miBack1", "&Back", "Back (Left)");
  back->setIcon(st->standardIcon(QStyle::SP_MediaSeekBackward));
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
  btnNextV->setIcon(st->standardIcon(QStyle::SP_MediaSeekForward));
  btnNextV->setEnabled(false);
  connect(btnNextV, &QAction::triggered, nextV, &QAction::trigger);
  commands_.nextVariationButton = btnNextV;
  QAction* result = MakeAction("miResult1", "&Result(Life,Death,Ko?)", "Life,Death,Ko? (End)");
  result->setIcon(st->standardIcon(QStyle::SP_MessageBoxQuestion));
  connect(result, &QAction::triggered, this, [this] { controller_->Result(); });
  AddKeys(result, {"keyEnd"}, {QKeySequence(Qt::Key_End)});
  QAction* hint = MakeAction("miHint1", "&Hint", "Hint (Right)");
  hint->setIcon(st->standardIcon(QStyle::SP_DialogHelpButton));
  connect(hint, &QAction::triggered, this, [this] { controller_->Hint(); });
  AddKeys(hint, {"keyRight"}, {QKeySequence(Qt::Key_Right)});
  // Try mode comes with the study window; until then its entries stay disabled.
  QAction* tryAction = MakeAction("miStudy1", "&Try", "Try (F9)");
  tryAction->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
  tryAction->setEnabled(false);
  AddKeys(tryAction, {"keyF9"}, {QKeySequence(Qt::Key_F9)});
  QAction* stopTry = MakeAction("miStopStudy1", "Sto&p try", "Stop try (F10)");
  stopTry->setEnabled(false);
  AddKeys(stopTry, {"keyF10"}, {QKeySequence(Qt::Key_F10)});
  QAction* btnStopTry = MakeAction("btnStopStudy1", "Stop try", "Stop try (F10)");
  btnStopTry->setIcon(st->standardIcon(QStyle::SP_BrowserStop));
  btnStopTry->setEnabled(false);
  btnStopTry->setVisible(false);
  QAction* resetSolved = MakeAction("Resetsolvedflag1", "Reset solved flag");
  connect(resetSolved, &QAction::triggered, this, &TLattixMainForm::ResetSolvedFlag);
  commands_.resetSolvedFlag = resetSolved;
  QAction* level = MakeAction("miWhatlevelImat1", "What level I'm at");
  connect(level, &QAction::triggered, this, &TLattixMainForm::WhatLevelImAt);
  commands_.whatLevel = level;
  miSolve1->addActions({solveAgain, back, nextV});
  miSolve1->addSeparator();
  miSolve1->addActions({result, hint});
  miSolve1->addSeparator();
  miSolve1->addActions({tryAction, stopTry});
  miSolve1->addSeparator();
  miSolve1->addActions({resetSolved, level});

  AddButton(ToolBarSolveIt, solveAgain, "btnSolveAgain1");
  AddButton(ToolBarSolveIt, back, "btnBack1");
  AddButton(ToolBarSolveIt, btnNextV, "btnNextVofComputer");
  ToolBarSolveIt->addSeparator();
  AddButton(ToolBarSolveIt, result, "btnResult1");
  AddButton(ToolBarSolveIt, hint, "btnHint1");
  ToolBarSolveIt->addSeparator();
  AddButton(ToolBarSolveIt, tryAction, "btnStudy1");
  AddButton(ToolBarSolveIt, btnStopTry, "btnStopStudy1");
  ToolBarSolveIt->addSeparator();
}

// The Options entries show options_ and change it; the controller follows each change.
void TLattixMainForm::CreateOptionCommands() {
  QMenu* miOptions1 = menuBar()->addMenu("&Options");
  miOptions1->setObjectName("miOptions1");
  const auto makeSwitch = [this](const char* name, const char* caption, bool on) {
    QAction* a = MakeAction(name, caption);
    a->setCheckable(true);
    a->setChecked(on);
    return a;
  };
  QAction* badMove = makeSwitch("miComputerdonotplaybadmove1",
                                "Computer do not play bad move(marked with ?)",
                                options_.computerDoNotPlayBadMove);
  connect(badMove, &QAction::toggled, this, [this](bool on) {
    options_.computerDoNotPlayBadMove = on;
    controller_->SetComputerDoNotPlayBadMove(on);
  });
  QAction* numbers =
      makeSwitch("miDisplaynumbers1", "Display numbers if possible", options_.displayNumbers);
  connect(numbers, &QAction::toggled, this, [this](bool on) {
    options_.displayNumbers = on;
    controller_->SetDisplayNumbers(on);
    controller_->SolveAgain();
  });
  QAction* nextAuto =
      makeSwitch("NextproblemAutomaticallyWhenSolved1", "Next Problem &Automatically when solved",
                 options_.nextProblemAutomatically);
  connect(nextAuto, &QAction::toggled, this, [this](bool on) {
    options_.nextProblemAutomatically = on;
    controller_->SetNextProblemAutomatically(on);
  });
  // The hint lock comes later; hints stay allowed and the entry cannot be changed yet.
  QAction* hintAllowed = makeSwitch("miHintallowed1", "Hint allowed", options_.hintAllowed);
  hintAllowed->setEnabled(false);
  QAction* silent = MakeAction("miSilent1", "&Silent");
  silent->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
  connect(silent, &QAction::triggered, this, &TLattixMainForm::ToggleSilent);
  QAction* takeback = makeSwitch("miTakebackautomatically1", "Takeback automatically ",
                                 options_.takebackAutomatically);
  connect(takeback, &QAction::toggled, this, [this](bool on) {
    options_.takebackAutomatically = on;
    controller_->SetTakebackAutomatically(on);
  });
  QAction* delay = MakeAction("miDelaybeforetakebackautomatically1",
                              "Delay time (seconds) before takeback automatically");
  connect(delay, &QAction::triggered, this, [this] {
    controller_->DelayDialog();
    TrackBar1->setValue(controller_->Delay());
  });
  miOptions1->addActions({badMove, numbers, nextAuto, hintAllowed, silent, takeback, delay});
  commands_.computerDoNotPlayBadMove = badMove;
  commands_.displayNumbers = numbers;
  commands_.nextProblemAutomatically = nextAuto;
  commands_.hintAllowed = hintAllowed;
  commands_.silent = silent;
  commands_.takebackAutomatically = takeback;

  TrackBar1 = new QSlider(Qt::Horizontal, ToolBarSolveIt);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setRange(0, 30);
  TrackBar1->setValue(options_.delay);
  TrackBar1->setPageStep(5);
  TrackBar1->setFixedWidth(80);
  TrackBar1->setToolTip("Delay time (seconds) before takeback automatically");
  TrackBar1->setFocusPolicy(Qt::NoFocus);
  connect(TrackBar1, &QSlider::valueChanged, this, [this](int v) {
    options_.delay = v;
    controller_->SetDelay(v);
  });
  ToolBarSolveIt->addWidget(TrackBar1);
}

void TLattixMainForm::CreateHelpCommands() {
  QMenu* miHelp1 = menuBar()->addMenu("&Help");
  miHelp1->setObjectName("miHelp1");
  QAction* guide = MakeAction("miGuide1", "Guide");
  connect(guide, &QAction::triggered, this, &TLattixMainForm::Guide);
  QAction* about = MakeAction("miAbout1", "About...");
  connect(about, &QAction::triggered, this, &TLattixMainForm::About);
  miHelp1->addAction(guide);
  miHelp1->addSeparator();
  miHelp1->addAction(about);
}

// ---- Enabled states -------------------------------------------------------------------------

void TLattixMainForm::SetCommandEnabled(QAction* command, bool enabled) {
  command->setEnabled(enabled);
  const auto it = keys_.find(command);
  if (it != keys_.end())
    for (QAction* k : it->second) k->setEnabled(enabled);
}

void TLattixMainForm::UpdateCommands() {
  const bool any = GoIndex1->Count() > 0;
  SetCommandEnabled(commands_.solveIt, any);
  for (QAction* a : commands_.pages) SetCommandEnabled(a, any);
  for (QAction* a : commands_.problems) SetCommandEnabled(a, any);
  SetCommandEnabled(commands_.clearAllSolvedFlags, historyOpen_);
  SetCommandEnabled(commands_.resetSolvedFlag, historyOpen_);
  SetCommandEnabled(commands_.whatLevel, historyOpen_);
  SetCommandEnabled(commands_.zoomOut, !boardFills_);
}

// ---- Statistics and help --------------------------------------------------------------------

void TLattixMainForm::ResetSolvedFlag() {
  if (historyOpen_) library_->ResetSolvedFlag();
}

void TLattixMainForm::ClearAllSolvedFlags() {
  const auto answer = QMessageBox::question(this, Q(text_.Say(Text::kClearAllCaption)),
                                            Q(text_.Say(Text::kClearAllQuestion)),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  library_->ClearAllSolvedFlags();
  SetLabel(labels_.successCount, "");
}

void TLattixMainForm::WhatLevelImAt() {
  QMessageBox::information(this, windowTitle(), Q(library_->LevelMessage()));
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

GridState TLattixMainForm::GridNow() const {
  GridState s;
  s.Count = GoIndex1->Count();
  s.Cols = GoIndex1->Cols();
  s.Rows = GoIndex1->Rows();
  s.RowCount = GoIndex1->RowCount();
  s.TopRow = GoIndex1->TopRow();
  s.Selected = GoIndex1->Selected();
  return s;
}

void TLattixMainForm::ReportCollection(const CollectionResult& r) {
  const auto sound = [this] {
    if (!options_.silent && !sounds_.Play(kSoundDataError, true)) QApplication::beep();
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
    for (QAction* a : commands_.collections) a->setChecked(false);
    SetTopRow(TopRowAfterLoad(GridNow(), topRow));
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
  commands_.solveIt->setChecked(ProblemPageShowing());
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
  const ScrollBarState s = ScrollBarFor(GridNow());
  const QSignalBlocker block(ScrollBar1);
  ScrollBar1->setRange(s.Min, s.Max);
  ScrollBar1->setValue(s.Position);
  ScrollBar1->setPageStep(s.LargeChange);
}

void TLattixMainForm::FirstPage() { SetTopRow(zendra::FirstPage(GridNow())); }
void TLattixMainForm::PriorPage() { SetTopRow(zendra::PriorPage(GridNow())); }
void TLattixMainForm::NextPage() { SetTopRow(zendra::NextPage(GridNow())); }
void TLattixMainForm::LastPage() { SetTopRow(zendra::LastPage(GridNow())); }
void TLattixMainForm::FirstProblem() { SelectAndOpen(zendra::FirstProblem(GridNow())); }
void TLattixMainForm::PriorProblem() { SelectAndOpen(zendra::PriorProblem(GridNow())); }
void TLattixMainForm::NextProblem() { SelectAndOpen(zendra::NextProblem(GridNow())); }
void TLattixMainForm::LastProblem() { SelectAndOpen(zendra::LastProblem(GridNow())); }

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
  controller_->SetComputerDoNotPlayBadMove(options_.computerDoNotPlayBadMove);

  Lattix1->OnLegalMove = [this](LattixEngine*, int16_t p, int16_t q, int16_t, int16_t, bool) {
    controller_->Lattix1LegalMove(p, q);
  };
  // Releasing the right button on the board starts the problem again.
  Lattix1->OnMouseUp = [this](TLattix*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    if (button == Qt::RightButton && !Lattix1->Process().empty() &&
        commands_.solveAgain->isEnabled())
      controller_->SolveAgain();
  };

  // The history's labels, in its order (0 LabelStdResult .. 6 LabelStudyCount), and the
  // selected entry's solved mark.
  library_->OnLabelChanged = [this](int label, const std::string& text) {
    QLabel* const byHistoryOrder[] = {labels_.stdResult,  labels_.successCount,
                                      labels_.failureCount, labels_.hint0Count,
                                      labels_.hint1Count,   labels_.takebackCount,
                                      labels_.studyCount};
    if (label >= 0 && label < static_cast<int>(std::size(byHistoryOrder)))
      SetLabel(byHistoryOrder[label], text);
  };
  library_->OnSolvedCountChanged = [this](int solved) { GoIndex1->SetSolvedCount(solved); };
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

// ---- SolvingUi ------------------------------------------------------------------------------

void TLattixMainForm::SetLabelResult(const std::string& text) { SetLabel(labels_.result, text); }

void TLattixMainForm::SetLabelStdResult(const std::string& text, uint32_t colour) {
  labels_.stdResult->setStyleSheet(colour == kRedText ? "color: red;" : "");
  SetLabel(labels_.stdResult, text);
}

void TLattixMainForm::SetStatusLeft(const std::string& text) { StatusBar1->SetLeft(Q(text)); }
void TLattixMainForm::SetStatusRight(const std::string& text) { StatusBar1->SetRight(Q(text)); }

void TLattixMainForm::SetNextVariationEnabled(bool enabled) {
  commands_.nextVariationButton->setEnabled(enabled);
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

// ---- Options --------------------------------------------------------------------------------

void TLattixMainForm::ApplyOptions(const MainOptions& options) {
  options_ = options;
  const std::pair<QAction*, bool> switches[] = {
      {commands_.computerDoNotPlayBadMove, options_.computerDoNotPlayBadMove},
      {commands_.displayNumbers, options_.displayNumbers},
      {commands_.nextProblemAutomatically, options_.nextProblemAutomatically},
      {commands_.hintAllowed, options_.hintAllowed},
      {commands_.takebackAutomatically, options_.takebackAutomatically},
  };
  // The entries' own handlers would change the options back one by one (and Display numbers
  // would restart the problem): they are silenced while the value is shown.
  for (const auto& [entry, on] : switches) {
    const QSignalBlocker block(entry);
    entry->setChecked(on);
  }
  {
    const QSignalBlocker block(TrackBar1);
    TrackBar1->setValue(options_.delay);
  }
  ShowSilent();
  controller_->SetSilent(options_.silent);
  controller_->SetHintAllowed(options_.hintAllowed);
  controller_->SetDisplayNumbers(options_.displayNumbers);
  controller_->SetNextProblemAutomatically(options_.nextProblemAutomatically);
  controller_->SetTakebackAutomatically(options_.takebackAutomatically);
  controller_->SetComputerDoNotPlayBadMove(options_.computerDoNotPlayBadMove);
  controller_->SetDelay(options_.delay);
}

void TLattixMainForm::ToggleSilent() {
  options_.silent = !options_.silent;
  controller_->SetSilent(options_.silent);
  ShowSilent();
}

void TLattixMainForm::ShowSilent() {
  commands_.silent->setIcon(style()->standardIcon(options_.silent ? QStyle::SP_MediaVolumeMuted
                                                                  : QStyle::SP_MediaVolume));
  commands_.silent->setToolTip(options_.silent ? "Sounds are off" : "Sounds are on");
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
  ApplyOptions(StoredOptions(m, options_));

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
  static_cast<MainOptions&>(c) = options_;
  if (library_->OpenCollectionNumber() >= 0) c.database = library_->OpenCollectionNumber();
  c.topRow = GoIndex1->TopRow();
  c.selected = GoIndex1->Selected();
  if (!(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
    c.height = height();
    c.width = width();
    c.top = y();
    c.left = x();
  }
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

}  // namespace zendra
