// The remark files: any bytes give at most 256 lines, none holding a line end, and reading the
// bytes from a file gives the same lines.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz/fuzz_files.h"
#include "library/remark_file.h"

namespace {

const std::string& RemarkPath() {
  static const std::string path = zendra::fuzz::WorkFolder("remarks") + "/Remark.txt";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = zendra::RemarkLines(bytes);
  if (lines.size() > zendra::kMaxRemarkLines) __builtin_trap();
  for (const std::string& line : lines) {
    if (line.find('\n') != std::string::npos) __builtin_trap();
    if (!line.empty() && line.back() == '\r') __builtin_trap();
  }
  {
    std::ofstream out(RemarkPath(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<std::string> read;
  if (!zendra::LoadRemarkFile(RemarkPath(), &read, nullptr)) __builtin_trap();
  if (bytes.size() <= zendra::kMaxRemarkFileBytes && read != lines) __builtin_trap();
  return 0;
}
