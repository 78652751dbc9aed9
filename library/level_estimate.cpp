#include "library/level_estimate.h"

#include <algorithm>

namespace zendra {
namespace {

constexpr int kCreditNeeded = 600;
constexpr int kHighestExamined = 46;

}  // namespace

int ProblemCredit(const HistoryCounterValues& c) {
  // Counters are at most 2^31 - 1 each, so the sum fits in 64 bits.
  long long credit = 100 - 50LL * c.FailedCountBeforeSolve - 25LL * c.TakebackBeforeSolve -
                     10LL * c.StudyBeforeSolve - (c.Hint0CountBeforeSolve > 0 ? 10 : 0) -
                     75LL * c.Hint1CountBeforeSolve - 90LL * c.Hint2CountBeforeSolve;
  return static_cast<int>(std::clamp(credit, 0LL, 100LL));
}

std::string LevelMessage(int n, const Localizer& text) {
  if (n == 46) return text.Say(Text::kLevelNearPro);
  if (n >= 41 && n <= 45) {
    const std::string from = std::to_string(n - 40);
    const std::string to = std::to_string(n - 38);
    return text.Say(Text::kLevelAbout) + from + text.Say(Text::kLevelDanTo) + to +
           text.Say(Text::kLevelDanEnd);
  }
  if (n == 40) return text.Say(Text::kLevel1kTo2d);
  if (n == 39) return text.Say(Text::kLevel2kTo1d);
  if (n >= 30 && n <= 38) {
    const std::string from = std::to_string(41 - n);
    const std::string to = std::to_string(39 - n);
    return text.Say(Text::kLevelAbout) + from + text.Say(Text::kLevelKyuTo) + to +
           text.Say(Text::kLevelKyuEnd);
  }
  if (n >= 1 && n <= 29) return text.Say(Text::kLevelTooEasy);
  return text.Say(Text::kLevelTooFew);
}

int LevelFromSums(const std::array<int, 51>& sums) {
  for (int n = kHighestExamined; n >= 1; --n)
    if (sums[static_cast<size_t>(n)] >= kCreditNeeded) return n;
  return 0;
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

  result.level = LevelFromSums(result.sums);
  result.message = LevelMessage(result.level, text);
  return result;
}

}  // namespace zendra
