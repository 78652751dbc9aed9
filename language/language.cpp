#include "language/language.h"

#include <array>
#include <cstddef>
#include <memory>

#include "text/code_page.h"
#include "text/gb2big5.h"

namespace zendra {
namespace {

struct TextRow {
  Text id;
  TextForms forms;
};

// 无法判断您的大概水平，因为解答的题目数量不足
constexpr const char* kGbLevelUnknown =
    "\xCE\xDE\xB7\xA8\xC5\xD0\xB6\xCF\xC4\xFA\xB5\xC4\xB4\xF3\xB8\xC5\xCB\xAE\xC6\xBD\xA3\xAC"
    "\xD2\xF2\xCE\xAA\xBD\xE2\xB4\xF0\xB5\xC4\xCC\xE2\xC4\xBF\xCA\xFD\xC1\xBF\xB2\xBB\xD7\xE3";

// The system's texts: one row per text, one column per language, in the order of Text. Each GB
// form shows its characters in the comment (a string is split where a letter or digit follows
// an escape, which would otherwise read it as part of the escape).
constexpr TextRow kTexts[] = {
    {Text::kDies, {"dies", "\xCB\xC0"}},                // 死
    {Text::kLives, {"lives", "\xBB\xEE"}},              // 活
    {Text::kKoKilled, {"ko", "\xBD\xD9\xC9\xB1"}},      // 劫杀
    {Text::kKoLives, {"ko", "\xBD\xD9\xBB\xEE"}},       // 劫活
    {Text::kSuccess, {"Success", "\xB3\xC9\xB9\xA6"}},  // 成功
    {Text::kFailure, {"Failure", "\xCA\xA7\xB0\xDC"}},  // 失败

    {Text::kNodeBadMove, {"Bad move", "\xBB\xB5\xC6\xE5"}},         // 坏棋
    {Text::kSeki, {"Seki", "\xCB\xAB\xBB\xEE"}},                    // 双活
    {Text::kNotBest, {"Not best", "\xB7\xC7\xD7\xEE\xBC\xD1"}},     // 非最佳

    {Text::kBadMove, {"Bad move", "\xBB\xB5\xD7\xC5"}},  // 坏着
    {Text::kSometimes, {"Sometimes", "\xD3\xD0\xCA\xB1"}},  // 有时
    {Text::kError, {"Error", "\xB4\xED\xCE\xF3"}},          // 错误
    {Text::kDataError,
     {"Data error(%1): %2", "\xCA\xFD\xBE\xDD\xB4\xED\xCE\xF3(%1): %2"}},  // 数据错误(%1): %2
    {Text::kDataCorrupted, {"Data corrupted", nullptr}},
    {Text::kPleaseInput, {"Please input: ", "\xC7\xEB\xCA\xE4\xC8\xEB: "}},  // 请输入:
    // 自动回退延迟秒数(0-30):
    {Text::kDelayPrompt,
     {"Delay time (0-30 seconds) before takeback automatically:             ",
      "\xD7\xD4\xB6\xAF\xBB\xD8\xCD\xCB\xD1\xD3\xB3\xD9\xC3\xEB\xCA\xFD(0-30):             "}},
    // 也正确：解题程序验证此着可行
    {Text::kSolverAlsoCorrect,
     {"Also correct: the solver finds that this move works",
      "\xD2\xB2\xD5\xFD\xC8\xB7\xA3\xBA\xBD\xE2\xCC\xE2\xB3\xCC\xD0\xF2\xD1\xE9\xD6\xA4"
      "\xB4\xCB\xD7\xC5\xBF\xC9\xD0\xD0"}},
    // 解题程序给出的反驳
    {Text::kSolverRefutes,
     {"The solver's refutation",
      "\xBD\xE2\xCC\xE2\xB3\xCC\xD0\xF2\xB8\xF8\xB3\xF6\xB5\xC4\xB7\xB4\xB2\xB5"}},

    {Text::kProblemNumber, {"No. %1", "\xCC\xE2\xBA\xC5: %1"}},              // 题号: %1
    {Text::kSolved, {"Solved", "\xD2\xD1\xBD\xE2\xB4\xF0"}},                 // 已解答
    {Text::kFailureCount, {"Failure count: ", "\xCA\xA7\xB0\xDC\xB4\xCE\xCA\xFD: "}},  // 失败次数:
    // 看结果次数:
    {Text::kHint0Count, {"Hint(result) count: ", "\xBF\xB4\xBD\xE1\xB9\xFB\xB4\xCE\xCA\xFD: "}},
    {Text::kHint1Count, {"Hint count: ", "\xCC\xE1\xCA\xBE\xB4\xCE\xCA\xFD: "}},  // 提示次数:
    {Text::kTakebackCount, {"Takeback count: ", "\xBB\xDA\xC6\xE5\xB4\xCE\xCA\xFD: "}},  // 悔棋次数:
    {Text::kStudyCount, {"trial count: ", "\xD1\xD0\xBE\xBF\xB4\xCE\xCA\xFD: "}},  // 研究次数:

    {Text::kTryCommand, {"&Try", "\xD1\xD0\xBE\xBF"}},                           // 研究
    {Text::kTryButton, {"Try (F9)", "\xD1\xD0\xBE\xBF (F9)"}},                   // 研究 (F9)
    {Text::kStopTryCommand, {"Sto&p try", "\xCD\xA3\xD6\xB9\xD1\xD0\xBE\xBF"}},  // 停止研究
    // 停止研究 (F10)
    {Text::kStopTryButton, {"Stop try (F10)", "\xCD\xA3\xD6\xB9\xD1\xD0\xBE\xBF (F10)"}},
    {Text::kTryUndo, {"&Undo", "\xCD\xCB\xD2\xBB\xB2\xBD(&U)"}},           // 退一步(&U)
    {Text::kTryNextMove, {"&Next move", "\xCF\xC2\xD2\xBB\xB2\xBD(&N)"}},  // 下一步(&N)
    {Text::kTryStop, {"&Stop", "\xCD\xA3\xD6\xB9\xD1\xD0\xBE\xBF F10"}},   // 停止研究 F10
    {Text::kTryStopHint, {"Stop try (End)", nullptr}},
    {Text::kTryRestart, {"&Restart", "\xB4\xD3\xCD\xB7\xBF\xAA\xCA\xBC(&1)"}},  // 从头开始(&1)

    {Text::kStudyCaption, {"Study", "\xD1\xD0\xBE\xBF(&S)"}},                    // 研究(&S)
    {Text::kStudyTakeBack, {"Take back", "\xC9\xCF\xD2\xBB\xB2\xBD(&P)"}},       // 上一步(&P)
    {Text::kStudyNextMove, {"Next move", "\xCF\xC2\xD2\xBB\xB2\xBD(&N)"}},       // 下一步(&N)
    {Text::kStudyBeginFrom1, {"Begin from 1", "\xB5\xDA\xD2\xBB\xB2\xBD(&1)"}},  // 第一步(&1)
    {Text::kStudyRestoreFirst, {"Restore", "\xBB\xD6\xB8\xB4(&R)"}},             // 恢复(&R)
    {Text::kStudyRestore, {"Restore", "\xBB\xD6\xB8\xB4(R)"}},                   // 恢复(R)
    {Text::kStudyStudy, {"Study", "\xD1\xD0\xBE\xBF(S)"}},                       // 研究(S)
    {Text::kStudyFinish, {"Finish", nullptr}},

    // 历史记录文件无法读取，已保留为 %3，并开始新的记录。
    {Text::kHistorySetAside,
     {"The history file \"%1\" could not be read (%2). It was kept as \"%3\" and a new history "
      "was started.",
      "\xC0\xFA\xCA\xB7\xBC\xC7\xC2\xBC\xCE\xC4\xBC\xFE\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xA3\xAC"
      "\xD2\xD1\xB1\xA3\xC1\xF4\xCE\xAA %3\xA3\xAC\xB2\xA2\xBF\xAA\xCA\xBC\xD0\xC2\xB5\xC4\xBC\xC7"
      "\xC2\xBC\xA1\xA3"}},
    // 历史记录文件无法读取，也无法改名保存；本次运行的记录不会写入文件。
    {Text::kHistoryNotSetAside,
     {"The history file \"%1\" could not be read (%2) and could not be renamed; the history of "
      "this run will not be saved.",
      "\xC0\xFA\xCA\xB7\xBC\xC7\xC2\xBC\xCE\xC4\xBC\xFE\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xA3\xAC"
      "\xD2\xB2\xCE\xDE\xB7\xA8\xB8\xC4\xC3\xFB\xB1\xA3\xB4\xE6\xA3\xBB\xB1\xBE\xB4\xCE\xD4\xCB"
      "\xD0\xD0\xB5\xC4\xBC\xC7\xC2\xBC\xB2\xBB\xBB\xE1\xD0\xB4\xC8\xEB\xCE\xC4\xBC\xFE\xA1\xA3"}},

    {Text::kBasic, {"Basic", "\xBB\xF9\xB4\xA1(&S)"}},                // 基础(&S)
    {Text::kBeginner, {"Beginner", "\xB3\xF5\xBC\xB6(&B)"}},          // 初级(&B)
    {Text::kIntermediate, {"Intermediate", "\xD6\xD0\xBC\xB6(&I)"}},  // 中级(&I)
    {Text::kAdvanced, {"Advanced", "\xB8\xDF\xBC\xB6(&A)"}},          // 高级(&A)
    // 找不到数据文件%1
    {Text::kCantFindDataFile,
     {"Can't find data file: %1", "\xD5\xD2\xB2\xBB\xB5\xBD\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE%1"}},
    // 数据有错误，请重新安装试试
    {Text::kDatabaseError,
     {"problem database error, please reinstall and try.",
      "\xCA\xFD\xBE\xDD\xD3\xD0\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xB0\xB2\xD7\xB0"
      "\xCA\xD4\xCA\xD4"}},

    // 您的水平相当高，恐怕至少有5d吧
    {Text::kLevelNearPro,
     {"You are close to professional players. Your level is higher than 5d.",
      "\xC4\xFA\xB5\xC4\xCB\xAE\xC6\xBD\xCF\xE0\xB5\xB1\xB8\xDF\xA3\xAC\xBF\xD6\xC5\xC2\xD6\xC1"
      "\xC9\xD9\xD3\xD0"
      "5d"
      "\xB0\xC9"}},
    // 你的段位大概在
    {Text::kLevelAbout,
     {"Your level is about ", "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA "}},
    {Text::kLevelDanTo, {"d to ", "d \xB5\xBD "}},          // d 到
    {Text::kLevelDanEnd, {"d.", "d \xD6\xAE\xBC\xE4"}},     // d 之间
    {Text::kLevelKyuTo, {"k to ", "k \xB5\xBD "}},          // k 到
    {Text::kLevelKyuEnd, {"k.", "k \xD6\xAE\xBC\xE4"}},     // k 之间
    // 你的段位大概在1k到2d之间
    {Text::kLevel1kTo2d,
     {"Your level is about 1k to 2d.",
      "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA"
      "1k"
      "\xB5\xBD"
      "2d"
      "\xD6\xAE\xBC\xE4"}},
    // 你的段位大概在2k到1d之间
    {Text::kLevel2kTo1d,
     {"Your level is about 2k to 1d.",
      "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA"
      "2k"
      "\xB5\xBD"
      "1d"
      "\xD6\xAE\xBC\xE4"}},
    // Both unknown levels share one Chinese message.
    {Text::kLevelTooEasy,
     {"I can't tell your level because the problems you solved are too easy.", kGbLevelUnknown}},
    {Text::kLevelTooFew,
     {"Now I can't tell your level because you solved too few problems yourself.",
      kGbLevelUnknown}},

    {Text::kClearAllCaption, {"Clear all solved flags", nullptr}},
    {Text::kClearAllQuestion, {"Are you sure you want to clear all the flags?", nullptr}},

    {Text::kHintAllowed, {"Hint allowed", "\xD4\xCA\xD0\xED\xBF\xB4\xB4\xF0\xB0\xB8(&H)"}},  // 允许看答案(&H)
    {Text::kSetPasswordCaption, {"Set password", nullptr}},
    {Text::kPasswordCaption, {"Password", nullptr}},
    {Text::kSetPasswordLabel, {"Set password: ", nullptr}},
    {Text::kEnterPasswordLabel, {"Enter password: ", nullptr}},
    {Text::kForgot, {"forgot", nullptr}},
    {Text::kForgotQuestion, {"Really?", nullptr}},
    {Text::kForgotCaption, {"Will clear the password", nullptr}},
    {Text::kOk, {"OK", nullptr}},
    {Text::kCancel, {"Cancel", nullptr}},

    {Text::kTipCaption, {"Hint", "\xCC\xE1\xCA\xBE"}},  // 提示
    // 按下页(PgDn)键到下一变化 (the English text keeps its 27 trailing spaces)
    {Text::kTipNextVariation,
     {"Press PgDn key to try the next variantion                           ",
      "\xB0\xB4\xCF\xC2\xD2\xB3(PgDn)\xBC\xFC\xB5\xBD\xCF\xC2\xD2\xBB\xB1\xE4\xBB\xAF"}},
    // 按下页PgDn键回退 (20 trailing spaces in English)
    {Text::kTipRetry,
     {"Press PgDn key to retry                    ",
      "\xB0\xB4\xCF\xC2\xD2\xB3PgDn\xBC\xFC\xBB\xD8\xCD\xCB"}},
    // 不再显示此窗口
    {Text::kDoNotDisplay,
     {"Do not display this window", "\xB2\xBB\xD4\xD9\xCF\xD4\xCA\xBE\xB4\xCB\xB4\xB0\xBF\xDA"}},
    {Text::kTipClose, {"&Close", "\xB9\xD8\xB1\xD5(&C)"}},  // 关闭(&C)
    {Text::kPleaseWait, {"Please wait...", nullptr}},
    // 没有找到注释文件%1
    {Text::kRemarksMissing,
     {"Comments are not shown: %1 is missing",
      "\xC3\xBB\xD3\xD0\xD5\xD2\xB5\xBD\xD7\xA2\xCA\xCD\xCE\xC4\xBC\xFE%1"}},
    {Text::kMiFile, {"&File", "\xCE\xC4\xBC\xFE(&F)"}},  // 文件(&F)
    // 清除所有已解答标志(&C)
    {Text::kMiClearAllSolvedFlags,
     {"Clear all solved flags",
      "\xC7\xE5\xB3\xFD\xCB\xF9\xD3\xD0\xD2\xD1\xBD\xE2\xB4\xF0\xB1\xEA\xD6\xBE(&C)"}},
    {Text::kMiExit, {"Exit", "\xCD\xCB\xB3\xF6(&X)"}},  // 退出(&X)
    {Text::kMiView, {"&View", "\xB2\xE9\xBF\xB4(&V)"}},  // 查看(&V)
    {Text::kMiZoomIn, {"Zoom &In", "\xB7\xC5\xB4\xF3(&I)"}},  // 放大(&I)
    {Text::kMiZoomOut, {"Zoom &Out", "\xCB\xF5\xD0\xA1(&O)"}},  // 缩小(&O)
    {Text::kMiProblemIndex, {"&Index", "\xCB\xF7\xD2\xFD(&I)"}},  // 索引(&I)
    {Text::kMiSolveIt, {"S&olve it", "\xBD\xE2\xCC\xE2(&O)"}},  // 解题(&O)
    {Text::kMiFirstPage, {"&First page", "\xB5\xDA\xD2\xBB\xD2\xB3(&F)"}},  // 第一页(&F)
    {Text::kMiPriorPage, {"&Prior page", "\xC9\xCF\xD2\xBB\xD2\xB3(&P)"}},  // 上一页(&P)
    {Text::kMiNextPage, {"&Next page", "\xCF\xC2\xD2\xBB\xD2\xB3(&N)"}},  // 下一页(&N)
    {Text::kMiLastPage, {"&Last page", "\xD7\xEE\xBA\xF3\xD2\xBB\xD2\xB3(&L)"}},  // 最后一页(&L)
    {Text::kMiFirstProblem, {"&First problem", "\xB5\xDA\xD2\xBB\xCC\xE2(&F)"}},  // 第一题(&F)
    {Text::kMiPriorProblem, {"&Prior problem", "\xC9\xCF\xD2\xBB\xCC\xE2"}},  // 上一题
    {Text::kMiNextProblem, {"&Next problem", "\xCF\xC2\xD2\xBB\xCC\xE2"}},  // 下一题
    {Text::kMiLastProblem, {"&Last problem", "\xD7\xEE\xBA\xF3\xD2\xBB\xCC\xE2(&L)"}},  // 最后一题(&L)
    {Text::kMiSolve, {"&Solve", "\xBD\xE2\xCC\xE2(&S)"}},  // 解题(&S)
    // 结果是死,活,劫?
    {Text::kMiResult,
     {"&Result(Life,Death,Ko?)",
      "\xBD\xE1\xB9\xFB\xCA\xC7\xCB\xC0,\xBB\xEE,\xBD\xD9?"}},
    // 下一变化或重试
    {Text::kMiNextVOfComputer,
     {"&Next variation or retry after fail",
      "\xCF\xC2\xD2\xBB\xB1\xE4\xBB\xAF\xBB\xF2\xD6\xD8\xCA\xD4"}},
    {Text::kMiSolveAgain, {"Solve &again", "\xD6\xD8\xD7\xF6"}},  // 重做
    {Text::kMiBack, {"&Back", "\xCD\xCB\xD2\xBB\xB2\xBD"}},  // 退一步
    // 下一步该怎么走
    {Text::kMiHint, {"&Hint", "\xCF\xC2\xD2\xBB\xB2\xBD\xB8\xC3\xD4\xF5\xC3\xB4\xD7\xDF"}},
    // 我的级别(&L)
    {Text::kMiWhatLevelImAt, {"What level I'm at", "\xCE\xD2\xB5\xC4\xBC\xB6\xB1\xF0(&L)"}},
    // 清除解答标志
    {Text::kResetSolvedFlag,
     {"Reset solved flag",
      "\xC7\xE5\xB3\xFD\xBD\xE2\xB4\xF0\xB1\xEA\xD6\xBE"}},
    {Text::kMiOptions, {"&Options", "\xD1\xA1\xCF\xEE(&O)"}},  // 选项(&O)
    {Text::kMiSilent, {"&Silent", "\xCE\xDE\xC9\xF9(&S)"}},  // 无声(&S)
    // 显示形成过程(如果可能)(&N)
    {Text::kMiDisplayNumbers,
     {"Display numbers if possible",
      "\xCF\xD4\xCA\xBE\xD0\xCE\xB3\xC9\xB9\xFD\xB3\xCC(\xC8\xE7\xB9\xFB\xBF\xC9\xC4\xDC)(&N)"}},
    // 成功后自动进入下一题(&A)
    {Text::kNextProblemAutomaticallyWhenSolved,
     {"Next Problem &Automatically when solved",
      "\xB3\xC9\xB9\xA6\xBA\xF3\xD7\xD4\xB6\xAF\xBD\xF8\xC8\xEB\xCF\xC2\xD2\xBB\xCC\xE2(&A)"}},
    // 自动回退(&A)
    {Text::kMiTakebackAutomatically,
     {"Takeback automatically ",
      "\xD7\xD4\xB6\xAF\xBB\xD8\xCD\xCB(&A)"}},
    // 自动回退延迟时间(秒)
    {Text::kDelayBeforeTakeback,
     {"Delay time (seconds) before takeback automatically",
      "\xD7\xD4\xB6\xAF\xBB\xD8\xCD\xCB\xD1\xD3\xB3\xD9\xCA\xB1\xBC\xE4(\xC3\xEB)"}},
    // 计算机不走坏棋(有?标记者)(&M)
    {Text::kMiComputerDoNotPlayBadMove,
     {"Computer do not play bad move(marked with ?)",
      "\xBC\xC6\xCB\xE3\xBB\xFA\xB2\xBB\xD7\xDF\xBB\xB5\xC6\xE5"
      "(\xD3\xD0?\xB1\xEA\xBC\xC7\xD5\xDF)(&M)"}},
    {Text::kMiHelp, {"&Help", "\xB0\xEF\xD6\xFA(&H)"}},  // 帮助(&H)
    {Text::kMiGuide, {"Guide", "\xD6\xB8\xC4\xCF(&G)"}},  // 指南(&G)
    {Text::kMiAbout, {"About...", "\xB9\xD8\xD3\xDA(&A)"}},  // 关于(&A)
    {Text::kBtnOpen, {"Open", "\xCE\xC4\xBC\xFE"}},  // 文件
    {Text::kBtnProblemIndex, {"Index", "\xCB\xF7\xD2\xFD"}},  // 索引
    {Text::kBtnSolveIt, {"Solve it", "\xBD\xE2\xCC\xE2"}},  // 解题
    {Text::kBtnFirstPage, {"First page", "\xB5\xDA\xD2\xBB\xD2\xB3"}},  // 第一页
    {Text::kBtnPriorPage, {"Prior page", "\xC9\xCF\xD2\xBB\xD2\xB3"}},  // 上一页
    {Text::kBtnNextPage, {"Next page", "\xCF\xC2\xD2\xBB\xD2\xB3"}},  // 下一页
    {Text::kBtnLastPage, {"Last page", "\xD7\xEE\xBA\xF3\xD2\xBB\xD2\xB3"}},  // 最后一页
    {Text::kBtnFirstProblem, {"First problem", "\xB5\xDA\xD2\xBB\xCC\xE2"}},  // 第一题
    {Text::kBtnPriorProblem, {"Prior problem (UP)", "\xC9\xCF\xD2\xBB\xCC\xE2 (Up)"}},  // 上一题 (Up)
    // 下一题 (Down)
    {Text::kBtnNextProblem, {"Next problem (DOWN)", "\xCF\xC2\xD2\xBB\xCC\xE2 (Down)"}},
    {Text::kBtnLastProblem, {"Last problem", "\xD7\xEE\xBA\xF3\xD2\xBB\xCC\xE2"}},  // 最后一题
    // 重做 (Esc,Home)
    {Text::kBtnSolveAgain1, {"Solve again (Esc,Home)", "\xD6\xD8\xD7\xF6 (Esc,Home)"}},
    // 回退一步 (左箭头)
    {Text::kBtnBack1,
     {"Back (Left)",
      "\xBB\xD8\xCD\xCB\xD2\xBB\xB2\xBD (\xD7\xF3\xBC\xFD\xCD\xB7)"}},
    // 下一变化或重试 (PgDn)
    {Text::kBtnNextVofComputer,
     {"Next variation or retry (PgDn)",
      "\xCF\xC2\xD2\xBB\xB1\xE4\xBB\xAF\xBB\xF2\xD6\xD8\xCA\xD4 (PgDn)"}},
    // 死,活,劫? (End)
    {Text::kBtnResult1, {"Life,Death,Ko? (End)", "\xCB\xC0,\xBB\xEE,\xBD\xD9? (End)"}},
    {Text::kBtnHint1, {"Hint (Right)", "\xCC\xE1\xCA\xBE (\xD3\xD2\xBC\xFD\xCD\xB7)"}},  // 提示 (右箭头)
    // 检查答案中没有的着法
    {Text::kMiCheckOffTreeMoves,
     {"Check moves the answer does not know", "\xBC\xEC\xB2\xE9\xB4\xF0\xB0\xB8\xD6\xD0\xC3\xBB\xD3\xD0\xB5\xC4\xD7\xC5\xB7\xA8"}},
    // 导入SGF题目…(&I)
    {Text::kMiImportSgf, {"Import SGF problems...", "\xB5\xBC\xC8\xEBSGF\xCC\xE2\xC4\xBF\xA1\xAD(&I)"}},
    // 重命名题集…
    {Text::kMiRenameCollection, {"Rename collection...", "\xD6\xD8\xC3\xFC\xC3\xFB\xCC\xE2\xBC\xAF\xA1\xAD"}},
    // 删除题集…
    {Text::kMiRemoveCollection, {"Remove collection...", "\xC9\xBE\xB3\xFD\xCC\xE2\xBC\xAF\xA1\xAD"}},
    // 放大到题目(&P)
    {Text::kMiZoomToProblem, {"Zoom to the &problem", "\xB7\xC5\xB4\xF3\xB5\xBD\xCC\xE2\xC4\xBF(&P)"}},
    // 复习(&R) (%1)
    {Text::kMiReviewDue, {"&Review (%1)", "\xB8\xB4\xCF\xB0(&R) (%1)"}},
    // 复习今天到期的题目
    {Text::kBtnReview, {"Review the problems due today", "\xB8\xB4\xCF\xB0\xBD\xF1\xCC\xEC\xB5\xBD\xC6\xDA\xB5\xC4\xCC\xE2\xC4\xBF"}},
    // 按我的水平练习(&P)
    {Text::kMiPractice, {"&Practice at my level", "\xB0\xB4\xCE\xD2\xB5\xC4\xCB\xAE\xC6\xBD\xC1\xB7\xCF\xB0(&P)"}},
    // 练习与你水平相当的题目
    {Text::kBtnPractice, {"Practice problems around your level", "\xC1\xB7\xCF\xB0\xD3\xEB\xC4\xE3\xCB\xAE\xC6\xBD\xCF\xE0\xB5\xB1\xB5\xC4\xCC\xE2\xC4\xBF"}},
    // 统计(&T)
    {Text::kMiStatistics, {"S&tatistics", "\xCD\xB3\xBC\xC6(&T)"}},
    // 你的进度
    {Text::kBtnStatistics, {"Your progress", "\xC4\xE3\xB5\xC4\xBD\xF8\xB6\xC8"}},
};

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < std::size(kTexts); ++i) {
    if (static_cast<std::size_t>(kTexts[i].id) != i) return false;
  }
  return std::size(kTexts) == static_cast<std::size_t>(Text::kCount);
}
static_assert(RowsInOrder(), "every text has its row, in the order of Text");

// Puts argument k in place of each "%k" (1 to 9) of `form`, in one pass over the form, so an
// argument that itself holds "%2" stays as it is. A "%" before anything else stays.
std::string Fill(std::string_view form, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(form.size());
  for (std::size_t i = 0; i < form.size(); ++i) {
    const char c = form[i];
    if (c == '%' && i + 1 < form.size() && form[i + 1] >= '1' && form[i + 1] <= '9') {
      const auto k = static_cast<std::size_t>(form[i + 1] - '1');
      if (k < args.size()) out += args.begin()[k];
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

const TextForms& FormsOf(Text text) {
  const auto i = static_cast<std::size_t>(text);
  return kTexts[i < std::size(kTexts) ? i : 0].forms;
}

std::string Localizer::Say(Text text) const {
  const TextForms& f = FormsOf(text);
  return Chinese() && f.gb != nullptr ? Convert(f.gb) : std::string(f.english);
}

std::string Localizer::Say(Text text, std::initializer_list<std::string_view> args) const {
  const TextForms& f = FormsOf(text);
  if (Chinese() && f.gb != nullptr) return Fill(Convert(f.gb), args);
  return Fill(f.english, args);
}

Localizer LocalizerFor(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese:
      return {language, [](std::string gb) { return GbkToUtf8(gb); }};
    case Language::kTraditionalChinese: {
      auto converter = std::make_shared<const TGB2Big5>();
      return {language,
              [converter](std::string gb) { return Big5ToUtf8(converter->GB2Big5(gb)); }};
    }
    case Language::kEnglish:
      break;
  }
  return {};
}

Language LanguageForLocale(std::string_view language, std::string_view territory) {
  if (language != "zh") return Language::kEnglish;
  if (territory == "TW" || territory == "HK" || territory == "MO")
    return Language::kTraditionalChinese;
  return Language::kSimplifiedChinese;
}

int BoardLanguage(Language language) {
  switch (language) {
    case Language::kSimplifiedChinese:
      return 0;
    case Language::kTraditionalChinese:
      return 1;
    case Language::kEnglish:
      break;
  }
  return 2;
}

std::string AnswerText(int result2, const Localizer& text) {
  static constexpr Text kAnswers[] = {Text::kDies, Text::kLives, Text::kKoKilled, Text::kKoLives};
  if (result2 < 0 || result2 > 3) return {};
  return text.Say(kAnswers[result2]);
}

std::string CollectionCaption(int tag, const Localizer& text) {
  static constexpr Text kCaptions[] = {Text::kBasic, Text::kBeginner, Text::kIntermediate,
                                       Text::kAdvanced};
  if (tag < 0 || tag > 3) return {};
  return text.Say(kCaptions[tag]);
}

}  // namespace zendra
