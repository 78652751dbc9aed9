#include "library/problem_database.h"

#include <strings.h>
#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "library/problem_remarks.h"

namespace zendra {

const std::vector<FieldDef>& ProblemTableFields() {
  static const std::vector<FieldDef> fields = {
      {"Auto1", FieldType::kInteger},         {"Group1", FieldType::kInteger},
      {"Level1", FieldType::kInteger},        {"Num", FieldType::kInteger},
      {"ArrangedBlack", FieldType::kString},  {"ArrangedWhite", FieldType::kString},
      {"Initial", FieldType::kString},        {"FirstToPlay", FieldType::kString},
      {"Flag", FieldType::kInteger},          {"NotGood", FieldType::kInteger},
      {"Solution", FieldType::kBlob},         {"Tag", FieldType::kInteger},
      {"Id1", FieldType::kInteger},           {"Result2", FieldType::kInteger},
      {"SenteGoteKind", FieldType::kInteger}, {"ValueKind", FieldType::kInteger},
      {"Value1", FieldType::kInteger},        {"Value2", FieldType::kInteger},
  };
  return fields;
}

ProblemRecord ReadProblemRow(const TableStore& problems) {
  ProblemRecord problem;
  problem.number = problems.AsInteger("Auto1");
  problem.group = problems.AsInteger("Group1");
  problem.level = problems.AsInteger("Level1");
  problem.num = problems.AsInteger("Num");
  problem.arrangedBlack = problems.AsString("ArrangedBlack");
  problem.arrangedWhite = problems.AsString("ArrangedWhite");
  problem.initial = problems.AsString("Initial");
  problem.firstToPlay = problems.AsString("FirstToPlay");
  if (!problems.IsNull("Result2")) problem.result2 = problems.AsInteger("Result2");
  problem.solution = problems.ReadBlob("Solution");
  if (problems.HasField(kProblemRemarksField)) {
    problem.remarks = SplitProblemRemarks(problems.AsString(kProblemRemarksField));
  }
  return problem;
}

namespace {

// Deflate cannot shrink data by more than about 1032 to 1.
constexpr long long kMaxDeflateRatio = 1032;

bool ReadMember(zip_t* archive, long long archiveSize, const std::string& name, std::string* member,
                std::string* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
  if (index < 0) return fail("The data file has no member \"" + name + "\"");
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
    return fail("Cannot read the member \"" + name + "\": " + zip_strerror(archive));
  }
  const zip_uint64_t needed = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD;
  if ((st.valid & needed) != needed) return fail("The member \"" + name + "\" has no sizes");
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
    return fail("The member \"" + name + "\" is encrypted");
  }
  if (st.size > static_cast<zip_uint64_t>(kMaxMemberBytes)) {
    return fail("The member \"" + name + "\" is larger than 256 MB");
  }
  if (st.comp_size > static_cast<zip_uint64_t>(archiveSize)) {
    return fail("The member \"" + name + "\" claims more data than the archive holds");
  }
  if (st.comp_method == ZIP_CM_STORE) {
    if (st.size != st.comp_size) {
      return fail("The member \"" + name + "\" claims impossible sizes");
    }
  } else if (st.comp_method == ZIP_CM_DEFLATE) {
    if (st.size > st.comp_size * kMaxDeflateRatio + 1024) {
      return fail("The member \"" + name + "\" claims impossible sizes");
    }
  } else {
    return fail("The member \"" + name + "\" is neither stored nor deflated");
  }

  zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) return fail("Cannot read the member \"" + name + "\": " + zip_strerror(archive));
  std::string message;
  // Reads `count` bytes into `to`; false with `message` set when they do not come.
  auto read = [&](char* to, zip_uint64_t count) {
    zip_uint64_t done = 0;
    while (done < count) {
      zip_int64_t n = zip_fread(file, to + done, count - done);
      if (n < 0) {
        message =
            std::string("Cannot read the member \"") + name + "\": " + zip_file_strerror(file);
        return false;
      }
      if (n == 0) {
        message = "The member \"" + name + "\" is shorter than it claims";
        return false;
      }
      done += static_cast<zip_uint64_t>(n);
    }
    return true;
  };
  // The member is an SQLite database image: its first page's header is checked before the
  // rest is inflated, so garbage costs neither the time nor the memory of its claimed size.
  std::string bytes(static_cast<size_t>(std::min<zip_uint64_t>(st.size, 100)), '\0');
  if (read(bytes.data(), bytes.size()) && st.size > 0 &&
      !CheckDatabaseHeader(bytes, st.size, &message)) {
    message = "The member \"" + name + "\": " + message;
  }
  if (message.empty() && st.size > bytes.size()) {
    const size_t head = bytes.size();
    bytes.resize(static_cast<size_t>(st.size));
    read(bytes.data() + head, st.size - head);
  }
  if (message.empty()) {
    // Reading past the end checks the data against its checksum.
    char extra;
    zip_int64_t n = zip_fread(file, &extra, 1);
    if (n < 0) {
      message = std::string("Cannot read the member \"") + name + "\": " + zip_file_strerror(file);
    } else if (n > 0) {
      message = "The member \"" + name + "\" is longer than it claims";
    }
  }
  zip_fclose(file);
  if (!message.empty()) return fail(message);
  *member = std::move(bytes);
  return true;
}

std::string ZipOpenError(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

std::string ProblemEntry(const ProblemRecord& problem, bool solved) {
  char number[16];
  std::snprintf(number, sizeof number, "%04X", static_cast<unsigned>(problem.number) & 0xFFFFu);
  std::string entry = number;
  entry += solved ? '1' : '0';
  entry += ' ';
  if (problem.result2) entry += std::to_string(*problem.result2);
  entry += ' ';
  entry += problem.arrangedBlack;
  entry += ' ';
  entry += problem.arrangedWhite;
  entry += ' ';
  entry += problem.initial;
  entry += ' ';
  entry += problem.firstToPlay;
  return entry;
}

bool ExtractZipMember(const std::string& path, const std::string& name, std::string* member,
                      std::string* error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (error) *error = "Cannot open the data file \"" + path + "\"";
    return false;
  }
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (!archive) {
    if (error) *error = "Cannot open the data file \"" + path + "\": " + ZipOpenError(code);
    return false;
  }
  bool ok = ReadMember(archive, static_cast<long long>(st.st_size), name, member, error);
  zip_discard(archive);
  return ok;
}

bool ExtractZipMemberFromBytes(std::string_view bytes, const std::string& name, std::string* member,
                               std::string* error) {
  zip_error_t zerror;
  zip_error_init(&zerror);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zerror);
  if (!source) {
    if (error) *error = std::string("Cannot read the data file: ") + zip_error_strerror(&zerror);
    zip_error_fini(&zerror);
    return false;
  }
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &zerror);
  if (!archive) {
    if (error) *error = std::string("Cannot open the data file: ") + zip_error_strerror(&zerror);
    zip_error_fini(&zerror);
    zip_source_free(source);
    return false;
  }
  zip_error_fini(&zerror);
  bool ok = ReadMember(archive, static_cast<long long>(bytes.size()), name, member, error);
  zip_discard(archive);
  return ok;
}

ProblemDatabase::ProblemDatabase(std::string dataFilePath)
    : dataFilePath_(std::move(dataFilePath)),
      problems_(std::make_unique<TableStore>(kProblemTableName)) {}

bool ProblemDatabase::LoadMember(std::string_view member, std::string* error) {
  auto table = std::make_unique<TableStore>(kProblemTableName);
  table->SetMaxValueBytes(kMaxSolutionBytes);
  if (!table->LoadFromBytes(member, error)) {
    if (error) *error = "The data file \"" + dataFilePath_ + "\": " + *error;
    return false;
  }
  for (const FieldDef& column : ProblemTableFields()) {
    auto it = std::find_if(table->Fields().begin(), table->Fields().end(), [&](const FieldDef& f) {
      return strcasecmp(f.name.c_str(), column.name.c_str()) == 0;
    });
    if (it == table->Fields().end()) {
      if (error) *error = "Field '" + column.name + "' not found";
      return false;
    }
    bool integer = it->type == FieldType::kInteger;
    if (integer != (column.type == FieldType::kInteger)) {
      if (error) {
        *error = std::string("Field '") + column.name + "' is " +
                 (integer ? "an integer field, not a text field" : "not an integer field");
      }
      return false;
    }
  }
  for (table->First(); !table->Eof(); table->Next()) {
    if (table->IsNull("Auto1") || table->AsInteger("Auto1") < 0 ||
        table->AsInteger("Auto1") > 65535) {
      if (error) {
        *error = "Field 'Auto1' holds " +
                 (table->IsNull("Auto1") ? std::string("no value")
                                         : std::to_string(table->AsInteger("Auto1"))) +
                 ", not a problem number from 0 to 65535";
      }
      return false;
    }
  }
  if (!table->AddIndex("ByAuto1", "Auto1", "", error) ||
      !table->AddIndex("ByGroup1Level1Num", "Group1;Level1;Num", "", error) ||
      !table->SetOrdering("Auto1", error)) {
    return false;
  }
  table->First();
  problems_ = std::move(table);
  return true;
}

bool ProblemDatabase::LoadArchive(std::string_view archive, std::string* error) {
  std::string member;
  if (!ExtractZipMemberFromBytes(archive, kProblemMemberName, &member, error)) return false;
  if (member.empty()) return true;
  return LoadMember(member, error);
}

bool ProblemDatabase::LoadDataFile(std::string* error) {
  std::string member;
  if (!ExtractZipMember(dataFilePath_, kProblemMemberName, &member, error)) return false;
  if (member.empty()) return true;
  return LoadMember(member, error);
}

bool ProblemDatabase::FindProblem(int number) {
  if (!problems_->Active()) return false;
  if (!problems_->SetOrdering("Auto1", nullptr)) return false;
  return problems_->FindKey({FieldValue{static_cast<int32_t>(number)}});
}

std::optional<ProblemRecord> ProblemDatabase::ProblemAt(int position) {
  if (position < 0 || position >= static_cast<int>(problemNumbers_.size())) return std::nullopt;
  if (!FindProblem(problemNumbers_[static_cast<size_t>(position)])) return std::nullopt;
  return ReadProblemRow(*problems_);
}

void ProblemDatabase::OpenSelection(const std::vector<int32_t>& numbers, TableStore& history) {
  problemList_.clear();
  problemNumbers_.clear();
  for (int32_t number : numbers) {
    if (!FindProblem(number)) continue;
    const bool solved = history.Active() && history.FindKey({FieldValue{number}}) &&
                        history.AsInteger("SolvedCount") > 0;
    problemList_.push_back(ProblemEntry(ReadProblemRow(*problems_), solved));
    problemNumbers_.push_back(number);
  }
}

ProblemDatabase::CollectionLoad ProblemDatabase::OpenCollection(int group, TableStore& history,
                                                                const Localizer& text) {
  CollectionLoad result;
  problemList_.clear();
  problemNumbers_.clear();
  struct stat st {};
  if (::stat(dataFilePath_.c_str(), &st) != 0) {
    result.outcome = Outcome::kMissingFile;
    result.message = text.Say(Text::kCantFindDataFile, {dataFilePath_});
    return result;
  }
  std::string error;
  if (!LoadDataFile(&error)) {
    result.outcome = Outcome::kLoadFailed;
    result.message = error;
    return result;
  }
  if (!problems_->Active()) {
    result.outcome = Outcome::kNoTable;
    result.message = text.Say(Text::kDatabaseError);
    return result;
  }

  TableStore& problems = *problems_;
  std::vector<std::string> entries;
  std::vector<int> numbers;
  problems.SetOrdering("Group1;Level1;Num", nullptr);
  if (problems.FindKey({FieldValue{static_cast<int32_t>(group)}})) {
    while (!problems.Eof()) {
      const int32_t number = problems.AsInteger("Auto1");
      bool solved = false;
      if (history.Active()) {
        bool found = history.FindKey({FieldValue{number}});
        if (!found && history.Append()) {
          history.SetInteger("Auto1", number);
          found = history.Post(nullptr);
          if (!found) history.Cancel();
        }
        solved = found && history.AsInteger("SolvedCount") > 0;
      }
      if (problems.AsInteger("Group1") != group) break;
      entries.push_back(ProblemEntry(ReadProblemRow(problems), solved));
      numbers.push_back(number);
      problems.Next();
    }
  }
  problems.SetOrdering("Auto1", nullptr);
  problemList_ = std::move(entries);
  problemNumbers_ = std::move(numbers);
  openCollection_ = group;
  return result;
}

}  // namespace zendra
