// The interface language and the system's texts.
//
// Every text the system shows in more than one language is a row of one table (language.cpp):
// its English form and its Simplified Chinese form as GB bytes. A Localizer picks the form of
// its language; Chinese forms pass through one conversion hook on their way to the screen, which
// the Traditional Chinese interface fills with the GB-to-Big5 converter.
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

// Turns GB text into the text to show; the Traditional interface installs the Big5 converter.
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

  kCount
};

// The forms of one text: English, and GB bytes (nullptr: the English text in every language).
struct TextForms {
  const char* english;
  const char* gb;
};
const TextForms& FormsOf(Text text);

// Chooses between the English and the GB form of a text. Chinese texts pass through the
// conversion only in the Traditional interface; an empty conversion leaves them unchanged.
struct Localizer {
  Language language = Language::kEnglish;
  TextConversion convert;

  // True for both Chinese interfaces.
  bool Chinese() const { return language != Language::kEnglish; }
  // The text as shown: a GB text goes through the conversion in the Traditional interface.
  std::string Convert(std::string gb) const {
    if (language == Language::kTraditionalChinese && convert) return convert(std::move(gb));
    return gb;
  }
  // The text in the interface language.
  std::string Say(Text text) const;
  // A template text with its arguments in place; a Chinese text is converted as a whole,
  // arguments included.
  std::string Say(Text text, std::initializer_list<std::string_view> args) const;
};

// The answer text of a `Result2` value: "dies", "lives", "ko", "ko" for 0 to 3; empty for any
// other value.
std::string AnswerText(int result2, const Localizer& text);

// The caption of a collection's menu entry (tags 0 to 3); empty for any other tag.
std::string CollectionCaption(int tag, const Localizer& text);

}  // namespace zendra
