// What a hostile data file may cost: a member that is no database is refused from its first
// bytes, and a problem value beyond the largest solution stream is refused before it is read,
// so the memory a load takes stays within a small multiple of the member.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "library/problem_database.h"
#include "tests/library/library_test_util.h"

namespace zendra {
namespace {

using test::ProblemImage;
using test::ProblemRow;
using test::TempDir;
using test::WriteFile;
using test::ZipWith;

constexpr long long kMB = 1024 * 1024;

// The process's resident memory and its peak since the last Reset, in bytes (from the kernel's
// VmRSS and VmHWM).
long long StatusBytes(const char* key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::stoll(line.substr(line.find(':') + 1)) * 1024;
  }
  return -1;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Case {
  const char* what;
  bool zeros;  // the member is zeros; else a database of one problem with a solution of zeros
  long long member_bytes;
  const char* message_part;
  long long allowed_bytes;  // what the refused load may add to the peak
};

TEST(DataFileBoundsTest, HostileMembersAreRefusedWithinAMemoryBound) {
  const Case cases[] = {
      // A 32 MB member of zeros (32 KB in the file): refused by its first 100 bytes.
      {"zero-filled member", true, 32 * kMB, "no SQLite header", 8 * kMB},
      // One problem whose solution is 40 MB of zeros (40 KB in the file): the member must be
      // inflated to be read, but neither copied nor read into a row.
      {"one huge solution", false, 40 * kMB, "longer than the 16777216 bytes", 40 * kMB * 3 / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.Path("Zendra.dgo");
    {
      std::string member;
      if (c.zeros) {
        member.assign(static_cast<size_t>(c.member_bytes), '\0');
      } else {
        ProblemRow row;
        row.auto1 = 1;
        row.solution.assign(static_cast<size_t>(c.member_bytes), '\0');
        member = ProblemImage({row});
      }
      WriteFile(path, ZipWith(kProblemMemberName, member));
    }
    ProblemDatabase database(path);
    ResetPeak();
    const long long before = StatusBytes("VmRSS:");
    std::string error;
    EXPECT_FALSE(database.LoadDataFile(&error));
    const long long added = StatusBytes("VmHWM:") - before;
    EXPECT_NE(error.find(c.message_part), std::string::npos) << error;
    EXPECT_LE(added, c.allowed_bytes) << "the refused load took " << added / kMB << " MB";
    EXPECT_FALSE(database.Problems().Active());
  }
}

// A solution stream of the largest size still loads.
TEST(DataFileBoundsTest, TheLargestSolutionLoads) {
  TempDir dir;
  const std::string path = dir.Path("Zendra.dgo");
  ProblemRow row;
  row.auto1 = 1;
  row.solution.assign(static_cast<size_t>(kMaxSolutionBytes), '\x01');
  WriteFile(path, ZipWith(kProblemMemberName, ProblemImage({row})));
  ProblemDatabase database(path);
  std::string error;
  ASSERT_TRUE(database.LoadDataFile(&error)) << error;
  ASSERT_TRUE(database.FindProblem(1));
  EXPECT_EQ(database.Problems().ReadBlob("Solution").size(),
            static_cast<size_t>(kMaxSolutionBytes));
}

}  // namespace
}  // namespace zendra
