#include "solving/tree/solution_tree.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zendra {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// The documented 96-byte example: an empty root with one leaf 'CC 11', StringData '0'.
std::string WorkedExample() {
  std::string s = Bytes({1, 0, 0, 0});
  const std::string common = Bytes({0,    0,    0,    0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0});
  s += Bytes({0x27, 0, 0, 0}) + common + Bytes({0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0});
  s += Bytes({0x2C, 0, 0, 0}) + common + Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  s += Bytes({5}) + "CC 11" + "0";
  return s;
}

Localizer English() { return {}; }

Localizer Chinese() {
  // The conversion makes itself visible.
  return {Language::kTraditionalChinese, [](std::string s) { return "<" + s + ">"; }};
}

TEST(SolutionTreeStream, WorkedExampleLoadsAndIsWrittenBackByteForByte) {
  const std::string stream = WorkedExample();
  ASSERT_EQ(stream.size(), 96u);
  SolutionTree tree;
  ASSERT_EQ(tree.LoadSolution(stream), SolutionTree::LoadResult::kLoaded);
  ASSERT_EQ(tree.Size(), 2u);
  EXPECT_EQ(tree.Current(), kNoNode);
  const NodeId root = tree.FirstRoot();
  const NodeId leaf = tree.FirstChild(root);
  EXPECT_EQ(tree.Node(root).text, "");
  EXPECT_EQ(tree.Level(leaf), 1);
  EXPECT_EQ(tree.NodePoint(leaf), "CC");
  EXPECT_EQ(tree.NodeCode(leaf), "11");
  EXPECT_EQ(CodeValue(tree.NodeCode(leaf)), 5);
  EXPECT_TRUE(IsSuccess(tree.NodeCode(leaf)));
  EXPECT_EQ(ResultText(tree.NodeCode(leaf), English()), "lives,Success");
  EXPECT_EQ(tree.NodeFlags(leaf), 0);
  EXPECT_EQ(tree.NodeComment(leaf, English(), {}), "");
  EXPECT_EQ(tree.Save(), stream);

  SolutionTree built;
  built.Add(built.Add(kNoNode, ""), "CC 11", "0");
  EXPECT_EQ(built.Save(), stream);
}

TEST(SolutionTreeStream, ShortStreamsAndRootCounts) {
  SolutionTree tree;
  tree.Add(kNoNode, "old");
  tree.SetCurrent(tree.FirstRoot());
  EXPECT_EQ(tree.LoadSolution(std::string(32, '\x01')), SolutionTree::LoadResult::kNoTree);
  EXPECT_TRUE(tree.Empty());
  EXPECT_EQ(tree.Current(), kNoNode);
  EXPECT_EQ(tree.LoadSolution(""), SolutionTree::LoadResult::kNoTree);

  std::string zeroRoots = Bytes({0, 0, 0, 0}) + std::string(29, '\0');
  EXPECT_EQ(tree.LoadSolution(zeroRoots), SolutionTree::LoadResult::kLoaded);
  EXPECT_TRUE(tree.Empty());

  std::string negativeRoots = Bytes({0xFF, 0xFF, 0xFF, 0xFF}) + std::string(29, '\0');
  EXPECT_EQ(tree.LoadSolution(negativeRoots), SolutionTree::LoadResult::kLoaded);
  EXPECT_TRUE(tree.Empty());

  // A record of the writer's size 39 cannot fit in the 29 bytes left.
  std::string oneRoot = Bytes({1, 0, 0, 0, 39, 0, 0, 0}) + std::string(25, '\0');
  EXPECT_EQ(tree.LoadSolution(oneRoot), SolutionTree::LoadResult::kCorrupted);
  EXPECT_TRUE(tree.Empty());
  // A size of 0 reads nothing into the (zeroed) buffer: a complete node with empty fields.
  std::string zeroSize = Bytes({1, 0, 0, 0}) + std::string(29, '\0');
  EXPECT_EQ(tree.LoadSolution(zeroSize), SolutionTree::LoadResult::kLoaded);
  EXPECT_EQ(tree.Size(), 1u);
}

// Every cut of a valid stream ends in "corrupted" (past 32 bytes) and keeps exactly the
// records that were complete, as a prefix of the full tree in pre-order.
TEST(SolutionTreeStream, TruncatedStreamKeepsTheCompleteRecords) {
  SolutionTree full;
  const NodeId root = full.Add(kNoNode, "");
  const NodeId a = full.Add(root, "CC", "1", "2");
  full.Add(a, "DD 11");
  full.Add(root, "EE 00", "", "A");
  const std::string stream = full.Save();
  std::vector<std::string> fullTexts;
  for (NodeId id = full.FirstRoot(); id != kNoNode; id = full.Successor(id)) {
    fullTexts.push_back(full.Node(id).text);
  }

  std::size_t lastSize = 0;
  for (std::size_t cut = 33; cut < stream.size(); ++cut) {
    SolutionTree tree;
    ASSERT_EQ(tree.LoadSolution(stream.substr(0, cut)), SolutionTree::LoadResult::kCorrupted)
        << cut;
    ASSERT_GE(tree.Size(), lastSize);
    lastSize = tree.Size();
    std::size_t i = 0;
    for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.Successor(id), ++i) {
      ASSERT_LT(i, fullTexts.size());
      EXPECT_EQ(tree.Node(id).text, fullTexts[i]);
      EXPECT_FALSE(tree.IsMarked(id));
    }
    EXPECT_EQ(i, tree.Size());
  }
  EXPECT_EQ(lastSize, 3u);  // the last record lacks its StringData2 only
}

// Non-positive lengths and counts consume nothing and read as empty.
TEST(SolutionTreeStream, NonPositiveLengthsReadAsNone) {
  SolutionTree built;
  const NodeId root = built.Add(kNoNode, "");
  built.Add(root, "CC 11");
  std::string stream = built.Save();
  // Root record starts at 4; its D, E and K fields sit at 4 + 30, 4 + 34, 4 + 38.
  std::string patched = stream;
  for (int offset : {34, 38})
    patched.replace(static_cast<std::size_t>(offset), 4, "\xF0\xFF\xFF\xFF");
  SolutionTree tree;
  ASSERT_EQ(tree.LoadSolution(patched), SolutionTree::LoadResult::kLoaded);
  ASSERT_EQ(tree.Size(), 2u);
  EXPECT_EQ(tree.Node(tree.FirstChild(tree.FirstRoot())).text, "CC 11");

  patched.replace(42, 4, "\x00\x00\x00\x80", 4);  // child count INT_MIN
  stream = patched;
  ASSERT_EQ(tree.LoadSolution(stream), SolutionTree::LoadResult::kLoaded);
  EXPECT_EQ(tree.Size(), 1u);  // the child record becomes trailing bytes, ignored
}

// A record shorter than its fields keeps the previous record's bytes in the missing ones.
TEST(SolutionTreeStream, ShortRecordReusesTheSharedBuffer) {
  SolutionTree built;
  const NodeId root = built.Add(kNoNode, "AB");
  built.MutableNode(root).imageIndex = 7;
  built.Add(built.Add(root, "CC 11"), "DD");
  const std::string stream = built.Save();
  const std::size_t rootEnd = 4 + 4 + 39 + 2;
  const std::size_t childEnd = rootEnd + 4 + 39 + 5;
  // The child's record shrinks to its ImageIndex (0); text, lengths and child count stay those
  // of the root's record.
  const std::string shortened = stream.substr(0, rootEnd) + Bytes({4, 0, 0, 0}) +
                                stream.substr(rootEnd + 4, 4) + stream.substr(childEnd);
  SolutionTree tree;
  ASSERT_EQ(tree.LoadSolution(shortened), SolutionTree::LoadResult::kLoaded);
  ASSERT_EQ(tree.Size(), 3u);
  const NodeId child = tree.FirstChild(tree.FirstRoot());
  EXPECT_EQ(tree.Node(child).imageIndex, 0);
  EXPECT_EQ(tree.Node(child).text, "AB");
  EXPECT_EQ(tree.Node(tree.FirstChild(child)).text, "DD");
  EXPECT_EQ(tree.Node(tree.FirstChild(child)).imageIndex, 0);
}

TEST(SolutionTreeStream, DeepChainLoadsWalksAndDestroysWithoutRecursion) {
  constexpr int kDepth = 300000;
  SolutionTree built;
  NodeId id = built.Add(kNoNode, "");
  for (int i = 0; i < kDepth; ++i) id = built.Add(id, i % 2 ? "DD" : "CC");
  built.MutableNode(id).text = "CC 11";
  const std::string stream = built.Save();
  SolutionTree tree;
  ASSERT_EQ(tree.LoadSolution(stream), SolutionTree::LoadResult::kLoaded);
  ASSERT_EQ(tree.Size(), static_cast<std::size_t>(kDepth + 1));
  EXPECT_TRUE(tree.HasCleanSuccess(tree.FirstRoot()));
  EXPECT_FALSE(tree.IsTainted(static_cast<NodeId>(kDepth), 0));
  EXPECT_EQ(tree.Save(), stream);
}

// A megabyte of noise, and a megabyte of 4-byte records that each reuse the previous record's
// child count of 1 (a chain 262 000 deep): both load or fail, and can be queried.
TEST(SolutionTreeStream, MegabyteStreamsLoadOrFailInBoundedTime) {
  std::mt19937 rng(99);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  noise.replace(0, 4, Bytes({3, 0, 0, 0}));
  SolutionTree tree;
  const SolutionTree::LoadResult result = tree.LoadSolution(noise);
  EXPECT_NE(result, SolutionTree::LoadResult::kNoTree);
  for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.NextRoot(id)) {
    tree.HasCleanSuccess(id);
  }

  SolutionTree one;
  one.Add(one.Add(kNoNode, ""), "CC 11");
  std::string chain = one.Save();
  chain.resize(chain.size() - (4 + 39 + 5));  // keep the root record, whose child count is 1
  while (chain.size() < (1u << 20)) chain += Bytes({0, 0, 0, 0});
  ASSERT_EQ(tree.LoadSolution(chain), SolutionTree::LoadResult::kCorrupted);
  EXPECT_EQ(tree.Size(), (chain.size() - 4 - 4 - 39) / 4 + 1);
  EXPECT_FALSE(tree.HasCleanSuccess(tree.FirstRoot()));
  EXPECT_EQ(tree.Save().size(), 4 + tree.Size() * (4 + 39));
}

TEST(SolutionTreeStream, RandomTreesRoundTripExactly) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 50; ++round) {
    SolutionTree tree;
    const int count = 1 + static_cast<int>(rng() % 60);
    for (int i = 0; i < count; ++i) {
      const NodeId parent = i == 0 || rng() % 8 == 0 ? kNoNode : static_cast<NodeId>(rng() % i);
      std::string text(rng() % 12, 'A');
      for (char& c : text) c = static_cast<char>(rng() % 256);
      const NodeId id = tree.Add(parent, text, rng() % 2 ? "41" : "", rng() % 3 ? "" : "1F");
      SolutionNode& n = tree.MutableNode(id);
      n.imageIndex = static_cast<int32_t>(rng());
      n.selectedIndex = static_cast<int32_t>(rng());
      n.stateIndex = static_cast<int32_t>(rng());
      n.overlayIndex = static_cast<int32_t>(rng());
      n.checkKind = static_cast<uint8_t>(rng());
      n.checkState = static_cast<uint8_t>(rng());
      n.expanded = static_cast<uint8_t>(rng() % 2);
      n.data = rng();
    }
    const std::string stream = tree.Save();
    SolutionTree loaded;
    ASSERT_EQ(loaded.LoadSolution(stream), SolutionTree::LoadResult::kLoaded);
    ASSERT_EQ(loaded.Size(), tree.Size());
    EXPECT_EQ(loaded.Save(), stream);
  }
}

TEST(SolutionTreeStream, LongTextIsCutTo255) {
  SolutionTree tree;
  tree.Add(kNoNode, std::string(300, 'x'));
  SolutionTree loaded;
  ASSERT_EQ(loaded.LoadSolution(tree.Save()), SolutionTree::LoadResult::kLoaded);
  EXPECT_EQ(loaded.Node(loaded.FirstRoot()).text, std::string(255, 'x'));
}

struct CodeCase {
  const char* text;
  bool leaf;
  const char* code;
};

TEST(SolutionTreeQueries, NodeCode) {
  const CodeCase cases[] = {
      {"CC 11", true, "11"},
      {"CC   9", true, "9 "},
      {"CC", false, "  "},
      {"CC", true, "0 "},
      {"D 11", false, "  "},
      {" D 11", true, "0 "},
      {"DD 5", false, "5 "},
      {"CC 1\t", true, "1 "},
      {"CC \x01"
       "a1xyz",
       true, "a1"},
      {"CC    ", true, "0 "},
      {"CCX 10", true, "10"},
      {"", true, "0 "},
      {"C", false, "  "},
      {"CC 1 2", true, "1 "},
  };
  for (const CodeCase& c : cases) {
    SolutionTree tree;
    const NodeId id = tree.Add(kNoNode, c.text);
    if (!c.leaf) tree.Add(id, "DD");
    EXPECT_EQ(tree.NodeCode(id), c.code) << '"' << c.text << '"';
  }
}

struct VerdictCase {
  const char* code;
  int value;
  bool success;
  const char* english;
  const char* chinese;
};

TEST(SolutionTreeQueries, CodeValueAndResultText) {
  const VerdictCase cases[] = {
      {"11", 5, true, "lives,Success", "<\xBB\xEE>,<\xB3\xC9\xB9\xA6>"},        // 活 成功
      {"00", 0, false, "dies,Failure", "<\xCB\xC0>,<\xCA\xA7\xB0\xDC>"},        // 死 失败
      {"12", 9, true, "ko,Success", "<\xBD\xD9\xC9\xB1>,<\xB3\xC9\xB9\xA6>"},   // 劫杀
      {"33", 15, true, "ko,Success", "<\xBD\xD9\xBB\xEE>,<\xB3\xC9\xB9\xA6>"},  // 劫活
      {"1 ", 1, true, ",Success", ",<\xB3\xC9\xB9\xA6>"},
      {"0 ", 0, false, ",Failure", ",<\xCA\xA7\xB0\xDC>"},
      {"a1", 14, false, "lives,Failure", "<\xBB\xEE>,<\xCA\xA7\xB0\xDC>"},
      {"B4", 27, true, ",Success", ",<\xB3\xC9\xB9\xA6>"},
      {"z0", 0, false, "dies,Failure", "<\xCB\xC0>,<\xCA\xA7\xB0\xDC>"},
      {"  ", 0, false, "", ""},
      {"\x01"
       "1",
       0, false, "", ""},
      {"5\x01", 5, true, ",Success", ",<\xB3\xC9\xB9\xA6>"},
  };
  for (const VerdictCase& c : cases) {
    EXPECT_EQ(CodeValue(c.code), c.value) << c.code;
    EXPECT_EQ(IsSuccess(c.code), c.success) << c.code;
    EXPECT_EQ(ResultText(c.code, English()), c.english) << c.code;
    EXPECT_EQ(ResultText(c.code, Chinese()), c.chinese) << c.code;
  }
}

TEST(SolutionTreeQueries, AnswerText) {
  EXPECT_EQ(AnswerText(0, English()), "dies");
  EXPECT_EQ(AnswerText(1, English()), "lives");
  EXPECT_EQ(AnswerText(2, English()), "ko");
  EXPECT_EQ(AnswerText(3, English()), "ko");
  EXPECT_EQ(AnswerText(3, Chinese()), "<\xBD\xD9\xBB\xEE>");  // 劫活
  EXPECT_EQ(AnswerText(7, English()), "");
  EXPECT_EQ(AnswerText(-1, Chinese()), "");
}

struct FlagCase {
  const char* data;
  const char* data2;
  int flags;
  bool bad, notBest, sometimes, flagged;
  const char* english;
  const char* chinese;
};

TEST(SolutionTreeQueries, FlagsAndComments) {
  const Localizer english = English();
  const std::vector<std::string> englishRemarks = {"zero", "first remark", "second remark"};
  const Localizer chinese = Chinese();
  const std::vector<std::string> chineseRemarks = {"r0", "r1", "r2"};
  const FlagCase cases[] = {
      {"", "", 0, false, false, false, false, "", ""},
      {"1", "", 1, true, false, false, true, "Bad move", "<\xBB\xB5\xC6\xE5>"},  // 坏棋
      {"2", "", 2, false, false, false, false, "Seki", "<\xCB\xAB\xBB\xEE>"},    // 双活
      {"4", "", 4, false, true, false, true, "Not best", "<\xB7\xC7\xD7\xEE\xBC\xD1>"},
      {"41", "", 65, true, false, true, true, "", ""},
      {"101", "", 257, true, false, false, true, "Bad move", "<\xBB\xB5\xC6\xE5>"},
      {"5", "", 5, true, true, false, true, "", ""},
      {"40", "1", 64, false, false, true, false, "first remark", "r1"},
      {"1", "2", 1, true, false, false, true, "Bad move. second remark", "<\xBB\xB5\xC6\xE5>. r2"},
      {"", "3", 0, false, false, false, false, "", ""},  // index 3 is past the list
      {"", "102", 0, false, false, false, false, "second remark", "r2"},  // low byte only
      {"zz", "g", 0, false, false, false, false, "", ""},
      {"1 ", "", 0, false, false, false, false, "", ""},
      {"100000001", "", 0, false, false, false, false, "", ""},  // wider than 32 bits
      {"0000000001", "", 1, true, false, false, true, "Bad move", "<\xBB\xB5\xC6\xE5>"},
      {"FFFFFFFF", "", -1, true, true, true, true, "", ""},
  };
  for (const FlagCase& c : cases) {
    SolutionTree tree;
    const NodeId id = tree.Add(kNoNode, "CC", c.data, c.data2);
    SCOPED_TRACE(std::string(c.data) + "/" + c.data2);
    EXPECT_EQ(tree.NodeFlags(id), c.flags);
    EXPECT_EQ(tree.IsBadMove(id), c.bad);
    EXPECT_EQ(tree.IsNotBest(id), c.notBest);
    EXPECT_EQ(tree.IsSometimes(id), c.sometimes);
    EXPECT_EQ(tree.IsFlagged(id), c.flagged);
    EXPECT_EQ(tree.NodeComment(id, english, englishRemarks), c.english);
    EXPECT_EQ(tree.NodeComment(id, chinese, chineseRemarks), c.chinese);
  }
  SolutionTree tree;
  const NodeId barred = tree.Add(kNoNode, "CC", "8");
  EXPECT_TRUE(tree.IsBarredFromReply(barred, 24));
  EXPECT_FALSE(tree.IsBarredFromReply(tree.Add(kNoNode, "CC", "1"), 24));
  EXPECT_TRUE(tree.IsBarredFromReply(tree.Add(kNoNode, "CC", "1"), 29));
}

TEST(SolutionTreeQueries, NavigationAndPreOrder) {
  SolutionTree tree;
  const NodeId r = tree.Add(kNoNode, "r");
  const NodeId a = tree.Add(r, "a");
  const NodeId b = tree.Add(r, "b");
  const NodeId a1 = tree.Add(a, "a1");
  const NodeId a2 = tree.Add(a, "a2");
  const NodeId a11 = tree.Add(a1, "a11");
  const NodeId r2 = tree.Add(kNoNode, "r2");
  const NodeId b1 = tree.Add(b, "b1");
  EXPECT_EQ(tree.Add(99, "x"), kNoNode);
  std::vector<NodeId> order;
  for (NodeId id = tree.FirstRoot(); id != kNoNode; id = tree.Successor(id)) order.push_back(id);
  EXPECT_EQ(order, (std::vector<NodeId>{r, a, a1, a11, a2, b, b1, r2}));
  EXPECT_EQ(tree.Level(a11), 3);
  EXPECT_EQ(tree.Parent(a11), a1);
  EXPECT_EQ(tree.ChildCount(a), 2);
  EXPECT_EQ(tree.NextRoot(r), r2);
  EXPECT_EQ(tree.Parent(r), kNoNode);
  EXPECT_EQ(tree.Successor(kNoNode), kNoNode);
  tree.SetCurrent(42);
  EXPECT_EQ(tree.Current(), kNoNode);

  // Shown marks: load clears them all.
  tree.Mark(a);
  tree.Mark(a1);
  tree.UnmarkChildren(a);
  EXPECT_TRUE(tree.IsMarked(a));
  EXPECT_FALSE(tree.IsMarked(a1));
  SolutionTree loaded;
  loaded.LoadSolution(tree.Save());
  for (NodeId id = 0; id < static_cast<NodeId>(loaded.Size()); ++id)
    EXPECT_FALSE(loaded.IsMarked(id));
}

// The literal form of the clean-success rule, as a reference for the cached one.
bool ReferenceHasCleanSuccess(const SolutionTree& tree, NodeId n) {
  for (NodeId d = tree.Successor(n); d != kNoNode && tree.Level(d) > tree.Level(n);
       d = tree.Successor(d)) {
    if (IsSuccess(tree.NodeCode(d)) && !tree.IsTainted(d, tree.Level(n) + 1)) return true;
  }
  return false;
}

TEST(SolutionTreeQueries, CleanSuccessAndTaint) {
  SolutionTree tree;
  const NodeId root = tree.Add(kNoNode, "");
  const NodeId u = tree.Add(root, "CC");
  const NodeId flaggedReply = tree.Add(u, "DD", "1");
  const NodeId win = tree.Add(flaggedReply, "EE 11");
  const NodeId u2 = tree.Add(root, "CD", "4");  // flagged user move: not a taint
  const NodeId r2 = tree.Add(u2, "DE");
  tree.Add(r2, "EF 10");
  EXPECT_TRUE(tree.IsTainted(win, 1));
  EXPECT_TRUE(tree.IsTainted(win, 2));
  EXPECT_FALSE(tree.IsTainted(win, 3));
  EXPECT_FALSE(tree.HasCleanSuccess(u));            // only through the flagged reply
  EXPECT_TRUE(tree.HasCleanSuccess(flaggedReply));  // the reply itself is above the walk
  EXPECT_TRUE(tree.HasCleanSuccess(root));          // through the flagged user move
  EXPECT_FALSE(tree.HasCleanSuccess(win));
  tree.MutableNode(u2).text = "CD 00";  // editing invalidates the cached answer
  tree.MutableNode(r2).stringData = "4";
  EXPECT_FALSE(tree.HasCleanSuccess(root));
  EXPECT_TRUE(tree.IsTainted(r2, 0));
}

TEST(SolutionTreeQueries, CleanSuccessAgreesWithTheLiteralWalk) {
  std::mt19937 rng(777);
  const char* texts[] = {"CC", "CC 11", "CC 00", "CC 5", "TT", "CC 0 ", "CC a1"};
  const char* flags[] = {"", "", "1", "4", "8", "40", "5"};
  for (int round = 0; round < 200; ++round) {
    SolutionTree tree;
    const int count = 1 + static_cast<int>(rng() % 40);
    for (int i = 0; i < count; ++i) {
      const NodeId parent = i == 0 || rng() % 10 == 0 ? kNoNode : static_cast<NodeId>(rng() % i);
      tree.Add(parent, texts[rng() % 7], flags[rng() % 7]);
    }
    for (NodeId id = 0; id < count; ++id) {
      ASSERT_EQ(tree.HasCleanSuccess(id), ReferenceHasCleanSuccess(tree, id))
          << "round " << round << " node " << id;
    }
  }
}

}  // namespace
}  // namespace zendra
