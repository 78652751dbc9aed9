// The SGF reader and the import rules, as tables of small SGF snippets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "problem_import/problem_import.h"
#include "problem_import/sgf_reader.h"

namespace zendra {
namespace {

// ---- Reader --------------------------------------------------------------------------------

struct ReadCase {
  const char* sgf;
  const char* expected;  // a short dump of what was read, or "error L:C: message"
};

// Root properties as "ID=v1|v2;..." then "/children:N", warnings counted.
std::string Dump(const std::string& sgf) {
  sgf::Collection c;
  sgf::ParseError e;
  if (!sgf::Parse(sgf, &c, &e)) return "error " + e.Text();
  std::string out;
  const sgf::Node& root = c.nodes[static_cast<std::size_t>(c.roots.front())];
  for (const sgf::Property& p : root.properties) {
    out += p.id + "=";
    for (std::size_t i = 0; i < p.values.size(); ++i) out += (i ? "|" : "") + p.values[i];
    out += ";";
  }
  out += "/children:" + std::to_string(root.children.size());
  out += "/trees:" + std::to_string(c.roots.size());
  if (!c.warnings.empty()) out += "/warnings:" + std::to_string(c.warnings.size());
  return out;
}

TEST(SgfReader, ReadsValuesVariationsAndToleratesStrayParentheses) {
  const std::vector<ReadCase> cases = {
      {"(;FF[4]C[a\\]b])", "FF=4;C=a]b;/children:0/trees:1"},
      {"(;C[ab\\\ncd])", "C=abcd;/children:0/trees:1"},  // soft line break
      {"(;C[ab\\\r\ncd])", "C=abcd;/children:0/trees:1"},
      {"(;C[two\r\nlines])", "C=two\nlines;/children:0/trees:1"},
      {"(;AB[aa]\n  [bb] AB[cc])", "AB=aa|bb;AB=cc;/children:0/trees:1"},
      {"(;AddBlack[aa])", "AB=aa;/children:0/trees:1"},  // FF[3] long name
      {"(;GM[1](;B[aa])(;B[bb];W[cc]))", "GM=1;/children:2/trees:1"},
      {"header text (;B[aa]) trailer", "B=aa;/children:0/trees:1"},
      {"(;GM[1])(;GM[1])", "GM=1;/children:0/trees:2"},
      {"(;B[aa]))", "B=aa;/children:0/trees:1/warnings:1"},                     // stray ')'
      {"(;GM[1](;B[aa]", "GM=1;/children:1/trees:1/warnings:1"},                // missing ')'
      {"(;C[[RIGHT]]B[aa])", "C=[RIGHT];B=aa;/children:0/trees:1/warnings:1"},  // unescaped ]
      {"(;C[a]]]])", "C=a]]];/children:0/trees:1/warnings:1"},
      {"", "error 1:1: no game tree in the file"},
      {"(;B[aa", "error 1:4: unterminated value of property B"},
      {"(;B)", "error 1:3: property B has no value"},
      {"(;B[aa]@)", "error 1:8: unexpected character '@' where a node was expected"},
      {"(;B[aa]x[1])", "error 1:8: property name without an upper-case letter"},
      {"()", "error 1:1: game tree without a node"},
      {"(\n;C[x]\r\n  @)", "error 3:3: unexpected character '@' where a node was expected"},
      {"((;B[aa]))", "error 1:2: a variation starts before the tree's first node"},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Dump(c.sgf), c.expected) << c.sgf;
  // The first node of the first line reads the move.
  sgf::Collection col;
  ASSERT_TRUE(sgf::Parse("(;GM[1];B[cd]C[x])", &col, nullptr));
  EXPECT_EQ(col.nodes[1].Value("B"), "cd");
  EXPECT_EQ(col.nodes[1].parent, 0);
}

TEST(SgfReader, DeepFilesParseWithoutRecursion) {
  std::string deep = "(;GM[1]";
  for (int i = 0; i < 100000; ++i) deep += "(;B[aa]";
  sgf::Collection c;
  ASSERT_TRUE(sgf::Parse(deep, &c, nullptr));
  EXPECT_EQ(c.nodes.size(), 100001u);
  EXPECT_EQ(c.warnings.size(), 1u);
}

// ---- Import --------------------------------------------------------------------------------

struct ImportCase {
  const char* name;
  const char* sgf;
  const char* outline;  // TreeOutline of the tree
  const char* first;
  int result2;  // -1: none
  const char* black = nullptr;
  const char* white = nullptr;
};

TEST(SgfImport, RulesForSetUpFirstPlayerMarkingsAndPasses) {
  const std::vector<ImportCase> cases = {
      {"basic", "(;FF[4]SZ[19]AB[aa]AW[ba]PL[B]C[Answer: lives];B[cc];W[dd]C[Correct])",
       "((CC(DD 11)))", "B", 1, "AA", "BA"},
      {"numeric PL, set-up in a second node", "(;SZ[19];AB[aa]AW[bb]PL[2](;W[cc]C[RIGHT])(;W[dd]))",
       "((CC 1)(DD 0))", "W", -1, "AA", "BB"},
      {"first move beats PL", "(;PL[B]AB[aa];W[cc]C[Correct])", "((CC 1))", "W", -1},
      {"repeated AB and AE", "(;AB[aa]AB[bb][cc]AE[bb];B[dd]C[RIGHT])", "((DD 1))", "B", -1, "AACC",
       ""},
      {"compressed points", "(;AB[aa:bb];B[dd]C[RIGHT])", "((DD 1))", "B", -1, "AAABBABB", ""},
      {"set-up in the first move's node", "(;SZ[19];AB[aa]B[cc]C[RIGHT])", "((CC 1))", "B", -1,
       "AA", ""},
      {"AW[tt] gives no stone", "(;AB[aa]AW[tt];B[cc]C[RIGHT])", "((CC 1))", "B", -1, "AA", ""},
      {"RIGHT run together",
       "(;AB[aa](;B[cc]C[CHOICERIGHT])(;B[dd]C[RIGHTT])(;B[ee]C[Wrong! CHOICE]))",
       "((CC 1)(DD 1)(EE 0))", "B", -1},
      {"Correct as a word",
       "(;AB[aa](;B[cc]C[Incorrect.])(;B[dd]C[Also correct.])(;B[ee]C[The correct move is "
       "elsewhere]))",
       "((CC 0)(DD 1)(EE 0))", "B", -1},
      {"'isn't wrong' is no marking", "(;AB[aa](;B[cc]C[This isn't wrong.])(;B[dd]))",
       "((CC 1)(DD 0))", "B", -1},
      {"CJK words", "(;AB[aa](;B[cc]C[正解])(;B[dd]C[不正解])(;B[ee]C[正确])(;B[ff]C[失败]))",
       "((CC 1)(DD 0)(EE 1)(FF 0))", "B", -1},
      {"plus alone", "(;AB[aa](;B[dd])(;B[cc]C[ + ]))", "((DD 0)(CC 1))", "B", -1},
      {"triangle on the move just played",
       "(;AB[aa](;B[cc];W[dd]TR[dd])(;B[ee];W[ff]TR[aa]C[Correct]))", "((CC(DD 0))(EE(FF 1)))", "B",
       -1},
      {"FF[4] annotations",
       "(;AB[aa](;B[cc]BM[1];W[dd]C[Correct])(;B[ee]DO[];W[ff]IT[];B[gg]GB[1]))",
       "((CC{1}(DD 1))(EE{4}(FF{40}(GG 1))))", "B", -1},
      {"GW is good for the user playing White", "(;AB[aa](;W[cc]GW[1])(;W[dd]GB[1]))",
       "((CC 1)(DD 0))", "W", -1},
      {"NOTTHIS bars a reply",
       "(;AB[aa];B[cc](;W[dd]C[NOTTHIS];B[ee]C[RIGHT])(;W[ff];B[gg]C[RIGHT]))",
       "((CC(DD{8}(EE 1))(FF(GG 1))))", "B", -1},
      {"marking on an inner node", "(;AB[aa](;B[cc]C[Correct];W[dd](;B[ee])(;B[ff]C[Wrong])))",
       "((CC(DD(EE 1)(FF 0))))", "B", -1},
      {"unmarked file: the main line wins", "(;AB[aa](;B[cc];W[dd](;B[ee])(;B[ff]))(;B[gg]))",
       "((CC(DD(EE 1)(FF 0)))(GG 0))", "B", -1},
      {"comment-only node marks the move before it", "(;AB[aa](;B[cc];C[Correct])(;B[dd]))",
       "((CC 1)(DD 0))", "B", -1},
      {"FF[4] pass", "(;AB[aa];B[cc];W[];B[dd]C[RIGHT])", "((CC(TT(DD 1))))", "B", -1},
      {"FF[3] pass", "(;AB[aa];B[cc];W[tt];B[dd]C[RIGHT])", "((CC(TT(DD 1))))", "B", -1},
      {"omitted pass", "(;AB[aa];B[cc];B[dd]C[RIGHT])", "((CC(TT(DD 1))))", "B", -1},
      {"board turned into the top-left corner, away from the far corner",
       "(;AB[ss];B[rr];W[tt];B[qq]C[RIGHT])", "((BB(TT(CC 1))))", "B", -1, "AA", ""},
      {"problem on the right turned to the left", "(;AB[sc]AW[rd];B[qc]C[RIGHT])", "((CC 1))", "B",
       -1, "AC", "BD"},
      {"problem on the top side stays", "(;AB[jc]AW[kd];B[lc]C[RIGHT])", "((LC 1))", "B", -1, "JC",
       "KD"},
      {"duplicate moves merge", "(;AB[aa](;B[cc];W[dd]C[Correct])(;B[cc];W[ee]))",
       "((CC(DD 1)(EE 0{8})))", "B", -1},
      {"kill wording", "(;AB[aa]C[White to kill.];W[cc]C[Correct])", "((CC 10))", "W", 0},
      {"live wording", "(;AB[aa]C[Black to play and live];B[cc]C[Correct])", "((CC 11))", "B", 1},
      {"no wording", "(;AB[aa]C[Black to play.];B[cc]C[Correct])", "((CC 1))", "B", -1},
      {"killed by ko", "(;AB[aa]C[Answer: killed by ko];B[cc]C[Correct])", "((CC 12))", "B", 2},
      {"lives by ko", "(;AB[aa]C[Answer: lives by ko];B[cc]C[Correct])", "((CC 13))", "B", 3},
  };
  for (const ImportCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<ImportOutcome> out = ImportSgf(c.sgf);
    ASSERT_EQ(out.size(), 1u);
    ASSERT_TRUE(out[0].problem.has_value()) << out[0].refusal.reason;
    const ImportedProblem& p = *out[0].problem;
    EXPECT_EQ(TreeOutline(p.tree), c.outline);
    EXPECT_EQ(p.firstToPlay, c.first);
    EXPECT_EQ(p.result2.value_or(-1), c.result2);
    EXPECT_EQ(p.initial, "");
    if (c.black) {
      EXPECT_EQ(p.arrangedBlack, c.black);
    }
    if (c.white) {
      EXPECT_EQ(p.arrangedWhite, c.white);
    }
  }
}

TEST(SgfImport, RefusalsGiveACategoryAndThePlace) {
  struct RefusalCase {
    const char* sgf;
    const char* category;
    int line;
    int column;
  };
  const std::vector<RefusalCase> cases = {
      {"(;SZ[13];B[cc])", "board not 19x19", 1, 3},
      {"(;GM[2];B[cc])", "not a Go game", 1, 2},
      {"(;AB[aa])", "no moves", 1, 2},
      {"(;AB[aa]\n;B[zz])", "move off the board", 2, 2},
      {"(;AB[aa];B[cc];W[dd]AB[ee];B[ff])", "set-up inside the solution", 1, 15},
      {"(;AB[aa](;B[cc])(;W[dd]))", "first moves of both colours", 1, 10},
      {"(;AB[a1];B[cc])", "set-up point off the board", 1, 3},
      {"(;B[aa", "SGF syntax error", 1, 4},
      {"(;B[cc]W[dd])", "two moves in one node", 1, 2},
      {"(;AB[ss][sa][as][aa];B[cc];W[tt];B[dd]C[RIGHT])", "no room for a move elsewhere", 1, 2},
  };
  for (const RefusalCase& c : cases) {
    const std::vector<ImportOutcome> out = ImportSgf(c.sgf);
    ASSERT_EQ(out.size(), 1u) << c.sgf;
    EXPECT_FALSE(out[0].problem.has_value()) << c.sgf;
    EXPECT_EQ(out[0].refusal.category, c.category) << c.sgf;
    EXPECT_FALSE(out[0].refusal.reason.empty());
    EXPECT_EQ(out[0].refusal.place.line, c.line) << c.sgf;
    EXPECT_EQ(out[0].refusal.place.column, c.column) << c.sgf;
  }
}

TEST(SgfImport, EveryGameTreeOfAFileIsOneProblem) {
  const std::vector<ImportOutcome> out =
      ImportSgf("(;AB[aa];B[cc]C[RIGHT])\n(;SZ[9];B[cc])\n(;AW[aa];W[dd]C[RIGHT])");
  ASSERT_EQ(out.size(), 3u);
  EXPECT_TRUE(out[0].problem.has_value());
  EXPECT_EQ(out[1].refusal.category, "board not 19x19");
  EXPECT_EQ(out[1].refusal.place.line, 2);
  ASSERT_TRUE(out[2].problem.has_value());
  EXPECT_EQ(out[2].problem->firstToPlay, "W");
}

TEST(SgfImport, CommentsBecomeRemarksWithoutMarkerTokens) {
  const struct {
    std::string comment;
    LineMark mark;
    bool notThis;
    std::string remark;
  } cases[] = {
      {"Correct. It lives.", LineMark::kCorrect, false, "Correct. It lives."},
      {"RIGHT", LineMark::kCorrect, false, ""},
      {"Well done! :)RIGHT", LineMark::kCorrect, false, "Well done! :)"},
      {"Wrong! CHOICE", LineMark::kWrong, false, ""},
      {"ko.\nCHOICE NOTTHIS", LineMark::kNone, true, "ko."},
      {"That is correct!", LineMark::kCorrect, false, "That is correct!"},
      {"It is not correct.", LineMark::kNone, false, "It is not correct."},
      {"Black is wrong here", LineMark::kNone, false, "Black is wrong here"},
      {"妙手", LineMark::kNone, false, "妙手"},  // any script is text worth showing
      {"正解", LineMark::kCorrect, false, ""},
      {"Correct. " + std::string(300, 'x'), LineMark::kCorrect, false,
       "Correct. " + std::string(300, 'x')},  // kept whole
  };
  for (const auto& c : cases) {
    const CommentReading r = ReadComment(c.comment);
    EXPECT_EQ(r.mark, c.mark) << c.comment;
    EXPECT_EQ(r.notThis, c.notThis) << c.comment;
    EXPECT_EQ(r.remark, c.remark) << c.comment;
  }

  std::vector<ImportOutcome> out = ImportSgf(
      "(;AB[aa](;B[cc]C[Correct. It lives.])(;B[dd]C[Wrong. It dies.])(;B[ee]C[Wrong. It dies.]))");
  ASSERT_TRUE(out[0].problem.has_value());
  RemarkList remarks;
  ApplyRemarks(*out[0].problem, remarks);
  EXPECT_EQ(remarks.Lines(),
            (std::vector<std::string>{"", "Correct. It lives.", "Wrong. It dies."}));
  EXPECT_EQ(TreeOutline(out[0].problem->tree), "((CC 1#1)(DD 0#2)(EE 0#2))");
}

// The files as their authors meant them: unmarked trees read as the classical books, markers in
// every script, hedged verdicts, the replies the computer may choose, and lines that cannot be
// played.
TEST(SgfImport, LinesAreJudgedAsTheAuthorMeantThem) {
  struct Case {
    const char* name;
    const char* sgf;
    const char* outline;
    int notes = 0;  // wrong lines dropped
  };
  const std::vector<Case> cases = {
      // Unmarked: the first variation at the user's turns, every defence at the computer's.
      {"two computer defences, each answered by its first variation",
       "(;AB[aa](;B[cc](;W[dd](;B[ee])(;B[ef]))(;W[de];B[eg]))(;B[cd];W[ce]))",
       "((CC(DD(EE 1)(EF 0))(DE(EG 1)))(CD(CE 0)))"},
      {"a triangle marks the first variation wrong; the next one is the answer",
       "(;AB[aa](;B[cc]TR[cc];W[dd])(;B[ee];W[ff])(;B[gg];W[hh]))",
       "((CC(DD 0))(EE(FF 1))(GG(HH 0)))"},
      {"a triangle on the computer's stone judges nothing", "(;AB[aa];B[cc];W[dd]TR[dd])",
       "((CC(DD 1)))"},
      {"Chinese markers refine the unmarked reading",
       "(;AB[aa];B[cc](;W[dd];B[ee]C[白净死])(;W[de]C[劫杀正解]))", "((CC(DE 1)(DD(EE 1))))"},
      {"a failure names its side",
       "(;AB[aa](;B[cc]C[正解];W[dd](;B[ee]C[白对杀失败])(;B[ef]C[黑失败])))",
       "((CC(DD(EE 1)(EF 0))))"},
      // Marked files.
      {"a deeper verdict wins over an inner one",
       "(;AB[aa];B[cc]C[Correct, later Black can cut.](;W[dd];B[ee])(;W[de];B[ef]C[No, this "
       "fails.]))",
       "((CC(DD(EE 1))(DE{8}(EF 0))))"},
      {"hedges are no success",
       "(;AB[aa](;B[cc]C[Almost correct, but White lives.])(;B[dd]C[Correct start, wrong finish.])"
       "(;B[ee]C[The first is correct, but there isn't another one. Wrong.])"
       "(;B[ff]C[Also correct, but B is simpler.]))",
       "((CC 0)(DD 0)(EE 0)(FF 1))"},
      // The computer's replies.
      {"CHOICE names the replies the computer may choose",
       "(;AB[aa];B[cc](;W[dd]C[CHOICE];B[ee]C[RIGHT])(;W[de];B[ef]C[RIGHT])(;W[df];B[eg]))",
       "((CC(DD(EE 1))(DE{8}(EF 1))(DF{8}(EG 0))))"},
      {"a reply without a correct answer is not played while another has one",
       "(;AB[aa];B[cc](;W[dd];B[ee]C[Correct])(;W[de];B[ef]))", "((CC(DD(EE 1))(DE{8}(EF 0))))"},
      {"NOTTHIS on every reply bars none",
       "(;AB[aa];B[cc](;W[dd]C[NOTTHIS];B[ee]C[RIGHT])(;W[de]C[NOTTHIS];B[ef]C[RIGHT]))",
       "((CC(DD(EE 1))(DE(EF 1))))"},
      {"one reply that ends the line, played first",
       "(;AB[aa];B[cc](;W[df];B[eg])(;W[dd])(;W[de]))", "((CC(DD 1)(DE 1{8})(DF(EG 1))))"},
      // Lines that cannot be played.
      {"a wrong line on an occupied point is dropped",
       "(;AB[aa](;B[cc]C[Correct])(;B[dd];W[cc];B[cc]))", "((CC 1)(DD(CC 0)))", 1},
      {"a wrong line retaking a ko is dropped",
       "(;AB[ba][ab][bc]AW[ca][bb][db][cc](;B[cb];W[bb];B[dd])(;B[ee]C[Correct]))",
       "((CB 0)(EE 1))", 1},
      {"set-up that changes the position drops a wrong line",
       "(;AB[aa](;B[cc]C[Correct])(;B[dd];W[ee]AB[ff];B[gg]))", "((CC 1)(DD 0))", 1},
      {"set-up that changes nothing is ignored", "(;AB[aa];B[cc];W[dd]AB[aa];B[ee]C[Correct])",
       "((CC(DD(EE 1))))"},
      {"set-up at a line end is ignored", "(;AB[aa];B[cc];W[dd]AB[ee])", "((CC(DD 1)))"},
      {"the first move written into the position as well", "(;AB[aa]AB[cc]B[cc]C[RIGHT])",
       "((CC 1))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<ImportOutcome> out = ImportSgf(c.sgf);
    ASSERT_EQ(out.size(), 1u);
    ASSERT_TRUE(out[0].problem.has_value()) << out[0].refusal.reason;
    EXPECT_EQ(TreeOutline(out[0].problem->tree), c.outline);
    EXPECT_EQ(static_cast<int>(out[0].problem->notes.size()), c.notes);
  }
  // Broken correct lines refuse the problem.
  const struct {
    const char* sgf;
    const char* category;
  } refused[] = {
      {"(;AB[aa];B[aa]C[Correct])", "illegal move in a correct line"},
      {"(;AB[ba][ab][bc]AW[ca][bb][db][cc];B[cb]C[Correct];W[bb];B[dd]C[Correct])",
       "illegal move in a correct line"},
      {"(;AB[aa];B[cc];W[dd]AB[ee];B[ff])", "set-up inside the solution"},
  };
  for (const auto& r : refused) {
    const std::vector<ImportOutcome> out = ImportSgf(r.sgf);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_FALSE(out[0].problem.has_value()) << r.sgf;
    EXPECT_EQ(out[0].refusal.category, r.category) << r.sgf;
  }
}

TEST(SgfImport, DroppedLinesAreNamedWithTheirReason) {
  const struct {
    const char* sgf;
    const char* note;
  } cases[] = {
      {"(;AB[aa](;B[cc]C[Correct])(;B[dd];W[cc];B[cc]))",
       "dropped a wrong line: move B[cc] is illegal (occupied point)"},
      {"(;AB[ba][ab][bc]AW[ca][bb][db][cc](;B[cb];W[bb];B[dd])(;B[ee]C[Correct]))",
       "dropped a wrong line: move W[bb] is illegal (ko retake)"},
      {"(;AB[ba][ab](;W[cc]C[Correct])(;W[dd];B[ee];W[aa]))",
       "dropped a wrong line: move W[aa] is illegal (suicide)"},
      {"(;AB[aa](;B[cc]C[Correct])(;B[dd];W[ee]AB[ff];B[gg]))",
       "dropped a wrong line: set-up stones (AB/AW/AE) change the position"},
  };
  for (const auto& c : cases) {
    const std::vector<ImportOutcome> out = ImportSgf(c.sgf);
    ASSERT_TRUE(out.at(0).problem.has_value()) << c.sgf;
    ASSERT_EQ(out[0].problem->notes.size(), 1u) << c.sgf;
    EXPECT_EQ(out[0].problem->notes[0].second, c.note);
  }
}

TEST(SgfImport, VerdictsOfComments) {
  const struct {
    const char* comment;
    bool userBlack;
    LineMark mark;
  } cases[] = {
      {"The first is correct, but there isn't another one. Wrong.", true, LineMark::kWrong},
      {"Correct start, wrong finish.", true, LineMark::kWrong},
      {"Almost correct, but you can improve the move order.", true, LineMark::kWrong},
      {"correct so far, now find the follow-up", true, LineMark::kWrong},
      {"correct first move. now, the follow-up?", true, LineMark::kWrong},
      {"Your 1st move was correct, but the 2nd should have been at A.", true, LineMark::kWrong},
      {"Correct, but note that White can still connect on the first line.", true,
       LineMark::kCorrect},
      {"Also correct, but there's a slightly better way of playing.", true, LineMark::kCorrect},
      {"Correct, later White can cut.", true, LineMark::kCorrect},
      {"Wrong. The correct answer is 3, following the correct, green path.", true,
       LineMark::kWrong},
      {"No, White lives.", true, LineMark::kWrong},
      {"Nope.", true, LineMark::kWrong},
      {"No ko threats for White.", true, LineMark::kNone},
      {"Failure. White lives.", true, LineMark::kWrong},
      {"Door shape's a dead one... :(", true, LineMark::kWrong},
      {"Wrong!RIGHT", true, LineMark::kCorrect},  // the goproblems token is the marking
      {"正解", true, LineMark::kCorrect},
      {"不正解", true, LineMark::kWrong},
      {"白失败", true, LineMark::kCorrect},
      {"白失败", false, LineMark::kWrong},
      {"对杀黑失败", false, LineMark::kCorrect},
      {"失败", false, LineMark::kWrong},
      {"失败。黑3正解", true, LineMark::kCorrect},  // the last verdict read
  };
  for (const auto& c : cases) {
    const CommentReading r = ReadComment(c.comment, c.userBlack);
    EXPECT_EQ(r.mark, c.mark) << c.comment << (c.userBlack ? " (user Black)" : " (user White)");
  }
  EXPECT_TRUE(ReadComment("正解").cjk);
  EXPECT_FALSE(ReadComment("Correct").cjk);
  EXPECT_TRUE(ReadComment("CHOICERIGHT").choice);
}

TEST(SgfImport, RemarkListStopsAt255) {
  RemarkList remarks;
  for (int i = 1; i <= 255; ++i) EXPECT_EQ(remarks.Add("r" + std::to_string(i)), i);
  EXPECT_EQ(remarks.Add("one more"), 0);
  EXPECT_EQ(remarks.Add("r7"), 7);
  EXPECT_EQ(remarks.Dropped(), 1);
  EXPECT_EQ(remarks.Add(""), 0);
}

}  // namespace
}  // namespace zendra
