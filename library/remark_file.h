// The remark files (Remark.txt, RemarkGB.txt): one remark per line, a node of a solution tree
// naming its remark by its line number. The index a node keeps has eight bits, so only the
// first 256 lines can ever be named: the rest of a file is not read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zendra {

// The most lines a remark file gives (indexes 0 to 255).
inline constexpr std::size_t kMaxRemarkLines = 256;
// The most bytes read from a remark file: 256 lines of 4 KB.
inline constexpr std::size_t kMaxRemarkFileBytes = kMaxRemarkLines * 4096;

// The remarks in `bytes`: lines ended by LF, carriage returns at a line's end dropped, at most
// kMaxRemarkLines of them; a last line without LF counts.
std::vector<std::string> RemarkLines(std::string_view bytes);

// Reads the remark file at `path` (at most its first kMaxRemarkFileBytes) into `lines`. False,
// with `lines` empty and `error` saying why, when it is missing, unreadable or not a regular
// file (a FIFO or a device is never opened, so it cannot make the caller wait).
bool LoadRemarkFile(const std::string& path, std::vector<std::string>* lines, std::string* error);

}  // namespace zendra
