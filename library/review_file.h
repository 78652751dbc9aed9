// The attempts behind the review schedule, kept in "Review1.cds" beside the history file: an
// SQLite database with one table "Attempts", a row per graded attempt. Rows are only ever
// added, each in its own transaction at the moment the attempt is graded, so a crash loses
// nothing already graded and two programs writing the file keep each other's rows. The
// history file is not touched.
//
//   Attempts (Time INTEGER, Auto1 INTEGER, Level1 INTEGER, Outcome INTEGER, Results INTEGER,
//             Hints INTEGER, Takebacks INTEGER, Millis INTEGER)
//
// Time is seconds since 1970 (UTC), Outcome 0 clean, 1 take-backs, 2 hints, 3 failed.
#pragma once

#include <string>
#include <vector>

#include "library/review_schedule.h"

namespace zendra {

// The file name beside the history file.
inline constexpr const char* kReviewFileName = "Review1.cds";
// The table name inside it.
inline constexpr const char* kAttemptsTableName = "Attempts";
// The latest time a row may carry (the year 3000); later ones refuse the file.
inline constexpr int64_t kLatestAttemptTime = 32503680000LL;

class ReviewFile {
 public:
  explicit ReviewFile(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  // How long reading and writing wait for a file another program holds: 2 s unless set.
  void SetBusyWaitMs(int ms) { busyWaitMs_ = ms; }

  // Reads every row in the order written (a write a crash cut short is rolled back first). A
  // missing file reads as none. False with `error` (naming the file and the fault: not SQLite,
  // no table, a column missing, a value of the wrong type or out of range, with its row) for
  // anything else; `attempts` is then empty. `unavailable`, when given, tells a file that could
  // not be read for now (held by another program past the wait, an I/O error, no permission)
  // from one whose content is wrong.
  bool Read(std::vector<Attempt>* attempts, std::string* error,
            bool* unavailable = nullptr) const;
  // In one transaction: makes the file and the table when missing, then adds `attempts`.
  // False with `error` when any of it fails; the file is then as it was.
  bool Append(const std::vector<Attempt>& attempts, std::string* error) const;

 private:
  std::string path_;
  int busyWaitMs_ = 2000;
};

// The attempts of one history file and their schedule, as the program keeps them during a run.
class ReviewLog {
 public:
  // The log in `path`, days counted with `utcOffsetSeconds`; nothing read yet.
  ReviewLog(std::string path, int32_t utcOffsetSeconds);

  // Reads the file. One whose content cannot be read is renamed to "<path>.unreadable" (then
  // "-2", ...) and the log starts empty; the returned text, empty when all went well, says so.
  // One that cannot be read for now, or whose rename fails, is left as it is and this run
  // writes nothing into it.
  std::string Open();
  // This run writes nothing into the file (another copy of the program may be writing it).
  void KeepFromWriting() { keep_ = true; }
  // Problems the history shows as missed: scheduled from the start. Call before or after Open.
  void SeedMissed(const std::vector<int32_t>& numbers);

  // Adds a graded attempt to the schedule and writes it (with any waiting) into the file. False
  // with LastError() when the write failed: the attempt then waits for the next write.
  bool Record(const Attempt& attempt);

  const std::vector<Attempt>& Attempts() const { return attempts_; }
  const ReviewSchedule& Schedule() const { return schedule_; }
  size_t Pending() const { return pending_.size(); }
  const std::string& LastError() const { return error_; }
  void SetBusyWaitMs(int ms) { file_.SetBusyWaitMs(ms); }

 private:
  ReviewFile file_;
  ReviewSchedule schedule_;
  std::vector<int32_t> seeds_;
  std::vector<Attempt> attempts_;
  std::vector<Attempt> pending_;
  bool writable_ = true;
  bool keep_ = false;
  std::string error_;
};

// The review file beside the history file at `historyPath`.
std::string ReviewPathFor(const std::string& historyPath);

}  // namespace zendra
