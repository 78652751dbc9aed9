// An in-memory table with named fields, orderings, a cursor and a change count, stored in
// SQLite: a table file is an SQLite database holding one ordinary (rowid) table whose name is
// the store's table name; INTEGER columns are 32-bit integers, TEXT columns strings, BLOB
// columns large objects.
//
// The rows live in memory. A file or a database image in memory is read whole into the rows;
// saving writes the whole table into a new file and renames it over the old one, so the file on
// disk is always either the old table or the new one. (The history writes its changes into its
// file itself, row by row: see history_file.h.)
//
// Refusals never throw: operations return false and, where they take one, fill an error text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;

namespace zendra {

enum class FieldType { kInteger, kString, kBlob };

// One field definition: its name and its type.
struct FieldDef {
  std::string name;
  FieldType type = FieldType::kInteger;
};

// A stored value: null, a 32-bit signed integer, or bytes (a string or a large object).
using FieldValue = std::variant<std::monostate, int32_t, std::string>;

// The longest string or large object a table holds unless told otherwise.
inline constexpr int kDefaultMaxValueBytes = 256 * 1024 * 1024;

// Checks the first bytes of an SQLite database image of `size` bytes: the SQLite header, a valid
// page size, and a size that agrees with the page count the header gives. Lets a caller refuse
// garbage from its first 100 bytes, before reading the rest. False with the reason otherwise.
bool CheckDatabaseHeader(std::string_view head, uint64_t size, std::string* error);

// Why a load failed: the content was refused (not a table of this format), or the file could
// not be read now (locked by another program past the wait, an I/O error, no memory, no
// permission) and may well be readable later.
enum class LoadFailure { kNone, kRefused, kUnavailable };

class TableStore {
 public:
  // A closed table whose file holds the table `tableName`.
  explicit TableStore(std::string tableName);
  ~TableStore();
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  // The name of the table inside the file.
  const std::string& TableName() const { return tableName_; }

  // ---- Loading and creating --------------------------------------------------------------

  // Replaces fields and rows with the table read from the SQLite file at `path`; indexes and
  // ordering are dropped, the cursor stands on the first row, the change count is 0. On refusal
  // (missing file, not a database, no such table, a value that does not fit its field) or when the
  // file cannot be read, the table stays as it was, `error` carries the reason (naming the file)
  // and LastLoadFailure() says which of the two it was. A file another program holds locked is
  // waited for (BusyWaitMs).
  bool LoadFromFile(const std::string& path, std::string* error);
  // The same from an SQLite database image held in memory (read in place, not copied).
  bool LoadFromBytes(std::string_view bytes, std::string* error);
  // What the last failed load ran into; kNone after a successful one.
  LoadFailure LastLoadFailure() const { return loadFailure_; }
  // Loads refuse a table holding a string or large object longer than `bytes` (at most
  // kDefaultMaxValueBytes), before reading it.
  void SetMaxValueBytes(int bytes);
  // How long LoadFromFile waits for a file another program holds locked (a backup, an sqlite3
  // shell): 10 s unless set.
  int BusyWaitMs() const { return busyWaitMs_; }
  void SetBusyWaitMs(int ms) { busyWaitMs_ = ms; }
  // Sets the field definitions used by the next CreateDataSet.
  void DefineFields(std::vector<FieldDef> fields);
  // Makes an empty, active table with the defined fields; false when none are defined or two
  // share a name.
  bool CreateDataSet(std::string* error);
  // Drops everything: not active, no fields, no rows.
  void Close();

  // ---- Indexes and ordering --------------------------------------------------------------

  // Adds a named index on `fields` ("A;B;C"); `options` is empty or "primary" (no two rows may
  // then share the key). False when a field is unknown, the name is taken, or the rows already
  // break the primary key.
  bool AddIndex(const std::string& name, const std::string& fields, const std::string& options,
                std::string* error);
  // The cursor order becomes that of `fields` ("A;B;C"; empty = storage order); rows with equal
  // keys keep their storage order. The cursor stays on its row. False for an unknown field.
  bool SetOrdering(const std::string& fields, std::string* error);
  // Exact match of `key` against the leading fields of the ordering: true and the cursor on the
  // first matching row, or false and the cursor unchanged (also without an ordering or with
  // more values than ordering fields).
  bool FindKey(const std::vector<FieldValue>& key);

  // ---- Cursor ----------------------------------------------------------------------------

  void First();
  // Moves one row on; on the last row sets end-of-table and stays.
  void Next();
  // Moves to the last row and sets end-of-table.
  void Last();
  // End-of-table and start-of-table; both true when the table is empty or not active.
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // The number of rows.
  int RecordCount() const { return static_cast<int>(rows_.size()); }
  // Whether the table holds data (after a load or a create).
  bool Active() const { return active_; }

  // ---- Changing rows ---------------------------------------------------------------------

  // Starts a new row with every field null; false when the table is not active or a row is
  // already open.
  bool Append();
  // Opens the current row for writing; false when not active, empty, or a row is already open.
  // Moving the cursor posts an open row (or drops it when it cannot be posted).
  bool Edit();
  // Stores the open row and counts one change; the cursor then stands on it. False (row still
  // open) when nothing is open or the row would break a primary key.
  bool Post(std::string* error);
  // Drops the open row's changes.
  void Cancel();
  // Sets a field of the open row; false when no row is open, the field is unknown, or (text
  // into an integer field) the text is not a number.
  bool SetInteger(std::string_view field, int32_t value);
  bool SetString(std::string_view field, std::string value);
  bool SetNull(std::string_view field);

  // ---- Reading the current (or open) row --------------------------------------------------

  // True when the table has that field.
  bool HasField(std::string_view field) const;
  // True when the field is null or unknown.
  bool IsNull(std::string_view field) const;
  // A null or unknown field, or text that is not a number, reads as 0.
  int32_t AsInteger(std::string_view field) const;
  // The position of a field among Fields(), -1 when the table has no field of that name. A
  // field read on many rows is found once by name and then read by its position.
  int FieldPosition(std::string_view field) const { return FieldIndex(field); }
  // AsInteger of the field at `position` (a position out of range reads as 0).
  int32_t AsIntegerAt(int position) const;
  // A null or unknown field reads as empty text; integers as decimal text.
  std::string AsString(std::string_view field) const;
  // The stored bytes of a large object, unchanged.
  std::string ReadBlob(std::string_view field) const { return AsString(field); }
  // The fields of the active table, in their order.
  const std::vector<FieldDef>& Fields() const { return fields_; }

  // ---- Changes and saving ----------------------------------------------------------------

  // Posts since the last load, create or merge.
  int ChangeCount() const { return changeCount_; }
  // Folds the pending changes into the data: the change count becomes 0.
  void MergeChangeLog() { changeCount_ = 0; }
  // Writes the whole table to `path`: a new file beside it, flushed, then renamed over the
  // old one, so a crash leaves the old or the new file whole. False (old file untouched) on
  // any failure; false too for a table that is not active.
  bool SaveToFile(const std::string& path, std::string* error);

 private:
  // A pending append or edit is posted before the cursor moves (cancelled if it cannot be).
  void LeaveEdit();
  // LeaveEdit, then false with the cursor on no row and both end flags set when the table is
  // empty.
  bool LeaveEditForMove();

  struct Row {
    int64_t id = 0;  // the row id in the table file
    std::vector<FieldValue> values;
  };
  struct Order {
    std::vector<int> fields;
    std::vector<uint32_t> rows;  // indexes into rows_, sorted by fields, then id
  };
  struct Index {
    std::string name;
    Order order;
    bool primary = false;
  };
  enum class State { kBrowse, kEdit, kInsert };

  int FieldIndex(std::string_view name) const;
  bool ParseFieldList(const std::string& list, std::vector<int>* out, std::string* error) const;
  int CompareRows(const Order& order, const Row& a, const Row& b) const;
  void InsertInto(Order& order, uint32_t row);
  void EraseFrom(Order& order, uint32_t row);
  void BuildOrder(Order& order);
  bool PrimaryConflict(const Index& index, const std::vector<FieldValue>& values,
                       int64_t ownId) const;
  const FieldValue* CurrentValue(std::string_view field) const;
  const FieldValue* CurrentValueAt(int index) const;
  bool SetValue(std::string_view field, FieldValue value);
  void SetCursor(int position);
  bool LoadFromDatabase(sqlite3* db, std::string* error);

  std::string tableName_;
  bool active_ = false;
  std::vector<FieldDef> defined_;
  std::vector<FieldDef> fields_;
  std::vector<Row> rows_;
  std::vector<Index> indexes_;
  Order ordering_;
  int cursor_ = -1;  // position in ordering_.rows
  bool eof_ = true;
  bool bof_ = true;
  State state_ = State::kBrowse;
  std::vector<FieldValue> buffer_;
  int changeCount_ = 0;
  int64_t nextId_ = 1;
  int maxValueBytes_ = kDefaultMaxValueBytes;
  int busyWaitMs_ = 10000;
  LoadFailure loadFailure_ = LoadFailure::kNone;
};

}  // namespace zendra
