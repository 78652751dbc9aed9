#include "problem_import/sgf_reader.h"

#include <cctype>

namespace zendra::sgf {

const Property* Node::Find(std::string_view id) const {
  for (const Property& p : properties) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

std::string Node::Value(std::string_view id) const {
  const Property* p = Find(id);
  return p == nullptr || p->values.empty() ? std::string() : p->values.front();
}

std::string ParseError::Text() const {
  return std::to_string(place.line) + ":" + std::to_string(place.column) + ": " + message;
}

namespace {

// A cursor over the text that keeps the line and column; CR, LF, CRLF and LFCR each end a line.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  Place Here() const { return place_; }
  // Moves over one character, or over a whole line break; returns true when it was a break.
  bool Advance() {
    const char c = text_[pos_++];
    if (c == '\n' || c == '\r') {
      if (pos_ < text_.size() && (text_[pos_] == '\n' || text_[pos_] == '\r') && text_[pos_] != c) {
        ++pos_;
      }
      ++place_.line;
      place_.column = 1;
      return true;
    }
    ++place_.column;
    return false;
  }
  void SkipSpace() {
    while (!AtEnd() && std::isspace(static_cast<unsigned char>(Peek()))) Advance();
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  Place place_;
};

bool Fail(ParseError* error, std::string message, Place place) {
  if (error != nullptr) {
    error->message = std::move(message);
    error->place = place;
  }
  return false;
}

// Reads one value; the cursor stands on '['. Escapes are removed, an escaped line break is a
// soft break and disappears, other line breaks are kept as '\n'. A ']' followed at once by
// another ']' (nothing else may follow a value that way) is an unescaped bracket of the text:
// it stays in the value, and `unescaped` is set.
bool ReadValue(Cursor& in, const std::string& id, std::string* value, ParseError* error,
               bool* unescaped) {
  const Place open = in.Here();
  in.Advance();  // '['
  while (!in.AtEnd()) {
    const char c = in.Peek();
    if (c == ']') {
      in.Advance();
      if (in.AtEnd() || in.Peek() != ']') return true;
      value->push_back(']');
      *unescaped = true;
      continue;
    }
    if (c == '\\') {
      in.Advance();
      if (in.AtEnd()) break;
      const char escaped = in.Peek();
      if (!in.Advance()) value->push_back(escaped);
      continue;
    }
    if (in.Advance()) {
      value->push_back('\n');
    } else {
      value->push_back(c);
    }
  }
  return Fail(error, "unterminated value of property " + id, open);
}

}  // namespace

bool Parse(std::string_view text, Collection* out, ParseError* error) {
  *out = Collection{};
  Cursor in(text);
  // Each open tree remembers the node its variations hang from (-1 for a game tree's root) and
  // whether it has a node yet.
  struct Open {
    int attach;
    bool hasNode;
    Place place;
  };
  std::vector<Open> open;
  int last = -1;

  while (!in.AtEnd()) {
    const char c = in.Peek();
    const Place here = in.Here();
    if (std::isspace(static_cast<unsigned char>(c))) {
      in.Advance();
      continue;
    }
    if (c == '(') {
      if (!open.empty() && !open.back().hasNode) {
        return Fail(error, "a variation starts before the tree's first node", here);
      }
      open.push_back({last, false, here});
      in.Advance();
      continue;
    }
    if (c == ')') {
      in.Advance();
      if (open.empty()) {
        out->warnings.push_back(std::to_string(here.line) + ":" + std::to_string(here.column) +
                                ": stray ')' skipped");
        continue;
      }
      if (!open.back().hasNode) return Fail(error, "game tree without a node", open.back().place);
      last = open.back().attach;
      open.pop_back();
      continue;
    }
    if (open.empty()) {
      // Text around the game trees (headers, mail signatures) is not part of the record.
      in.Advance();
      continue;
    }
    if (c != ';') {
      return Fail(error, std::string("unexpected character '") + c + "' where a node was expected",
                  here);
    }
    if (out->nodes.size() >= kMaxNodes) return Fail(error, "too many nodes", here);
    in.Advance();
    const int index = static_cast<int>(out->nodes.size());
    out->nodes.emplace_back();
    out->nodes.back().place = here;
    out->nodes.back().parent = last;
    if (last < 0) {
      out->roots.push_back(index);
    } else {
      out->nodes[static_cast<std::size_t>(last)].children.push_back(index);
    }
    last = index;
    open.back().hasNode = true;

    // Properties of the node.
    for (;;) {
      in.SkipSpace();
      if (in.AtEnd()) break;
      const char p = in.Peek();
      if (!std::isalpha(static_cast<unsigned char>(p))) break;
      Property property;
      property.place = in.Here();
      while (!in.AtEnd() && std::isalpha(static_cast<unsigned char>(in.Peek()))) {
        if (std::isupper(static_cast<unsigned char>(in.Peek()))) property.id.push_back(in.Peek());
        in.Advance();
      }
      if (property.id.empty()) {
        return Fail(error, "property name without an upper-case letter", property.place);
      }
      in.SkipSpace();
      if (in.AtEnd() || in.Peek() != '[') {
        return Fail(error, "property " + property.id + " has no value", property.place);
      }
      while (!in.AtEnd() && in.Peek() == '[') {
        property.values.emplace_back();
        bool unescaped = false;
        const Place at = in.Here();
        if (!ReadValue(in, property.id, &property.values.back(), error, &unescaped)) return false;
        if (unescaped) {
          out->warnings.push_back(std::to_string(at.line) + ":" + std::to_string(at.column) +
                                  ": unescaped ']' in a value of " + property.id + " read as text");
        }
        in.SkipSpace();
      }
      out->nodes[static_cast<std::size_t>(index)].properties.push_back(std::move(property));
    }
  }
  if (!open.empty()) {
    if (!open.back().hasNode) return Fail(error, "game tree without a node", open.back().place);
    const Place end = in.Here();
    out->warnings.push_back(std::to_string(end.line) + ":" + std::to_string(end.column) +
                            ": missing ')' at the end, tree closed");
  }
  if (out->roots.empty()) return Fail(error, "no game tree in the file", in.Here());
  return true;
}

}  // namespace zendra::sgf
