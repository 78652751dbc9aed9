#include "app/library_session.h"

#include <utility>

#include "library/history.h"
#include "library/level_estimate.h"
#include "library/problem_database.h"

namespace zendra {

struct LibrarySession::Impl {
  Impl(std::string dataFile, std::string historyFile, Localizer localizer)
      : text(std::move(localizer)),
        database(std::move(dataFile)),
        history(std::move(historyFile), text) {}
  Localizer text;
  ProblemDatabase database;
  History history;
};

LibrarySession::LibrarySession(std::string dataFile, std::string historyFile, Localizer text)
    : impl_(std::make_unique<Impl>(std::move(dataFile), std::move(historyFile), std::move(text))) {
  HookHistory();
}

void LibrarySession::Reopen(std::string dataFile, std::string historyFile) {
  Localizer text = impl_->text;
  impl_ = std::make_unique<Impl>(std::move(dataFile), std::move(historyFile), std::move(text));
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
}

LibrarySession::~LibrarySession() = default;

const std::string& LibrarySession::DataFile() const { return impl_->database.DataFilePath(); }
const std::string& LibrarySession::HistoryFile() const { return impl_->history.Path(); }

std::string LibrarySession::OpenHistory() { return impl_->history.Open(); }

void LibrarySession::KeepHistoryFromWriting(const std::string& reason) {
  impl_->history.KeepFromWriting(reason);
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

HistoryCounter& LibrarySession::Counter() { return impl_->history; }

bool LibrarySession::PlaceOnProblem(int number) { return impl_->history.PlaceOnProblem(number); }

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

}  // namespace zendra
