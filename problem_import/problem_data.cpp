#include "problem_import/problem_data.h"

#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "board/engine/lattix_engine.h"
#include "library/problem_database.h"
#include "library/problem_remarks.h"
#include "library/remark_file.h"
#include "library/table_store.h"
#include "problem_import/text_encoding.h"

namespace zendra {

namespace fs = std::filesystem;

// ---- Manifest and rank folders ---------------------------------------------------------------

namespace {

std::optional<int> ReadInt(const std::string& s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return std::nullopt;
  for (std::size_t k = i; k < s.size(); ++k) {
    if (s[k] < '0' || s[k] > '9') return std::nullopt;
  }
  return std::stoi(s);
}

std::string Place(const std::string& file, const sgf::Place& p) {
  return file + ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
}

std::string ReadWhole(const std::string& path, bool* ok) {
  std::ifstream in(path, std::ios::binary);
  *ok = static_cast<bool>(in);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

bool ParseManifest(std::string_view text, Manifest* out, std::string* error) {
  *out = Manifest{};
  std::istringstream in{std::string(text)};
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty()) continue;
    auto fail = [&](const std::string& why) {
      if (error) *error = "line " + std::to_string(number) + ": " + why;
      return false;
    };
    if (w[0] == "group" || w[0] == "level") {
      if (w.size() != 2) return fail(w[0] + " takes one number");
      const auto v = ReadInt(w[1]);
      if (!v) return fail("'" + w[1] + "' is not a number");
      if (w[0] == "group") {
        if (*v < 0 || *v > 65535) return fail("group must be 0 to 65535");
        out->group = *v;
      } else {
        if (*v < 1 || *v > 60) return fail("level must be 1 to 60");
        out->level = *v;
      }
      continue;
    }
    if (w.size() > 2) return fail("a problem line holds a file name and at most a level");
    Manifest::Entry entry;
    entry.file = w[0];
    entry.line = number;
    if (w.size() == 2) {
      const auto v = ReadInt(w[1]);
      if (!v) return fail("'" + w[1] + "' is not a level");
      if (*v < 1 || *v > 60) return fail("level must be 1 to 60");
      entry.level = *v;
    }
    out->entries.push_back(std::move(entry));
  }
  return true;
}

std::optional<int> LevelFromFolderName(std::string_view name) {
  const std::size_t u = name.find('_');
  if (u == std::string_view::npos) return std::nullopt;
  const auto n = ReadInt(std::string(name.substr(0, u)));
  const std::string_view unit = name.substr(u + 1);
  if (!n) return std::nullopt;
  if (unit == "kyu" && *n >= 1 && *n <= 30) return 40 - *n;
  if (unit == "dan" && *n >= 1 && *n <= 9) return 39 + *n;
  return std::nullopt;
}

// ---- Building --------------------------------------------------------------------------------

namespace {

class Builder {
 public:
  // With `countOnly`, the walk only counts the files it would read.
  Builder(const BuildOptions& options, BuildReport* report, bool countOnly = false)
      : options_(options), report_(report), countOnly_(countOnly) {}

  void Source(const fs::path& path) {
    if (report_->cancelled) return;
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
      Folder(path);
    } else if (fs::is_regular_file(path, ec)) {
      File(path, options_.group, LevelOf(path), std::nullopt);
    } else {
      report_->errors.push_back(path.string() + ": no such file or folder");
    }
  }

  // Numbers: wanted ones first come first served, the rest the next free from 1.
  void Number() {
    std::set<int> used;
    int next = 1;
    for (DataProblem& p : report_->problems) {
      if (p.number > 0 && !used.count(p.number)) {
        used.insert(p.number);
        continue;
      }
      p.number = -1;
    }
    std::vector<DataProblem> kept;
    for (DataProblem& p : report_->problems) {
      if (p.number < 0) {
        while (used.count(next)) ++next;
        if (next > 65535) {
          Refuse(p.source, "no problem number left", "no free problem number below 65536");
          continue;
        }
        p.number = next;
        used.insert(next);
      }
      kept.push_back(std::move(p));
    }
    report_->problems = std::move(kept);
  }

  // The remarks: when every text of every problem fits in one shared list, the nodes index it
  // and the problems keep no list of their own, so the data file reads as one without the
  // `Remarks` column; otherwise each problem keeps its list.
  void ShareRemarks() {
    RemarkList shared;
    for (const DataProblem& p : report_->problems) {
      if (!p.remarks) continue;
      for (std::size_t k = 1; k < p.remarks->size(); ++k) shared.Add((*p.remarks)[k]);
    }
    if (shared.Dropped() > 0) {
      if (options_.sharedRemarks) {
        report_->errors.push_back("the remarks do not fit in one shared list: " +
                                  std::to_string(RemarkList::kMaxRemarks + shared.Dropped()) +
                                  " texts for " + std::to_string(RemarkList::kMaxRemarks) +
                                  " lines");
      }
      report_->perProblemRemarks = true;
      report_->remarks = RemarkList{};
      return;
    }
    for (DataProblem& p : report_->problems) {
      const std::vector<std::string> own = p.remarks.value_or(std::vector<std::string>{""});
      p.remarks.reset();
      if (own.size() <= 1) continue;
      SolutionTree tree;
      tree.LoadSolution(p.solution);
      for (NodeId id = 0; id < static_cast<NodeId>(tree.Size()); ++id) {
        const auto k = static_cast<std::size_t>(tree.RemarkIndex(id));
        if (k == 0 || k >= own.size()) continue;
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(shared.Add(own[k])));
        tree.MutableNode(id).stringData2 = hex;
      }
      p.solution = tree.Save();
    }
    report_->remarks = std::move(shared);
  }

 private:
  std::optional<int> LevelOf(const fs::path& file) const {
    for (fs::path dir = file.parent_path(); !dir.empty(); dir = dir.parent_path()) {
      if (auto level = LevelFromFolderName(dir.filename().string())) return level;
      if (dir == dir.parent_path()) break;
    }
    return std::nullopt;
  }

  void Folder(const fs::path& dir) {
    if (report_->cancelled) return;
    // A folder reached again (through a link to itself or above) is not read twice.
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !folders_.insert({st.st_dev, st.st_ino}).second) return;
    const fs::path manifestPath = dir / kManifestName;
    std::error_code ec;
    if (fs::is_regular_file(manifestPath, ec)) {
      Collection(dir, manifestPath);
      return;
    }
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
      std::error_code kind;
      if (e.is_directory(kind)) {
        folders.push_back(e.path());
      } else if ((e.path().extension() == ".sgf" || e.path().extension() == ".SGF") &&
                 e.is_regular_file(kind)) {
        // Only regular files: reading a FIFO or a device would wait for ever.
        files.push_back(e.path());
      }
    }
    if (ec) report_->errors.push_back(dir.string() + ": " + ec.message());
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    if (!options_.collectionsOnly) {
      for (const fs::path& f : files) File(f, options_.group, LevelOf(f), std::nullopt);
    }
    for (const fs::path& d : folders) Folder(d);
  }

  void Collection(const fs::path& dir, const fs::path& manifestPath) {
    bool ok = false;
    const std::string text = ReadWhole(manifestPath.string(), &ok);
    Manifest manifest;
    std::string error;
    if (!ok) {
      report_->errors.push_back(manifestPath.string() + ": cannot be read");
      return;
    }
    if (!ParseManifest(text, &manifest, &error)) {
      report_->errors.push_back(manifestPath.string() + ": " + error);
      return;
    }
    int num = 0;
    for (const Manifest::Entry& entry : manifest.entries) {
      if (report_->cancelled) return;
      const fs::path file = dir / entry.file;
      std::error_code ec;
      if (!fs::is_regular_file(file, ec)) {
        ++num;
        Refuse(manifestPath.string() + ":" + std::to_string(entry.line), "file not found",
               "problem file " + entry.file + " not found");
        continue;
      }
      File(file, manifest.group, entry.level ? entry.level : manifest.level, &num);
    }
  }

  // Imports one file; `num` (a collection's running Num) is advanced per problem.
  void File(const fs::path& file, int group, std::optional<int> level, std::optional<int*> num) {
    if (countOnly_) {
      ++report_->files;
      return;
    }
    if (report_->cancelled) return;
    if (options_.onFile && !options_.onFile(report_->files, file.string())) {
      report_->cancelled = true;
      return;
    }
    ++report_->files;
    bool ok = false;
    const std::string text = ReadWhole(file.string(), &ok);
    const std::string name = file.string();
    if (!ok) {
      Refuse(name, "unreadable file", "cannot read the file");
      return;
    }
    const DecodedText decoded = DecodeSgfText(text);
    ++report_->encodings[decoded.encoding + (decoded.guess.empty() ? "" : ", assumed")];
    if (!decoded.guess.empty()) {
      report_->notes.push_back(name + ": " + decoded.guess +
                               (decoded.replaced > 0 ? " (" + std::to_string(decoded.replaced) +
                                                           " bytes fit no encoding)"
                                                     : ""));
    }
    sgf::Collection collection;
    sgf::ParseError error;
    if (!sgf::Parse(decoded.text, &collection, &error)) {
      Refuse(Place(name, error.place), "SGF syntax error", "SGF syntax error: " + error.message);
      return;
    }
    for (const std::string& w : collection.warnings) report_->warnings.push_back(name + ":" + w);
    for (int root : collection.roots) {
      int& counter = num ? **num : looseNum_[group];
      ++counter;
      DataProblem p;
      p.group = group;
      p.level = level.value_or(options_.level);
      p.num = counter;
      p.number = num && counter < 1000 ? group * 1000 + counter : 0;
      if (p.number > 65535) p.number = 0;
      // Lines are played on a board by the check; only a problem with an illegal move is
      // imported again, playing its lines, so that broken wrong lines are dropped.
      ImportOutcome outcome;
      std::vector<CheckFault> faults;
      for (LineCheck lines : {LineCheck::kSetUpOnly, LineCheck::kPlay}) {
        outcome = ImportGameTree(collection, root, lines);
        if (!outcome.problem) break;
        const ImportedProblem& imported = *outcome.problem;
        p.arrangedBlack = imported.arrangedBlack;
        p.arrangedWhite = imported.arrangedWhite;
        p.initial = imported.initial;
        p.firstToPlay = imported.firstToPlay;
        p.result2 = imported.result2;
        p.source = Place(name, imported.place);
        p.solution = imported.tree.Save();
        faults = CheckProblem(p);
        if (std::none_of(faults.begin(), faults.end(), [](const CheckFault& f) {
              return f.kind == CheckFaultKind::kIllegalMove;
            })) {
          break;
        }
      }
      if (!outcome.problem) {
        Refuse(Place(name, outcome.refusal.place), outcome.refusal.category,
               outcome.refusal.reason);
        continue;
      }
      ImportedProblem& imported = *outcome.problem;
      if (!faults.empty()) {
        Refuse(p.source, std::string("fails check: ") + CheckFaultName(faults.front().kind),
               "fails check: " + faults.front().text);
        continue;
      }
      for (const auto& [place, note] : imported.notes) {
        report_->notes.push_back(Place(name, place) + ": " + note);
      }
      // Remarks only for problems that are kept: the problem's own list for now (ShareRemarks
      // may turn it into indexes of the shared list).
      report_->droppedLines += static_cast<int>(imported.notes.size());
      RemarkList own;
      ApplyRemarks(imported, own);
      report_->remarksLeftOut += own.Dropped();
      p.remarks = own.Lines();
      p.solution = imported.tree.Save();
      if (options_.onImported) options_.onImported(collection, root, imported, p);
      report_->problems.push_back(std::move(p));
    }
  }

  void Refuse(const std::string& where, const std::string& category, const std::string& reason) {
    report_->refusals.push_back(where + ": refused: " + reason);
    ++report_->refusedByReason[category];
  }

  const BuildOptions& options_;
  BuildReport* report_;
  bool countOnly_ = false;
  std::set<std::pair<dev_t, ino_t>> folders_;  // the folders read, by device and inode
  std::map<int, int> looseNum_;
};

}  // namespace

void BuildFromSources(const std::vector<std::string>& sources, const BuildOptions& options,
                      BuildReport* report) {
  *report = BuildReport{};
  Builder builder(options, report);
  for (const std::string& s : sources) builder.Source(s);
  if (report->cancelled) return;
  builder.Number();
  builder.ShareRemarks();
}

int CountSourceFiles(const std::vector<std::string>& sources, const BuildOptions& options) {
  BuildReport counted;
  Builder walker(options, &counted, /*countOnly=*/true);
  for (const std::string& s : sources) walker.Source(s);
  return counted.files;
}

// ---- Data file ---------------------------------------------------------------------------------

namespace {

bool ZipOne(const std::string& zipPath, const std::string& member, const std::string& data,
            std::string* error) {
  int code = 0;
  zip_t* archive = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) {
    if (error) *error = "cannot create " + zipPath;
    return false;
  }
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  const zip_int64_t index =
      source ? zip_file_add(archive, member.c_str(), source, ZIP_FL_OVERWRITE) : -1;
  if (index < 0) {
    if (source) zip_source_free(source);
    zip_discard(archive);
    if (error) *error = "cannot add " + member + " to " + zipPath;
    return false;
  }
  zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
  if (zip_close(archive) != 0) {
    if (error) *error = std::string("cannot write ") + zipPath + ": " + zip_strerror(archive);
    zip_discard(archive);
    return false;
  }
  return true;
}

}  // namespace

bool WriteDataFile(const std::vector<DataProblem>& problems, const std::string& path,
                   std::string* error) {
  TableStore table(kProblemTableName);
  std::vector<FieldDef> fields = ProblemTableFields();
  const bool ownRemarks = std::any_of(problems.begin(), problems.end(),
                                      [](const DataProblem& p) { return p.remarks.has_value(); });
  if (ownRemarks) fields.push_back({kProblemRemarksField, FieldType::kString});
  table.DefineFields(std::move(fields));
  if (!table.CreateDataSet(error)) return false;
  for (const DataProblem& p : problems) {
    bool ok = table.Append();
    ok = ok && table.SetInteger("Auto1", p.number) && table.SetInteger("Group1", p.group) &&
         table.SetInteger("Level1", p.level) && table.SetInteger("Num", p.num) &&
         table.SetString("ArrangedBlack", p.arrangedBlack) &&
         table.SetString("ArrangedWhite", p.arrangedWhite) &&
         table.SetString("Initial", p.initial) && table.SetString("FirstToPlay", p.firstToPlay) &&
         table.SetString("Solution", p.solution);
    for (const char* zero :
         {"Flag", "NotGood", "Tag", "Id1", "SenteGoteKind", "ValueKind", "Value1", "Value2"}) {
      ok = ok && table.SetInteger(zero, 0);
    }
    ok = ok && (p.result2 ? table.SetInteger("Result2", *p.result2) : table.SetNull("Result2"));
    if (ownRemarks) {
      ok = ok && (p.remarks ? table.SetString(kProblemRemarksField, JoinProblemRemarks(*p.remarks))
                            : table.SetNull(kProblemRemarksField));
    }
    if (!ok || !table.Post(error)) {
      if (error && error->empty()) *error = "problem " + std::to_string(p.number) + " not stored";
      return false;
    }
  }
  const std::string cdsPath = path + ".cds.tmp";
  const std::string zipPath = path + ".tmp";
  bool ok = table.SaveToFile(cdsPath, error);
  std::string member;
  if (ok) {
    bool read = false;
    member = ReadWhole(cdsPath, &read);
    ok = read;
    if (!read && error) *error = "cannot read back " + cdsPath;
  }
  std::remove(cdsPath.c_str());
  ok = ok && ZipOne(zipPath, kProblemMemberName, member, error);
  if (ok && std::rename(zipPath.c_str(), path.c_str()) != 0) {
    if (error) *error = "cannot replace " + path;
    ok = false;
  }
  if (!ok) std::remove(zipPath.c_str());
  return ok;
}

bool ReadDataFile(const std::string& path, std::vector<DataProblem>* problems, std::string* error) {
  problems->clear();
  ProblemDatabase db(path);
  if (!db.LoadDataFile(error)) return false;
  TableStore& t = db.Problems();
  if (!t.Active()) return true;
  t.SetOrdering("Auto1", nullptr);
  for (t.First(); !t.Eof(); t.Next()) {
    ProblemRecord row = ReadProblemRow(t);
    std::string source = path + ": problem " + std::to_string(row.number);
    problems->push_back(DataProblem{std::move(row), std::move(source)});
  }
  return true;
}

bool CollectionEntries(const std::string& path, int group, std::vector<std::string>* entries,
                       std::string* error) {
  ProblemDatabase db(path);
  TableStore history("History");
  const ProblemDatabase::CollectionLoad load = db.OpenCollection(group, history, Localizer{});
  if (load.outcome != ProblemDatabase::Outcome::kLoaded) {
    if (error) *error = load.message.empty() ? "the data file does not load" : load.message;
    return false;
  }
  *entries = db.ProblemList();
  return true;
}

bool WriteRemarkFile(const RemarkList& remarks, const std::string& path, std::string* error) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    for (const std::string& line : remarks.Lines()) out << line << "\r\n";
    if (!out) {
      if (error) *error = "cannot write " + tmp;
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) {
    std::remove(tmp.c_str());
    if (error) *error = "cannot replace " + path;
    return false;
  }
  return true;
}

std::vector<std::string> ReadRemarkFile(const std::string& path) {
  std::vector<std::string> lines;
  LoadRemarkFile(path, &lines, nullptr);
  return lines;
}

// ---- Checking ----------------------------------------------------------------------------------

namespace {

// The words a code's second character gives, in English.
std::string WordOf(char c) {
  switch (c) {
    case '0':
      return "dies";
    case '1':
      return "lives";
    case '2':
    case '3':
      return "ko";
    default:
      return "";
  }
}

}  // namespace

const char* CheckFaultName(CheckFaultKind kind) {
  switch (kind) {
    case CheckFaultKind::kCorrupted:
      return "Data corrupted";
    case CheckFaultKind::kNoTree:
      return "no solution tree";
    case CheckFaultKind::kSetUp:
      return "set-up not on the board";
    case CheckFaultKind::kInitialMoves:
      return "illegal initial moves";
    case CheckFaultKind::kWrongSide:
      return "levels do not alternate";
    case CheckFaultKind::kNoPoint:
      return "node without a point";
    case CheckFaultKind::kNoCornerPoint:
      return "no room for a move elsewhere";
    case CheckFaultKind::kOffBoard:
      return "move off the board";
    case CheckFaultKind::kIllegalMove:
      return "illegal move";
    case CheckFaultKind::kNoCleanSuccess:
      return "no clean success";
    case CheckFaultKind::kDataError1:
      return "line ends in Data error(1)";
    case CheckFaultKind::kResultWord:
      return "result word disagrees with Result2";
  }
  return "fails check";
}

std::vector<CheckFault> CheckProblem(const DataProblem& problem) {
  std::vector<CheckFault> faults;
  // Faults beyond the first kMaxFaults are counted, not described: a tree of a million bad
  // moves gets a report of reasonable size, and naming the line of each costs nothing more.
  constexpr std::size_t kMaxFaults = 100;
  std::size_t unreported = 0;
  SolutionTree tree;
  // The line down to a node, e.g. " (line CC-DD-EE)", in one pass up the tree.
  auto where = [&tree](NodeId id) {
    std::vector<std::string_view> points;
    for (NodeId n = id; n != kNoNode && tree.Level(n) > 0; n = tree.Parent(n)) {
      points.push_back(tree.NodePoint(n));
    }
    std::string path;
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
      if (!path.empty()) path += '-';
      path += *it;
    }
    return " (line " + (path.empty() ? std::string("start") : path) + ")";
  };
  // A fault, naming the line down to `id` when there is one.
  auto fault = [&](CheckFaultKind kind, std::string text, NodeId id = kNoNode) {
    if (faults.size() >= kMaxFaults) {
      ++unreported;
      return;
    }
    faults.push_back({kind, std::move(text) + (id == kNoNode ? std::string() : where(id))});
  };
  const SolutionTree::LoadResult load = tree.LoadSolution(problem.solution);
  if (load == SolutionTree::LoadResult::kCorrupted) {
    fault(CheckFaultKind::kCorrupted, "Data corrupted: the solution stream ends inside a record");
    return faults;
  }
  if (tree.FirstRoot() == kNoNode) {
    fault(CheckFaultKind::kNoTree, "no solution tree");
    return faults;
  }
  const NodeId root = tree.FirstRoot();

  // The start position, set up as opening the problem does.
  LattixEngine board;
  const char first = problem.firstToPlay.empty() ? 'B' : problem.firstToPlay[0];
  board.SetFirstToPlay(first == 'W' ? kWhite : kBlack);
  board.SetArrangedSideP("");
  board.SetArrangedSideN("");
  board.NewGame(false);
  board.SetArrangedSideP(problem.arrangedBlack);
  board.SetArrangedSideN(problem.arrangedWhite);
  board.SetProcess(problem.initial);
  int stones = 0;
  for (int p = 1; p <= 19; ++p) {
    for (int q = 1; q <= 19; ++q) stones += (board.GetPoint(p, q) & kStoneBit) ? 1 : 0;
  }
  if (problem.initial.empty() &&
      static_cast<std::size_t>(stones) !=
          PointCount(problem.arrangedBlack) + PointCount(problem.arrangedWhite)) {
    fault(CheckFaultKind::kSetUp, "the set-up does not stand on the board as written");
  }
  if (board.Process() != problem.initial) {
    fault(CheckFaultKind::kInitialMoves, "the initial moves are not legal");
  }
  const Colour user = board.Turn();

  // Every line, move by move; a refused move cuts its subtree. When the walk returns from a
  // line, the board goes back to the position before the next node in one replay.
  const int played = board.NextMove() - 1;  // the initial moves
  std::vector<NodeId> stack;
  for (NodeId c = tree.FirstChild(root); c != kNoNode; c = tree.NextSibling(c)) {
    stack.push_back(c);
  }
  std::reverse(stack.begin(), stack.end());
  while (!stack.empty()) {
    const NodeId id = stack.back();
    stack.pop_back();
    const std::string_view point = tree.NodePoint(id);
    const int level = tree.Level(id);
    if (board.NextMove() - 1 != played + level - 1) board.GoToMove(played + level - 1, false);
    const Colour expected = level % 2 == 1 ? user : Opponent(user);
    if (!SameSide(board.Turn(), expected)) {
      fault(CheckFaultKind::kWrongSide,
            "level " + std::to_string(level) + " is not the expected side's move", id);
      continue;
    }
    int p = 0;
    int q = 0;
    if (point.size() < 2) {
      fault(CheckFaultKind::kNoPoint,
            "node text '" + tree.Node(id).text + "' holds no point", id);
      continue;
    }
    if (IsPassString(point)) {
      // A move elsewhere goes to the first empty point of the far corner.
      for (int x = 16; x <= 19 && p == 0; ++x) {
        for (int y = 16; y <= 19 && p == 0; ++y) {
          if ((board.GetPoint(x, y) & kStoneBit) == 0) {
            p = x;
            q = y;
          }
        }
      }
      if (p == 0) {
        fault(CheckFaultKind::kNoCornerPoint,
              "no empty point in the far corner for a move elsewhere", id);
        continue;
      }
    } else {
      p = LetterToCoord(point[0]);
      q = LetterToCoord(point[1]);
      if (!board.IsOnBoard(p, q)) {
        fault(CheckFaultKind::kOffBoard,
              "move " + std::string(point) + " is not on the board", id);
        continue;
      }
    }
    if (!board.PlayMove(p, q, false)) {
      fault(CheckFaultKind::kIllegalMove, "move " + std::string(point) + " is illegal", id);
      continue;
    }
    std::vector<NodeId> children;
    for (NodeId c = tree.FirstChild(id); c != kNoNode; c = tree.NextSibling(c)) {
      children.push_back(c);
    }
    stack.insert(stack.end(), children.rbegin(), children.rend());
  }

  if (!tree.HasCleanSuccess(root)) {
    fault(CheckFaultKind::kNoCleanSuccess, "no clean success from the start position");
  }

  // Successful line ends: the judge's weak-move levels, and the result words. One pass in node
  // order (a parent always comes before its children) gives each node its root and the
  // deepest flagged computer and user levels from the root down to it.
  const std::string answer = problem.result2 ? AnswerText(*problem.result2, Localizer{}) : "";
  const std::size_t size = tree.Size();
  std::vector<NodeId> top(size, kNoNode);
  std::vector<int> computerFlag(size, -1);
  std::vector<int> userFlag(size, -1);
  for (NodeId id = 0; id < static_cast<NodeId>(size); ++id) {
    if (!tree.Valid(id)) continue;
    const auto i = static_cast<std::size_t>(id);
    const NodeId parent = tree.Parent(id);
    if (parent != kNoNode && parent < id) {
      const auto up = static_cast<std::size_t>(parent);
      top[i] = top[up];
      computerFlag[i] = computerFlag[up];
      userFlag[i] = userFlag[up];
    } else {
      top[i] = id;
    }
    if (tree.IsFlagged(id)) {
      int& deepest = tree.Level(id) % 2 == 0 ? computerFlag[i] : userFlag[i];
      deepest = std::max(deepest, tree.Level(id));
    }
  }
  for (NodeId id = 0; id < static_cast<NodeId>(size); ++id) {
    // Only nodes of the first root's subtree are reached by solving.
    if (tree.Level(id) == 0 || !tree.Valid(id) || top[static_cast<std::size_t>(id)] != root) {
      continue;
    }
    const std::string code = tree.NodeCode(id);
    if (!IsSuccess(code)) continue;
    const NodeId u = tree.Level(id) % 2 == 1 ? id : tree.Parent(id);
    const int cf = u == kNoNode ? -1 : computerFlag[static_cast<std::size_t>(u)];
    const int uf = u == kNoNode ? -1 : userFlag[static_cast<std::size_t>(u)];
    if (uf >= 0 && cf > uf) {
      fault(CheckFaultKind::kDataError1,
            "a successful line ends in Data error(1): a flagged reply lies below the "
            "flagged user move",
            id);
    }
    const std::string word = WordOf(code[1]);
    if (!word.empty() && word != answer) {
      fault(CheckFaultKind::kResultWord,
            "success says '" + word + "' but Result2 says '" +
                (answer.empty() ? std::string("nothing") : answer) + "'",
            id);
    }
  }
  if (unreported > 0) {
    faults.back().text += "; and " + std::to_string(unreported) + " more faults";
  }
  return faults;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

}  // namespace zendra
