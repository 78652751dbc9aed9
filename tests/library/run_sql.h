// Runs SQL on a file with plain SQLite, the way another program would.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace zendra::test {

inline void Sql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  const std::string text = message ? message : "";
  sqlite3_free(message);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << text;
}

}  // namespace zendra::test
