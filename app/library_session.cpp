#include "app/library_session.h"

#include <time.h>

#include <chrono>
#include <utility>

#include "library/history.h"
#include "library/level_estimate.h"
#include "library/problem_database.h"
#include "library/review_attempt.h"
#include "library/review_file.h"

namespace zendra {
namespace {

int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The local time's offset from UTC now, in seconds (days of the schedule are local days).
int32_t UtcOffsetNow() {
  const time_t now = time(nullptr);
  struct tm local {};
  if (!localtime_r(&now, &local)) return 0;
  return static_cast<int32_t>(local.tm_gmtoff);
}

}  // namespace
}  // namespace zendra

namespace zendra {

// The open data file as a source of problems: its problems with their history counters, and
// the attempts kept beside its history.
class LibrarySession::DataFileSource : public PracticeSource {
 public:
  explicit DataFileSource(LibrarySession& session) : session_(session) {}
  std::string Name() const override { return std::string(); }
  std::vector<PoolProblem> Problems() override { return session_.AllProblems(); }
  const std::vector<Attempt>& Attempts() const override;
  const ReviewSchedule& Schedule() const override;

 private:
  LibrarySession& session_;
};

struct LibrarySession::Impl {
  Impl(LibrarySession& session, std::string dataFile, std::string historyFile,
       Localizer localizer)
      : text(std::move(localizer)),
        database(std::move(dataFile)),
        history(std::move(historyFile), text),
        review(ReviewPathFor(history.Path()), UtcOffsetNow()),
        counter(history, review, NowSeconds, NowMs),
        source(session) {}
  Localizer text;
  ProblemDatabase database;
  History history;
  ReviewLog review;
  ReviewingCounter counter;
  DataFileSource source;
};

const std::vector<Attempt>& LibrarySession::DataFileSource::Attempts() const {
  return session_.impl_->review.Attempts();
}

const ReviewSchedule& LibrarySession::DataFileSource::Schedule() const {
  return session_.impl_->review.Schedule();
}

LibrarySession::LibrarySession(std::string dataFile, std::string historyFile, Localizer text)
    : impl_(std::make_unique<Impl>(*this, std::move(dataFile), std::move(historyFile),
                                   std::move(text))) {
  HookHistory();
}

void LibrarySession::Reopen(std::string dataFile, std::string historyFile) {
  Localizer text = impl_->text;
  impl_ = std::make_unique<Impl>(*this, std::move(dataFile), std::move(historyFile),
                                 std::move(text));
  HookHistory();
}

void LibrarySession::HookHistory() {
  impl_->history.OnLabelChanged = [this](CounterLabel label, const std::string& value) {
    if (OnLabelChanged) OnLabelChanged(static_cast<int>(label), value);
  };
  impl_->history.OnSolvedCountChanged = [this](int32_t value) {
    if (OnSolvedCountChanged) OnSolvedCountChanged(value);
  };
  impl_->history.OnStorageProblem = [this](const std::string& message) {
    if (OnStorageProblem) OnStorageProblem(message);
  };
  impl_->counter.OnGraded = [this](const Attempt& attempt, bool written) {
    // The history tells the player about storage trouble already; say it once for this file.
    // The history's own notice, when its file fails too, says what the player needs to know.
    if (!written && !reviewFailing_ && impl_->history.LastStorageError().empty() &&
        OnStorageProblem) {
      OnStorageProblem("The review schedule cannot be saved for now.\n\n" +
                       impl_->review.LastError() +
                       ".\n\nYour attempts are kept and written as soon as that works again.");
    }
    reviewFailing_ = !written;
    if (OnGraded) OnGraded(attempt);
  };
}

LibrarySession::~LibrarySession() = default;

const std::string& LibrarySession::DataFile() const { return impl_->database.DataFilePath(); }
const std::string& LibrarySession::HistoryFile() const { return impl_->history.Path(); }

std::string LibrarySession::OpenHistory() {
  std::string message = impl_->history.Open();
  // Problems the history shows as missed come to the reviews even without attempts kept.
  impl_->review.SeedMissed(MissedProblems(impl_->history.Table()));
  const std::string reviewMessage = impl_->review.Open();
  if (!reviewMessage.empty()) message += (message.empty() ? "" : "\n\n") + reviewMessage;
  return message;
}

void LibrarySession::KeepHistoryFromWriting(const std::string& reason) {
  impl_->history.KeepFromWriting(reason);
  impl_->review.KeepFromWriting();
}

CollectionResult LibrarySession::OpenCollection(int group) {
  ProblemDatabase::CollectionLoad load =
      impl_->database.OpenCollection(group, impl_->history.Table(), impl_->text);
  const bool fromSettings = std::exchange(fromSettings_, false);
  if (fromSettings && load.outcome == ProblemDatabase::Outcome::kLoaded &&
      impl_->database.ProblemList().empty()) {
    // The stored number names no collection of this data file: open the first one it holds.
    std::optional<int> first;
    TableStore& problems = impl_->database.Problems();
    for (problems.First(); !problems.Eof(); problems.Next()) {
      const int g = problems.AsInteger("Group1");
      if (!first || g < *first) first = g;
    }
    if (first) {
      load = impl_->database.OpenCollection(*first, impl_->history.Table(), impl_->text);
      if (load.outcome == ProblemDatabase::Outcome::kLoaded) {
        const std::string caption = CollectionCaption(*first, Localizer{});
        load.message = "The collection saved in the settings (" + std::to_string(group) +
                       ") is not in the data file \"" + impl_->database.DataFilePath() +
                       "\"; the first one it holds, " +
                       (caption.empty() ? std::to_string(*first) : caption) +
                       ", is opened instead.";
      }
    }
  }
  CollectionResult r;
  r.message = load.message;
  switch (load.outcome) {
    case ProblemDatabase::Outcome::kLoaded:
      r.loaded = true;
      break;
    case ProblemDatabase::Outcome::kMissingFile:
      break;
    case ProblemDatabase::Outcome::kLoadFailed:
      r.dataError = true;
      break;
    case ProblemDatabase::Outcome::kNoTable:
      r.dataError = true;
      r.soundFirst = true;
      break;
  }
  return r;
}

int LibrarySession::OpenCollectionNumber() const { return impl_->database.OpenCollectionNumber(); }

const std::vector<std::string>& LibrarySession::ProblemList() const {
  return impl_->database.ProblemList();
}

std::optional<ProblemRecord> LibrarySession::ProblemAt(int position) {
  return impl_->database.ProblemAt(position);
}

HistoryCounter& LibrarySession::Counter() { return impl_->counter; }

bool LibrarySession::PlaceOnProblem(int number) {
  // The problem is being opened: a new attempt begins.
  const int level = impl_->database.FindProblem(number)
                        ? impl_->database.Problems().AsInteger("Level1")
                        : 0;
  impl_->counter.Open(number, level);
  return impl_->history.PlaceOnProblem(number);
}

void LibrarySession::ShowCounters(int position) { impl_->history.ShowCounters(position); }

bool LibrarySession::ResetSolvedFlag() { return impl_->history.ResetSolvedFlag(); }

bool LibrarySession::ClearAllSolvedFlags() {
  const TableStore& problems = impl_->database.Problems();
  int current = -1;
  if (problems.Active() && !problems.Eof() && problems.RecordCount() > 0 &&
      !problems.IsNull("Auto1"))
    current = problems.AsInteger("Auto1");
  return impl_->history.ClearAllSolvedFlags(current);
}

bool LibrarySession::SaveHistory(std::string* error) { return impl_->history.Save(error); }

bool LibrarySession::HistoryChanged() const { return impl_->history.Table().ChangeCount() > 0; }

std::string LibrarySession::LevelMessage() {
  return EstimateLevel(impl_->database.Problems(), impl_->history.Table(), impl_->text).message;
}

int LibrarySession::LevelEstimateNumber() {
  return EstimateLevel(impl_->database.Problems(), impl_->history.Table(), impl_->text).level;
}

std::vector<PoolProblem> LibrarySession::AllProblems() {
  return PoolOf(impl_->database.Problems(), impl_->history.Table());
}

PracticeSource& LibrarySession::Source() { return impl_->source; }

void LibrarySession::OpenSelection(const std::vector<int32_t>& numbers) {
  impl_->database.OpenSelection(numbers, impl_->history.Table());
}

}  // namespace zendra
