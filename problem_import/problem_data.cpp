#include "problem_import/problem_data.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "board/engine/lattix_engine.h"
#include "library/problem_database.h"
#include "library/table_store.h"

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

// The kind of a check fault, for counting refusals by reason.
std::string CheckCategory(const std::string& fault) {
  static const std::pair<const char*, const char*> kKinds[] = {
      {"Data corrupted", "Data corrupted"},
      {"no solution tree", "no solution tree"},
      {"set-up", "set-up not on the board"},
      {"initial moves", "illegal initial moves"},
      {"expected side", "levels do not alternate"},
      {"holds no point", "node without a point"},
      {"far corner", "no room for a move elsewhere"},
      {"not on the board", "move off the board"},
      {"illegal", "illegal move"},
      {"no clean success", "no clean success"},
      {"Data error(1)", "line ends in Data error(1)"},
      {"Result2", "result word disagrees with Result2"},
  };
  for (const auto& [key, kind] : kKinds) {
    if (fault.find(key) != std::string::npos) return std::string("fails check: ") + kind;
  }
  return "fails check";
}

class Builder {
 public:
  Builder(const BuildOptions& options, BuildReport* report) : options_(options), report_(report) {}

  void Source(const fs::path& path) {
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

 private:
  std::optional<int> LevelOf(const fs::path& file) const {
    for (fs::path dir = file.parent_path(); !dir.empty(); dir = dir.parent_path()) {
      if (auto level = LevelFromFolderName(dir.filename().string())) return level;
      if (dir == dir.parent_path()) break;
    }
    return std::nullopt;
  }

  void Folder(const fs::path& dir) {
    const fs::path manifestPath = dir / kManifestName;
    std::error_code ec;
    if (fs::is_regular_file(manifestPath, ec)) {
      Collection(dir, manifestPath);
      return;
    }
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
      if (e.is_directory(ec)) {
        folders.push_back(e.path());
      } else if (e.path().extension() == ".sgf" || e.path().extension() == ".SGF") {
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
    ++report_->files;
    bool ok = false;
    const std::string text = ReadWhole(file.string(), &ok);
    const std::string name = file.string();
    if (!ok) {
      Refuse(name, "unreadable file", "cannot read the file");
      return;
    }
    sgf::Collection collection;
    sgf::ParseError error;
    if (!sgf::Parse(text, &collection, &error)) {
      Refuse(Place(name, error.place), "SGF syntax error", "SGF syntax error: " + error.message);
      return;
    }
    for (const std::string& w : collection.warnings) report_->warnings.push_back(name + ":" + w);
    for (int root : collection.roots) {
      int& counter = num ? **num : looseNum_[group];
      ++counter;
      ImportOutcome outcome = ImportGameTree(collection, root);
      if (!outcome.problem) {
        Refuse(Place(name, outcome.refusal.place), outcome.refusal.category,
               outcome.refusal.reason);
        continue;
      }
      ImportedProblem& imported = *outcome.problem;
      DataProblem p;
      p.group = group;
      p.level = level.value_or(options_.level);
      p.num = counter;
      p.number = num && counter < 1000 ? group * 1000 + counter : 0;
      if (p.number > 65535) p.number = 0;
      p.arrangedBlack = imported.arrangedBlack;
      p.arrangedWhite = imported.arrangedWhite;
      p.initial = imported.initial;
      p.firstToPlay = imported.firstToPlay;
      p.result2 = imported.result2;
      p.source = Place(name, imported.place);
      p.solution = imported.tree.Save();
      const std::vector<std::string> faults = CheckProblem(p);
      if (!faults.empty()) {
        Refuse(p.source, CheckCategory(faults.front()), "fails check: " + faults.front());
        continue;
      }
      // Remarks only for problems that are kept.
      ApplyRemarks(imported, report_->remarks);
      p.solution = imported.tree.Save();
      report_->problems.push_back(std::move(p));
    }
  }

  void Refuse(const std::string& where, const std::string& category, const std::string& reason) {
    report_->refusals.push_back(where + ": refused: " + reason);
    ++report_->refusedByReason[category];
  }

  const BuildOptions& options_;
  BuildReport* report_;
  std::map<int, int> looseNum_;
};

}  // namespace

void BuildFromSources(const std::vector<std::string>& sources, const BuildOptions& options,
                      BuildReport* report) {
  *report = BuildReport{};
  Builder builder(options, report);
  for (const std::string& s : sources) builder.Source(s);
  builder.Number();
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
  table.DefineFields(ProblemTableFields());
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
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
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

std::vector<std::string> CheckProblem(const DataProblem& problem) {
  std::vector<std::string> faults;
  SolutionTree tree;
  const SolutionTree::LoadResult load = tree.LoadSolution(problem.solution);
  if (load == SolutionTree::LoadResult::kCorrupted) {
    faults.push_back("Data corrupted: the solution stream ends inside a record");
    return faults;
  }
  if (tree.FirstRoot() == kNoNode) {
    faults.push_back("no solution tree");
    return faults;
  }
  const NodeId root = tree.FirstRoot();
  auto where = [&](NodeId id) {
    std::string path;
    for (NodeId n = id; n != kNoNode && tree.Level(n) > 0; n = tree.Parent(n)) {
      path = std::string(tree.NodePoint(n)) + (path.empty() ? "" : "-" + path);
    }
    return " (line " + (path.empty() ? std::string("start") : path) + ")";
  };

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
    faults.push_back("the set-up does not stand on the board as written");
  }
  if (board.Process() != problem.initial) {
    faults.push_back("the initial moves are not legal");
  }
  const Colour user = board.Turn();

  // Every line, move by move; a refused move cuts its subtree.
  std::vector<std::pair<NodeId, bool>> stack;
  for (NodeId c = tree.FirstChild(root); c != kNoNode; c = tree.NextSibling(c)) {
    stack.push_back({c, false});
  }
  std::reverse(stack.begin(), stack.end());
  while (!stack.empty()) {
    auto [id, leaving] = stack.back();
    stack.pop_back();
    if (leaving) {
      board.TakeBack();
      continue;
    }
    const std::string_view point = tree.NodePoint(id);
    const int level = tree.Level(id);
    const Colour expected = level % 2 == 1 ? user : Opponent(user);
    if (!SameSide(board.Turn(), expected)) {
      faults.push_back("level " + std::to_string(level) + " is not the expected side's move" +
                       where(id));
      continue;
    }
    int p = 0;
    int q = 0;
    if (point.size() < 2) {
      faults.push_back("node text '" + tree.Node(id).text + "' holds no point" + where(id));
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
        faults.push_back("no empty point in the far corner for a move elsewhere" + where(id));
        continue;
      }
    } else {
      p = LetterToCoord(point[0]);
      q = LetterToCoord(point[1]);
      if (!board.IsOnBoard(p, q)) {
        faults.push_back("move " + std::string(point) + " is not on the board" + where(id));
        continue;
      }
    }
    if (!board.PlayMove(p, q, false)) {
      faults.push_back("move " + std::string(point) + " is illegal" + where(id));
      continue;
    }
    stack.push_back({id, true});
    std::vector<NodeId> children;
    for (NodeId c = tree.FirstChild(id); c != kNoNode; c = tree.NextSibling(c)) {
      children.push_back(c);
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back({*it, false});
  }

  if (!tree.HasCleanSuccess(root)) {
    faults.push_back("no clean success from the start position");
  }

  // Successful line ends: the judge's weak-move levels, and the result words.
  const std::string answer = problem.result2 ? AnswerText(*problem.result2, Localizer{}) : "";
  for (NodeId id = 0; id < static_cast<NodeId>(tree.Size()); ++id) {
    if (tree.Level(id) == 0 || !tree.Valid(id)) continue;
    // Only nodes of the first root's subtree are reached by solving.
    NodeId top = id;
    while (tree.Parent(top) != kNoNode) top = tree.Parent(top);
    if (top != root) continue;
    const std::string code = tree.NodeCode(id);
    if (!IsSuccess(code)) continue;
    const NodeId u = tree.Level(id) % 2 == 1 ? id : tree.Parent(id);
    int cf = -1;
    int uf = -1;
    for (NodeId n = u; n != kNoNode; n = tree.Parent(n)) {
      if (!tree.IsFlagged(n)) continue;
      int& deepest = tree.Level(n) % 2 == 0 ? cf : uf;
      deepest = std::max(deepest, tree.Level(n));
    }
    if (uf >= 0 && cf > uf) {
      faults.push_back(
          "a successful line ends in Data error(1): a flagged reply lies below the "
          "flagged user move" +
          where(id));
    }
    const std::string word = WordOf(code[1]);
    if (!word.empty() && word != answer) {
      faults.push_back("success says '" + word + "' but Result2 says '" +
                       (answer.empty() ? std::string("nothing") : answer) + "'" + where(id));
    }
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
