// Problem data files from problem sources: collection folders with their manifest, rank
// folders and single SGF files are imported, checked and written as the ZIP data file whose
// member "Zendra.cds" holds the table "Problems"; data files are read back, checked problem by
// problem, and played through the real solving controller.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/problem_record.h"
#include "problem_import/problem_import.h"

namespace zendra {

// One row of the problem table as the data tool handles it: the problem record and where the
// problem came from. The columns the data carries without reading them are written as 0.
struct DataProblem : ProblemRecord {
  std::string source;  // where it came from, "file:line:column" (not stored)

  // Two problems are equal when their rows are: the source is not compared.
  bool operator==(const DataProblem& o) const {
    return static_cast<const ProblemRecord&>(*this) == o;
  }
};

// The file of a collection folder naming its number, default level and problem order.
inline constexpr const char* kManifestName = "manifest.txt";

struct Manifest {
  struct Entry {
    std::string file;
    std::optional<int> level;
    int line = 0;
  };
  int group = 0;
  int level = 20;
  std::vector<Entry> entries;
};

// Reads a manifest text: '#' starts a comment, "group G" and "level L" set the collection number
// and default level, every other line names a problem file with an optional level. False with
// "line N: reason" for an unknown keyword, a value that is not a number, a level outside 1..60,
// a group outside 0..65535 or a problem line with more than two words.
bool ParseManifest(std::string_view text, Manifest* out, std::string* error);

// The level a rank folder name stands for: "10_kyu" is 30 (40 - 10), "2_dan" is 41 (39 + 2);
// nothing for any other name or a rank outside 1..30 kyu, 1..9 dan.
std::optional<int> LevelFromFolderName(std::string_view name);

struct BuildOptions {
  int group = 0;   // collection number of problems outside a manifest folder
  int level = 20;  // their level when no rank folder names one
  // Only folders with a manifest count; other .sgf files are left out.
  bool collectionsOnly = false;
};

struct BuildReport {
  std::vector<DataProblem> problems;  // in source order, numbered
  RemarkList remarks;
  int files = 0;                      // SGF files read
  std::vector<std::string> refusals;  // "file:line:column: refused: reason", one a problem
  std::map<std::string, int> refusedByReason;
  std::vector<std::string> errors;    // sources or manifests that could not be read at all
  std::vector<std::string> warnings;  // tolerated syntax faults, "file:line:column: ..."
};

// Imports the sources in order. A folder holding manifest.txt is one collection: its listed
// files, in order, with its group and levels (Num counts from 1 in that order; Auto1 is
// group x 1000 + Num while free). Any other folder contributes its .sgf files in name order and
// is searched for subfolders, rank folder names giving the level. Every imported problem is
// checked (CheckProblem) and refused when it fails. Problem numbers are unique; a problem that
// finds none free below 65536 is refused.
void BuildFromSources(const std::vector<std::string>& sources, const BuildOptions& options,
                      BuildReport* report);

// Writes the problems as a data file at `path` (the file appears whole or not at all). False
// with the reason when the table, the archive or the file cannot be written.
bool WriteDataFile(const std::vector<DataProblem>& problems, const std::string& path,
                   std::string* error);
// Reads every problem of a data file, ordered by number. False with the reason when the file
// does not load as the problem library loads it.
bool ReadDataFile(const std::string& path, std::vector<DataProblem>* problems, std::string* error);
// Writes the remark list, one line per remark (line 0 empty), replacing `path` whole.
bool WriteRemarkFile(const RemarkList& remarks, const std::string& path, std::string* error);
// Reads a remark list file; an absent file gives an empty list.
std::vector<std::string> ReadRemarkFile(const std::string& path);

// Verifies one problem for solving; returns one sentence per fault, empty when it is sound:
// the tree loads whole; the set-up and the initial moves stand on the board; every move of
// every line is legal in turn for the side whose level it is (moves elsewhere, "TT", placed as
// the computer places them); a clean success exists from the first root; no successful line
// ends in "Data error(1)"; the result words of the success codes agree with `Result2`.
std::vector<std::string> CheckProblem(const DataProblem& problem);

// The problem-list entries of collection `group` exactly as the collection load builds them
// (solved marks "0"). False with the reason when the data file does not load.
bool CollectionEntries(const std::string& path, int group, std::vector<std::string>* entries,
                       std::string* error);

// JSON string literal of a text (quotes included).
std::string JsonString(std::string_view text);

}  // namespace zendra
