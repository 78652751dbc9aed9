#include "tests/app/app_test_data.h"

#include <vector>

#include "problem_import/problem_data.h"
#include "solving/tree/solution_tree.h"
#include "tests/library/library_test_util.h"

namespace zendra::test {

void WriteTestDataFile(const std::string& path, int count, const std::string& solution) {
  std::vector<ProblemRow> rows;
  for (int i = 0; i < count; ++i) {
    ProblemRow r;
    r.auto1 = 0x10 + i;
    r.group = 2;
    r.level = 41;
    r.num = i + 1;
    r.black = "CCECCE";
    r.white = "FCFDFEEFDF";
    r.initial = "";
    r.first = "B";
    r.result2 = 1;
    r.solution = solution;
    rows.push_back(r);
  }
  ProblemRow basic = rows.front();
  basic.auto1 = 0x01;
  basic.group = 0;
  rows.push_back(basic);
  WriteFile(path, ZipWith("Zendra.cds", ProblemImage(rows)));
}

void WriteTestDataFile(const std::string& path, int count) {
  // The user (black) plays D4 and the line is won; every other first move is outside the tree.
  SolutionTree tree;
  tree.Add(tree.Add(kNoNode, ""), std::string(kSolvingPoint) + " 11");
  WriteTestDataFile(path, count, tree.Save());
}

void WriteTwoRepliesFile(const std::string& path, int count) {
  SolutionTree tree;
  const NodeId u = tree.Add(tree.Add(kNoNode, ""), kSolvingPoint);
  tree.Add(tree.Add(u, "KK"), "LL 11");
  tree.Add(tree.Add(u, "KL"), "LM 11");
  WriteTestDataFile(path, count, tree.Save());
}

bool WriteRemarkProblemFile(const std::string& path,
                            std::optional<std::vector<std::string>> ownRemarks,
                            std::string* error) {
  SolutionTree tree;
  tree.Add(tree.Add(kNoNode, ""), std::string(kSolvingPoint) + " 11", "", "1");
  DataProblem p;
  p.number = 0x10;
  p.group = 2;
  p.level = 41;
  p.num = 1;
  p.arrangedBlack = "CCECCE";
  p.arrangedWhite = "FCFDFEEFDF";
  p.firstToPlay = "B";
  p.result2 = 1;
  p.solution = tree.Save();
  p.remarks = std::move(ownRemarks);
  return WriteDataFile({p}, path, error);
}

}  // namespace zendra::test
