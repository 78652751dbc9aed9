#include "tests/library/library_test_util.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <zip.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zendra::test {

std::vector<std::string> ProblemColumns() {
  return {"Auto1",   "Group1",      "Level1",        "Num",       "ArrangedBlack", "ArrangedWhite",
          "Initial", "FirstToPlay", "Flag",          "NotGood",   "Solution",      "Tag",
          "Id1",     "Result2",     "SenteGoteKind", "ValueKind", "Value1",        "Value2"};
}

namespace {

const char* ColumnType(const std::string& column) {
  if (column == "ArrangedBlack" || column == "ArrangedWhite" || column == "Initial") {
    return "VARCHAR(254)";
  }
  if (column == "FirstToPlay") return "VARCHAR(1)";
  if (column == "Solution") return "BLOB";
  return "INTEGER";
}

std::string Serialize(sqlite3* db) {
  sqlite3_int64 size = 0;
  unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
  if (!data) throw std::runtime_error("serialize failed");
  std::string image(reinterpret_cast<char*>(data), static_cast<size_t>(size));
  sqlite3_free(data);
  return image;
}

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
}

}  // namespace

std::string ProblemImage(const std::vector<ProblemRow>& rows, const std::string& omit) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  std::vector<std::string> columns;
  for (const std::string& c : ProblemColumns()) {
    if (c != omit) columns.push_back(c);
  }
  std::string create = "CREATE TABLE Problems (";
  std::string insert = "INSERT INTO Problems (";
  std::string slots;
  for (size_t i = 0; i < columns.size(); ++i) {
    create += (i ? ", " : "") + columns[i] + " " + ColumnType(columns[i]);
    insert += (i ? ", " : "") + columns[i];
    slots += i ? ", ?" : "?";
  }
  Check(sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr), db);
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db, (insert + ") VALUES (" + slots + ")").c_str(), -1, &stmt, nullptr),
        db);
  for (const ProblemRow& row : rows) {
    sqlite3_reset(stmt);
    for (size_t i = 0; i < columns.size(); ++i) {
      int slot = static_cast<int>(i) + 1;
      const std::string& c = columns[i];
      auto text = [&](const std::string& s) {
        sqlite3_bind_text(stmt, slot, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
      };
      if (c == "Auto1")
        sqlite3_bind_int(stmt, slot, row.auto1);
      else if (c == "Group1")
        sqlite3_bind_int(stmt, slot, row.group);
      else if (c == "Level1")
        sqlite3_bind_int(stmt, slot, row.level);
      else if (c == "Num")
        sqlite3_bind_int(stmt, slot, row.num);
      else if (c == "ArrangedBlack")
        text(row.black);
      else if (c == "ArrangedWhite")
        text(row.white);
      else if (c == "Initial")
        text(row.initial);
      else if (c == "FirstToPlay")
        text(row.first);
      else if (c == "Solution") {
        sqlite3_bind_blob(stmt, slot, row.solution.data(), static_cast<int>(row.solution.size()),
                          SQLITE_TRANSIENT);
      } else if (c == "Result2") {
        if (row.result2)
          sqlite3_bind_int(stmt, slot, *row.result2);
        else
          sqlite3_bind_null(stmt, slot);
      } else {
        sqlite3_bind_int(stmt, slot, 7);
      }
    }
    Check(sqlite3_step(stmt), db);
  }
  sqlite3_finalize(stmt);
  std::string image = Serialize(db);
  sqlite3_close(db);
  return image;
}

std::string DatabaseImage(const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db);
  std::string image = Serialize(db);
  sqlite3_close(db);
  return image;
}

std::string ZipWith(const std::string& name, const std::string& data, bool deflate) {
  TempDir dir;
  std::string path = dir.Path("archive.zip");
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) throw std::runtime_error("zip_open failed");
  zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
  zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
  zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                           deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
  if (zip_close(archive) != 0) throw std::runtime_error("zip_close failed");
  return ReadFile(path);
}

uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : data) {
    crc ^= byte;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string RawZip(const std::string& name, const std::string& data, uint32_t claimed_size,
                   uint32_t claimed_compressed_size, uint16_t method, uint32_t crc) {
  std::string out;
  auto u16 = [&](uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  auto common = [&]() {
    u16(20);  // version needed
    u16(0);   // flags
    u16(method);
    u16(0);     // time
    u16(0x21);  // date: 1980-01-01
    u32(crc);
    u32(claimed_compressed_size);
    u32(claimed_size);
    u16(static_cast<uint32_t>(name.size()));
    u16(0);  // extra length
  };
  u32(0x04034b50);
  common();
  out += name;
  out += data;
  uint32_t directory = static_cast<uint32_t>(out.size());
  u32(0x02014b50);
  u16(20);  // version made by
  common();
  u16(0);  // comment length
  u16(0);  // disk
  u16(0);  // internal attributes
  u32(0);  // external attributes
  u32(0);  // local header offset
  out += name;
  uint32_t directory_size = static_cast<uint32_t>(out.size()) - directory;
  u32(0x06054b50);
  u16(0);
  u16(0);
  u16(1);
  u16(1);
  u32(directory_size);
  u32(directory);
  u16(0);
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zendra-lib-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

}  // namespace zendra::test
