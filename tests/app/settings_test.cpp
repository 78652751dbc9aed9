// Reading and writing the stored values: forms, defaults and malformed texts.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

namespace zendra {
namespace {

class SettingsFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
};

TEST(DefaultWindowSize, SevenEighthsOfLargeScreens) {
  EXPECT_EQ(DefaultWindowSize({1024, 768}), QSize(896, 672));
  EXPECT_EQ(DefaultWindowSize({640, 480}), QSize(640, 480));
  EXPECT_EQ(DefaultWindowSize({641, 481}), QSize(560, 420));
  EXPECT_EQ(DefaultWindowSize({1920, 400}), QSize(1680, 400));
}

TEST_F(SettingsFile, EmptyGroupKeepsEveryDefault) {
  QSettings s(dir.filePath("settings.ini"), QSettings::IniFormat);
  s.beginGroup(kSettingsGroup);
  const MainSettings m = ReadMainSettings(s);
  EXPECT_FALSE(m.stored);
  EXPECT_TRUE(m.displayNumbers);
  EXPECT_FALSE(m.silent);
  EXPECT_FALSE(m.takebackAutomatically);
  EXPECT_EQ(m.database, 2);
  EXPECT_EQ(m.topRow, 0);
  EXPECT_FALSE(m.delay.has_value());
  EXPECT_FALSE(m.width.has_value());
  EXPECT_FALSE(m.hintAllowed.has_value());
}

struct StoredCase {
  const char* key;
  const char* value;
  // What the read gives for that one stored value.
  int database;
  int topRow;
  std::optional<int> delay;
  std::optional<int> top;
  bool displayNumbers;
  bool silent;
};

TEST_F(SettingsFile, StoredTextsAreReadByTheirForm) {
  const StoredCase cases[] = {
      {"DelayBeforeTakebackAutomatically", "31", 2, 0, std::nullopt, std::nullopt, true, false},
      {"DelayBeforeTakebackAutomatically", "abc", 2, 0, std::nullopt, std::nullopt, true, false},
      {"DelayBeforeTakebackAutomatically", "0", 2, 0, 0, std::nullopt, true, false},
      {"DelayBeforeTakebackAutomatically", "-1", 2, 0, std::nullopt, std::nullopt, true, false},
      {"Database", "-1", -1, 0, std::nullopt, std::nullopt, true, false},
      {"Database", "x", 2, 0, std::nullopt, std::nullopt, true, false},
      {"TopRow", "7", 2, 7, std::nullopt, std::nullopt, true, false},
      {"TopRow", "seven", 2, 0, std::nullopt, std::nullopt, true, false},
      {"Top", "x", 2, 0, std::nullopt, std::nullopt, true, false},
      {"Top", "-20", 2, 0, std::nullopt, -20, true, false},
      {"DisplayNumbers", "0", 2, 0, std::nullopt, std::nullopt, false, false},
      {"DisplayNumbers", "yes", 2, 0, std::nullopt, std::nullopt, true, false},
      {"Silent", "1", 2, 0, std::nullopt, std::nullopt, true, true},
      {"Silent", "2", 2, 0, std::nullopt, std::nullopt, true, false},
  };
  for (const StoredCase& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    QSettings s(dir.filePath(QString("case-%1.ini").arg(&c - cases)), QSettings::IniFormat);
    s.beginGroup(kSettingsGroup);
    s.setValue(c.key, QString(c.value));
    const MainSettings m = ReadMainSettings(s);
    EXPECT_EQ(m.database, c.database);
    EXPECT_EQ(m.topRow, c.topRow);
    EXPECT_EQ(m.delay, c.delay);
    EXPECT_EQ(m.top, c.top);
    EXPECT_EQ(m.displayNumbers, c.displayNumbers);
    EXPECT_EQ(m.silent, c.silent);
  }
}

struct OptionsCase {
  const char* key;  // nullptr: an empty group
  const char* value;
  bool badMove;  // computerDoNotPlayBadMove after the stored values
  bool hintAllowed;
  int delay;
  bool silent;
};

// The window's options start from its own; a stored value replaces one, a missing switch reads
// as off (the bad-move switch too, also when nothing at all is stored: a first run avoids no
// replies), and the hint lock and the delay count only when they are stored themselves (the
// delay only when it is a whole number 0..30).
TEST_F(SettingsFile, StoredValuesReplaceTheWindowsOptions) {
  MainOptions current;
  current.delay = 7;
  const OptionsCase cases[] = {
      {nullptr, nullptr, false, true, 7, false},
      {"Silent", "1", false, true, 7, true},
      {"ComputerDoNotPlayBadMove", "1", true, true, 7, false},
      {"HintAllowed", "0", false, false, 7, false},
      {"DelayBeforeTakebackAutomatically", "0", false, true, 0, false},
      {"DelayBeforeTakebackAutomatically", "31", false, true, 7, false},
  };
  for (const OptionsCase& c : cases) {
    SCOPED_TRACE(c.key ? std::string(c.key) + "=" + c.value : std::string("empty"));
    QSettings s(dir.filePath(QString("options-%1.ini").arg(&c - cases)), QSettings::IniFormat);
    s.beginGroup(kSettingsGroup);
    if (c.key) s.setValue(c.key, QString(c.value));
    const MainOptions o = StoredOptions(ReadMainSettings(s), current);
    EXPECT_EQ(o.computerDoNotPlayBadMove, c.badMove);
    EXPECT_EQ(o.hintAllowed, c.hintAllowed);
    EXPECT_EQ(o.delay, c.delay);
    EXPECT_EQ(o.silent, c.silent);
    EXPECT_TRUE(o.displayNumbers);
  }
}

TEST_F(SettingsFile, WrittenValuesAreStringsAndReadBack) {
  QSettings s(dir.filePath("settings.ini"), QSettings::IniFormat);
  s.beginGroup(kSettingsGroup);
  ClosingState c;
  c.computerDoNotPlayBadMove = true;
  c.database = 3;
  c.topRow = 4;
  c.selected = 9;
  c.height = 500;
  c.width = 700;
  c.top = 10;
  c.left = -5;
  c.silent = true;
  c.displayNumbers = false;
  c.takebackAutomatically = true;
  c.delay = 0;
  c.checkOffTreeMoves = true;
  c.installDir = "/opt/zendra/";
  WriteMainSettings(s, c);
  EXPECT_EQ(s.value("CheckMovesTheAnswerDoesNotKnow").toString(), "1");
  EXPECT_EQ(s.value("Database").toString(), "3");
  EXPECT_EQ(s.value("Left").toString(), "-5");
  EXPECT_EQ(s.value("Silent").toString(), "1");
  EXPECT_EQ(s.value("DisplayNumbers").toString(), "0");
  EXPECT_EQ(s.value("DefaultHint").toString(), "1");
  EXPECT_EQ(s.value("Selected").toString(), "9");
  EXPECT_EQ(s.value("InstallDir").toString(), "/opt/zendra/");

  const MainSettings m = ReadMainSettings(s);
  EXPECT_TRUE(m.computerDoNotPlayBadMove);
  EXPECT_EQ(m.database, 3);
  EXPECT_EQ(m.topRow, 4);
  EXPECT_EQ(m.width, 700);
  EXPECT_EQ(m.height, 500);
  EXPECT_EQ(m.top, 10);
  EXPECT_EQ(m.left, -5);
  EXPECT_TRUE(m.silent);
  EXPECT_FALSE(m.displayNumbers);
  EXPECT_TRUE(m.takebackAutomatically);
  EXPECT_EQ(m.delay, 0);
  EXPECT_TRUE(m.checkOffTreeMoves);
  EXPECT_TRUE(StoredOptions(m, MainOptions{}).checkOffTreeMoves);
  EXPECT_FALSE(MainOptions{}.checkOffTreeMoves);  // off until the player turns it on

  // A second close: no collection in this run keeps Database, a maximised window keeps the
  // placement, an existing InstallDir is not rewritten, no selection writes no Selected.
  ClosingState later;
  later.installDir = "/elsewhere/";
  WriteMainSettings(s, later);
  EXPECT_EQ(s.value("Database").toString(), "3");
  EXPECT_EQ(s.value("Width").toString(), "700");
  EXPECT_EQ(s.value("Top").toString(), "10");
  EXPECT_EQ(s.value("InstallDir").toString(), "/opt/zendra/");
  EXPECT_EQ(s.value("Selected").toString(), "9");
  EXPECT_EQ(s.value("Silent").toString(), "0");
  EXPECT_EQ(s.value("CheckMovesTheAnswerDoesNotKnow").toString(), "0");
}

}  // namespace
}  // namespace zendra
