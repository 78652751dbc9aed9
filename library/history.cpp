#include "library/history.h"

#include <strings.h>
#include <sys/stat.h>

#include <cstdio>
#include <limits>
#include <utility>

namespace zendra {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// Checks that a loaded table has every history column as an integer column.
bool HasHistoryColumns(const TableStore& table, std::string* error) {
  for (const char* column : kHistoryColumns) {
    bool found = false;
    for (const FieldDef& field : table.Fields()) {
      if (strcasecmp(field.name.c_str(), column) == 0) {
        if (field.type != FieldType::kInteger) {
          *error = std::string("Field '") + column + "' is not an integer field";
          return false;
        }
        found = true;
      }
    }
    if (!found) {
      *error = std::string("Field '") + column + "' not found";
      return false;
    }
  }
  return true;
}

// One more, never past the largest value a counter holds.
int32_t Plus1(int32_t value) {
  return value == std::numeric_limits<int32_t>::max() ? value : value + 1;
}

}  // namespace

namespace {

// The counters in the order of their columns (kHistoryColumns after Auto1).
constexpr std::array<int32_t HistoryCounterValues::*, 11> kCounterMembers = {
    &HistoryCounterValues::FailedCount,
    &HistoryCounterValues::Hint0Count,
    &HistoryCounterValues::Hint1Count,
    &HistoryCounterValues::Hint2Count,
    &HistoryCounterValues::SolvedCount,
    &HistoryCounterValues::FailedCountBeforeSolve,
    &HistoryCounterValues::Hint0CountBeforeSolve,
    &HistoryCounterValues::Hint1CountBeforeSolve,
    &HistoryCounterValues::Hint2CountBeforeSolve,
    &HistoryCounterValues::TakebackBeforeSolve,
    &HistoryCounterValues::StudyBeforeSolve,
};
static_assert(std::size(kHistoryColumns) == kCounterMembers.size() + 1);

}  // namespace

HistoryColumns::HistoryColumns(const TableStore& history)
    : number(history.FieldPosition(kHistoryColumns[0])) {
  for (size_t i = 0; i < counters.size(); ++i)
    counters[i] = history.FieldPosition(kHistoryColumns[i + 1]);
}

HistoryCounterValues ReadHistoryRow(const TableStore& history, const HistoryColumns& columns) {
  HistoryCounterValues c;
  for (size_t i = 0; i < kCounterMembers.size(); ++i)
    c.*kCounterMembers[i] = history.AsIntegerAt(columns.counters[i]);
  return c;
}

HistoryCounterValues ReadHistoryRow(const TableStore& history) {
  return ReadHistoryRow(history, HistoryColumns(history));
}

History::History(std::string path, Localizer text)
    : path_(std::move(path)), text_(std::move(text)), table_(kHistoryTableName), file_(path_) {}

void History::KeepFromWriting(std::string reason) { notWritingReason_ = std::move(reason); }

bool History::CreateFresh() {
  std::vector<FieldDef> fields;
  for (const char* column : kHistoryColumns) fields.push_back({column, FieldType::kInteger});
  table_.DefineFields(std::move(fields));
  return table_.CreateDataSet(nullptr) && table_.AddIndex("ByAuto1", "Auto1", "primary", nullptr) &&
         table_.SetOrdering("Auto1", nullptr);
}

std::string History::Open() {
  storageError_.clear();
  pending_.clear();
  storageFailing_ = false;
  writable_ = notWritingReason_.empty();
  const std::string notWriting =
      writable_ ? std::string()
                : "Your progress cannot be saved in this run: " + notWritingReason_ + ".";
  if (!Exists(path_)) {
    CreateFresh();
    return notWriting;
  }
  std::string error;
  if (table_.LoadFromFile(path_, &error) && HasHistoryColumns(table_, &error) &&
      table_.AddIndex("ByAuto1", "Auto1", "primary", &error) &&
      table_.SetOrdering("Auto1", &error)) {
    return notWriting;
  }
  const bool unavailable = table_.LastLoadFailure() == LoadFailure::kUnavailable;
  table_.Close();
  CreateFresh();
  // The messages below name the file themselves.
  if (const std::string named = "\"" + path_ + "\": "; error.rfind(named, 0) == 0) {
    error.erase(0, named.size());
  }
  if (unavailable) {
    // Nothing is wrong with the file itself: keep it, and add this run's counts to its rows.
    return "The history file \"" + path_ + "\" could not be read now (" + error +
           "). It was left as it is; your earlier progress is not shown in this run, and what "
           "you do now is added to it." +
           (notWriting.empty() ? "" : " " + notWriting);
  }

  // Keep the unreadable file (and any journal of it) under a name of its own.
  std::string kept;
  for (int n = 1; n < 1000 && kept.empty(); ++n) {
    std::string candidate = path_ + ".unreadable";
    if (n > 1) candidate.append("-").append(std::to_string(n));
    if (!Exists(candidate) && !Exists(candidate + "-journal")) kept = candidate;
  }
  if (writable_ && !kept.empty() && std::rename(path_.c_str(), kept.c_str()) == 0) {
    if (Exists(path_ + "-journal")) {
      std::rename((path_ + "-journal").c_str(), (kept + "-journal").c_str());
    }
    return text_.Say(Text::kHistorySetAside, {path_, error, kept});
  }
  writable_ = false;
  return text_.Say(Text::kHistoryNotSetAside, {path_, error});
}

bool History::PlaceOnProblem(int number) {
  if (!table_.Active()) return false;
  return table_.FindKey({FieldValue{static_cast<int32_t>(number)}});
}

void History::SetLabel(CounterLabel label, std::string text) {
  labels_[static_cast<size_t>(label)] = text;
  if (OnLabelChanged) OnLabelChanged(label, text);
}

void History::SetSolvedCount(int32_t value) {
  counters_.SolvedCount = value;
  if (OnSolvedCountChanged) OnSolvedCountChanged(value);
}

std::string History::CountText(Text prefix, int32_t n) const {
  return text_.Say(prefix) + std::to_string(n);
}

void History::ShowCounters(int position) {
  counters_ = ReadHistoryRow(table_);
  SetSolvedCount(counters_.SolvedCount);

  const std::string number = std::to_string(position + 1);
  SetLabel(CounterLabel::kStdResult, text_.Say(Text::kProblemNumber, {number}));
  SetLabel(CounterLabel::kSuccess,
           counters_.SolvedCount > 0 ? text_.Say(Text::kSolved) : std::string());
  const HistoryCounterValues& c = counters_;
  SetLabel(CounterLabel::kFailure,
           c.FailedCount > 0 ? CountText(Text::kFailureCount, c.FailedCount) : "");
  SetLabel(CounterLabel::kHint0,
           c.Hint0Count > 0 ? CountText(Text::kHint0Count, c.Hint0Count) : "");
  SetLabel(CounterLabel::kHint1,
           c.Hint1Count > 0 ? CountText(Text::kHint1Count, c.Hint1Count) : "");
  SetLabel(CounterLabel::kTakeback,
           c.TakebackBeforeSolve > 0
               ? CountText(Text::kTakebackCount, c.TakebackBeforeSolve)
               : "");
  SetLabel(CounterLabel::kStudy,
           c.StudyBeforeSolve > 0 ? CountText(Text::kStudyCount, c.StudyBeforeSolve) : "");
}

void History::WriteColumns(std::initializer_list<std::pair<const char*, int32_t>> columns,
                           HistoryChange change) {
  storageError_.clear();
  if (!table_.Edit()) {
    storageError_ = "No history row to write";
    return;
  }
  for (const auto& [name, value] : columns) table_.SetInteger(name, value);
  // Rows the collection loads added and the file may lack go with this change.
  const bool rowsWaiting = table_.ChangeCount() > 0;
  if (!table_.Post(&storageError_)) {
    table_.Cancel();
    return;
  }
  if (!writable_) return;
  change.number = table_.AsInteger("Auto1");
  pending_.push_back(std::move(change));
  FlushCounted(rowsWaiting);
}

void History::FlushCounted(bool allRows) {
  if (Flush(allRows, &storageError_) || storageFailing_) return;
  storageFailing_ = true;
  if (OnStorageProblem) {
    OnStorageProblem("Your progress cannot be saved for now.\n\n" + storageError_ +
                     ".\n\nYou can go on playing: what you do is kept and written into the "
                     "history file as soon as that works again.");
  }
}

bool History::Flush(bool allRows, std::string* error) {
  std::vector<int32_t> rows;
  if (allRows) {
    // Walk the rows, then put the cursor back on the open problem's row.
    const bool placed = !table_.Eof() || !table_.Bof();
    const int32_t current = table_.AsInteger("Auto1");
    for (table_.First(); !table_.Eof(); table_.Next()) {
      if (!table_.IsNull("Auto1")) rows.push_back(table_.AsInteger("Auto1"));
    }
    if (placed) PlaceOnProblem(current);
  }
  std::string message;
  if (!file_.Write(rows, pending_, &message)) {
    if (error) *error = message;
    return false;
  }
  pending_.clear();
  table_.MergeChangeLog();
  storageFailing_ = false;
  return true;
}

void History::CountSolved() {
  SetSolvedCount(Plus1(counters_.SolvedCount));
  SetLabel(CounterLabel::kSuccess, text_.Say(Text::kSolved));
  WriteColumns({{"SolvedCount", counters_.SolvedCount}}, {{}, {{"SolvedCount", 1}}, false});
}

void History::CountFailure() {
  const bool beforeSolve = counters_.SolvedCount < 1;
  counters_.FailedCount = Plus1(counters_.FailedCount);
  if (beforeSolve) counters_.FailedCountBeforeSolve = Plus1(counters_.FailedCountBeforeSolve);
  WriteColumns({{"FailedCount", counters_.FailedCount},
                {"FailedCountBeforeSolve", counters_.FailedCountBeforeSolve}},
               {{}, {{"FailedCount", 1}, {"FailedCountBeforeSolve", beforeSolve ? 1 : 0}}, false});
  SetLabel(CounterLabel::kFailure, CountText(Text::kFailureCount, counters_.FailedCount));
}

void History::CountTakeback() {
  if (table_.AsInteger("SolvedCount") >= 1) return;
  counters_.TakebackBeforeSolve = Plus1(counters_.TakebackBeforeSolve);
  SetLabel(CounterLabel::kTakeback,
           CountText(Text::kTakebackCount, counters_.TakebackBeforeSolve));
  WriteColumns({{"TakebackBeforeSolve", counters_.TakebackBeforeSolve}},
               {{}, {{"TakebackBeforeSolve", 1}}, false});
}

void History::CountTryMove() {
  if (table_.AsInteger("SolvedCount") >= 1) return;
  counters_.StudyBeforeSolve = Plus1(counters_.StudyBeforeSolve);
  SetLabel(CounterLabel::kStudy, CountText(Text::kStudyCount, counters_.StudyBeforeSolve));
  WriteColumns({{"StudyBeforeSolve", counters_.StudyBeforeSolve}},
               {{}, {{"StudyBeforeSolve", 1}}, false});
}

void History::CountHint(int kind) {
  HistoryCounterValues& c = counters_;
  const bool beforeSolve = c.SolvedCount == 0;
  int32_t* count = nullptr;
  int32_t* countBeforeSolve = nullptr;
  switch (kind) {
    case 0:
      count = &c.Hint0Count;
      countBeforeSolve = &c.Hint0CountBeforeSolve;
      break;
    case 1:
      count = &c.Hint1Count;
      countBeforeSolve = &c.Hint1CountBeforeSolve;
      break;
    case 2:
      count = &c.Hint2Count;
      countBeforeSolve = &c.Hint2CountBeforeSolve;
      break;
    default:
      return;
  }
  *count = Plus1(*count);
  if (beforeSolve) *countBeforeSolve = Plus1(*countBeforeSolve);
  const std::string column = "Hint" + std::to_string(kind) + "Count";
  SetLabel(CounterLabel::kHint0, CountText(Text::kHint0Count, c.Hint0Count));
  SetLabel(CounterLabel::kHint1, CountText(Text::kHint1Count, c.Hint1Count));
  WriteColumns({{"Hint0Count", c.Hint0Count},
                {"Hint1Count", c.Hint1Count},
                {"Hint2Count", c.Hint2Count},
                {"Hint0CountBeforeSolve", c.Hint0CountBeforeSolve},
                {"Hint1CountBeforeSolve", c.Hint1CountBeforeSolve},
                {"Hint2CountBeforeSolve", c.Hint2CountBeforeSolve}},
               {{}, {{column, 1}, {column + "BeforeSolve", beforeSolve ? 1 : 0}}, false});
}

bool History::ResetSolvedFlag() {
  if (!table_.Active()) return false;
  SetSolvedCount(0);
  WriteColumns({{"SolvedCount", 0}}, {{}, {}, true});
  SetLabel(CounterLabel::kSuccess, "");
  return true;
}

bool History::ClearAllSolvedFlags(int currentProblem) {
  if (!table_.Active()) return false;
  storageError_.clear();
  const bool rowsWaiting = table_.ChangeCount() > 0;
  for (table_.First(); !table_.Eof(); table_.Next()) {
    if (table_.Edit()) {
      table_.SetInteger("SolvedCount", 0);
      if (!table_.Post(&storageError_)) table_.Cancel();
    }
  }
  if (currentProblem >= 0) PlaceOnProblem(currentProblem);
  if (writable_) {
    pending_.push_back({std::nullopt, {}, true});
    FlushCounted(rowsWaiting);
  }
  SetLabel(CounterLabel::kSuccess, "");
  return true;
}

bool History::Save(std::string* error) {
  if (!table_.Active() || (table_.ChangeCount() == 0 && pending_.empty())) return true;
  if (!writable_) {
    if (error) {
      *error = notWritingReason_.empty()
                   ? "The history file was not read, so it is not overwritten"
                   : "Progress is not saved in this run: " + notWritingReason_;
    }
    return false;
  }
  return Flush(true, error);
}

}  // namespace zendra
