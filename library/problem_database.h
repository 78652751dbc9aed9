// The problem table, its data file and the collection load.
//
// The data file is a ZIP archive whose member "Zendra.cds" is an SQLite database image holding
// the table "Problems". Opening a collection reloads the whole table from the data file, makes
// sure every problem of the collection has a history row, and builds the problem list: one text
// line per problem, "NNNNs r black white initial first" (NNNN the number in four upper-case
// hexadecimal digits, s the solved mark "1" or "0"). The text is for the grid's drawing; the
// number of each entry is kept beside it, so a list position answers its problem directly.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "language/language.h"
#include "library/problem_record.h"
#include "library/table_store.h"

namespace zendra {

// The member of the data file that holds the problem table.
inline constexpr const char* kProblemMemberName = "Zendra.cds";
// The table name inside that member.
inline constexpr const char* kProblemTableName = "Problems";
// The largest member the loader inflates.
inline constexpr long long kMaxMemberBytes = 256LL * 1024 * 1024;
// The longest solution stream (or any other value) a problem may hold. The importer takes at
// most 100,000 moves, about 5 MB of stream; a larger value refuses the load before it is read,
// so a collection costs memory in proportion to the problems it really holds.
inline constexpr int kMaxSolutionBytes = 16 * 1024 * 1024;

// The problem table's columns in their order: every one must be present in a data file.
const std::vector<FieldDef>& ProblemTableFields();

// The problem on which `problems` stands, read from its row (a null Result2 reads as none; the
// problem's own remark list when the table has the Remarks column).
ProblemRecord ReadProblemRow(const TableStore& problems);

// The problem-list entry of `problem`: the one formatter of the entry text (the grid reads it).
std::string ProblemEntry(const ProblemRecord& problem, bool solved);

// Extracts the member `name` of the ZIP archive at `path` (or held in `archive`) into `member`,
// an SQLite database image (or empty). Refuses, with a message, an unreadable archive, a
// missing or encrypted member, a compression other than stored or deflated, a member over
// kMaxMemberBytes, sizes the archive cannot hold, a member whose first bytes are no SQLite
// header for its size, and data that fails its checksum; nothing is inflated before the sizes
// are checked, and no more than the header before it is checked.
bool ExtractZipMember(const std::string& path, const std::string& name, std::string* member,
                      std::string* error);
bool ExtractZipMemberFromBytes(std::string_view archive, const std::string& name,
                               std::string* member, std::string* error);

class ProblemDatabase {
 public:
  enum class Outcome {
    kLoaded,       // the list holds the collection's entries
    kMissingFile,  // show the message; nothing changed
    kLoadFailed,   // show the message, then play the data-error sound; the table is as before
    kNoTable,      // play the data-error sound, then show the message; no table
  };
  struct CollectionLoad {
    Outcome outcome = Outcome::kLoaded;
    std::string message;  // the text to show, in the interface language
  };

  // A database read from the data file at `dataFilePath`; nothing is read yet.
  explicit ProblemDatabase(std::string dataFilePath);

  // The data file read by each collection load.
  const std::string& DataFilePath() const { return dataFilePath_; }
  // The problem table; between operations its ordering is "Auto1".
  TableStore& Problems() { return *problems_; }
  const TableStore& Problems() const { return *problems_; }

  // Opens collection `group`: reloads the problem table from the data file, adds a history row
  // (every counter null) to `history` for each problem that has none, and builds the problem
  // list. On kLoaded the list and the open collection are replaced; on any other outcome the
  // list is empty and the open collection keeps its number. `history` may be inactive: the
  // entries are then all unsolved.
  CollectionLoad OpenCollection(int group, TableStore& history, const Localizer& text);

  // Makes the problems `numbers` (in that order, those the loaded table holds) the problem list,
  // as a collection of their own (the review, a practice session); the table is not read
  // again, and the open collection keeps its number. Entries are marked solved from `history`.
  void OpenSelection(const std::vector<int32_t>& numbers, TableStore& history);

  // Reads the data file into the problem table and adds its indexes. False with the message on
  // any failure, the table then as before; true and the table untouched when the member is
  // empty.
  bool LoadDataFile(std::string* error);
  // The same from an archive held in memory.
  bool LoadArchive(std::string_view archive, std::string* error);
  // Loads the problem table from the member's bytes: every problem column must be present with
  // its type, and every problem number within 0 to 65535. False with the message otherwise.
  bool LoadMember(std::string_view member, std::string* error);

  // With the ordering "Auto1": true and the table's cursor on problem `number` when it exists.
  bool FindProblem(int number);

  // The open collection number, -1 until a collection has been loaded.
  int OpenCollectionNumber() const { return openCollection_; }
  // The entries of the open collection.
  const std::vector<std::string>& ProblemList() const { return problemList_; }
  // The problem of the entry at `position` (0-based) of the open collection, with the table's
  // cursor on it; nothing when the list has no such entry or the table no longer holds it.
  std::optional<ProblemRecord> ProblemAt(int position);

 private:
  std::string dataFilePath_;
  std::unique_ptr<TableStore> problems_;
  int openCollection_ = -1;
  std::vector<std::string> problemList_;
  std::vector<int> problemNumbers_;  // the number of each entry of problemList_
};

}  // namespace zendra
