// A problem's own remark list, kept in the optional `Remarks` column of the problem table. A
// node's remark index keeps eight bits, so one shared list (Remark.txt) holds 255 comments for
// the whole data file; with the column, the index counts within the node's problem and a data
// file keeps every comment. The column is extra: a table without it loads as before and its
// remarks come from the shared list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zendra {

inline constexpr const char* kProblemRemarksField = "Remarks";

// The column text as a remark list whose line k is remark k (line 0 empty, as in Remark.txt):
// the column holds remark 1, 2, ... one a line, separated by "\n"; a "\r" before it goes.
inline std::vector<std::string> SplitProblemRemarks(std::string_view column) {
  std::vector<std::string> lines{""};
  if (column.empty()) return lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = column.find('\n', start);
    std::string_view line = column.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

// The column text of a remark list whose line 0 is the empty line of index 0.
inline std::string JoinProblemRemarks(const std::vector<std::string>& lines) {
  std::string column;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    if (k > 1) column += '\n';
    column += lines[k];
  }
  return column;
}

}  // namespace zendra
