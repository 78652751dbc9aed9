#include "tools/zendra-db/zendra_db.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "board/engine/lattix_engine.h"
#include "problem_import/play_session.h"
#include "problem_import/problem_data.h"
#include "problem_import/tree_verify.h"
#include "solving/tree/solution_tree.h"

namespace zendra::db {

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || stop != end) return std::nullopt;
  return value;
}

int Usage() {
  std::cerr << "usage:\n"
               "  zendra-db build SRC... -o FILE.dgo [--group G] [--level L] [--remarks FILE]"
               " [--strict] [--collections-only] [--shared-remarks] [--json]\n"
               "  zendra-db list FILE [--group G] [--json]\n"
               "  zendra-db show FILE NUMBER [--remarks FILE] [--json]\n"
               "  zendra-db check FILE [--json]\n"
               "  zendra-db play FILE NUMBER STEP... [--remarks FILE] [--board] [--json]\n"
               "  zendra-db verify FILE [--seconds S] [--json]\n"
               "steps: CC (point letters), C17 (board coordinates), again, back, next, result,"
               " hint\n";
  return 2;
}

bool ParseArgs(const std::vector<std::string>& argv, Args* args, std::string* error) {
  auto fail = [&](const std::string& message) {
    *error = message;
    return false;
  };
  if (argv.empty()) return fail("no command");
  args->command = argv[0];
  for (std::size_t i = 1; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argv.size()) return fail(a + " needs a value");
      *out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--json") {
      args->json = true;
    } else if (a == "--strict") {
      args->strict = true;
    } else if (a == "--collections-only") {
      args->collectionsOnly = true;
    } else if (a == "--shared-remarks") {
      args->sharedRemarks = true;
    } else if (a == "--board") {
      args->board = true;
    } else if (a == "-o" || a == "--output") {
      if (!value(&args->output)) return false;
    } else if (a == "--remarks") {
      if (!value(&args->remarks)) return false;
    } else if (a == "--seconds") {
      if (!value(&v)) return false;
      const std::optional<int> number = ParseNumber(v);
      if (!number || *number < 1 || *number > 3600)
        return fail("--seconds takes a whole number from 1 to 3600, not '" + v + "'");
      args->seconds = number;
    } else if (a == "--group" || a == "--level") {
      if (!value(&v)) return false;
      const std::optional<int> number = ParseNumber(v);
      if (!number) return fail(a + " takes a whole number, not '" + v + "'");
      (a == "--group" ? args->group : args->level) = number;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return fail("unknown option " + a);
    } else {
      args->positional.push_back(a);
    }
  }
  return true;
}

namespace {

std::string RemarkPath(const Args& args, const std::string& dataFile) {
  if (!args.remarks.empty()) return args.remarks;
  return (std::filesystem::path(dataFile).parent_path() / "Remark.txt").string();
}

std::string LevelText(int level) {
  if (level < 40) return std::to_string(40 - level) + " kyu";
  return std::to_string(level - 39) + " dan";
}

std::string ResultValue(const std::optional<int>& r) { return r ? std::to_string(*r) : "null"; }

// ---- build -----------------------------------------------------------------------------------

int Build(const Args& args) {
  if (args.positional.empty() || args.output.empty()) return Usage();
  BuildOptions options;
  if (args.group) options.group = *args.group;
  if (args.level) options.level = *args.level;
  options.collectionsOnly = args.collectionsOnly;
  options.sharedRemarks = args.sharedRemarks;
  const auto start = std::chrono::steady_clock::now();
  BuildReport report;
  BuildFromSources(args.positional, options, &report);
  std::string error;
  const bool written = report.errors.empty() &&
                       WriteDataFile(report.problems, args.output, &error) &&
                       WriteRemarkFile(report.remarks, RemarkPath(args, args.output), &error);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int refused = static_cast<int>(report.refusals.size());
  if (args.json) {
    std::cout << "{\"output\":" << JsonString(args.output)
              << ",\"written\":" << (written ? "true" : "false") << ",\"files\":" << report.files
              << ",\"imported\":" << report.problems.size() << ",\"refused\":" << refused
              << ",\"seconds\":" << seconds << ",\"remarks\":" << report.remarks.Lines().size() - 1
              << ",\"perProblemRemarks\":" << (report.perProblemRemarks ? "true" : "false")
              << ",\"remarksDropped\":" << report.remarksLeftOut
              << ",\"droppedLines\":" << report.droppedLines << ",\"notes\":[";
    for (std::size_t i = 0; i < report.notes.size(); ++i) {
      std::cout << (i ? "," : "") << JsonString(report.notes[i]);
    }
    std::cout << "],\"encodings\":{";
    for (auto it = report.encodings.begin(); it != report.encodings.end(); ++it) {
      std::cout << (it == report.encodings.begin() ? "" : ",") << JsonString(it->first) << ":"
                << it->second;
    }
    std::cout << "},\"refusedByReason\":{";
    bool first = true;
    for (const auto& [reason, count] : report.refusedByReason) {
      std::cout << (first ? "" : ",") << JsonString(reason) << ":" << count;
      first = false;
    }
    std::cout << "},\"refusals\":[";
    for (std::size_t i = 0; i < report.refusals.size(); ++i) {
      std::cout << (i ? "," : "") << JsonString(report.refusals[i]);
    }
    std::cout << "],\"errors\":[";
    for (std::size_t i = 0; i < report.errors.size(); ++i) {
      std::cout << (i ? "," : "") << JsonString(report.errors[i]);
    }
    if (!error.empty()) std::cout << (report.errors.empty() ? "" : ",") << JsonString(error);
    std::cout << "]}\n";
  } else {
    for (const std::string& w : report.warnings) std::cerr << w << "\n";
    for (const std::string& n : report.notes) std::cerr << n << "\n";
    for (const std::string& r : report.refusals) std::cerr << r << "\n";
    for (const std::string& e : report.errors) std::cerr << "error: " << e << "\n";
    if (!error.empty()) std::cerr << "error: " << error << "\n";
    std::cout << "imported " << report.problems.size() << ", refused " << refused << " ("
              << report.files << " files, " << seconds << " s)\n";
    for (const auto& [reason, count] : report.refusedByReason) {
      std::cout << "  refused " << count << ": " << reason << "\n";
    }
    for (const auto& [encoding, count] : report.encodings) {
      std::cout << "  " << count << " files read as " << encoding << "\n";
    }
    if (report.droppedLines > 0) {
      std::cout << "  " << report.droppedLines
                << " wrong lines dropped (illegal moves or set-up)\n";
    }
    std::cout << "  remarks: "
              << (report.perProblemRemarks ? "one list per problem" : "one shared list") << "\n";
    if (report.remarksLeftOut > 0) {
      std::cout << "  " << report.remarksLeftOut << " remarks left out: a problem's list is full\n";
    }
    if (written) std::cout << "wrote " << args.output << "\n";
  }
  if (!written) return 1;
  // Strict: every problem imported and every comment kept in the remark list.
  return args.strict && (refused > 0 || report.remarksLeftOut > 0) ? 1 : 0;
}

// ---- list ----------------------------------------------------------------------------------

int List(const Args& args) {
  if (args.positional.size() != 1) return Usage();
  std::vector<std::string> entries;
  std::string error;
  if (!CollectionEntries(args.positional[0], args.group.value_or(0), &entries, &error)) {
    std::cerr << "error: " << error << "\n";
    return 1;
  }
  if (args.json) {
    std::cout << "[";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::cout << (i ? "," : "") << JsonString(entries[i]);
    }
    std::cout << "]\n";
  } else {
    for (const std::string& e : entries) std::cout << e << "\n";
  }
  return 0;
}

// ---- show / check / play -----------------------------------------------------------------------

// Reads every problem of the data file at `path`; false, with the reason on standard error, when
// it cannot be read.
bool ReadAll(const std::string& path, std::vector<DataProblem>* problems) {
  std::string error;
  if (ReadDataFile(path, problems, &error)) return true;
  std::cerr << "error: " << error << "\n";
  return false;
}

std::optional<DataProblem> LoadOne(const std::string& path, const std::string& numberText) {
  const auto number = ParseNumber(numberText);
  if (!number) {
    std::cerr << "error: '" << numberText << "' is not a problem number\n";
    return std::nullopt;
  }
  std::vector<DataProblem> problems;
  if (!ReadAll(path, &problems)) return std::nullopt;
  for (DataProblem& p : problems) {
    if (p.number == *number) return std::move(p);
  }
  std::cerr << "error: no problem " << *number << " in " << path << "\n";
  return std::nullopt;
}

int Show(const Args& args) {
  if (args.positional.size() != 2) return Usage();
  const auto problem = LoadOne(args.positional[0], args.positional[1]);
  if (!problem) return 1;
  const Localizer language;
  // The problem's own remark list when the data file keeps one, else the shared list.
  const std::vector<std::string> remarks =
      problem->remarks ? *problem->remarks : ReadRemarkFile(RemarkPath(args, args.positional[0]));
  LattixEngine board;
  const char first = problem->firstToPlay.empty() ? 'B' : problem->firstToPlay[0];
  board.SetFirstToPlay(first == 'W' ? kWhite : kBlack);
  board.NewGame(false);
  board.SetArrangedSideP(problem->arrangedBlack);
  board.SetArrangedSideN(problem->arrangedWhite);
  board.SetProcess(problem->initial);
  SolutionTree tree;
  const SolutionTree::LoadResult load = tree.LoadSolution(problem->solution);
  const std::string answer = problem->result2 ? AnswerText(*problem->result2, language) : "";

  // Pre-order over the whole forest.
  std::vector<NodeId> order;
  for (NodeId r = tree.FirstRoot(); r != kNoNode; r = tree.NextRoot(r)) {
    for (NodeId n = r; n != kNoNode; n = tree.Successor(n)) {
      order.push_back(n);
      if (tree.Successor(n) != kNoNode && tree.Level(tree.Successor(n)) == 0) break;
    }
  }
  if (args.json) {
    std::cout << "{\"number\":" << problem->number << ",\"group\":" << problem->group
              << ",\"level\":" << problem->level << ",\"num\":" << problem->num
              << ",\"firstToPlay\":" << JsonString(problem->firstToPlay)
              << ",\"result2\":" << ResultValue(problem->result2)
              << ",\"arrangedBlack\":" << JsonString(problem->arrangedBlack)
              << ",\"arrangedWhite\":" << JsonString(problem->arrangedWhite)
              << ",\"initial\":" << JsonString(problem->initial) << ",\"corrupted\":"
              << (load == SolutionTree::LoadResult::kCorrupted ? "true" : "false")
              << ",\"diagram\":" << JsonString(BoardDiagram(board)) << ",\"nodes\":[";
    for (std::size_t i = 0; i < order.size(); ++i) {
      const NodeId n = order[i];
      const SolutionNode& node = tree.Node(n);
      std::cout << (i ? "," : "") << "{\"level\":" << tree.Level(n)
                << ",\"text\":" << JsonString(node.text)
                << ",\"stringData\":" << JsonString(node.stringData)
                << ",\"stringData2\":" << JsonString(node.stringData2)
                << ",\"code\":" << JsonString(tree.NodeCode(n))
                << ",\"resultText\":" << JsonString(ResultText(tree.NodeCode(n), language))
                << ",\"comment\":" << JsonString(tree.NodeComment(n, language, remarks)) << "}";
    }
    std::cout << "]}\n";
    return 0;
  }
  std::cout << BoardDiagram(board);
  std::cout << "Problem " << problem->number << "  group " << problem->group << "  num "
            << problem->num << "\n";
  std::cout << "First player: "
            << (problem->firstToPlay.empty() ? "(empty: B)" : problem->firstToPlay) << "\n";
  std::cout << "Result2: " << ResultValue(problem->result2)
            << (answer.empty() ? "" : " (" + answer + ")") << "\n";
  std::cout << "Level: " << problem->level << " (" << LevelText(problem->level) << ")\n";
  if (load == SolutionTree::LoadResult::kCorrupted) std::cout << "Data corrupted\n";
  std::cout << "Tree:\n";
  for (NodeId n : order) {
    const SolutionNode& node = tree.Node(n);
    const std::string code = tree.NodeCode(n);
    std::cout << std::string(static_cast<std::size_t>(2 * tree.Level(n) + 2), ' ') << "'"
              << node.text << "'  StringData '" << node.stringData << "'  StringData2 '"
              << node.stringData2 << "'  NodeCode '" << code << "'  ResultText '"
              << ResultText(code, language) << "'";
    const std::string comment = tree.NodeComment(n, language, remarks);
    if (!comment.empty()) std::cout << "  comment \"" << comment << "\"";
    std::cout << "\n";
  }
  return 0;
}

int Check(const Args& args) {
  if (args.positional.size() != 1) return Usage();
  std::vector<DataProblem> problems;
  if (!ReadAll(args.positional[0], &problems)) return 1;
  int failed = 0;
  if (args.json) std::cout << "{\"problems\":" << problems.size() << ",\"failures\":[";
  for (const DataProblem& p : problems) {
    const std::vector<CheckFault> faults = CheckProblem(p);
    if (faults.empty()) continue;
    std::string joined;
    for (const CheckFault& f : faults) joined += (joined.empty() ? "" : "; ") + f.text;
    if (args.json) {
      std::cout << (failed ? "," : "") << "{\"number\":" << p.number << ",\"group\":" << p.group
                << ",\"num\":" << p.num << ",\"faults\":[";
      for (std::size_t i = 0; i < faults.size(); ++i) {
        std::cout << (i ? "," : "") << JsonString(faults[i].text);
      }
      std::cout << "]}";
    } else {
      std::cout << "problem " << p.number << " (group " << p.group << ", num " << p.num
                << "): " << joined << "\n";
    }
    ++failed;
  }
  if (args.json) {
    std::cout << "],\"failed\":" << failed << "}\n";
  } else {
    std::cout << "checked " << problems.size() << " problems, " << failed << " failed\n";
  }
  return failed == 0 ? 0 : 1;
}

void PrintStep(const PlayStepReport& r, bool json, bool firstStep) {
  auto list = [](const std::vector<int>& v) {
    std::string s;
    for (int x : v) {
      if (!s.empty()) s += ' ';
      s += '#';
      s += std::to_string(x);
    }
    return s;
  };
  if (json) {
    std::cout << (firstStep ? "" : ",") << "{\"step\":" << JsonString(r.step)
              << ",\"accepted\":" << (r.accepted ? "true" : "false")
              << ",\"error\":" << JsonString(r.error) << ",\"reply\":" << JsonString(r.reply)
              << ",\"moves\":" << JsonString(r.moves)
              << ",\"labelResult\":" << JsonString(r.labelResult)
              << ",\"labelStdResult\":" << JsonString(r.labelStdResult) << ",\"messages\":[";
    for (std::size_t i = 0; i < r.messages.size(); ++i) {
      std::cout << (i ? "," : "") << JsonString(r.messages[i]);
    }
    std::cout << "],\"statusRight\":" << JsonString(r.statusRight) << ",\"sounds\":[";
    for (std::size_t i = 0; i < r.sounds.size(); ++i) std::cout << (i ? "," : "") << r.sounds[i];
    std::cout << "],\"beeps\":" << r.beeps
              << ",\"retryPending\":" << (r.retryPending ? "true" : "false")
              << ",\"alternative\":" << JsonString(r.alternative)
              << ",\"solved\":" << (r.solved ? "true" : "false")
              << ",\"failure\":" << (r.failure ? "true" : "false")
              << ",\"greenDots\":" << JsonString(r.greenDots)
              << ",\"yellowDots\":" << JsonString(r.yellowDots) << "}";
    return;
  }
  std::cout << "> " << r.step << "\n";
  if (!r.accepted) {
    std::cout << "  refused: " << r.error << "\n";
    return;
  }
  if (!r.reply.empty()) std::cout << "  computer replies " << r.reply << "\n";
  std::cout << "  moves: " << (r.moves.empty() ? "(none)" : r.moves) << "\n";
  std::cout << "  LabelResult: '" << r.labelResult << "'\n";
  std::cout << "  LabelStdResult: '" << r.labelStdResult << "'\n";
  if (!r.statusRight.empty()) std::cout << "  status: '" << r.statusRight << "'\n";
  std::cout << "  sounds: " << (r.sounds.empty() ? "(none)" : list(r.sounds))
            << (r.beeps ? "  beeps: " + std::to_string(r.beeps) : "") << "\n";
  std::cout << "  pending: "
            << (!r.retryPending         ? "nothing"
                : r.alternative.empty() ? "retry"
                                        : "alternative reply " + r.alternative)
            << "\n";
  std::cout << "  solved: " << (r.solved ? "yes" : "no") << (r.failure ? "  failure counted" : "")
            << "\n";
  if (!r.greenDots.empty() || !r.yellowDots.empty()) {
    std::cout << "  hint: green " << r.greenDots << "  yellow " << r.yellowDots << "\n";
  }
}

int Play(const Args& args) {
  if (args.positional.size() < 2) return Usage();
  const auto problem = LoadOne(args.positional[0], args.positional[1]);
  if (!problem) return 1;
  PlaySession session(*problem, ReadRemarkFile(RemarkPath(args, args.positional[0])));
  if (args.json) std::cout << "[";
  bool allAccepted = true;
  for (std::size_t i = 2; i < args.positional.size(); ++i) {
    const PlayStepReport r = session.Step(args.positional[i]);
    allAccepted &= r.accepted;
    PrintStep(r, args.json, i == 2);
    if (args.board && !args.json) std::cout << session.Diagram();
  }
  if (args.json) std::cout << "]\n";
  return allAccepted ? 0 : 1;
}

// ---- verify ----------------------------------------------------------------------------------

int Verify(const Args& args) {
  if (args.positional.size() != 1) return Usage();
  std::vector<DataProblem> problems;
  if (!ReadAll(args.positional[0], &problems)) return 1;
  // Each problem gets one second (or --seconds) and two million positions a second for all the
  // positions of its tree.
  const int seconds = args.seconds.value_or(1);
  const solver::Budget budget{2'000'000ull * static_cast<uint64_t>(seconds),
                              static_cast<double>(seconds)};
  int decided = 0, disagreements = 0, goalInferred = 0, sekiGoal = 0, positionsJudged = 0,
      positionsUnjudged = 0, alternatives = 0;
  int byKind[kDisagreementKinds] = {};
  std::map<std::string, int> undecided;
  std::vector<double> decidedMs;
  std::string list, undecidedList;
  for (const DataProblem& p : problems) {
    const TreeVerdict v = VerifyTree(p, budget);
    const std::string name = "problem " + std::to_string(p.number) + " (group " +
                             std::to_string(p.group) + ", num " + std::to_string(p.num) + ")";
    if (!v.decided) {
      // Counted by kind ("not enclosed"), listed with the particulars.
      ++undecided[v.undecidedReason.substr(0, v.undecidedReason.find(':'))];
      if (args.json) {
        undecidedList += std::string(undecidedList.empty() ? "" : ",") +
                         "{\"number\":" + std::to_string(p.number) +
                         ",\"reason\":" + JsonString(v.undecidedReason) + "}";
      } else {
        undecidedList += name + ": not decided: " + v.undecidedReason + "\n";
      }
      continue;
    }
    ++decided;
    goalInferred += v.goalInferred ? 1 : 0;
    // A kill whose best result is a seki: a tree read as "make seki".
    sekiGoal += v.userKills && v.status == solver::Status::Seki ? 1 : 0;
    positionsJudged += v.positionsJudged;
    positionsUnjudged += v.positionsUnjudged;
    alternatives += v.alternatives;
    decidedMs.push_back(v.seconds * 1000);
    for (const Disagreement& d : v.disagreements) {
      ++disagreements;
      ++byKind[static_cast<int>(d.kind)];
      if (args.json) {
        list += std::string(list.empty() ? "" : ",") + "{\"number\":" +
                std::to_string(p.number) + ",\"group\":" + std::to_string(p.group) +
                ",\"num\":" + std::to_string(p.num) +
                ",\"kind\":" + JsonString(DisagreementKey(d.kind)) +
                ",\"move\":" + JsonString(d.move) + ",\"path\":" + JsonString(d.path) +
                ",\"depth\":" + std::to_string(d.depth) + ",\"solver\":" + JsonString(d.detail) +
                ",\"answer\":" + JsonString(v.principalLine) + "}";
      } else {
        list += name + ": " + DisagreementName(d.kind) + (d.path.empty() ? "" : " " + d.path) +
                (d.depth > 1 ? " (move " + std::to_string(d.depth) + ")" : "") +
                " (solver: " + d.detail + "; best line " + v.principalLine + ")\n";
      }
    }
  }
  std::sort(decidedMs.begin(), decidedMs.end());
  const double median = decidedMs.empty() ? 0 : decidedMs[decidedMs.size() / 2];
  const double slowest = decidedMs.empty() ? 0 : decidedMs.back();
  if (args.json) {
    std::cout << "{\"problems\":" << problems.size() << ",\"decided\":" << decided
              << ",\"disagreements\":" << disagreements << ",\"goalInferred\":" << goalInferred
              << ",\"sekiGoal\":" << sekiGoal
              << ",\"positionsJudged\":" << positionsJudged
              << ",\"positionsUnjudged\":" << positionsUnjudged
              << ",\"alternatives\":" << alternatives
              << ",\"byKind\":{";
    for (int k = 0; k < kDisagreementKinds; ++k) {
      std::cout << (k ? "," : "") << JsonString(DisagreementKey(static_cast<DisagreementKind>(k)))
                << ":" << byKind[k];
    }
    std::cout << "},\"undecidedByReason\":{";
    bool firstReason = true;
    for (const auto& [reason, count] : undecided) {
      std::cout << (firstReason ? "" : ",") << JsonString(reason) << ":" << count;
      firstReason = false;
    }
    std::cout << "},\"medianMs\":" << median << ",\"slowestMs\":" << slowest
              << ",\"list\":[" << list << "],\"undecided\":[" << undecidedList << "]}\n";
  } else {
    std::cout << list << undecidedList;
    std::cout << "verified " << problems.size() << " problems: " << decided << " decided, "
              << disagreements << " disagreements\n";
    std::cout << "  positions with the user to move: " << positionsJudged << " compared, "
              << positionsUnjudged << " not judged (beyond the budget)\n";
    std::cout << "  moves below the first that the tree lacks beside a working one: "
              << alternatives << "\n";
    if (goalInferred > 0) {
      std::cout << "  decided without an answer, the goal read from the correct moves: "
                << goalInferred << "\n";
    }
    if (sekiGoal > 0)
      std::cout << "  of them kills whose best result is a seki: " << sekiGoal << "\n";
    for (int k = 0; k < kDisagreementKinds; ++k) {
      if (byKind[k] > 0) {
        std::cout << "  " << DisagreementName(static_cast<DisagreementKind>(k)) << ": "
                  << byKind[k] << "\n";
      }
    }
    for (const auto& [reason, count] : undecided) {
      std::cout << "  not decided, " << reason << ": " << count << "\n";
    }
    std::cout << "  time per decided problem: median " << median << " ms, slowest " << slowest
              << " ms\n";
  }
  return disagreements == 0 ? 0 : 1;
}

}  // namespace

int RunCommand(const Args& args) {
  if (args.command == "build") return Build(args);
  if (args.command == "list") return List(args);
  if (args.command == "show") return Show(args);
  if (args.command == "check") return Check(args);
  if (args.command == "play") return Play(args);
  if (args.command == "verify") return Verify(args);
  std::cerr << "unknown command '" << args.command << "'\n";
  return Usage();
}

}  // namespace zendra::db
