// The player's own collections in the window: importing from the menu and by a drop (the
// progress, its Cancel, the report), the entries under the shipped collections, solving and
// counting across a restart, renaming and removing.
#include "app/own_collections.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "app/main_form.h"
#include "app/own_problems.h"
#include "app/practice_session.h"
#include "app/library_session.h"
#include "app/settings.h"
#include "board/widget/lattix.h"
#include "index/go_index.h"
#include "tests/app/app_test_data.h"
#include "tests/app/clear_settings.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

// A problem solved by Black at D4 (the test data file's position), lost by any other move.
constexpr char kProblem[] =
    "(;FF[4]GM[1]SZ[19]CA[UTF-8]AB[cc][ec][ce]AW[fc][fd][fe][ef][df]PL[B]C[Answer: lives]"
    ";B[dd]C[Correct.])";

// Answers the window's modal dialogs: message boxes with the button named for their object
// name (else the default one), file dialogs with `pick`, input dialogs with `text`; keeps what
// each box said.
class Answerer {
 public:
  Answerer() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  std::map<QString, QString> buttons;  // box object name -> button text
  QString pick;
  QString text;
  struct Seen {
    QString name, text, informative, details;
  };
  std::vector<Seen> seen;
  int Count(const QString& name) const {
    return static_cast<int>(std::count_if(seen.begin(), seen.end(),
                                          [&](const Seen& s) { return s.name == name; }));
  }

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen.push_back({box->objectName(), box->text(), box->informativeText(), box->detailedText()});
      QAbstractButton* b = box->defaultButton();
      if (auto it = buttons.find(box->objectName()); it != buttons.end()) {
        for (QAbstractButton* c : box->buttons())
          if (c->text() == it->second) b = c;
      }
      if (!b) b = box->buttons().value(0);
      b->click();
    } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      test::AnswerFileDialog(files, pick);
    } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
      input->setTextValue(text);
      input->accept();
    }
  }
  QTimer timer_;
};

class OwnCollections : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    test::ClearProgramSettings();
    test::WriteTestDataFile(dir.filePath("Zendra.dgo").toStdString(), 7);
    folder = dir.filePath("My problems");
    for (int i = 1; i <= 3; ++i) Write(QStringLiteral("My problems/deeper/p%1.sgf").arg(i), kProblem);
    Write("My problems/broken.sgf", "(;GM[1]FF[4]SZ[13];B[cc])");
    answers.buttons["ImportChoiceBox"] = "Folder…";
    answers.pick = folder;
  }
  void TearDown() override {
    form.reset();
    test::ClearProgramSettings();
  }
  void Write(const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QString User() const { return dir.filePath("user"); }
  TLattixMainForm& Start() {
    form.reset();
    MainFormPaths paths;
    paths.dataFile = dir.filePath("Zendra.dgo").toStdString();
    paths.historyFile = dir.filePath("History1.cds").toStdString();
    paths.programDir = dir.path();
    paths.userDataDir = User();
    paths.statisticsModule = ZENDRA_STATISTICS_MODULE_PATH;
    form = std::make_unique<TLattixMainForm>(paths, sounds);
    form->show();
    form->FirstActivation();
    return *form;
  }
  // Runs the window's events until `done` holds (at most 20 s).
  static bool Until(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired()) QTest::qWait(10);
    return done();
  }
  void ImportFromMenu() {
    form->Command("miImportSgf1")->trigger();
    ASSERT_TRUE(Until([&] { return form->RunningImport() == nullptr; }));
    QCoreApplication::processEvents();
  }
  // The titles of a menu's entries, separators as "|".
  static QStringList Entries(const QMenu* menu) {
    QStringList t;
    for (const QAction* a : menu->actions())
      if (a->isVisible()) t << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return t;
  }
  QMenu* FileMenu() const { return form->menuBar()->findChild<QMenu*>("miFile1"); }
  QMenu* OpenMenu() const { return form->findChild<QMenu*>("OpenMenu"); }
  QAction* Own(int n) const {
    return FileMenu()->findChild<QAction*>(QStringLiteral("miOwnCollection%1").arg(n));
  }
  void Click(int p, int q) {
    TLattix* board = form->Board();
    QTest::mouseClick(board, Qt::LeftButton, {}, QPoint(board->PointX(p), board->PointY(q)));
  }
  QString Setting(const char* key) const {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    return s.value(QStringLiteral("%1/%2").arg(kSettingsGroup, key)).toString();
  }

  QTemporaryDir dir;
  QString folder;
  Answerer answers;
  test::RecordingSounds sounds;
  std::unique_ptr<TLattixMainForm> form;
};

TEST_F(OwnCollections, MenuImportReportsRefusalsAndOpensTheNewCollectionUnderTheShippedOnes) {
  TLattixMainForm& f = Start();
  EXPECT_EQ(Entries(FileMenu()).mid(0, 7),
            (QStringList{"Basic", "Beginner", "Intermediate", "Advanced", "|",
                         "Import SGF problems...", "Rename collection..."}));
  EXPECT_FALSE(f.Command("miRenameCollection1")->isEnabled()) << "no own collection open";
  EXPECT_FALSE(f.Command("miRemoveCollection1")->isEnabled());
  EXPECT_EQ(f.windowTitle(), "Zendra");

  ImportFromMenu();
  ASSERT_EQ(answers.Count("ImportReport"), 1);
  const Answerer::Seen& report = *std::find_if(
      answers.seen.begin(), answers.seen.end(), [](auto& s) { return s.name == "ImportReport"; });
  EXPECT_TRUE(report.text.contains("Imported 3 problems from 4 SGF files into \"My problems\""))
      << report.text.toStdString();
  EXPECT_TRUE(report.informative.contains("1 refused")) << report.informative.toStdString();
  EXPECT_TRUE(report.informative.contains("board not 19x19: 1")) << report.informative.toStdString();
  EXPECT_TRUE(report.details.contains("broken.sgf")) << report.details.toStdString();
  EXPECT_TRUE(report.details.contains("board size 13 is not 19x19")) << report.details.toStdString();

  EXPECT_EQ(f.Grid()->Count(), 3);
  EXPECT_EQ(f.windowTitle(), "My problems: 0 / 3 solved");
  EXPECT_EQ(Entries(FileMenu()).mid(0, 6),
            (QStringList{"Basic", "Beginner", "Intermediate", "Advanced", "My problems", "|"}));
  EXPECT_EQ(Entries(OpenMenu()),
            (QStringList{"Basic", "Beginner", "Intermediate", "Advanced", "|", "My problems"}));
  ASSERT_NE(Own(1), nullptr);
  EXPECT_TRUE(Own(1)->isChecked()) << "the open collection is marked";
  EXPECT_TRUE(Own(1)->font().bold());
  EXPECT_TRUE(f.Command("miRenameCollection1")->isEnabled());

  // Back to a shipped collection: the shipped data and history, the mark gone.
  f.Command("miIntermediate1")->trigger();
  EXPECT_EQ(f.Grid()->Count(), 7);
  EXPECT_TRUE(f.OwnCollectionOpen().isEmpty());
  EXPECT_FALSE(Own(1)->isChecked());
  EXPECT_EQ(f.windowTitle(), "Zendra");
  // And the own one again from the Open drop-down.
  OpenMenu()->findChild<QAction*>("OpenmiOwnCollection1")->trigger();
  EXPECT_EQ(f.Grid()->Count(), 3);
}

TEST_F(OwnCollections, CancelStopsTheImportAndWritesNothing) {
  // Enough files that the import is still at work when Cancel is pressed.
  for (int i = 0; i < 400; ++i) Write(QStringLiteral("Many/p%1.sgf").arg(i, 3, 10, QChar('0')), kProblem);
  TLattixMainForm& f = Start();
  f.ImportSources({dir.filePath("Many")});
  SgfImportJob* job = f.RunningImport();
  ASSERT_NE(job, nullptr);
  ASSERT_NE(job->Dialog(), nullptr);
  EXPECT_TRUE(job->Dialog()->isVisible()) << "progress is shown at once";
  EXPECT_FALSE(job->Dialog()->isModal()) << "the window answers clicks meanwhile";
  EXPECT_FALSE(f.Command("miImportSgf1")->isEnabled()) << "one import at a time";
  // The window works while the import runs.
  f.Command("miBasic1")->trigger();
  EXPECT_EQ(f.Grid()->Count(), 1);
  QPushButton* cancel = job->Dialog()->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  QTest::mouseClick(cancel, Qt::LeftButton);
  ASSERT_TRUE(Until([&] { return f.RunningImport() == nullptr; }));
  EXPECT_EQ(answers.Count("ImportReport"), 0) << "a cancelled import has no report";
  EXPECT_FALSE(QFileInfo::exists(OwnDataFor({dir.filePath("Many")}, User()).dataFile));
  EXPECT_TRUE(ListOwnCollections(User()).isEmpty());
  EXPECT_EQ(Own(1), nullptr);
  EXPECT_TRUE(f.Command("miImportSgf1")->isEnabled());
  EXPECT_EQ(f.Grid()->Count(), 1) << "the collection open stays open";
}

TEST_F(OwnCollections, ADroppedFolderIsImported) {
  TLattixMainForm& f = Start();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(folder)});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f, &drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_TRUE(Until([&] { return f.Grid()->Count() == 3; }));
  EXPECT_EQ(f.OwnCollectionOpen(), OwnDataFor({folder}, User()).folder);

  // Text or a remote address is no import.
  QMimeData text;
  text.setText("(;B[aa])");
  QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f, &refused);
  EXPECT_FALSE(refused.isAccepted());
}

// Solved marks and counts are kept per collection across a restart, and an own problem's number
// never reaches the shipped history, though the numbers are the same.
TEST_F(OwnCollections, SolvedMarksAndCountsSurviveARestartWithoutTouchingTheShippedHistory) {
  TLattixMainForm& f = Start();
  f.Command("miBasic1")->trigger();  // the shipped collection 0: problem number 1
  ASSERT_EQ(f.Grid()->Count(), 1);
  ASSERT_EQ(f.Grid()->Games()[0].substr(0, 5), "00010");
  f.Command("miIntermediate1")->trigger();
  ImportFromMenu();
  ASSERT_EQ(f.Grid()->Count(), 3);
  ASSERT_EQ(f.Grid()->Games()[0].substr(0, 5), "00010") << "the own problem 1";
  f.SolveIt();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.LabelText("LabelSuccessCount").isEmpty(), false);
  f.ShowIndexPage();
  EXPECT_EQ(f.Grid()->Games()[0].substr(0, 5), "00011");
  EXPECT_EQ(f.windowTitle(), "My problems: 1 / 3 solved");
  f.close();
  EXPECT_EQ(Setting("Database"), "2") << "the shipped choice is kept for the shipped file";
  EXPECT_FALSE(Setting("OwnCollection").isEmpty());

  TLattixMainForm& again = Start();
  EXPECT_EQ(again.OwnCollectionOpen(), OwnDataFor({folder}, User()).folder)
      << "the own collection open at close opens again";
  ASSERT_EQ(again.Grid()->Count(), 3);
  EXPECT_EQ(again.Grid()->Games()[0].substr(0, 5), "00011");
  EXPECT_EQ(again.Grid()->Games()[1].substr(0, 5), "00020");
  EXPECT_EQ(again.windowTitle(), "My problems: 1 / 3 solved");
  again.Command("miBasic1")->trigger();
  ASSERT_EQ(again.Grid()->Count(), 1);
  EXPECT_EQ(again.Grid()->Games()[0].substr(0, 5), "00010") << "shipped problem 1 unsolved";
  again.close();
  EXPECT_EQ(Setting("Database"), "0");
  EXPECT_TRUE(Setting("OwnCollection").isEmpty());
  TLattixMainForm& third = Start();
  EXPECT_TRUE(third.OwnCollectionOpen().isEmpty()) << "a shipped collection at close";
  EXPECT_EQ(third.Grid()->Count(), 1);
}

TEST_F(OwnCollections, ReviewAndPracticeReachEveryCollection) {
  TLattixMainForm& f = Start();
  f.Command("miBasic1")->trigger();
  f.SolveIt();
  Click(1, 1);  // shipped problem 1 missed
  ImportFromMenu();
  const QString own = f.OwnCollectionOpen();
  ASSERT_FALSE(own.isEmpty());
  f.SolveIt();
  Click(1, 1);  // own problem 1 missed
  EXPECT_EQ(f.DueToday(), 2) << "one due in each data file";
  EXPECT_EQ(f.Command("miReview1")->text(), "&Review (2)");

  // Review lists the open data file's problems due first, then the other one's.
  f.Command("miReview1")->trigger();
  EXPECT_EQ(f.OwnCollectionOpen(), own);
  ASSERT_EQ(f.Grid()->Count(), 1);
  EXPECT_EQ(f.StatusSession(), "Review: 1 due today in My problems, 1 more in other collections");
  f.SolveIt();
  Click(test::kSolvingP, test::kSolvingQ);  // clean: due again later, not today
  EXPECT_EQ(f.DueToday(), 1);
  EXPECT_EQ(f.Command("miReview1")->text(), "&Review (1)");
  f.Command("miReview1")->trigger();
  EXPECT_TRUE(f.OwnCollectionOpen().isEmpty()) << "the shipped data file opens for its review";
  ASSERT_EQ(f.Grid()->Count(), 1);
  EXPECT_EQ(f.Library().ProblemAt(0)->number, 1);
  EXPECT_EQ(f.StatusSession(), "Review: 1 due today");

  // Practice draws from both data files (eight shipped problems and three own ones for a
  // session of ten), opening each problem's file in turn.
  f.Command("miPractice1")->trigger();
  std::set<int32_t> sources;
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    ASSERT_NE(f.Practice(), nullptr) << "opening another data file keeps the session";
    const std::optional<PoolProblem> waiting = f.Practice()->Waiting();
    ASSERT_TRUE(waiting);
    sources.insert(waiting->source);
    ASSERT_TRUE(f.ProblemPageShowing());
    EXPECT_EQ(f.OwnCollectionOpen().isEmpty(), waiting->source == 0);
    EXPECT_EQ(f.Library().ProblemAt(f.Grid()->Selected())->number, waiting->number);
    Click(test::kSolvingP, test::kSolvingQ);
    if (i < 9) f.NextProblem();
  }
  ASSERT_NE(f.Practice(), nullptr);
  EXPECT_TRUE(f.Practice()->Complete());
  EXPECT_EQ(f.Practice()->Draw().Summary().clean, 10);
  EXPECT_EQ(sources, (std::set<int32_t>{0, 1}));
  EXPECT_EQ(f.StatusSession(), "Practice done");
  f.Command("miBasic1")->trigger();
  EXPECT_EQ(f.StatusSession(), "") << "another collection ends it";

  // The statistics count both data files, the own collection under its name.
  QWidget* window = test::OpenStatisticsWindow(f);
  ASSERT_NE(window, nullptr);
  auto* table = window->findChild<QTableWidget*>("tblCollections");
  ASSERT_NE(table, nullptr);
  QStringList names;
  int attempted = 0;
  for (int row = 0; row < table->rowCount(); ++row) {
    names << table->item(row, 0)->text();
    attempted += table->item(row, 2)->text().toInt();
  }
  EXPECT_TRUE(names.contains("Basic")) << names.join(", ").toStdString();
  EXPECT_TRUE(names.contains("My problems")) << names.join(", ").toStdString();
  // The session's ten problems, and the two missed before it when the draw left them out.
  EXPECT_GE(attempted, 10);
  EXPECT_LE(attempted, 11);
  window->close();
}

TEST_F(OwnCollections, RenamingKeepsTheNameAcrossAReimport) {
  TLattixMainForm& f = Start();
  ImportFromMenu();
  answers.text = "  Corner\nproblems ";
  f.Command("miRenameCollection1")->trigger();
  EXPECT_EQ(Own(1)->text(), "Corner problems");
  EXPECT_EQ(f.windowTitle(), "Corner problems: 0 / 3 solved");
  answers.text = "   ";
  f.Command("miRenameCollection1")->trigger();
  EXPECT_EQ(Own(1)->text(), "Corner problems") << "an empty name is refused";
  ImportFromMenu();  // the same folder again
  ASSERT_EQ(ListOwnCollections(User()).size(), 1) << "the same folder, the same collection";
  EXPECT_EQ(ListOwnCollections(User())[0].name, "Corner problems");
}

TEST_F(OwnCollections, RemovalAsksAndOnlyYesDeletesTheCollectionWithItsHistory) {
  TLattixMainForm& f = Start();
  ImportFromMenu();
  f.SolveIt();
  Click(test::kSolvingP, test::kSolvingQ);
  const OwnDataFiles own = OwnDataFor({folder}, User());
  ASSERT_TRUE(QFileInfo::exists(own.historyFile)) << "each count is written at once";

  struct Case {
    const char* answer;
    bool removed;
  };
  for (const Case c : {Case{"&No", false}, Case{"&Yes", true}}) {
    SCOPED_TRACE(c.answer);
    answers.buttons[""] = c.answer;  // the question box has no name of its own
    const int asked = static_cast<int>(answers.seen.size());
    f.Command("miRemoveCollection1")->trigger();
    ASSERT_GT(static_cast<int>(answers.seen.size()), asked);
    EXPECT_TRUE(answers.seen[static_cast<size_t>(asked)].text.contains("\"My problems\""));
    EXPECT_TRUE(answers.seen[static_cast<size_t>(asked)].text.contains("1 / 3 solved"));
    EXPECT_EQ(QFileInfo::exists(own.folder), !c.removed);
    EXPECT_EQ(QFileInfo::exists(own.historyFile), !c.removed);
    EXPECT_EQ(Own(1) == nullptr, c.removed);
    EXPECT_EQ(f.OwnCollectionOpen().isEmpty(), c.removed);
  }
  EXPECT_EQ(f.Grid()->Count(), 7) << "back on the shipped collection";
  EXPECT_EQ(f.windowTitle(), "Zendra");
}

TEST(OwnCollectionFiles, RemovalKeepsToFoldersAnImportMade) {
  QTemporaryDir dir;
  const QString user = dir.filePath("user");
  QDir().mkpath(OwnCollectionsRoot(user) + "/x-1");
  QFile(OwnCollectionsRoot(user) + "/x-1/Zendra.dgo").open(QIODevice::WriteOnly);
  QFile(OwnCollectionsRoot(user) + "/x-1/mine.txt").open(QIODevice::WriteOnly);
  QDir().mkpath(dir.filePath("elsewhere"));
  QFile(dir.filePath("elsewhere/Zendra.dgo")).open(QIODevice::WriteOnly);
  QString error;
  EXPECT_FALSE(RemoveOwnCollection(user, dir.filePath("elsewhere"), &error));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("elsewhere/Zendra.dgo")));
  EXPECT_FALSE(RemoveOwnCollection(user, OwnCollectionsRoot(user) + "/x-1/../../elsewhere", &error));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("elsewhere/Zendra.dgo")));
  ASSERT_TRUE(RemoveOwnCollection(user, OwnCollectionsRoot(user) + "/x-1", &error))
      << error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(OwnCollectionsRoot(user) + "/x-1/Zendra.dgo"));
  EXPECT_TRUE(QFileInfo::exists(OwnCollectionsRoot(user) + "/x-1/mine.txt"))
      << "a file the import did not make is left";
  EXPECT_TRUE(ListOwnCollections(user).isEmpty());
}

}  // namespace
}  // namespace zendra
