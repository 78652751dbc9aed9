// TLattixMainForm: the main window. Two pages (the problem index and the problem on the board),
// two toolbars, the menus and keys of every command, a two-panel status bar, and the wiring of
// the solving controller, the problem library and the settings.
//
// A window of this program is one class in files by concern; the windows still to come (study
// window, password dialog, tips, import, review, statistics) each get their own set the same way:
//   main_form.h              the class; widgets and commands used after construction are typed
//                            members, named in comments by the object names they carry
//   main_form.cpp            construction, widgets and layout, pages, the board panel and zoom
//   main_form_commands.cpp   menus, toolbars and keys, the commands' enabled states, the handlers
//                            of the small commands (statistics, help)
//   main_form_collection.cpp collections, the grid's pages, problem navigation
//   main_form_solving.cpp    the solving controller, its ports, and the SolvingUi of the window
//   main_form_settings.cpp   the options, the first activation and the close
//   main_form_data.cpp       another data file, the player's own collections and their import
//   main_form_try.cpp        try mode's commands and buttons, and the study window
//   main_form_review.cpp     the review of missed problems, practice at the player's level,
//                            zoom to the problem and the statistics window
//
// Every command is made once, in CreateCommands: its menu entry (which the toolbar shows as a
// button), and separate window-wide key actions for its shortcuts, so that keys keep working
// while their entry is hidden for the current page.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "language/language.h"
#include "solving/move_judge.h"
#include "solving/solving_ports.h"
#include "solving/try_mode.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QSettings;
class QSlider;
class QSplitter;
class QStackedWidget;
class QTimer;
class QToolBar;
class QToolButton;

namespace zendra {

class LibrarySession;
class PracticeSession;
class PracticeSource;
class StoredSource;
struct Attempt;
struct CollectionResult;
struct GridState;
class SessionHistoryCounters;
class SessionProblemSource;
class SolvingController;
class SteadyMillisecondClock;
class QtSolvingTimer;
class TGoIndex;
class TLattix;
class TStudyForm;
class StatusBar2;
class TSetPasswordDlg;
class TSplashForm;
class TSplashForm3;
class SgfImportJob;
struct OwnCollectionsState;

// Where the window finds its files.
struct MainFormPaths {
  std::string dataFile;     // Zendra.dgo
  std::string historyFile;  // History1.cds
  QString programDir;       // the guide and the InstallDir value
  int firstCollection = -1; // opened at the first activation; -1: the one open at the last close
  // A data file of at least this many bytes shows the please-wait window while it loads; a
  // smaller one loads faster than the window could be seen.
  long long pleaseWaitBytes = 1 << 20;
  // The player's own collection (its folder) opened at the first activation instead; empty:
  // the one open at the last close.
  QString firstOwnCollection;
  // The per-user data folder holding the own collections (Imported/); empty: the standard one.
  QString userDataDir;
  QString statisticsModule; // the statistics window's module; empty: beside the program
  // The interface language; none: the one of the system's locale (QLocale::system()).
  std::optional<Language> language;
};

class TLattixMainForm : public QMainWindow, private SolvingUi, private TryModeUi {
  Q_OBJECT

 public:
  // Builds the window (not shown). `sounds` plays the numbered sounds and must outlive the
  // window. Remark.txt is read beside the data file (see RemarkFileFor).
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
  // Saves the history, then reads problems from `dataFile` (with the remark list beside it)
  // and, when `historyFile` is not empty, keeps the history there; opens collection `group`.
  void SwitchData(const QString& dataFile, const QString& historyFile, int group,
                  int topRow = 0);
  // A shipped collection's entry: collection `group` of the data file the window started with
  // (left an own collection first).
  void OpenShippedCollection(int group);
  // Opens the player's own collection in `folder` (its data file, remarks and history).
  void OpenOwnCollection(const QString& folder, int topRow = 0);
  // "Import SGF problems…": asks for a folder or files, then imports them.
  void ImportSgfProblemsCommand();
  // Imports SGF files and folders (the menu, a drop, a later start) on a thread of its own
  // behind a progress dialog; the window answers clicks meanwhile. At the end the report, and
  // the new collection opens. Refused, with a message, while another import runs.
  void ImportSources(const QStringList& sources);
  // "Rename collection…" and "Remove collection…" of the own collection open.
  void RenameCollection();
  void RemoveCollection();
  // The folder of the own collection open; empty while a shipped collection is.
  QString OwnCollectionOpen() const;
  // The import running, nullptr when none.
  SgfImportJob* RunningImport() const;
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
  // "Review": the problems due for review today as a collection in the grid.
  void Review();
  // "Practice at my level": a session of problems drawn around the level estimate.
  void PracticeAtMyLevel();
  // "Statistics": the statistics window (Qt Charts, loaded now).
  void ShowStatistics();
  // "Zoom to the problem": the board shows only the open problem's region.
  void SetZoomToProblem(bool on);
  // The number of problems due for review today.
  int DueToday();
  // The practice session running, nullptr when none.
  const PracticeSession* Practice() const { return practice_.get(); }

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
  TryMode& TryModeCommands() const { return *tryMode_; }
  // The study window; nullptr until Try first opens it.
  TStudyForm* StudyWindow() const { return studyForm_; }
  LibrarySession& Library() const { return *library_; }
  // The text of a status label by object name ("LabelStdResult", ...).
  QString LabelText(const QString& name) const;
  // The saved radius: the board's radius at the first activation, the floor of Zoom out.
  int SavedRadius() const { return savedRadius_; }
  // True while the board is sized to its panel.
  bool BoardFillsPanel() const { return boardFills_; }
  // The status bar's panels.
  QString StatusLeft() const;
  // The review's or practice session's panel of the status bar.
  QString StatusSession() const;
  QString StatusRight() const;
  // The comment beside the board (the whole of the right status panel's text).
  QString CommentText() const;
  // The windows made at their first use; nullptr until then.
  TSplashForm* TipWindow(int which) const;
  TSplashForm3* PleaseWaitWindow() const { return pleaseWait_; }
  TSetPasswordDlg* PasswordDialog() const { return passwordDlg_; }
  // How long the solved position stays before Next problem automatically moves on.
  static constexpr int kSolvedPauseMs = 1200;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  // SGF files and folders dropped on the window are imported.
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // The status labels of the problem page, top to bottom.
  struct Labels {
    QLabel* stdResult = nullptr;      // LabelStdResult
    QLabel* result = nullptr;         // LabelResult
    QLabel* successCount = nullptr;   // LabelSuccessCount
    QLabel* failureCount = nullptr;   // LabelFailureCount
    QLabel* hint0Count = nullptr;     // LabelHint0Count
    QLabel* hint1Count = nullptr;     // LabelHint1Count
    QLabel* takebackCount = nullptr;  // LabelTakebackCount
    QLabel* studyCount = nullptr;     // LabelStudyCount
  };

  // The commands used after construction; the others live in their menus and toolbars only.
  struct Commands {
    std::array<QAction*, 4> collections{};   // miBasic1, miBeginner1, miIntermediate1, miAdvanced1
    QAction* clearAllSolvedFlags = nullptr;  // miClearallsolvedflags1
    QAction* zoomIn = nullptr;               // miZoomin1
    QAction* zoomOut = nullptr;              // miZoomout1
    QAction* problemIndex = nullptr;         // miProblemIndex1
    QAction* solveIt = nullptr;              // miSolveIt1
    std::array<QAction*, 4> pages{};         // miFirstpage1, miPriorpage1, miNextpage1, miLastpage1
    std::array<QAction*, 4> problems{};      // miFirstproblem1 .. miLastproblem1
    QAction* solveAgain = nullptr;           // miSolveAgain1
    QAction* back = nullptr;                 // miBack1
    QAction* hint = nullptr;                 // miHint1
    QAction* tryCommand = nullptr;           // miStudy1
    QAction* tryButton = nullptr;            // btnStudy1
    QAction* stopTry = nullptr;              // miStopStudy1
    QAction* stopTryButton = nullptr;        // btnStopStudy1
    QAction* nextVariationButton = nullptr;  // btnNextVofComputer
    QAction* resetSolvedFlag = nullptr;      // Resetsolvedflag1
    QAction* whatLevel = nullptr;            // miWhatlevelImat1
    // The Options entries, which show options_.
    QAction* computerDoNotPlayBadMove = nullptr;  // miComputerdonotplaybadmove1
    QAction* displayNumbers = nullptr;            // miDisplaynumbers1
    QAction* nextProblemAutomatically = nullptr;  // NextproblemAutomaticallyWhenSolved1
    QAction* hintAllowed = nullptr;               // miHintallowed1
    QAction* silent = nullptr;                    // miSilent1
    QAction* takebackAutomatically = nullptr;     // miTakebackautomatically1
    QAction* checkOffTreeMoves = nullptr;         // miCheckOffTreeMoves1
  };

  // SolvingUi.
  void SetLabelResult(const std::string& text) override;
  void SetLabelStdResult(const std::string& text, uint32_t colour) override;
  void SetStatusLeft(const std::string& text) override;
  void SetStatusRight(const std::string& text) override;
  void SetNextVariationEnabled(bool enabled) override;
  void ShowTip(int which) override;
  void HideTips() override;
  void Beep() override;
  void ShowStorageProblem(const std::string& text) override;
  bool ProblemSelected() const override;
  void ProcessPendingRepaints() override;
  void RunNextProblem() override;
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& text) override;
  void EnableUndo() override;

  // TryModeUi.
  bool TryPageShowing() const override { return ProblemPageShowing(); }
  void SetProblemCommandsEnabled(bool enabled) override;
  void ShowTryButtons(bool shown) override;
  void SetUndoEnabled(bool enabled) override;
  void SetNextMoveEnabled(bool enabled) override;
  void ShowTryModeCommands(bool on) override;
  void OpenStudyWindow(const LattixEngine& board) override;
  void HideStudyWindow() override;

  // main_form.cpp
  void CreateWidgets();
  void CreateLabels(QWidget* panel);
  void SetPageCommandsVisible(bool pages);
  void LayoutBoard();
  static QString Q(const std::string& text);
  // A text of the table in the interface language.
  QString T(Text text) const;
  static void SetLabel(QLabel* label, const std::string& text);
  // The caption of the window's message boxes: the program's name, whatever collection the
  // title names.
  static QString BoxCaption() { return QStringLiteral("Zendra"); }

  // main_form_commands.cpp
  void CreateCommands();
  void CreateFileCommands();
  void CreateViewCommands();
  void CreateSolveCommands();
  void CreateOptionCommands();
  void CreateHelpCommands();
  void SetCommandIcons();
  QAction* MakeAction(const char* name, const QString& caption, const QString& hint = {});
  void AddKeys(QAction* command, std::initializer_list<const char*> names,
               std::initializer_list<QKeySequence> keys);
  // Adds `command` to `bar` and names the button it gets.
  static void AddButton(QToolBar* bar, QAction* command, const char* name);
  void UpdateCommands();
  // Enables or disables a command together with its key actions.
  void SetCommandEnabled(QAction* command, bool enabled);

  // main_form_collection.cpp
  GridState GridNow() const;
  void OpenPosition(int position);
  void SelectAndOpen(std::optional<int> entry);
  void SetTopRow(std::optional<int> row);
  void SyncScrollBar();
  void ReportCollection(const CollectionResult& r);
  // Makes the entries of collection `group` the default (bold) ones of the File menu and the
  // Open drop-down, and no others.
  void MarkDefaultCollection(int group);
  void OfferOtherDataFile(const QString& message);  // see missing_data.h

  // main_form_data.cpp
  // The import, rename and remove entries after the four collections of `file`, and the own
  // collections' entries.
  void CreateOwnCommands(QMenu* file);
  // The own collections' entries in the File menu and the Open drop-down, read again.
  void ShowOwnCollections();
  // The open collection marked in the menus, its name and progress in the title, the own
  // commands enabled.
  void ShowCollectionState();
  // At the first activation: the own collection of the command line or of the last close.
  bool OpenFirstOwnCollection(int topRow);
  // The shipped collection the settings keep at close (nothing: keep the stored one), and the
  // own collection open, written into `settings` (in the group "Zendra").
  std::optional<int> ShippedCollectionToSave() const;
  void SaveOwnCollectionSetting(QSettings& settings) const;
  void ImportFinished();
  // Stops a running import and waits for its thread (at close).
  void StopImport();
  // main_form_try.cpp
  // Try mode over the board and the controller, and the try buttons' commands.
  void CreateTryMode();
  bool TryModeActive() const { return tryMode_ && tryMode_->Active(); }

  // main_form_solving.cpp
  void CreateSolving();
  void LoadRemarks();
  // Says in the status bar that comments cannot be shown when the shared remark list is
  // missing and the problem at `position` has no list of its own.
  void TellMissingRemarks(int position);

  // main_form_review.cpp
  void CreateReviewCommands();
  // A data file reviews and practice draw from: the shipped one (no folder) or an own
  // collection's.
  struct SourceFile {
    QString folder;  // the own collection's folder, empty for the shipped data file
    QString name;    // the own collection's name
    std::string dataFile;
    std::string historyFile;
  };
  // Every data file the player has: the shipped one first, then the own collections.
  std::vector<SourceFile> SourceFiles() const;
  // The index in `files` of the data file open now (0 when it is none of them).
  int32_t OpenSource(const std::vector<SourceFile>& files) const;
  // Every source of problems reviews and practice draw from, in the order of `files`: the open
  // data file's own, and for the others what their files held when first asked for.
  std::vector<PracticeSource*> PracticeSources(const std::vector<SourceFile>& files);
  // Opens `file` (its collection at the grid) without ending a practice session.
  void OpenSourceFile(const SourceFile& file);
  // The problems of `sources` due for review today.
  int DueTodayIn(const std::vector<PracticeSource*>& sources);
  // The Review entry's count and the enabled states of the review commands.
  void ShowDueCount();
  void Graded(const Attempt& attempt);
  // Shows the practice session's problems of the open data file in the grid, the open one
  // still selected.
  void ShowPracticeList();
  // Opens the problem the practice session waits for, first its data file when another one is
  // open. False when no problem waits.
  bool OpenPracticeProblem();
  // Zooms the board to the problem at `position` when the option is on.
  void ZoomToProblem(int position);
  void EndPractice();

  // main_form_settings.cpp
  // "Hint allowed": locks or unlocks the Hint command behind the password.
  void ClickHintAllowed();
  // Makes `options` the window's options: the Options entries, the silent icon, the delay bar
  // and the solving controller take them.
  void ApplyOptions(const MainOptions& options);
  // The silent entry's icon and tip for the current options.
  void ShowSilent();

  MainFormPaths paths_;
  SolvingSounds& sounds_;
  // The interface language of every text the window and the layers below it show.
  Localizer text_;
  // The one source of the option switches and the delay.
  MainOptions options_;

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
  Labels labels_;
  std::vector<QPushButton*> tryButtons_;
  StatusBar2* StatusBar1 = nullptr;

  Commands commands_;
  // Each command's window-wide key actions.
  std::map<QAction*, std::vector<QAction*>> keys_;

  // Library and solving.
  std::unique_ptr<LibrarySession> library_;
  std::unique_ptr<SessionProblemSource> problemSource_;
  std::unique_ptr<SessionHistoryCounters> historyPort_;
  std::unique_ptr<QtSolvingTimer> timer1_;
  std::unique_ptr<QtSolvingTimer> timer2_;
  std::unique_ptr<SteadyMillisecondClock> clock_;
  std::unique_ptr<SolvingController> controller_;
  std::unique_ptr<TryMode> tryMode_;
  TStudyForm* studyForm_ = nullptr;  // a child window, made at its first opening

  std::unique_ptr<OwnCollectionsState> own_;
  std::unique_ptr<MoveJudge> moveJudge_;  // the solver, for moves the tree does not know

  std::vector<std::string> remarks_;
  QString missingRemarkFile_;  // the shared remark list looked for and not found
  QLabel* Comment1 = nullptr;  // the comment, word-wrapped in the label panel
  // The windows made at their first use.
  TSplashForm* tips_[2] = {nullptr, nullptr};
  TSplashForm3* pleaseWait_ = nullptr;
  TSetPasswordDlg* passwordDlg_ = nullptr;
  QTimer* nextProblemTimer_ = nullptr;  // the pause before Next problem automatically
  // Reviews and practice.
  QAction* miReview1 = nullptr;
  QAction* miPractice1 = nullptr;
  QAction* miStatistics1 = nullptr;
  QAction* miZoomToProblem1 = nullptr;
  std::unique_ptr<PracticeSession> practice_;
  std::vector<SourceFile> practiceFiles_;  // the sources of the practice session's problems
  bool keepPractice_ = false;              // a data file opens for the practice session
  bool firstDueCount_ = true;              // no review count was shown yet
  // The data files not open, as read for reviews and practice, by data file; forgotten when
  // the open data file or the own collections change.
  std::map<std::string, std::unique_ptr<StoredSource>> storedSources_;
  bool activated_ = false;
  bool historyOpen_ = false;
  bool displaySplashForm1_ = true;
  bool displaySplashForm2_ = true;
  bool boardFills_ = true;
  int savedRadius_ = 6;
};

}  // namespace zendra
