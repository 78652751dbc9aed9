// The main window: construction, widgets and layout, pages, the board panel and zoom.
#include "app/main_form.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/board_values.h"
#include "app/interface_language.h"
#include "app/library_session.h"
#include "app/own_collections.h"
#include "app/practice_session.h"
#include "library/review_stored_source.h"
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

}  // namespace

TLattixMainForm::TLattixMainForm(MainFormPaths paths, SolvingSounds& sounds, QWidget* parent)
    : QMainWindow(parent),
      paths_(std::move(paths)),
      sounds_(sounds),
      text_(LocalizerFor(paths_.language.value_or(SystemInterfaceLanguage()))) {
  setObjectName("LattixMainForm");
  setWindowTitle(BoxCaption());
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setMinimumWidth(600);
  resize(640, 480);

  library_ = std::make_unique<LibrarySession>(paths_.dataFile, paths_.historyFile, text_);
  CreateWidgets();
  CreateSolving();  // the reply mask starts at 29
  CreateCommands();
  CreateTryMode();
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
  // The board fills its panel, so its radius follows the panel; the information column
  // starts hidden (zoom brings it back).
  ApplyStoredBoardValues(*Lattix1, kProblemBoardValues);
  ShowBoardTextsIn(*Lattix1, text_.language);
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
  // The comment of the node reached, whole and word-wrapped in the panel's free space (the
  // status bar's panel shows as much of it as fits).
  Comment1 = new QLabel(panel);
  Comment1->setObjectName("Comment1");
  Comment1->setWordWrap(true);
  Comment1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Comment1->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Comment1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
  QFont plain = Comment1->font();
  plain.setBold(false);
  Comment1->setFont(plain);
  labelLayout->addWidget(Comment1, 1);
  // The try-mode buttons, shown only while try mode runs (main_form_try.cpp wires them).
  const std::pair<const char*, Text> tryButtons[] = {{"btnUndo", Text::kTryUndo},
                                                     {"btnNextMove", Text::kTryNextMove},
                                                     {"btn1", Text::kTryRestart},
                                                     {"btnStopStudy2", Text::kTryStop}};
  for (const auto& [name, caption] : tryButtons) {
    auto* b = new QPushButton(Q(text_.Say(caption)), panel);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
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
    Lattix1->setGeometry(1, 1, Lattix1->BoardWidth() + Lattix1->SideColumnWidth(),
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
QString TLattixMainForm::StatusSession() const { return StatusBar1->Session(); }
QString TLattixMainForm::StatusRight() const { return StatusBar1->Right(); }

QString TLattixMainForm::Q(const std::string& text) { return QString::fromStdString(text); }

QString TLattixMainForm::T(Text text) const { return Q(text_.Say(text)); }

void TLattixMainForm::SetLabel(QLabel* label, const std::string& text) { label->setText(Q(text)); }

}  // namespace zendra
