// The review file: the bytes are written as Review1.cds and opened the way the program opens it
// (an unreadable file is set aside), the schedule is replayed from what was read, and one more
// attempt is recorded into whatever the bytes hold.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_files.h"
#include "library/review_file.h"

namespace {

const std::string& WorkDirectory() {
  static const std::string dir = zendra::fuzz::WorkFolder("review");
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = WorkDirectory();
  const std::string path = dir + "/" + zendra::kReviewFileName;
  std::filesystem::remove(path + ".unreadable");
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::vector<zendra::Attempt> read;
  std::string error;
  const bool readable = zendra::ReviewFile(path).Read(&read, &error);
  if (readable != error.empty()) __builtin_trap();  // a refusal always says why
  if (!readable && !read.empty()) __builtin_trap();
  zendra::ReviewLog log(path, 3600);
  log.SetBusyWaitMs(0);
  const std::string message = log.Open();
  if (readable && (!message.empty() || log.Attempts() != read)) __builtin_trap();
  if (!readable && !log.Attempts().empty()) __builtin_trap();
  for (const zendra::Attempt& a : log.Attempts()) {
    if (a.number < 0 || a.number > 65535 || a.time < 0) __builtin_trap();
  }
  zendra::Attempt next;
  next.time = 1700000000;
  next.number = 1;
  next.outcome = zendra::AttemptOutcome::kFailed;
  log.Record(next);
  if (!log.Schedule().Find(1) || !log.Schedule().Find(1)->scheduled) __builtin_trap();
  log.Schedule().DueOn(log.Schedule().Day(next.time));
  return 0;
}
