// Around solving, on the offscreen platform: the hint lock and its password dialog, the tip
// windows and their stored choice, the please-wait window, the comment beside the board and in
// the status bar, the remark list found beside the data file, the Open button's collection and
// the pause before the next problem.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>

#include "app/main_form.h"
#include "app/password_dialog.h"
#include "app/please_wait.h"
#include "app/settings.h"
#include "app/status_bar.h"
#include "app/tip_windows.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "solving/solving_controller.h"
#include "solving/tree/solution_tree.h"
#include "tests/app/app_test_data.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

using test::MainWindowTest;

// Steps run in turn against whatever modal window is open: each is tried every few
// milliseconds until it says it is done.
class ModalScript {
 public:
  using Step = std::function<bool(QWidget* modal)>;
  explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (steps_.empty()) return;
      QWidget* modal = QApplication::activeModalWidget();
      if (modal != nullptr && steps_.front()(modal)) steps_.pop_front();
    });
    timer_.start(5);
  }
  bool Done() const { return steps_.empty(); }

 private:
  std::deque<Step> steps_;
  QTimer timer_;
};

// The password dialog is open: type `text` and press `button` ("ok", "cancel" or "forgot").
ModalScript::Step Type(const QString& text, const char* button, QString* seenBefore = nullptr) {
  return [=](QWidget* modal) {
    auto* dlg = qobject_cast<TSetPasswordDlg*>(modal);
    if (dlg == nullptr) return false;
    if (seenBefore) *seenBefore = dlg->Edit()->text();
    dlg->Edit()->setText(text);
    QPushButton* b = std::string(button) == "ok"       ? dlg->OkButton()
                     : std::string(button) == "cancel" ? dlg->CancelButton()
                                                       : dlg->ForgotButton();
    // A click that opens a box of its own returns only when the box is answered: run it later.
    QTimer::singleShot(0, b, &QPushButton::click);
    return true;
  };
}

// The "forgot" box is open: answer it.
ModalScript::Step Answer(QMessageBox::StandardButton answer, QString* text = nullptr) {
  return [=](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return false;
    if (text) *text = box->windowTitle() + "|" + box->text();
    box->button(answer)->click();
    return true;
  };
}

QString Stored(const char* key) {
  QSettings s(kSettingsOrganisation, kSettingsApplication);
  s.beginGroup(kSettingsGroup);
  return s.contains(key) ? s.value(key).toString() : QStringLiteral("<missing>");
}

void Store(const char* key, const QString& value) {
  QSettings s(kSettingsOrganisation, kSettingsApplication);
  s.beginGroup(kSettingsGroup);
  s.setValue(key, value);
}

TEST(HintPassword, EachByteTimes195ModuloAByteInHex) {
  const std::pair<std::string, std::string> cases[] = {
      {"abc", "E3A669"},  // the documented example
      {"", ""},
      {"A", "83"},            // 65 * 195 = 12675 = 49 * 256 + 131
      {"\xFF", "3D"},         // 255 * 195 = 49725 = 194 * 256 + 61
      {std::string(1, '\0'), "00"},
      {"ABC", "834609"},      // letter case gives other bytes
  };
  for (const auto& [password, encoded] : cases)
    EXPECT_EQ(EncodeHintPassword(password), encoded) << password;
}

class AroundSolvingTest : public MainWindowTest {
 protected:
  // Runs `command` with the modal `script` answering what it opens; the script must finish.
  void RunWith(const char* command, std::deque<ModalScript::Step> steps) {
    boxes.Stop();
    ModalScript script(std::move(steps));
    form->Command(command)->trigger();
    EXPECT_TRUE(script.Done()) << command;
  }
  bool HintAllowedShown() { return form->Command("miHintallowed1")->isChecked(); }
};

TEST_F(AroundSolvingTest, LockingAndUnlockingTheHint) {
  TLattixMainForm& f = Start();
  ASSERT_TRUE(HintAllowedShown());
  // Cancel in set mode changes nothing.
  RunWith("miHintallowed1", {Type("x", "cancel")});
  EXPECT_TRUE(HintAllowedShown());
  EXPECT_TRUE(f.Controller().HintAllowed());
  EXPECT_EQ(Stored("HintAllowed"), "<missing>");

  // Locking: the option goes off and both values are written.
  RunWith("miHintallowed1", {Type("abc", "ok")});
  EXPECT_FALSE(HintAllowedShown());
  EXPECT_FALSE(f.Controller().HintAllowed());
  EXPECT_EQ(Stored("HintAllowed"), "0");
  EXPECT_EQ(Stored("HintPassword"), "E3A669");
  EXPECT_EQ(f.PasswordDialog()->windowTitle(), "Set password");

  // A password that differs in letter case does not unlock, and nothing is written. The box
  // opens empty, whatever was typed last.
  QString before;
  RunWith("miHintallowed1", {Type("ABC", "ok", &before)});
  EXPECT_EQ(before, "");
  EXPECT_EQ(f.PasswordDialog()->windowTitle(), "Password");
  EXPECT_FALSE(HintAllowedShown());
  EXPECT_FALSE(f.Controller().HintAllowed());
  EXPECT_EQ(Stored("HintAllowed"), "0");
  EXPECT_EQ(Stored("HintPassword"), "E3A669");

  // While locked the Hint command shows no dots.
  f.Command("miSolveIt1")->trigger();
  f.Command("miHint1")->trigger();
  EXPECT_EQ(f.Board()->MarkColor(test::kSolvingP, test::kSolvingQ), 0u);

  // The right password unlocks.
  RunWith("miHintallowed1", {Type("abc", "ok")});
  EXPECT_TRUE(HintAllowedShown());
  EXPECT_TRUE(f.Controller().HintAllowed());
  EXPECT_EQ(Stored("HintAllowed"), "1");
  f.Command("miHint1")->trigger();
  EXPECT_NE(f.Board()->MarkColor(test::kSolvingP, test::kSolvingQ), 0u);
}

TEST_F(AroundSolvingTest, ForgottenPasswordUnlocksAndErasesIt) {
  TLattixMainForm& f = Start();
  RunWith("miHintallowed1", {Type("secret", "ok")});
  ASSERT_FALSE(HintAllowedShown());

  // "forgot" answered No leaves the dialog open; Cancel then changes nothing.
  QString asked;
  RunWith("miHintallowed1",
          {Type("", "forgot"), Answer(QMessageBox::No, &asked), Type("", "cancel")});
  EXPECT_EQ(asked, "Will clear the password|Really?");
  EXPECT_FALSE(HintAllowedShown());
  EXPECT_EQ(Stored("HintPassword"), QString::fromStdString(EncodeHintPassword("secret")));

  // Yes unlocks without any password and erases the stored one.
  RunWith("miHintallowed1", {Type("", "forgot"), Answer(QMessageBox::Yes)});
  EXPECT_TRUE(HintAllowedShown());
  EXPECT_TRUE(f.Controller().HintAllowed());
  EXPECT_EQ(Stored("HintAllowed"), "1");
  EXPECT_EQ(Stored("HintPassword"), "");

  // An empty password locks and unlocks with an empty box.
  RunWith("miHintallowed1", {Type("", "ok")});
  EXPECT_FALSE(HintAllowedShown());
  RunWith("miHintallowed1", {Type("", "ok")});
  EXPECT_TRUE(HintAllowedShown());
  f.close();
  // The close does not write the lock's state.
  EXPECT_EQ(Stored("HintAllowed"), "1");
}

TEST_F(AroundSolvingTest, TheLockSurvivesARestart) {
  Start();
  RunWith("miHintallowed1", {Type("pw", "ok")});
  form->close();
  TLattixMainForm& g = Start();
  EXPECT_FALSE(g.Command("miHintallowed1")->isChecked());
  EXPECT_FALSE(g.Controller().HintAllowed());
}

// A correct answer that leaves another reply of the computer to meet shows tip 1 and no
// "Solved"; PgDn hides it and plays the other reply; answering that solves the problem.
TEST_F(AroundSolvingTest, ACorrectAnswerWithAnotherReplyLeftShowsTheTip) {
  test::WriteTwoRepliesFile(dir.filePath("two.dgo").toStdString(), 2);
  TLattixMainForm& f = Start("two.dgo");
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.Board()->GetPoint(test::kReplyP, test::kFirstReplyQ), kWhite);
  Click(test::kAnswerP, test::kFirstAnswerQ);
  EXPECT_EQ(f.LabelText("LabelResult"), "lives,Success");
  EXPECT_NE(f.LabelText("LabelSuccessCount"), "Solved");
  ASSERT_NE(f.TipWindow(1), nullptr);
  EXPECT_TRUE(f.TipWindow(1)->isVisible());
  EXPECT_EQ(f.TipWindow(1)->findChild<QLabel*>("Label1")->text().trimmed(),
            "Press PgDn key to try the next variantion");
  EXPECT_TRUE(f.TipWindow(1)->Timer1()->isActive());
  // PgDn (the e2e test presses the key itself, with the tip on a real display).
  f.Command("miNextVOfComputer1")->trigger();
  EXPECT_FALSE(f.TipWindow(1)->isVisible());
  EXPECT_EQ(f.Board()->GetPoint(test::kReplyP, test::kSecondReplyQ), kWhite);
  EXPECT_EQ(f.Board()->GetPoint(test::kReplyP, test::kFirstReplyQ), 0);
  Click(test::kAnswerP, test::kSecondAnswerQ);
  EXPECT_EQ(f.LabelText("LabelSuccessCount"), "Solved");
  EXPECT_EQ(sounds.played.back(), kSoundSolved);
}

TEST_F(AroundSolvingTest, TipsKeepTheChoiceOfTheirBox) {
  Store("DisplaySplashForm1", "no");  // any text but "0" counts as on
  Store("DisplaySplashForm2", "0");
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  Click(1, 1);  // outside the tree: only a retry is left, tip 2, which is switched off
  EXPECT_EQ(f.LabelText("LabelResult"), "Failure");
  EXPECT_TRUE(f.Command("btnNextVofComputer")->isEnabled());
  EXPECT_TRUE(f.TipWindow(2) == nullptr || !f.TipWindow(2)->isVisible());

  // Opened anyway, tip 2 shows its box ticked and tip 1 its box clear.
  TSplashForm tip2(2, Localizer{}, nullptr);
  EXPECT_FALSE(tip2.Enabled());
  EXPECT_TRUE(tip2.DoNotDisplay()->isChecked());
  TSplashForm tip1(1, Localizer{}, nullptr);
  EXPECT_TRUE(tip1.Enabled());
  EXPECT_FALSE(tip1.DoNotDisplay()->isChecked());

  // Closing tip 2 with the box cleared switches it on; tip 1's value stays as it was.
  tip2.ShowTip();
  tip2.DoNotDisplay()->setChecked(false);
  tip2.CloseButton()->click();
  EXPECT_FALSE(tip2.isVisible());
  EXPECT_TRUE(tip2.Enabled());
  EXPECT_EQ(Stored("DisplaySplashForm2"), "1");
  EXPECT_EQ(Stored("DisplaySplashForm1"), "no");
  // Closing tip 1 with the box ticked writes "0".
  tip1.ShowTip();
  tip1.DoNotDisplay()->setChecked(true);
  tip1.close();
  EXPECT_FALSE(tip1.Enabled());
  EXPECT_EQ(Stored("DisplaySplashForm1"), "0");
  EXPECT_EQ(Stored("DisplaySplashForm2"), "1");
}

// A tip left alone closes when its timer expires and writes its value once, also when the main
// window has hidden it first.
TEST_F(AroundSolvingTest, ATipClosesByItsTimer) {
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  Click(1, 1);
  TSplashForm* tip = f.TipWindow(2);
  ASSERT_NE(tip, nullptr);
  ASSERT_TRUE(tip->isVisible());
  EXPECT_EQ(tip->Timer1()->interval(), 10000);
  EXPECT_EQ(Stored("DisplaySplashForm2"), "<missing>");
  tip->Timer1()->setInterval(20);
  tip->Timer1()->start();
  QTRY_VERIFY_WITH_TIMEOUT(!tip->isVisible(), 2000);
  EXPECT_EQ(Stored("DisplaySplashForm2"), "1");
  tip->Timer1()->setInterval(TSplashForm::kShowMs);

  // Shown again and hidden by the next command: the timer still closes it and saves the box.
  f.Command("miSolveAgain1")->trigger();
  Click(1, 1);
  ASSERT_TRUE(tip->isVisible());
  tip->DoNotDisplay()->setChecked(true);
  tip->Timer1()->setInterval(20);
  tip->Timer1()->start();
  f.Command("miNextVOfComputer1")->trigger();  // the retry hides the tip
  EXPECT_FALSE(tip->isVisible());
  EXPECT_EQ(Stored("DisplaySplashForm2"), "1");
  QTRY_COMPARE_WITH_TIMEOUT(Stored("DisplaySplashForm2"), QString("0"), 2000);
  EXPECT_FALSE(tip->Enabled());
  // Switched off, it does not appear after the next failure.
  f.Command("miSolveAgain1")->trigger();
  Click(1, 1);
  EXPECT_FALSE(tip->isVisible());
}

// A data file whose problems' winning move carries remark 1 of the shared list.
void WriteWithRemark(const QString& path) {
  SolutionTree tree;
  tree.Add(tree.Add(kNoNode, ""), std::string(test::kSolvingPoint) + " 11", "", "1");
  test::WriteTestDataFile(path.toStdString(), 1, tree.Save());
}

const char kLongRemark[] =
    "The throw-in at the first line takes away the eye at the edge, and the ladder that follows "
    "works because the white stone in the corner is already in atari when black extends.";

// Started from another folder, the window reads Remark.txt beside the data file; the comment
// shows whole beside the board, cut with an ellipsis in the status bar, whole as its tooltip.
TEST_F(AroundSolvingTest, RemarksBesideTheDataFileFromAnotherFolder) {
  QDir(dir.path()).mkpath("data");
  QDir(dir.path()).mkpath("elsewhere");
  WriteWithRemark(dir.filePath("data/Zendra.dgo"));
  {
    QFile remarks(dir.filePath("data/Remark.txt"));
    ASSERT_TRUE(remarks.open(QIODevice::WriteOnly));
    remarks.write(QByteArray("\n") + kLongRemark + "\n");
  }
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.filePath("elsewhere")));
  TLattixMainForm& f = Start("data/Zendra.dgo");
  QDir::setCurrent(before);
  f.resize(800, 600);
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.StatusRight(), kLongRemark);
  EXPECT_EQ(f.CommentText(), kLongRemark);
  auto* bar = f.findChild<StatusBar2*>();
  ASSERT_NE(bar, nullptr);
  QTRY_VERIFY(bar->RightShown().endsWith(QChar(0x2026)));
  EXPECT_TRUE(QString(kLongRemark).startsWith(bar->RightShown().chopped(1)));
  EXPECT_EQ(bar->findChild<QLabel*>("StatusPanel1")->toolTip(), kLongRemark);
  // The comment beside the board is word-wrapped in the panel: several lines, none cut.
  auto* comment = f.findChild<QLabel*>("Comment1");
  ASSERT_NE(comment, nullptr);
  EXPECT_TRUE(comment->wordWrap());
  EXPECT_TRUE(comment->isVisible());
  EXPECT_GT(comment->height(), 2 * comment->fontMetrics().height());

  // A double click widens the first panel but leaves the comment more than a stub.
  QTest::mouseDClick(bar, Qt::LeftButton);
  EXPECT_GE(bar->LeftWidth(), 100);
  QTRY_VERIFY(bar->findChild<QLabel*>("StatusPanel1")->width() >= bar->width() / 3);
  QTest::mouseDClick(bar, Qt::LeftButton);
  EXPECT_EQ(bar->LeftWidth(), 60);
}

TEST_F(AroundSolvingTest, MissingRemarksAreSaid) {
  QDir(dir.path()).mkpath("data");
  QDir(dir.path()).mkpath("empty");
  WriteWithRemark(dir.filePath("data/Zendra.dgo"));
  // Neither beside the data file nor in the current folder.
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.filePath("empty")));
  TLattixMainForm& f = Start("data/Zendra.dgo");
  QDir::setCurrent(before);
  f.Command("miSolveIt1")->trigger();
  EXPECT_TRUE(f.StatusRight().startsWith("Comments are not shown: ")) << f.StatusRight().toStdString();
  EXPECT_TRUE(f.StatusRight().contains("Remark.txt"));
}

// The Open button reopens the collection loaded last (the default entry, bold in both menus);
// before any load it opens collection 0.
TEST_F(AroundSolvingTest, OpenReopensTheDefaultCollection) {
  TLattixMainForm& f = Start();  // collection 2 at a first run
  ASSERT_EQ(f.Grid()->Count(), 7);
  auto* file = f.menuBar()->findChild<QMenu*>("miFile1");
  auto* drop = f.findChild<QMenu*>("OpenMenu");
  ASSERT_NE(file, nullptr);
  ASSERT_NE(drop, nullptr);
  for (QMenu* menu : {file, drop}) {
    ASSERT_NE(menu->defaultAction(), nullptr);
    EXPECT_EQ(menu->actions().indexOf(menu->defaultAction()), 2);
    for (int tag = 0; tag < 4; ++tag) EXPECT_EQ(menu->actions()[tag]->font().bold(), tag == 2);
  }
  f.findChild<QToolButton*>("btnOpen")->click();
  EXPECT_EQ(f.Grid()->Count(), 7);  // collection 2 again, not collection 0 (one problem)
  f.Command("miBasic1")->trigger();
  EXPECT_EQ(f.Grid()->Count(), 1);
  EXPECT_EQ(drop->actions().indexOf(drop->defaultAction()), 0);
  EXPECT_FALSE(drop->actions()[2]->font().bold());
}

// The please-wait window shows while a large data file loads and is gone after, also when the
// load fails.
TEST_F(AroundSolvingTest, PleaseWaitWhileALargeFileLoads) {
  MainFormPaths paths;
  paths.dataFile = dir.filePath("Zendra.dgo").toStdString();
  paths.historyFile = dir.filePath("History1.cds").toStdString();
  paths.programDir = dir.path();
  paths.pleaseWaitBytes = 0;
  form = std::make_unique<TLattixMainForm>(paths, sounds);
  form->show();
  form->FirstActivation();
  ASSERT_NE(form->PleaseWaitWindow(), nullptr);
  EXPECT_EQ(form->PleaseWaitWindow()->Shows(), 1);
  EXPECT_FALSE(form->PleaseWaitWindow()->isVisible());
  EXPECT_FALSE(form->PleaseWaitWindow()->Animate1()->Playing());
  EXPECT_EQ(form->PleaseWaitWindow()->windowTitle(), "Please wait...");

  QFile garbage(dir.filePath("Zendra.dgo"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
  garbage.write(QByteArray(4096, 'x'));
  garbage.close();
  form->OpenCollection(2);
  EXPECT_EQ(form->PleaseWaitWindow()->Shows(), 2);
  EXPECT_FALSE(form->PleaseWaitWindow()->isVisible());

  // A small file loads with no window at all.
  form.reset();
  test::WriteTestDataFile(dir.filePath("Zendra.dgo").toStdString(), 7);
  TLattixMainForm& g = Start();
  EXPECT_EQ(g.PleaseWaitWindow(), nullptr);
}

TEST(ClockAnimation, TheHandGoesRound) {
  ClockAnimation clock;
  clock.Play();
  EXPECT_TRUE(clock.Playing());
  QTRY_VERIFY_WITH_TIMEOUT(clock.Frame() >= 2, 2000);
  const QImage first = clock.grab().toImage();
  QTRY_VERIFY_WITH_TIMEOUT(clock.grab().toImage() != first, 2000);
  clock.Stop();
  EXPECT_FALSE(clock.Playing());
}

// "Next Problem Automatically when solved" leaves the solved position on the board for a
// moment; a player who starts the problem again meanwhile stays on it.
TEST_F(AroundSolvingTest, TheSolvedPositionStaysAMomentBeforeTheNextProblem) {
  Store("NextProblemAutomatically", "1");
  TLattixMainForm& f = Start();
  f.Command("miSolveIt1")->trigger();
  ASSERT_EQ(f.Grid()->Selected(), 0);
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.LabelText("LabelSuccessCount"), "Solved");
  EXPECT_EQ(f.Grid()->Selected(), 0);
  EXPECT_EQ(f.Board()->GetPoint(test::kSolvingP, test::kSolvingQ), kBlack);
  QTRY_COMPARE_WITH_TIMEOUT(f.Grid()->Selected(), 1, TLattixMainForm::kSolvedPauseMs + 2000);

  Click(test::kSolvingP, test::kSolvingQ);
  f.Command("miSolveAgain1")->trigger();
  QTest::qWait(TLattixMainForm::kSolvedPauseMs + 300);
  EXPECT_EQ(f.Grid()->Selected(), 1);
}

// The board keeps its turn circles inside the control when it is fitted to its width.
TEST(BoardFit, TheTurnCirclesHaveRoom) {
  for (const QSize size : {QSize(700, 800), QSize(840, 820), QSize(400, 900)}) {
    TLattix board;
    board.SetDisplayInfo(0);
    board.SetDisplayTurn(true);
    board.SetCoordinate(16);
    board.resize(size);
    board.show();
    QApplication::processEvents();
    EXPECT_LE(board.BoardWidth() + 15 + 2 * std::min<int>(board.Radius(), 7), board.width())
        << size.width() << "x" << size.height();
  }
}

// At a device pixel ratio of 1.5 every grid line is as thick as every other.
TEST(BoardFit, GridLinesAtRatioOneAndAHalfAreEven) {
  TLattix board;
  board.SetDim3(false);
  board.SetWood(false);
  board.resize(500, 460);
  board.SetCanvasPixelRatio(1.5);
  const QImage& canvas = board.Canvas();
  // Down a column between two vertical lines, count the dark runs: the horizontal lines (the
  // frame and the coordinates lie outside the rows looked at).
  const int x = static_cast<int>((board.PointX(3) + board.PointX(4)) / 2 * 1.5);
  std::vector<int> runs;
  int run = 0;
  const int top = static_cast<int>((board.PointY(1) - 3) * 1.5);
  const int bottom = static_cast<int>((board.PointY(19) + 3) * 1.5);
  for (int y = top; y <= bottom; ++y) {
    if (qGray(canvas.pixel(x, y)) < 60) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  ASSERT_GE(runs.size(), 19u);
  for (int r : runs) EXPECT_EQ(r, runs.front());
}

}  // namespace
}  // namespace zendra
