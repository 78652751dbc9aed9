// zendra-db: builds, lists, shows, checks and plays problem data files.
//
//   zendra-db build SRC... -o FILE.dgo [--group G] [--level L] [--remarks FILE] [--strict]
//                   [--collections-only] [--shared-remarks]
//   zendra-db list FILE [--group G]
//   zendra-db show FILE NUMBER
//   zendra-db check FILE
//   zendra-db play FILE NUMBER STEP... [--board]
//   zendra-db verify FILE [--seconds S]
//
// Every command takes --json for machine-readable output. Remarks are read from (and build
// writes them to) "Remark.txt" beside the data file unless --remarks names another file.
// The commands print to std::cout and std::cerr.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zendra::db {

// The command line, read.
struct Args {
  std::string command;
  std::vector<std::string> positional;
  std::string output;
  std::string remarks;
  std::optional<int> group;
  std::optional<int> level;
  std::optional<int> seconds;  // verify: the time for one problem
  bool json = false;
  bool strict = false;
  bool board = false;
  bool collectionsOnly = false;
  bool sharedRemarks = false;
};

// A whole decimal number that fits an int ("-3", "12"); nothing for anything else ("-", "1x",
// "", "99999999999").
std::optional<int> ParseNumber(std::string_view text);

// Reads the arguments after the program name. False with `error` for a missing command, an
// unknown option, an option without its value, or a --group / --level that is not a number.
bool ParseArgs(const std::vector<std::string>& argv, Args* args, std::string* error);

// Runs the command; returns the exit code (1 when it failed, 2 after printing the usage).
int RunCommand(const Args& args);

// Prints the usage to std::cerr; returns 2.
int Usage();

}  // namespace zendra::db
