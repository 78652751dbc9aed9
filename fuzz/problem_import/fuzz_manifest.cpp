// The collection sources' own texts: manifest.txt and the rank folder names. The first byte
// chooses which; the rest is the text. A manifest is read with its values in their ranges or
// refused with a message; a folder name gives a level from 10 (30 kyu) to 48 (9 dan) or nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "problem_import/problem_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    const std::optional<int> level = zendra::LevelFromFolderName(text);
    if (level && (*level < 10 || *level > 48)) __builtin_trap();
    return 0;
  }
  zendra::Manifest manifest;
  std::string error;
  if (zendra::ParseManifest(text, &manifest, &error)) {
    if (manifest.group < 0 || manifest.group > 65535) __builtin_trap();
    if (manifest.level < 1 || manifest.level > 60) __builtin_trap();
    for (const zendra::Manifest::Entry& entry : manifest.entries) {
      if (entry.file.empty() || entry.line < 1) __builtin_trap();
      if (entry.level && (*entry.level < 1 || *entry.level > 60)) __builtin_trap();
    }
  } else if (error.empty()) {
    __builtin_trap();  // a refusal always says why
  }
  return 0;
}
