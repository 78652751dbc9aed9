#include "library/review_stored_source.h"

#include <utility>

#include "library/history.h"
#include "library/problem_database.h"

namespace zendra {

StoredSource::StoredSource(std::string name, std::string dataFile, std::string historyFile,
                           int32_t utcOffsetSeconds)
    : name_(std::move(name)),
      dataFile_(std::move(dataFile)),
      historyFile_(std::move(historyFile)),
      review_(ReviewPathFor(historyFile_), utcOffsetSeconds) {
  review_.KeepFromWriting();
}

std::string StoredSource::Load() {
  std::string message;
  const auto tell = [&message](const std::string& text) {
    if (!text.empty()) message += (message.empty() ? "" : "\n") + text;
  };
  // Kept from writing, the history neither sets an unreadable file aside nor creates one. Its
  // text is not passed on: it speaks of this run's progress, and a history that cannot be read
  // is told when its collection opens; here it counts as one without rows.
  History history(historyFile_, Localizer{});
  history.KeepFromWriting("it belongs to a collection that is not open");
  history.Open();
  ProblemDatabase database(dataFile_);
  std::string error;
  if (database.LoadDataFile(&error)) {
    problems_ = PoolOf(database.Problems(), history.Table());
  } else {
    problems_.clear();
    tell(error);
  }
  review_.SeedMissed(MissedProblems(history.Table()));
  tell(review_.Open());
  return message;
}

}  // namespace zendra
