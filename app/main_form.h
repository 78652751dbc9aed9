// TLattixMainForm: the main window. Two pages (the problem index and the problem on the board),
// two toolbars, the menus and keys of every command, a two-panel status bar, and the wiring of
// the solving controller, the problem library and the settings.
//
// Every command is made once, in CreateCommands: its menu entry (which the toolbar shows as a
// button), and separate window-wide key actions for its shortcuts, so that keys keep working
// while their entry is hidden for the current page.
#pragma once

#include <QMainWindow>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "language/language.h"
#include "solving/solving_ports.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QSlider;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QToolButton;

namespace zendra {

class LibrarySession;
struct CollectionResult;
class SessionHistoryCounters;
class SessionProblemSource;
class SolvingController;
class SteadyMillisecondClock;
class QtSolvingTimer;
class TGoIndex;
class TLattix;
class StatusBar2;

// Where the window finds its files.
struct MainFormPaths {
  std::string dataFile;     // Zendra.dgo
  std::string historyFile;  // History1.cds
  QString programDir;       // the guide and the InstallDir value
};

class TLattixMainForm : public QMainWindow, private SolvingUi {
  Q_OBJECT

 public:
  // Builds the window (not shown). `sounds` plays the numbered sounds and must outlive the
  // window. Remark.txt is read from the current directory.
  TLattixMainForm(MainFormPaths paths, SolvingSounds& sounds, QWidget* parent = nullptr);
  ~TLattixMainForm() override;

  // Reads the settings, sizes the window, opens the history and the saved collection. Runs once
  // (the first time the window is shown or activated); later calls do nothing.
  void FirstActivation();
  // Writes the settings and, when it changed, the history file (the close sequence).
  void SaveOnClose();

  // ---- Pages ----------------------------------------------------------------------------------

  void ShowIndexPage();
  void ShowProblemPage() override;
  bool ProblemPageShowing() const override;

  // ---- Commands (the handlers the menus, buttons and keys run) --------------------------------

  // Opens collection `group` (0 Basic .. 3 Advanced) with top row `topRow` (0: none wanted).
  void OpenCollection(int group, int topRow = 0);
  // "Open": the collection of the default drop-down entry, else 0.
  void OpenDefaultCollection();
  // "S&olve it": opens the selected problem (the first when none), shows the solving toolbar.
  void SolveIt();
  void FirstPage();
  void PriorPage();
  void NextPage();
  void LastPage();
  void FirstProblem();
  void PriorProblem();
  void NextProblem();
  void LastProblem();
  void ZoomIn();
  void ZoomOut();
  void ResetSolvedFlag();
  void ClearAllSolvedFlags();
  void WhatLevelImAt();
  void ToggleSilent();
  void Guide();
  void About();

  // ---- Parts, for the owner and tests ---------------------------------------------------------

  // A command's menu entry, button or key action by object name ("miIndex1", "btnSolveIt",
  // "keyHome"); nullptr when there is none.
  QAction* Command(const QString& name) const;
  TGoIndex* Grid() const { return GoIndex1; }
  TLattix* Board() const { return Lattix1; }
  QScrollBar* ScrollBar() const { return ScrollBar1; }
  QToolBar* SolvingToolBar() const { return ToolBarSolveIt; }
  QSlider* DelayTrackBar() const { return TrackBar1; }
  SolvingController& Controller() const { return *controller_; }
  LibrarySession& Library() const { return *library_; }
  // The text of a status label by name ("LabelStdResult", ...).
  QString LabelText(const QString& name) const;
  // The saved radius: the board's radius at the first activation, the floor of Zoom out.
  int SavedRadius() const { return savedRadius_; }
  // True while the board is sized to its panel.
  bool BoardFillsPanel() const { return boardFills_; }
  // The status bar's panels.
  QString StatusLeft() const;
  QString StatusRight() const;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // SolvingUi.
  void SetLabelResult(const std::string& text) override;
  void SetLabelStdResult(const std::string& text, uint32_t colour) override;
  void SetStatusLeft(const std::string& text) override;
  void SetStatusRight(const std::string& text) override;
  void SetNextVariationEnabled(bool enabled) override;
  void ShowTip(int which) override;
  void HideTips() override;
  void Beep() override;
  bool ProblemSelected() const override;
  void ProcessPendingRepaints() override;
  void RunNextProblem() override;
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& text) override;

  void CreateWidgets();
  void CreateCommands();
  void CreateSolving();
  void LoadRemarks();
  QAction* MakeAction(const char* name, const QString& caption, const QString& hint = {});
  void AddKeys(QAction* command, std::initializer_list<const char*> names,
               std::initializer_list<QKeySequence> keys);
  void UpdateCommands();
  // Enables or disables a command together with its key actions.
  void SetCommandEnabled(QAction* command, bool enabled);
  void SetPageCommandsVisible(bool pages);
  void LayoutBoard();
  void OpenPosition(int position);
  void SelectAndOpen(std::optional<int> entry);
  void SetTopRow(std::optional<int> row);
  void SyncScrollBar();
  void ReportCollection(const CollectionResult& r);
  void SetLabel(QLabel* label, const std::string& text);

  MainFormPaths paths_;
  SolvingSounds& sounds_;
  // The interface language of every text the window and the layers below it show.
  Localizer text_;

  // Widgets.
  QToolBar* ToolBarView = nullptr;
  QToolBar* ToolBarSolveIt = nullptr;
  QToolButton* btnOpen = nullptr;
  QMenu* OpenMenu = nullptr;
  QSlider* TrackBar1 = nullptr;
  QStackedWidget* PageControl1 = nullptr;
  QWidget* tsIndex = nullptr;
  QWidget* tsProblem = nullptr;
  TGoIndex* GoIndex1 = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QWidget* Panel1 = nullptr;  // the label panel
  QSplitter* Splitter1 = nullptr;
  QWidget* Panel2 = nullptr;  // the board panel
  TLattix* Lattix1 = nullptr;
  std::map<QString, QLabel*> labels_;
  std::vector<QPushButton*> tryButtons_;
  StatusBar2* StatusBar1 = nullptr;

  // Commands by object name, and the four collection entries.
  std::map<QString, QAction*> commands_;
  std::map<QAction*, std::vector<QAction*>> keys_;
  std::vector<QAction*> collectionEntries_;
  std::vector<QAction*> pageCommands_;
  std::vector<QAction*> problemCommands_;

  // Library and solving.
  std::unique_ptr<LibrarySession> library_;
  std::unique_ptr<SessionProblemSource> problemSource_;
  std::unique_ptr<SessionHistoryCounters> historyPort_;
  std::unique_ptr<QtSolvingTimer> timer1_;
  std::unique_ptr<QtSolvingTimer> timer2_;
  std::unique_ptr<SteadyMillisecondClock> clock_;
  std::unique_ptr<SolvingController> controller_;

  std::vector<std::string> remarks_;
  bool activated_ = false;
  bool historyOpen_ = false;
  bool silent_ = false;
  bool displaySplashForm1_ = true;
  bool displaySplashForm2_ = true;
  bool studyAtNewWindow_ = false;
  bool bestCounterMoveOnly_ = false;
  bool boardFills_ = true;
  int savedRadius_ = 6;
};

}  // namespace zendra
