// The table of the system's texts and the Localizer: which form each language shows, where the
// conversion applies, templates and their arguments.
#include "language/language.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <set>
#include <string>

namespace zendra {
namespace {

// A conversion that shows where it ran.
std::string Bracket(std::string s) { return "<" + s + ">"; }

const Localizer kEnglish{};
const Localizer kSimplified{Language::kSimplifiedChinese, Bracket};
const Localizer kTraditional{Language::kTraditionalChinese, Bracket};

// The placeholders "%1".."%9" a form uses.
std::set<char> Placeholders(const char* form) {
  std::set<char> used;
  for (const char* p = form; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') used.insert(p[1]);
  }
  return used;
}

// True when every byte from 0x80 up is part of a GB2312 pair (both bytes 0xA1..0xFE).
bool GbPairsOnly(const std::string& s, bool* anyChinese) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) continue;
    if (lead < 0xA1 || lead > 0xF7 || i + 1 >= s.size()) return false;
    const auto trail = static_cast<unsigned char>(s[++i]);
    if (trail < 0xA1 || trail > 0xFE) return false;
    *anyChinese = true;
  }
  return true;
}

TEST(TextTable, EveryRowHasItsFormsAndTheirPlaceholdersAgree) {
  for (int i = 0; i < static_cast<int>(Text::kCount); ++i) {
    SCOPED_TRACE(i);
    const TextForms& f = FormsOf(static_cast<Text>(i));
    ASSERT_NE(f.english, nullptr);
    EXPECT_NE(std::string(f.english), "");
    for (const char* p = f.english; *p != '\0'; ++p) {
      EXPECT_LT(static_cast<unsigned char>(*p), 0x80) << "English forms are plain ASCII";
    }
    if (f.gb == nullptr) continue;
    bool anyChinese = false;
    EXPECT_TRUE(GbPairsOnly(f.gb, &anyChinese)) << f.english;
    EXPECT_TRUE(anyChinese) << "the GB form of \"" << f.english << "\" holds no Chinese";
    // A Chinese form may leave an argument out, never use one the English form has not.
    for (char k : Placeholders(f.gb)) EXPECT_TRUE(Placeholders(f.english).count(k)) << k;
  }
}

struct SayCase {
  const Localizer* text;
  Text id;
  std::string expected;
};

TEST(Localizer, EachLanguageShowsItsFormAndBothChineseOnesConvert) {
  const SayCase cases[] = {
      {&kEnglish, Text::kFailure, "Failure"},
      {&kSimplified, Text::kFailure, "<\xCA\xA7\xB0\xDC>"},  // 失败
      {&kTraditional, Text::kFailure, "<\xCA\xA7\xB0\xDC>"},
      {&kEnglish, Text::kNodeBadMove, "Bad move"},
      {&kSimplified, Text::kNodeBadMove, "<\xBB\xB5\xC6\xE5>"},  // 坏棋 on the node
      {&kSimplified, Text::kBadMove, "<\xBB\xB5\xD7\xC5>"},      // 坏着 as the warning
      // A text without a Chinese form is the English one in every language, never converted.
      {&kTraditional, Text::kClearAllQuestion, "Are you sure you want to clear all the flags?"},
      {&kSimplified, Text::kDataCorrupted, "Data corrupted"},
  };
  for (const SayCase& c : cases) EXPECT_EQ(c.text->Say(c.id), c.expected);
  // Without a conversion a Chinese interface shows the GB bytes.
  EXPECT_EQ((Localizer{Language::kTraditionalChinese, {}}).Say(Text::kSolved),
            "\xD2\xD1\xBD\xE2\xB4\xF0");
}

// The real conversions: what each interface shows, as UTF-8.
TEST(LocalizerFor, EachInterfaceShowsUnicodeOfItsScript) {
  const Localizer english = LocalizerFor(Language::kEnglish);
  const Localizer simplified = LocalizerFor(Language::kSimplifiedChinese);
  const Localizer traditional = LocalizerFor(Language::kTraditionalChinese);
  EXPECT_EQ(english.Say(Text::kProblemNumber, {"7"}), "No. 7");
  EXPECT_EQ(simplified.Say(Text::kProblemNumber, {"7"}), "题号: 7");
  EXPECT_EQ(traditional.Say(Text::kProblemNumber, {"7"}), "題號: 7");
  EXPECT_EQ(traditional.Say(Text::kFailureCount), "失敗次數: ");
  EXPECT_EQ(simplified.Say(Text::kMiFile), "文件(&F)");
  EXPECT_EQ(traditional.Say(Text::kMiClearAllSolvedFlags), "清除所有已解答標志(&C)");
  EXPECT_EQ(CollectionCaption(0, traditional), "基礎(&S)");
  // An argument is never converted: a file name in UTF-8 stays as it is.
  EXPECT_EQ(traditional.Say(Text::kCantFindDataFile, {"/home/李/Zendra.dgo"}),
            "找不到數據文件/home/李/Zendra.dgo");
  // Any GB text, not only the table's: a remark line of RemarkGB.txt.
  EXPECT_EQ(traditional.Convert("\xD5\xFD\xBD\xE2"), "正解");
  EXPECT_EQ(english.Convert("plain"), "plain");
}

// A row added to the table shows in both Chinese interfaces with no other change: every row's
// Chinese form decodes cleanly and every character has its Big5 form (no replacement character,
// no ideographic space standing for a missing one); English shows only ASCII.
TEST(LocalizerFor, EveryRowShowsInEveryInterface) {
  const Localizer english = LocalizerFor(Language::kEnglish);
  const Localizer simplified = LocalizerFor(Language::kSimplifiedChinese);
  const Localizer traditional = LocalizerFor(Language::kTraditionalChinese);
  for (int i = 0; i < static_cast<int>(Text::kCount); ++i) {
    const auto id = static_cast<Text>(i);
    SCOPED_TRACE(FormsOf(id).english);
    for (const Localizer* text : {&simplified, &traditional}) {
      const std::string shown = text->Say(id);
      EXPECT_EQ(shown.find("\uFFFD"), std::string::npos) << shown;
      EXPECT_EQ(shown.find("\u3000"), std::string::npos) << shown;
      if (FormsOf(id).gb != nullptr) {
        EXPECT_NE(shown, FormsOf(id).gb);
        EXPECT_NE(shown, FormsOf(id).english);
      }
    }
    for (char c : english.Say(id)) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  }
}

TEST(LanguageForLocale, ChineseOfTaiwanAndHongKongIsTraditional) {
  struct Case {
    const char* language;
    const char* territory;
    Language expected;
    int board;
  };
  const Case cases[] = {
      {"zh", "TW", Language::kTraditionalChinese, 1},
      {"zh", "HK", Language::kTraditionalChinese, 1},
      {"zh", "MO", Language::kTraditionalChinese, 1},
      {"zh", "CN", Language::kSimplifiedChinese, 0},
      {"zh", "SG", Language::kSimplifiedChinese, 0},
      {"zh", "", Language::kSimplifiedChinese, 0},
      {"en", "US", Language::kEnglish, 2},
      {"en", "TW", Language::kEnglish, 2},
      {"de", "DE", Language::kEnglish, 2},
      {"ja", "JP", Language::kEnglish, 2},
      {"C", "", Language::kEnglish, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + "_" + c.territory);
    EXPECT_EQ(LanguageForLocale(c.language, c.territory), c.expected);
    EXPECT_EQ(BoardLanguage(c.expected), c.board);
  }
}

TEST(Localizer, TemplatesTakeTheirArgumentsOnceAfterTheConversion) {
  EXPECT_EQ(kEnglish.Say(Text::kDataError, {"2", "1001"}), "Data error(2): 1001");
  EXPECT_EQ(kTraditional.Say(Text::kDataError, {"2", "1001"}),
            "<\xCA\xFD\xBE\xDD\xB4\xED\xCE\xF3(2): 1001>");
  // An argument that looks like a placeholder stays as it is.
  EXPECT_EQ(kEnglish.Say(Text::kHistoryNotSetAside, {"/tmp/%2/h.cds", "%1"}),
            "The history file \"/tmp/%2/h.cds\" could not be read (%1) and could not be renamed; "
            "the history of this run will not be saved.");
  // The Chinese form names only the kept file, which is not converted.
  EXPECT_EQ(kSimplified.Say(Text::kHistorySetAside, {"a.cds", "why", "a.cds.unreadable"}),
            "<\xC0\xFA\xCA\xB7\xBC\xC7\xC2\xBC\xCE\xC4\xBC\xFE\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xA3"
            "\xAC\xD2\xD1\xB1\xA3\xC1\xF4\xCE\xAA a.cds.unreadable\xA3\xAC\xB2\xA2\xBF\xAA\xCA\xBC"
            "\xD0\xC2\xB5\xC4\xBC\xC7\xC2\xBC\xA1\xA3>");
  // A missing argument leaves its place empty; a lone "%" stays.
  EXPECT_EQ(kEnglish.Say(Text::kProblemNumber, {}), "No. ");
  EXPECT_EQ(kEnglish.Say(Text::kCantFindDataFile, {"100%"}), "Can't find data file: 100%");
}

TEST(Localizer, AnswerAndCollectionWordsByNumber) {
  const char* const answers[] = {"dies", "lives", "ko", "ko"};
  for (int v = 0; v < 4; ++v) EXPECT_EQ(AnswerText(v, kEnglish), answers[v]) << v;
  EXPECT_EQ(AnswerText(2, kTraditional), "<\xBD\xD9\xC9\xB1>");  // 劫杀
  for (int v : {-1, 4, 99}) {
    EXPECT_EQ(AnswerText(v, kEnglish), "") << v;
    EXPECT_EQ(CollectionCaption(v, kTraditional), "") << v;
  }
  EXPECT_EQ(CollectionCaption(3, kEnglish), "Advanced");
  EXPECT_EQ(CollectionCaption(0, kSimplified), "<\xBB\xF9\xB4\xA1(&S)>");  // 基础(&S)
}

// The GB bytes read as text, through glibc's iconv: what a reader of the table sees.
std::string GbToUtf8(const std::string& gb) {
  iconv_t cd = iconv_open("UTF-8", "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no iconv>";
  std::string in = gb;
  std::string out(gb.size() * 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) return "<not GB>";
  out.resize(out.size() - outLeft);
  return out;
}

// The try-mode and study-window rows hold the captions as written for the Chinese interface;
// a slip in an escaped byte would show another character.
TEST(TextTable, TryModeAndStudyWindowCaptionsReadAsWritten) {
  const std::pair<Text, const char*> rows[] = {
      {Text::kTryCommand, "研究"},
      {Text::kTryButton, "研究 (F9)"},
      {Text::kStopTryCommand, "停止研究"},
      {Text::kStopTryButton, "停止研究 (F10)"},
      {Text::kTryUndo, "退一步(&U)"},
      {Text::kTryNextMove, "下一步(&N)"},
      {Text::kTryStop, "停止研究 F10"},
      {Text::kTryRestart, "从头开始(&1)"},
      {Text::kStudyCaption, "研究(&S)"},
      {Text::kStudyTakeBack, "上一步(&P)"},
      {Text::kStudyNextMove, "下一步(&N)"},
      {Text::kStudyBeginFrom1, "第一步(&1)"},
      {Text::kStudyRestoreFirst, "恢复(&R)"},
      {Text::kStudyRestore, "恢复(R)"},
      {Text::kStudyStudy, "研究(S)"},
  };
  const Localizer gbBytes{Language::kSimplifiedChinese, {}};  // the row's GB form as it stands
  for (const auto& [id, chinese] : rows) {
    SCOPED_TRACE(FormsOf(id).english);
    EXPECT_EQ(GbToUtf8(gbBytes.Say(id)), chinese);
  }
  // The hint of the panel's Stop button and the Finish button keep their English text.
  EXPECT_EQ(kTraditional.Say(Text::kTryStopHint), "Stop try (End)");
  EXPECT_EQ(kSimplified.Say(Text::kStudyFinish), "Finish");
  EXPECT_EQ(kEnglish.Say(Text::kStudyNextMove), "Next move");
  EXPECT_EQ(kEnglish.Say(Text::kTryNextMove), "&Next move");
}

}  // namespace
}  // namespace zendra
