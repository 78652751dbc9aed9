#include "library/level_estimate.h"

#include <algorithm>

namespace zendra {
namespace {

constexpr int kCreditNeeded = 600;
constexpr int kHighestExamined = 46;

// 无法判断您的大概水平，因为解答的题目数量不足
constexpr const char* kGbTooFew =
    "\xCE\xDE\xB7\xA8\xC5\xD0\xB6\xCF\xC4\xFA\xB5\xC4\xB4\xF3\xB8\xC5\xCB\xAE\xC6\xBD\xA3\xAC"
    "\xD2\xF2\xCE\xAA\xBD\xE2\xB4\xF0\xB5\xC4\xCC\xE2\xC4\xBF\xCA\xFD\xC1\xBF\xB2\xBB\xD7\xE3";
// 您的水平相当高，恐怕至少有5d吧
constexpr const char* kGbNearPro =
    "\xC4\xFA\xB5\xC4\xCB\xAE\xC6\xBD\xCF\xE0\xB5\xB1\xB8\xDF\xA3\xAC\xBF\xD6\xC5\xC2\xD6\xC1"
    "\xC9\xD9\xD3\xD0"
    "5d"
    "\xB0\xC9";
constexpr const char* kGbAbout =
    "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA ";  // 你的段位大概在
constexpr const char* kGbDanTo = "d \xB5\xBD ";                   // d 到
constexpr const char* kGbDanEnd = "d \xD6\xAE\xBC\xE4";           // d 之间
constexpr const char* kGbKyuTo = "k \xB5\xBD ";                   // k 到
constexpr const char* kGbKyuEnd = "k \xD6\xAE\xBC\xE4";           // k 之间
// 你的段位大概在1k到2d之间
constexpr const char* kGb1kTo2d =
    "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA"
    "1k"
    "\xB5\xBD"
    "2d"
    "\xD6\xAE\xBC\xE4";
// 你的段位大概在2k到1d之间
constexpr const char* kGb2kTo1d =
    "\xC4\xE3\xB5\xC4\xB6\xCE\xCE\xBB\xB4\xF3\xB8\xC5\xD4\xDA"
    "2k"
    "\xB5\xBD"
    "1d"
    "\xD6\xAE\xBC\xE4";

}  // namespace

int ProblemCredit(const HistoryCounterValues& c) {
  // Counters are at most 2^31 - 1 each, so the sum fits in 64 bits.
  long long credit = 100 - 50LL * c.FailedCountBeforeSolve - 25LL * c.TakebackBeforeSolve -
                     10LL * c.StudyBeforeSolve - (c.Hint0CountBeforeSolve > 0 ? 10 : 0) -
                     75LL * c.Hint1CountBeforeSolve - 90LL * c.Hint2CountBeforeSolve;
  return static_cast<int>(std::clamp(credit, 0LL, 100LL));
}

std::string LevelMessage(int n, const Localizer& text) {
  if (n == 46) {
    return text.Pick("You are close to professional players. Your level is higher than 5d.",
                     kGbNearPro);
  }
  if (n >= 41 && n <= 45) {
    const std::string from = std::to_string(n - 40);
    const std::string to = std::to_string(n - 38);
    if (text.Chinese()) {
      return text.Convert(kGbAbout) + from + text.Convert(kGbDanTo) + to + text.Convert(kGbDanEnd);
    }
    return "Your level is about " + from + "d to " + to + "d.";
  }
  if (n == 40) return text.Pick("Your level is about 1k to 2d.", kGb1kTo2d);
  if (n == 39) return text.Pick("Your level is about 2k to 1d.", kGb2kTo1d);
  if (n >= 30 && n <= 38) {
    const std::string from = std::to_string(41 - n);
    const std::string to = std::to_string(39 - n);
    if (text.Chinese()) {
      return text.Convert(kGbAbout) + from + text.Convert(kGbKyuTo) + to + text.Convert(kGbKyuEnd);
    }
    return "Your level is about " + from + "k to " + to + "k.";
  }
  if (n >= 1 && n <= 29) {
    return text.Pick("I can't tell your level because the problems you solved are too easy.",
                     kGbTooFew);
  }
  return text.Pick("Now I can't tell your level because you solved too few problems yourself.",
                   kGbTooFew);
}

LevelEstimate EstimateLevel(TableStore& problems, TableStore& history, const Localizer& text) {
  LevelEstimate result;
  const bool remembered = problems.Active() && problems.RecordCount() > 0;
  const int32_t current = remembered ? problems.AsInteger("Auto1") : 0;

  if (problems.Active() && history.Active()) {
    for (problems.First(); !problems.Eof(); problems.Next()) {
      if (!history.FindKey({FieldValue{problems.AsInteger("Auto1")}})) continue;
      const HistoryCounterValues counters = ReadHistoryRow(history);
      const int level = problems.AsInteger("Level1");
      if (counters.SolvedCount <= 0 || level < 1 || level > 49) continue;
      result.sums[static_cast<size_t>(level)] += ProblemCredit(counters);
    }
  }
  if (remembered) {
    problems.FindKey({FieldValue{current}});
    if (history.Active()) history.FindKey({FieldValue{current}});
  }

  for (int n = kHighestExamined; n >= 1; --n) {
    if (result.sums[static_cast<size_t>(n)] >= kCreditNeeded) {
      result.level = n;
      break;
    }
  }
  result.message = LevelMessage(result.level, text);
  return result;
}

}  // namespace zendra
