// The main window's commands: the menus in their order, the toolbar buttons each menu brings,
// the key actions, the enabled states, and the handlers of the small commands.
#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSlider>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/command_icons.h"
#include "app/library_session.h"
#include "index/go_index.h"
#include "solving/solving_controller.h"

namespace zendra {

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
  CreateReviewCommands();
  SetCommandIcons();
}

// Every command's icon, from our one drawn set; each is painted when first shown.
void TLattixMainForm::SetCommandIcons() {
  const std::pair<const char*, CommandIcon> icons[] = {
      {"miZoomin1", CommandIcon::kZoomIn},
      {"miZoomout1", CommandIcon::kZoomOut},
      {"miProblemIndex1", CommandIcon::kIndex},
      {"miSolveIt1", CommandIcon::kSolveIt},
      {"miSolveAgain1", CommandIcon::kSolveAgain},
      {"miBack1", CommandIcon::kBack},
      {"miNextVOfComputer1", CommandIcon::kNextVariation},
      {"btnNextVofComputer", CommandIcon::kNextVariation},
      {"miResult1", CommandIcon::kResult},
      {"miHint1", CommandIcon::kHint},
      {"miStudy1", CommandIcon::kTry},
      {"miStopStudy1", CommandIcon::kStopTry},
      {"btnStopStudy1", CommandIcon::kStopTry},
  };
  for (const auto& [name, icon] : icons)
    if (QAction* a = Command(name)) a->setIcon(MakeCommandIcon(icon));
  btnOpen->setIcon(MakeCommandIcon(CommandIcon::kOpen));
}

void TLattixMainForm::CreateFileCommands() {
  QMenu* miFile1 = menuBar()->addMenu(T(Text::kMiFile));
  miFile1->setObjectName("miFile1");
  const char* const collectionNames[] = {"miBasic1", "miBeginner1", "miIntermediate1",
                                         "miAdvanced1"};
  OpenMenu = new QMenu(this);
  OpenMenu->setObjectName("OpenMenu");
  for (int tag = 0; tag < 4; ++tag) {
    const QString caption = Q(CollectionCaption(tag, text_));
    QAction* a = MakeAction(collectionNames[tag], caption);
    connect(a, &QAction::triggered, this, [this, tag] { OpenShippedCollection(tag); });
    miFile1->addAction(a);
    commands_.collections[static_cast<size_t>(tag)] = a;
    // The drop-down of "Open" carries the same captions.
    QAction* d = OpenMenu->addAction(caption);
    d->setObjectName(QString("Open") + collectionNames[tag]);
    connect(d, &QAction::triggered, this, [this, tag] { OpenShippedCollection(tag); });
  }
  CreateOwnCommands(miFile1);  // the player's own collections under the four, and the import
  miFile1->addSeparator();
  QAction* clearAll = MakeAction("miClearallsolvedflags1", T(Text::kMiClearAllSolvedFlags));
  connect(clearAll, &QAction::triggered, this, &TLattixMainForm::ClearAllSolvedFlags);
  miFile1->addAction(clearAll);
  commands_.clearAllSolvedFlags = clearAll;
  QAction* exitAction = MakeAction("miExit1", T(Text::kMiExit));
  connect(exitAction, &QAction::triggered, this, &QWidget::close);
  miFile1->addAction(exitAction);

  btnOpen = new QToolButton(ToolBarView);
  btnOpen->setObjectName("btnOpen");
  btnOpen->setText(T(Text::kBtnOpen));
  btnOpen->setToolTip(T(Text::kBtnOpen));
  btnOpen->setMenu(OpenMenu);
  btnOpen->setPopupMode(QToolButton::MenuButtonPopup);
  connect(btnOpen, &QToolButton::clicked, this, &TLattixMainForm::OpenDefaultCollection);
  ToolBarView->addWidget(btnOpen);
  ToolBarView->addSeparator();
}

void TLattixMainForm::CreateViewCommands() {
  QMenu* miView1 = menuBar()->addMenu(T(Text::kMiView));
  miView1->setObjectName("miView1");
  QAction* zoomIn = MakeAction("miZoomin1", T(Text::kMiZoomIn));
  QAction* zoomOut = MakeAction("miZoomout1", T(Text::kMiZoomOut));
  connect(zoomIn, &QAction::triggered, this, &TLattixMainForm::ZoomIn);
  connect(zoomOut, &QAction::triggered, this, &TLattixMainForm::ZoomOut);
  miView1->addActions({zoomIn, zoomOut});
  miView1->addSeparator();
  commands_.zoomIn = zoomIn;
  commands_.zoomOut = zoomOut;
  QAction* index =
      MakeAction("miProblemIndex1", T(Text::kMiProblemIndex), T(Text::kBtnProblemIndex));
  index->setCheckable(true);
  connect(index, &QAction::triggered, this, &TLattixMainForm::ShowIndexPage);
  QAction* solveIt = MakeAction("miSolveIt1", T(Text::kMiSolveIt), T(Text::kBtnSolveIt));
  solveIt->setCheckable(true);
  connect(solveIt, &QAction::triggered, this, &TLattixMainForm::SolveIt);
  miView1->addActions({index, solveIt});
  miView1->addSeparator();
  commands_.problemIndex = index;
  commands_.solveIt = solveIt;

  struct Nav {
    const char* name;
    Text caption;
    Text hint;
    CommandIcon icon;
    void (TLattixMainForm::*run)();
    const char* button;
  };
  const Nav pages[] = {
      {"miFirstpage1", Text::kMiFirstPage, Text::kBtnFirstPage, CommandIcon::kFirstPage,
       &TLattixMainForm::FirstPage, "btnFirstPage"},
      {"miPriorpage1", Text::kMiPriorPage, Text::kBtnPriorPage, CommandIcon::kPriorPage,
       &TLattixMainForm::PriorPage, "btnPriorPage"},
      {"miNextpage1", Text::kMiNextPage, Text::kBtnNextPage, CommandIcon::kNextPage,
       &TLattixMainForm::NextPage, "btnNextPage"},
      {"miLastpage1", Text::kMiLastPage, Text::kBtnLastPage, CommandIcon::kLastPage,
       &TLattixMainForm::LastPage, "btnLastPage"},
  };
  const Nav problems[] = {
      {"miFirstproblem1", Text::kMiFirstProblem, Text::kBtnFirstProblem, CommandIcon::kFirstProblem,
       &TLattixMainForm::FirstProblem, "btnFirstProblem"},
      {"miPriorproblem1", Text::kMiPriorProblem, Text::kBtnPriorProblem, CommandIcon::kPriorProblem,
       &TLattixMainForm::PriorProblem, "btnPriorProblem"},
      {"miNextproblem1", Text::kMiNextProblem, Text::kBtnNextProblem, CommandIcon::kNextProblem,
       &TLattixMainForm::NextProblem, "btnNextProblem"},
      {"miLastproblem1", Text::kMiLastProblem, Text::kBtnLastProblem, CommandIcon::kLastProblem,
       &TLattixMainForm::LastProblem, "btnLastProblem"},
  };
  const auto make = [&](const Nav (&navs)[4], std::array<QAction*, 4>& into) {
    for (size_t i = 0; i < 4; ++i) {
      const Nav& n = navs[i];
      QAction* a = MakeAction(n.name, T(n.caption), T(n.hint));
      a->setIcon(MakeCommandIcon(n.icon));
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
  QMenu* miSolve1 = menuBar()->addMenu(T(Text::kMiSolve));
  miSolve1->setObjectName("miSolve1");
  QAction* solveAgain =
      MakeAction("miSolveAgain1", T(Text::kMiSolveAgain), T(Text::kBtnSolveAgain1));
  connect(solveAgain, &QAction::triggered, this, [this] { controller_->SolveAgain(); });
  AddKeys(solveAgain, {"keyEscape", "keyHome"},
          {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Home)});
  commands_.solveAgain = solveAgain;
  QAction* back = MakeAction("miBack1", T(Text::kMiBack), T(Text::kBtnBack1));
  connect(back, &QAction::triggered, this, [this] { controller_->Back(); });
  AddKeys(back, {"keyLeft", "keyBackspace"},
          {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Backspace)});
  commands_.back = back;
  QAction* nextV =
      MakeAction("miNextVOfComputer1", T(Text::kMiNextVOfComputer), T(Text::kBtnNextVofComputer));
  connect(nextV, &QAction::triggered, this, [this] { controller_->NextVariationOrRetry(); });
  AddKeys(nextV, {"keyPgDn", "keyPgUp", "keyF8"},
          {QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_PageUp), QKeySequence(Qt::Key_F8)});
  // The button has its own action: the judge enables it only while something is pending, while
  // the menu entry and its keys always work.
  QAction* btnNextV =
      MakeAction("btnNextVofComputer", T(Text::kMiNextVOfComputer), T(Text::kBtnNextVofComputer));
  btnNextV->setEnabled(false);
  connect(btnNextV, &QAction::triggered, nextV, &QAction::trigger);
  commands_.nextVariationButton = btnNextV;
  QAction* result = MakeAction("miResult1", T(Text::kMiResult), T(Text::kBtnResult1));
  connect(result, &QAction::triggered, this, [this] { controller_->Result(); });
  AddKeys(result, {"keyEnd"}, {QKeySequence(Qt::Key_End)});
  QAction* hint = MakeAction("miHint1", T(Text::kMiHint), T(Text::kBtnHint1));
  connect(hint, &QAction::triggered, this, [this] { controller_->Hint(); });
  AddKeys(hint, {"keyRight"}, {QKeySequence(Qt::Key_Right)});
  commands_.hint = hint;
  // Try and Stop try: the buttons have actions of their own, since try mode hides the Try
  // button (and shows the Stop try one) while the menu entries stay, disabled.
  const QString tryHint = T(Text::kTryButton);
  const QString stopTryHint = T(Text::kStopTryButton);
  QAction* tryAction = MakeAction("miStudy1", T(Text::kTryCommand), tryHint);
  tryAction->setIcon(st->standardIcon(QStyle::SP_FileDialogContentsView));
  connect(tryAction, &QAction::triggered, this, [this] { tryMode_->Try(); });
  AddKeys(tryAction, {"keyF9"}, {QKeySequence(Qt::Key_F9)});
  QAction* btnTry = MakeAction("btnStudy1", tryHint, tryHint);
  btnTry->setIcon(tryAction->icon());
  connect(btnTry, &QAction::triggered, tryAction, &QAction::trigger);
  QAction* stopTry = MakeAction("miStopStudy1", T(Text::kStopTryCommand), stopTryHint);
  stopTry->setEnabled(false);
  connect(stopTry, &QAction::triggered, this, [this] { tryMode_->StopTry(); });
  AddKeys(stopTry, {"keyF10"}, {QKeySequence(Qt::Key_F10)});
  QAction* btnStopTry = MakeAction("btnStopStudy1", stopTryHint, stopTryHint);
  btnStopTry->setIcon(st->standardIcon(QStyle::SP_BrowserStop));
  btnStopTry->setEnabled(false);
  btnStopTry->setVisible(false);
  connect(btnStopTry, &QAction::triggered, stopTry, &QAction::trigger);
  commands_.tryCommand = tryAction;
  commands_.tryButton = btnTry;
  commands_.stopTry = stopTry;
  commands_.stopTryButton = btnStopTry;
  QAction* resetSolved = MakeAction("Resetsolvedflag1", T(Text::kResetSolvedFlag));
  connect(resetSolved, &QAction::triggered, this, &TLattixMainForm::ResetSolvedFlag);
  commands_.resetSolvedFlag = resetSolved;
  QAction* level = MakeAction("miWhatlevelImat1", T(Text::kMiWhatLevelImAt));
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
  AddButton(ToolBarSolveIt, btnTry, "btnStudy1");
  AddButton(ToolBarSolveIt, btnStopTry, "btnStopStudy1");
  ToolBarSolveIt->addSeparator();
}

// The Options entries show options_ and change it; the controller follows each change.
void TLattixMainForm::CreateOptionCommands() {
  QMenu* miOptions1 = menuBar()->addMenu(T(Text::kMiOptions));
  miOptions1->setObjectName("miOptions1");
  const auto makeSwitch = [this](const char* name, Text caption, bool on) {
    QAction* a = MakeAction(name, T(caption));
    a->setCheckable(true);
    a->setChecked(on);
    return a;
  };
  QAction* badMove = makeSwitch("miComputerdonotplaybadmove1", Text::kMiComputerDoNotPlayBadMove,
                                options_.computerDoNotPlayBadMove);
  connect(badMove, &QAction::toggled, this, [this](bool on) {
    options_.computerDoNotPlayBadMove = on;
    controller_->SetComputerDoNotPlayBadMove(on);
  });
  QAction* numbers =
      makeSwitch("miDisplaynumbers1", Text::kMiDisplayNumbers, options_.displayNumbers);
  connect(numbers, &QAction::toggled, this, [this](bool on) {
    options_.displayNumbers = on;
    controller_->SetDisplayNumbers(on);
    controller_->SolveAgain();
  });
  QAction* nextAuto =
      makeSwitch("NextproblemAutomaticallyWhenSolved1", Text::kNextProblemAutomaticallyWhenSolved,
                 options_.nextProblemAutomatically);
  connect(nextAuto, &QAction::toggled, this, [this](bool on) {
    options_.nextProblemAutomatically = on;
    controller_->SetNextProblemAutomatically(on);
  });
  QAction* hintAllowed = makeSwitch("miHintallowed1", Text::kHintAllowed, options_.hintAllowed);
  connect(hintAllowed, &QAction::triggered, this, &TLattixMainForm::ClickHintAllowed);
  QAction* silent = MakeAction("miSilent1", T(Text::kMiSilent));
  connect(silent, &QAction::triggered, this, &TLattixMainForm::ToggleSilent);
  QAction* takeback = makeSwitch("miTakebackautomatically1", Text::kMiTakebackAutomatically,
                                 options_.takebackAutomatically);
  connect(takeback, &QAction::toggled, this, [this](bool on) {
    options_.takebackAutomatically = on;
    controller_->SetTakebackAutomatically(on);
  });
  QAction* delay = MakeAction("miDelaybeforetakebackautomatically1", T(Text::kDelayBeforeTakeback));
  connect(delay, &QAction::triggered, this, [this] {
    controller_->DelayDialog();
    TrackBar1->setValue(controller_->Delay());
  });
  QAction* offTree = makeSwitch("miCheckOffTreeMoves1", Text::kMiCheckOffTreeMoves,
                                options_.checkOffTreeMoves);
  connect(offTree, &QAction::toggled, this, [this](bool on) {
    options_.checkOffTreeMoves = on;
    controller_->SetCheckOffTreeMoves(on);
  });
  miOptions1->addActions(
      {badMove, numbers, nextAuto, hintAllowed, silent, takeback, delay, offTree});
  commands_.computerDoNotPlayBadMove = badMove;
  commands_.displayNumbers = numbers;
  commands_.nextProblemAutomatically = nextAuto;
  commands_.hintAllowed = hintAllowed;
  commands_.silent = silent;
  commands_.takebackAutomatically = takeback;
  commands_.checkOffTreeMoves = offTree;

  TrackBar1 = new QSlider(Qt::Horizontal, ToolBarSolveIt);
  TrackBar1->setObjectName("TrackBar1");
  TrackBar1->setRange(0, 30);
  TrackBar1->setValue(options_.delay);
  TrackBar1->setPageStep(5);
  TrackBar1->setFixedWidth(80);
  TrackBar1->setToolTip(T(Text::kDelayBeforeTakeback));
  TrackBar1->setFocusPolicy(Qt::NoFocus);
  connect(TrackBar1, &QSlider::valueChanged, this, [this](int v) {
    options_.delay = v;
    controller_->SetDelay(v);
  });
  ToolBarSolveIt->addWidget(TrackBar1);
}

void TLattixMainForm::CreateHelpCommands() {
  QMenu* miHelp1 = menuBar()->addMenu(T(Text::kMiHelp));
  miHelp1->setObjectName("miHelp1");
  QAction* guide = MakeAction("miGuide1", T(Text::kMiGuide));
  connect(guide, &QAction::triggered, this, &TLattixMainForm::Guide);
  QAction* about = MakeAction("miAbout1", T(Text::kMiAbout));
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
  // Try mode keeps the problem commands disabled (main_form_try.cpp).
  const bool any = GoIndex1->Count() > 0 && !TryModeActive();
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
  QMessageBox::information(this, BoxCaption(), Q(library_->LevelMessage()));
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

}  // namespace zendra
