// The game record line and the area count of a finished game.
#include <gtest/gtest.h>

#include "board/engine/lattix_engine.h"
#include "tests/board_engine/board_test_util.h"

namespace zendra {
namespace {

using test::RecordingView;
using test::SetUpDiagram;

std::tm FixedTime() {
  std::tm t{};
  t.tm_year = 2010 - 1900;
  t.tm_mon = 8;
  t.tm_mday = 12;
  t.tm_hour = 23;
  t.tm_min = 32;
  t.tm_sec = 26;
  return t;
}

// ---- Record -------------------------------------------------------------------------------------

TEST(Record, ReadAfterCreation) {
  LattixEngine board;
  board.RecordClock = FixedTime;
  EXPECT_EQ(board.ManualString(), "02VexGame0 2010/09/12-23:32:26 0   15 0 0 0 0 0 0 0 0 9 ");
}

TEST(Record, RoundTripOfEveryValue) {
  LattixEngine source;
  source.RecordClock = FixedTime;
  source.SetHandicap(3);
  source.SetPlayerName(0, "Kuro");
  source.SetPlayerName(1, "Shiro");
  source.SetAtone(22);
  source.SetTimeLimit(3600);
  source.SetMoveLimit(250);
  source.SetByoYomiLimit(300);
  source.SetByoYomiCount(5);
  source.SetProcess("KKLL");  // a replay starts a new game, which clears the winner
  source.SetWinner(kWhiteWon);
  const std::string record = source.ManualString();
  EXPECT_EQ(record,
            "02VexGame0 2010/09/12-23:32:26 3 Kuro Shiro 22 3600 250 300 5 3600 3600 250 250 1 KKLL");

  LattixEngine target;
  ASSERT_TRUE(target.SetManualString(record));
  EXPECT_EQ(target.Handicap(), 3);
  EXPECT_EQ(target.PlayerName(0), "Kuro");
  EXPECT_EQ(target.PlayerName(1), "Shiro");
  EXPECT_EQ(target.Atone(), 22);
  EXPECT_EQ(target.TimeLimit(), 3600);
  EXPECT_EQ(target.MoveLimit(), 250);
  EXPECT_EQ(target.ByoYomiLimit(), 300);
  EXPECT_EQ(target.ByoYomiCount(), 5);
  EXPECT_EQ(target.TimeLeft(0), 3600);
  EXPECT_EQ(target.MovesLeft(1), 250);
  EXPECT_EQ(target.Winner(), kWhiteWon);
  // The moves are stored, not replayed.
  EXPECT_EQ(target.Process(), "KKLL");
  EXPECT_EQ(target.GivenProcess(), "KKLL");
  EXPECT_EQ(target.GetPoint(11, 11), 0);
  EXPECT_EQ(target.NextMove(), 1);
  target.GoToMove(2, true);
  EXPECT_EQ(target.GetPoint(11, 11), kWhite);  // handicap 3: white moves first
  EXPECT_EQ(target.GetPoint(4, 4), kBlack);
}

TEST(Record, RefusedRecordsChangeNothing) {
  const char* good = "02VexGame0 2010/09/12-23:32:26 0   15 0 0 0 0 0 0 0 0 9 ";
  struct Case {
    const char* name;
    std::string record;
  };
  auto replaceField = [&](int field, const std::string& value) {
    std::string r = good;
    std::size_t start = 0;
    for (int i = 0; i < field; ++i) start = r.find(' ', start) + 1;
    const std::size_t end = r.find(' ', start);
    return r.substr(0, start) + value + r.substr(end);
  };
  const Case cases[] = {
      {"WinnerTwoDigits", replaceField(14, "10")},
      {"NegativeKomi", replaceField(5, "-1")},
      {"KomiThreeDigits", replaceField(5, "100")},
      {"EmptyHandicap", replaceField(2, "")},
      {"TimeLimitSixDigits", replaceField(6, "123456")},
      {"LetterInMoveLimit", replaceField(7, "1a")},
      {"Truncated", "02VexGame0 2010/09/12-23:32:26 0"},
      {"Empty", ""},
      {"NameWithSpaceShiftsFields", "02VexGame0 d 0 Go Seigen  15 0 0 0 0 0 0 0 0 9 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LattixEngine board;
    board.SetAtone(7);
    board.SetProcess("DD");
    RecordingView view;
    board.SetView(&view);
    EXPECT_FALSE(board.SetManualString(c.record));
    EXPECT_EQ(board.Atone(), 7);
    EXPECT_EQ(board.Process(), "DD");
    EXPECT_TRUE(view.calls.empty());
  }
}

TEST(Record, GameKindFromTheFirstField) {
  struct Case {
    const char* field0;
    int kind;
  };
  const Case cases[] = {{"02", 0}, {"02VexGame3", 3}, {"X3", 0}, {"02VexGame", 0},
                        {"02VexGame7", 0}};  // 7 is no kind: the setter ignores it
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field0);
    LattixEngine board;
    ASSERT_TRUE(board.SetManualString(std::string(c.field0) + " d 0   15 0 0 0 0 0 0 0 0 9 "));
    EXPECT_EQ(board.GameKind(), c.kind);
  }
}

TEST(Record, ExtraFieldsAreDropped) {
  LattixEngine board;
  ASSERT_TRUE(board.SetManualString("02VexGame0 d 0 a b 15 0 0 0 0 0 0 0 0 9 DDEE more fields"));
  EXPECT_EQ(board.Process(), "DDEE");
}

TEST(Record, HandicapChangeStartsANewGameDrawn) {
  LattixEngine board;
  board.SetProcess("AA");
  RecordingView view;
  board.SetView(&view);
  ASSERT_TRUE(board.SetManualString("02VexGame0 d 2 a b 4 0 0 0 0 0 0 0 0 9 "));
  EXPECT_EQ(board.Handicap(), 2);
  EXPECT_EQ(board.Atone(), 4);  // the record's komi, not the handicap setter's
  EXPECT_EQ(board.GetPoint(4, 4), kBlack);
  EXPECT_EQ(board.GetPoint(1, 1), 0);
  ASSERT_FALSE(view.calls.empty());
  EXPECT_EQ(view.calls.front(), "board");
  EXPECT_EQ(view.calls.back(), "invalidate");
  EXPECT_FALSE(board.Modified());
}

// ---- Counting -----------------------------------------------------------------------------------

// A board split down the middle: black owns columns 1..9 (stones on column 9), white owns
// 11..19 (stones on column 11), column 10 is neutral.
void SplitBoard(LattixEngine& board, int blackColumn, int whiteColumn) {
  std::string black, white;
  for (int q = 1; q <= 19; ++q) {
    black += PointLetters(blackColumn, q);
    white += PointLetters(whiteColumn, q);
  }
  board.SetArrangedSideP(black);
  board.SetArrangedSideN(white);
  board.NewGame(false);
}

TEST(Counting, EmptyBoardGivesTheOddPointToTheSideToMove) {
  struct Case {
    int handicap;
    int moves;  // passes played before counting
    int areaB;
  };
  const Case cases[] = {{0, 0, 181}, {0, 1, 180}, {2, 0, 180}, {2, 1, 181}};
  for (const Case& c : cases) {
    LattixEngine board;
    board.SetHandicap(static_cast<int8_t>(c.handicap));
    board.SetArrangedSideP("");
    board.NewGame(false);
    if (c.handicap) {
      // Count an empty board with the handicap setting but no stones.
      for (int p = 1; p <= 19; ++p)
        for (int q = 1; q <= 19; ++q) board.SetPoint(p, q, 0);
    }
    for (int i = 0; i < c.moves; ++i) board.PlayGoMove(20, 20, false);
    board.CountResult();
    EXPECT_EQ(board.AreaB(), c.areaB) << c.handicap << " " << c.moves;
    EXPECT_EQ(board.AreaB() + board.AreaW(), 361);
  }
}

TEST(Counting, WorkedExampleTexts) {
  // Black 190, white 171: black column 10 owns 10 columns = 190 points.
  struct Case {
    int language;
    const char* text;
  };
  const Case cases[] = {
      {2, "190 vs 171 Over,Black win5+3/4"},
      {0, "190 vs 171 \xBD\xE1\xCA\xF8, \xBA\xDA\xB7\xBD\xBB\xF1\xCA\xA4" "5\xD3\xD6" "3/4\xD7\xD3"},
      {1, "190 vs 171 \xBD\xE1\xCA\xF8, \xBA\xDA\xB7\xBD\xBB\xF1\xCA\xA4" "5+3/4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    LattixEngine board;
    SplitBoard(board, 10, 11);
    board.SetLanguage(static_cast<int8_t>(c.language));
    int judged[4] = {-1, -1, -1, -1};
    board.OnJudge = [&](LattixEngine*, int16_t w, int16_t b, int16_t wh, int16_t m) {
      judged[0] = w;
      judged[1] = b;
      judged[2] = wh;
      judged[3] = m;
    };
    board.CountResult();
    EXPECT_EQ(board.AreaB(), 190);
    EXPECT_EQ(board.AreaW(), 171);
    EXPECT_EQ(board.JudgedWinner(), kBlackWon);
    EXPECT_EQ(board.sResult(), c.text);
    EXPECT_EQ(judged[0], 0);
    EXPECT_EQ(judged[1], 190);
    EXPECT_EQ(judged[2], 171);
    EXPECT_EQ(judged[3], 23);
  }
}

TEST(Counting, MarginTexts) {
  // Komi chosen to give each margin against a 190-171 board (m = 38 - komi).
  struct Case {
    int komi;
    const char* english;
    const char* chinese_tail;
  };
  const Case cases[] = {
      {26, "Over,Black win3+", "3\xD7\xD3"},                   // 12 quarters: 3 stones
      {37, "Over,Black win1/4", "1/4\xD7\xD3"},                // 1 quarter
      {36, "Over,Black win1/2", "\xB0\xEB\xD7\xD3"},           // 2 quarters: half a stone
      {32, "Over,Black win1+1/2", "1\xD7\xD3\xB0\xEB"},        // 6 quarters
      {39, "Over,White win1/4", "1/4\xD7\xD3"},                // white by 1 quarter
      {38, "Over, Peace   ", ""},                              // draw: no margin
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.komi);
    LattixEngine board;
    SplitBoard(board, 10, 11);
    board.SetAtone(c.komi);
    board.SetLanguage(2);
    board.CountResult();
    EXPECT_EQ(board.sResult(), std::string("190 vs 171 ") + c.english);
    board.SetLanguage(0);
    board.CountResult();
    const std::string zh = board.sResult();
    EXPECT_EQ(zh.substr(zh.size() - std::string(c.chinese_tail).size()), c.chinese_tail);
  }
}

TEST(Counting, HandicapMarginRules) {
  struct Case {
    int handicap;
    int expectedMargin;  // 4 * 190 - 722 = 38 quarters before komi
  };
  const Case cases[] = {{0, 38 - 15}, {1, 38}, {3, 38 - 6}, {-1, 38}};
  for (const Case& c : cases) {
    LattixEngine board;
    SplitBoard(board, 10, 11);
    board.SetHandicap(static_cast<int8_t>(c.handicap));
    for (int p = 1; p <= 19; ++p)  // take the handicap stones off again
      for (int q = 1; q <= 19; ++q)
        if (p != 10 && p != 11) board.SetPoint(p, q, 0);
    board.SetAtone(15);
    int margin = -1;
    board.OnJudge = [&](LattixEngine*, int16_t, int16_t, int16_t, int16_t m) { margin = m; };
    board.CountResult();
    EXPECT_EQ(margin, c.expectedMargin) << c.handicap;
  }
}

TEST(Counting, TerritoryFirstAndSecondPass) {
  // Black A1 and white C1 on an otherwise empty board. First pass: column A below the black
  // stone is black's, column C below the white stone and row 1 right of it are white's; B1
  // sees both colours and stays neutral; the rest sees no stone. Second pass: columns D..S
  // below row 1 see white territory above them and become white; column B sees black on its
  // left and white on its right and stays neutral (19 points, the odd one to black).
  LattixEngine board;
  SetUpDiagram(board, "X.O\n");
  board.CountResult();
  EXPECT_EQ(board.AreaB(), 1 + 18 + 9 + 1);
  EXPECT_EQ(board.AreaW(), 1 + 18 + 16 + 16 * 18 + 9);
}

TEST(Counting, DeadStoneInsideWhiteAreaGoesToWhite) {
  LattixEngine board;
  // White owns everything right of column 2; a black stone sits deep inside.
  std::string white;
  for (int q = 1; q <= 19; ++q) white += PointLetters(3, q);
  board.SetArrangedSideN(white);
  board.SetArrangedSideP("PP");
  board.NewGame(false);
  board.SetGameOver(true);
  board.CountResult();
  const int whiteBefore = board.AreaW();
  ASSERT_TRUE(board.ToggleDead(16, 16));
  EXPECT_EQ(board.GetPoint(16, 16) & kDeadBit, kDeadBit);
  EXPECT_GT(board.AreaW(), whiteBefore);
  EXPECT_EQ(board.AreaW(), 361);  // with the black stone dead, white's wall sees no black
  ASSERT_TRUE(board.ToggleDead(16, 16));  // alive again
  EXPECT_EQ(board.GetPoint(16, 16), kBlack);
}

TEST(Counting, ToggleMarksTheWholeChainAndOnlyWhenCounting) {
  LattixEngine board;
  test::SetUpDiagram(board, "XXX..\n.....\n");
  EXPECT_FALSE(board.ToggleDead(1, 1));  // not in counting mode
  board.SetGameOver(true);
  EXPECT_FALSE(board.ToggleDead(5, 5));  // empty point
  RecordingView view;
  board.SetView(&view);
  ASSERT_TRUE(board.ToggleDead(2, 1));
  EXPECT_EQ(test::Diagram(board, 5, 1), "xxx..\n");
  EXPECT_EQ(view.calls, (std::vector<std::string>{"stone AA", "stone BA", "stone CA"}));
  ASSERT_TRUE(board.ToggleDead(3, 1));
  EXPECT_EQ(test::Diagram(board, 5, 1), "XXX..\n");
  board.SetWinner(kBlackWon);
  EXPECT_FALSE(board.ToggleDead(1, 1));
  board.SetWinner(kNoWinner);
  board.SetReview(true);
  EXPECT_FALSE(board.ToggleDead(1, 1));
}

TEST(Counting, NoHandlerForBig5LeavesTheTextAsIs) {
  LattixEngine board;
  board.SetLanguage(1);
  board.CountResult();
  const std::string plain = board.sResult();
  board.OnToBig5 = [](LattixEngine*, std::string& s) { s = "[" + s + "]"; };
  board.CountResult();
  EXPECT_EQ(board.sResult(), "[" + plain + "]");
}

}  // namespace
}  // namespace zendra
