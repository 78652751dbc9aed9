#include "problem_import/corpus_report.h"

#include <algorithm>
#include <cstdio>

#include "board/engine/points.h"
#include "problem_import/play_session.h"
#include "problem_import/problem_data.h"
#include "problem_import/problem_import.h"
#include "problem_import/text_encoding.h"

namespace zendra {

namespace {

// ---- The file's meaning ------------------------------------------------------------------------

// One move of the file's tree, read straight from the SGF nodes.
struct FileMove {
  std::pair<int, int> point{kPassCoord, kPassCoord};  // of the file; the pass point for a pass
  int level = 0;                                      // 1 for the user's first moves
  int parent = -1;
  std::vector<int> children;
  NodeMarking marking;
  std::vector<std::string> comments;  // the remark of each SGF node that speaks of this move
  sgf::Place place;
  bool correctEnd = false;    // a line end the file marks correct
  bool correctBelow = false;  // some correct line end lies in the subtree
  // The user wins from here whatever the computer may choose: a correct line end; a user move
  // every allowed reply to which is winning; a reply with a winning answer.
  bool winning = false;
};

class FileTree {
 public:
  // Reads the game tree at `root`; the user is the side of the first moves.
  FileTree(const sgf::Collection& file, int root, bool userBlack)
      : file_(file), userBlack_(userBlack) {
    moves_.push_back({});  // the start position
    Read(root);
    Judge();
  }

  const FileMove& operator[](int i) const { return Of(i); }
  int Size() const { return static_cast<int>(moves_.size()); }

  // Whether the computer may choose `reply`. Of the replies to a user move it may choose those
  // without NOTTHIS (any, when all carry it); of these, where some carry CHOICE, only those;
  // of these, where some keep a correct line end below, only those; and of those that end the
  // line, one (a correct one if there is).
  bool Allowed(int reply) const {
    std::vector<int> may = moves_[static_cast<std::size_t>(Of(reply).parent)].children;
    Narrow(may, [&](int c) { return (Of(c).marking.flags & kFlagBarred8) == 0; });
    Narrow(may, [&](int c) { return Of(c).marking.choice; });
    Narrow(may, [&](int c) { return Of(c).correctBelow; });
    // Of the replies that end the line only one, a correct one if there is.
    int end = -1;
    for (int c : may) {
      if (Of(c).children.empty() && (end < 0 || (Of(c).correctEnd && !Of(end).correctEnd))) end = c;
    }
    if (Of(reply).children.empty() && reply != end) return false;
    return std::find(may.begin(), may.end(), reply) != may.end();
  }

  // The line from the start to move `i`, first move first.
  std::vector<int> Line(int i) const {
    std::vector<int> line;
    for (; i > 0; i = moves_[static_cast<std::size_t>(i)].parent) line.push_back(i);
    std::reverse(line.begin(), line.end());
    return line;
  }

 private:
  const sgf::Node& At(int i) const { return file_.nodes[static_cast<std::size_t>(i)]; }
  const FileMove& Of(int i) const { return moves_[static_cast<std::size_t>(i)]; }

  // Keeps the moves that pass `test`, unless none does.
  template <typename Test>
  static void Narrow(std::vector<int>& moves, Test test) {
    std::vector<int> kept;
    for (int m : moves) {
      if (test(m)) kept.push_back(m);
    }
    if (!kept.empty()) moves = std::move(kept);
  }

  int Child(int parent, std::pair<int, int> point) {
    for (int c : moves_[static_cast<std::size_t>(parent)].children) {
      if (moves_[static_cast<std::size_t>(c)].point == point) return c;
    }
    FileMove m;
    m.point = point;
    m.parent = parent;
    m.level = moves_[static_cast<std::size_t>(parent)].level + 1;
    moves_.push_back(m);
    const int id = static_cast<int>(moves_.size()) - 1;
    moves_[static_cast<std::size_t>(parent)].children.push_back(id);
    return id;
  }

  void Take(int move, const sgf::Node& node, std::pair<int, int> point) {
    FileMove& m = moves_[static_cast<std::size_t>(move)];
    m.marking.Merge(ReadNodeMarking(node, userBlack_, point));
    if (const sgf::Property* c = node.Find("C")) {
      for (const std::string& v : c->values) {
        std::string remark = ReadComment(v, userBlack_).remark;
        if (!remark.empty()) m.comments.push_back(std::move(remark));
      }
    }
  }

  // The moves of the game tree: the trunk (nodes without a move up to the first move or
  // branching) is the start; nodes without a move speak of the move before them, or of the
  // move after them at the start of a line; a move of the side that just moved follows a pass.
  void Read(int root) {
    int at = root;
    std::vector<int> starts;
    for (;;) {
      const sgf::Node& n = At(at);
      if (n.Find("B") || n.Find("W")) {
        starts = {at};
        break;
      }
      if (n.children.size() != 1) {
        starts = n.children;
        break;
      }
      at = n.children.front();
    }
    struct Step {
      int sgf;
      int parent;
      bool black;
      std::vector<int> pending;  // moveless nodes at the start of a line
    };
    std::vector<Step> todo;
    for (auto it = starts.rbegin(); it != starts.rend(); ++it)
      todo.push_back({*it, 0, userBlack_, {}});
    while (!todo.empty()) {
      Step s = std::move(todo.back());
      todo.pop_back();
      const sgf::Node& n = At(s.sgf);
      const sgf::Property* b = n.Find("B");
      const sgf::Property* w = n.Find("W");
      int next = s.parent;
      bool black = s.black;
      if (b || w) {
        const sgf::Property* mv = b ? b : w;
        std::pair<int, int> pt = SgfPoint(mv->values.empty() ? "" : mv->values.front());
        if (pt.first == 0) pt = {kPassCoord, kPassCoord};
        if ((b != nullptr) != s.black) next = Child(next, {kPassCoord, kPassCoord});
        next = Child(next, pt);
        FileMove& m = moves_[static_cast<std::size_t>(next)];
        if (m.place.line == 1 && m.place.column == 1) m.place = n.place;
        for (int p : s.pending) Take(next, At(p), {-1, -1});
        s.pending.clear();
        Take(next, n, pt);
        black = b == nullptr;
      } else if (s.parent == 0) {
        s.pending.push_back(s.sgf);
      } else {
        Take(s.parent, n, {-1, -1});
      }
      for (auto it = n.children.rbegin(); it != n.children.rend(); ++it) {
        todo.push_back({*it, next, black, s.pending});
      }
    }
  }

  LineMark MarkOf(const FileMove& m) const {
    if (m.marking.mark == LineMark::kNone && m.marking.triangle && m.level % 2 == 1) {
      return LineMark::kWrong;
    }
    return m.marking.mark;
  }

  // The first user move of `parent` not marked wrong: the answer where the file marks none.
  int Answer(int parent) const {
    for (int c : moves_[static_cast<std::size_t>(parent)].children) {
      if (MarkOf(moves_[static_cast<std::size_t>(c)]) != LineMark::kWrong) return c;
    }
    return -1;
  }

  void Judge() {
    bool marked = false;
    for (const FileMove& m : moves_) {
      marked |= m.marking.mark == LineMark::kCorrect && !m.marking.cjk;
    }
    for (int i = 1; i < Size(); ++i) {
      FileMove& m = moves_[static_cast<std::size_t>(i)];
      if (!m.children.empty()) continue;
      LineMark verdict = LineMark::kNone;
      bool answered = true;
      for (int up = i; up > 0; up = moves_[static_cast<std::size_t>(up)].parent) {
        const FileMove& u = moves_[static_cast<std::size_t>(up)];
        if (verdict == LineMark::kNone) verdict = MarkOf(u);
        if (u.level % 2 == 1 && Answer(u.parent) != up) answered = false;
      }
      m.correctEnd =
          verdict == LineMark::kCorrect || (verdict == LineMark::kNone && !marked && answered);
      for (int up = i; up >= 0 && m.correctEnd; up = moves_[static_cast<std::size_t>(up)].parent) {
        moves_[static_cast<std::size_t>(up)].correctBelow = true;
        if (up == 0) break;
      }
    }
    // Children come after their parents.
    for (int i = Size() - 1; i >= 0; --i) {
      FileMove& m = moves_[static_cast<std::size_t>(i)];
      if (m.children.empty()) {
        m.winning = m.correctEnd;
      } else if (m.level % 2 == 1) {
        m.winning = true;
        for (int r : m.children) m.winning = m.winning && (!Allowed(r) || Of(r).winning);
      } else {
        m.winning =
            std::any_of(m.children.begin(), m.children.end(), [&](int c) { return Of(c).winning; });
      }
    }
  }

  const sgf::Collection& file_;
  const bool userBlack_;
  std::vector<FileMove> moves_;
};

// ---- Replaying ---------------------------------------------------------------------------------

bool Says(const PlayStepReport& r, const char* word) {
  return r.labelResult.find(word) != std::string::npos;
}

class ProblemReplay {
 public:
  ProblemReplay(const FileTree& file, const ImportedProblem& imported, const DataProblem& problem,
                CorpusReport* report)
      : file_(file), symmetry_(imported.symmetry), problem_(problem), report_(report) {}

  void Run() {
    for (int i = 1; i < file_.Size(); ++i) {
      if (file_[i].children.empty()) CheckLine(i);
    }
    PerfectPlayer();
    Comments();
  }

 private:
  // The move's letters as the problem stores it.
  std::string Letters(int move) const {
    const auto [p, q] = TurnPoint(file_[move].point, symmetry_);
    return p == kPassCoord ? std::string(kPassLetters) : PointLetters(p, q);
  }

  // The child of `parent` the computer's reply (stored letters) stands for: the move on that
  // point, else a pass (a move elsewhere lands on some far point); -1 for none.
  int ReplyMove(int parent, const std::string& reply) const {
    int pass = -1;
    for (int c : file_[parent].children) {
      if (Letters(c) == reply) return c;
      if (file_[c].point.first == kPassCoord) pass = c;
    }
    return pass;
  }

  // The step that plays user move `move` in `session`: its point, or for a pass an empty
  // point none of its siblings names.
  std::string UserStep(const PlaySession& session, int move) const {
    if (file_[move].point.first != kPassCoord) return Letters(move);
    for (int p = 19; p >= 1; --p) {
      for (int q = 19; q >= 1; --q) {
        const std::string letters = PointLetters(p, q);
        bool sibling = false;
        for (int s : file_[file_[move].parent].children) sibling |= Letters(s) == letters;
        if (!sibling && session.IsEmpty(p, q)) return letters;
      }
    }
    return "TT";
  }

  void Disagree(int move, const std::string& kind, const std::string& detail) {
    const sgf::Place place = file_[move].place;
    std::string where = problem_.source;
    const std::size_t colon = where.find(':');
    if (colon != std::string::npos) where.resize(colon);
    report_->disagreements.push_back(where + ":" + std::to_string(place.line) + ":" +
                                     std::to_string(place.column) + ": " + kind +
                                     (detail.empty() ? "" : ": " + detail));
    ++report_->disagreementsByKind[kind];
  }

  std::string LineText(int end) const {
    std::string text;
    for (int m : file_.Line(end)) text += (text.empty() ? "" : "-") + Letters(m);
    return text;
  }

  // Plays the line to `end` from a fresh start while the computer's replies follow it. Returns
  // what the player saw: whether the line was followed to its end or to an earlier verdict.
  struct Played {
    bool followed = false;  // every reply was the line's, up to the end or a verdict
    bool broken = false;    // the board refused a move of the line
    bool success = false;   // some step said "Success"
    bool failure = false;   // some step said "Failure"
    int at = 0;             // the move where it stopped
  };
  Played PlayLine(int end) {
    PlaySession session(problem_, {});
    const std::vector<int> line = file_.Line(end);
    Played out;
    for (std::size_t k = 0; k < line.size();) {
      const int move = line[k];  // the user's
      const PlayStepReport r = session.Step(UserStep(session, move));
      out.at = move;
      if (!r.accepted) {
        out.broken = true;
        return out;
      }
      std::size_t next = k + 1;
      if (!r.reply.empty()) {
        if (next >= line.size() || ReplyMove(move, r.reply) != line[next]) return out;
        out.at = line[next];
        ++next;
      }
      out.success = Says(r, "Success");
      out.failure = Says(r, "Failure");
      if (out.success || out.failure || r.reply.empty()) break;
      k = next;
    }
    out.followed = true;
    return out;
  }

  // Replays the line to `end` and compares the verdict with the file's: a correct line ends in
  // a success and never fails before; a wrong one fails and never succeeds.
  void CheckLine(int end) {
    const bool correct = file_[end].correctEnd;
    ++(correct ? report_->correctLines : report_->wrongLines);
    const Played p = PlayLine(end);
    if (p.broken) {
      ++report_->brokenLines;
      return;
    }
    if (!p.followed) return;
    ++(correct ? report_->correctFollowed : report_->wrongFollowed);
    if (correct && p.failure) {
      Disagree(p.at, "correct line judged a failure", LineText(end));
    } else if (correct && (!p.success || p.at != end)) {
      Disagree(end, "correct line end not judged a success", LineText(end));
    } else if (!correct && p.success) {
      Disagree(p.at, "wrong line judged a success", LineText(end));
    } else if (!correct && !p.failure) {
      Disagree(end, "wrong line not judged a failure", LineText(end));
    }
  }

  // The file's move at the end of the stored moves ("CC DD"), -1 when the file has none.
  int Locate(const std::string& moves) const {
    int at = 0;
    for (std::size_t i = 0; i + 1 < moves.size(); i += 3) {
      at = ReplyMove(at, moves.substr(i, 2));
      if (at < 0) return -1;
    }
    return at;
  }

  // The correct answer to choose at `at` (the user to move): a winning move without a weak-move
  // flag, else any winning one, else one with a correct line end below.
  int ChooseAnswer(int at) const {
    int best = -1;
    int bestRank = 0;
    for (int c : file_[at].children) {
      const FileMove& m = file_[c];
      const bool strong = (m.marking.flags & (kFlagBadMove | kFlagNotBest | kFlagSometimes)) == 0;
      const int rank = m.winning ? (strong ? 3 : 2) : m.correctBelow ? 1 : 0;
      if (rank > bestRank) {
        best = c;
        bestRank = rank;
      }
    }
    return best;
  }

  // A player who always answers correctly and takes every further variation offered.
  void PerfectPlayer() {
    PlaySession session(problem_, {});
    int at = 0;
    std::vector<char> played(static_cast<std::size_t>(file_.Size()), 0);  // moves on the board
    auto seen = [&](int move) {
      for (; move > 0; move = file_[move].parent) played[static_cast<std::size_t>(move)] = 1;
    };
    const int limit = std::min(20000, 100 + 8 * file_.Size());
    for (int steps = 0; steps < limit; ++steps) {
      const int answer = ChooseAnswer(at);
      if (answer < 0) {
        Disagree(at, "no correct answer after the computer's reply",
                 at > 0 ? LineText(at) : std::string("start"));
        return;
      }
      PlayStepReport r = session.Step(UserStep(session, answer));
      if (!r.accepted) {
        Disagree(answer, "a correct move is refused by the board", LineText(answer));
        return;
      }
      at = answer;
      if (!r.reply.empty()) {
        const int reply = ReplyMove(answer, r.reply);
        if (reply < 0 || !file_.Allowed(reply)) {
          Disagree(answer, "reply the file does not offer", LineText(answer) + " " + r.reply);
          return;
        }
        at = reply;
      }
      seen(at);
      if (Says(r, "Failure")) {
        Disagree(at, "correct line judged a failure", LineText(at));
        return;
      }
      if (!Says(r, "Success")) continue;
      if (r.solved) {
        ++report_->solved;
        // Solving showed every defence the file offers against the moves played.
        for (int m = 1; m < file_.Size(); ++m) {
          const FileMove& reply = file_[m];
          if (reply.level % 2 == 0 && played[static_cast<std::size_t>(reply.parent)] &&
              !played[static_cast<std::size_t>(m)] && file_.Allowed(m)) {
            Disagree(m, "a defence the file offers is never played", LineText(m));
          }
        }
        return;
      }
      if (r.retryPending && !r.alternative.empty()) {
        r = session.Step("next");
        at = Locate(r.moves);
        if (at > 0) seen(at);
        if (at <= 0 || file_[at].level % 2 != 0 || !file_.Allowed(at)) {
          Disagree(at < 0 ? 0 : at, "reply the file does not offer",
                   r.moves + " / " + r.labelStdResult);
          return;
        }
      } else {
        session.Step("again");
        at = 0;
      }
    }
    Disagree(0, "never counted as solved", "");
  }

  // Every comment of the file's lines must be among the remarks of its node.
  void Comments() {
    SolutionTree tree;
    tree.LoadSolution(problem_.solution);
    const std::vector<std::string> none{""};
    const std::vector<std::string>& remarks = problem_.remarks ? *problem_.remarks : none;
    std::vector<std::pair<int, NodeId>> todo{{0, tree.FirstRoot()}};
    std::vector<char> reached(static_cast<std::size_t>(file_.Size()), 0);
    while (!todo.empty()) {
      const auto [move, node] = todo.back();
      todo.pop_back();
      reached[static_cast<std::size_t>(move)] = 1;
      const auto k = static_cast<std::size_t>(tree.RemarkIndex(node));
      const std::string& stored = k < remarks.size() ? remarks[k] : none.front();
      for (const std::string& c : file_[move].comments) {
        ++report_->comments;
        const bool chinese = std::any_of(c.begin(), c.end(), [](char ch) {
          const auto b = static_cast<unsigned char>(ch);
          return b >= 0xE4 && b <= 0xE9;  // lead bytes of U+4E00 .. U+9FFF
        });
        report_->chineseComments += chinese ? 1 : 0;
        if (stored.find(c) != std::string::npos && IsValidUtf8(stored)) {
          ++report_->commentsKept;
        } else {
          Disagree(move, "comment left out", c);
        }
      }
      for (int c : file_[move].children) {
        for (NodeId t = tree.FirstChild(node); t != kNoNode; t = tree.NextSibling(t)) {
          if (tree.NodePoint(t) == Letters(c)) todo.push_back({c, t});
        }
      }
    }
    // Comments on lines the import dropped went with them.
    for (int m = 1; m < file_.Size(); ++m) {
      if (!reached[static_cast<std::size_t>(m)]) {
        report_->commentsOnDroppedLines += static_cast<int>(file_[m].comments.size());
      }
    }
  }

  const FileTree& file_;
  const int symmetry_;
  const DataProblem& problem_;
  CorpusReport* report_;
};

}  // namespace

void ReportOnSources(const std::vector<std::string>& sources, CorpusReport* report) {
  *report = CorpusReport{};
  BuildOptions options;
  options.onImported = [report](const sgf::Collection& file, int root,
                                const ImportedProblem& imported, const DataProblem& problem) {
    const FileTree tree(file, root, imported.firstToPlay == "B");
    ProblemReplay(tree, imported, problem, report).Run();
  };
  BuildReport build;
  BuildFromSources(sources, options, &build);
  report->files = build.files;
  report->problems = static_cast<int>(build.problems.size());
  report->refused = static_cast<int>(build.refusals.size());
  report->refusedByReason = build.refusedByReason;
  report->droppedLines = build.droppedLines;
}

}  // namespace zendra
