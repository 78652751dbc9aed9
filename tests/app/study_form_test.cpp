// The study window on the offscreen platform: opening on a board (its set-up stones, first
// player and moves), going to moves by the scroll bar and by call, its buttons, the study
// button's restore, its texts in both languages and its place in the per-machine settings.
#include "app/study_form.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <memory>
#include <string>

#include "board/engine/lattix_engine.h"
#include "board/widget/lattix.h"

namespace zendra {
namespace {

// White plays first; black and white set-up stones; five moves.
constexpr const char* kLine = "DDEEDEEDFF";

class StudyFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearCommon();
    source.SetFirstToPlay(kWhite);
    source.NewGame(false);
    source.SetArrangedSideP("AAAB");
    source.SetArrangedSideN("BA");
    source.SetProcess(kLine);
    ASSERT_EQ(source.Process(), kLine);
  }
  void TearDown() override {
    form.reset();
    ClearCommon();
  }
  static void ClearCommon() {
    const std::unique_ptr<QSettings> s = TStudyForm::CommonSettings();
    s->remove("");
    s->sync();
  }
  TStudyForm& Open() {
    form = std::make_unique<TStudyForm>(Localizer{});
    form->Open(source);
    return *form;
  }
  QPushButton* Button(const char* name) const { return form->findChild<QPushButton*>(name); }
  char At(const char* point) const {
    const Colour c = form->Board()->GetPoint(LetterToCoord(point[0]), LetterToCoord(point[1]));
    return (c & kStoneBit) == 0 ? '.' : (c > 0 ? 'X' : 'O');
  }
  // The first `moves` moves of the line.
  static std::string Line(int moves) { return std::string(kLine).substr(0, 2 * moves); }

  LattixEngine source;
  std::unique_ptr<TStudyForm> form;
};

TEST_F(StudyFormTest, OpensOnTheBoardsPositionWithItsSetUpAndStudies) {
  TStudyForm& f = Open();
  TLattix* board = f.Board();
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.windowTitle(), "Study");
  EXPECT_EQ(board->Process(), kLine);
  EXPECT_EQ(board->GivenProcess(), kLine);
  // The set-up stones are on the study board too, and the line keeps its colours.
  EXPECT_EQ(At("AA"), 'X');
  EXPECT_EQ(At("AB"), 'X');
  EXPECT_EQ(At("BA"), 'O');
  EXPECT_EQ(At("DD"), 'O');
  EXPECT_EQ(At("EE"), 'X');
  EXPECT_EQ(At("FF"), 'O');
  EXPECT_EQ(f.ScrollBar()->maximum(), 5);
  EXPECT_EQ(f.ScrollBar()->value(), 5);
  // Studying at once: the button down, clicks add moves, the scroll bar hidden.
  EXPECT_TRUE(Button("btnStudy")->isChecked());
  EXPECT_EQ(Button("btnStudy")->text(), "Restore");
  EXPECT_TRUE(board->Study());
  EXPECT_TRUE(board->NewMoveEnabled());
  EXPECT_TRUE(board->SingleMode());
  EXPECT_FALSE(f.ScrollBar()->isVisible());
  EXPECT_EQ(f.StudyStart(), 5);
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  EXPECT_TRUE(Button("btnTakeBack")->isEnabled());

  // Two clicks play both colours.
  for (const char* p : {"JJ", "KK"}) {
    QTest::mouseClick(
        board, Qt::LeftButton, {},
        QPoint(board->PointX(LetterToCoord(p[0])), board->PointY(LetterToCoord(p[1]))));
  }
  EXPECT_EQ(At("JJ"), 'X');
  EXPECT_EQ(At("KK"), 'O');

  // Putting the button up takes the explored moves away.
  QTest::mouseClick(Button("btnStudy"), Qt::LeftButton);
  EXPECT_FALSE(Button("btnStudy")->isChecked());
  EXPECT_EQ(Button("btnStudy")->text(), "Study");
  EXPECT_EQ(board->Process(), kLine);
  EXPECT_EQ(At("JJ"), '.');
  EXPECT_FALSE(board->NewMoveEnabled());
  EXPECT_TRUE(f.ScrollBar()->isVisible());
  EXPECT_EQ(f.ScrollBar()->value(), 5);
  EXPECT_FALSE(Button("btnNext")->isEnabled());
}

TEST_F(StudyFormTest, GoToMoveFromAnyMoveToAnyMove) {
  TStudyForm& f = Open();
  QTest::mouseClick(Button("btnStudy"), Qt::LeftButton);  // replaying, not studying
  // Targets reached by one step forward, one back, nothing, and a replay from the start.
  const int targets[] = {4, 5, 5, 1, 0, 1, 3, 2, 5, 0};
  for (int a : targets) {
    SCOPED_TRACE(a);
    f.GoToMove(a);
    EXPECT_EQ(f.Board()->Process(), Line(a));
    EXPECT_EQ(f.Board()->NextMove(), a + 1);
    EXPECT_EQ(f.ScrollBar()->value(), a);
    EXPECT_EQ(At("AA"), 'X');  // the set-up stays
    EXPECT_EQ(Button("btnNext")->isEnabled(), a < 5);
    EXPECT_EQ(Button("btnTakeBack")->isEnabled(), a > 0);
  }
  // The player drags the scroll bar.
  for (int a : {2, 3, 0, 5}) {
    SCOPED_TRACE(a);
    f.ScrollBar()->setValue(a);
    EXPECT_EQ(f.Board()->Process(), Line(a));
  }
}

TEST_F(StudyFormTest, ButtonsStepThroughTheLineAndBeginFrom1Clears) {
  TStudyForm& f = Open();
  QTest::mouseClick(Button("btnStudy"), Qt::LeftButton);
  QTest::mouseClick(Button("btnTakeBack"), Qt::LeftButton);
  QTest::mouseClick(Button("btnTakeBack"), Qt::LeftButton);
  EXPECT_EQ(f.Board()->Process(), Line(3));
  EXPECT_EQ(f.ScrollBar()->value(), 3);
  EXPECT_TRUE(Button("btnNext")->isEnabled());
  QTest::mouseClick(Button("btnNext"), Qt::LeftButton);
  EXPECT_EQ(f.Board()->Process(), Line(4));
  EXPECT_EQ(f.ScrollBar()->value(), 4);

  // Studying from move 4: Take back below the study start lets Next replay the line.
  QTest::mouseClick(Button("btnStudy"), Qt::LeftButton);
  EXPECT_EQ(f.StudyStart(), 4);
  EXPECT_FALSE(Button("btnNext")->isEnabled());
  QTest::mouseClick(Button("btnTakeBack"), Qt::LeftButton);
  EXPECT_TRUE(Button("btnNext")->isEnabled());
  QTest::mouseClick(Button("btnNext"), Qt::LeftButton);
  EXPECT_EQ(f.Board()->Process(), Line(4));

  // Begin from 1 puts the button up without the restore and clears the moves.
  QTest::mouseClick(Button("btn1"), Qt::LeftButton);
  EXPECT_FALSE(Button("btnStudy")->isChecked());
  EXPECT_EQ(Button("btnStudy")->text(), "Study");
  EXPECT_EQ(f.Board()->Process(), "");
  EXPECT_EQ(f.ScrollBar()->value(), 0);
  EXPECT_TRUE(f.ScrollBar()->isVisible());
  EXPECT_EQ(At("AA"), 'X');
  EXPECT_EQ(At("DD"), '.');
  EXPECT_FALSE(Button("btnTakeBack")->isEnabled());
  EXPECT_TRUE(Button("btnNext")->isEnabled());

  QTest::mouseClick(Button("btnClose"), Qt::LeftButton);
  EXPECT_FALSE(f.isVisible());
  // Opened again, on another position of the board.
  source.TakeBack();
  f.Open(source);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.Board()->Process(), Line(4));
  EXPECT_EQ(f.ScrollBar()->maximum(), 4);
}

TEST_F(StudyFormTest, ChineseTextsAreTheGbForms) {
  form = std::make_unique<TStudyForm>(Localizer{Language::kSimplifiedChinese, {}});
  EXPECT_EQ(form->windowTitle(), QString::fromUtf8("研究(&S)"));
  EXPECT_EQ(Button("btnTakeBack")->text(), QString::fromUtf8("上一步(&P)"));
  EXPECT_EQ(Button("btnStudy")->text(), QString::fromUtf8("恢复(&R)"));
  EXPECT_EQ(Button("btnClose")->text(), "Finish");
  form->Open(source);
  EXPECT_EQ(Button("btnStudy")->text(), QString::fromUtf8("恢复(R)"));
  QTest::mouseClick(Button("btnStudy"), Qt::LeftButton);
  EXPECT_EQ(Button("btnStudy")->text(), QString::fromUtf8("研究(S)"));
}

TEST_F(StudyFormTest, PlaceIsReadAtCreationAndWrittenWhenTheWindowGoes) {
  {
    const std::unique_ptr<QSettings> s = TStudyForm::CommonSettings();
    s->setValue("StudyFormWidth", "400");
    s->setValue("StudyFormHeight", "300");
    s->setValue("StudyFormTop", "50");
    s->setValue("StudyFormLeft", "60");
  }
  form = std::make_unique<TStudyForm>(Localizer{});
  EXPECT_EQ(form->size(), QSize(400, 300));
  EXPECT_EQ(form->pos(), QPoint(60, 50));
  form->resize(420, 330);
  form->move(70, 40);
  form.reset();
  {
    const std::unique_ptr<QSettings> s = TStudyForm::CommonSettings();
    EXPECT_EQ(s->value("StudyFormWidth").toString(), "420");
    EXPECT_EQ(s->value("StudyFormHeight").toString(), "330");
    EXPECT_EQ(s->value("StudyFormTop").toString(), "40");
    EXPECT_EQ(s->value("StudyFormLeft").toString(), "70");
    // Sizes at or below the smallest are not applied; a position that is no number is not.
    s->setValue("StudyFormWidth", "320");
    s->setValue("StudyFormHeight", "240");
    s->setValue("StudyFormTop", "x");
  }
  form = std::make_unique<TStudyForm>(Localizer{});
  EXPECT_NE(form->size(), QSize(320, 240));
  EXPECT_GT(form->width(), 320);
  EXPECT_GT(form->height(), 240);
  EXPECT_EQ(form->pos().x(), 70);
}

}  // namespace
}  // namespace zendra
