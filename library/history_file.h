// The history file as it is written during a run: each counted event is an in-place change of
// one problem's row (`FailedCount = FailedCount + 1`, never values read earlier), applied in
// one SQLite transaction. Rows are keyed by the problem number (`Auto1`, unique), so two
// programs writing the same file each add their own counts and never overwrite the other's
// rows; nothing here rewrites the table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zendra {

// One change to the history table.
struct HistoryChange {
  // The problem whose row changes (the row is made when missing); nothing: every row.
  std::optional<int32_t> number;
  // Counters raised by the given amounts (a null counter counts as 0; never beyond INT32_MAX).
  std::vector<std::pair<std::string, int32_t>> raise;
  // `SolvedCount` set to 0 (after the raises).
  bool clearSolved = false;
};

class HistoryFile {
 public:
  // The file at `path`, table "History"; nothing is opened yet.
  explicit HistoryFile(std::string path);

  // How long a write waits for the file while another program holds it: 2 s unless set (the
  // window waits meanwhile).
  void SetBusyWaitMs(int ms) { busyWaitMs_ = ms; }

  // In one transaction: makes the file (table "History" with the twelve integer columns) when
  // it has none, makes a row for each number in `rows` that has none, then applies `changes`
  // in their order. False with `error` (naming the file and the reason) when any of it fails;
  // the file is then as it was.
  bool Write(const std::vector<int32_t>& rows, const std::vector<HistoryChange>& changes,
             std::string* error) const;

 private:
  std::string path_;
  int busyWaitMs_ = 2000;
};

}  // namespace zendra
