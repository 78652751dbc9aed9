// The corpus report: imports problem files as the build does and replays, for every imported
// problem, what the file means through the real solving controller (PlaySession), counting
// every place where the player would be told something else than the file's author meant.
//
// The file's meaning is read here from the SGF tree itself, apart from the importer's tree:
//   - a line end is correct or wrong by the deepest marking on its line (comment words and
//     tokens, GB/GW, a triangle on a stone the user just played);
//   - without any correct marking of the goproblems or English kind, the first variation not
//     marked wrong is the answer at each user turn and every variation at a computer turn is a
//     defence: a line is correct when the user gave the answer at each turn;
//   - with such markings, an unmarked line end is wrong;
//   - the computer may choose any reply, except NOTTHIS replies and, where some reply carries
//     CHOICE, the replies without it.
// Checks, each from a fresh start:
//   - every correct line whose replies the computer plays is judged a success at its end and
//     never a failure before;
//   - every wrong line whose replies the computer plays ends in a failure, never a success;
//   - a player who always answers correctly, and takes every further variation the program
//     offers, sees only replies the file allows, always has a correct answer to them, and gets
//     the problem counted as solved;
//   - every comment of the file's lines is kept in the problem's remarks (as valid UTF-8).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zendra {

struct CorpusReport {
  int files = 0;
  int problems = 0;  // imported
  int refused = 0;
  std::map<std::string, int> refusedByReason;
  int droppedLines = 0;  // wrong lines the import dropped (illegal moves, set-up)

  int correctLines = 0;     // line ends the file marks correct
  int correctFollowed = 0;  // ... whose replies the computer played, so they were checked
  int wrongLines = 0;
  int wrongFollowed = 0;
  int brokenLines = 0;  // lines the board refuses to play (dropped by the import)
  int solved = 0;       // problems the correct player got counted as solved

  int comments = 0;         // comments of the file's lines worth showing
  int commentsKept = 0;     // ... found, whole, among the problem's remarks
  int chineseComments = 0;  // comments holding Chinese characters (kept ones are counted above)
  int commentsOnDroppedLines = 0;  // not counted above: they went with their dropped line

  // "file:line:column: what" for every disagreement, and their count by kind.
  std::vector<std::string> disagreements;
  std::map<std::string, int> disagreementsByKind;
};

// Reports on the SGF files and folders of `sources` (folders searched as the build does).
void ReportOnSources(const std::vector<std::string>& sources, CorpusReport* report);

}  // namespace zendra
