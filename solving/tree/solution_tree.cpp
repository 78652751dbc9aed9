#include "solving/tree/solution_tree.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zendra {

namespace {

// Size of the record buffer shared by all records of one load: the longest record a writer
// produces (39 + 255).
constexpr std::size_t kRecordBuffer = 294;
constexpr std::size_t kRecordFixed = 39;  // record bytes before the text

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int HexDigitOrZero(char c) { return std::max(0, HexDigit(static_cast<unsigned char>(c))); }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

int32_t GetI32(const unsigned char* p) {
  uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  return static_cast<int32_t>(v);
}

void PutI32(std::string& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// Sequential reader over the stream; every read says whether the bytes were there.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool ReadI32(int32_t& value) {
    if (bytes_.size() - pos_ < 4) return false;
    value = GetI32(reinterpret_cast<const unsigned char*>(bytes_.data() + pos_));
    pos_ += 4;
    return true;
  }
  bool Read(void* out, std::size_t n) {
    if (bytes_.size() - pos_ < n) return false;
    if (n > 0) std::memcpy(out, bytes_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  bool ReadString(int32_t length, std::string& out) {
    out.clear();
    if (length <= 0) return true;
    const auto n = static_cast<std::size_t>(length);
    if (bytes_.size() - pos_ < n) return false;
    out.assign(bytes_.data() + pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

int CodeValue(std::string_view code) {
  if (code.empty() || IsBlank(code[0])) return 0;
  const int second = code.size() > 1 ? HexDigitOrZero(code[1]) : 0;
  return HexDigitOrZero(code[0]) + 4 * second;
}

bool IsSuccess(std::string_view code) { return (CodeValue(code) & 1) != 0; }

std::string ResultText(std::string_view code, const Localizer& text) {
  if (code.empty() || IsBlank(code[0])) return "";
  std::string result;
  // The second character is the answer value of the line's end.
  if (code.size() > 1 && !IsBlank(code[1]) && code[1] >= '0' && code[1] <= '3') {
    result = AnswerText(code[1] - '0', text);
  }
  result += ",";
  result += text.Say(IsSuccess(code) ? Text::kSuccess : Text::kFailure);
  return result;
}

int32_t HexValue(std::string_view text) {
  if (text.empty()) return 0;
  uint64_t value = 0;
  for (char c : text) {
    const int digit = HexDigit(static_cast<unsigned char>(c));
    if (digit < 0) return 0;
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return 0;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// ---- Shape ----------------------------------------------------------------------------------

void SolutionTree::Clear() {
  nodes_.clear();
  clean_.clear();
  cleanValid_ = false;
  firstRoot_ = lastRoot_ = current_ = kNoNode;
}

NodeId SolutionTree::Append(NodeId parent) {
  const auto id = static_cast<NodeId>(nodes_.size());
  nodes_.emplace_back();
  cleanValid_ = false;
  SolutionNode& node = nodes_.back();
  node.parent = parent;
  if (parent == kNoNode) {
    if (lastRoot_ == kNoNode) {
      firstRoot_ = id;
    } else {
      nodes_[static_cast<std::size_t>(lastRoot_)].nextSibling = id;
    }
    lastRoot_ = id;
    return id;
  }
  SolutionNode& p = nodes_[static_cast<std::size_t>(parent)];
  node.level = p.level + 1;
  if (p.lastChild == kNoNode) {
    p.firstChild = id;
  } else {
    nodes_[static_cast<std::size_t>(p.lastChild)].nextSibling = id;
  }
  p.lastChild = id;
  ++p.childCount;
  return id;
}

NodeId SolutionTree::Add(NodeId parent, std::string text, std::string stringData,
                         std::string stringData2) {
  if (parent != kNoNode && !Valid(parent)) return kNoNode;
  const NodeId id = Append(parent);
  SolutionNode& node = nodes_.back();
  node.text = std::move(text);
  node.stringData = std::move(stringData);
  node.stringData2 = std::move(stringData2);
  return id;
}

NodeId SolutionTree::Successor(NodeId id) const {
  if (!Valid(id)) return kNoNode;
  if (Node(id).firstChild != kNoNode) return Node(id).firstChild;
  while (id != kNoNode) {
    if (Node(id).nextSibling != kNoNode) return Node(id).nextSibling;
    id = Node(id).parent;
  }
  return kNoNode;
}

// ---- Stream ---------------------------------------------------------------------------------

SolutionTree::LoadResult SolutionTree::LoadSolution(std::string_view bytes) {
  Clear();
  if (bytes.size() <= 32) return LoadResult::kNoTree;

  Reader in(bytes);
  // One buffer for every record: a record shorter than its fields keeps the bytes of the one
  // read before it.
  std::array<unsigned char, kRecordBuffer> buffer{};
  int32_t rootCount = 0;
  if (!in.ReadI32(rootCount)) return LoadResult::kCorrupted;

  // The records are read depth first with an explicit stack of open child lists, so the depth
  // of the stream never reaches the call stack.
  struct Pending {
    NodeId parent;
    int64_t remaining;
  };
  std::vector<Pending> open;
  open.push_back({kNoNode, rootCount});
  SolutionNode record;
  while (!open.empty()) {
    Pending& top = open.back();
    if (top.remaining <= 0) {
      open.pop_back();
      continue;
    }
    --top.remaining;
    const NodeId parent = top.parent;

    int32_t size = 0;
    if (!in.ReadI32(size)) return LoadResult::kCorrupted;
    const auto take = static_cast<std::size_t>(std::clamp<int32_t>(size, 0, kRecordBuffer));
    if (!in.Read(buffer.data(), take)) return LoadResult::kCorrupted;
    const unsigned char* b = buffer.data();
    record.imageIndex = GetI32(b + 0);
    record.selectedIndex = GetI32(b + 4);
    record.stateIndex = GetI32(b + 8);
    record.overlayIndex = GetI32(b + 12);
    record.checkKind = b[16];
    record.checkState = b[17];
    record.expanded = b[18];
    record.data = static_cast<uint32_t>(GetI32(b + 22));
    const int32_t stringLength = GetI32(b + 26);
    const int32_t stringLength2 = GetI32(b + 30);
    const int32_t childCount = GetI32(b + 34);
    const std::size_t textLength = b[38];
    record.text.assign(reinterpret_cast<const char*>(b + kRecordFixed), textLength);
    if (!in.ReadString(stringLength, record.stringData)) return LoadResult::kCorrupted;
    if (!in.ReadString(stringLength2, record.stringData2)) return LoadResult::kCorrupted;

    const NodeId id = Append(parent);
    SolutionNode& node = nodes_.back();
    node.text = record.text;
    node.stringData = record.stringData;
    node.stringData2 = record.stringData2;
    node.imageIndex = record.imageIndex;
    node.selectedIndex = record.selectedIndex;
    node.stateIndex = record.stateIndex;
    node.overlayIndex = record.overlayIndex;
    node.checkKind = record.checkKind;
    node.checkState = record.checkState;
    node.expanded = record.expanded;
    node.data = record.data;
    if (childCount > 0) open.push_back({id, childCount});
  }
  ResetShownMarks();
  return LoadResult::kLoaded;
}

std::string SolutionTree::Save() const {
  std::string out;
  int32_t roots = 0;
  for (NodeId r = firstRoot_; r != kNoNode; r = Node(r).nextSibling) ++roots;
  PutI32(out, roots);
  for (NodeId id = firstRoot_; id != kNoNode; id = Successor(id)) {
    const SolutionNode& n = Node(id);
    const std::size_t textLength = std::min<std::size_t>(n.text.size(), 255);
    PutI32(out, static_cast<int32_t>(kRecordFixed + textLength));
    PutI32(out, n.imageIndex);
    PutI32(out, n.selectedIndex);
    PutI32(out, n.stateIndex);
    PutI32(out, n.overlayIndex);
    out.push_back(static_cast<char>(n.checkKind));
    out.push_back(static_cast<char>(n.checkState));
    out.push_back(static_cast<char>(n.expanded));
    out.append(3, '\0');
    PutI32(out, static_cast<int32_t>(n.data));
    PutI32(out, static_cast<int32_t>(n.stringData.size()));
    PutI32(out, static_cast<int32_t>(n.stringData2.size()));
    PutI32(out, n.childCount);
    out.push_back(static_cast<char>(textLength));
    out.append(n.text, 0, textLength);
    out += n.stringData;
    out += n.stringData2;
  }
  return out;
}

// ---- Node queries ---------------------------------------------------------------------------

std::string_view SolutionTree::NodePoint(NodeId id) const {
  if (!Valid(id)) return {};
  return std::string_view(Node(id).text).substr(0, 2);
}

std::string SolutionTree::NodeCode(NodeId id) const {
  std::string code = "  ";
  if (!Valid(id)) return code;
  const std::string_view text = Node(id).text;
  const std::size_t space = text.find(' ');
  if (space != std::string_view::npos && space >= 2) {
    std::string_view rest = text.substr(space + 1);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    for (std::size_t i = 0; i < 2 && i < rest.size(); ++i) code[i] = rest[i];
  }
  if (!HasChildren(id) && code[0] == ' ') code = "0 ";
  return code;
}

int SolutionTree::NodeFlags(NodeId id) const {
  return Valid(id) ? HexValue(Node(id).stringData) : 0;
}

std::string SolutionTree::NodeComment(NodeId id, const Localizer& text,
                                      const std::vector<std::string>& remarks) const {
  std::string comment;
  const int v = NodeFlags(id) & 255;
  if (v == 1) comment = text.Say(Text::kNodeBadMove);
  if (v == 2) comment = text.Say(Text::kSeki);
  if (v == 4) comment = text.Say(Text::kNotBest);
  const auto k = static_cast<std::size_t>(RemarkIndex(id));
  if (k != 0 && remarks.size() > k) {
    comment = comment.empty() ? remarks[k] : comment + ". " + remarks[k];
  }
  return comment;
}

bool SolutionTree::IsTainted(NodeId id, int level) const {
  for (; Valid(id) && Level(id) >= level; id = Parent(id)) {
    if (Level(id) % 2 == 0 && IsFlagged(id)) return true;
  }
  return false;
}

void SolutionTree::ComputeClean() const {
  clean_.assign(nodes_.size(), 0);
  for (auto i = static_cast<NodeId>(nodes_.size()) - 1; i >= 0; --i) {
    if (Level(i) % 2 == 0 && IsFlagged(i)) continue;
    bool clean = IsSuccess(NodeCode(i));
    for (NodeId c = FirstChild(i); !clean && c != kNoNode; c = NextSibling(c)) {
      clean = clean_[static_cast<std::size_t>(c)] != 0;
    }
    clean_[static_cast<std::size_t>(i)] = clean ? 1 : 0;
  }
  cleanValid_ = true;
}

bool SolutionTree::HasCleanSuccess(NodeId id) const {
  if (!Valid(id)) return false;
  if (!cleanValid_) ComputeClean();
  for (NodeId c = FirstChild(id); c != kNoNode; c = NextSibling(c)) {
    if (clean_[static_cast<std::size_t>(c)] != 0) return true;
  }
  return false;
}

void SolutionTree::ResetShownMarks() {
  for (SolutionNode& n : nodes_) n.shown = false;
}

void SolutionTree::UnmarkChildren(NodeId id) {
  for (NodeId c = FirstChild(id); c != kNoNode; c = NextSibling(c)) Unmark(c);
}

}  // namespace zendra
