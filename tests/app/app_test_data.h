// A small data file for the application's tests: collection 2 ("Intermediate") with a few
// problems that are solved by one black move at D4 ("DD") and lost by any other move.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zendra::test {

// The point that solves every problem of the test file, and its column and row.
inline constexpr const char* kSolvingPoint = "DD";
inline constexpr int kSolvingP = 4;
inline constexpr int kSolvingQ = 4;

// Writes a data file with `count` problems of collection 2 (and one of collection 0) to `path`.
void WriteTestDataFile(const std::string& path, int count);

// The same problems with the solution stream `solution` instead.
void WriteTestDataFile(const std::string& path, int count, const std::string& solution);

// The problems of WriteTwoRepliesFile: the user's D4 is answered by K11 or K12; L12 wins after
// K11, L13 after K12. The computer plays K11 first.
inline constexpr int kReplyP = 11, kFirstReplyQ = 11, kSecondReplyQ = 12;
inline constexpr int kAnswerP = 12, kFirstAnswerQ = 12, kSecondAnswerQ = 13;

// Writes a data file with `count` problems of collection 2 like those of WriteTestDataFile,
// except that the computer has two replies to D4, to `path`.
void WriteTwoRepliesFile(const std::string& path, int count);

// Writes a data file of one such problem (0x10, collection 2) whose solving move carries remark 1:
// of the problem's own list `ownRemarks` (the Remarks column) when given, else of the shared list.
// False, with `error` saying why, when it cannot be written.
bool WriteRemarkProblemFile(const std::string& path,
                            std::optional<std::vector<std::string>> ownRemarks, std::string* error);

}  // namespace zendra::test
