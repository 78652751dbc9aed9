// Turns SGF problem files into problems of the data file: the set-up point strings, the first
// player, the answer (`Result2`) and the solution tree with its outcome codes, node flags and
// remarks. The rules (which comments and annotations mark a correct or a wrong line, what
// passes and moves elsewhere become, which files are refused) are listed in the README under
// "Importing SGF problems".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "solving/tree/solution_tree.h"
#include "problem_import/sgf_reader.h"

namespace zendra {

// The remark list written beside the data file ("Remark.txt"): line k is remark k; line 0 is
// empty because index 0 means "no remark". Node remark indexes keep eight bits, so the list
// holds at most 255 remarks; equal texts share one line.
class RemarkList {
 public:
  static constexpr int kMaxRemarks = 255;
  RemarkList() : lines_{""} {}
  // The index of `text` (added when new); 0 when the text is empty or the list is full (the
  // text is then counted as dropped).
  int Add(const std::string& text);
  const std::vector<std::string>& Lines() const { return lines_; }
  int Dropped() const { return dropped_; }

 private:
  std::vector<std::string> lines_;
  std::unordered_map<std::string, int> index_;
  int dropped_ = 0;
};

// One imported problem, ready for the problem table.
struct ImportedProblem {
  std::string arrangedBlack;  // point letters
  std::string arrangedWhite;
  std::string initial;         // always empty: every move of the file is part of the tree
  std::string firstToPlay;     // "B" or "W"
  std::optional<int> result2;  // 0 dies, 1 lives, 2 killed by ko, 3 lives by ko; none if unsaid
  SolutionTree tree;           // first root = the start position
  std::string prompt;          // the first line of the problem's opening comment, if any
  // Texts worth showing on nodes; ApplyRemarks turns them into remark indexes.
  std::vector<std::pair<NodeId, std::string>> remarks;
  sgf::Place place;  // where the game tree starts
};

// Why a game tree was not imported.
struct ImportRefusal {
  std::string category;  // a short fixed phrase, for counting refusals by reason
  std::string reason;    // the full sentence
  sgf::Place place;
};

// The result of importing one game tree: a problem, or a refusal.
struct ImportOutcome {
  std::optional<ImportedProblem> problem;
  ImportRefusal refusal;
};

// What a node's comment says about its line.
enum class LineMark { kNone, kCorrect, kWrong };
struct CommentReading {
  LineMark mark = LineMark::kNone;
  bool notThis = false;  // the computer must not choose this reply
  std::string remark;    // the comment as one line without the marker tokens; empty if nothing
                         // is left worth showing
};
// Reads the markings of a move comment (see the README for the words and tokens).
CommentReading ReadComment(std::string_view comment);

// `Result2` from an answer line ("Answer: lives") or from the wording of the problem's opening
// comments ("Black to live", "White to kill"); nothing when they do not say.
std::optional<int> AnswerFromComments(std::string_view comments);

// Imports every game tree of an SGF text, one outcome each; a text that does not parse gives a
// single refusal with the place of the syntax error.
std::vector<ImportOutcome> ImportSgf(std::string_view text);
// Imports the game tree whose root is node `root` of `collection`.
ImportOutcome ImportGameTree(const sgf::Collection& collection, int root);

// Stores the problem's remark texts into `remarks` and their indexes into the nodes'
// `StringData2` (hexadecimal); texts the list cannot take leave the node without remark.
void ApplyRemarks(ImportedProblem& problem, RemarkList& remarks);

// The tree in one line for tests and diagnostics: each node as "text" with "{flags}" and
// "#remark" when set, children in parentheses: "(CC(DD 11)(DE 0))" for a root with one move.
std::string TreeOutline(const SolutionTree& tree);

}  // namespace zendra
