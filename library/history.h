// The per-problem history: one row of counters per problem in the table "History" of the file
// History1.cds, the counters of the open problem held in memory, and the texts of the counter
// labels.
//
// Every counted event is written into the file at once, as an in-place change of its row in one
// SQLite transaction (see history_file.h), so a crash loses nothing already counted and a second
// writer's counts are kept. When the file cannot be written (a full disk, a read-only folder,
// another program holding it), the events wait in memory, the player is told once, and they are
// written with the next event or at close, as soon as writing works again. Saving at close adds
// the rows the collection loads made, and writes nothing when nothing changed.
// A history file whose content cannot be read is never overwritten: it is renamed beside itself
// and a fresh table is started. One that cannot be read for the moment (locked past the wait,
// an I/O error) is left where it is.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "language/language.h"
#include "library/history_counter.h"
#include "library/history_file.h"
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

// The positions of the number and the counters among a history table's fields, found once for
// reading many rows.
struct HistoryColumns {
  explicit HistoryColumns(const TableStore& history);
  int number = -1;                 // Auto1
  std::array<int, 11> counters{};  // in the order of HistoryCounterValues
};
// ReadHistoryRow, the columns found beforehand.
HistoryCounterValues ReadHistoryRow(const TableStore& history, const HistoryColumns& columns);

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
  // primary index "ByAuto1" and orders by "Auto1". A file whose content cannot be read (not
  // SQLite, a column missing, a problem twice) is renamed to "<path>.unreadable" (or "-2",
  // "-3"...) and a fresh table is started; the returned text, empty when all went well, says so
  // for the user. When even the rename fails, the file is left alone and this run writes no
  // history file. A file that cannot be read now (held by another program past the wait, an
  // I/O error) stays as it is: a fresh table is started and this run's counts are added to the
  // file's rows when it can be written; the returned text says so.
  std::string Open();
  // How long reading (at Open) and writing wait for a file another program holds locked;
  // 10 s and 2 s unless set.
  void SetBusyWaitMs(int readMs, int writeMs) {
    table_.SetBusyWaitMs(readMs);
    file_.SetBusyWaitMs(writeMs);
  }
  // This run must not write the history file (another copy of the program may be writing it);
  // `reason` is said to the player by the next Open. Call before Open.
  void KeepFromWriting(std::string reason);

  // Puts the table's cursor on the row of problem `number`; false when it has none.
  bool PlaceOnProblem(int number);
  // Loads the open problem's counters from the current row and fills the labels; `position`
  // is the problem's 0-based index in the problem list.
  void ShowCounters(int position);

  // The counting of the solving controller (see HistoryCounter). Each updates the counters in
  // memory and its labels and the current row, and writes the change into the file with every
  // change still waiting; a storage failure is kept in LastStorageError() and reported once
  // through OnStorageProblem.
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

  // At close: when the table has unsaved changes (rows the collection loads added) or changes
  // are waiting, writes them into the file and merges the change log. Nothing is written
  // without changes. False with `error` when the write failed (the changes keep waiting).
  bool Save(std::string* error);
  // The changes counted but not yet in the file.
  size_t PendingChanges() const { return pending_.size(); }

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
  // Called once when counted progress cannot be written into the file, with a plain text for
  // the player saying why; again only after a later write has worked.
  std::function<void(const std::string&)> OnStorageProblem;

 private:
  void SetLabel(CounterLabel label, std::string text);
  void SetSolvedCount(int32_t value);
  std::string CountText(Text prefix, int32_t n) const;
  void WriteColumns(std::initializer_list<std::pair<const char*, int32_t>> columns,
                    HistoryChange change);
  // Writes the waiting changes (and, with `allRows`, a row for every row of the table).
  bool Flush(bool allRows, std::string* error);
  // Flush after a count; tells OnStorageProblem when writing stops working.
  void FlushCounted(bool allRows);
  bool CreateFresh();

  std::string path_;
  Localizer text_;
  TableStore table_;
  HistoryFile file_;
  bool writable_ = true;
  std::string notWritingReason_;  // why this run keeps from writing, from KeepFromWriting
  std::vector<HistoryChange> pending_;
  bool storageFailing_ = false;  // the player has been told; reset by a write that works
  HistoryCounterValues counters_;
  std::array<std::string, kCounterLabelCount> labels_;
  std::string storageError_;
};

}  // namespace zendra
