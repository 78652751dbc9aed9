// A fuzz target's own folder for the files it writes its input into.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace zendra::fuzz {

// A fresh folder under the temporary folder, named after `name`, made on the first call.
inline std::string WorkFolder(const char* name) {
  std::string pattern = (std::filesystem::temp_directory_path() /
                         (std::string("zendra-fuzz-") + name + "-XXXXXX"))
                            .string();
  if (!mkdtemp(pattern.data())) abort();
  return pattern;
}

}  // namespace zendra::fuzz
