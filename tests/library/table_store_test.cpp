#include "library/table_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/library/library_test_util.h"

namespace zendra {
namespace {

using test::DatabaseImage;
using test::TempDir;

// A table "T" with fields A, B (integers) and S (string), filled with `rows` of (A, B, S).
struct Triple {
  int a;
  int b;
  std::string s;
};

void Fill(TableStore& table, const std::vector<Triple>& rows) {
  table.DefineFields(
      {{"A", FieldType::kInteger}, {"B", FieldType::kInteger}, {"S", FieldType::kString}});
  ASSERT_TRUE(table.CreateDataSet(nullptr));
  for (const Triple& row : rows) {
    ASSERT_TRUE(table.Append());
    table.SetInteger("A", row.a);
    table.SetInteger("B", row.b);
    table.SetString("S", row.s);
    ASSERT_TRUE(table.Post(nullptr));
  }
}

std::vector<std::string> Walk(TableStore& table) {
  std::vector<std::string> seen;
  for (table.First(); !table.Eof(); table.Next()) seen.push_back(table.AsString("S"));
  return seen;
}

TEST(TableStoreTest, OrderingSortsByFieldsAndKeepsStorageOrderOnTies) {
  TableStore table("T");
  Fill(table, {{2, 1, "a"}, {1, 5, "b"}, {2, 0, "c"}, {1, 5, "d"}, {0, 9, "e"}});
  EXPECT_EQ(Walk(table), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  ASSERT_TRUE(table.SetOrdering("A;B", nullptr));
  EXPECT_EQ(Walk(table), (std::vector<std::string>{"e", "b", "d", "c", "a"}));
  ASSERT_TRUE(table.SetOrdering("a", nullptr)) << "field names ignore case";
  EXPECT_EQ(Walk(table), (std::vector<std::string>{"e", "b", "d", "a", "c"}));
  std::string error;
  EXPECT_FALSE(table.SetOrdering("A;Nope", &error));
  EXPECT_EQ(error, "Field 'Nope' not found");
}

TEST(TableStoreTest, FindKeyMatchesLeadingFieldsOnTheFirstRow) {
  TableStore table("T");
  Fill(table, {{2, 7, "a"}, {1, 5, "b"}, {2, 3, "c"}, {3, 1, "d"}});
  ASSERT_TRUE(table.SetOrdering("A;B", nullptr));
  ASSERT_TRUE(table.FindKey({FieldValue{int32_t{2}}}));
  EXPECT_EQ(table.AsString("S"), "c");  // first of A = 2 in the order A;B
  ASSERT_TRUE(table.FindKey({FieldValue{int32_t{2}}, FieldValue{int32_t{7}}}));
  EXPECT_EQ(table.AsString("S"), "a");
  EXPECT_FALSE(table.FindKey({FieldValue{int32_t{2}}, FieldValue{int32_t{4}}}));
  EXPECT_EQ(table.AsString("S"), "a") << "a failed find leaves the cursor";
  EXPECT_FALSE(table.FindKey({FieldValue{int32_t{9}}}));
  EXPECT_FALSE(table.FindKey({FieldValue{int32_t{1}}, FieldValue{int32_t{5}}, FieldValue{}}))
      << "more values than ordering fields";
  // Walking on from a find continues in the ordering.
  ASSERT_TRUE(table.FindKey({FieldValue{int32_t{2}}}));
  table.Next();
  EXPECT_EQ(table.AsString("S"), "a");
}

TEST(TableStoreTest, CursorFlags) {
  TableStore table("T");
  EXPECT_TRUE(table.Eof() && table.Bof()) << "closed";
  Fill(table, {});
  table.First();
  EXPECT_TRUE(table.Eof() && table.Bof()) << "empty";
  EXPECT_FALSE(table.Edit());

  Fill(table, {{1, 0, "x"}, {2, 0, "y"}});
  table.First();
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
  table.Next();
  EXPECT_FALSE(table.Bof());
  EXPECT_FALSE(table.Eof());
  EXPECT_EQ(table.AsString("S"), "y");
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.AsString("S"), "y") << "next on the last row stays";
  table.First();
  table.Last();
  EXPECT_TRUE(table.Eof());
  EXPECT_FALSE(table.Bof());
  EXPECT_EQ(table.AsString("S"), "y");
}

TEST(TableStoreTest, AppendEditPostAndChangeCount) {
  TableStore table("T");
  Fill(table, {{1, 0, "x"}});
  EXPECT_EQ(table.ChangeCount(), 1);
  std::string error;
  EXPECT_FALSE(table.Post(&error)) << "nothing open";
  EXPECT_FALSE(table.SetInteger("A", 3)) << "writing needs an open row";

  ASSERT_TRUE(table.SetOrdering("B", nullptr));
  ASSERT_TRUE(table.Append());
  EXPECT_TRUE(table.IsNull("A")) << "a new row starts null";
  table.SetInteger("B", -4);
  ASSERT_TRUE(table.Post(nullptr));
  EXPECT_EQ(table.AsInteger("B"), -4) << "the cursor stands on the posted row";
  EXPECT_EQ(table.AsInteger("A"), 0) << "null reads as 0";
  EXPECT_EQ(table.AsString("S"), "") << "null reads as empty";
  EXPECT_TRUE(table.IsNull("S"));

  ASSERT_TRUE(table.Edit());
  table.SetInteger("B", 50);
  table.Cancel();
  EXPECT_EQ(table.AsInteger("B"), -4);
  EXPECT_EQ(table.ChangeCount(), 2);

  ASSERT_TRUE(table.Edit());
  table.SetInteger("B", 50);
  ASSERT_TRUE(table.Post(nullptr));
  EXPECT_EQ(table.ChangeCount(), 3);
  table.First();
  EXPECT_EQ(table.AsString("S"), "x") << "the edited row moved in the ordering";
  table.MergeChangeLog();
  EXPECT_EQ(table.ChangeCount(), 0);
}

TEST(TableStoreTest, PrimaryIndexRefusesDuplicateKeys) {
  TableStore table("T");
  Fill(table, {{1, 0, "x"}, {2, 0, "y"}});
  std::string error;
  ASSERT_TRUE(table.AddIndex("ByA", "A", "primary", &error)) << error;
  EXPECT_FALSE(table.AddIndex("ByA", "B", "", &error)) << "name taken";
  ASSERT_TRUE(table.Append());
  table.SetInteger("A", 2);
  EXPECT_FALSE(table.Post(&error));
  EXPECT_NE(error.find("Key violation"), std::string::npos);
  table.SetInteger("A", 3);
  EXPECT_TRUE(table.Post(nullptr));
  ASSERT_TRUE(table.SetOrdering("A", nullptr));
  ASSERT_TRUE(table.FindKey({FieldValue{int32_t{1}}}));
  ASSERT_TRUE(table.Edit());
  table.SetInteger("A", 3);
  EXPECT_FALSE(table.Post(&error)) << "an edit may not take another row's key";
  table.SetInteger("A", 1);
  EXPECT_TRUE(table.Post(&error)) << "keeping its own key is fine";

  TableStore twins("T");
  Fill(twins, {{1, 0, "x"}, {1, 1, "y"}});
  EXPECT_FALSE(twins.AddIndex("ByA", "A", "primary", &error));
  EXPECT_TRUE(twins.AddIndex("ByA", "A", "", &error)) << "a plain index allows them";
}

TEST(TableStoreTest, SaveAndLoadKeepEveryValue) {
  TempDir dir;
  const std::string path = dir.Path("t.cds");
  TableStore table("T");
  table.DefineFields(
      {{"N", FieldType::kInteger}, {"S", FieldType::kString}, {"L", FieldType::kBlob}});
  ASSERT_TRUE(table.CreateDataSet(nullptr));
  const std::string blob("\x00\xFF\x80 \x01", 5);
  ASSERT_TRUE(table.Append());
  table.SetInteger("N", INT32_MIN);
  table.SetString("S", "\xCB\xC0");
  table.SetString("L", blob);
  ASSERT_TRUE(table.Post(nullptr));
  ASSERT_TRUE(table.Append());
  table.SetInteger("N", INT32_MAX);
  table.SetString("S", "");
  ASSERT_TRUE(table.Post(nullptr));
  std::string error;
  ASSERT_TRUE(table.SaveToFile(path, &error)) << error;

  TableStore loaded("T");
  ASSERT_TRUE(loaded.LoadFromFile(path, &error)) << error;
  EXPECT_EQ(loaded.ChangeCount(), 0);
  ASSERT_EQ(loaded.RecordCount(), 2);
  ASSERT_EQ(loaded.Fields().size(), 3u);
  EXPECT_EQ(loaded.Fields()[2].type, FieldType::kBlob);
  loaded.First();
  EXPECT_EQ(loaded.AsInteger("N"), INT32_MIN);
  EXPECT_EQ(loaded.AsString("S"), "\xCB\xC0");
  EXPECT_EQ(loaded.ReadBlob("L"), blob);
  loaded.Next();
  EXPECT_EQ(loaded.AsInteger("N"), INT32_MAX);
  EXPECT_FALSE(loaded.IsNull("S")) << "empty text is not null";
  EXPECT_TRUE(loaded.IsNull("L"));
  EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
}

TEST(TableStoreTest, RefusedLoadsLeaveTheTableAsItWas) {
  struct Case {
    const char* what;
    std::string image;
    const char* message_part;
  };
  const std::vector<Case> cases = {
      {"garbage", std::string(600, 'x'), "not a database"},
      {"no such table", DatabaseImage("CREATE TABLE Other(A INTEGER)"), "no table \"T\""},
      {"a view", DatabaseImage("CREATE TABLE X(A INTEGER); CREATE VIEW T AS SELECT A FROM X"),
       "not an ordinary table"},
      {"beyond 32 bits",
       DatabaseImage("CREATE TABLE T(A INTEGER); INSERT INTO T VALUES(1);"
                     "INSERT INTO T VALUES(4294967296)"),
       "does not hold a 32-bit integer"},
      {"text in an integer column",
       DatabaseImage("CREATE TABLE T(A INTEGER); INSERT INTO T VALUES('x')"),
       "does not hold a 32-bit integer"},
      {"real column", DatabaseImage("CREATE TABLE T(A REAL)"), "cannot hold"},
      {"computed column", DatabaseImage("CREATE TABLE T(A INTEGER, B INTEGER AS (A + 1))"),
       "computed"},
      {"without row ids", DatabaseImage("CREATE TABLE T(A INTEGER PRIMARY KEY, B) WITHOUT ROWID"),
       "Cannot read"},
      {"empty", "", "empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TableStore table("T");
    Fill(table, {{1, 2, "kept"}});
    std::string error;
    EXPECT_FALSE(table.LoadFromBytes(c.image, &error));
    EXPECT_NE(error.find(c.message_part), std::string::npos) << error;
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.AsString("S"), "kept");
  }
  TableStore table("T");
  std::string error;
  EXPECT_FALSE(table.LoadFromFile("/nonexistent/t.cds", &error));
  EXPECT_NE(error.find("no such file"), std::string::npos);
  EXPECT_FALSE(table.Active());
}

TEST(TableStoreTest, LoadsTablesMadeByOrdinarySqlite) {
  // Declared types follow SQLite's affinity names; the rows keep their row ids.
  TableStore table("t");
  std::string error;
  ASSERT_TRUE(table.LoadFromBytes(
      DatabaseImage("CREATE TABLE T(N BIGINT, S VARCHAR(254), L BLOB, X);"
                    "INSERT INTO T(rowid, N, S, L, X) VALUES(10, 5, 'ab', x'00ff', NULL);"
                    "INSERT INTO T(rowid, N, S, L, X) VALUES(3, NULL, NULL, NULL, 'q')"),
      &error))
      << error;
  ASSERT_EQ(table.RecordCount(), 2);
  table.First();
  EXPECT_TRUE(table.IsNull("N")) << "rows come in row-id order";
  EXPECT_EQ(table.AsString("X"), "q");
  table.Next();
  EXPECT_EQ(table.AsInteger("N"), 5);
  EXPECT_EQ(table.ReadBlob("L"), std::string("\x00\xFF", 2));
}

TEST(TableStoreTest, PersistCurrentRowWritesOneRowDurably) {
  TempDir dir;
  const std::string path = dir.Path("t.cds");
  TableStore table("T");
  Fill(table, {{1, 0, "x"}, {2, 0, "y"}});
  std::string error;
  ASSERT_TRUE(table.PersistCurrentRow(path, &error)) << "no file yet: all rows are written";
  ASSERT_TRUE(table.SetOrdering("A", nullptr));
  ASSERT_TRUE(table.FindKey({FieldValue{int32_t{2}}}));
  ASSERT_TRUE(table.Edit());
  table.SetInteger("B", 99);
  ASSERT_TRUE(table.Post(nullptr));
  ASSERT_TRUE(table.Append());
  table.SetInteger("A", 3);
  ASSERT_TRUE(table.Post(nullptr));
  ASSERT_TRUE(table.PersistCurrentRow(path, &error)) << error;
  ASSERT_TRUE(table.FindKey({FieldValue{int32_t{2}}}));
  ASSERT_TRUE(table.PersistCurrentRow(path, &error)) << error;

  TableStore reread("T");
  ASSERT_TRUE(reread.LoadFromFile(path, &error)) << error;
  ASSERT_EQ(reread.RecordCount(), 3);
  ASSERT_TRUE(reread.SetOrdering("A", nullptr));
  ASSERT_TRUE(reread.FindKey({FieldValue{int32_t{2}}}));
  EXPECT_EQ(reread.AsInteger("B"), 99);
  EXPECT_EQ(reread.AsString("S"), "y");
  EXPECT_TRUE(reread.FindKey({FieldValue{int32_t{3}}}));
}

// A child process saves two different tables over one file, again and again, and is killed at
// an arbitrary moment: the file must always load whole as one of them.
TEST(TableStoreTest, KillDuringSaveLeavesOldOrNewFile) {
  TempDir dir;
  const std::string path = dir.Path("t.cds");
  auto make = [](TableStore& table, int value, int rows) {
    table.DefineFields({{"A", FieldType::kInteger}, {"S", FieldType::kString}});
    ASSERT_TRUE(table.CreateDataSet(nullptr));
    for (int i = 0; i < rows; ++i) {
      ASSERT_TRUE(table.Append());
      table.SetInteger("A", value);
      table.SetString("S", std::string(200, static_cast<char>('a' + value)));
      ASSERT_TRUE(table.Post(nullptr));
    }
  };
  TableStore old_table("T");
  TableStore new_table("T");
  make(old_table, 1, 1500);
  make(new_table, 2, 2500);
  ASSERT_TRUE(old_table.SaveToFile(path, nullptr));

  for (int round = 0; round < 12; ++round) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) (i % 2 ? old_table : new_table).SaveToFile(path, nullptr);
    }
    usleep(static_cast<useconds_t>(3000 + round * 2700));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    TableStore loaded("T");
    std::string error;
    ASSERT_TRUE(loaded.LoadFromFile(path, &error)) << "round " << round << ": " << error;
    const int value = (loaded.First(), loaded.AsInteger("A"));
    ASSERT_TRUE(value == 1 || value == 2) << value;
    EXPECT_EQ(loaded.RecordCount(), value == 1 ? 1500 : 2500) << "round " << round;
    for (; !loaded.Eof(); loaded.Next()) ASSERT_EQ(loaded.AsInteger("A"), value);
  }
}

}  // namespace
}  // namespace zendra
