// The interface language on screen: chosen from the locale, the main window's captions and hints
// in each language, the board's texts following it, and the Chinese remark list.
#include "app/interface_language.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <string>

#include "app/main_form.h"
#include "board/widget/lattix.h"
#include "language/language.h"
#include "tests/app/app_test_data.h"
#include "tests/app/window_test_util.h"

namespace zendra {
namespace {

TEST(InterfaceLanguage, ChosenFromTheLocale) {
  const std::pair<const char*, Language> cases[] = {
      {"zh_TW", Language::kTraditionalChinese},
      {"zh_HK", Language::kTraditionalChinese},
      {"zh_CN", Language::kSimplifiedChinese},
      {"zh_SG", Language::kSimplifiedChinese},
      {"en_US", Language::kEnglish},
      {"de_DE", Language::kEnglish},
      {"ja_JP", Language::kEnglish},
      {"C", Language::kEnglish},
  };
  for (const auto& [name, expected] : cases)
    EXPECT_EQ(InterfaceLanguageOf(QLocale(QString::fromLatin1(name))), expected) << name;
}

// What a few controls show, by language: English, Simplified, Traditional.
struct Shown {
  const char* english;
  const char* simplified;
  const char* traditional;
  const char* operator[](Language l) const {
    return l == Language::kEnglish ? english
                                   : (l == Language::kSimplifiedChinese ? simplified : traditional);
  }
};

class InterfaceLanguageWindowTest : public test::MainWindowTest,
                                    public ::testing::WithParamInterface<Language> {};
using MainFormRemarksTest = test::MainWindowTest;

// The text of a menu entry without the key the menu shows after a tab.
QString Caption(QAction* a) { return a->text().section('\t', 0, 0); }

TEST_P(InterfaceLanguageWindowTest, CaptionsAndHintsOfTheMainWindow) {
  language = GetParam();
  TLattixMainForm& f = Start();
  const Language l = language;
  const auto menu = [&](const char* name) {
    QMenu* m = f.menuBar()->findChild<QMenu*>(name);
    return m ? m->title() : QString("(no %1)").arg(name);
  };
  EXPECT_EQ(menu("miFile1"), QString::fromUtf8(Shown{"&File", "文件(&F)", "文件(&F)"}[l]));
  EXPECT_EQ(menu("miOptions1"), QString::fromUtf8(Shown{"&Options", "选项(&O)", "選項(&O)"}[l]));
  struct Entry {
    const char* name;
    Shown caption;
  };
  const Entry entries[] = {
      {"miBasic1", {"Basic", "基础(&S)", "基礎(&S)"}},
      {"miClearallsolvedflags1",
       {"Clear all solved flags", "清除所有已解答标志(&C)", "清除所有已解答標志(&C)"}},
      {"miSolveAgain1", {"Solve &again", "重做", "重做"}},
      {"miHint1", {"&Hint", "下一步该怎么走", "下一步該怎麼走"}},
      {"miResult1", {"&Result(Life,Death,Ko?)", "结果是死,活,劫?", "結果是死,活,劫?"}},
      {"miDisplaynumbers1",
       {"Display numbers if possible", "显示形成过程(如果可能)(&N)", "顯示形成過程(如果可能)(&N)"}},
      {"miWhatlevelImat1", {"What level I'm at", "我的级别(&L)", "我的級別(&L)"}},
  };
  for (const Entry& e : entries) {
    ASSERT_NE(f.Command(e.name), nullptr) << e.name;
    EXPECT_EQ(Caption(f.Command(e.name)), QString::fromUtf8(e.caption[l])) << e.name;
  }
  EXPECT_EQ(f.Command("miBack1")->toolTip(),
            QString::fromUtf8(Shown{"Back (Left)", "回退一步 (左箭头)", "回退一步 (左箭頭)"}[l]));
  auto* open = f.findChild<QToolButton*>("btnOpen");
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text(), QString::fromUtf8(Shown{"Open", "文件", "文件"}[l]));
  // The drop-down of Open carries the File menu's collection captions.
  EXPECT_EQ(open->menu()->actions().value(1)->text(), Caption(f.Command("miBeginner1")));
  auto* undo = f.findChild<QPushButton*>("btnUndo");
  ASSERT_NE(undo, nullptr);
  EXPECT_EQ(undo->text(), QString::fromUtf8(Shown{"&Undo", "退一步(&U)", "退一步(&U)"}[l]));
  EXPECT_EQ(f.DelayTrackBar()->toolTip(),
            QString::fromUtf8(Shown{"Delay time (seconds) before takeback automatically",
                                    "自动回退延迟时间(秒)", "自動回退延遲時間(秒)"}[l]));

  // Every menu entry is in the interface language: no Chinese character in English (typographic
  // marks such as the ellipsis are English too), Chinese in a Chinese interface.
  for (QMenu* m : f.menuBar()->findChildren<QMenu*>()) {
    for (QAction* a : m->actions()) {
      // The player's own collections carry the names the player gave them.
      if (a->isSeparator() || a->objectName().startsWith("miOwnCollection")) continue;
      bool chinese = false;
      for (QChar c : Caption(a)) chinese = chinese || c.unicode() >= 0x2E80;
      EXPECT_EQ(chinese, l != Language::kEnglish) << a->objectName().toStdString();
      if (l == Language::kEnglish) {
        for (QChar c : a->toolTip()) EXPECT_LT(c.unicode(), 0x2E80) << a->objectName().toStdString();
      }
    }
  }
}

// The board's information column and counting result follow the interface language; the
// Traditional interface's board turns its GB texts into Big5.
TEST_P(InterfaceLanguageWindowTest, BoardTextsFollowTheInterface) {
  language = GetParam();
  TLattixMainForm& f = Start();
  TLattix& board = *f.Board();
  EXPECT_EQ(board.Language(), BoardLanguage(language));
  const std::string komi = "\xCC\xF9\xD7\xD3: ";  // 贴子:
  EXPECT_EQ(board.ChineseText(komi),
            language == Language::kTraditionalChinese ? "\xB6\x4B\xA4\x6C: " : komi);  // 貼子:
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// A Chinese interface shows the remark list of RemarkGB.txt, converted; English keeps Remark.txt.
TEST_P(InterfaceLanguageWindowTest, RemarksOfTheInterfaceLanguage) {
  language = GetParam();
  std::string error;
  ASSERT_TRUE(test::WriteRemarkProblemFile(dir.filePath("shared.dgo").toStdString(), {}, &error));
  WriteFile(dir.filePath("Remark.txt"), "\nLovely\n");
  WriteFile(dir.filePath("RemarkGB.txt"), "\n\xC3\xEE\xCA\xD6\n");  // 妙手
  TLattixMainForm& f = Start("shared.dgo");
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.StatusRight(), QString::fromUtf8(Shown{"Lovely", "妙手", "妙手"}[language]));
}

// Another data file without a remark list shows no remarks, not those of the file before.
TEST_F(MainFormRemarksTest, AnotherDataFileDoesNotKeepTheOldRemarks) {
  std::string error;
  for (const char* file : {"shared.dgo", "other/shared.dgo"}) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("other"));
    ASSERT_TRUE(test::WriteRemarkProblemFile(dir.filePath(file).toStdString(), {}, &error));
  }
  WriteFile(dir.filePath("Remark.txt"), "\nLovely\n");
  // Remark lists are also looked for in the current folder: one without any.
  const QString current = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.filePath("other")));
  struct Restore {
    QString path;
    ~Restore() { QDir::setCurrent(path); }
  } restore{current};
  TLattixMainForm& f = Start("shared.dgo");
  f.SwitchData(dir.filePath("other/shared.dgo"), dir.filePath("other/History1.cds"), 2);
  f.Command("miSolveIt1")->trigger();
  Click(test::kSolvingP, test::kSolvingQ);
  EXPECT_EQ(f.StatusRight(), "");
}

INSTANTIATE_TEST_SUITE_P(EachLanguage, InterfaceLanguageWindowTest,
                         ::testing::Values(Language::kEnglish, Language::kSimplifiedChinese,
                                           Language::kTraditionalChinese));

}  // namespace
}  // namespace zendra
