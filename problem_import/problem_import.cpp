#include "problem_import/problem_import.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <iterator>

#include "board/engine/lattix_engine.h"
#include "board/engine/points.h"
#include "problem_import/text_encoding.h"

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
  std::string text;        // lower case
  std::size_t offset = 0;  // where it starts in the comment
  int sentence = 0;        // the sentence it belongs to, counted from 0
  bool sentenceStart = false;
  bool sentenceEnd = false;  // followed by '.', '!', '?', ',' ';' ':' or the end
};

std::vector<Word> Words(std::string_view s) {
  std::vector<Word> words;
  bool start = true;
  int sentence = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (!IsWordChar(s[i])) {
      if (std::string_view(".!?\n").find(s[i]) != std::string_view::npos && !start) {
        start = true;
        ++sentence;
      }
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < s.size() && IsWordChar(s[j])) ++j;
    Word w;
    w.text = Lower(s.substr(i, j - i));
    w.offset = i;
    w.sentence = sentence;
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

// A verdict found in a comment, and where: of several, the one read last counts.
struct Verdict {
  LineMark mark = LineMark::kNone;
  std::size_t offset = 0;
};

// The English verdict a player would read: per sentence, the words "correct", "wrong",
// "incorrect" or "failure" opening the sentence ("Correct.", "Also correct") or closing it or
// a clause ("That is correct!"), neither negated ("This isn't wrong") nor used as an adjective
// ("the correct answer"), or a sentence opened by a bare "No," / "Nope." The last sentence
// that gives a verdict decides. A success that is hedged is no success and reads as wrong:
// "almost" or "nearly" before it, "so far" after it, a start, beginning, first move or idea
// next to it ("Correct start", "The first is correct"), or a "but"/"however" after a verdict
// that does not open its sentence ("Your first move was correct, but ...").
Verdict EnglishVerdict(std::string_view text) {
  const std::vector<Word> words = Words(text);
  auto near = [&](std::size_t at, std::size_t from, std::size_t to, auto test) {
    for (std::size_t k = from; k < to; ++k) {
      if (k != at && test(words[k].text)) return true;
    }
    return false;
  };
  Verdict last;
  std::size_t i = 0;
  while (i < words.size()) {
    const int sentence = words[i].sentence;
    std::size_t end = i;
    while (end < words.size() && words[end].sentence == sentence) ++end;
    // The verdict of the sentence [i, end).
    LineMark mark = LineMark::kNone;
    std::size_t at = end;
    bool opens = false;
    for (std::size_t k = i; k < end && mark == LineMark::kNone; ++k) {
      const Word& w = words[k];
      if (k == i && (w.text == "no" || w.text == "nope") && w.sentenceEnd) {
        mark = LineMark::kWrong;
        at = k;
        break;
      }
      const bool right = w.text == "correct";
      const bool wrong = w.text == "wrong" || w.text == "incorrect" || w.text == "failure";
      if (!right && !wrong) continue;
      const std::string& before = k > i ? words[k - 1].text : std::string();
      const bool negated = Negation(before);
      const bool adjective = before == "the" || before == "a" || before == "an";
      opens = w.sentenceStart || (k == i + 1 && words[i].text == "also");
      if (negated || adjective || !(opens || w.sentenceEnd)) continue;
      mark = right ? LineMark::kCorrect : LineMark::kWrong;
      at = k;
    }
    if (mark == LineMark::kCorrect) {
      const std::size_t from = at >= i + 2 ? at - 2 : i;
      const std::size_t to = std::min(end, at + 3);
      const bool hedged =
          near(at, from, at, [](const std::string& t) { return t == "almost" || t == "nearly"; }) ||
          (at + 2 < end && words[at + 1].text == "so" && words[at + 2].text == "far") ||
          near(at, from, to,
               [](const std::string& t) {
                 return t == "start" || t == "beginning" || t == "first" || t == "idea";
               }) ||
          (!opens && near(at, at + 1, end,
                          [](const std::string& t) { return t == "but" || t == "however"; }));
      if (hedged) mark = LineMark::kWrong;
    }
    if (mark != LineMark::kNone) last = {mark, words[at].offset};
    i = end;
  }
  return last;
}

// The last Chinese or Japanese verdict word of a comment. A failure word with a colour before
// it in the same clause (黑失败, 白对杀失败) is that side's failure: the user's success when the
// colour is the opponent's.
Verdict CjkVerdict(std::string_view text, bool userBlack) {
  struct Term {
    std::string_view word;
    LineMark mark;
    bool failure;  // a failure that may name its side
  };
  // "不正解" (incorrect) contains "正解": a 正解 right after 不 is not counted as correct.
  static constexpr std::array<Term, 8> kTerms = {{
      {"不正解", LineMark::kWrong, false},
      {"失败", LineMark::kWrong, true},
      {"失敗", LineMark::kWrong, true},
      {"错误", LineMark::kWrong, false},
      {"錯誤", LineMark::kWrong, false},
      {"正解", LineMark::kCorrect, false},
      {"正确", LineMark::kCorrect, false},
      {"正確", LineMark::kCorrect, false},
  }};
  static constexpr std::string_view kNot = "不";
  static constexpr std::array<std::string_view, 8> kClauseEnds = {"。", "，", "；", "！",
                                                                  "？", ",",  ";",  "."};
  Verdict last;
  for (const Term& term : kTerms) {
    for (std::size_t at = text.find(term.word); at != std::string_view::npos;
         at = text.find(term.word, at + 1)) {
      if (term.word == "正解" && at >= kNot.size() &&
          text.substr(at - kNot.size(), kNot.size()) == kNot) {
        continue;
      }
      LineMark mark = term.mark;
      if (term.failure) {
        // The nearest colour before the word, within its clause.
        std::size_t clause = 0;
        for (std::string_view end : kClauseEnds) {
          const std::size_t e = text.rfind(end, at);
          if (e != std::string_view::npos && e + end.size() <= at)
            clause = std::max(clause, e + end.size());
        }
        const std::string_view before = text.substr(clause, at - clause);
        const std::size_t black = before.rfind("黑");
        const std::size_t white = before.rfind("白");
        if (black != std::string_view::npos || white != std::string_view::npos) {
          const bool blackFails =
              white == std::string_view::npos || (black != std::string_view::npos && black > white);
          mark = blackFails == userBlack ? LineMark::kWrong : LineMark::kCorrect;
        }
      }
      if (last.mark == LineMark::kNone || at >= last.offset) last = {mark, at};
    }
  }
  return last;
}

// True when a comment ends in a frown (":(", ":-(", ":'("), goproblems' sign of a failed line.
bool EndsInFrown(std::string_view text) {
  const std::string t = Trim(text);
  for (std::string_view frown : {":(", ":-(", ":'("}) {
    if (t.size() >= frown.size() && t.compare(t.size() - frown.size(), frown.size(), frown) == 0)
      return true;
  }
  return false;
}

}  // namespace

// ---- Comments ------------------------------------------------------------------------------

CommentReading ReadComment(std::string_view comment, bool userBlack) {
  CommentReading r;
  const std::string text(comment);
  r.notThis = text.find("NOTTHIS") != std::string::npos;
  r.choice = text.find("CHOICE") != std::string::npos;

  // Marker tokens of goproblems-style files: upper-case, often run together (CHOICERIGHT, the
  // typo RIGHTT). They are the author's deliberate marking and win over any wording.
  if (text.find("RIGHT") != std::string::npos) {
    r.mark = LineMark::kCorrect;
  } else {
    const Verdict english = EnglishVerdict(text);
    const Verdict cjk = CjkVerdict(text, userBlack);
    if (cjk.mark != LineMark::kNone &&
        (english.mark == LineMark::kNone || cjk.offset > english.offset)) {
      r.mark = cjk.mark;
      r.cjk = true;
    } else {
      r.mark = english.mark;
    }
    if (r.mark == LineMark::kNone && Trim(text) == "+") r.mark = LineMark::kCorrect;
    if (r.mark == LineMark::kNone && EndsInFrown(text)) r.mark = LineMark::kWrong;
  }

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
  // The words left once punctuation is gone (letters of other scripts stay).
  std::string bare = Lower(collapsed);
  bare.erase(std::remove_if(bare.begin(), bare.end(),
                            [](char c) {
                              return static_cast<unsigned char>(c) < 0x80 &&
                                     !std::isalnum(static_cast<unsigned char>(c));
                            }),
             bare.end());
  static constexpr std::array<std::string_view, 13> kBare = {
      "",     "correct", "wrong", "incorrect", "right", "alsocorrect", "正解",
      "正确", "正確",    "失败",  "失敗",      "错误",  "錯誤"};
  const bool onlyMarker = std::find(kBare.begin(), kBare.end(), bare) != kBare.end();
  if (!onlyMarker && collapsed.size() > 1) r.remark = collapsed;
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

// Expands "aa" or the compressed rectangle "aa:cc" into points; false for a malformed value.
// "tt" (a pass written as a set-up point by some editors) gives no point.
bool ExpandPoints(std::string_view v, std::vector<std::pair<int, int>>* out) {
  const std::size_t colon = v.find(':');
  if (colon == std::string_view::npos) {
    const auto pt = SgfPoint(v);
    if (pt.first == 0 && v == "tt") return true;
    if (pt.first <= 0) return false;
    out->push_back(pt);
    return true;
  }
  const auto a = SgfPoint(v.substr(0, colon));
  const auto b = SgfPoint(v.substr(colon + 1));
  if (a.first <= 0 || b.first <= 0) return false;
  for (int p = std::min(a.first, b.first); p <= std::max(a.first, b.first); ++p) {
    for (int q = std::min(a.second, b.second); q <= std::max(a.second, b.second); ++q) {
      out->push_back({p, q});
    }
  }
  return true;
}

// The set-up colour a property asks for: 1 black (AB), 2 white (AW), 0 empty (AE); -1 for
// any other property.
int SetUpColour(const sgf::Property& prop) {
  return prop.id == "AB" ? 1 : prop.id == "AW" ? 2 : prop.id == "AE" ? 0 : -1;
}

bool HasSetUp(const sgf::Node& node) {
  return node.Find("AB") || node.Find("AW") || node.Find("AE");
}

bool InFarCorner(int p, int q) { return p >= 16 && q >= 16; }

// Why the board refuses a move on the empty or occupied point (p, q): an occupied point, a ko
// retake (the move would capture, yet is refused) or a suicide.
std::string IllegalReason(const LattixEngine& board, int p, int q) {
  if ((board.GetPoint(p, q) & kStoneBit) != 0) return "occupied point";
  const Colour mover = board.Turn();
  constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& s : kSteps) {
    const int x = p + s[0];
    const int y = q + s[1];
    if (!board.IsOnBoard(x, y) || !OppositeSides(board.GetPoint(x, y), mover)) continue;
    // Does the chain at (x, y) have a liberty other than (p, q)?
    std::vector<std::pair<int, int>> todo{{x, y}};
    std::array<std::array<bool, kBoard + 2>, kBoard + 2> seen{};
    seen[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = true;
    bool free = false;
    while (!todo.empty() && !free) {
      const auto [a, b] = todo.back();
      todo.pop_back();
      for (const auto& t : kSteps) {
        const int u = a + t[0];
        const int v = b + t[1];
        if (!board.IsOnBoard(u, v) ||
            seen[static_cast<std::size_t>(u)][static_cast<std::size_t>(v)])
          continue;
        const Colour c = board.GetPoint(u, v);
        if ((c & kStoneBit) == 0) {
          free = free || !(u == p && v == q);
        } else if (SameSide(c, board.GetPoint(x, y))) {
          seen[static_cast<std::size_t>(u)][static_cast<std::size_t>(v)] = true;
          todo.push_back({u, v});
        }
      }
    }
    if (!free) return "ko retake";
  }
  return "suicide";
}

// Set-up colours by point: 0 empty, 1 black, 2 white.
using SetUpGrid = std::array<std::array<int, kBoard + 1>, kBoard + 1>;

// What the import knows of one node of the tree.
struct NodeInfo {
  NodeMarking marking;
  sgf::Place place;              // of the SGF node that holds the move
  std::string move;              // as the file writes it, "B[cc]"
  std::vector<int> setUpBefore;  // nodes without a move whose set-up stands before this move
  int setUpWith = -1;            // the move's own node when it holds set-up stones too
  bool success = false;          // at a line end: the line succeeds
};

// One game tree turned into a problem, step by step: the game and the board, the nodes before
// the first move (set-up and the problem's comments), the first player, the tree of moves, the
// verdicts at the line ends, the wrong lines dropped because they cannot be played, the nodes'
// codes, flags and remarks, and the orientation. A step that finds the tree unfit keeps the
// refusal and returns false; the steps after it are not run.
class GameTreeImport {
 public:
  GameTreeImport(const sgf::Collection& sgfs, int root, LineCheck lines)
      : nodes_(sgfs.nodes),
        root_(root),
        rootNode_(nodes_[static_cast<std::size_t>(root)]),
        lines_(lines) {}

  ImportOutcome Run() {
    problem_.place = rootNode_.place;
    if (!CheckGameAndBoard() || !ReadTrunk() || !FindFirstPlayer() || !BuildTree()) {
      return Refused();
    }
    JudgeLines();
    if (lines_ == LineCheck::kPlay || setUpInLines_) {
      if (!DropBrokenLines()) return Refused();
    } else {
      Rebuild(std::vector<char>(problem_.tree.Size(), 0));
    }
    WriteNodes();
    if (!Orient()) return Refused();
    ImportOutcome out;
    out.problem = std::move(problem_);
    return out;
  }

 private:
  const sgf::Node& At(int index) const { return nodes_[static_cast<std::size_t>(index)]; }
  NodeInfo& Info(NodeId id) { return info_[static_cast<std::size_t>(id)]; }

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
      // Set-up in the first move's node that puts the move's own stone on its point (an editor
      // that wrote the move into the position as well) leaves the point to the move.
      std::pair<int, int> own{-1, -1};
      int ownColour = 0;
      if (holdsMove) {
        const sgf::Property* move = node.Find("B") ? node.Find("B") : node.Find("W");
        own = SgfPoint(move->values.empty() ? "" : Trim(move->values.front()));
        ownColour = move->id == "B" ? 1 : 2;
      }
      for (const sgf::Property& prop : node.properties) {
        if (const int colour = SetUpColour(prop); colour >= 0) {
          if (!AddSetUp(prop, colour, colour == ownColour ? own : std::pair{-1, -1})) return false;
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

  // Puts the stones of one set-up property on the start position, except on `except`.
  bool AddSetUp(const sgf::Property& prop, int colour, std::pair<int, int> except) {
    for (const std::string& v : prop.values) {
      std::vector<std::pair<int, int>> points;
      if (!ExpandPoints(Trim(v), &points)) {
        return Fail("set-up point off the board",
                    "set-up point [" + v + "] of " + prop.id + " is not on the board", prop.place);
      }
      for (auto pt : points) {
        if (pt != except)
          setUp_[static_cast<std::size_t>(pt.first)][static_cast<std::size_t>(pt.second)] = colour;
      }
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

  // One item of the depth-first walk: an SGF node to add below `parent`.
  struct Item {
    int sgf;
    NodeId parent;
    bool blackToMove;
    // Nodes without a move met since the last move: their set-up stones stand before the next
    // move, and at the start of a line (no move before them) their markings belong to it.
    std::vector<int> carried;
  };

  // The tree of moves, depth first; siblings keep their order. Moves alternate as in the file:
  // a move of the side that just moved gets a move elsewhere before it, a pass is one, and two
  // sibling moves on one point become one node. Nodes without a move pass their markings to
  // the move before them. Set-up stones inside the lines are kept with the move they precede
  // and judged when the lines are played (DropBrokenLines).
  bool BuildTree() {
    SolutionTree& tree = problem_.tree;
    start_ = tree.Add(kNoNode, "");
    info_.emplace_back();
    if (firstMoves_.size() == 1 && firstMoves_.front() == trunkEnd_) {
      stack_.push_back({trunkEnd_, start_, userBlack_, {}});
    } else {
      PushChildren(firstMoves_, start_, userBlack_, {});
    }
    constexpr std::size_t kMaxTreeNodes = 100000;
    while (!stack_.empty()) {
      Item item = std::move(stack_.back());
      stack_.pop_back();
      const sgf::Node& node = At(item.sgf);
      if (tree.Size() > kMaxTreeNodes) {
        return Fail("tree too large", "more than 100000 moves in the solution", node.place);
      }
      if (!AddNode(std::move(item), node)) return false;
    }
    return true;
  }

  void PushChildren(const std::vector<int>& children, NodeId parent, bool black,
                    const std::vector<int>& carried) {
    for (std::size_t i = children.size(); i-- > 0;) {
      stack_.push_back({children[i], parent, black, carried});
    }
  }

  bool AddNode(Item item, const sgf::Node& node) {
    const sgf::Property* b = node.Find("B");
    const sgf::Property* w = node.Find("W");
    if (b && w) {
      return Fail("two moves in one node", "a node holds both a black and a white move",
                  node.place);
    }
    if (!b && !w) {
      // A node without a move: its markings belong to the move before it; at the start of a
      // line there is none, and they go to the move after it.
      if (item.parent != start_) {
        Info(item.parent).marking.Merge(ReadNodeMarking(node, userBlack_, {-1, -1}));
      }
      item.carried.push_back(item.sgf);
      PushChildren(node.children, item.parent, item.blackToMove, item.carried);
      return true;
    }
    const sgf::Property* move = b ? b : w;
    const bool black = b != nullptr;
    const std::string value = move->values.empty() ? "" : Trim(move->values.front());
    const auto pt = SgfPoint(value);
    if (pt.first < 0) {
      return Fail("move off the board",
                  "move " + move->id + "[" + value + "] is not on the 19x19 board", move->place);
    }
    NodeId parent = item.parent;
    if (black != item.blackToMove) {
      // The other side moved elsewhere in between (an omitted pass).
      parent = AddChild(parent, kPassLetters);
      hasElsewhere_ = true;
    }
    const std::string point =
        pt.first == 0 ? std::string(kPassLetters) : PointLetters(pt.first, pt.second);
    hasElsewhere_ |= pt.first == 0;
    const NodeId id = AddChild(parent, point);
    NodeInfo& info = Info(id);
    if (info.move.empty()) {
      info.place = node.place;
      info.move = move->id + "[" + value + "]";
    }
    for (int c : item.carried) {
      if (item.parent == start_) info.marking.Merge(ReadNodeMarking(At(c), userBlack_, {-1, -1}));
      if (HasSetUp(At(c))) info.setUpBefore.push_back(c);
    }
    if (item.sgf != trunkEnd_ && HasSetUp(node)) info.setUpWith = item.sgf;
    setUpInLines_ |= info.setUpWith >= 0 || !info.setUpBefore.empty();
    info.marking.Merge(ReadNodeMarking(node, userBlack_, pt));
    PushChildren(node.children, id, !black, {});
    return true;
  }

  // The child of `parent` on `point`, added when there is none yet.
  NodeId AddChild(NodeId parent, const std::string& point) {
    SolutionTree& tree = problem_.tree;
    NodeId c = tree.FirstChild(parent);
    while (c != kNoNode && tree.NodePoint(c) != point) c = tree.NextSibling(c);
    if (c == kNoNode) {
      c = tree.Add(parent, point);
      info_.emplace_back();
    }
    return c;
  }

  // The node's own mark, a triangle on a stone the user just played counting as wrong.
  LineMark MarkOf(NodeId id) const {
    const NodeMarking& m = info_[static_cast<std::size_t>(id)].marking;
    if (m.mark == LineMark::kNone && m.triangle && problem_.tree.Level(id) % 2 == 1) {
      return LineMark::kWrong;
    }
    return m.mark;
  }

  // The verdict of every line end. The deepest marking on the line decides. A tree with a
  // correct marking in the goproblems or English style (RIGHT, "Correct", GB/GW, "+") is a
  // marked one: its unmarked lines fail. Any other tree reads as the classical books are
  // written: at the user's turns the answer is the first variation not marked wrong, at the
  // computer's turns every variation is a defence it may choose; a line succeeds when the user
  // gave the answer at each of its turns.
  void JudgeLines() {
    const SolutionTree& tree = problem_.tree;
    const std::size_t n = tree.Size();
    bool marked = false;
    for (const NodeInfo& i : info_) {
      marked |= i.marking.mark == LineMark::kCorrect && !i.marking.cjk;
    }
    std::vector<LineMark> decided(n, LineMark::kNone);
    std::vector<char> answers(n, 1);  // every user move on the way was the answer
    for (NodeId id = 0; id < static_cast<NodeId>(n); ++id) {
      const NodeId parent = tree.Parent(id);
      if (parent == kNoNode) continue;  // parents come before their children
      const auto i = static_cast<std::size_t>(id);
      const auto up = static_cast<std::size_t>(parent);
      const LineMark own = MarkOf(id);
      decided[i] = own != LineMark::kNone ? own : decided[up];
      answers[i] = answers[up];
      if (tree.Level(id) % 2 == 1) {
        NodeId answer = tree.FirstChild(parent);
        while (answer != kNoNode && MarkOf(answer) == LineMark::kWrong) {
          answer = tree.NextSibling(answer);
        }
        answers[i] = answers[i] && answer == id;
      }
      if (!tree.HasChildren(id)) {
        info_[i].success = decided[i] == LineMark::kCorrect ||
                           (decided[i] == LineMark::kNone && !marked && answers[i]);
      }
    }
  }

  // By node: some line end at or below it succeeds. (Children come after their parents.)
  std::vector<char> SuccessBelow() const {
    const SolutionTree& tree = problem_.tree;
    std::vector<char> below(tree.Size(), 0);
    for (NodeId id = static_cast<NodeId>(tree.Size()); id-- > 0;) {
      const auto i = static_cast<std::size_t>(id);
      below[i] = below[i] || (!tree.HasChildren(id) && info_[i].success);
      if (tree.Parent(id) != kNoNode && below[i])
        below[static_cast<std::size_t>(tree.Parent(id))] = 1;
    }
    return below;
  }

  // Plays every line on a board. A move the board refuses (occupied point, ko retake,
  // suicide), or set-up stones that change the position, break the line from that node on:
  // a broken wrong line is dropped there (the node before it ends the line, as a failure), a
  // broken correct line refuses the problem. Set-up that changes nothing is ignored.
  bool DropBrokenLines() {
    SolutionTree& tree = problem_.tree;
    const std::vector<char> successBelow = SuccessBelow();

    LattixEngine board;
    board.SetFirstToPlay(userBlack_ ? kBlack : kWhite);
    board.NewGame(false);
    std::string black;
    std::string white;
    for (int p = 1; p <= kBoard; ++p) {
      for (int q = 1; q <= kBoard; ++q) {
        const int colour = setUp_[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)];
        if (colour != 0) (colour == 1 ? black : white) += PointLetters(p, q);
      }
    }
    board.SetArrangedSideP(black);
    board.SetArrangedSideN(white);

    // Depth first; the board goes back to a node's parent position in one replay when the
    // walk returns from a line (a replay per line rather than a takeback per move).
    std::vector<char> dropped(tree.Size(), 0);
    std::vector<NodeId> stack;
    auto pushChildren = [&](NodeId parent) {
      const std::size_t first = stack.size();
      for (NodeId c = tree.FirstChild(parent); c != kNoNode; c = tree.NextSibling(c)) {
        stack.push_back(c);
      }
      std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
    };
    pushChildren(start_);
    while (!stack.empty()) {
      const NodeId id = stack.back();
      stack.pop_back();
      if (const int before = tree.Level(id) - 1; board.NextMove() - 1 != before) {
        board.GoToMove(before, false);
      }
      const NodeInfo& info = Info(id);
      std::string why = SetUpChange(board, info.setUpBefore);
      bool setUp = !why.empty();
      bool played = false;
      if (why.empty()) {
        const std::string_view point = tree.NodePoint(id);
        const int p = IsPassString(point) ? kPassCoord : LetterToCoord(point[0]);
        const int q = IsPassString(point) ? kPassCoord : LetterToCoord(point[1]);
        played = board.PlayGoMove(p, q, false);
        if (!played) why = "move " + info.move + " is illegal (" + IllegalReason(board, p, q) + ")";
      }
      // Set-up stones in the move's own node count after the move; at a line end nothing is
      // played after them.
      if (played && info.setUpWith >= 0 && tree.HasChildren(id)) {
        why = SetUpChange(board, {info.setUpWith});
        setUp = !why.empty();
      }
      if (why.empty()) {
        pushChildren(id);
        continue;
      }
      if (successBelow[static_cast<std::size_t>(id)]) {
        return setUp
                   ? Fail("set-up inside the solution", why + " on a correct line", info.place)
                   : Fail("illegal move in a correct line", why + " on a correct line", info.place);
      }
      dropped[static_cast<std::size_t>(id)] = 1;
      problem_.notes.push_back({info.place, "dropped a wrong line: " + why});
    }
    Rebuild(dropped);
    return true;
  }

  // Why the set-up stones of `setUpNodes` break a line at the board's position ("" when they
  // change nothing).
  std::string SetUpChange(const LattixEngine& board, const std::vector<int>& setUpNodes) const {
    for (int n : setUpNodes) {
      for (const sgf::Property& prop : At(n).properties) {
        const int colour = SetUpColour(prop);
        if (colour < 0) continue;
        for (const std::string& v : prop.values) {
          std::vector<std::pair<int, int>> points;
          if (!ExpandPoints(Trim(v), &points)) {
            return "set-up point [" + v + "] of " + prop.id + " is not on the board";
          }
          for (auto [p, q] : points) {
            const Colour c = board.GetPoint(p, q);
            const int now = (c & kStoneBit) == 0 ? 0 : c > 0 ? 1 : 2;
            if (now != colour) return "set-up stones (AB/AW/AE) change the position";
          }
        }
      }
    }
    return "";
  }

  // Rebuilds the tree without the subtrees of the dropped nodes; a node whose every child was
  // dropped ends its line as a failure. Among the computer's replies to a move, those that end
  // the line in a success come first: the computer plays the first reply itself, while a
  // further reply is offered by "Next variation", which needs a move of the user after it.
  void Rebuild(const std::vector<char>& dropped) {
    const SolutionTree& old = problem_.tree;
    SolutionTree tree;
    std::vector<NodeInfo> info;
    std::vector<std::pair<NodeId, NodeId>> stack{{start_, kNoNode}};  // old node, new parent
    while (!stack.empty()) {
      const auto [id, parent] = stack.back();
      stack.pop_back();
      const NodeId copy = tree.Add(parent, old.Node(id).text);
      info.push_back(std::move(Info(id)));
      bool kept = false;
      std::vector<NodeId> children;
      for (NodeId c = old.FirstChild(id); c != kNoNode; c = old.NextSibling(c)) {
        if (!dropped[static_cast<std::size_t>(c)]) children.push_back(c);
      }
      if (old.Level(id) % 2 == 1) {
        std::stable_partition(children.begin(), children.end(),
                              [&](NodeId c) { return !old.HasChildren(c) && Info(c).success; });
      }
      for (auto it = children.rbegin(); it != children.rend(); ++it) {
        stack.push_back({*it, copy});
        kept = true;
      }
      if (!kept && old.HasChildren(id)) info.back().success = false;
    }
    problem_.tree = std::move(tree);
    info_ = std::move(info);
    start_ = problem_.tree.FirstRoot();
  }

  // Flags and remarks of every node, and the outcome code of every line end.
  void WriteNodes() {
    SolutionTree& tree = problem_.tree;
    const char word = problem_.result2 ? static_cast<char>('0' + *problem_.result2) : ' ';
    const std::vector<char> barred = BarredReplies();
    for (NodeId id = 0; id < static_cast<NodeId>(tree.Size()); ++id) {
      const NodeInfo& self = Info(id);
      SolutionNode& node = tree.MutableNode(id);
      int flags = self.marking.flags;
      if (tree.Level(id) % 2 == 0 && id != start_) {
        flags = (flags & ~kFlagBarred8) | (barred[static_cast<std::size_t>(id)] ? kFlagBarred8 : 0);
      }
      if (flags != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(flags));
        node.stringData = hex;
      }
      if (!self.marking.remark.empty() && id != start_) {
        problem_.remarks.push_back({id, self.marking.remark});
      }
      if (id == start_ || tree.HasChildren(id)) continue;
      node.text += self.success ? std::string(" 1") + word : std::string(" 0");
      while (!node.text.empty() && node.text.back() == ' ') node.text.pop_back();
    }
  }

  // The computer's replies it may not choose, by node. Of the replies to a user move, those
  // without NOTTHIS are the candidates (all of them when every one carries it); where some
  // candidate carries CHOICE, only those; where some candidate keeps a correct line below it,
  // only those, so that "Next variation" never leads the player into a line without an
  // answer (the problem could then never be counted solved); and of the candidates that end
  // the line, only the first. The others are barred.
  std::vector<char> BarredReplies() const {
    const SolutionTree& tree = problem_.tree;
    const std::vector<char> successBelow = SuccessBelow();
    std::vector<char> barred(tree.Size(), 0);
    for (NodeId u = 0; u < static_cast<NodeId>(tree.Size()); ++u) {
      if (tree.Level(u) % 2 == 0 || tree.ChildCount(u) < 2) continue;
      std::vector<NodeId> candidates;
      for (NodeId c = tree.FirstChild(u); c != kNoNode; c = tree.NextSibling(c)) {
        candidates.push_back(c);
      }
      auto keep = [&](auto test) {
        std::vector<NodeId> kept;
        std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(kept), test);
        if (!kept.empty()) candidates = std::move(kept);
      };
      keep([&](NodeId c) {
        return (info_[static_cast<std::size_t>(c)].marking.flags & kFlagBarred8) == 0;
      });
      keep([&](NodeId c) { return info_[static_cast<std::size_t>(c)].marking.choice; });
      keep([&](NodeId c) { return successBelow[static_cast<std::size_t>(c)] != 0; });
      // Only the reply the computer plays first may end the line ("Next variation" cannot
      // show a reply after which the user has no move); the rebuilt tree puts successful
      // line ends first.
      bool leaf = false;
      candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                      [&](NodeId c) {
                                        if (tree.HasChildren(c)) return false;
                                        const bool more = leaf;
                                        leaf = true;
                                        return more;
                                      }),
                       candidates.end());
      for (NodeId c = tree.FirstChild(u); c != kNoNode; c = tree.NextSibling(c)) {
        barred[static_cast<std::size_t>(c)] =
            std::find(candidates.begin(), candidates.end(), c) == candidates.end();
      }
    }
    return barred;
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
    problem_.symmetry = sym;
    for (int p = 1; p <= kBoard; ++p) {
      for (int q = 1; q <= kBoard; ++q) {
        const int colour = setUp_[static_cast<std::size_t>(p)][static_cast<std::size_t>(q)];
        if (colour == 0) continue;
        auto [tp, tq] = TurnPoint({p, q}, sym);
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
        auto [tp, tq] = TurnPoint({LetterToCoord(node.text[0]), LetterToCoord(node.text[1])}, sym);
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
        const auto t = TurnPoint(pt, s);
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
  const LineCheck lines_;

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
  bool setUpInLines_ = false;
};

}  // namespace

std::pair<int, int> SgfPoint(std::string_view v) {
  if (v.empty() || v == "tt") return {0, 0};
  if (v.size() != 2) return {-1, -1};
  const int p = v[0] - 'a' + 1;
  const int q = v[1] - 'a' + 1;
  if (p < 1 || p > kBoard || q < 1 || q > kBoard) return {-1, -1};
  return {p, q};
}

std::pair<int, int> TurnPoint(std::pair<int, int> pt, int symmetry) {
  if (pt.first == kPassCoord && pt.second == kPassCoord) return pt;
  int p = pt.first;
  int q = pt.second;
  if (symmetry & 4) std::swap(p, q);
  if (symmetry & 1) p = 20 - p;
  if (symmetry & 2) q = 20 - q;
  return {p, q};
}

void NodeMarking::Merge(const NodeMarking& other) {
  if (other.mark != LineMark::kNone) {
    if (mark == LineMark::kNone || (mark == LineMark::kWrong && other.mark == LineMark::kCorrect)) {
      mark = other.mark;
      cjk = other.cjk;
    } else if (mark == other.mark) {
      cjk = cjk && other.cjk;
    }
  }
  triangle |= other.triangle;
  choice |= other.choice;
  flags |= other.flags;
  if (!other.remark.empty()) remark = remark.empty() ? other.remark : remark + " " + other.remark;
}

NodeMarking ReadNodeMarking(const sgf::Node& node, bool userBlack, std::pair<int, int> move) {
  NodeMarking m;
  if (const sgf::Property* c = node.Find("C")) {
    for (const std::string& v : c->values) {
      const CommentReading r = ReadComment(v, userBlack);
      NodeMarking one;
      one.mark = r.mark;
      one.cjk = r.cjk;
      one.choice = r.choice;
      one.flags = r.notThis ? kFlagBarred8 : 0;
      one.remark = r.remark;
      m.Merge(one);
    }
  }
  if (node.Find("BM")) m.flags |= kFlagBadMove;
  if (node.Find("DO")) m.flags |= kFlagNotBest;
  if (node.Find("IT")) m.flags |= kFlagSometimes;
  NodeMarking annotation;
  if (node.Find("GB")) annotation.mark = userBlack ? LineMark::kCorrect : LineMark::kWrong;
  if (node.Find("GW")) annotation.mark = userBlack ? LineMark::kWrong : LineMark::kCorrect;
  m.Merge(annotation);
  if (const sgf::Property* tr = node.Find("TR"); tr && move.first > 0) {
    for (const std::string& v : tr->values) m.triangle |= SgfPoint(v) == move;
  }
  return m;
}

ImportOutcome ImportGameTree(const sgf::Collection& sgfs, int root, LineCheck lines) {
  return GameTreeImport(sgfs, root, lines).Run();
}

std::vector<ImportOutcome> ImportSgf(std::string_view bytes) {
  const DecodedText decoded = DecodeSgfText(bytes);
  sgf::Collection collection;
  sgf::ParseError error;
  if (!sgf::Parse(decoded.text, &collection, &error)) {
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
