// The problem data file: a ZIP archive, or (first byte odd) the member's database image alone,
// loaded into the problem table and walked as the collection load walks it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "library/problem_database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  zendra::ProblemDatabase database("/nonexistent/Zendra.dgo");
  std::string error;
  const bool loaded =
      (data[0] & 1) ? database.LoadMember(bytes, &error) : database.LoadArchive(bytes, &error);
  if (!loaded && error.empty()) __builtin_trap();  // a refusal always says why
  zendra::TableStore& problems = database.Problems();
  if (!problems.Active()) return 0;
  problems.SetOrdering("Group1;Level1;Num", nullptr);
  size_t total = 0;
  for (problems.First(); !problems.Eof(); problems.Next()) {
    const zendra::ProblemRecord problem = zendra::ReadProblemRow(problems);
    total += zendra::ProblemEntry(problem, false).size();
    total += problem.solution.size();
  }
  problems.SetOrdering("Auto1", nullptr);
  database.FindProblem(static_cast<int>(total & 0xFFFF));
  return 0;
}
