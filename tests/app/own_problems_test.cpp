// The player's own SGF problems: imported into a data file of their own, offered when the
// shipped data file is missing, and opened from the command line.
#include "app/own_problems.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/main_form.h"
#include "app/settings.h"
#include "tests/app/clear_settings.h"
#include "tests/app/window_test_util.h"
#include "index/go_index.h"

namespace zendra {
namespace {

class NoSounds : public SolvingSounds {
 public:
  bool Play(int, bool) override { return true; }
};

constexpr const char* kGoodFiles[] = {"b01-atari-to-the-edge.sgf", "b08-ladder.sgf",
                                      "b09-race-three-liberties.sgf"};

class OwnProblems : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    test::ClearProgramSettings();
    // A folder of three problems from the shipped collection and one 13x13 game, nested.
    folder = dir.filePath("My problems");
    ASSERT_TRUE(QDir().mkpath(folder + "/deeper"));
    for (const char* name : kGoodFiles) {
      ASSERT_TRUE(QFile::copy(QStringLiteral(ZENDRA_DATA_DIR "/basic/") + name,
                              folder + "/deeper/" + name))
          << name;
    }
    QFile broken(folder + "/broken.sgf");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("(;GM[1]FF[4]SZ[13];B[cc])");
  }
  void TearDown() override {
    form.reset();
    test::ClearProgramSettings();
  }
  TLattixMainForm& Start(const MainFormPaths& paths) {
    form = std::make_unique<TLattixMainForm>(paths, sounds);
    form->show();
    form->FirstActivation();
    return *form;
  }
  MainFormPaths MissingDataPaths() {
    MainFormPaths paths;
    paths.dataFile = dir.filePath("missing.dgo").toStdString();
    paths.historyFile = dir.filePath("History1.cds").toStdString();
    paths.programDir = dir.path();
    return paths;
  }

  QTemporaryDir dir;
  QString folder;
  NoSounds sounds;
  std::unique_ptr<TLattixMainForm> form;
};

TEST_F(OwnProblems, EachSetOfSourcesHasItsOwnFolder) {
  const QString user = dir.filePath("user");
  const OwnDataFiles a = OwnDataFor({folder}, user);
  EXPECT_EQ(OwnDataFor({folder}, user).folder, a.folder) << "the same sources, the same folder";
  EXPECT_NE(OwnDataFor({folder + "/deeper"}, user).folder, a.folder);
  EXPECT_NE(OwnDataFor({folder, folder + "/broken.sgf"}, user).folder, a.folder);
  EXPECT_TRUE(QFileInfo(a.folder).fileName().startsWith("My_problems-")) << a.folder.toStdString();
  EXPECT_EQ(QFileInfo(a.folder).path(), QDir(user).filePath("Imported"));
  EXPECT_EQ(QFileInfo(a.dataFile).path(), a.folder);
  EXPECT_EQ(QFileInfo(a.historyFile).path(), a.folder);
  EXPECT_NE(QFileInfo(a.dataFile).fileName(), QFileInfo(a.historyFile).fileName());
}

TEST_F(OwnProblems, ImportKeepsTheGoodProblemsAndListsTheRefusedFile) {
  const OwnDataFiles target = OwnDataFor({folder}, dir.filePath("user"));
  const OwnImportResult outcome = ImportSgfProblems({folder}, target);
  EXPECT_TRUE(outcome.written);
  EXPECT_EQ(outcome.files, 4);
  EXPECT_EQ(outcome.imported, 3);
  ASSERT_EQ(outcome.refusals.size(), 1);
  EXPECT_TRUE(outcome.refusals[0].contains("broken.sgf")) << outcome.refusals[0].toStdString();
  EXPECT_TRUE(outcome.refusals[0].contains("13")) << outcome.refusals[0].toStdString();
  EXPECT_TRUE(QFileInfo(target.dataFile).isFile());
  EXPECT_TRUE(QFileInfo(QFileInfo(target.dataFile).dir().filePath("Remark.txt")).isFile());
  const QString report = ImportReportText(outcome);
  EXPECT_TRUE(report.contains("Imported 3 problems from 4 SGF files; 1 refused.")) << report.toStdString();
  EXPECT_TRUE(report.contains(outcome.refusals[0]));

  // Nothing importable: nothing written, the reason kept.
  const OwnDataFiles none = OwnDataFor({folder + "/broken.sgf"}, dir.filePath("user"));
  const OwnImportResult refused = ImportSgfProblems({folder + "/broken.sgf"}, none);
  EXPECT_FALSE(refused.written);
  EXPECT_EQ(refused.imported, 0);
  EXPECT_EQ(refused.refusals.size(), 1);
  EXPECT_FALSE(QFileInfo::exists(none.dataFile));
  const OwnImportResult missing = ImportSgfProblems({dir.filePath("no such folder")}, none);
  EXPECT_FALSE(missing.written);
  EXPECT_FALSE(missing.errors.isEmpty());
}

TEST_F(OwnProblems, MissingDataFileOffersAnImportThatFillsTheIndex) {
  QStringList asked, reports;
  QTimer answerer;
  answerer.setInterval(20);
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      if (box->objectName() == "MissingDataBox") {
        asked.push_back(box->text());
        for (QAbstractButton* b : box->buttons()) {
          if (b->text() == QStringLiteral("Import SGF problems…")) b->click();
        }
      } else {
        reports.push_back(box->detailedText());
        box->defaultButton() ? box->defaultButton()->click() : box->buttons().value(0)->click();
      }
    } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      test::AnswerFileDialog(files, folder);
    }
  });
  answerer.start();

  const MainFormPaths paths = MissingDataPaths();
  TLattixMainForm& f = Start(paths);
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].contains("missing.dgo")) << asked[0].toStdString();
  EXPECT_EQ(f.Grid()->Count(), 3) << "the imported problems fill the index";
  ASSERT_EQ(reports.size(), 1) << "the refused file is reported";
  EXPECT_TRUE(reports[0].contains("broken.sgf")) << reports[0].toStdString();
  // The own problems keep their own history: the shipped one is not written.
  f.close();
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(paths.historyFile)));
}

TEST_F(OwnProblems, MissingDataFileOffersAnotherDataFile) {
  const OwnDataFiles other = OwnDataFor({folder}, dir.filePath("elsewhere"));
  ASSERT_TRUE(ImportSgfProblems({folder}, other).written);
  QTimer answerer;
  answerer.setInterval(20);
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      for (QAbstractButton* b : box->buttons()) {
        if (b->text() == QStringLiteral("Open data file…")) b->click();
      }
    } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      test::AnswerFileDialog(files, other.dataFile);
    }
  });
  answerer.start();
  const MainFormPaths paths = MissingDataPaths();
  TLattixMainForm& f = Start(paths);
  EXPECT_EQ(f.Grid()->Count(), 3) << "the chosen data file's problems";
  f.close();
  // A data file chosen by hand keeps the history in use.
  EXPECT_TRUE(QFileInfo(QString::fromStdString(paths.historyFile)).isFile());
  EXPECT_FALSE(QFileInfo::exists(other.historyFile));
}

TEST_F(OwnProblems, MissingDataFileClosedLeavesAnEmptyIndex) {
  int asked = 0;
  QTimer answerer;
  answerer.setInterval(20);
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      asked += box->objectName() == "MissingDataBox";
      box->button(QMessageBox::Close)->click();
    }
  });
  answerer.start();
  TLattixMainForm& f = Start(MissingDataPaths());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(f.Grid()->Count(), 0);
}

TEST_F(OwnProblems, CommandLineSourcesAreImportedAndOpened) {
  QTimer answerer;  // the report of the refused file
  answerer.setInterval(20);
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
      box->buttons().value(0)->click();
  });
  answerer.start();
  MainFormPaths paths = MissingDataPaths();
  const QString user = dir.filePath("user");
  ASSERT_TRUE(UseImportedProblems({folder + "/deeper/" + kGoodFiles[1]}, user, &paths));
  const OwnDataFiles own = OwnDataFor({folder + "/deeper/" + kGoodFiles[1]}, user);
  // The shipped files stay the window's; the own collection opens first.
  EXPECT_EQ(paths.dataFile, MissingDataPaths().dataFile);
  EXPECT_EQ(paths.historyFile, MissingDataPaths().historyFile);
  EXPECT_EQ(paths.firstOwnCollection, own.folder);
  paths.userDataDir = user;
  {
    QSettings s(kSettingsOrganisation, kSettingsApplication);
    s.beginGroup(kSettingsGroup);
    s.setValue("Database", "2");  // the collection open at the last close does not matter
  }
  TLattixMainForm& f = Start(paths);
  EXPECT_EQ(f.Grid()->Count(), 1);
  EXPECT_EQ(f.OwnCollectionOpen(), own.folder);

  // Nothing importable: the paths stay as they were.
  MainFormPaths unchanged = MissingDataPaths();
  EXPECT_FALSE(UseImportedProblems({folder + "/broken.sgf"}, user, &unchanged));
  EXPECT_EQ(unchanged.dataFile, MissingDataPaths().dataFile);
  EXPECT_EQ(unchanged.firstCollection, -1);
  EXPECT_TRUE(unchanged.firstOwnCollection.isEmpty());
}

}  // namespace
}  // namespace zendra
