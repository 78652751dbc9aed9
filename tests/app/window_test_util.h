// Helpers of the window tests: sounds that are recorded instead of played, an answerer of the
// modal boxes a window opens, and the fixture of a main window on the test data file.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/main_form.h"
#include "board/widget/lattix.h"
#include "solving/solving_ports.h"
#include "tests/app/app_test_data.h"
#include "tests/app/clear_settings.h"

namespace zendra::test {

// Answers a file dialog with `path`, typed into its name field. (QFileDialog::selectFile
// leaves that field alone while it has the focus, so the dialog's answer would depend on when
// the focus arrived: then it accepted its current folder instead of the one asked for.)
inline void AnswerFileDialog(QFileDialog* dialog, const QString& path) {
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    name->setText(path);
  } else {
    dialog->selectFile(path);
  }
  static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, reached through QDialog
}

// Chooses Statistics in `form` and returns the statistics window it opened (nullptr when none).
inline QWidget* OpenStatisticsWindow(TLattixMainForm& form) {
  form.Command(QStringLiteral("miStatistics1"))->trigger();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QStringLiteral("StatisticsForm") && w->isVisible()) return w;
  return nullptr;
}

// Sounds that are only recorded.
class RecordingSounds : public SolvingSounds {
 public:
  std::vector<int> played;
  bool Play(int number, bool) override {
    played.push_back(number);
    return true;
  }
};

// Answers every modal box that opens with its default button, keeping its text.
class ModalAnswerer {
 public:
  ModalAnswerer() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text());
        QAbstractButton* b = box->defaultButton()
                                 ? static_cast<QAbstractButton*>(box->defaultButton())
                                 : box->buttons().value(0);
        if (b) b->click();
      }
    });
    timer_.start();
  }
  std::vector<QString> texts;
  // Leaves the boxes to the test from now on.
  void Stop() { timer_.stop(); }

 private:
  QTimer timer_;
};

// A main window on the small test data file in a folder of its own, with the settings cleared
// before and after.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ClearProgramSettings();
    WriteTestDataFile(dir.filePath("Zendra.dgo").toStdString(), 7);
  }
  void TearDown() override {
    form.reset();
    ClearProgramSettings();
  }
  // A window as the program makes it, shown and past its first activation; the history file is
  // History1.cds in the folder unless `historyFile` names another.
  TLattixMainForm& Start(const char* dataFile = "Zendra.dgo", const QString& historyFile = {}) {
    MainFormPaths paths;
    paths.dataFile = dir.filePath(dataFile).toStdString();
    paths.historyFile =
        (historyFile.isEmpty() ? dir.filePath("History1.cds") : historyFile).toStdString();
    paths.programDir = dir.path();
    paths.language = language;
    form = std::make_unique<TLattixMainForm>(paths, sounds);
    form->show();
    form->FirstActivation();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return *form;
  }
  bool Visible(const char* name) const { return form->Command(name)->isVisible(); }
  void Key(Qt::Key key) { QTest::keyClick(form.get(), key); }
  void Click(int p, int q) {
    TLattix* board = form->Board();
    QTest::mouseClick(board, Qt::LeftButton, {}, QPoint(board->PointX(p), board->PointY(q)));
  }

  QTemporaryDir dir;
  // The interface language of the windows Start makes (English whatever the test's locale).
  Language language = Language::kEnglish;
  ModalAnswerer boxes;
  RecordingSounds sounds;
  std::unique_ptr<TLattixMainForm> form;
};

}  // namespace zendra::test
