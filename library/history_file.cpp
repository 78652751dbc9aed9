#include "library/history_file.h"

#include <sqlite3.h>
#include <strings.h>

#include <cstring>

#include "library/history.h"

namespace zendra {
namespace {

std::string Quote(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool IsHistoryColumn(const std::string& name) {
  for (const char* column : kHistoryColumns) {
    if (strcasecmp(column, name.c_str()) == 0) return true;
  }
  return false;
}

// One connection and one transaction; rolled back unless committed.
class Writer {
 public:
  Writer(const std::string& path, int busyWaitMs) : path_(path), busyWaitMs_(busyWaitMs) {}
  ~Writer() {
    if (db_ && inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool Open() {
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      return Fail("cannot open it");
    }
    // The file is outside bytes as well: no triggers or views may run while writing.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_busy_timeout(db_, busyWaitMs_);
    if (!Exec("BEGIN IMMEDIATE")) return false;
    inTransaction_ = true;
    return true;
  }

  bool Exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    return Fail(nullptr);
  }

  // Runs `sql` with the integer `values` bound to ?1, ?2, ...
  bool Run(const std::string& sql, std::initializer_list<int64_t> values) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      return Fail(nullptr);
    }
    int slot = 1;
    for (int64_t value : values) sqlite3_bind_int64(statement, slot++, value);
    const int rc = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) return Fail(nullptr);
    return true;
  }

  bool Commit() {
    if (!Exec("COMMIT")) return false;
    inTransaction_ = false;
    return true;
  }

  bool Fail(const char* what) {
    if (error_.empty()) {
      error_ = "Cannot write the history file \"" + path_ +
               "\": " + (what ? std::string(what) + ": " : std::string()) +
               (db_ ? sqlite3_errmsg(db_) : "out of memory");
      // SQLite says "disk I/O error" for a full disk and a file-size limit alike: add the
      // system's word.
      const int system = db_ ? sqlite3_system_errno(db_) : 0;
      if (system != 0) error_ += std::string(" (") + std::strerror(system) + ")";
    }
    return false;
  }
  const std::string& Error() const { return error_; }

 private:
  std::string path_;
  int busyWaitMs_;
  sqlite3* db_ = nullptr;
  bool inTransaction_ = false;
  std::string error_;
};

}  // namespace

HistoryFile::HistoryFile(std::string path) : path_(std::move(path)) {}

bool HistoryFile::Write(const std::vector<int32_t>& rows, const std::vector<HistoryChange>& changes,
                        std::string* error) const {
  Writer w(path_, busyWaitMs_);
  const std::string table = Quote(kHistoryTableName);
  std::string create = "CREATE TABLE IF NOT EXISTS " + table + " (";
  bool first = true;
  for (const char* column : kHistoryColumns) {
    create += (first ? "" : ", ") + Quote(column) + " INTEGER";
    first = false;
  }
  create += ")";
  // The unique key on the problem number: one row per problem, whoever writes.
  const std::string key =
      "CREATE UNIQUE INDEX IF NOT EXISTS \"ByAuto1\" ON " + table + " (\"Auto1\")";
  const std::string addRow = "INSERT INTO " + table + " (\"Auto1\") SELECT ?1 WHERE NOT EXISTS " +
                             "(SELECT 1 FROM " + table + " WHERE \"Auto1\" = ?1)";
  bool ok = w.Open() && w.Exec(create) && w.Exec(key);
  for (size_t i = 0; ok && i < rows.size(); ++i) ok = w.Run(addRow, {rows[i]});
  for (size_t i = 0; ok && i < changes.size(); ++i) {
    const HistoryChange& change = changes[i];
    if (change.number) ok = w.Run(addRow, {*change.number});
    std::string where = change.number ? " WHERE \"Auto1\" = ?1" : "";
    for (const auto& [column, amount] : change.raise) {
      if (!ok) break;
      if (!IsHistoryColumn(column)) {
        ok = w.Fail(("no counter \"" + column + "\"").c_str());
        break;
      }
      const std::string c = Quote(column);
      ok = w.Run("UPDATE " + table + " SET " + c + " = MIN(COALESCE(" + c + ", 0) + ?2, " +
                     "2147483647)" + where,
                 {change.number.value_or(0), amount});
    }
    if (ok && change.clearSolved) {
      ok = w.Run("UPDATE " + table + " SET \"SolvedCount\" = 0" + where,
                 {change.number.value_or(0)});
    }
  }
  if (ok) ok = w.Commit();
  if (!ok && error) *error = w.Error();
  return ok;
}

}  // namespace zendra
