// A source of problems that is not the one open: a data file with its history and its
// attempts, read once for reviews, practice and statistics and never written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/review_file.h"
#include "library/review_pool.h"

namespace zendra {

class StoredSource : public PracticeSource {
 public:
  // The problems of `dataFile`, the history in `historyFile` and the attempts beside it
  // (ReviewPathFor); days counted with `utcOffsetSeconds`. Nothing is read yet.
  StoredSource(std::string name, std::string dataFile, std::string historyFile,
               int32_t utcOffsetSeconds);

  // Reads the three files. A file that is missing counts as empty; one that cannot be read
  // leaves its part empty and is named in the returned text (empty when all went well). No
  // file is written, renamed or created.
  std::string Load();

  std::string Name() const override { return name_; }
  std::vector<PoolProblem> Problems() override { return problems_; }
  const std::vector<Attempt>& Attempts() const override { return review_.Attempts(); }
  const ReviewSchedule& Schedule() const override { return review_.Schedule(); }

  const std::string& DataFile() const { return dataFile_; }
  const std::string& HistoryFile() const { return historyFile_; }

 private:
  std::string name_;
  std::string dataFile_;
  std::string historyFile_;
  std::vector<PoolProblem> problems_;
  ReviewLog review_;
};

}  // namespace zendra
