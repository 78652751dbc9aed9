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

#include "problem_import/sgf_reader.h"
#include "solving/tree/solution_tree.h"

namespace zendra {

// A remark list: line k is remark k; line 0 is empty because index 0 means "no remark". Node
// remark indexes keep eight bits, so a list holds at most 255 remarks; equal texts share one
// line. The build keeps one list per problem (the `Remarks` column of the data file), or one
// shared list written beside the data file ("Remark.txt") when every remark of the build fits
// in it.
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
  int symmetry = 0;  // how the file's points were turned (see TurnPoint)
  // What the import left out of the file, with the place of the node concerned: wrong lines
  // dropped because a move in them is illegal or set-up stones in them change the position.
  std::vector<std::pair<sgf::Place, std::string>> notes;
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
  // The mark comes from a Chinese or Japanese word (正解, 失败, ...). Classical files put such
  // words on some lines only, so they refine the first-variation reading of an unmarked file
  // rather than make it a marked one.
  bool cjk = false;
  bool notThis = false;  // the computer must not choose this reply
  bool choice = false;   // a reply the computer may choose (goproblems' CHOICE)
  std::string remark;    // the comment as one line without the marker tokens; empty if nothing
                         // is left worth showing
};
// Reads the markings of a move comment (see the README for the words and tokens). A failure
// named with a colour (黑失败 "Black fails") is the user's failure only when the colour is the
// user's (`userBlack`); the opponent's failure is the user's success.
CommentReading ReadComment(std::string_view comment, bool userBlack = true);

// What one SGF node says about the move it holds (or, when it holds none, about the move
// before it): its comments, the annotations BM, DO, IT, GB and GW, and a triangle (TR) on the
// stone just played.
struct NodeMarking {
  LineMark mark = LineMark::kNone;
  bool cjk = false;       // the mark comes from Chinese or Japanese words only
  bool triangle = false;  // a triangle on the stone just played: wrong when the user played it
  bool choice = false;    // CHOICE: a reply the computer may choose
  int flags = 0;          // kFlagBadMove (BM), kFlagNotBest (DO), kFlagSometimes (IT),
                          // kFlagBarred8 (NOTTHIS)
  std::string remark;
  // Takes in the markings of another node on the same move (a merged duplicate, or a node
  // without a move after it): a correct mark outweighs a wrong one; remarks are joined.
  void Merge(const NodeMarking& other);
};
// The markings of `node`; `move` is the point it plays ((p, q) of the file, {-1, -1} for
// none), `userBlack` tells which side GB and GW favour and whose failure a colour names.
NodeMarking ReadNodeMarking(const sgf::Node& node, bool userBlack, std::pair<int, int> move);

// A point value of the file as (p, q) on the 19 x 19 board; {0, 0} for a pass ("" or "tt"),
// {-1, -1} for a value that names no point.
std::pair<int, int> SgfPoint(std::string_view value);

// `Result2` from an answer line ("Answer: lives") or from the wording of the problem's opening
// comments ("Black to live", "White to kill"); nothing when they do not say.
std::optional<int> AnswerFromComments(std::string_view comments);

// Imports every game tree of an SGF file's bytes (decoded as DecodeSgfText does), one outcome
// each; a text that does not parse gives a single refusal with the place of the syntax error.
std::vector<ImportOutcome> ImportSgf(std::string_view bytes);
// How ImportGameTree finds the lines that cannot be played (an illegal move, set-up stones
// that change the position): broken wrong lines are dropped, broken correct lines refuse.
enum class LineCheck {
  kPlay,  // every line is played on a board
  // Lines are played only when set-up stones stand inside them. For a caller that checks the
  // problem afterwards (CheckProblem) and imports again with kPlay when a move is illegal: most
  // trees then need no second replay.
  kSetUpOnly,
};

// Imports the game tree whose root is node `root` of `collection`.
ImportOutcome ImportGameTree(const sgf::Collection& collection, int root,
                             LineCheck lines = LineCheck::kPlay);

// Stores the problem's remark texts into `remarks` and their indexes into the nodes'
// `StringData2` (hexadecimal); texts the list cannot take leave the node without remark.
void ApplyRemarks(ImportedProblem& problem, RemarkList& remarks);

// A point of the file, (p, q) counted from 1, as the problem stores it after the turn
// `symmetry` (ImportedProblem::symmetry); the pass (20, 20) stays.
std::pair<int, int> TurnPoint(std::pair<int, int> point, int symmetry);

// The tree in one line for tests and diagnostics: each node as "text" with "{flags}" and
// "#remark" when set, children in parentheses: "(CC(DD 11)(DE 0))" for a root with one move.
std::string TreeOutline(const SolutionTree& tree);

}  // namespace zendra
