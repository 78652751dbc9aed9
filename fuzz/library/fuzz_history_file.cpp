// The history file: the bytes are written as History1.cds and opened the way the program opens
// it at start-up (an unreadable file is set aside), the counters of each row are shown, and
// events are counted into the file as the program counts them (in place, into whatever table
// the bytes hold).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_files.h"
#include "library/history.h"

namespace {

const std::string& WorkDirectory() {
  static const std::string dir = zendra::fuzz::WorkFolder("history");
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = WorkDirectory();
  const std::string path = dir + "/History1.cds";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  {
    zendra::History history(path, zendra::Localizer{});
    history.Open();
    zendra::TableStore& table = history.Table();
    if (!table.Active()) __builtin_trap();  // there is always an open history afterwards
    for (table.First(); !table.Eof(); table.Next()) {
      history.PlaceOnProblem(table.AsInteger("Auto1"));
      history.ShowCounters(0);
    }
    // A problem the collection load added, and one the file may hold.
    if (table.Append()) {
      table.SetInteger("Auto1", 70000);
      if (!table.Post(nullptr)) table.Cancel();
    }
    for (int number : {70000, 1}) {
      if (!history.PlaceOnProblem(number)) continue;
      history.ShowCounters(0);
      history.CountFailure();
      history.CountHint(1);
      history.CountSolved();
      // Either everything is in the file or the failure is known.
      if (history.PendingChanges() > 0 && history.LastStorageError().empty()) __builtin_trap();
    }
    std::string error;
    history.Save(&error);
  }
  {
    // The next run opens whatever the counting left.
    zendra::History next(path, zendra::Localizer{});
    next.Open();
    if (!next.Table().Active()) __builtin_trap();
  }
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
  return 0;
}
