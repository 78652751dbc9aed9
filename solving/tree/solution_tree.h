// The solution tree of a problem: an ordered forest of moves read from (and written to) the byte
// stream of the problem's `Solution` column, with one current node.
//
// Depth 0 is a root (the first root is the starting position, user to move); odd depths are the
// user's moves and even depths from 2 on the computer's replies. A node's text starts with its
// point in Go letters ("TT" = a move elsewhere), optionally followed by a space and a two-character
// outcome code; `StringData` holds the node flags and `StringData2` the remark index, both as
// hexadecimal text.
//
// Nodes live in one flat array and are named by NodeId; navigation never recurses, so trees of
// any depth load, walk and destroy on a bounded stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "language/language.h"

namespace zendra {

using NodeId = int32_t;
inline constexpr NodeId kNoNode = -1;

// Node flag bits (`NodeFlags`).
inline constexpr int kFlagBadMove = 1;
inline constexpr int kFlagSeki = 2;
inline constexpr int kFlagNotBest = 4;
inline constexpr int kFlagBarred8 = 8;
inline constexpr int kFlagBarred16 = 16;
inline constexpr int kFlagSometimes = 64;

// Everything one node record carries. The display fields are read and written back unchanged;
// solving only uses text, stringData and stringData2.
struct SolutionNode {
  std::string text;         // point, then optionally a space and the outcome code
  std::string stringData;   // node flags, hexadecimal text
  std::string stringData2;  // remark index, hexadecimal text
  int32_t imageIndex = 0;
  int32_t selectedIndex = 0;
  int32_t stateIndex = -1;  // stored value only; the shown mark is kept apart
  int32_t overlayIndex = -1;
  uint8_t checkKind = 0;
  uint8_t checkState = 0;
  uint8_t expanded = 0;
  uint32_t data = 0;

  // Shape, maintained by the tree.
  NodeId parent = kNoNode;
  NodeId firstChild = kNoNode;
  NodeId lastChild = kNoNode;
  NodeId nextSibling = kNoNode;
  int32_t childCount = 0;
  int32_t level = 0;
  bool shown = false;
};

// The outcome code's value: 0 when its first character is a space or below, else h(first) +
// 4 x h(second), h being the hexadecimal digit (0 for any other character).
int CodeValue(std::string_view code);
// True when CodeValue(code) is odd: the line is won for the user.
bool IsSuccess(std::string_view code);
// The verdict text for `LabelResult`: empty for a code without verdict, else the result word,
// ",", then "Success" or "Failure", in the interface language.
std::string ResultText(std::string_view code, const Localizer& text);
// A hexadecimal text as a 32-bit value; empty, malformed or wider than 32 bits reads as 0.
int32_t HexValue(std::string_view text);

class SolutionTree {
 public:
  enum class LoadResult {
    kLoaded,     // the stream was read whole (possibly an empty forest)
    kNoTree,     // 32 bytes or fewer: the problem has no tree
    kCorrupted,  // the stream ended inside a record; the nodes read completely are kept
  };

  // Replaces the tree by the content of a `Solution` stream; the current node becomes unset and
  // every shown mark clear. Never fails on any bytes: a stream that ends inside a record, a
  // string or a child list answers kCorrupted and keeps every node whose record was read whole
  // (with the children read so far).
  LoadResult LoadSolution(std::string_view bytes);
  // The stream of the whole forest, each record of size 39 + text length, reserved bytes 0.
  // Loading it gives back the same tree; a stream in this form is reproduced byte for byte.
  // Texts longer than 255 characters are cut to 255.
  std::string Save() const;

  // Empties the tree and unsets the current node.
  void Clear();
  // Appends a new last root (parent kNoNode) or a new last child of `parent` and returns it.
  // A parent that names no node gives kNoNode and changes nothing.
  NodeId Add(NodeId parent, std::string text, std::string stringData = "",
             std::string stringData2 = "");

  std::size_t Size() const { return nodes_.size(); }
  bool Empty() const { return nodes_.empty(); }
  // True when id names a node of the tree.
  bool Valid(NodeId id) const { return id >= 0 && static_cast<std::size_t>(id) < nodes_.size(); }
  // The node's record; id must be Valid.
  const SolutionNode& Node(NodeId id) const { return nodes_[static_cast<std::size_t>(id)]; }
  // Write access to the content of a node (texts, display fields); id must be Valid. The shape
  // fields must not be changed through it.
  SolutionNode& MutableNode(NodeId id) {
    cleanValid_ = false;
    return nodes_[static_cast<std::size_t>(id)];
  }

  // The current node, kNoNode when unset. Setting an id that names no node unsets it.
  NodeId Current() const { return current_; }
  void SetCurrent(NodeId id) { current_ = Valid(id) ? id : kNoNode; }

  // Navigation; every query answers kNoNode (or 0, false) for an id that names no node.
  NodeId FirstRoot() const { return firstRoot_; }
  NodeId NextRoot(NodeId root) const { return NextSibling(root); }
  NodeId Parent(NodeId id) const { return Valid(id) ? Node(id).parent : kNoNode; }
  NodeId FirstChild(NodeId id) const { return Valid(id) ? Node(id).firstChild : kNoNode; }
  NodeId NextSibling(NodeId id) const { return Valid(id) ? Node(id).nextSibling : kNoNode; }
  int ChildCount(NodeId id) const { return Valid(id) ? Node(id).childCount : 0; }
  bool HasChildren(NodeId id) const { return ChildCount(id) > 0; }
  int Level(NodeId id) const { return Valid(id) ? Node(id).level : 0; }
  // Pre-order successor: the first child, else the next sibling, else the next sibling of the
  // nearest ancestor that has one; kNoNode at the end of the forest.
  NodeId Successor(NodeId id) const;

  // The first two characters of the text (fewer when it is shorter).
  std::string_view NodePoint(NodeId id) const;
  // The outcome code, exactly two characters: the first two characters after the first space
  // when that space is at the third character or later (blanks trimmed, padded with spaces),
  // "  " otherwise; a leaf whose code starts with a space gives "0 ".
  std::string NodeCode(NodeId id) const;
  int NodeFlags(NodeId id) const;
  bool IsBadMove(NodeId id) const { return (NodeFlags(id) & kFlagBadMove) != 0; }
  bool IsNotBest(NodeId id) const { return (NodeFlags(id) & kFlagNotBest) != 0; }
  bool IsSometimes(NodeId id) const { return (NodeFlags(id) & kFlagSometimes) != 0; }
  // Bad move or not best.
  bool IsFlagged(NodeId id) const { return (NodeFlags(id) & (kFlagBadMove | kFlagNotBest)) != 0; }
  bool IsBarredFromReply(NodeId id, int mask) const { return (NodeFlags(id) & mask) != 0; }
  // The remark index: the low eight bits of `StringData2`; 0 for none.
  int RemarkIndex(NodeId id) const { return HexValue(Valid(id) ? Node(id).stringData2 : "") & 255; }
  // The text of the right status panel: "Bad move", "Seki" or "Not best" when the low byte of
  // the flags is exactly 1, 2 or 4, then the remark line (joined by ". ") when the index is not
  // 0 and `remarks` (line k is remark k) holds that line.
  std::string NodeComment(NodeId id, const Localizer& text,
                          const std::vector<std::string>& remarks) const;
  // True when a flagged computer reply (even level) lies on the path from id up to `level`.
  bool IsTainted(NodeId id, int level) const;
  // True when some line below id ends in success without passing a flagged computer reply.
  bool HasCleanSuccess(NodeId id) const;

  // Shown marks used while solving.
  void ResetShownMarks();
  void Mark(NodeId id) {
    if (Valid(id)) nodes_[static_cast<std::size_t>(id)].shown = true;
  }
  void Unmark(NodeId id) {
    if (Valid(id)) nodes_[static_cast<std::size_t>(id)].shown = false;
  }
  bool IsMarked(NodeId id) const { return Valid(id) && Node(id).shown; }
  // Clears the shown mark of every child of id.
  void UnmarkChildren(NodeId id);

 private:
  NodeId Append(NodeId parent);
  // Fills clean_: clean_[x] is 1 when a line from x (x included) ends in success without
  // passing a flagged computer reply. Children always have larger ids than their parent.
  void ComputeClean() const;

  std::vector<SolutionNode> nodes_;
  mutable std::vector<uint8_t> clean_;
  mutable bool cleanValid_ = false;
  NodeId firstRoot_ = kNoNode;
  NodeId lastRoot_ = kNoNode;
  NodeId current_ = kNoNode;
};

}  // namespace zendra
