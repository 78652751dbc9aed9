// zendra-board: sets up a position from the problem strings, plays a move list through the
// board model and prints the result as an ASCII diagram. With --count it also counts the
// position by area (after marking the listed chains dead).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zendra::board_tool {

// Runs the tool on the arguments after the program name, printing to `out` (and refusals to
// `err`); returns the exit code: 0, or 2 for a command line it refuses.
int RunZendraBoard(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zendra::board_tool
