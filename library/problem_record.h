// One problem of the problem table "Problems": the columns the program reads, by name. Opening a
// problem, the collection load, the level estimate and the data-file tool all hold a problem as
// this record; ReadProblemRow (problem_database.h) is the one reader of a table row into it.
//
// Plain data without the table store, so the solving controller can take a problem without
// knowing where it is kept.
#pragma once

#include <optional>
#include <string>

namespace zendra {

struct ProblemRecord {
  int number = 0;              // Auto1, the problem number (0 to 65535 in a loaded table)
  int group = 0;               // Group1, the collection: 0 Basic, 1 Beginner, 2 Intermediate...
  int level = 20;              // Level1: L < 40 is (40 - L) kyu, L >= 40 is (L - 39) dan
  int num = 0;                 // Num, the order within collection and level
  std::string arrangedBlack;   // ArrangedBlack, point list
  std::string arrangedWhite;   // ArrangedWhite, point list
  std::string initial;         // Initial: moves already played, alternating from firstToPlay
  std::string firstToPlay;     // FirstToPlay: "B", "W" or empty (black)
  std::optional<int> result2;  // Result2, the answer: 0 dies, 1 lives, 2 and 3 ko; null: none
  std::string solution;        // Solution, the solution tree stream

  bool operator==(const ProblemRecord&) const = default;
};

}  // namespace zendra
