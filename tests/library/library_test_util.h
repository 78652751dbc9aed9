// Builders of small data files and history files for the library tests, made with plain SQLite
// and ZIP code the way any outside tool would make them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zendra::test {

// One problem row; a nullopt column is stored as null.
struct ProblemRow {
  int auto1 = 0;
  int group = 0;
  int level = 20;
  int num = 1;
  std::string black = "CCDD";
  std::string white = "EE";
  std::string initial;
  std::string first = "B";
  std::optional<int> result2 = 1;
  std::string solution = std::string("\x01\x02\x00\xFF", 4);
};

// The problem columns in their order.
std::vector<std::string> ProblemColumns();

// An SQLite database image holding the table "Problems" with `rows`; the column `omit` (if not
// empty) is left out of the table.
std::string ProblemImage(const std::vector<ProblemRow>& rows, const std::string& omit = "");

// An SQLite database image made by running `sql`.
std::string DatabaseImage(const std::string& sql);

// A ZIP archive with one member, deflated or stored, written with libzip.
std::string ZipWith(const std::string& name, const std::string& data, bool deflate = true);

// A ZIP archive with one member whose headers claim the given sizes, method (0 stored,
// 8 deflated) and checksum; the data is stored as given.
std::string RawZip(const std::string& name, const std::string& data, uint32_t claimed_size,
                   uint32_t claimed_compressed_size, uint16_t method, uint32_t crc);
uint32_t Crc32(const std::string& data);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);

// A fresh directory under the test's temporary folder, removed with its content at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

}  // namespace zendra::test
