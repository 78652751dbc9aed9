#include "app/library_session.h"

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
  impl_->history.OnLabelChanged = [this](CounterLabel label, const std::string& value) {
    if (OnLabelChanged) OnLabelChanged(static_cast<int>(label), value);
  };
  impl_->history.OnSolvedCountChanged = [this](int32_t value) {
    if (OnSolvedCountChanged) OnSolvedCountChanged(value);
  };
}

LibrarySession::~LibrarySession() = default;

const std::string& LibrarySession::DataFile() const { return impl_->database.DataFilePath(); }
const std::string& LibrarySession::HistoryFile() const { return impl_->history.Path(); }

std::string LibrarySession::OpenHistory() { return impl_->history.Open(); }

CollectionResult LibrarySession::OpenCollection(int group) {
  const ProblemDatabase::CollectionLoad load =
      impl_->database.OpenCollection(group, impl_->history.Table(), impl_->text);
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
