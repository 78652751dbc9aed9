#include "library/table_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

namespace zendra {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string Quote(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

int CompareValues(const FieldValue& a, const FieldValue& b) {
  if (a.index() != b.index()) return a.index() < b.index() ? -1 : 1;
  if (const auto* x = std::get_if<int32_t>(&a)) {
    int32_t y = std::get<int32_t>(b);
    return *x < y ? -1 : (*x > y ? 1 : 0);
  }
  if (const auto* x = std::get_if<std::string>(&a)) {
    int c = x->compare(std::get<std::string>(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return 0;
}

// A prepared statement that finalizes itself.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  explicit operator bool() const { return stmt_ != nullptr; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// A database connection that closes itself.
class Connection {
 public:
  Connection() = default;
  ~Connection() { sqlite3_close_v2(db_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  sqlite3** out() { return &db_; }
  sqlite3* get() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// Guards a connection that reads outside bytes: no triggers, views or schema functions, and a
// cap on value sizes.
void Harden(sqlite3* db, int maxValueBytes) {
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, maxValueBytes);
  sqlite3_exec(db, "PRAGMA cell_size_check=ON", nullptr, nullptr, nullptr);
}

// Errors that say nothing about the file's content: it may read well another time.
bool Unavailable(int code) {
  switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_NOMEM:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_INTERRUPT:
    case SQLITE_NOLFS:
      return true;
    default:
      return false;
  }
}

uint32_t BigEndian(std::string_view bytes, size_t at, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

bool Exec(sqlite3* db, const char* sql, std::string* error) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  if (error) *error = sqlite3_errmsg(db);
  return false;
}

bool SyncPath(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The name under which the row id is addressed: the first alias no field has taken.
std::string RowIdAlias(const std::vector<FieldDef>& fields) {
  for (const char* alias : {"rowid", "_rowid_", "oid"}) {
    bool taken = std::any_of(fields.begin(), fields.end(),
                             [&](const FieldDef& f) { return SameName(f.name, alias); });
    if (!taken) return alias;
  }
  return {};
}

const char* TypeName(FieldType type) {
  switch (type) {
    case FieldType::kInteger:
      return "INTEGER";
    case FieldType::kString:
      return "TEXT";
    case FieldType::kBlob:
      return "BLOB";
  }
  return "BLOB";
}

// Maps a declared column type to a field type by SQLite's affinity rules; false for REAL and
// NUMERIC columns, which a table cannot hold.
bool FieldTypeOf(std::string declared, FieldType* type) {
  for (char& c : declared) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  if (declared.find("INT") != std::string::npos) {
    *type = FieldType::kInteger;
  } else if (declared.find("CHAR") != std::string::npos ||
             declared.find("CLOB") != std::string::npos ||
             declared.find("TEXT") != std::string::npos) {
    *type = FieldType::kString;
  } else if (declared.empty() || declared.find("BLOB") != std::string::npos) {
    *type = FieldType::kBlob;
  } else {
    return false;
  }
  return true;
}

void BindValue(sqlite3_stmt* stmt, int slot, const FieldValue& value) {
  if (const auto* i = std::get_if<int32_t>(&value)) {
    sqlite3_bind_int(stmt, slot, *i);
  } else if (const auto* s = std::get_if<std::string>(&value)) {
    sqlite3_bind_blob64(stmt, slot, s->data(), s->size(), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(stmt, slot);
  }
}

}  // namespace

bool CheckDatabaseHeader(std::string_view head, uint64_t size, std::string* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  // The header is the first 100 bytes of page 1; the smallest page is 512 bytes.
  static constexpr std::string_view kMagic("SQLite format 3\0", 16);
  if (size < 512 || head.size() < 100 || head.substr(0, 16) != kMagic) {
    return fail("The table data is not a database (no SQLite header)");
  }
  uint32_t pageSize = BigEndian(head, 16, 2);
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) {
    return fail("The table data is not a database (page size " + std::to_string(pageSize) + ")");
  }
  if (size % pageSize != 0) {
    return fail("The table data is not whole: " + std::to_string(size) +
                " bytes are not a number of pages of " + std::to_string(pageSize) + " bytes");
  }
  // The page count in the header counts only when it was written by the last change.
  const uint32_t pages = BigEndian(head, 28, 4);
  const bool pagesValid = pages > 0 && BigEndian(head, 24, 4) == BigEndian(head, 92, 4);
  if (pagesValid && static_cast<uint64_t>(pages) * pageSize != size) {
    return fail("The table data is not whole: its header counts " + std::to_string(pages) +
                " pages of " + std::to_string(pageSize) + " bytes, it holds " +
                std::to_string(size) + " bytes");
  }
  return true;
}

TableStore::TableStore(std::string tableName) : tableName_(std::move(tableName)) {}

TableStore::~TableStore() = default;

void TableStore::SetMaxValueBytes(int bytes) {
  maxValueBytes_ = std::clamp(bytes, 1, kDefaultMaxValueBytes);
}

// ---- Loading and creating ------------------------------------------------------------------

bool TableStore::LoadFromFile(const std::string& path, std::string* error) {
  loadFailure_ = LoadFailure::kRefused;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    if (!missing) loadFailure_ = LoadFailure::kUnavailable;
    if (error) {
      *error =
          "Cannot open file \"" + path + "\": " + (missing ? "no such file" : std::strerror(errno));
    }
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    if (error) *error = "Cannot open file \"" + path + "\": not a regular file";
    return false;
  }
  // Read-write, so that SQLite rolls back a transaction a crash interrupted.
  Connection db;
  int rc = sqlite3_open_v2(path.c_str(), db.out(), SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db.get());
    *db.out() = nullptr;
    rc = sqlite3_open_v2(path.c_str(), db.out(), SQLITE_OPEN_READONLY, nullptr);
  }
  if (rc != SQLITE_OK) {
    if (Unavailable(rc)) loadFailure_ = LoadFailure::kUnavailable;
    if (error) {
      *error = "Cannot open file \"" + path +
               "\": " + (db.get() ? sqlite3_errmsg(db.get()) : "out of memory");
    }
    return false;
  }
  Harden(db.get(), maxValueBytes_);
  // Another program may hold the file for a moment (a backup, an sqlite3 shell): wait for it.
  sqlite3_busy_timeout(db.get(), busyWaitMs_);
  std::string message;
  if (LoadFromDatabase(db.get(), &message)) return true;
  if (error) *error = "\"" + path + "\": " + message;
  return false;
}

bool TableStore::LoadFromBytes(std::string_view bytes, std::string* error) {
  loadFailure_ = LoadFailure::kRefused;
  if (bytes.empty()) {
    if (error) *error = "The table data is empty";
    return false;
  }
  if (!CheckDatabaseHeader(bytes, bytes.size(), error)) return false;
  Connection db;
  if (sqlite3_open_v2(":memory:", db.out(), SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    loadFailure_ = LoadFailure::kUnavailable;
    if (error) *error = "Cannot open an in-memory database";
    return false;
  }
  Harden(db.get(), maxValueBytes_);
  // Read in place: SQLite neither writes, grows nor frees the image, which outlives `db`.
  auto* image = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data()));
  int rc =
      sqlite3_deserialize(db.get(), "main", image, static_cast<sqlite3_int64>(bytes.size()),
                          static_cast<sqlite3_int64>(bytes.size()), SQLITE_DESERIALIZE_READONLY);
  if (rc != SQLITE_OK) {
    if (Unavailable(rc)) loadFailure_ = LoadFailure::kUnavailable;
    if (error) *error = sqlite3_errmsg(db.get());
    return false;
  }
  return LoadFromDatabase(db.get(), error);
}

bool TableStore::LoadFromDatabase(sqlite3* db, std::string* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  auto engineFail = [&](const std::string& what) {
    const int code = sqlite3_extended_errcode(db);
    if (Unavailable(code)) loadFailure_ = LoadFailure::kUnavailable;
    if ((code & 0xFF) == SQLITE_TOOBIG) {
      return fail(what + ": a value is longer than the " + std::to_string(maxValueBytes_) +
                  " bytes a field may hold");
    }
    return fail(what + ": " + sqlite3_errmsg(db));
  };

  // The table itself: an ordinary table, not a view or a virtual table.
  std::string storedName;
  {
    Statement find(db, "SELECT name, type, sql FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE");
    if (!find) return engineFail("Cannot read the table data");
    sqlite3_bind_text(find.get(), 1, tableName_.c_str(), -1, SQLITE_TRANSIENT);
    int rc = sqlite3_step(find.get());
    if (rc == SQLITE_DONE) return fail("The table data has no table \"" + tableName_ + "\"");
    if (rc != SQLITE_ROW) return engineFail("Cannot read the table data");
    const char* name = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
    const char* type = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 1));
    const char* sql = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 2));
    std::string create = sql ? sql : "";
    for (char& c : create) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    if (!name || !type || std::string_view(type) != "table" ||
        create.rfind("CREATE TABLE", 0) != 0) {
      return fail("\"" + tableName_ + "\" in the table data is not an ordinary table");
    }
    storedName = name;
  }

  // The columns, in their order.
  std::vector<FieldDef> fields;
  {
    Statement columns(db, "SELECT name, type, hidden FROM pragma_table_xinfo(?1)");
    if (!columns) return engineFail("Cannot read the table's columns");
    sqlite3_bind_text(columns.get(), 1, storedName.c_str(), -1, SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(columns.get())) == SQLITE_ROW) {
      const char* name = reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0));
      const char* type = reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1));
      if (!name) return fail("The table has a column without a name");
      if (sqlite3_column_int(columns.get(), 2) != 0) {
        return fail(std::string("Column \"") + name + "\" is computed, not stored");
      }
      FieldDef def;
      def.name = name;
      if (!FieldTypeOf(type ? type : "", &def.type)) {
        return fail(std::string("Column \"") + name + "\" has the type \"" + (type ? type : "") +
                    "\", which a table cannot hold");
      }
      fields.push_back(std::move(def));
    }
    if (rc != SQLITE_DONE) return engineFail("Cannot read the table's columns");
    if (fields.empty()) return fail("The table \"" + tableName_ + "\" has no columns");
  }

  std::string alias = RowIdAlias(fields);
  if (alias.empty()) return fail("The table's columns hide its row ids");
  std::string sql = "SELECT " + alias;
  for (const FieldDef& f : fields) sql += ", " + Quote(f.name);
  sql += " FROM " + Quote(storedName) + " ORDER BY " + alias;
  Statement select(db, sql);
  if (!select) return engineFail("Cannot read the table's rows");

  std::vector<Row> rows;
  int rc;
  while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
    Row row;
    row.id = sqlite3_column_int64(select.get(), 0);
    row.values.resize(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
      int column = static_cast<int>(i) + 1;
      int kind = sqlite3_column_type(select.get(), column);
      if (kind == SQLITE_NULL) continue;
      if (fields[i].type == FieldType::kInteger) {
        sqlite3_int64 v = sqlite3_column_int64(select.get(), column);
        if (kind != SQLITE_INTEGER || v < std::numeric_limits<int32_t>::min() ||
            v > std::numeric_limits<int32_t>::max()) {
          return fail("Column \"" + fields[i].name + "\" of row " + std::to_string(row.id) +
                      " does not hold a 32-bit integer");
        }
        row.values[i] = static_cast<int32_t>(v);
      } else {
        const void* data = kind == SQLITE_BLOB ? sqlite3_column_blob(select.get(), column)
                                               : sqlite3_column_text(select.get(), column);
        int size = sqlite3_column_bytes(select.get(), column);
        if (!data && size > 0) return engineFail("Cannot read the table's rows");
        row.values[i] = std::string(static_cast<const char*>(data), static_cast<size_t>(size));
      }
    }
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) return engineFail("Cannot read the table's rows");

  // Everything read: replace the content.
  loadFailure_ = LoadFailure::kNone;
  fields_ = std::move(fields);
  rows_ = std::move(rows);
  indexes_.clear();
  ordering_ = Order{};
  BuildOrder(ordering_);
  nextId_ = rows_.empty() ? 1 : rows_.back().id + 1;
  state_ = State::kBrowse;
  buffer_.clear();
  changeCount_ = 0;
  active_ = true;
  First();
  return true;
}

void TableStore::DefineFields(std::vector<FieldDef> fields) { defined_ = std::move(fields); }

bool TableStore::CreateDataSet(std::string* error) {
  if (defined_.empty()) {
    if (error) *error = "No fields defined";
    return false;
  }
  for (size_t i = 0; i < defined_.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (SameName(defined_[i].name, defined_[j].name)) {
        if (error) *error = "Duplicate field name \"" + defined_[i].name + "\"";
        return false;
      }
    }
  }
  fields_ = defined_;
  rows_.clear();
  indexes_.clear();
  ordering_ = Order{};
  nextId_ = 1;
  state_ = State::kBrowse;
  buffer_.clear();
  changeCount_ = 0;
  active_ = true;
  First();
  return true;
}

void TableStore::Close() {
  active_ = false;
  fields_.clear();
  rows_.clear();
  indexes_.clear();
  ordering_ = Order{};
  state_ = State::kBrowse;
  buffer_.clear();
  changeCount_ = 0;
  cursor_ = -1;
  eof_ = bof_ = true;
}

// ---- Indexes and ordering ------------------------------------------------------------------

int TableStore::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (SameName(fields_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

bool TableStore::ParseFieldList(const std::string& list, std::vector<int>* out,
                                std::string* error) const {
  out->clear();
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string name = list.substr(start, end - start);
    int index = FieldIndex(name);
    if (index < 0) {
      if (error) *error = "Field '" + name + "' not found";
      return false;
    }
    out->push_back(index);
    start = end + 1;
  }
  return true;
}

int TableStore::CompareRows(const Order& order, const Row& a, const Row& b) const {
  for (int f : order.fields) {
    int c = CompareValues(a.values[static_cast<size_t>(f)], b.values[static_cast<size_t>(f)]);
    if (c != 0) return c;
  }
  return a.id < b.id ? -1 : (a.id > b.id ? 1 : 0);
}

void TableStore::InsertInto(Order& order, uint32_t row) {
  auto at = std::upper_bound(
      order.rows.begin(), order.rows.end(), row,
      [&](uint32_t a, uint32_t b) { return CompareRows(order, rows_[a], rows_[b]) < 0; });
  order.rows.insert(at, row);
}

void TableStore::EraseFrom(Order& order, uint32_t row) {
  auto at = std::lower_bound(
      order.rows.begin(), order.rows.end(), row,
      [&](uint32_t a, uint32_t b) { return CompareRows(order, rows_[a], rows_[b]) < 0; });
  if (at != order.rows.end() && *at == row) order.rows.erase(at);
}

void TableStore::BuildOrder(Order& order) {
  order.rows.resize(rows_.size());
  for (size_t i = 0; i < rows_.size(); ++i) order.rows[i] = static_cast<uint32_t>(i);
  std::sort(order.rows.begin(), order.rows.end(),
            [&](uint32_t a, uint32_t b) { return CompareRows(order, rows_[a], rows_[b]) < 0; });
}

bool TableStore::PrimaryConflict(const Index& index, const std::vector<FieldValue>& values,
                                 int64_t ownId) const {
  auto keyLess = [&](uint32_t row, int) {
    for (int f : index.order.fields) {
      int c =
          CompareValues(rows_[row].values[static_cast<size_t>(f)], values[static_cast<size_t>(f)]);
      if (c != 0) return c < 0;
    }
    return false;
  };
  auto it = std::lower_bound(index.order.rows.begin(), index.order.rows.end(), 0, keyLess);
  for (; it != index.order.rows.end(); ++it) {
    bool equal = true;
    for (int f : index.order.fields) {
      if (CompareValues(rows_[*it].values[static_cast<size_t>(f)],
                        values[static_cast<size_t>(f)]) != 0) {
        equal = false;
        break;
      }
    }
    if (!equal) return false;
    if (rows_[*it].id != ownId) return true;
  }
  return false;
}

bool TableStore::AddIndex(const std::string& name, const std::string& fields,
                          const std::string& options, std::string* error) {
  if (!active_) {
    if (error) *error = "Cannot perform this operation on a closed dataset";
    return false;
  }
  for (const Index& index : indexes_) {
    if (SameName(index.name, name)) {
      if (error) *error = "Index '" + name + "' already exists";
      return false;
    }
  }
  if (!options.empty() && !SameName(options, "primary")) {
    if (error) *error = "Unknown index option '" + options + "'";
    return false;
  }
  Index index;
  index.name = name;
  index.primary = !options.empty();
  if (!ParseFieldList(fields, &index.order.fields, error)) return false;
  BuildOrder(index.order);
  if (index.primary) {
    for (size_t i = 1; i < index.order.rows.size(); ++i) {
      const Row& a = rows_[index.order.rows[i - 1]];
      const Row& b = rows_[index.order.rows[i]];
      bool equal = true;
      for (int f : index.order.fields) {
        if (CompareValues(a.values[static_cast<size_t>(f)], b.values[static_cast<size_t>(f)])) {
          equal = false;
        }
      }
      if (equal) {
        if (error) *error = "Key violation: two rows share the key of index '" + name + "'";
        return false;
      }
    }
  }
  indexes_.push_back(std::move(index));
  return true;
}

bool TableStore::SetOrdering(const std::string& fields, std::string* error) {
  if (!active_) {
    if (error) *error = "Cannot perform this operation on a closed dataset";
    return false;
  }
  Order order;
  if (!fields.empty() && !ParseFieldList(fields, &order.fields, error)) return false;
  int current = cursor_ >= 0 ? static_cast<int>(ordering_.rows[static_cast<size_t>(cursor_)]) : -1;
  BuildOrder(order);
  ordering_ = std::move(order);
  if (current >= 0) {
    auto at =
        std::find(ordering_.rows.begin(), ordering_.rows.end(), static_cast<uint32_t>(current));
    cursor_ = static_cast<int>(at - ordering_.rows.begin());
  }
  return true;
}

bool TableStore::FindKey(const std::vector<FieldValue>& key) {
  if (!active_ || key.empty() || key.size() > ordering_.fields.size()) return false;
  LeaveEdit();
  auto compareKey = [&](uint32_t row) {
    for (size_t i = 0; i < key.size(); ++i) {
      int c = CompareValues(rows_[row].values[static_cast<size_t>(ordering_.fields[i])], key[i]);
      if (c != 0) return c;
    }
    return 0;
  };
  auto it = std::lower_bound(ordering_.rows.begin(), ordering_.rows.end(), 0,
                             [&](uint32_t row, int) { return compareKey(row) < 0; });
  if (it == ordering_.rows.end() || compareKey(*it) != 0) return false;
  SetCursor(static_cast<int>(it - ordering_.rows.begin()));
  return true;
}

// ---- Cursor --------------------------------------------------------------------------------

void TableStore::SetCursor(int position) {
  cursor_ = position;
  bof_ = eof_ = false;
}

void TableStore::LeaveEdit() {
  if (state_ != State::kBrowse && !Post(nullptr)) Cancel();
}

bool TableStore::LeaveEditForMove() {
  LeaveEdit();
  if (!rows_.empty()) return true;
  cursor_ = -1;
  bof_ = eof_ = true;
  return false;
}

void TableStore::First() {
  if (!LeaveEditForMove()) return;
  cursor_ = 0;
  bof_ = true;
  eof_ = false;
}

void TableStore::Next() {
  if (!LeaveEditForMove()) return;
  bof_ = false;
  if (cursor_ + 1 < static_cast<int>(rows_.size())) {
    ++cursor_;
    eof_ = false;
  } else {
    eof_ = true;
  }
}

void TableStore::Last() {
  if (!LeaveEditForMove()) return;
  cursor_ = static_cast<int>(rows_.size()) - 1;
  bof_ = false;
  eof_ = true;
}

// ---- Changing rows -------------------------------------------------------------------------

bool TableStore::Append() {
  if (!active_ || state_ != State::kBrowse) return false;
  buffer_.assign(fields_.size(), FieldValue{});
  state_ = State::kInsert;
  return true;
}

bool TableStore::Edit() {
  if (!active_ || state_ != State::kBrowse || cursor_ < 0) return false;
  buffer_ = rows_[ordering_.rows[static_cast<size_t>(cursor_)]].values;
  state_ = State::kEdit;
  return true;
}

bool TableStore::Post(std::string* error) {
  if (state_ == State::kBrowse) {
    if (error) *error = "Dataset not in edit or insert mode";
    return false;
  }
  uint32_t row;
  if (state_ == State::kInsert) {
    for (const Index& index : indexes_) {
      if (index.primary && PrimaryConflict(index, buffer_, -1)) {
        if (error) *error = "Key violation in index '" + index.name + "'";
        return false;
      }
    }
    row = static_cast<uint32_t>(rows_.size());
    rows_.push_back(Row{nextId_++, std::move(buffer_)});
  } else {
    row = ordering_.rows[static_cast<size_t>(cursor_)];
    for (const Index& index : indexes_) {
      if (index.primary && PrimaryConflict(index, buffer_, rows_[row].id)) {
        if (error) *error = "Key violation in index '" + index.name + "'";
        return false;
      }
    }
    EraseFrom(ordering_, row);
    for (Index& index : indexes_) EraseFrom(index.order, row);
    rows_[row].values = std::move(buffer_);
  }
  InsertInto(ordering_, row);
  for (Index& index : indexes_) InsertInto(index.order, row);
  buffer_.clear();
  state_ = State::kBrowse;
  ++changeCount_;
  auto at = std::lower_bound(
      ordering_.rows.begin(), ordering_.rows.end(), row,
      [&](uint32_t a, uint32_t b) { return CompareRows(ordering_, rows_[a], rows_[b]) < 0; });
  SetCursor(static_cast<int>(at - ordering_.rows.begin()));
  return true;
}

void TableStore::Cancel() {
  buffer_.clear();
  state_ = State::kBrowse;
}

bool TableStore::SetValue(std::string_view field, FieldValue value) {
  if (state_ == State::kBrowse) return false;
  int index = FieldIndex(field);
  if (index < 0) return false;
  buffer_[static_cast<size_t>(index)] = std::move(value);
  return true;
}

bool TableStore::SetInteger(std::string_view field, int32_t value) {
  int index = FieldIndex(field);
  if (index >= 0 && fields_[static_cast<size_t>(index)].type != FieldType::kInteger) {
    return SetValue(field, std::to_string(value));
  }
  return SetValue(field, value);
}

bool TableStore::SetString(std::string_view field, std::string value) {
  int index = FieldIndex(field);
  if (index >= 0 && fields_[static_cast<size_t>(index)].type == FieldType::kInteger) {
    int32_t number = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end != value.data() + value.size()) return false;
    return SetValue(field, number);
  }
  return SetValue(field, std::move(value));
}

bool TableStore::SetNull(std::string_view field) { return SetValue(field, FieldValue{}); }

// ---- Reading -------------------------------------------------------------------------------

const FieldValue* TableStore::CurrentValue(std::string_view field) const {
  return CurrentValueAt(FieldIndex(field));
}

const FieldValue* TableStore::CurrentValueAt(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= fields_.size()) return nullptr;
  if (state_ != State::kBrowse) return &buffer_[static_cast<size_t>(index)];
  if (cursor_ < 0) return nullptr;
  return &rows_[ordering_.rows[static_cast<size_t>(cursor_)]].values[static_cast<size_t>(index)];
}

bool TableStore::HasField(std::string_view field) const { return FieldIndex(field) >= 0; }

bool TableStore::IsNull(std::string_view field) const {
  const FieldValue* value = CurrentValue(field);
  return !value || std::holds_alternative<std::monostate>(*value);
}

int32_t TableStore::AsInteger(std::string_view field) const {
  return AsIntegerAt(FieldIndex(field));
}

int32_t TableStore::AsIntegerAt(int position) const {
  const FieldValue* value = CurrentValueAt(position);
  if (!value) return 0;
  if (const auto* i = std::get_if<int32_t>(value)) return *i;
  if (const auto* s = std::get_if<std::string>(value)) {
    int32_t number = 0;
    auto [end, ec] = std::from_chars(s->data(), s->data() + s->size(), number);
    if (ec == std::errc() && end == s->data() + s->size()) return number;
  }
  return 0;
}

std::string TableStore::AsString(std::string_view field) const {
  const FieldValue* value = CurrentValue(field);
  if (!value) return {};
  if (const auto* i = std::get_if<int32_t>(value)) return std::to_string(*i);
  if (const auto* s = std::get_if<std::string>(value)) return *s;
  return {};
}

// ---- Saving --------------------------------------------------------------------------------

bool TableStore::SaveToFile(const std::string& path, std::string* error) {
  if (!active_) {
    if (error) *error = "Cannot save a closed dataset";
    return false;
  }
  const std::string temp = path + ".saving";
  ::unlink(temp.c_str());
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    ::unlink(temp.c_str());
    return false;
  };
  {
    Connection db;
    if (sqlite3_open_v2(temp.c_str(), db.out(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
      return fail("Cannot create \"" + temp +
                  "\": " + (db.get() ? sqlite3_errmsg(db.get()) : "out of memory"));
    }
    // The file is renamed into place only when complete, so it needs no journal of its own.
    std::string message;
    if (!Exec(db.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", &message)) {
      return fail("Cannot write \"" + temp + "\": " + message);
    }
    std::string create = "CREATE TABLE " + Quote(tableName_) + " (";
    std::string alias = RowIdAlias(fields_);
    std::string insert = "INSERT INTO " + Quote(tableName_) + " (";
    std::string slots;
    if (!alias.empty()) {
      insert += alias;
      slots = "?";
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
      create += (i ? ", " : "") + Quote(fields_[i].name) + " " + TypeName(fields_[i].type);
      insert += (i || !alias.empty() ? ", " : "") + Quote(fields_[i].name);
      slots += (i || !alias.empty() ? ", ?" : "?");
    }
    create += ")";
    insert += ") VALUES (" + slots + ")";
    if (!Exec(db.get(), create.c_str(), &message)) {
      return fail("Cannot write \"" + temp + "\": " + message);
    }
    Statement statement(db.get(), insert);
    if (!statement) return fail("Cannot write \"" + temp + "\": " + sqlite3_errmsg(db.get()));
    for (const Row& row : rows_) {
      sqlite3_reset(statement.get());
      int slot = 1;
      if (!alias.empty()) sqlite3_bind_int64(statement.get(), slot++, row.id);
      for (const FieldValue& value : row.values) BindValue(statement.get(), slot++, value);
      if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        return fail("Cannot write \"" + temp + "\": " + sqlite3_errmsg(db.get()));
      }
    }
    if (!Exec(db.get(), "COMMIT", &message)) {
      return fail("Cannot write \"" + temp + "\": " + message);
    }
  }
  if (!SyncPath(temp, O_RDONLY)) return fail("Cannot flush \"" + temp + "\" to disk");
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    return fail("Cannot replace \"" + path + "\": " + std::strerror(errno));
  }
  SyncPath(DirectoryOf(path), O_RDONLY | O_DIRECTORY);
  return true;
}

}  // namespace zendra
