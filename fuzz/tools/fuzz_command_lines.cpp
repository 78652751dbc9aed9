// The command lines of the two tools. The first byte chooses the tool, the rest is its
// arguments separated by NUL bytes. zendra-board runs whole (it reads no file). zendra-db reads
// its command line; every command but build and verify then runs on the shipped data file,
// whatever file the arguments name (build is only read: it would write files; so is verify,
// which spends up to a second solving each problem).
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/zendra-board/board_tool.h"
#include "tools/zendra-db/zendra_db.h"

namespace {

std::vector<std::string> Arguments(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  return args;
}

// Output goes nowhere: only crashes, hangs and sanitizer findings count.
struct Silence {
  Silence() {
    std::cout.rdbuf(sink.rdbuf());
    std::cerr.rdbuf(sink.rdbuf());
  }
  std::ostringstream sink;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Silence* silence = new Silence;
  silence->sink.str({});
  if (size == 0) return 0;
  const std::vector<std::string> args = Arguments(data + 1, size - 1);
  if (data[0] & 1) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = zendra::board_tool::RunZendraBoard(args, out, err);
    if (code != 0 && code != 2) __builtin_trap();
    if (code == 2 && err.str().empty()) __builtin_trap();  // a refusal says why
    return 0;
  }
  zendra::db::Args parsed;
  std::string error;
  if (!zendra::db::ParseArgs(args, &parsed, &error)) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  if (parsed.command == "build" || parsed.command == "verify") return 0;
  if (!parsed.positional.empty()) parsed.positional[0] = ZENDRA_FUZZ_DATA_FILE;
  parsed.remarks = ZENDRA_FUZZ_REMARK_FILE;
  const int code = zendra::db::RunCommand(parsed);
  if (code < 0 || code > 2) __builtin_trap();
  return 0;
}
