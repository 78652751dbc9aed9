#include "problem_import/problem_import.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

#include "board/engine/points.h"

namespace zendra {

// ---- Remark list ---------------------------------------------------------------------------

int RemarkList::Add(const std::string& text) {
  if (text.empty()) return 0;
  auto it = index_.find(text);
  if (it != index_.end()) return it->second;
  if (static_cast<int>(lines_.size()) > kMaxRemarks) {
    ++dropped_;
    return 0;
  }
  const int k = static_cast<int>(lines_.size());
  lines_.push_back(text);
  index_.emplace(text, k);
  return k;
}

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '\'' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// One word of a comment with what surrounds it.
struct Word {
  std::string text;  // lower case
  bool sentenceStart = false;
  bool sentenceEnd = false;  // followed by '.', '!', '?', ',' ';' ':' or the end
};

std::vector<Word> Words(std::string_view s) {
  std::vector<Word> words;
  bool start = true;
  std::size_t i = 0;
  while (i < s.size()) {
    if (!IsWordChar(s[i])) {
      if (std::string_view(".!?\n").find(s[i]) != std::string_view::npos) start = true;
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < s.size() && IsWordChar(s[j])) ++j;
    Word w;
    w.text = Lower(s.substr(i, j - i));
    w.sentenceStart = start;
    std::size_t k = j;
    while (k < s.size() && s[k] == ' ') ++k;
    w.sentenceEnd =
        k >= s.size() || std::string_view(".!?,;:\n").find(s[k]) != std::string_view::npos;
    words.push_back(std::move(w));
    start = false;
    i = j;
  }
  return words;
}

bool Negation(const std::string& w) {
  return w == "not" || w == "never" || w == "no" ||
         (w.size() > 3 && w.compare(w.size() - 3, 3, "n't") == 0) || w == "isnt";
}

std::string Trim(std::string_view s) {
  std::size_t a = 0;
  std::size_t b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return std::string(s.substr(a, b - a));
}

void EraseAll(std::string& s, std::string_view token) {
  for (std::size_t at = s.find(token); at != std::string::npos; at = s.find(token)) {
    s.erase(at, token.size());
  }
}

}  // namespace

// ---- Comments ------------------------------------------------------------------------------

CommentReading ReadComment(std::string_view comment) {
  CommentReading r;
  const std::string text(comment);
  r.notThis = text.find("NOTTHIS") != std::string::npos;

  // Marker tokens of goproblems-style files: upper-case, often run together (CHOICERIGHT, the
  // typo RIGHTT).
  if (text.find("RIGHT") != std::string::npos) {
    r.mark = LineMark::kCorrect;
  }
  if (r.mark == LineMark::kNone) {
    // Chinese and Japanese words: "不正解" (incorrect) contains "正解", so it is looked at first.
    static constexpr std::array<std::string_view, 5> kWrongCjk = {"不正解", "失败", "失敗", "错误",
                                                                  "錯誤"};
    static constexpr std::array<std::string_view, 3> kRightCjk = {"正解", "正确", "正確"};
    for (std::string_view w : kWrongCjk) {
      if (text.find(w) != std::string::npos) {
        r.mark = LineMark::kWrong;
        break;
      }
    }
    if (r.mark == LineMark::kNone) {
      for (std::string_view w : kRightCjk) {
        if (text.find(w) != std::string::npos) r.mark = LineMark::kCorrect;
      }
    }
  }
  if (r.mark == LineMark::kNone) {
    // Words: "correct", "wrong", "incorrect" as whole words that open a sentence ("Correct.",
    // "Also correct", "Wrong!") or close one ("This is correct."), unless negated ("This isn't
    // wrong"). The first such word decides.
    const std::vector<Word> words = Words(text);
    for (std::size_t i = 0; i < words.size() && r.mark == LineMark::kNone; ++i) {
      const Word& w = words[i];
      const bool right = w.text == "correct";
      const bool wrong = w.text == "wrong" || w.text == "incorrect";
      if (!right && !wrong) continue;
      const bool negated = i > 0 && Negation(words[i - 1].text);
      const bool opens =
          w.sentenceStart || (i > 0 && words[i - 1].sentenceStart && words[i - 1].text == "also");
      if (negated || !(opens || w.sentenceEnd)) continue;
      r.mark = right ? LineMark::kCorrect : LineMark::kWrong;
    }
  }
  if (r.mark == LineMark::kNone && Trim(text) == "+") r.mark = LineMark::kCorrect;

  // The remark: the comment on one line without the tokens, when some text is left beside a
  // bare marker word.
  std::string remark = text;
  for (std::string_view token : {"NOTTHIS", "CHOICE", "FORCE", "RIGHTT", "RIGHT"}) {
    EraseAll(remark, token);
  }
  for (char& c : remark) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  std::string collapsed;
  for (char c : remark) {
    if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed.push_back(c);
  }
  collapsed = Trim(collapsed);
  std::string bare = Lower(collapsed);
  bare.erase(std::remove_if(bare.begin(), bare.end(),
                            [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }),
             bare.end());
  static constexpr std::array<std::string_view, 6> kBare = {"",          "correct", "wrong",
                                                            "incorrect", "right",   "alsocorrect"};
  const bool onlyMarker = std::find(kBare.begin(), kBare.end(), bare) != kBare.end();
  if (!onlyMarker && collapsed.size() > 1) r.remark = collapsed.substr(0, 240);
  return r;
}

std::optional<int> AnswerFromComments(std::string_view comments) {
  const std::string lower = Lower(comments);
  // An explicit answer line wins.
  for (std::size_t at = lower.find("answer:"); at != std::string::npos;
       at = lower.find("answer:", at + 1)) {
    std::size_t end = lower.find('\n', at);
    const std::string value =
        Trim(lower.substr(at + 7, end == std::string::npos ? end : end - at - 7));
    if (value.rfind("killed by ko", 0) == 0) return 2;
    if (value.rfind("lives by ko", 0) == 0) return 3;
    if (value.rfind("dies", 0) == 0) return 0;
    if (value.rfind("lives", 0) == 0) return 1;
  }
  // Otherwise the task's wording, when it names exactly one of living and killing.
  bool live = false;
  bool kill = false;
  bool ko = false;
  for (const Word& w : Words(lower)) {
    if (w.text == "live" || w.text == "lives" || w.text == "living" || w.text == "alive" ||
        w.text == "survive") {
      live = true;
    } else if (w.text == "kill" || w.text == "kills" || w.text == "capture" || w.text == "dead" ||
               w.text == "die" || w.text == "dies") {
      kill = true;
    } else if (w.text == "ko") {
      ko = true;
    }
  }
  if (live == kill) return std::nullopt;
  if (live) return ko ? 3 : 1;
  return ko ? 2 : 0;
}

// ---- Game trees ----------------------------------------------------------------------------

namespace {

constexpr int kBoard = 19;

ImportOutcome Refuse(std::string category, std::string reason, sgf::Place place) {
  ImportOutcome out;
  out.refusal = {std::move(category), std::move(reason), place};
  return out;
}

// A point value as (p, q) on the 19 x 19 board; {0, 0} for a pass ("" or "tt"), {-1, -1} for a
// value that names no point.
std::pair<int, int> PointOf(std::string_view v) {
  if (v.empty() || v == "tt") return {0, 0};
  if (v.size() != 2) return {-1, -1};
  const int p = v[0] - 'a' + 1;
  const int q = v[1] - 'a' + 1;
  if (p < 1 || p > kBoard || q < 1 || q > kBoard) return {-1, -1};
  return {p, q};
}

struct NodeInfo {
  LineMark mark = LineMark::kNone;
  int flags = 0;
  bool main = false;
  std::string remark;
};

// The markings one SGF node carries for the move it holds (or for the move before it when it
// holds none). `userBlack` tells which side GB and GW favour.
void ReadMarkings(const sgf::Node& node, bool userBlack, std::pair<int, int> move, NodeInfo& info) {
  auto setMark = [&](LineMark m) {
    if (m == LineMark::kNone) return;
    // Merged duplicates: a correct marking outweighs a wrong one.
    if (info.mark != LineMark::kCorrect) info.mark = m;
  };
  if (const sgf::Property* c = node.Find("C")) {
    for (const std::string& v : c->values) {
      const CommentReading r = ReadComment(v);
      setMark(r.mark);
      if (r.notThis) info.flags |= kFlagBarred8;
      if (!r.remark.empty())
        info.remark = info.remark.empty() ? r.remark : info.remark + " " + r.remark;
    }
  }
  if (node.Find("BM")) info.flags |= kFlagBadMove;
  if (node.Find("DO")) info.flags |= kFlagNotBest;
  if (node.Find("IT")) info.flags |= kFlagSometimes;
  if (node.Find("GB")) setMark(userBlack ? LineMark::kCorrect : LineMark::kWrong);
  if (node.Find("GW")) setMark(userBlack ? LineMark::kWrong : LineMark::kCorrect);
  // A triangle on the stone just played marks the move as wrong.
  if (const sgf::Property* tr = node.Find("TR"); tr && move.first > 0) {
    for (const std::string& v : tr->values) {
      if (PointOf(v) == move) setMark(LineMark::kWrong);
    }
  }
}

// Expands "aa" or the compressed rectangle "aa:cc" into points; false for a malformed value.
// "tt" (a pass written as a set-up point by some editors) gives no point.
bool ExpandPoints(std::string_view v, std::vector<std::pair<int, int>>* out) {
  const std::size_t colon = v.find(':');
  if (colon == std::string_view::npos) {
    const auto pt = PointOf(v);
    if (pt.first == 0 && v == "tt") return true;
    if (pt.first <= 0) return false;
    out->push_back(pt);
    return true;
  }
  const auto a = PointOf(v.substr(0, colon));
  const auto b = PointOf(v.substr(colon + 1));
  if (a.first <= 0 || b.first <= 0) return false;
  for (int p = std::min(a.first, b.first); p <= std::max(a.first, b.first); ++p) {
    for (int q = std::min(a.second, b.second); q <= std::max(a.second, b.second); ++q) {
      out->push_back({p, q});
    }
  }
  return true;
}

bool HasSetUp(const sgf::Node& node) {
  return node.Find("AB") || node.Find("AW") || node.Find("AE");
}

// The eight symmetries of the board.
std::pair<int, int> Transform(std::pair<int, int> pt, int sym) {
  int p = pt.first;
  int q = pt.second;
  if (sym & 4) std::swap(p, q);
  if (sym & 1) p = 20 - p;
  if (sym & 2) q = 20 - q;
  return {p, q};
}

bool InFarCorner(int p, int q) { return p >= 16 && q >= 16; }

}  // namespace

ImportOutcome ImportGameTree(const sgf::Collection& sgfs, int root) {
  const auto& nodes = sgfs.nodes;
  const sgf::Node& rootNode = nodes[static_cast<std::size_t>(root)];

  // The game and the board.
  if (const std::string gm = Trim(rootNode.Value("GM")); !gm.empty() && gm != "1") {
    return Refuse("not a Go game", "not a Go game (GM[" + gm + "])", rootNode.place);
  }
  if (const sgf::Property* sz = rootNode.Find("SZ")) {
    std::string v = sz->values.empty() ? "" : Trim(sz->values.front());
    if (v != "19" && v != "19:19") {
      return Refuse("board not 19x19", "board size " + v + " is not 19x19", sz->place);
    }
  }

  // Set-up: the root and the nodes after it up to the first move or the first branching.
  std::array<std::array<int, kBoard + 1>, kBoard + 1> board{};
  std::string plColour;
  std::string comments;
  int at = root;
  std::vector<int> firstMoves;
  for (;;) {
    const sgf::Node& node = nodes[static_cast<std::size_t>(at)];
    for (const sgf::Property& prop : node.properties) {
      const int colour = prop.id == "AB" ? 1 : prop.id == "AW" ? 2 : prop.id == "AE" ? 0 : -1;
      if (colour >= 0) {
        for (const std::string& v : prop.values) {
          std::vector<std::pair<int, int>> points;
          if (!ExpandPoints(Trim(v), &points)) {
            return Refuse("set-up point off the board",
                          "set-up point [" + v + "] of " + prop.id + " is not on the board",
                          prop.place);
          }
          for (auto [p, q] : points)
            board[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)] = colour;
        }
      } else if (prop.id == "PL" && !prop.values.empty()) {
        const std::string v = Trim(prop.values.front());
        if (v == "B" || v == "b" || v == "1") plColour = "B";
        if (v == "W" || v == "w" || v == "2") plColour = "W";
      } else if ((prop.id == "C" || prop.id == "GN") && !node.Find("B") && !node.Find("W")) {
        // A comment on the first move speaks about that move, not about the problem.
        for (const std::string& v : prop.values) comments += v + "\n";
      }
    }
    if (node.Find("B") || node.Find("W")) {
      firstMoves.push_back(at);
      break;
    }
    if (node.children.size() != 1) {
      firstMoves = node.children;
      break;
    }
    at = node.children.front();
  }
  const int trunkEnd = at;

  ImportedProblem problem;
  problem.place = rootNode.place;
  {
    const std::string firstLine = comments.substr(0, comments.find('\n'));
    problem.prompt = Trim(firstLine);
  }
  problem.result2 = AnswerFromComments(comments);

  // The first player: the colour of the first moves, else PL.
  std::string first;
  {
    // Follow moveless nodes to the first move of each first line.
    std::vector<int> pending = firstMoves;
    while (!pending.empty()) {
      const int n = pending.back();
      pending.pop_back();
      const sgf::Node& node = nodes[static_cast<std::size_t>(n)];
      const std::string colour = node.Find("B") ? "B" : node.Find("W") ? "W" : "";
      if (colour.empty()) {
        pending.insert(pending.end(), node.children.begin(), node.children.end());
        continue;
      }
      if (!first.empty() && first != colour) {
        return Refuse("first moves of both colours",
                      "the first moves of the lines are of both colours", node.place);
      }
      first = colour;
    }
  }
  if (first.empty()) {
    return Refuse("no moves", "the problem has no moves", rootNode.place);
  }
  problem.firstToPlay = first;
  const bool userBlack = first == "B";

  // The tree, depth first; siblings keep their order.
  SolutionTree& tree = problem.tree;
  std::vector<NodeInfo> info;
  const NodeId start = tree.Add(kNoNode, "");
  info.emplace_back();
  info[0].main = true;
  struct Item {
    int sgf;
    NodeId parent;
    bool blackToMove;
    bool main;
  };
  std::vector<Item> stack;
  auto pushChildren = [&](const std::vector<int>& children, NodeId parent, bool black, bool main) {
    for (std::size_t i = children.size(); i-- > 0;) {
      stack.push_back({children[i], parent, black, main && i == 0});
    }
  };
  if (firstMoves.size() == 1 && firstMoves.front() == trunkEnd) {
    stack.push_back({trunkEnd, start, userBlack, true});
  } else {
    pushChildren(firstMoves, start, userBlack, true);
  }
  auto childWithPoint = [&](NodeId parent, const std::string& point) {
    for (NodeId c = tree.FirstChild(parent); c != kNoNode; c = tree.NextSibling(c)) {
      if (tree.NodePoint(c) == point) return c;
    }
    return kNoNode;
  };
  auto addChild = [&](NodeId parent, const std::string& point, bool main) {
    NodeId c = childWithPoint(parent, point);
    if (c == kNoNode) {
      c = tree.Add(parent, point);
      info.emplace_back();
    }
    info[static_cast<std::size_t>(c)].main |= main;
    return c;
  };
  bool hasElsewhere = false;
  constexpr std::size_t kMaxTreeNodes = 100000;
  while (!stack.empty()) {
    const Item item = stack.back();
    stack.pop_back();
    const sgf::Node& node = nodes[static_cast<std::size_t>(item.sgf)];
    if (tree.Size() > kMaxTreeNodes) {
      return Refuse("tree too large", "more than 100000 moves in the solution", node.place);
    }
    if (item.sgf != trunkEnd && HasSetUp(node)) {
      return Refuse("set-up inside the solution",
                    "set-up stones (AB/AW/AE) inside the solution lines", node.place);
    }
    const sgf::Property* b = node.Find("B");
    const sgf::Property* w = node.Find("W");
    if (b && w) {
      return Refuse("two moves in one node", "a node holds both a black and a white move",
                    node.place);
    }
    if (!b && !w) {
      // A node without a move: its markings belong to the move before it.
      if (item.parent != start) {
        ReadMarkings(node, userBlack, {-1, -1}, info[static_cast<std::size_t>(item.parent)]);
      }
      pushChildren(node.children, item.parent, item.blackToMove, item.main);
      continue;
    }
    const sgf::Property* move = b ? b : w;
    const bool black = b != nullptr;
    const std::string value = move->values.empty() ? "" : Trim(move->values.front());
    const auto pt = PointOf(value);
    if (pt.first < 0) {
      return Refuse("move off the board",
                    "move " + move->id + "[" + value + "] is not on the 19x19 board", move->place);
    }
    NodeId parent = item.parent;
    if (black != item.blackToMove) {
      // The other side moved elsewhere in between (an omitted pass).
      parent = addChild(parent, kPassLetters, item.main);
      hasElsewhere = true;
    }
    const std::string point =
        pt.first == 0 ? std::string(kPassLetters) : PointLetters(pt.first, pt.second);
    hasElsewhere |= pt.first == 0;
    const NodeId id = addChild(parent, point, item.main);
    ReadMarkings(node, userBlack, pt, info[static_cast<std::size_t>(id)]);
    pushChildren(node.children, id, !black, item.main);
  }

  // Verdicts at the line ends: the deepest marking on the path decides. Without any correct
  // marking the main line is the solution and every other line fails.
  const bool anyCorrect = std::any_of(
      info.begin(), info.end(), [](const NodeInfo& i) { return i.mark == LineMark::kCorrect; });
  const char word = problem.result2 ? static_cast<char>('0' + *problem.result2) : ' ';
  for (NodeId id = 0; id < static_cast<NodeId>(tree.Size()); ++id) {
    const NodeInfo& self = info[static_cast<std::size_t>(id)];
    SolutionNode& node = tree.MutableNode(id);
    if (self.flags != 0) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(self.flags));
      node.stringData = hex;
    }
    if (!self.remark.empty() && id != start) problem.remarks.push_back({id, self.remark});
    if (id == start || tree.HasChildren(id)) continue;
    LineMark decided = LineMark::kNone;
    for (NodeId up = id; up != kNoNode && decided == LineMark::kNone; up = tree.Parent(up)) {
      decided = info[static_cast<std::size_t>(up)].mark;
    }
    const bool success =
        anyCorrect ? decided == LineMark::kCorrect : (self.main && decided != LineMark::kWrong);
    node.text += success ? std::string(" 1") + word : std::string(" 0");
    while (!node.text.empty() && node.text.back() == ' ') node.text.pop_back();
  }

  // Set-up strings, and the board turned so that moves elsewhere have room in the far corner.
  std::vector<std::pair<int, int>> used;
  for (int p = 1; p <= kBoard; ++p) {
    for (int q = 1; q <= kBoard; ++q) {
      if (board[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)] != 0)
        used.push_back({p, q});
    }
  }
  for (NodeId id = 1; id < static_cast<NodeId>(tree.Size()); ++id) {
    const std::string_view pt = tree.NodePoint(id);
    if (!IsPassString(pt)) used.push_back({LetterToCoord(pt[0]), LetterToCoord(pt[1])});
  }
  // The thumbnails of the index show the top-left 14 x 14 points. A problem that already lies
  // there keeps its coordinates (so directions in its comments stay true); any other is turned,
  // of the eight ways, to the one that brings it closest to the top-left corner. When a line
  // holds a move elsewhere, the far corner must stay free for it.
  constexpr int kThumbnailSpan = 14;
  int sym = -1;
  int bestReach = kBoard + 1;
  for (int s = 0; s < 8; ++s) {
    int reach = 0;
    bool farCornerUsed = false;
    for (auto pt : used) {
      const auto t = Transform(pt, s);
      reach = std::max({reach, t.first, t.second});
      farCornerUsed = farCornerUsed || InFarCorner(t.first, t.second);
    }
    if (hasElsewhere && farCornerUsed) continue;
    if (s == 0 && reach <= kThumbnailSpan) {
      sym = 0;
      break;
    }
    if (reach < bestReach) {
      bestReach = reach;
      sym = s;
    }
  }
  if (sym < 0) {
    return Refuse("no room for a move elsewhere",
                  "a pass or move elsewhere has no free corner to be played in", rootNode.place);
  }
  for (int p = 1; p <= kBoard; ++p) {
    for (int q = 1; q <= kBoard; ++q) {
      const int colour = board[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)];
      if (colour == 0) continue;
      auto [tp, tq] = Transform({p, q}, sym);
      (colour == 1 ? problem.arrangedBlack : problem.arrangedWhite) += PointLetters(tp, tq);
    }
  }
  if (problem.arrangedBlack.size() > 254 || problem.arrangedWhite.size() > 254) {
    return Refuse("too many set-up stones", "more than 127 set-up stones of one colour",
                  rootNode.place);
  }
  if (sym != 0) {
    for (NodeId id = 1; id < static_cast<NodeId>(tree.Size()); ++id) {
      SolutionNode& node = tree.MutableNode(id);
      if (IsPassString(std::string_view(node.text).substr(0, 2))) continue;
      auto [tp, tq] = Transform({LetterToCoord(node.text[0]), LetterToCoord(node.text[1])}, sym);
      node.text.replace(0, 2, PointLetters(tp, tq));
    }
  }

  ImportOutcome out;
  out.problem = std::move(problem);
  return out;
}

std::vector<ImportOutcome> ImportSgf(std::string_view text) {
  sgf::Collection collection;
  sgf::ParseError error;
  if (!sgf::Parse(text, &collection, &error)) {
    return {Refuse("SGF syntax error", "SGF syntax error: " + error.message, error.place)};
  }
  std::vector<ImportOutcome> out;
  for (int root : collection.roots) out.push_back(ImportGameTree(collection, root));
  return out;
}

void ApplyRemarks(ImportedProblem& problem, RemarkList& remarks) {
  for (const auto& [id, text] : problem.remarks) {
    const int k = remarks.Add(text);
    if (k == 0 || !problem.tree.Valid(id)) continue;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(k));
    problem.tree.MutableNode(id).stringData2 = hex;
  }
}

std::string TreeOutline(const SolutionTree& tree) {
  std::string out;
  // Pre-order with an explicit stack; closing parentheses are emitted when a subtree ends.
  for (NodeId root = tree.FirstRoot(); root != kNoNode; root = tree.NextRoot(root)) {
    std::vector<std::pair<NodeId, bool>> stack{{root, false}};
    while (!stack.empty()) {
      auto [id, closing] = stack.back();
      stack.pop_back();
      if (closing) {
        out += ')';
        continue;
      }
      const SolutionNode& n = tree.Node(id);
      out += '(';
      out += n.text;
      if (!n.stringData.empty()) out += "{" + n.stringData + "}";
      if (!n.stringData2.empty()) out += "#" + n.stringData2;
      stack.push_back({id, true});
      std::vector<NodeId> children;
      for (NodeId c = tree.FirstChild(id); c != kNoNode; c = tree.NextSibling(c))
        children.push_back(c);
      for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, false});
    }
  }
  return out;
}

}  // namespace zendra
