// A reader for SGF game records (FF[1] to FF[4]): the collection of game trees as nodes with
// their properties, exactly as written, plus the positions (line and column) needed for error
// messages. It interprets nothing beyond the syntax: property values stay raw text with the SGF
// escapes removed.
//
// The reader never recurses, so files of any depth parse on a bounded stack, and it never
// throws: malformed input is refused with the place where it went wrong.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zendra::sgf {

// A place in the input: line and column counted from 1 (columns in bytes).
struct Place {
  int line = 1;
  int column = 1;
};

struct Property {
  std::string id;                   // upper-case letters only (FF[3] lower-case letters dropped)
  std::vector<std::string> values;  // escapes removed, soft line breaks joined
  Place place;
};

struct Node {
  std::vector<Property> properties;
  std::vector<int> children;  // indexes into Collection::nodes, in file order
  int parent = -1;
  Place place;  // of the ';'

  // The first property with that id, or nullptr.
  const Property* Find(std::string_view id) const;
  // The first value of the first property with that id, or empty.
  std::string Value(std::string_view id) const;
};

struct Collection {
  std::vector<Node> nodes;
  std::vector<int> roots;  // the root node of each game tree, in file order
  // Things tolerated while reading (a stray ')' or a missing one at the end), with their place.
  std::vector<std::string> warnings;
};

struct ParseError {
  std::string message;
  Place place;
  // "line:column: message".
  std::string Text() const;
};

// The largest number of nodes one file may hold.
inline constexpr std::size_t kMaxNodes = 200000;

// Reads a whole SGF text. Text before the first '(' is skipped; a ')' with no open tree is
// skipped with a warning, trees still open at the end of the input are closed with one, and a
// ']' doubled at the end of a value ("C[[RIGHT]]") is an unescaped bracket of the text, kept
// with a warning.
// Refuses (false, `error` filled) a text without any game tree, a node outside a tree, a
// property without a value, an unterminated value, a tree with no node, any other character
// where a property or node was expected, and more than kMaxNodes nodes.
bool Parse(std::string_view text, Collection* out, ParseError* error);

}  // namespace zendra::sgf
