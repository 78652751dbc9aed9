#include "library/review_file.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <limits>

namespace zendra {
namespace {

constexpr const char* kColumns[] = {"Time",    "Auto1", "Level1",    "Outcome",
                                    "Results", "Hints", "Takebacks", "Millis"};

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// One connection to the file, closed with the object; a transaction left open is rolled back.
class Connection {
 public:
  // `create`: the file is made when missing.
  Connection(const std::string& path, int busyWaitMs, bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) return;
    // The file is outside bytes: no triggers or views may run.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    // A quoted name that is no column must fail, not read as a string.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(db_, busyWaitMs);
    ok_ = true;
  }
  ~Connection() {
    if (inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool Ok() const { return ok_; }
  sqlite3* Db() const { return db_; }
  std::string Message() const {
    std::string m = db_ ? sqlite3_errmsg(db_) : "out of memory";
    const int system = db_ ? sqlite3_system_errno(db_) : 0;
    if (system != 0) m += std::string(" (") + std::strerror(system) + ")";
    return m;
  }
  bool Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  bool Begin() { return inTransaction_ = Exec("BEGIN IMMEDIATE"); }
  bool Commit() {
    if (!Exec("COMMIT")) return false;
    inTransaction_ = false;
    return true;
  }

 private:
  sqlite3* db_ = nullptr;
  bool ok_ = false;
  bool inTransaction_ = false;
};

// Reads column `i` of the current row as an integer within [low, high].
bool Column(sqlite3_stmt* row, int i, int64_t low, int64_t high, int64_t* value,
            std::string* fault) {
  if (sqlite3_column_type(row, i) != SQLITE_INTEGER) {
    *fault = std::string("column ") + kColumns[i] + " holds no whole number";
    return false;
  }
  *value = sqlite3_column_int64(row, i);
  if (*value < low || *value > high) {
    *fault = std::string("column ") + kColumns[i] + " holds " + std::to_string(*value) +
             ", outside " + std::to_string(low) + " to " + std::to_string(high);
    return false;
  }
  return true;
}

}  // namespace

bool ReviewFile::Read(std::vector<Attempt>* attempts, std::string* error,
                      bool* unavailable) const {
  attempts->clear();
  if (unavailable) *unavailable = false;
  if (!Exists(path_)) return true;
  // Opened for writing where it can be, so that a hot journal a crash left is rolled back.
  Connection c(path_, busyWaitMs_, false);
  const auto fail = [&](const std::string& why) {
    attempts->clear();
    if (error) *error = "The review file \"" + path_ + "\" cannot be read: " + why;
    if (unavailable && c.Db()) {
      switch (sqlite3_errcode(c.Db()) & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_NOMEM:
        case SQLITE_FULL:
          *unavailable = true;
          break;
        default:
          break;
      }
    }
    return false;
  };
  if (!c.Ok()) return fail(c.Message());
  std::string sql = "SELECT ";
  for (size_t i = 0; i < std::size(kColumns); ++i)
    sql += std::string(i ? ", \"" : "\"") + kColumns[i] + "\"";
  sql += " FROM \"" + std::string(kAttemptsTableName) + "\" ORDER BY rowid";
  sqlite3_stmt* row = nullptr;
  if (sqlite3_prepare_v2(c.Db(), sql.c_str(), -1, &row, nullptr) != SQLITE_OK) {
    return fail(c.Message());
  }
  constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
  constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
  std::string fault;
  int rc = SQLITE_ROW;
  for (int64_t n = 1; (rc = sqlite3_step(row)) == SQLITE_ROW; ++n) {
    int64_t v[std::size(kColumns)] = {};
    const bool ok = Column(row, 0, 0, kLatestAttemptTime, &v[0], &fault) &&
                    Column(row, 1, 0, 65535, &v[1], &fault) &&
                    Column(row, 2, kInt32Min, kInt32Max, &v[2], &fault) &&
                    Column(row, 3, 0, kAttemptOutcomeCount - 1, &v[3], &fault) &&
                    Column(row, 4, 0, kInt32Max, &v[4], &fault) &&
                    Column(row, 5, 0, kInt32Max, &v[5], &fault) &&
                    Column(row, 6, 0, kInt32Max, &v[6], &fault) &&
                    Column(row, 7, 0, kInt32Max, &v[7], &fault);
    if (!ok) {
      sqlite3_finalize(row);
      return fail("row " + std::to_string(n) + ": " + fault);
    }
    Attempt a;
    a.time = v[0];
    a.number = static_cast<int32_t>(v[1]);
    a.level = static_cast<int32_t>(v[2]);
    a.outcome = static_cast<AttemptOutcome>(v[3]);
    a.results = static_cast<int32_t>(v[4]);
    a.hints = static_cast<int32_t>(v[5]);
    a.takebacks = static_cast<int32_t>(v[6]);
    a.millis = static_cast<int32_t>(v[7]);
    attempts->push_back(a);
  }
  sqlite3_finalize(row);
  if (rc != SQLITE_DONE) return fail(c.Message());
  return true;
}

bool ReviewFile::Append(const std::vector<Attempt>& attempts, std::string* error) const {
  Connection c(path_, busyWaitMs_, true);
  const auto fail = [&]() {
    if (error) *error = "Cannot write the review file \"" + path_ + "\": " + c.Message();
    return false;
  };
  if (!c.Ok() || !c.Begin()) return fail();
  std::string create = "CREATE TABLE IF NOT EXISTS \"" + std::string(kAttemptsTableName) + "\" (";
  std::string insert = "INSERT INTO \"" + std::string(kAttemptsTableName) + "\" (";
  for (size_t i = 0; i < std::size(kColumns); ++i) {
    create += std::string(i ? ", \"" : "\"") + kColumns[i] + "\" INTEGER";
    insert += std::string(i ? ", \"" : "\"") + kColumns[i] + "\"";
  }
  create += ")";
  insert += ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";
  if (!c.Exec(create.c_str())) return fail();
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(c.Db(), insert.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
    return fail();
  }
  for (const Attempt& a : attempts) {
    const int64_t values[] = {a.time,    a.number, a.level,     static_cast<int64_t>(a.outcome),
                              a.results, a.hints,  a.takebacks, a.millis};
    sqlite3_reset(statement);
    for (int i = 0; i < static_cast<int>(std::size(values)); ++i)
      sqlite3_bind_int64(statement, i + 1, values[i]);
    if (sqlite3_step(statement) != SQLITE_DONE) {
      sqlite3_finalize(statement);
      return fail();
    }
  }
  sqlite3_finalize(statement);
  if (!c.Commit()) return fail();
  return true;
}

ReviewLog::ReviewLog(std::string path, int32_t utcOffsetSeconds)
    : file_(std::move(path)), schedule_(utcOffsetSeconds) {}

std::string ReviewLog::Open() {
  pending_.clear();
  writable_ = !keep_;
  std::string error;
  bool unavailable = false;
  if (!file_.Read(&attempts_, &error, &unavailable) && unavailable) {
    writable_ = false;
    error += ". It was left as it is; the attempts of this run are not kept in it.";
  } else if (!error.empty()) {
    // Keep the unreadable file under a name of its own and start afresh.
    const std::string& path = file_.Path();
    std::string kept;
    for (int n = 1; n < 1000 && kept.empty(); ++n) {
      std::string candidate = path + ".unreadable" + (n == 1 ? "" : "-" + std::to_string(n));
      if (!Exists(candidate)) kept = candidate;
    }
    if (writable_ && !kept.empty() && std::rename(path.c_str(), kept.c_str()) == 0) {
      error += ". It was renamed to \"" + kept + "\" and a new review schedule was started.";
    } else {
      writable_ = false;
      error += ". It was left as it is; the attempts of this run are not kept.";
    }
  }
  schedule_.SeedMissed(seeds_);
  schedule_.Rebuild(attempts_);
  return error;
}

void ReviewLog::SeedMissed(const std::vector<int32_t>& numbers) {
  seeds_ = numbers;
  schedule_.SeedMissed(seeds_);
  schedule_.Rebuild(attempts_);
}

bool ReviewLog::Record(const Attempt& attempt) {
  attempts_.push_back(attempt);
  schedule_.Add(attempt);
  if (!writable_) return true;
  pending_.push_back(attempt);
  error_.clear();
  if (!file_.Append(pending_, &error_)) return false;
  pending_.clear();
  return true;
}

std::string ReviewPathFor(const std::string& historyPath) {
  const size_t slash = historyPath.rfind('/');
  return (slash == std::string::npos ? std::string() : historyPath.substr(0, slash + 1)) +
         kReviewFileName;
}

}  // namespace zendra
