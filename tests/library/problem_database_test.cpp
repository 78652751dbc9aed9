#include "library/problem_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "library/history.h"
#include "tests/library/library_test_util.h"

namespace zendra {
namespace {

using test::ProblemImage;
using test::ProblemRow;
using test::RawZip;
using test::TempDir;
using test::WriteFile;
using test::ZipWith;

const Localizer kEnglish{};
const Localizer kChinese{Language::kSimplifiedChinese, {}};

class ProblemDatabaseTest : public ::testing::Test {
 protected:
  ProblemDatabaseTest()
      : data_path_(dir_.Path("Zendra.dgo")),
        database_(data_path_),
        history_(dir_.Path("History1.cds"), kEnglish) {
    EXPECT_EQ(history_.Open(), "");
  }

  void WriteDataFile(const std::vector<ProblemRow>& rows) {
    WriteFile(data_path_, ZipWith(kProblemMemberName, ProblemImage(rows)));
  }
  ProblemDatabase::CollectionLoad Open(int group, const Localizer& text = kEnglish) {
    return database_.OpenCollection(group, history_.Table(), text);
  }

  TempDir dir_;
  std::string data_path_;
  ProblemDatabase database_;
  History history_;
};

// Three collections, inserted out of order.
std::vector<ProblemRow> SampleRows() {
  std::vector<ProblemRow> rows;
  auto add = [&](int auto1, int group, int level, int num) {
    ProblemRow row;
    row.auto1 = auto1;
    row.group = group;
    row.level = level;
    row.num = num;
    row.black = "AB" + std::to_string(auto1 % 10);
    rows.push_back(row);
  };
  add(30001, 1, 20, 2);
  add(10, 0, 5, 1);
  add(30002, 1, 20, 1);
  add(11, 1, 19, 9);
  add(40, 2, 25, 1);
  add(41, 2, 24, 1);
  return rows;
}

TEST_F(ProblemDatabaseTest, CollectionLoadListsTheCollectionInLevelAndNumberOrder) {
  std::vector<ProblemRow> rows = SampleRows();
  rows[0].result2.reset();  // 30001: null answer
  rows[0].first = "";       // 30001: no first player
  rows[2].initial = "EEFF";
  rows[2].result2 = 3;
  WriteDataFile(rows);
  auto load = Open(1);
  ASSERT_EQ(load.outcome, ProblemDatabase::Outcome::kLoaded) << load.message;
  EXPECT_EQ(
      database_.ProblemList(),
      (std::vector<std::string>{"000B0 1 AB1 EE  B", "75320 3 AB2 EE EEFF B", "75310  AB1 EE  "}));
  EXPECT_EQ(database_.OpenCollectionNumber(), 1);

  // Every problem of the collection has a history row now; the table is back on "Auto1".
  for (int number : {11, 30001, 30002}) {
    EXPECT_TRUE(history_.PlaceOnProblem(number)) << number;
    EXPECT_TRUE(history_.Table().IsNull("SolvedCount"));
  }
  EXPECT_FALSE(history_.PlaceOnProblem(10)) << "not in the collection";
  ASSERT_TRUE(database_.FindProblem(40));
  EXPECT_EQ(database_.Problems().AsInteger("Group1"), 2);
}

// A list position answers its problem without its entry text being read back, and leaves the
// table's cursor on it; positions outside the list, or a list emptied by a failed load, answer
// nothing.
TEST_F(ProblemDatabaseTest, ListPositionAnswersItsProblem) {
  std::vector<ProblemRow> rows = SampleRows();
  rows[2].initial = "EEFF";  // 30002
  WriteDataFile(rows);
  ASSERT_EQ(Open(1).outcome, ProblemDatabase::Outcome::kLoaded);
  const std::vector<int> expected = {11, 30002, 30001};  // level and Num order
  for (int position = 0; position < 3; ++position) {
    SCOPED_TRACE(position);
    const std::optional<ProblemRecord> problem = database_.ProblemAt(position);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->number, expected[static_cast<size_t>(position)]);
    EXPECT_EQ(ProblemEntry(*problem, false).substr(0, 4),
              database_.ProblemList()[static_cast<size_t>(position)].substr(0, 4));
    EXPECT_EQ(database_.Problems().AsInteger("Auto1"), problem->number);
  }
  EXPECT_EQ(database_.ProblemAt(1)->initial, "EEFF");
  for (int position : {-1, 3}) EXPECT_FALSE(database_.ProblemAt(position)) << position;

  ASSERT_EQ(Open(2).outcome, ProblemDatabase::Outcome::kLoaded);
  EXPECT_EQ(database_.ProblemAt(0)->number, 41);
  EXPECT_FALSE(database_.ProblemAt(2)) << "the list of the new collection holds two";

  WriteFile(data_path_, "not an archive");
  ASSERT_EQ(Open(1).outcome, ProblemDatabase::Outcome::kLoadFailed);
  EXPECT_FALSE(database_.ProblemAt(0)) << "the table is as before, but the list is empty";
}

TEST_F(ProblemDatabaseTest, ReopeningCreatesNoRowsAndShowsSolvedMarks) {
  WriteDataFile(SampleRows());
  ASSERT_EQ(Open(2).outcome, ProblemDatabase::Outcome::kLoaded);
  const int rows = history_.Table().RecordCount();
  const int changes = history_.Table().ChangeCount();
  EXPECT_GE(rows, 2);

  ASSERT_TRUE(history_.PlaceOnProblem(40));
  history_.ShowCounters(0);
  history_.CountSolved();
  ASSERT_EQ(Open(2).outcome, ProblemDatabase::Outcome::kLoaded);
  EXPECT_EQ(history_.Table().RecordCount(), rows);
  EXPECT_EQ(history_.Table().ChangeCount(), changes + 1) << "only the solve";
  EXPECT_EQ(database_.ProblemList(),
            (std::vector<std::string>{"00290 1 AB1 EE  B", "00281 1 AB0 EE  B"}));
}

TEST_F(ProblemDatabaseTest, CollectionWithoutProblemsLoadsEmpty) {
  WriteDataFile(SampleRows());
  for (int group : {-1, 7}) {
    auto load = Open(group);
    EXPECT_EQ(load.outcome, ProblemDatabase::Outcome::kLoaded);
    EXPECT_TRUE(database_.ProblemList().empty());
    EXPECT_EQ(database_.OpenCollectionNumber(), group);
  }
}

TEST_F(ProblemDatabaseTest, MissingDataFileChangesNothing) {
  WriteDataFile(SampleRows());
  ASSERT_EQ(Open(0).outcome, ProblemDatabase::Outcome::kLoaded);
  std::filesystem::remove(data_path_);
  auto load = Open(1);
  EXPECT_EQ(load.outcome, ProblemDatabase::Outcome::kMissingFile);
  EXPECT_EQ(load.message, "Can't find data file: " + data_path_);
  EXPECT_EQ(database_.OpenCollectionNumber(), 0);
  load = Open(1, kChinese);
  EXPECT_EQ(load.message, "\xD5\xD2\xB2\xBB\xB5\xBD\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE" + data_path_);
  Localizer traditional{Language::kTraditionalChinese, [](std::string s) { return "<" + s + ">"; }};
  load = Open(1, traditional);
  EXPECT_EQ(load.message,
            "<\xD5\xD2\xB2\xBB\xB5\xBD\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE" + data_path_ + ">")
      << "the whole message passes through the conversion";
}

TEST_F(ProblemDatabaseTest, UnreadableDataKeepsThePreviousTable) {
  struct Case {
    const char* what;
    std::string file;
    const char* message_part;
  };
  const std::string image = ProblemImage(SampleRows());
  std::vector<ProblemRow> out_of_range = SampleRows();
  out_of_range[3].auto1 = 65536;
  std::vector<ProblemRow> negative = SampleRows();
  negative[1].auto1 = -1;
  const std::vector<Case> cases = {
      {"not a zip archive", "PK but not really an archive", "Cannot open the data file"},
      {"no member", ZipWith("Other.cds", image), "no member \"Zendra.cds\""},
      {"member not a table", ZipWith(kProblemMemberName, std::string(2048, '\x07')),
       "not a database"},
      {"member without the table",
       ZipWith(kProblemMemberName, test::DatabaseImage("CREATE TABLE Other(A)")),
       "no table \"Problems\""},
      {"number beyond 65535", ZipWith(kProblemMemberName, ProblemImage(out_of_range)), "65536"},
      {"negative number", ZipWith(kProblemMemberName, ProblemImage(negative)), "-1"},
      {"over 256 MB", RawZip(kProblemMemberName, "abc", 300u << 20, 3, 8, 0), "256 MB"},
      {"stored with two sizes", RawZip(kProblemMemberName, "abcdef", 5000, 6, 0, 0),
       "impossible sizes"},
      {"deflate beyond its ratio", RawZip(kProblemMemberName, "abcdef", 100u << 20, 6, 8, 0),
       "impossible sizes"},
      {"more data than the archive", RawZip(kProblemMemberName, "abcdef", 6, 6000, 0, 0),
       "claims more data than the archive holds"},
      {"bad checksum",
       RawZip(kProblemMemberName, image, static_cast<uint32_t>(image.size()),
              static_cast<uint32_t>(image.size()), 0, test::Crc32(image) ^ 1),
       "CRC"},
      {"other compression", RawZip(kProblemMemberName, "abcdef", 6, 6, 12, 0),
       "neither stored nor deflated"},
  };
  WriteDataFile(SampleRows());
  ASSERT_EQ(Open(0).outcome, ProblemDatabase::Outcome::kLoaded);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(data_path_, c.file);
    auto load = Open(2);
    EXPECT_EQ(load.outcome, ProblemDatabase::Outcome::kLoadFailed);
    EXPECT_NE(load.message.find(c.message_part), std::string::npos) << load.message;
    EXPECT_EQ(database_.OpenCollectionNumber(), 0);
    EXPECT_EQ(database_.Problems().RecordCount(), 6) << "the table is as before";
    EXPECT_TRUE(database_.FindProblem(30001));
  }
}

TEST_F(ProblemDatabaseTest, StoredMemberWithGoodChecksumLoads) {
  const std::string image = ProblemImage(SampleRows());
  WriteFile(data_path_, RawZip(kProblemMemberName, image, static_cast<uint32_t>(image.size()),
                               static_cast<uint32_t>(image.size()), 0, test::Crc32(image)));
  EXPECT_EQ(Open(0).outcome, ProblemDatabase::Outcome::kLoaded);
  EXPECT_EQ(database_.ProblemList().size(), 1u);
}

// Each problem column left out in turn: the load names it.
TEST_F(ProblemDatabaseTest, MissingColumnRefusesTheLoadNamingIt) {
  for (const std::string& column : test::ProblemColumns()) {
    SCOPED_TRACE(column);
    WriteFile(data_path_, ZipWith(kProblemMemberName, ProblemImage(SampleRows(), column)));
    auto load = Open(1);
    EXPECT_EQ(load.outcome, ProblemDatabase::Outcome::kLoadFailed);
    EXPECT_EQ(load.message, "Field '" + column + "' not found");
    EXPECT_FALSE(database_.Problems().Active());
  }
}

TEST_F(ProblemDatabaseTest, EmptyMember) {
  WriteFile(data_path_, ZipWith(kProblemMemberName, ""));
  auto load = Open(1);
  EXPECT_EQ(load.outcome, ProblemDatabase::Outcome::kNoTable);
  EXPECT_EQ(load.message, "problem database error, please reinstall and try.");
  EXPECT_EQ(Open(1, kChinese).message,
            "\xCA\xFD\xBE\xDD\xD3\xD0\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xB0\xB2\xD7"
            "\xB0\xCA\xD4\xCA\xD4");
  EXPECT_EQ(database_.OpenCollectionNumber(), -1);

  // After an earlier load the old table serves.
  WriteDataFile(SampleRows());
  ASSERT_EQ(Open(0).outcome, ProblemDatabase::Outcome::kLoaded);
  WriteFile(data_path_, ZipWith(kProblemMemberName, "", false));
  EXPECT_EQ(Open(2).outcome, ProblemDatabase::Outcome::kLoaded);
  EXPECT_EQ(database_.ProblemList().size(), 2u);
}

TEST_F(ProblemDatabaseTest, InactiveHistoryGivesUnsolvedEntries) {
  WriteDataFile(SampleRows());
  TableStore closed("History");
  auto load = database_.OpenCollection(0, closed, kEnglish);
  ASSERT_EQ(load.outcome, ProblemDatabase::Outcome::kLoaded);
  EXPECT_EQ(database_.ProblemList(), (std::vector<std::string>{"000A0 1 AB0 EE  B"}));
}

// Every column lands in its own field of the record: each row holds values no other column has.
TEST_F(ProblemDatabaseTest, RowReaderReadsEveryColumnByName) {
  ProblemRow answered;
  answered.auto1 = 4660;
  answered.group = 3;
  answered.level = 41;
  answered.num = 17;
  answered.black = "ABAC";
  answered.white = "BABB";
  answered.initial = "CCDD";
  answered.first = "W";
  answered.result2 = 2;
  answered.solution = std::string("\x05\x00\x07", 3);
  ProblemRow unanswered = answered;
  unanswered.auto1 = 4661;
  unanswered.first = "";
  unanswered.result2.reset();
  WriteDataFile({answered, unanswered});
  ASSERT_EQ(Open(3).outcome, ProblemDatabase::Outcome::kLoaded);

  ASSERT_TRUE(database_.FindProblem(4660));
  const ProblemRecord read = ReadProblemRow(database_.Problems());
  EXPECT_EQ(read.number, 4660);
  EXPECT_EQ(read.group, 3);
  EXPECT_EQ(read.level, 41);
  EXPECT_EQ(read.num, 17);
  EXPECT_EQ(read.arrangedBlack, "ABAC");
  EXPECT_EQ(read.arrangedWhite, "BABB");
  EXPECT_EQ(read.initial, "CCDD");
  EXPECT_EQ(read.firstToPlay, "W");
  EXPECT_EQ(read.result2, 2);
  EXPECT_EQ(read.solution, answered.solution) << "the stream's zero byte is kept";

  ASSERT_TRUE(database_.FindProblem(4661));
  const ProblemRecord none = ReadProblemRow(database_.Problems());
  EXPECT_EQ(none.number, 4661);
  EXPECT_EQ(none.firstToPlay, "");
  EXPECT_FALSE(none.result2.has_value()) << "a null Result2 is no answer, not 0 (dies)";
}

TEST(ProblemTextsTest, AnswerTexts) {
  const Localizer traditional{Language::kTraditionalChinese,
                              [](std::string s) { return "[" + s + "]"; }};
  EXPECT_EQ(AnswerText(0, kEnglish), "dies");
  EXPECT_EQ(AnswerText(1, kEnglish), "lives");
  EXPECT_EQ(AnswerText(2, kEnglish), "ko");
  EXPECT_EQ(AnswerText(3, kEnglish), "ko");
  EXPECT_EQ(AnswerText(7, kEnglish), "");
  EXPECT_EQ(AnswerText(-1, kChinese), "");
  EXPECT_EQ(AnswerText(0, kChinese), "\xCB\xC0");
  EXPECT_EQ(AnswerText(1, kChinese), "\xBB\xEE");
  EXPECT_EQ(AnswerText(2, kChinese), "\xBD\xD9\xC9\xB1");
  EXPECT_EQ(AnswerText(3, kChinese), "\xBD\xD9\xBB\xEE");
  EXPECT_EQ(AnswerText(3, traditional), "[\xBD\xD9\xBB\xEE]");
  EXPECT_EQ(CollectionCaption(2, kEnglish), "Intermediate");
  EXPECT_EQ(CollectionCaption(1, kChinese), "\xB3\xF5\xBC\xB6(&B)");
  EXPECT_EQ(CollectionCaption(4, kEnglish), "");
}

}  // namespace
}  // namespace zendra
