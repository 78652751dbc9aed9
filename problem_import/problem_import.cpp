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

// Set-up colours by point: 0 empty, 1 black, 2 white.
using SetUpGrid = std::array<std::array<int, kBoard + 1>, kBoard + 1>;

// One game tree turned into a problem, step by step: the game and the board, the nodes before
// the first move (set-up and the problem's comments), the first player, the tree of moves, the
// verdicts at the line ends, and the orientation. A step that finds the tree unfit keeps the
// refusal and returns false; the steps after it are not run.
class GameTreeImport {
 public:
  GameTreeImport(const sgf::Collection& sgfs, int root)
      : nodes_(sgfs.nodes), root_(root), rootNode_(nodes_[static_cast<std::size_t>(root)]) {}

  ImportOutcome Run() {
    problem_.place = rootNode_.place;
    if (!CheckGameAndBoard() || !ReadTrunk() || !FindFirstPlayer() || !BuildTree()) {
      return Refused();
    }
    WriteVerdicts();
    if (!Orient()) return Refused();
    ImportOutcome out;
    out.problem = std::move(problem_);
    return out;
  }

 private:
  const sgf::Node& At(int index) const { return nodes_[static_cast<std::size_t>(index)]; }

  bool Fail(std::string category, std::string reason, sgf::Place place) {
    refusal_ = {std::move(category), std::move(reason), place};
    return false;
  }
  ImportOutcome Refused() {
    ImportOutcome out;
    out.refusal = std::move(refusal_);
    return out;
  }

  // The game must be Go and the board 19 x 19.
  bool CheckGameAndBoard() {
    if (const std::string gm = Trim(rootNode_.Value("GM")); !gm.empty() && gm != "1") {
      return Fail("not a Go game", "not a Go game (GM[" + gm + "])", rootNode_.place);
    }
    if (const sgf::Property* sz = rootNode_.Find("SZ")) {
      std::string v = sz->values.empty() ? "" : Trim(sz->values.front());
      if (v != "19" && v != "19:19") {
        return Fail("board not 19x19", "board size " + v + " is not 19x19", sz->place);
      }
    }
    return true;
  }

  // The trunk: the root and the nodes after it up to the first move or the first branching.
  // Their set-up stones make the start position; their comments (those of the first move's
  // node excepted) are the problem's own: the prompt and the answer.
  bool ReadTrunk() {
    std::string comments;
    int at = root_;
    for (;;) {
      const sgf::Node& node = At(at);
      const bool holdsMove = node.Find("B") || node.Find("W");
      for (const sgf::Property& prop : node.properties) {
        const int colour = prop.id == "AB" ? 1 : prop.id == "AW" ? 2 : prop.id == "AE" ? 0 : -1;
        if (colour >= 0) {
          if (!AddSetUp(prop, colour)) return false;
        } else if ((prop.id == "C" || prop.id == "GN") && !holdsMove) {
          // A comment on the first move speaks about that move, not about the problem.
          for (const std::string& v : prop.values) comments += v + "\n";
        }
      }
      if (holdsMove) {
        firstMoves_.push_back(at);
        break;
      }
      if (node.children.size() != 1) {
        firstMoves_ = node.children;
        break;
      }
      at = node.children.front();
    }
    trunkEnd_ = at;
    problem_.prompt = Trim(comments.substr(0, comments.find('\n')));
    problem_.result2 = AnswerFromComments(comments);
    return true;
  }

  bool AddSetUp(const sgf::Property& prop, int colour) {
    for (const std::string& v : prop.values) {
      std::vector<std::pair<int, int>> points;
      if (!ExpandPoints(Trim(v), &points)) {
        return Fail("set-up point off the board",
                    "set-up point [" + v + "] of " + prop.id + " is not on the board", prop.place);
      }
      for (auto [p, q] : points)
        setUp_[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)] = colour;
    }
    return true;
  }

  // The first player: the colour of the first move of every first line (moveless nodes are
  // followed to the move after them); lines that start with both colours are refused.
  bool FindFirstPlayer() {
    std::string first;
    std::vector<int> pending = firstMoves_;
    while (!pending.empty()) {
      const int n = pending.back();
      pending.pop_back();
      const sgf::Node& node = At(n);
      const std::string colour = node.Find("B") ? "B" : node.Find("W") ? "W" : "";
      if (colour.empty()) {
        pending.insert(pending.end(), node.children.begin(), node.children.end());
        continue;
      }
      if (!first.empty() && first != colour) {
        return Fail("first moves of both colours",
                    "the first moves of the lines are of both colours", node.place);
      }
      first = colour;
    }
    if (first.empty()) return Fail("no moves", "the problem has no moves", rootNode_.place);
    problem_.firstToPlay = first;
    userBlack_ = first == "B";
    return true;
  }

  // The tree of moves, depth first; siblings keep their order. Moves alternate as in the file:
  // a move of the side that just moved gets a move elsewhere before it, a pass is one, and two
  // sibling moves on one point become one node. Nodes without a move pass their markings to
  // the move before them.
  bool BuildTree() {
    SolutionTree& tree = problem_.tree;
    start_ = tree.Add(kNoNode, "");
    info_.emplace_back();
    info_[0].main = true;
    if (firstMoves_.size() == 1 && firstMoves_.front() == trunkEnd_) {
      stack_.push_back({trunkEnd_, start_, userBlack_, true});
    } else {
      PushChildren(firstMoves_, start_, userBlack_, true);
    }
    constexpr std::size_t kMaxTreeNodes = 100000;
    while (!stack_.empty()) {
      const Item item = stack_.back();
      stack_.pop_back();
      const sgf::Node& node = At(item.sgf);
      if (tree.Size() > kMaxTreeNodes) {
        return Fail("tree too large", "more than 100000 moves in the solution", node.place);
      }
      if (item.sgf != trunkEnd_ && HasSetUp(node)) {
        return Fail("set-up inside the solution",
                    "set-up stones (AB/AW/AE) inside the solution lines", node.place);
      }
      if (!AddNode(item, node)) return false;
    }
    return true;
  }

  // One item of the depth-first walk: an SGF node to add below `parent`.
  struct Item {
    int sgf;
    NodeId parent;
    bool blackToMove;
    bool main;  // on the first variation everywhere
  };

  void PushChildren(const std::vector<int>& children, NodeId parent, bool black, bool main) {
    for (std::size_t i = children.size(); i-- > 0;) {
      stack_.push_back({children[i], parent, black, main && i == 0});
    }
  }

  bool AddNode(const Item& item, const sgf::Node& node) {
    const sgf::Property* b = node.Find("B");
    const sgf::Property* w = node.Find("W");
    if (b && w) {
      return Fail("two moves in one node", "a node holds both a black and a white move",
                  node.place);
    }
    if (!b && !w) {
      // A node without a move: its markings belong to the move before it.
      if (item.parent != start_) {
        ReadMarkings(node, userBlack_, {-1, -1}, info_[static_cast<std::size_t>(item.parent)]);
      }
      PushChildren(node.children, item.parent, item.blackToMove, item.main);
      return true;
    }
    const sgf::Property* move = b ? b : w;
    const bool black = b != nullptr;
    const std::string value = move->values.empty() ? "" : Trim(move->values.front());
    const auto pt = PointOf(value);
    if (pt.first < 0) {
      return Fail("move off the board",
                  "move " + move->id + "[" + value + "] is not on the 19x19 board", move->place);
    }
    NodeId parent = item.parent;
    if (black != item.blackToMove) {
      // The other side moved elsewhere in between (an omitted pass).
      parent = AddChild(parent, kPassLetters, item.main);
      hasElsewhere_ = true;
    }
    const std::string point =
        pt.first == 0 ? std::string(kPassLetters) : PointLetters(pt.first, pt.second);
    hasElsewhere_ |= pt.first == 0;
    const NodeId id = AddChild(parent, point, item.main);
    ReadMarkings(node, userBlack_, pt, info_[static_cast<std::size_t>(id)]);
    PushChildren(node.children, id, !black, item.main);
    return true;
  }

  // The child of `parent` on `point`, added when there is none yet.
  NodeId AddChild(NodeId parent, const std::string& point, bool main) {
    SolutionTree& tree = problem_.tree;
    NodeId c = tree.FirstChild(parent);
    while (c != kNoNode && tree.NodePoint(c) != point) c = tree.NextSibling(c);
    if (c == kNoNode) {
      c = tree.Add(parent, point);
      info_.emplace_back();
    }
    info_[static_cast<std::size_t>(c)].main |= main;
    return c;
  }

  // Flags and remarks of every node, and the outcome code of every line end: the deepest
  // marking on the path decides. Without any correct marking the main line is the solution and
  // every other line fails.
  void WriteVerdicts() {
    SolutionTree& tree = problem_.tree;
    const bool anyCorrect = std::any_of(
        info_.begin(), info_.end(), [](const NodeInfo& i) { return i.mark == LineMark::kCorrect; });
    const char word = problem_.result2 ? static_cast<char>('0' + *problem_.result2) : ' ';
    for (NodeId id = 0; id < static_cast<NodeId>(tree.Size()); ++id) {
      const NodeInfo& self = info_[static_cast<std::size_t>(id)];
      SolutionNode& node = tree.MutableNode(id);
      if (self.flags != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(self.flags));
        node.stringData = hex;
      }
      if (!self.remark.empty() && id != start_) problem_.remarks.push_back({id, self.remark});
      if (id == start_ || tree.HasChildren(id)) continue;
      LineMark decided = LineMark::kNone;
      for (NodeId up = id; up != kNoNode && decided == LineMark::kNone; up = tree.Parent(up)) {
        decided = info_[static_cast<std::size_t>(up)].mark;
      }
      const bool success =
          anyCorrect ? decided == LineMark::kCorrect : (self.main && decided != LineMark::kWrong);
      node.text += success ? std::string(" 1") + word : std::string(" 0");
      while (!node.text.empty() && node.text.back() == ' ') node.text.pop_back();
    }
  }

  // The thumbnails of the index show the top-left 14 x 14 points. A problem that already lies
  // there keeps its coordinates (so directions in its comments stay true); any other is turned,
  // of the eight ways, to the one that brings it closest to the top-left corner. When a line
  // holds a move elsewhere, the far corner must stay free for it. The set-up strings are
  // written in the chosen orientation.
  bool Orient() {
    const int sym = ChooseSymmetry();
    if (sym < 0) {
      return Fail("no room for a move elsewhere",
                  "a pass or move elsewhere has no free corner to be played in", rootNode_.place);
    }
    for (int p = 1; p <= kBoard; ++p) {
      for (int q = 1; q <= kBoard; ++q) {
        const int colour = setUp_[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)];
        if (colour == 0) continue;
        auto [tp, tq] = Transform({p, q}, sym);
        (colour == 1 ? problem_.arrangedBlack : problem_.arrangedWhite) += PointLetters(tp, tq);
      }
    }
    if (problem_.arrangedBlack.size() > 254 || problem_.arrangedWhite.size() > 254) {
      return Fail("too many set-up stones", "more than 127 set-up stones of one colour",
                  rootNode_.place);
    }
    if (sym != 0) {
      SolutionTree& tree = problem_.tree;
      for (NodeId id = 1; id < static_cast<NodeId>(tree.Size()); ++id) {
        SolutionNode& node = tree.MutableNode(id);
        if (IsPassString(std::string_view(node.text).substr(0, 2))) continue;
        auto [tp, tq] = Transform({LetterToCoord(node.text[0]), LetterToCoord(node.text[1])}, sym);
        node.text.replace(0, 2, PointLetters(tp, tq));
      }
    }
    return true;
  }

  // The symmetry (0 to 7) to store the problem in; -1 when no turn leaves the far corner free
  // for a move elsewhere.
  int ChooseSymmetry() const {
    const SolutionTree& tree = problem_.tree;
    std::vector<std::pair<int, int>> used;
    for (int p = 1; p <= kBoard; ++p) {
      for (int q = 1; q <= kBoard; ++q) {
        if (setUp_[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)] != 0)
          used.push_back({p, q});
      }
    }
    for (NodeId id = 1; id < static_cast<NodeId>(tree.Size()); ++id) {
      const std::string_view pt = tree.NodePoint(id);
      if (!IsPassString(pt)) used.push_back({LetterToCoord(pt[0]), LetterToCoord(pt[1])});
    }
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
      if (hasElsewhere_ && farCornerUsed) continue;
      if (s == 0 && reach <= kThumbnailSpan) return 0;
      if (reach < bestReach) {
        bestReach = reach;
        sym = s;
      }
    }
    return sym;
  }

  const std::vector<sgf::Node>& nodes_;
  const int root_;
  const sgf::Node& rootNode_;

  ImportedProblem problem_;
  ImportRefusal refusal_;
  SetUpGrid setUp_{};
  std::vector<int> firstMoves_;  // the first move's node, or the nodes where the lines begin
  int trunkEnd_ = 0;
  bool userBlack_ = true;
  NodeId start_ = kNoNode;
  std::vector<NodeInfo> info_;  // by tree node
  std::vector<Item> stack_;
  bool hasElsewhere_ = false;
};

}  // namespace

ImportOutcome ImportGameTree(const sgf::Collection& sgfs, int root) {
  return GameTreeImport(sgfs, root).Run();
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
