// The interface language and the system's texts.
//
// Every text the system shows in more than one language is a row of one table (language.cpp):
// its English form and its Simplified Chinese form as GB bytes. A Localizer picks the form of
// its language; Chinese forms pass through one conversion hook on their way to the screen, which
// LocalizerFor fills: the Simplified interface decodes the GB bytes, the Traditional one turns
// them into Big5 with the GB-to-Big5 converter (text/gb2big5.h) and decodes that. Either way a
// shown text is UTF-8, like every other text of the system, so a row added to the table is shown
// in both Chinese interfaces with no other change.
//
// Some rows are templates: "%1" to "%9" stand for the arguments given with the text.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace zendra {

enum class Language { kEnglish, kSimplifiedChinese, kTraditionalChinese };

// Turns a GB text into the text shown (see LocalizerFor).
using TextConversion = std::function<std::string(std::string)>;

// The system's texts, one row each of the table.
enum class Text {
  // Answers (`Result2` 0 to 3) and verdicts.
  kDies,
  kLives,
  kKoKilled,
  kKoLives,
  kSuccess,
  kFailure,
  // Node comments of flagged moves.
  kNodeBadMove,
  kSeki,
  kNotBest,
  // Messages of the solving controller.
  kBadMove,
  kSometimes,
  kError,
  kDataError,  // %1 which check, %2 the problem number
  kDataCorrupted,
  kPleaseInput,
  kDelayPrompt,
  // Moves the solution tree does not know, judged by the solver.
  kSolverAlsoCorrect,
  kSolverRefutes,
  // Counter labels of the history; the count follows each prefix.
  kProblemNumber,  // %1 the position in the list, from 1
  kSolved,
  kFailureCount,
  kHint0Count,
  kHint1Count,
  kTakebackCount,
  kStudyCount,
  // Try mode on the problem board: the commands and the buttons of the left panel.
  kTryCommand,
  kTryButton,
  kStopTryCommand,
  kStopTryButton,
  kTryUndo,
  kTryNextMove,
  kTryStop,
  kTryStopHint,
  kTryRestart,
  // The study window: its caption and buttons. The study button reads "Restore" while down
  // and "Study" while up; before its first toggle it has a caption of its own in Chinese.
  kStudyCaption,
  kStudyTakeBack,
  kStudyNextMove,
  kStudyBeginFrom1,
  kStudyRestoreFirst,
  kStudyRestore,
  kStudyStudy,
  kStudyFinish,
  // Messages about the history file.
  kHistorySetAside,     // %1 the file, %2 why it could not be read, %3 the name it was kept as
  kHistoryNotSetAside,  // %1 the file, %2 why it could not be read
  // Collections and the data file.
  kBasic,
  kBeginner,
  kIntermediate,
  kAdvanced,
  kCantFindDataFile,  // %1 the data file
  kDatabaseError,
  // The level estimate: whole messages, and the pieces around the numbers of a range.
  kLevelNearPro,
  kLevelAbout,
  kLevelDanTo,
  kLevelDanEnd,
  kLevelKyuTo,
  kLevelKyuEnd,
  kLevel1kTo2d,
  kLevel2kTo1d,
  kLevelTooEasy,
  kLevelTooFew,
  // The "Clear all solved flags" confirmation (English in every language).
  kClearAllCaption,
  kClearAllQuestion,
  // The hint lock: its Options entry, the password dialog and the "forgot" question (all but the
  // entry English in every language).
  kHintAllowed,
  kSetPasswordCaption,
  kPasswordCaption,
  kSetPasswordLabel,
  kEnterPasswordLabel,
  kForgot,
  kForgotQuestion,
  kForgotCaption,
  kOk,
  kCancel,
  // The tip windows and the please-wait window.
  kTipCaption,
  kTipNextVariation,
  kTipRetry,
  kDoNotDisplay,
  kTipClose,
  kPleaseWait,
  // The status bar when the shared remark list is missing; %1 the file looked for.
  kRemarksMissing,
  // The main window: menu entries and buttons by the control that shows them, toolbar hints
  // (kBtn...); the delay text is the entry's caption and the delay bar's hint.
  kMiFile,
  kMiClearAllSolvedFlags,
  kMiExit,
  kMiView,
  kMiZoomIn,
  kMiZoomOut,
  kMiProblemIndex,
  kMiSolveIt,
  kMiFirstPage,
  kMiPriorPage,
  kMiNextPage,
  kMiLastPage,
  kMiFirstProblem,
  kMiPriorProblem,
  kMiNextProblem,
  kMiLastProblem,
  kMiSolve,
  kMiResult,
  kMiNextVOfComputer,
  kMiSolveAgain,
  kMiBack,
  kMiHint,
  kMiWhatLevelImAt,
  kResetSolvedFlag,
  kMiOptions,
  kMiSilent,
  kMiDisplayNumbers,
  kNextProblemAutomaticallyWhenSolved,
  kMiTakebackAutomatically,
  kDelayBeforeTakeback,
  kMiComputerDoNotPlayBadMove,
  kMiHelp,
  kMiGuide,
  kMiAbout,
  kBtnOpen,
  kBtnProblemIndex,
  kBtnSolveIt,
  kBtnFirstPage,
  kBtnPriorPage,
  kBtnNextPage,
  kBtnLastPage,
  kBtnFirstProblem,
  kBtnPriorProblem,
  kBtnNextProblem,
  kBtnLastProblem,
  kBtnSolveAgain1,
  kBtnBack1,
  kBtnNextVofComputer,
  kBtnResult1,
  kBtnHint1,
  // The Options entry of the solver's judging of moves the answer does not know.
  kMiCheckOffTreeMoves,
  // The File menu's entries of the player's own collections.
  kMiImportSgf,
  kMiRenameCollection,
  kMiRemoveCollection,
  // Practice: the View and Solve menus' entries and their hints; %1 the problems due.
  kMiZoomToProblem,
  kMiReviewDue,
  kBtnReview,
  kMiPractice,
  kBtnPractice,
  kMiStatistics,
  kBtnStatistics,

  kCount
};

// The forms of one text: English, and GB bytes (nullptr: the English text in every language).
struct TextForms {
  const char* english;
  const char* gb;
};
const TextForms& FormsOf(Text text);

// Chooses between the English and the GB form of a text. In both Chinese interfaces the GB form
// passes through the conversion; an empty conversion leaves it as GB bytes.
struct Localizer {
  Language language = Language::kEnglish;
  TextConversion convert;

  // True for both Chinese interfaces.
  bool Chinese() const { return language != Language::kEnglish; }
  // A GB text as shown in this interface (any GB text: a row's form, a line of RemarkGB.txt).
  std::string Convert(std::string gb) const {
    if (Chinese() && convert) return convert(std::move(gb));
    return gb;
  }
  // The text in the interface language.
  std::string Say(Text text) const;
  // A template text with its arguments in place. The Chinese form is converted before the
  // arguments go in, so an argument (a number, a file name) is shown exactly as given.
  std::string Say(Text text, std::initializer_list<std::string_view> args) const;
};

// The Localizer of `language` with the real conversion, whose texts are UTF-8: Simplified
// Chinese decodes the GB bytes; Traditional Chinese converts them to Big5 with its own
// GB-to-Big5 converter and decodes the Big5 bytes. English needs no conversion.
Localizer LocalizerFor(Language language);

// The interface language of a locale, given by its language and territory codes ("zh", "TW"):
// Chinese of Taiwan, Hong Kong or Macau is Traditional Chinese, Chinese anywhere else (China,
// Singapore, no territory) Simplified Chinese, every other language English.
Language LanguageForLocale(std::string_view language, std::string_view territory);

// The board's own `Language` value that shows the board's texts in `language`: 0 Simplified
// Chinese, 1 Traditional Chinese (through the board's Big5 event), 2 English.
int BoardLanguage(Language language);

// The answer text of a `Result2` value: "dies", "lives", "ko", "ko" for 0 to 3; empty for any
// other value.
std::string AnswerText(int result2, const Localizer& text);

// The caption of a collection's menu entry (tags 0 to 3); empty for any other tag.
std::string CollectionCaption(int tag, const Localizer& text);

}  // namespace zendra
