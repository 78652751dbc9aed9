// The main window's problem library: the problem table with the open collection, the history
// table with the open problem's counters, and the level estimate, behind one small interface.
// It keeps the library's own headers out of the window's translation units.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "language/language.h"
#include "library/history_counter.h"
#include "library/problem_record.h"
#include "library/review_pool.h"

namespace zendra {

// The outcome of a collection load.
struct CollectionResult {
  bool loaded = false;      // the list now holds the collection's entries
  bool dataError = false;   // the data-error sound goes with the message
  bool soundFirst = false;  // the sound plays before the message (no table at all)
  std::string message;      // empty when there is nothing to tell
};

class LibrarySession {
 public:
  // Reads problems from `dataFile` and keeps the history in `historyFile`; nothing is read yet.
  LibrarySession(std::string dataFile, std::string historyFile, Localizer text);
  ~LibrarySession();
  LibrarySession(const LibrarySession&) = delete;
  LibrarySession& operator=(const LibrarySession&) = delete;

  const std::string& DataFile() const;
  const std::string& HistoryFile() const;
  // Leaves the files in use (without saving) for `dataFile` and `historyFile`; nothing is read
  // yet: open the history and a collection next.
  void Reopen(std::string dataFile, std::string historyFile);

  // Loads or creates the history table; a text for the user when the old file could not be
  // read (it was set aside, or left as it was for now), else empty.
  std::string OpenHistory();
  // This run writes no history file, for `reason` (said by OpenHistory). Call before it.
  void KeepHistoryFromWriting(const std::string& reason);
  // Opens collection `group` and builds its problem list.
  CollectionResult OpenCollection(int group);
  // The next OpenCollection opens a number read from the settings: when the data file holds
  // no problem of that collection, the first collection it holds opens instead, with a message.
  void NextCollectionFromSettings() { fromSettings_ = true; }
  // The collection loaded last, -1 before any load succeeded.
  int OpenCollectionNumber() const;
  // The problem list of the open collection.
  const std::vector<std::string>& ProblemList() const;
  // The problem of the list entry at `position`; nothing when there is no such entry or the
  // table no longer holds its problem.
  std::optional<ProblemRecord> ProblemAt(int position);

  // The open problem's counting.
  HistoryCounter& Counter();
  // History cursor on problem `number`'s row; false when it has none.
  bool PlaceOnProblem(int number);
  // Loads the counters of the row under the cursor and writes the labels.
  void ShowCounters(int position);
  // "Reset solved flag"; false when the history is not open.
  bool ResetSolvedFlag();
  // "Clear all solved flags" after the user said Yes; the history cursor returns to the problem
  // on which the problem table stands. False when the history is not open.
  bool ClearAllSolvedFlags();
  // Writes the history file when it changed; false with `error` when writing failed.
  bool SaveHistory(std::string* error);
  // True when the history has changes not yet saved.
  bool HistoryChanged() const;
  // The "What level I'm at" text.
  std::string LevelMessage();
  // The estimate behind it (0 when it tells nothing).
  int LevelEstimateNumber();

  // ---- Reviews and practice (the attempts kept in Review1.cds beside the history file) -------

  // Every problem of the data file (all collections; the last collection load read them) with
  // its history counters.
  std::vector<PoolProblem> AllProblems();
  // The data file's problems and attempts as one source of problems for reviews and practice.
  PracticeSource& Source();
  // Makes `numbers` the problem list, a collection of their own (see
  // ProblemDatabase::OpenSelection).
  void OpenSelection(const std::vector<int32_t>& numbers);
  // Called with every graded attempt of the open problem.
  std::function<void(const Attempt& attempt)> OnGraded;

  // Called with each counter label the history writes: 0 LabelStdResult, 1 LabelSuccessCount,
  // 2 LabelFailureCount, 3 LabelHint0Count, 4 LabelHint1Count, 5 LabelTakebackCount,
  // 6 LabelStudyCount.
  std::function<void(int label, const std::string& text)> OnLabelChanged;
  // Called with the open problem's new solved count.
  std::function<void(int solvedCount)> OnSolvedCountChanged;
  // Called once when counted progress cannot be written, with a plain text for the player.
  std::function<void(const std::string& text)> OnStorageProblem;

 private:
  struct Impl;
  class DataFileSource;
  void HookHistory();  // forwards the history's label and count changes
  std::unique_ptr<Impl> impl_;
  bool fromSettings_ = false;
  bool reviewFailing_ = false;  // the player was told the review file cannot be written
};

}  // namespace zendra
