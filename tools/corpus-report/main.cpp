// zendra-corpus-report: imports SGF problem files as `zendra-db build` does and replays what
// each file means through the real solving controller (see problem_import/corpus_report.h).
//
//   zendra-corpus-report SRC... [--quiet]
//
// Prints the figures and one line per disagreement ("file:line:column: kind: detail"; the
// lines are left out with --quiet); exits 1 when there is any disagreement or comment left out.
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "problem_import/corpus_report.h"

int main(int argc, char** argv) {
  std::vector<std::string> sources;
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--quiet") {
      quiet = true;
    } else if (a.size() > 1 && a[0] == '-') {
      std::cerr << "usage: zendra-corpus-report SRC... [--quiet]\n";
      return 2;
    } else {
      sources.push_back(a);
    }
  }
  if (sources.empty()) {
    std::cerr << "usage: zendra-corpus-report SRC... [--quiet]\n";
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  zendra::CorpusReport r;
  zendra::ReportOnSources(sources, &r);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!quiet) {
    for (const std::string& d : r.disagreements) std::cout << d << "\n";
  }
  std::cout << r.files << " files: imported " << r.problems << ", refused " << r.refused << " ("
            << seconds << " s)\n";
  for (const auto& [reason, count] : r.refusedByReason) {
    std::cout << "  refused " << count << ": " << reason << "\n";
  }
  std::cout << "  wrong lines dropped by the import: " << r.droppedLines << "\n"
            << "  correct lines: " << r.correctLines << ", replayed " << r.correctFollowed << "\n"
            << "  wrong lines: " << r.wrongLines << ", replayed " << r.wrongFollowed << "\n"
            << "  lines the board refuses: " << r.brokenLines << "\n"
            << "  counted as solved by a correct player: " << r.solved << " of " << r.problems
            << "\n"
            << "  comments: " << r.comments << ", kept " << r.commentsKept << " ("
            << r.chineseComments << " Chinese); on dropped lines " << r.commentsOnDroppedLines
            << "\n"
            << "  disagreements: " << r.disagreements.size() << "\n";
  for (const auto& [kind, count] : r.disagreementsByKind) {
    std::cout << "    " << count << ": " << kind << "\n";
  }
  return r.disagreements.empty() ? 0 : 1;
}
