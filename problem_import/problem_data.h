// Problem data files from problem sources: collection folders with their manifest, rank
// folders and single SGF files are imported, checked and written as the ZIP data file whose
// member "Zendra.cds" holds the table "Problems"; data files are read back, checked problem by
// problem, and played through the real solving controller.
#pragma once

#include <functional>
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
  // The remarks must fit in the shared list (Remark.txt), so that the data file keeps the
  // classic form; when they do not, the build is an error. For our own collections.
  bool sharedRemarks = false;
  // Called with every problem that passed the check, with the file's game trees and the
  // imported problem it came from; `problem` still holds its own remark list. For tools that
  // look closer at an import (the corpus report).
  std::function<void(const sgf::Collection& file, int root, const ImportedProblem& imported,
                     const DataProblem& problem)>
      onImported;
  // Called before each SGF file is read, with the number of files read so far and the file's
  // path; returning false stops the build there (the report's `cancelled` is then set, and
  // nothing after that file is read, numbered or shared). For a progress display with a
  // Cancel button; it runs on the building thread.
  std::function<bool(int filesRead, const std::string& file)> onFile;
};

struct BuildReport {
  std::vector<DataProblem> problems;  // in source order, numbered
  // The shared remark list (Remark.txt) when every remark of the build fits in it; empty when
  // the problems keep their own lists (perProblemRemarks).
  RemarkList remarks;
  bool perProblemRemarks = false;
  int remarksLeftOut = 0;             // remarks beyond 255 in one problem
  int files = 0;                      // SGF files read
  std::vector<std::string> refusals;  // "file:line:column: refused: reason", one a problem
  std::map<std::string, int> refusedByReason;
  std::vector<std::string> errors;    // sources or manifests that could not be read at all
  std::vector<std::string> warnings;  // tolerated syntax faults, "file:line:column: ..."
  // What was assumed or left out of imported files: "file: no CA, ...: read as GB18030",
  // "file:line:column: dropped a wrong line: ...".
  std::vector<std::string> notes;
  std::map<std::string, int> encodings;  // files by the encoding read ("GB18030, assumed")
  int droppedLines = 0;                  // wrong lines dropped
  bool cancelled = false;                // onFile stopped the build
};

// Imports the sources in order. A folder holding manifest.txt is one collection: its listed
// files, in order, with its group and levels (Num counts from 1 in that order; Auto1 is
// group x 1000 + Num while free). Any other folder contributes its .sgf files in name order and
// is searched for subfolders, rank folder names giving the level. Every imported problem is
// checked (CheckProblem) and refused when it fails. Problem numbers are unique; a problem that
// finds none free below 65536 is refused. Every file is decoded to UTF-8 first
// (DecodeSgfText). When the remarks of all problems fit in one shared list of 255, the nodes
// index that list; otherwise every problem keeps its own list.
void BuildFromSources(const std::vector<std::string>& sources, const BuildOptions& options,
                      BuildReport* report);

// The number of SGF files a build of `sources` with `options` reads (the `files` of its
// report), found by walking the folders without reading a file: the total of a progress display.
int CountSourceFiles(const std::vector<std::string>& sources, const BuildOptions& options);

// Writes the problems as a data file at `path` (the file appears whole or not at all); the
// `Remarks` column is written when some problem keeps its own remark list. False with the
// reason when the table, the archive or the file cannot be written.
bool WriteDataFile(const std::vector<DataProblem>& problems, const std::string& path,
                   std::string* error);
// Reads every problem of a data file, ordered by number. False with the reason when the file
// does not load as the problem library loads it.
bool ReadDataFile(const std::string& path, std::vector<DataProblem>* problems, std::string* error);
// Writes the remark list, one line per remark (line 0 empty), replacing `path` whole.
bool WriteRemarkFile(const RemarkList& remarks, const std::string& path, std::string* error);
// Reads a remark list file (LoadRemarkFile); an absent, unreadable or irregular file gives an
// empty list.
std::vector<std::string> ReadRemarkFile(const std::string& path);

// What a problem check can find wrong.
enum class CheckFaultKind {
  kCorrupted,       // the solution stream ends inside a record
  kNoTree,          // no solution tree at all
  kSetUp,           // the set-up does not stand on the board as written
  kInitialMoves,    // the initial moves are not legal
  kWrongSide,       // a level holds a move of the side not to move
  kNoPoint,         // a node text holds no point
  kNoCornerPoint,   // a move elsewhere finds no empty point in the far corner
  kOffBoard,        // a move off the board
  kIllegalMove,     // a move the board refuses
  kNoCleanSuccess,  // no success reachable without a flagged computer reply
  kDataError1,      // a successful line ends in "Data error(1)"
  kResultWord,      // a success code's result word disagrees with Result2
};
// The kind as a short phrase, for counting refusals by reason ("illegal move").
const char* CheckFaultName(CheckFaultKind kind);

struct CheckFault {
  CheckFaultKind kind;
  std::string text;  // the sentence, naming the line where it applies
};

// Verifies one problem for solving; returns the faults, empty when it is sound: the tree loads
// whole; the set-up and the initial moves stand on the board; every move of every line is
// legal in turn for the side whose level it is (moves elsewhere, "TT", placed as the computer
// places them); a clean success exists from the first root; no successful line ends in
// "Data error(1)"; the result words of the success codes agree with `Result2`. The tree is
// walked a fixed number of times; the first hundred faults are described (the hundredth says how
// many more there are).
std::vector<CheckFault> CheckProblem(const DataProblem& problem);

// The problem-list entries of collection `group` exactly as the collection load builds them
// (solved marks "0"). False with the reason when the data file does not load.
bool CollectionEntries(const std::string& path, int group, std::vector<std::string>* entries,
                       std::string* error);

// JSON string literal of a text (quotes included).
std::string JsonString(std::string_view text);

}  // namespace zendra
