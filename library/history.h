// The per-problem history: one row of counters per problem in the table "History" of the file
// History1.cds, the counters of the open problem held in memory, and the texts of the counter
// labels.
//
// Every counted event is written into the file at once, in one SQLite transaction, so a crash
// loses nothing already counted; saving at close rewrites the file only when something changed.
// A history file that cannot be read is never overwritten: it is renamed beside itself and a
// fresh table is started.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "language/language.h"
#include "library/history_counter.h"
#include "library/table_store.h"

namespace zendra {

// The table name inside the history file.
inline constexpr const char* kHistoryTableName = "History";

// The counters of one problem, as stored in its history row (null reads as 0).
struct HistoryCounterValues {
  int32_t FailedCount = 0;
  int32_t Hint0Count = 0;
  int32_t Hint1Count = 0;
  int32_t Hint2Count = 0;
  int32_t SolvedCount = 0;
  int32_t FailedCountBeforeSolve = 0;
  int32_t Hint0CountBeforeSolve = 0;
  int32_t Hint1CountBeforeSolve = 0;
  int32_t Hint2CountBeforeSolve = 0;
  int32_t TakebackBeforeSolve = 0;
  int32_t StudyBeforeSolve = 0;
};

// The counters of the row on which `history` stands.
HistoryCounterValues ReadHistoryRow(const TableStore& history);

// The labels of the problem page that the history writes, top to bottom.
enum class CounterLabel { kStdResult, kSuccess, kFailure, kHint0, kHint1, kTakeback, kStudy };
inline constexpr int kCounterLabelCount = 7;

// The history table's columns, in their order.
inline constexpr const char* kHistoryColumns[] = {
    "Auto1",
    "FailedCount",
    "Hint0Count",
    "Hint1Count",
    "Hint2Count",
    "SolvedCount",
    "FailedCountBeforeSolve",
    "Hint0CountBeforeSolve",
    "Hint1CountBeforeSolve",
    "Hint2CountBeforeSolve",
    "TakebackBeforeSolve",
    "StudyBeforeSolve",
};

class History : public HistoryCounter {
 public:
  // A closed history kept in the file at `path`, with label texts in the language of `text`.
  History(std::string path, Localizer text);

  // The history file.
  const std::string& Path() const { return path_; }
  // The history table (the collection load adds rows to it).
  TableStore& Table() { return table_; }
  const TableStore& Table() const { return table_; }

  // Loads the history file, or creates an empty table when there is none, then adds the
  // primary index "ByAuto1" and orders by "Auto1". A file that cannot be read (or lacks a
  // column, or repeats a problem) is renamed to "<path>.unreadable" (or "-2", "-3"...) and a
  // fresh table is started; the returned text, empty when all went well, says so for the user.
  // When even the rename fails, the file is left alone and this run writes no history file.
  std::string Open();

  // Puts the table's cursor on the row of problem `number`; false when it has none.
  bool PlaceOnProblem(int number);
  // Loads the open problem's counters from the current row and fills the labels; `position`
  // is the problem's 0-based index in the problem list.
  void ShowCounters(int position);

  // The counting of the solving controller (see HistoryCounter). Each updates the counters in
  // memory and its labels, writes the changed columns into the current row and makes the row
  // durable in the file; a storage failure is kept in LastStorageError().
  void CountSolved() override;
  void CountFailure() override;
  void CountTakeback() override;
  void CountTryMove() override;
  void CountHint(int kind) override;

  // Menu "Reset solved flag": the open problem's solved count becomes 0 in memory and in its
  // row, the success label empties. False (nothing done) when the table is not open.
  bool ResetSolvedFlag();
  // Menu "Clear all solved flags", after the user confirmed: every row's solved count becomes
  // 0; the cursor then returns to the row of `currentProblem` (-1: none). The counters in
  // memory keep their values. False when the table is not open.
  bool ClearAllSolvedFlags(int currentProblem);

  // At close: when the table has unsaved changes, merges them and rewrites the file (a new
  // file renamed over the old one). Nothing is written without changes. False with `error`
  // when the write failed.
  bool Save(std::string* error);

  // The open problem's counters in memory.
  const HistoryCounterValues& Counters() const { return counters_; }
  // The text the history last wrote into a label.
  const std::string& Label(CounterLabel label) const { return labels_[static_cast<size_t>(label)]; }
  // The reason the last count could not be made durable; empty when it was.
  const std::string& LastStorageError() const { return storageError_; }

  // Called with each label text the history writes.
  std::function<void(CounterLabel, const std::string&)> OnLabelChanged;
  // Called with the open problem's new solved count, for the solved mark of its entry.
  std::function<void(int32_t)> OnSolvedCountChanged;

 private:
  void SetLabel(CounterLabel label, std::string text);
  void SetSolvedCount(int32_t value);
  std::string CountText(Text prefix, int32_t n) const;
  void WriteColumns(std::initializer_list<std::pair<const char*, int32_t>> columns);
  bool CreateFresh();

  std::string path_;
  Localizer text_;
  TableStore table_;
  bool writable_ = true;
  HistoryCounterValues counters_;
  std::array<std::string, kCounterLabelCount> labels_;
  std::string storageError_;
};

}  // namespace zendra
